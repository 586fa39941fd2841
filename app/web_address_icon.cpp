#include "app/web_address_icon.h"

#include <windows.h>

#include <string_view>
#include <vector>

namespace {

bool IsLabelStart(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9'); }
bool IsLabelChar(wchar_t c) { return IsLabelStart(c) || c == L'-'; }
bool IsTerminator(const std::wstring& text, size_t at) {
  if (at == text.size()) return true;
  const wchar_t c = text[at];
  return c == L'/' || c == L'?' || c == L':' || c == L'\\';
}

bool HasAt(const std::wstring& text, size_t at, std::wstring_view word) {
  return text.size() >= at && text.size() - at >= word.size() && text.compare(at, word.size(), word) == 0;
}

// The end of a name that starts with a top-level name from `tlds` (tried in
// order) at `at`, optionally followed by ".cn" or ".jp", and then ends; tried
// with the country suffix first, as a greedy optional part would be.
std::optional<size_t> MatchSuffix(const std::wstring& text, size_t at, const std::vector<std::wstring_view>& tlds) {
  for (std::wstring_view tld : tlds) {
    if (!HasAt(text, at, tld)) continue;
    const size_t afterTld = at + tld.size();
    for (std::wstring_view country : {std::wstring_view(L".cn"), std::wstring_view(L".jp")}) {
      if (HasAt(text, afterTld, country) && IsTerminator(text, afterTld + country.size())) {
        return afterTld + country.size();
      }
    }
    if (IsTerminator(text, afterTld)) return afterTld;
  }
  return std::nullopt;
}

// Scans for `labels` dot-ended labels (a letter or digit, then letters, digits
// and hyphens) followed by one of `tlds`. A label cannot hold a dot, so it
// always runs to the end of its run of label characters; those ends are worked
// out once, which keeps every start position constant work.
std::optional<std::wstring> ScanNames(const std::wstring& text, int labels,
                                      const std::vector<std::wstring_view>& tlds) {
  const size_t n = text.size();
  std::vector<size_t> runEnd(n + 1, n);
  for (size_t i = n; i-- > 0;) runEnd[i] = IsLabelChar(text[i]) ? runEnd[i + 1] : i;
  for (size_t start = 0; start < n; ++start) {
    size_t at = start;
    bool ok = true;
    for (int label = 0; label < labels && ok; ++label) {
      if (at >= n || !IsLabelStart(text[at])) {
        ok = false;
        break;
      }
      at = runEnd[at + 1];
      if (at >= n || text[at] != L'.') ok = false;
      ++at;
    }
    if (!ok) continue;
    if (auto end = MatchSuffix(text, at, tlds)) return text.substr(start, *end - start);
  }
  return std::nullopt;
}

bool IsExistingFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::wstring> FindIconFileFor(const std::wstring& name, const std::wstring& programDir) {
  for (const wchar_t* extension : {L".ico", L".png", L".svg"}) {
    const std::wstring relative = L".\\icons\\url\\" + name + extension;
    if (IsExistingFile(programDir + relative.substr(2))) return relative;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::wstring> FindHostName(const std::wstring& lowerAddress) {
  static const std::vector<std::wstring_view> kTlds = {L"com", L"cn", L"net", L"org", L"gov",
                                                       L"info", L"la", L"cc", L"co"};
  return ScanNames(lowerAddress, 2, kTlds);
}

std::optional<std::wstring> FindDomainName(const std::wstring& lowerAddress) {
  static const std::vector<std::wstring_view> kTlds = {L"com", L"cn",   L"net", L"org", L"gov", L"info",
                                                       L"io",  L"la",   L"cc",  L"co",  L"ren"};
  return ScanNames(lowerAddress, 1, kTlds);
}

std::wstring LowerAsciiLetters(const std::wstring& text) {
  std::wstring lower = text;
  for (wchar_t& c : lower) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  return lower;
}

std::optional<std::wstring> FindWebAddressIcon(const std::wstring& address, const std::wstring& programDir) {
  const std::wstring lower = LowerAsciiLetters(address);
  if (auto host = FindHostName(lower)) {
    if (auto icon = FindIconFileFor(*host, programDir)) return icon;
  }
  if (auto domain = FindDomainName(lower)) {
    if (auto icon = FindIconFileFor(*domain, programDir)) return icon;
  }
  return std::nullopt;
}
