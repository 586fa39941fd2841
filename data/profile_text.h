// A string of a settings file read whole through the profile functions, however
// long the file holds it.
#pragma once

#include <string>

// The value of `key` in `section` of the file at `path`, or `fileDefault` when the
// key is missing; the profile read's own rules apply (one pair of enclosing quotes
// taken off, blanks at either end dropped).
std::wstring ReadProfileText(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                             const wchar_t* fileDefault = L"");
