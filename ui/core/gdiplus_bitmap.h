// Conversion of a Windows bitmap into a GDI+ bitmap that keeps its alpha.
#pragma once

#include <windows.h>
// objidl.h first: the lean Windows headers leave out what gdiplus.h needs.
#include <objidl.h>
#include <gdiplus.h>

#include <memory>

namespace ui {

struct GdiplusBitmapDeleter {
  void operator()(Gdiplus::GpBitmap* bitmap) const;
};
using GdiplusBitmapPtr = std::unique_ptr<Gdiplus::GpBitmap, GdiplusBitmapDeleter>;

// Copies the pixels of `bitmap` into a new 32-bit premultiplied ARGB GDI+ bitmap
// of the same size, top-down. Bitmaps of other depths are read through GetDIBits
// as 32-bit pixels, so every depth is converted without reading past the buffer.
// Null when the bitmap cannot be read or the GDI+ bitmap cannot be filled.
GdiplusBitmapPtr HBitmapToGdiplusBitmap(HBITMAP bitmap);

}  // namespace ui
