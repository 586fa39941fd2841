#include "app/new_links/web_icon_lookup.h"

#include <windows.h>

#include <array>

#include "ui/base/string_util.h"

namespace {

// Addresses can be very long (tens of thousands of characters); the scan below is
// linear in the address length and uses no recursion.

constexpr std::array<std::wstring_view, 9> kHostSuffixes = {L"com", L"cn",   L"net", L"org", L"gov",
                                                           L"info", L"la", L"cc",  L"co"};
constexpr std::array<std::wstring_view, 11> kCardDomainSuffixes = {
    L"com", L"cn", L"net", L"org", L"gov", L"info", L"io", L"la", L"cc", L"co", L"ren"};

bool IsLabelStart(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9'); }
bool IsLabelChar(wchar_t c) { return IsLabelStart(c) || c == L'-'; }

bool EndsName(std::wstring_view text, size_t at) {
  if (at == text.size()) return true;
  wchar_t c = text[at];
  return c == L'/' || c == L'?' || c == L':' || c == L'\\';
}

// The end of a name of `labels` labels and a suffix that starts at `start`, or npos.
// Every label is a letter or digit followed by letters, digits and hyphens up to a
// dot; the first suffix (in list order) that is followed by an optional ".cn" or
// ".jp" and then by the end of the name wins, the longer form first.
template <size_t N>
size_t MatchNameAt(std::wstring_view text, size_t start, int labels,
                   const std::array<std::wstring_view, N>& suffixes) {
  size_t i = start;
  for (int label = 0; label < labels; ++label) {
    if (i >= text.size() || !IsLabelStart(text[i])) return std::wstring_view::npos;
    while (i < text.size() && IsLabelChar(text[i])) ++i;
    if (i >= text.size() || text[i] != L'.') return std::wstring_view::npos;
    ++i;
  }
  std::wstring_view rest = text.substr(i);
  for (std::wstring_view suffix : suffixes) {
    if (!rest.starts_with(suffix)) continue;
    size_t end = i + suffix.size();
    std::wstring_view after = text.substr(end);
    if ((after.starts_with(L".cn") || after.starts_with(L".jp")) && EndsName(text, end + 3)) return end + 3;
    if (EndsName(text, end)) return end;
  }
  return std::wstring_view::npos;
}

// The leftmost name in the text. Every start inside one run of label characters
// reaches the same dot, so the outcome is the same for all of them: only the first
// letter or digit of each run needs trying, which keeps the scan linear.
template <size_t N>
std::wstring FindName(std::wstring_view text, int labels, const std::array<std::wstring_view, N>& suffixes) {
  size_t i = 0;
  while (i < text.size()) {
    if (!IsLabelChar(text[i])) {
      ++i;
      continue;
    }
    size_t runEnd = i;
    while (runEnd < text.size() && IsLabelChar(text[runEnd])) ++runEnd;
    size_t start = i;
    while (start < runEnd && !IsLabelStart(text[start])) ++start;
    if (start < runEnd) {
      size_t end = MatchNameAt(text, start, labels, suffixes);
      if (end != std::wstring_view::npos) return std::wstring(text.substr(start, end - start));
    }
    i = runEnd;
  }
  return {};
}

void AddCandidates(const std::wstring& name, WebIconLookup lookup, std::vector<std::wstring>& out) {
  if (name.empty()) return;
  out.push_back(L".\\icons\\url\\" + name + L".ico");
  out.push_back(L".\\icons\\url\\" + name + L".png");
  if (lookup == WebIconLookup::kCard) out.push_back(L".\\icons\\url\\" + name + L".svg");
}

bool IsExistingFile(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::wstring FindWebHostName(std::wstring_view lowered) { return FindName(lowered, 2, kHostSuffixes); }

std::wstring FindWebDomainName(std::wstring_view lowered, WebIconLookup lookup) {
  if (lookup == WebIconLookup::kCard) return FindName(lowered, 1, kCardDomainSuffixes);
  return FindName(lowered, 1, kHostSuffixes);
}

std::vector<std::wstring> WebIconCandidates(const std::wstring& address, WebIconLookup lookup) {
  std::wstring lowered = ToLowerAscii(address);
  std::vector<std::wstring> candidates;
  std::wstring host = FindWebHostName(lowered);
  AddCandidates(host, lookup, candidates);
  // The card view falls back to the domain whenever no host file exists; a drop
  // asks for the domain only when the address has no host name at all.
  if (lookup == WebIconLookup::kCard || host.empty()) {
    AddCandidates(FindWebDomainName(lowered, lookup), lookup, candidates);
  }
  return candidates;
}

std::wstring FindWebIconFile(const std::wstring& address, WebIconLookup lookup) {
  for (const std::wstring& candidate : WebIconCandidates(address, lookup)) {
    if (IsExistingFile(candidate)) return candidate;
  }
  return {};
}
