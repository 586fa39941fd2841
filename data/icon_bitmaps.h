// Conversions of icons and GDI bitmaps to GDI+ bitmaps that keep a 32-bit alpha
// channel when the source has one.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "ui/render/gdiplus_handles.h"

// Pixels of one conversion. A bitmap that keeps alpha is made over these pixels,
// so the buffer must not be reused or resized until that bitmap has been copied.
using PixelBuffer = std::vector<uint32_t>;

// Null for a null icon or when its bitmaps cannot be read. A 32-bit icon with any
// non-zero alpha gives an ARGB bitmap over `buffer`; any other icon gives GDI+'s
// own conversion, which applies the mask. The icon stays the caller's.
ui::GpBitmapPtr BitmapFromHICON(HICON icon, PixelBuffer& buffer);

// The same rule for a GDI bitmap; without alpha, GDI+'s bitmap of it (no palette).
// `premultiplied` says the colour channels are already scaled by alpha, as in
// rasterised SVG. The bitmap stays the caller's.
ui::GpBitmapPtr BitmapFromHBITMAP(HBITMAP bitmap, PixelBuffer& buffer, bool premultiplied = false);
