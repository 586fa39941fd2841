#include "data/icon_bitmaps.h"

#include <gtest/gtest.h>

#include "tests/support/gdiplus_test_env.h"

namespace {

namespace gp = Gdiplus::DllExports;

// A 16 x 16 icon whose colour bitmap is 32-bit with every pixel set to `pixel`
// (0xAARRGGBB); the mask is clear (opaque where alpha is not used).
HICON MakeIcon(uint32_t pixel) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = 16;
  info.bmiHeader.biHeight = -16;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP colour = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  for (int i = 0; i < 256; ++i) static_cast<uint32_t*>(bits)[i] = pixel;
  HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
  ICONINFO parts{TRUE, 0, 0, mask, colour};
  HICON icon = CreateIconIndirect(&parts);
  DeleteObject(colour);
  DeleteObject(mask);
  return icon;
}

uint32_t PixelOf(const ui::GpBitmapPtr& bitmap, int x, int y) {
  Gdiplus::ARGB pixel = 0;
  gp::GdipBitmapGetPixel(bitmap.get(), x, y, &pixel);
  return pixel;
}

TEST(BitmapFromHICONTest, KeepsTheAlphaOfA32BitIcon) {
  HICON icon = MakeIcon(0x80FF0000);
  PixelBuffer buffer;
  ui::GpBitmapPtr bitmap = BitmapFromHICON(icon, buffer);
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(PixelOf(bitmap, 3, 3), 0x80FF0000u);
  EXPECT_EQ(buffer.size(), 256u);
  DestroyIcon(icon);
}

TEST(BitmapFromHICONTest, IconWithoutAlphaIsOpaqueThroughItsMask) {
  HICON icon = MakeIcon(0x000000FF);
  PixelBuffer buffer;
  ui::GpBitmapPtr bitmap = BitmapFromHICON(icon, buffer);
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(PixelOf(bitmap, 3, 3) >> 24, 0xFFu);
  EXPECT_EQ(PixelOf(bitmap, 3, 3) & 0x00FFFFFF, 0x0000FFu);
  DestroyIcon(icon);
}

TEST(BitmapFromHICONTest, LargerIconsGrowTheBuffer) {
  // A 48-pixel icon converted through a buffer sized for 16 pixels.
  HICON icon = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(32512) /* IDI_APPLICATION */, IMAGE_ICON,
                                             48, 48, LR_SHARED));
  ASSERT_TRUE(icon);
  PixelBuffer buffer(256);
  ui::GpBitmapPtr bitmap = BitmapFromHICON(icon, buffer);
  ASSERT_TRUE(bitmap);
  UINT width = 0;
  gp::GdipGetImageWidth(bitmap.get(), &width);
  EXPECT_EQ(width, 48u);
}

TEST(BitmapFromHBITMAPTest, PremultipliedPixelsComeOutStraight) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = 4;
  info.bmiHeader.biHeight = -4;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP source = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  for (int i = 0; i < 16; ++i) static_cast<uint32_t*>(bits)[i] = 0x80800000;  // half-transparent red
  PixelBuffer buffer;
  ui::GpBitmapPtr straight = BitmapFromHBITMAP(source, buffer, true);
  ASSERT_TRUE(straight);
  const uint32_t pixel = PixelOf(straight, 1, 1);
  EXPECT_EQ(pixel >> 24, 0x80u);
  EXPECT_GE((pixel >> 16) & 0xFF, 0xFEu);
  EXPECT_FALSE(BitmapFromHBITMAP(nullptr, buffer));
  EXPECT_FALSE(BitmapFromHICON(nullptr, buffer));
  DeleteObject(source);
}

}  // namespace
