#include "ui/render/gdi_bitmap.h"

#include <gtest/gtest.h>

namespace {

class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() { ReleaseDC(nullptr, dc_); }
  operator HDC() const { return dc_; }

 private:
  HDC dc_;
};

BYTE AlphaAt(ui::GdiBitmap& bitmap, int x, int y) {
  return bitmap.GetBits()[(y * bitmap.GetWidth() + x) * 4 + 3];
}

void FillAlpha(ui::GdiBitmap& bitmap, BYTE alpha) {
  for (int i = 0; i < bitmap.GetWidth() * bitmap.GetHeight(); ++i) bitmap.GetBits()[i * 4 + 3] = alpha;
}

TEST(GdiBitmapTest, InitRejectsEmptySizesAndDropsThePreviousBitmap) {
  ScreenDc screen;
  ui::GdiBitmap bitmap;
  ASSERT_TRUE(bitmap.Init(screen, 8, 4, true));
  EXPECT_NE(bitmap.GetBitmap(), nullptr);
  EXPECT_NE(bitmap.GetBits(), nullptr);
  EXPECT_EQ(bitmap.GetWidth(), 8);
  EXPECT_EQ(bitmap.GetHeight(), 4);

  for (auto size : {std::pair{0, 4}, std::pair{4, 0}, std::pair{-3, 4}}) {
    EXPECT_FALSE(bitmap.Init(screen, size.first, size.second, true));
    EXPECT_EQ(bitmap.GetBitmap(), nullptr);
    EXPECT_EQ(bitmap.GetBits(), nullptr);
    EXPECT_EQ(bitmap.GetWidth(), 0);
    EXPECT_EQ(bitmap.GetHeight(), 0);
    ASSERT_TRUE(bitmap.Init(screen, 8, 4, true));
  }
  EXPECT_FALSE(bitmap.Init(nullptr, 8, 4, true));
  EXPECT_EQ(bitmap.GetBitmap(), nullptr);
}

TEST(GdiBitmapTest, FlipChoosesTopDownRows) {
  ScreenDc screen;
  for (bool flip : {true, false}) {
    ui::GdiBitmap bitmap;
    ASSERT_TRUE(bitmap.Init(screen, 4, 3, flip));
    bitmap.Clear();
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap.GetBitmap());
    SetPixelV(dc, 0, 0, RGB(10, 20, 30));
    GdiFlush();
    SelectObject(dc, old);
    DeleteDC(dc);
    // Top-down puts row 0 first in memory; bottom-up puts it last.
    const BYTE* first = bitmap.GetBits() + (flip ? 0 : 2 * 4 * 4);
    EXPECT_EQ(first[0], 30) << "flip " << flip;
    EXPECT_EQ(first[1], 20);
    EXPECT_EQ(first[2], 10);
  }
}

TEST(GdiBitmapTest, ClearAlphaTouchesOnlyTheClampedArea) {
  ScreenDc screen;
  ui::GdiBitmap bitmap;
  ASSERT_TRUE(bitmap.Init(screen, 10, 10, true));
  bitmap.Clear();
  bitmap.ClearAlpha(RECT{-5, 8, 3, 20}, 0x1AB);  // low byte 0xAB on x 0..2, y 8..9
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      const BYTE* pixel = bitmap.GetBits() + (y * 10 + x) * 4;
      BYTE expected = (x < 3 && y >= 8) ? 0xAB : 0;
      for (int c = 0; c < 4; ++c) ASSERT_EQ(pixel[c], expected) << x << "," << y;
    }
  }
  bitmap.ClearAlpha(RECT{12, 0, 15, 10}, 7);  // nothing remains after clamping
  bitmap.ClearAlpha(RECT{5, 0, 5, 10}, 7);
  EXPECT_EQ(bitmap.GetBits()[(0 * 10 + 5) * 4], 0);
}

TEST(GdiBitmapTest, RestoreAlphaKeepsTheCornerSquares) {
  ScreenDc screen;
  ui::GdiBitmap bitmap;
  ASSERT_TRUE(bitmap.Init(screen, 20, 20, true));
  bitmap.Clear();
  bitmap.RestoreAlpha(RECT{0, 0, 20, 20}, RECT{5, 5, 5, 5});
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      bool corner = (x < 5 || x >= 15) && (y < 5 || y >= 15);
      ASSERT_EQ(AlphaAt(bitmap, x, y), corner ? 0 : 255) << x << "," << y;
    }
  }
  // The bands are measured from the bitmap's edges, not from the rectangle.
  bitmap.Clear();
  bitmap.RestoreAlpha(RECT{0, 0, 5, 5}, RECT{5, 5, 5, 5});
  EXPECT_EQ(AlphaAt(bitmap, 0, 0), 0);
  EXPECT_EQ(AlphaAt(bitmap, 4, 4), 0);
}

TEST(GdiBitmapTest, RestoreAlphaKeyedSwapsKeyAndZero) {
  ScreenDc screen;
  ui::GdiBitmap bitmap;
  ASSERT_TRUE(bitmap.Init(screen, 20, 20, true));
  const RECT all{0, 0, 20, 20};
  const RECT insets{5, 5, 5, 5};

  FillAlpha(bitmap, 0);
  bitmap.GetBits()[(10 * 20 + 10) * 4 + 3] = 128;
  bitmap.RestoreAlphaKeyed(all, insets, 0);
  EXPECT_EQ(AlphaAt(bitmap, 10, 0), 255);
  EXPECT_EQ(AlphaAt(bitmap, 10, 10), 128);
  EXPECT_EQ(AlphaAt(bitmap, 0, 0), 0);  // corner kept

  FillAlpha(bitmap, 0);
  bitmap.GetBits()[(10 * 20 + 10) * 4 + 3] = 128;
  bitmap.GetBits()[(10 * 20 + 11) * 4 + 3] = 90;
  bitmap.RestoreAlphaKeyed(all, insets, 128);
  EXPECT_EQ(AlphaAt(bitmap, 10, 10), 0);
  EXPECT_EQ(AlphaAt(bitmap, 11, 10), 90);
  EXPECT_EQ(AlphaAt(bitmap, 12, 10), 255);
}

TEST(GdiBitmapTest, DetachHandsOverTheBitmapAndEmptiesTheObject) {
  ScreenDc screen;
  ui::GdiBitmap bitmap;
  ASSERT_TRUE(bitmap.Init(screen, 6, 6, false));
  HBITMAP detached = bitmap.DetachBitmap();
  ASSERT_NE(detached, nullptr);
  EXPECT_EQ(bitmap.GetBitmap(), nullptr);
  EXPECT_EQ(bitmap.GetBits(), nullptr);
  EXPECT_EQ(bitmap.GetWidth(), 0);
  // Operations on an empty bitmap do nothing.
  bitmap.Clear();
  bitmap.ClearAlpha(RECT{0, 0, 6, 6}, 1);
  bitmap.RestoreAlpha(RECT{0, 0, 6, 6}, RECT{});
  bitmap.RestoreAlphaKeyed(RECT{0, 0, 6, 6}, RECT{}, 1);
  BITMAP info = {};
  EXPECT_EQ(GetObjectW(detached, sizeof(info), &info), static_cast<int>(sizeof(info)));
  EXPECT_EQ(info.bmWidth, 6);
  EXPECT_TRUE(DeleteObject(detached));
}

TEST(CreateDib32Test, MakesUnpaddedBgraRowsOrNothing) {
  ScreenDc screen;
  BYTE* bits = reinterpret_cast<BYTE*>(1);
  EXPECT_EQ(ui::CreateDib32(screen, 0, 5, true, &bits), nullptr);
  EXPECT_EQ(bits, nullptr);
  HBITMAP dib = ui::CreateDib32(screen, 3, 2, true, &bits);
  ASSERT_NE(dib, nullptr);
  ASSERT_NE(bits, nullptr);
  DIBSECTION section = {};
  ASSERT_EQ(GetObjectW(dib, sizeof(section), &section), static_cast<int>(sizeof(section)));
  EXPECT_EQ(section.dsBm.bmBitsPixel, 32);
  EXPECT_EQ(section.dsBm.bmWidthBytes, 12);
  DeleteObject(dib);
}

}  // namespace
