// Icon files for web-address links: the address's host or registrable domain
// names a file in the program's "icons\url" folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The two ways the launcher looks: the card view tries ".ico", ".png" and ".svg"
// and knows the ".io" and ".ren" domains; a dropped browser link tries ".ico" and
// ".png" only and knows neither.
enum class WebIconLookup { kCard, kDrop };

// The host name of an address: the first text of the form label.label.suffix
// (suffix com, cn, net, org, gov, info, la, cc or co, optionally followed by .cn
// or .jp) that ends the address or is followed by "/", "?", ":" or "\". The
// address must already be in lower case. Empty when there is none.
std::wstring FindWebHostName(std::wstring_view lowered);

// The same with one label only (label.suffix): the registrable domain. The card
// lookup also accepts the suffixes io and ren.
std::wstring FindWebDomainName(std::wstring_view lowered, WebIconLookup lookup);

// The relative icon file names to try, in order, each name with the lookup's
// extensions (".\icons\url\<name>.ico" ...): the host name's, then the domain
// name's (for a drop only when the address has no host name). The address is
// lowered (A to Z only) first.
std::vector<std::wstring> WebIconCandidates(const std::wstring& address, WebIconLookup lookup);

// The first candidate that names an existing file (relative to the current
// directory, which is the program folder), or empty.
std::wstring FindWebIconFile(const std::wstring& address, WebIconLookup lookup);
