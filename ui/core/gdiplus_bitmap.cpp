#include "ui/core/gdiplus_bitmap.h"

#include <vector>

namespace ui {

namespace gp = Gdiplus::DllExports;

void GdiplusBitmapDeleter::operator()(Gdiplus::GpBitmap* bitmap) const {
  if (bitmap) gp::GdipDisposeImage(bitmap);
}

GdiplusBitmapPtr HBitmapToGdiplusBitmap(HBITMAP bitmap) {
  BITMAP info = {};
  if (!bitmap || GetObjectW(bitmap, sizeof(info), &info) == 0) return nullptr;
  const int width = info.bmWidth;
  const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  if (width <= 0 || height <= 0) return nullptr;

  const size_t rowBytes = static_cast<size_t>(width) * 4;
  std::vector<BYTE> bits(rowBytes * height);
  BITMAPINFO header = {};
  header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  header.bmiHeader.biWidth = width;
  header.bmiHeader.biHeight = height;  // bottom-up rows
  header.bmiHeader.biPlanes = 1;
  header.bmiHeader.biBitCount = 32;
  header.bmiHeader.biCompression = BI_RGB;
  HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
  if (!display) return nullptr;
  int lines = GetDIBits(display, bitmap, 0, height, bits.data(), &header, DIB_RGB_COLORS);
  DeleteDC(display);
  if (lines <= 0) return nullptr;

  Gdiplus::GpBitmap* raw = nullptr;
  if (gp::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppPARGB, nullptr, &raw) !=
          Gdiplus::Ok ||
      !raw) {
    return nullptr;
  }
  GdiplusBitmapPtr result(raw);
  Gdiplus::GpRect whole(0, 0, width, height);
  Gdiplus::BitmapData data = {};
  if (gp::GdipBitmapLockBits(raw, &whole, Gdiplus::ImageLockModeWrite, PixelFormat32bppPARGB,
                             &data) != Gdiplus::Ok) {
    return nullptr;
  }
  for (int row = 0; row < height; ++row) {
    const BYTE* source = bits.data() + rowBytes * (height - 1 - row);
    BYTE* target = static_cast<BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(data.Stride) * row;
    memcpy(target, source, rowBytes);
  }
  if (gp::GdipBitmapUnlockBits(raw, &data) != Gdiplus::Ok) return nullptr;
  return result;
}

}  // namespace ui
