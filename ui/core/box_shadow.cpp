#include "ui/core/box_shadow.h"

#include <cwchar>

namespace ui {

namespace {

bool IsBlank(wchar_t c) { return c <= L' '; }

// Reads the leading integer of a value; a value without digits gives 0.
int LeadingInt(const wchar_t* text, const wchar_t** end) {
  wchar_t* stop = nullptr;
  long value = std::wcstol(text, &stop, 10);
  if (end) *end = stop;
  return static_cast<int>(value);
}

// Applies one pair; false for a name the record does not know.
bool ApplyPair(const std::wstring& name, const std::wstring& value, BoxShadow& shadow) {
  if (name == L"color" || name == L"res") {
    shadow.color = value;
  } else if (name == L"offset") {
    const wchar_t* end = nullptr;
    shadow.offset.x = LeadingInt(value.c_str(), &end);
    // The y value starts one character after the x value ended (the separator).
    shadow.offset.y = *end ? LeadingInt(end + 1, nullptr) : 0;
  } else if (name == L"blurradius") {
    shadow.blurRadius = LeadingInt(value.c_str(), nullptr);
  } else if (name == L"blursize") {
    shadow.blurSize = LeadingInt(value.c_str(), nullptr);
  } else if (name == L"spreadsize") {
    shadow.spreadSize = LeadingInt(value.c_str(), nullptr);
  } else if (name == L"exclude") {
    shadow.exclude = value == L"true";
  } else {
    return false;
  }
  return true;
}

}  // namespace

void ParseBoxShadow(const std::wstring& text, BoxShadow& shadow) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    while (i < n && IsBlank(text[i])) ++i;
    size_t nameStart = i;
    while (i < n && text[i] != L'=' && !IsBlank(text[i])) ++i;
    std::wstring name = text.substr(nameStart, i - nameStart);
    while (i < n && IsBlank(text[i])) ++i;
    if (i >= n || text[i] != L'=') return;
    ++i;
    while (i < n && IsBlank(text[i])) ++i;
    if (i >= n || text[i] != L'\'') return;
    ++i;
    size_t close = text.find(L'\'', i);
    if (close == std::wstring::npos) return;
    std::wstring value = text.substr(i, close - i);
    if (!value.empty() && !ApplyPair(name, value, shadow)) return;
    i = close + 1;
    if (i >= n || text[i] != L' ') return;
    ++i;
  }
}

}  // namespace ui
