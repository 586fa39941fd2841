#include "ui/core/attribute_numbers.h"

#include <cerrno>
#include <climits>
#include <cwchar>

namespace ui {

namespace {

// Parses one number at `p`; false when no digits were found there.
bool ReadNumber(const wchar_t* p, int* value, const wchar_t** end) {
  wchar_t* stop = nullptr;
  long long v = std::wcstoll(p, &stop, 10);
  if (stop == p) return false;
  if (v > INT_MAX) v = INT_MAX;
  if (v < INT_MIN) v = INT_MIN;
  *value = static_cast<int>(v);
  *end = stop;
  return true;
}

}  // namespace

int ParseInt(const std::wstring& text) {
  int value = 0;
  const wchar_t* end = nullptr;
  return ReadNumber(text.c_str(), &value, &end) ? value : 0;
}

bool ParseIntList(const std::wstring& text, int* out, int count) {
  int values[8] = {};
  if (count <= 0 || count > 8) return false;
  const wchar_t* p = text.c_str();
  for (int i = 0; i < count; ++i) {
    if (i > 0) {
      // Exactly one separator character, which must exist.
      if (*p == L'\0') return false;
      ++p;
    }
    if (!ReadNumber(p, &values[i], &p)) return false;
  }
  for (int i = 0; i < count; ++i) out[i] = values[i];
  return true;
}

bool ParseRect(const std::wstring& text, RECT* rc) {
  int v[4];
  if (!ParseIntList(text, v, 4)) return false;
  *rc = RECT{v[0], v[1], v[2], v[3]};
  return true;
}

bool ParseSize(const std::wstring& text, SIZE* size) {
  int v[2];
  if (!ParseIntList(text, v, 2)) return false;
  *size = SIZE{v[0], v[1]};
  return true;
}

}  // namespace ui
