#include "ui/render/gdi_bitmap.h"

#include <algorithm>
#include <cstring>

namespace ui {

HBITMAP CreateDib32(HDC dc, int width, int height, bool flip, BYTE** bits) {
  if (bits) *bits = nullptr;
  if (width <= 0 || height <= 0) return nullptr;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = flip ? -height : height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 4;
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (!bitmap) return nullptr;
  if (bits) *bits = static_cast<BYTE*>(pixels);
  return bitmap;
}

GdiBitmap::~GdiBitmap() { Release(); }

void GdiBitmap::Release() {
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  bits_ = nullptr;
  width_ = 0;
  height_ = 0;
  topDown_ = false;
}

bool GdiBitmap::Init(HDC dc, int width, int height, bool flip) {
  Release();
  if (!dc || width <= 0 || height <= 0) return false;
  HBITMAP bitmap = CreateDib32(dc, width, height, flip, nullptr);
  if (!bitmap) return false;
  BITMAP description = {};
  GetObjectW(bitmap, sizeof(description), &description);
  bitmap_ = bitmap;
  bits_ = static_cast<BYTE*>(description.bmBits);
  width_ = width;
  height_ = height;
  topDown_ = flip;
  return true;
}

void GdiBitmap::Clear() {
  if (!bits_) return;
  std::memset(bits_, 0, static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4);
}

HBITMAP GdiBitmap::DetachBitmap() {
  HBITMAP bitmap = bitmap_;
  bitmap_ = nullptr;
  Release();
  return bitmap;
}

bool GdiBitmap::ClampToBitmap(const RECT& rect, RECT& clamped) const {
  if (!bits_) return false;
  clamped.left = std::max<LONG>(rect.left, 0);
  clamped.right = std::min<LONG>(rect.right, width_);
  clamped.top = std::max<LONG>(rect.top, 0);
  clamped.bottom = std::min<LONG>(rect.bottom, height_);
  return clamped.left < clamped.right && clamped.top < clamped.bottom;
}

bool GdiBitmap::OutsideCorners(int x, int y, const RECT& insets) const {
  bool in_column_band = x >= insets.left && x < width_ - insets.right;
  bool in_row_band = y >= insets.top && y < height_ - insets.bottom;
  return in_column_band || in_row_band;
}

void GdiBitmap::ClearAlpha(const RECT& rect, int value) {
  RECT area;
  if (!ClampToBitmap(rect, area)) return;
  const BYTE byte = static_cast<BYTE>(value & 0xFF);
  const size_t span = static_cast<size_t>(area.right - area.left) * 4;
  for (LONG y = area.top; y < area.bottom; ++y)
    std::memset(bits_ + (static_cast<size_t>(y) * width_ + area.left) * 4, byte, span);
}

template <typename Change>
void GdiBitmap::ChangeAlphaOutsideCorners(const RECT& rect, const RECT& corner_insets,
                                          Change change) {
  RECT area;
  if (!ClampToBitmap(rect, area)) return;
  for (LONG y = area.top; y < area.bottom; ++y) {
    for (LONG x = area.left; x < area.right; ++x) {
      if (OutsideCorners(x, y, corner_insets))
        change(bits_[(static_cast<size_t>(y) * width_ + x) * 4 + 3]);
    }
  }
}

void GdiBitmap::RestoreAlpha(const RECT& rect, const RECT& corner_insets) {
  ChangeAlphaOutsideCorners(rect, corner_insets, [](BYTE& alpha) { alpha = 255; });
}

void GdiBitmap::RestoreAlphaKeyed(const RECT& rect, const RECT& corner_insets, int key_alpha) {
  ChangeAlphaOutsideCorners(rect, corner_insets, [key_alpha](BYTE& alpha) {
    if (key_alpha != 0 && alpha == key_alpha)
      alpha = 0;
    else if (alpha == 0)
      alpha = 255;
  });
}

}  // namespace ui
