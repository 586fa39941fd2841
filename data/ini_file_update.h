// Changes keys of one section of a settings file without going through the
// profile functions key by key: the whole new file is written beside the old one
// and moved over it, so the file is always either all old or all new.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct IniEntry {
  std::wstring key;
  std::wstring value;  // as the profile read should give it back
};

// What to write after "key=" so that the profile read gives `value` back exactly:
// line breaks (which would end the line and start a key of their own) become
// spaces, and a value the read would alter (blanks at either end, or one pair of
// quotes enclosing it, such as "C:\...\x.exe" /open "%s") goes inside one extra
// pair of double quotes, which the read takes off.
std::wstring IniValueText(std::wstring value);

// `text` with section `section` changed the way the profile functions change it:
// each key of `remove` is dropped; each entry replaces the line of its key in
// place, or, when the section lacks the key, is added after the section's last
// line in the order given. A missing section is added at the end. Only the first
// section of that name counts and keys match without regard to case, as the read
// does; every other line, comments and blank lines included, stays as it was.
// Lines end with CR LF.
std::wstring UpdateIniSection(std::wstring_view text, std::wstring_view section, const std::vector<IniEntry>& entries,
                              const std::vector<std::wstring>& remove = {});

// Applies UpdateIniSection to the file at `path` (read as ReadIniFileText reads
// it) and writes the result as UTF-16 through a side file. False, with the file
// left as it was, when it could not be read or replaced.
bool UpdateIniFile(const std::wstring& path, std::wstring_view section, const std::vector<IniEntry>& entries,
                   const std::vector<std::wstring>& remove = {});
