#include "ui/core/gdiplus_bitmap.h"

#include <gtest/gtest.h>

namespace {

namespace gp = Gdiplus::DllExports;

class GdiplusBitmapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
  }
  void TearDown() override { Gdiplus::GdiplusShutdown(token_); }

  // A top-down 32-bit DIB section whose pixel (x, y) is `pixel(x, y)`.
  template <typename Pixel>
  HBITMAP MakeDib(int width, int height, Pixel pixel) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* p = static_cast<DWORD*>(bits);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) p[y * width + x] = pixel(x, y);
    return dib;
  }

  ULONG_PTR token_ = 0;
};

TEST_F(GdiplusBitmapTest, KeepsSizeRowOrderAndAlpha) {
  HBITMAP dib = MakeDib(3, 2, [](int x, int y) -> DWORD {
    return y == 0 ? 0x80402010u + x : 0xFF0000FFu;
  });
  ASSERT_NE(dib, nullptr);
  ui::GdiplusBitmapPtr bitmap = ui::HBitmapToGdiplusBitmap(dib);
  DeleteObject(dib);
  ASSERT_NE(bitmap, nullptr);
  UINT width = 0, height = 0;
  gp::GdipGetImageWidth(bitmap.get(), &width);
  gp::GdipGetImageHeight(bitmap.get(), &height);
  EXPECT_EQ(width, 3u);
  EXPECT_EQ(height, 2u);
  Gdiplus::PixelFormat format = 0;
  gp::GdipGetImagePixelFormat(bitmap.get(), &format);
  EXPECT_EQ(format, PixelFormat32bppPARGB);

  // Read the raw premultiplied bytes back: the first row of the source must be
  // the first row of the result.
  Gdiplus::GpRect whole(0, 0, 3, 2);
  Gdiplus::BitmapData data = {};
  ASSERT_EQ(gp::GdipBitmapLockBits(bitmap.get(), &whole, Gdiplus::ImageLockModeRead,
                                   PixelFormat32bppPARGB, &data),
            Gdiplus::Ok);
  auto* row0 = static_cast<DWORD*>(data.Scan0);
  auto* row1 = reinterpret_cast<DWORD*>(static_cast<BYTE*>(data.Scan0) + data.Stride);
  EXPECT_EQ(row0[0], 0x80402010u);
  EXPECT_EQ(row0[2], 0x80402012u);
  EXPECT_EQ(row1[1], 0xFF0000FFu);
  gp::GdipBitmapUnlockBits(bitmap.get(), &data);
}

TEST_F(GdiplusBitmapTest, ConvertsBitmapsOfOtherDepths) {
  HDC screen = GetDC(nullptr);
  HBITMAP compatible = CreateBitmap(5, 4, 1, 1, nullptr);  // monochrome
  ReleaseDC(nullptr, screen);
  ASSERT_NE(compatible, nullptr);
  ui::GdiplusBitmapPtr bitmap = ui::HBitmapToGdiplusBitmap(compatible);
  DeleteObject(compatible);
  ASSERT_NE(bitmap, nullptr);
  UINT width = 0;
  gp::GdipGetImageWidth(bitmap.get(), &width);
  EXPECT_EQ(width, 5u);
}

TEST_F(GdiplusBitmapTest, UnreadableBitmapGivesNull) {
  EXPECT_EQ(ui::HBitmapToGdiplusBitmap(nullptr), nullptr);
  HBITMAP dib = MakeDib(2, 2, [](int, int) -> DWORD { return 0; });
  DeleteObject(dib);
  EXPECT_EQ(ui::HBitmapToGdiplusBitmap(dib), nullptr);  // already deleted
}

}  // namespace
