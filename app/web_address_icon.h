// Finds the icon file of a web address in the web-icon folder: first one named
// after the address's host (a name with a sub-domain, like "news.example.com"),
// then one named after its registrable domain ("example.com").
#pragma once

#include <optional>
#include <string>

// The host and domain names a lower-cased address yields, as the first match of
// a leftmost scan. Each candidate is ended by the end of the text, "/", "?", ":"
// or "\". A scan does one pass over the text, so a very long address neither
// overflows the stack nor takes long.
std::optional<std::wstring> FindHostName(const std::wstring& lowerAddress);
std::optional<std::wstring> FindDomainName(const std::wstring& lowerAddress);

// The address with only the letters A to Z turned into lower case.
std::wstring LowerAsciiLetters(const std::wstring& text);

// The relative icon path (".\icons\url\<name>.ico", then ".png", then ".svg")
// of the first file that exists under `programDir`, trying the host name first,
// then the domain name; nothing when no file exists.
std::optional<std::wstring> FindWebAddressIcon(const std::wstring& address, const std::wstring& programDir);
