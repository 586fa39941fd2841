// Free functions on UTF-16 text shared by the whole program: path separators,
// printf-style formatting, search-and-replace, trimming, splitting, ASCII
// lower-casing and conversion to and from 8-bit code pages.
// They keep no state; any thread may call them on strings it owns.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>
#include <vector>

// Every "/" becomes "\", then each pair of backslashes (found left to right, without
// overlap) becomes one: three in a row give two, four give two.
std::wstring NormalizePathSeparators(std::wstring_view path);

// printf-style formatting with the platform's wide conventions ("%s" takes a wide
// string). A text longer than 33,554,431 characters, or a bad format, gives "".
std::wstring FormatText(const wchar_t* format, ...);
// Appends the formatted text to `out`; appends nothing when formatting fails.
void FormatTextV(const wchar_t* format, va_list args, std::wstring& out);

// Replaces every occurrence of `search` in `target`, left to right, never searching
// inserted text again. Returns the number of replacements; an empty search replaces nothing.
size_t ReplaceAll(std::wstring_view search, std::wstring_view replacement, std::wstring& target);
// ReplaceAll that returns 0 at once for an empty target.
size_t ReplaceAllNonEmpty(std::wstring_view search, std::wstring_view replacement, std::wstring& target);

// Only "A".."Z" are lowered; every other character is kept.
std::wstring ToLowerAscii(std::wstring_view text);

// Copy of a NUL-terminated string without leading and trailing spaces and characters
// below U+001E (tab, CR and LF included; U+001E and U+001F are kept). Null gives "".
std::wstring TrimString(const wchar_t* text);

// Pieces of `text` separated by any one character of `delimiters`, in order;
// empty pieces are dropped.
std::vector<std::wstring> SplitString(std::wstring_view text, std::wstring_view delimiters);

// Code pages of the 8-bit side: UTF-8 and the system's ANSI code page.
inline constexpr unsigned kCodePageUtf8 = 65001;
inline constexpr unsigned kCodePageAnsi = 0;

// NUL-terminated 8-bit text to UTF-16. `out` is emptied first; false (with `out`
// empty) when the platform cannot convert it, e.g. for a null pointer or an unknown
// code page. Invalid sequences become the platform's replacement character.
bool WidenString(const char* bytes, std::wstring& out, unsigned codePage);
// Counted 8-bit text to UTF-16, embedded NULs converted like any byte. True for
// every input the code page can take (empty input gives empty output); false only
// when the platform refuses the code page.
bool WidenStringCounted(std::string_view bytes, std::wstring& out, unsigned codePage);

// NUL-terminated UTF-16 text to 8-bit, same rules as WidenString. Characters the code
// page lacks become the platform's default character; a lone surrogate becomes U+FFFD
// in UTF-8.
bool NarrowString(const wchar_t* text, std::string& out, unsigned codePage);
// Counted UTF-16 text to 8-bit, embedded NULs kept; same rules as WidenStringCounted.
bool NarrowStringCounted(std::wstring_view text, std::string& out, unsigned codePage);
