// A 32-bit DIB section that render contexts draw into.
#pragma once

#include <windows.h>

#include "ui/base/weak_callback.h"

namespace ui {

class IBitmap : public nbase::SupportWeakCallback {
 public:
  // Makes a new width x height DIB section on the device context, replacing the
  // current one; false (and an empty object) for a null DC, a size below 1 or a
  // refused DIB. Top-down when flip is set.
  virtual bool Init(HDC dc, int width, int height, bool flip) = 0;
  // Zeroes every byte of every pixel.
  virtual void Clear() = 0;
  // Hands the DIB to the caller, who must delete it; the object becomes empty.
  virtual HBITMAP DetachBitmap() = 0;
  virtual HBITMAP GetBitmap() = 0;
  virtual BYTE* GetBits() = 0;
  virtual int GetWidth() = 0;
  virtual int GetHeight() = 0;
  // Sets every byte of the pixels in the rectangle (clamped to the bitmap) to value.
  virtual void ClearAlpha(const RECT& rect, int value) = 0;
  // Makes the pixels of the rectangle opaque, except the four corner areas that lie
  // outside both the horizontal and the vertical band between the insets.
  virtual void RestoreAlpha(const RECT& rect, const RECT& corner_insets) = 0;
  // As RestoreAlpha, but alpha equal to a non-zero key becomes 0, alpha 0 becomes
  // 255, and any other alpha stays.
  virtual void RestoreAlphaKeyed(const RECT& rect, const RECT& corner_insets, int key_alpha) = 0;
};

}  // namespace ui
