// GDI implementation of IBitmap: a 32-bit BGRA DIB section without padding.
#pragma once

#include "ui/render/bitmap.h"

namespace ui {

// A new 32 bpp DIB section (rows of width x 4 bytes, blue, green, red, alpha);
// top-down when flip is set. Null for a size below 1 or when GDI refuses it.
HBITMAP CreateDib32(HDC dc, int width, int height, bool flip, BYTE** bits);

class GdiBitmap : public IBitmap {
 public:
  GdiBitmap() = default;
  ~GdiBitmap() override;
  GdiBitmap(const GdiBitmap&) = delete;
  GdiBitmap& operator=(const GdiBitmap&) = delete;

  bool Init(HDC dc, int width, int height, bool flip) override;
  void Clear() override;
  HBITMAP DetachBitmap() override;
  HBITMAP GetBitmap() override { return bitmap_; }
  BYTE* GetBits() override { return bits_; }
  int GetWidth() override { return width_; }
  int GetHeight() override { return height_; }
  // Rows run from the top of the image down (made with flip).
  bool IsTopDown() const { return topDown_; }
  void ClearAlpha(const RECT& rect, int value) override;
  void RestoreAlpha(const RECT& rect, const RECT& corner_insets) override;
  void RestoreAlphaKeyed(const RECT& rect, const RECT& corner_insets, int key_alpha) override;

 private:
  void Release();
  // The rectangle clamped to the bitmap; false when nothing of it remains.
  bool ClampToBitmap(const RECT& rect, RECT& clamped) const;
  // True for pixels outside the four corner areas of the insets.
  bool OutsideCorners(int x, int y, const RECT& insets) const;
  // Applies the change to the alpha byte of every pixel of the clamped rectangle
  // that lies outside the corner areas.
  template <typename Change>
  void ChangeAlphaOutsideCorners(const RECT& rect, const RECT& corner_insets, Change change);

  HBITMAP bitmap_ = nullptr;
  BYTE* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  bool topDown_ = false;
};

}  // namespace ui
