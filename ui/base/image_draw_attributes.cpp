#include "ui/base/image_draw_attributes.h"

#include <cwchar>

#include "ui/base/dpi_scaler.h"

namespace ui {

namespace {

bool IsBlank(wchar_t c) { return c <= 32; }

// Four numbers, each read from one character past where the previous one stopped,
// so the separator is exactly one character. Never reads past the terminator.
RECT ParseFourNumbers(const wchar_t* text) {
  LONG values[4] = {};
  const wchar_t* cursor = text;
  for (int i = 0; i < 4; ++i) {
    wchar_t* end = nullptr;
    values[i] = static_cast<LONG>(wcstol(cursor, &end, 10));
    cursor = end;
    if (*cursor == L'\0') break;
    ++cursor;
  }
  return RECT{values[0], values[1], values[2], values[3]};
}

bool IsTrue(const std::wstring& value) { return value == L"true"; }

}  // namespace

bool IsRectSet(const RECT& rect) {
  return rect.left != -1 && rect.top != -1 && rect.right != -1 && rect.bottom != -1;
}

void ImageDrawAttributes::Reset() {
  wholeText.clear();
  file.clear();
  dest = RECT{-1, -1, -1, -1};
  source = RECT{-1, -1, -1, -1};
  corner = RECT{0, 0, 0, 0};
  fade = 255;
  xtiled = false;
  fullxtiled = true;
  ytiled = false;
  fullytiled = true;
  tiledMargin = 0;
  playCount = -1;
}

void ImageDrawAttributes::Parse(const std::wstring& text) {
  bool scale_dest = true;
  const wchar_t* p = text.c_str();
  for (;;) {
    while (*p != L'\0' && IsBlank(*p)) ++p;
    std::wstring name;
    while (*p != L'\0' && *p != L'=' && !IsBlank(*p)) name.push_back(*p++);
    while (*p != L'\0' && IsBlank(*p)) ++p;
    if (*p != L'=') return;
    ++p;
    while (*p != L'\0' && IsBlank(*p)) ++p;
    if (*p != L'\'') return;
    ++p;
    std::wstring value;
    while (*p != L'\0' && *p != L'\'') value.push_back(*p++);
    if (*p == L'\0') return;

    if (!value.empty()) {
      const wchar_t* v = value.c_str();
      if (name == L"file" || name == L"res") {
        file = value;
      } else if (name == L"destscale") {
        scale_dest = IsTrue(value);
      } else if (name == L"dest") {
        dest = ParseFourNumbers(v);
        if (scale_dest) DpiScaler::Instance().ScaleRect(dest);
      } else if (name == L"source") {
        source = ParseFourNumbers(v);
      } else if (name == L"corner") {
        corner = ParseFourNumbers(v);
      } else if (name == L"fade") {
        fade = static_cast<BYTE>(wcstoul(v, nullptr, 10) & 0xFF);
      } else if (name == L"xtiled") {
        xtiled = IsTrue(value);
      } else if (name == L"fullxtiled") {
        fullxtiled = IsTrue(value);
      } else if (name == L"ytiled") {
        ytiled = IsTrue(value);
      } else if (name == L"fullytiled") {
        fullytiled = IsTrue(value);
      } else if (name == L"tiledmargin") {
        tiledMargin = static_cast<int>(wcstol(v, nullptr, 10));
      } else if (name == L"playcount") {
        playCount = static_cast<int>(wcstol(v, nullptr, 10));
      }
    }

    ++p;  // the closing quote
    if (*p != L' ') return;
    ++p;
  }
}

}  // namespace ui
