#include "data/ini_file_update.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "data/ini_file_encoding.h"

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring_view Trimmed(std::wstring_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool SameName(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

// Lines without their ends; a last line without an end counts, an empty tail does not.
std::vector<std::wstring> SplitLines(std::wstring_view text) {
  std::vector<std::wstring> lines;
  while (!text.empty()) {
    size_t end = text.find(L'\n');
    std::wstring_view line = text.substr(0, end);
    if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::wstring_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// The section a header line names ("[name]", up to the last closing bracket);
// nullopt for any other line.
std::optional<std::wstring_view> SectionName(std::wstring_view line) {
  line = Trimmed(line);
  if (!line.starts_with(L'[')) return std::nullopt;
  const size_t close = line.rfind(L']');
  if (close == std::wstring_view::npos) return std::nullopt;
  return line.substr(1, close - 1);
}

// The key a line sets: the text before "=", or the whole line when it has none.
std::wstring_view KeyName(std::wstring_view line) { return Trimmed(line.substr(0, line.find(L'='))); }

}  // namespace

std::wstring IniValueText(std::wstring value) {
  for (wchar_t& c : value) {
    if (c == L'\r' || c == L'\n') c = L' ';
  }
  if (value.empty()) return value;
  const wchar_t first = value.front();
  const bool enclosed = value.size() >= 2 && (first == L'"' || first == L'\'') && value.back() == first;
  if (IsBlank(first) || IsBlank(value.back()) || enclosed) value = L'"' + value + L'"';
  return value;
}

std::wstring UpdateIniSection(std::wstring_view text, std::wstring_view section, const std::vector<IniEntry>& entries,
                              const std::vector<std::wstring>& remove) {
  std::vector<std::wstring> lines = SplitLines(text);
  // The section's lines are [begin, end); begin is past its header.
  size_t begin = lines.size();
  for (size_t i = 0; i < lines.size(); ++i) {
    std::optional<std::wstring_view> name = SectionName(lines[i]);
    if (name && SameName(*name, section)) {
      begin = i + 1;
      break;
    }
  }
  if (begin == lines.size()) {
    lines.push_back(L'[' + std::wstring(section) + L']');
    begin = lines.size();
  }
  size_t end = begin;
  while (end < lines.size() && !SectionName(lines[end])) ++end;

  auto removed = [&](const std::wstring& line) {
    return std::any_of(remove.begin(), remove.end(), [&](const std::wstring& key) { return SameName(KeyName(line), key); });
  };
  const auto kept = std::remove_if(lines.begin() + static_cast<ptrdiff_t>(begin),
                                   lines.begin() + static_cast<ptrdiff_t>(end), removed);
  const size_t removedCount = static_cast<size_t>(lines.begin() + static_cast<ptrdiff_t>(end) - kept);
  lines.erase(kept, lines.begin() + static_cast<ptrdiff_t>(end));
  end -= removedCount;

  // New keys go after the section's last line that is not blank, so blank lines
  // before the next section stay there.
  size_t insertAt = end;
  while (insertAt > begin && Trimmed(lines[insertAt - 1]).empty()) --insertAt;
  std::vector<std::wstring> added;
  for (const IniEntry& entry : entries) {
    std::wstring line = entry.key + L'=' + entry.value;
    auto existing = std::find_if(lines.begin() + static_cast<ptrdiff_t>(begin),
                                 lines.begin() + static_cast<ptrdiff_t>(end),
                                 [&](const std::wstring& l) { return SameName(KeyName(l), entry.key); });
    if (existing != lines.begin() + static_cast<ptrdiff_t>(end)) {
      *existing = std::move(line);
    } else {
      added.push_back(std::move(line));
    }
  }
  lines.insert(lines.begin() + static_cast<ptrdiff_t>(insertAt), added.begin(), added.end());

  std::wstring result;
  for (const std::wstring& line : lines) {
    result += line;
    result += L"\r\n";
  }
  return result;
}

bool UpdateIniFile(const std::wstring& path, std::wstring_view section, const std::vector<IniEntry>& entries,
                   const std::vector<std::wstring>& remove) {
  std::optional<std::wstring> text = ReadIniFileText(path);
  if (!text) return false;
  return WriteIniFileText(path, UpdateIniSection(*text, section, entries, remove));
}
