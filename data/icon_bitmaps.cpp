#include "data/icon_bitmaps.h"

#include <algorithm>

namespace {

namespace gp = Gdiplus::DllExports;

// Copies the pixels of a 32-bit bitmap top-down into the buffer and makes an ARGB
// bitmap over them when any pixel has alpha. Null when the bitmap is not 32-bit or
// carries no alpha at all.
ui::GpBitmapPtr AlphaBitmapFrom(HBITMAP source, PixelBuffer& buffer, Gdiplus::PixelFormat format) {
  BITMAP info{};
  if (!GetObjectW(source, sizeof(info), &info) || info.bmBitsPixel != 32 || info.bmWidth <= 0 ||
      info.bmHeight == 0)
    return nullptr;
  const LONG width = info.bmWidth;
  const LONG height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  buffer.resize(static_cast<size_t>(width) * height);
  BITMAPINFO request{};
  request.bmiHeader.biSize = sizeof(request.bmiHeader);
  request.bmiHeader.biWidth = width;
  request.bmiHeader.biHeight = -height;  // top-down
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  request.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  int rows = GetDIBits(screen, source, 0, height, buffer.data(), &request, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != height) return nullptr;
  const bool hasAlpha =
      std::any_of(buffer.begin(), buffer.end(), [](uint32_t pixel) { return pixel > 0x00FFFFFFu; });
  if (!hasAlpha) return nullptr;
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (gp::GdipCreateBitmapFromScan0(width, height, width * 4, format,
                                    reinterpret_cast<BYTE*>(buffer.data()), &bitmap) != Gdiplus::Ok)
    return nullptr;
  return ui::GpBitmapPtr(bitmap);
}

}  // namespace

ui::GpBitmapPtr BitmapFromHICON(HICON icon, PixelBuffer& buffer) {
  if (!icon) return nullptr;
  ICONINFO parts{};
  if (!GetIconInfo(icon, &parts)) return nullptr;
  ui::GpBitmapPtr result = parts.hbmColor ? AlphaBitmapFrom(parts.hbmColor, buffer, PixelFormat32bppARGB) : nullptr;
  if (!result) {
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (gp::GdipCreateBitmapFromHICON(icon, &bitmap) == Gdiplus::Ok) result.reset(bitmap);
  }
  if (parts.hbmColor) DeleteObject(parts.hbmColor);
  if (parts.hbmMask) DeleteObject(parts.hbmMask);
  return result;
}

ui::GpBitmapPtr BitmapFromHBITMAP(HBITMAP source, PixelBuffer& buffer, bool premultiplied) {
  if (!source) return nullptr;
  ui::GpBitmapPtr result =
      AlphaBitmapFrom(source, buffer, premultiplied ? PixelFormat32bppPARGB : PixelFormat32bppARGB);
  if (!result) {
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (gp::GdipCreateBitmapFromHBITMAP(source, nullptr, &bitmap) == Gdiplus::Ok) result.reset(bitmap);
  }
  return result;
}
