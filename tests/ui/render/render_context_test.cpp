#include "tests/support/render_pixels.h"
#include "ui/render/render_context_gdiplus.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "tests/support/gdiplus_test_env.h"
#include "ui/render/render_factory_gdiplus.h"
#include "ui/render/brush.h"
#include "ui/render/path.h"
#include "ui/render/pen.h"
#include "ui/base/dpi_scaler.h"

namespace {

using Context = ui::RenderContext_GdiPlus;

using pexo_test::Pixel;
BYTE AlphaOf(DWORD pixel) { return static_cast<BYTE>(pixel >> 24); }

// A top-down 32 bpp bitmap whose (premultiplied) pixels come from colour(x, y).
HBITMAP MakeImage(int width, int height, const std::function<DWORD(int, int)>& color) {
  HDC screen = GetDC(nullptr);
  BYTE* bits = nullptr;
  HBITMAP bitmap = ui::CreateDib32(screen, width, height, true, &bits);
  ReleaseDC(nullptr, screen);
  auto* pixels = reinterpret_cast<DWORD*>(bits);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels[y * width + x] = color(x, y);
  return bitmap;
}

struct ImageHolder {
  explicit ImageHolder(HBITMAP b) : bitmap(b) {}
  ~ImageHolder() { DeleteObject(bitmap); }
  HBITMAP bitmap;
};

int CountPixels(ui::IRenderContext& context, DWORD value) {
  int count = 0;
  for (int y = 0; y < context.GetHeight(); ++y)
    for (int x = 0; x < context.GetWidth(); ++x) count += Pixel(context, x, y) == value;
  return count;
}

constexpr DWORD kRed = 0xFFFF0000;
constexpr DWORD kBlue = 0xFF0000FF;
constexpr RECT kEverywhere{-1000, -1000, 1000, 1000};

TEST(RenderContextTest, ResizeMakesAtLeastOnePixelAndKeepsSameSize) {
  Context context;
  EXPECT_EQ(context.GetWidth(), 0);
  EXPECT_EQ(context.DetachBitmap(), nullptr);  // nothing selected yet
  EXPECT_TRUE(context.Resize(0, 0));
  EXPECT_EQ(context.GetWidth(), 1);
  EXPECT_EQ(context.GetHeight(), 1);
  EXPECT_TRUE(context.Resize(8, 6));
  context.Clear();
  context.DrawColor(RECT{0, 0, 8, 6}, kRed);
  EXPECT_FALSE(context.Resize(8, 6));
  EXPECT_EQ(Pixel(context, 7, 5), kRed);  // pixels kept

  std::unique_ptr<ui::IRenderContext> copy(context.Clone());
  EXPECT_EQ(copy->GetWidth(), 8);
  EXPECT_EQ(copy->GetHeight(), 6);
  EXPECT_EQ(Pixel(*copy, 3, 3), kRed);

  HBITMAP detached = context.DetachBitmap();
  ASSERT_NE(detached, nullptr);
  EXPECT_EQ(context.GetWidth(), 0);
  EXPECT_EQ(context.GetBits(), nullptr);
  EXPECT_EQ(context.DetachBitmap(), nullptr);
  DeleteObject(detached);
  EXPECT_TRUE(context.Resize(2, 2));  // usable again
}

TEST(RenderContextTest, FlagsOriginsAndSavedState) {
  Context context;
  ASSERT_TRUE(context.Resize(20, 20));
  EXPECT_FALSE(context.IsRenderTransparent());
  EXPECT_FALSE(context.SetRenderTransparent(true));
  EXPECT_TRUE(context.SetRenderTransparent(false));

  POINT old = context.OffsetWindowOrg(POINT{-5, -5});
  EXPECT_EQ(old.x, 0);
  EXPECT_EQ(context.GetWindowOrg().x, -5);
  context.Clear();
  context.DrawColor(RECT{0, 0, 2, 2}, kRed);  // lands at device (5, 5)
  EXPECT_EQ(Pixel(context, 5, 5), kRed);
  EXPECT_EQ(Pixel(context, 0, 0), 0u);
  old = context.SetWindowOrg(POINT{0, 0});
  EXPECT_EQ(old.y, -5);

  EXPECT_NE(context.SaveDC(), 0);
  context.OffsetWindowOrg(POINT{3, 3});
  EXPECT_TRUE(context.RestoreDC());
  EXPECT_EQ(context.GetWindowOrg().x, 0);
}

TEST(RenderContextTest, ClipsNestAndFollowTheOrigin) {
  Context context;
  ASSERT_TRUE(context.Resize(20, 20));
  context.Clear();
  context.SetClip(RECT{0, 0, 10, 10});
  context.SetClip(RECT{5, 5, 15, 15});
  context.DrawColor(kEverywhere, kRed);
  EXPECT_EQ(Pixel(context, 7, 7), kRed);
  EXPECT_EQ(Pixel(context, 3, 3), 0u);
  EXPECT_EQ(Pixel(context, 12, 12), 0u);
  context.ClearClip();
  context.DrawColor(kEverywhere, kBlue);
  EXPECT_EQ(Pixel(context, 3, 3), kBlue);
  EXPECT_EQ(Pixel(context, 12, 12), 0u);
  context.ClearClip();
  context.DrawColor(kEverywhere, kBlue);
  EXPECT_EQ(Pixel(context, 12, 12), kBlue);

  context.Clear();
  context.SetRoundClip(RECT{0, 0, 19, 19}, 10, 10);
  context.DrawColor(kEverywhere, kRed);
  context.ClearClip();
  EXPECT_EQ(Pixel(context, 0, 0), 0u);  // cut corner
  EXPECT_EQ(Pixel(context, 10, 10), kRed);
}

TEST(RenderContextTest, DrawColorScalesAlphaByFade) {
  Context context;
  ASSERT_TRUE(context.Resize(4, 4));
  struct Case {
    DWORD color;
    BYTE fade;
    BYTE alpha;
  } cases[] = {{0xFFFFFFFF, 128, 128}, {0xC8FFFFFF, 100, 78}, {0xC8FFFFFF, 255, 200},
               {0xFFFFFFFF, 0, 0}};
  for (const Case& c : cases) {
    context.Clear();
    context.DrawColor(RECT{0, 0, 4, 4}, c.color, c.fade);
    EXPECT_NEAR(AlphaOf(Pixel(context, 1, 1)), c.alpha, 1) << std::hex << c.color << " " << int(c.fade);
  }
}

TEST(RenderContextTest, BlitsPassResultsThrough) {
  Context source;
  ASSERT_TRUE(source.Resize(4, 4));
  source.DrawColor(RECT{0, 0, 4, 4}, kRed);
  Context target;
  ASSERT_TRUE(target.Resize(8, 8));
  target.Clear();
  EXPECT_TRUE(target.BitBlt(0, 0, 4, 4, source.GetDC()));
  EXPECT_EQ(Pixel(target, 3, 3), kRed);
  EXPECT_TRUE(target.StretchBlt(0, 0, 8, 8, source.GetDC(), 0, 0, 4, 4));
  EXPECT_EQ(Pixel(target, 7, 7) & 0xFFFFFF, kRed & 0xFFFFFF);
  target.Clear();
  EXPECT_TRUE(target.AlphaBlend(0, 0, 4, 4, source.GetDC(), 0, 0, 4, 4, 128));
  EXPECT_NEAR(AlphaOf(Pixel(target, 1, 1)), 128, 1);
  EXPECT_FALSE(target.AlphaBlend(0, 0, 4, 4, source.GetDC(), 0, 0, 40, 40, 255));  // outside the source
}

// A 30 x 30 image of nine 10 x 10 cells, each its own colour.
DWORD CellColor(int x, int y) {
  static const DWORD colors[3][3] = {{0xFF110000, 0xFF220000, 0xFF330000},
                                     {0xFF440000, 0xFF550000, 0xFF660000},
                                     {0xFF770000, 0xFF880000, 0xFF990000}};
  return colors[y / 10][x / 10];
}

TEST(RenderContextTest, NineGridKeepsCornersAndStretchesTheRest) {
  ImageHolder image(MakeImage(30, 30, CellColor));
  Context context;
  ASSERT_TRUE(context.Resize(60, 60));
  context.Clear();
  RECT corners{10, 10, 10, 10};
  context.DrawImage(kEverywhere, image.bitmap, false, RECT{0, 0, 60, 60}, RECT{0, 0, 30, 30},
                    corners, false);
  struct Probe {
    int x, y;
    DWORD color;
  } probes[] = {{0, 0, 0xFF110000},   {9, 9, 0xFF110000},   {10, 0, 0xFF220000},
                {49, 9, 0xFF220000},  {50, 0, 0xFF330000},  {59, 9, 0xFF330000},
                {0, 30, 0xFF440000},  {30, 30, 0xFF550000}, {59, 30, 0xFF660000},
                {0, 59, 0xFF770000},  {30, 50, 0xFF880000}, {59, 59, 0xFF990000},
                {10, 10, 0xFF550000}, {49, 49, 0xFF550000}};
  // Stretched pieces of an opaque image are copied with StretchBlt, which need not
  // keep the alpha byte; compare the colour.
  for (const Probe& p : probes)
    EXPECT_EQ(Pixel(context, p.x, p.y) & 0xFFFFFF, p.color & 0xFFFFFF) << p.x << "," << p.y;
}

TEST(RenderContextTest, PiecesOutsideThePaintRectAreSkipped) {
  ImageHolder image(MakeImage(30, 30, CellColor));
  Context context;
  ASSERT_TRUE(context.Resize(60, 60));
  context.Clear();
  RECT corners{10, 10, 10, 10};
  context.DrawImage(RECT{0, 0, 5, 5}, image.bitmap, false, RECT{0, 0, 60, 60},
                    RECT{0, 0, 30, 30}, corners, false);
  EXPECT_EQ(Pixel(context, 0, 0), 0xFF110000u);
  EXPECT_EQ(Pixel(context, 30, 30), 0u);
  EXPECT_EQ(Pixel(context, 30, 0), 0u);
  EXPECT_EQ(Pixel(context, 59, 59), 0u);

  context.Clear();  // nothing at all when the destination misses the paint rect
  context.DrawImage(RECT{100, 100, 200, 200}, image.bitmap, false, RECT{0, 0, 60, 60},
                    RECT{0, 0, 30, 30}, corners, false);
  EXPECT_EQ(CountPixels(context, 0), 60 * 60);
  context.DrawImage(kEverywhere, nullptr, false, RECT{0, 0, 60, 60}, RECT{0, 0, 30, 30},
                    corners, false);
  EXPECT_EQ(CountPixels(context, 0), 60 * 60);
}

// Source tiles 10 x 10 with a red marker pixel at each tile's top-left corner.
HBITMAP MarkedTile() {
  return MakeImage(10, 10, [](int x, int y) { return x == 0 && y == 0 ? kRed : kBlue; });
}

TEST(RenderContextTest, VerticalTilingCountsWholeOrPartialRows) {
  ImageHolder tile(MarkedTile());
  for (bool full : {false, true}) {
    Context context;
    ASSERT_TRUE(context.Resize(20, 40));
    context.Clear();
    RECT corners{};
    context.DrawImage(kEverywhere, tile.bitmap, false, RECT{0, 0, 20, 40}, RECT{0, 0, 10, 10},
                      corners, false, 255, false, true, true, full, 2);
    EXPECT_EQ(CountPixels(context, kRed), full ? 4 : 3);
    EXPECT_EQ(Pixel(context, 0, 0), kRed);
    EXPECT_EQ(Pixel(context, 0, 12), kRed);
    EXPECT_EQ(Pixel(context, 0, 24), kRed);
    EXPECT_EQ(Pixel(context, 0, 10), 0u);  // the margin
    EXPECT_EQ(Pixel(context, 10, 1), 0u);  // tiles keep the source width
    if (full) {
      EXPECT_EQ(Pixel(context, 0, 36), kRed);
      EXPECT_EQ(Pixel(context, 5, 39), kBlue);  // clipped to 4 rows
    } else {
      EXPECT_EQ(Pixel(context, 0, 36), 0u);
    }
  }
}

TEST(RenderContextTest, GridTilingClipsTheLastColumnAndRow) {
  ImageHolder tile(MarkedTile());
  Context context;
  ASSERT_TRUE(context.Resize(30, 20));
  context.Clear();
  RECT corners{};
  context.DrawImage(kEverywhere, tile.bitmap, false, RECT{0, 0, 25, 15}, RECT{0, 0, 10, 10},
                    corners, false, 255, true, true);
  EXPECT_EQ(CountPixels(context, kRed), 6);
  EXPECT_EQ(Pixel(context, 20, 10), kRed);
  EXPECT_EQ(Pixel(context, 24, 14), kBlue);
  EXPECT_EQ(Pixel(context, 25, 14), 0u);
  EXPECT_EQ(Pixel(context, 24, 15), 0u);

  context.Clear();  // horizontal only: columns of the full source height
  context.DrawImage(kEverywhere, tile.bitmap, false, RECT{0, 0, 25, 15}, RECT{0, 0, 10, 10},
                    corners, false, 255, true, false);
  EXPECT_EQ(CountPixels(context, kRed), 3);
  EXPECT_EQ(Pixel(context, 24, 9), kBlue);
  EXPECT_EQ(Pixel(context, 24, 10), 0u);
}

TEST(RenderContextTest, TilingWithoutATileDrawsNoCentreAndDoesNotFail) {
  ImageHolder tile(MarkedTile());
  Context context;
  ASSERT_TRUE(context.Resize(40, 40));
  // Corners that cover the whole image leave a source centre of 0 x 0.
  for (auto [x, y] : {std::pair{true, false}, std::pair{false, true}, std::pair{true, true}}) {
    context.Clear();
    RECT corners{5, 5, 5, 5};
    context.DrawImage(kEverywhere, tile.bitmap, false, RECT{0, 0, 40, 40}, RECT{0, 0, 10, 10},
                      corners, false, 255, x, y);
    EXPECT_EQ(Pixel(context, 20, 20), 0u);
    EXPECT_EQ(Pixel(context, 0, 0), kRed);  // the corners still draw
  }
  // A margin that cancels the tile height.
  context.Clear();
  RECT corners{};
  context.DrawImage(kEverywhere, tile.bitmap, false, RECT{0, 0, 40, 40}, RECT{0, 0, 10, 10},
                    corners, false, 255, false, true, true, true, -10);
  EXPECT_EQ(Pixel(context, 5, 5), 0u);
  // An empty source rectangle.
  context.DrawImage(kEverywhere, tile.bitmap, false, RECT{0, 0, 40, 40}, RECT{3, 3, 3, 3},
                    corners, false, 255, true, true);
}

TEST(RenderContextTest, OpaqueResizedImagesAreCopiedOthersBlended) {
  // Colour with alpha 0, as in an image without an alpha channel.
  ImageHolder image(MakeImage(4, 4, [](int, int) { return 0x00FF0000; }));
  auto draw = [&](Context& context, int size) {
    context.DrawColor(RECT{0, 0, 8, 8}, 0xFF00FF00);
    RECT corners{};
    context.DrawImage(kEverywhere, image.bitmap, false, RECT{0, 0, size, size},
                      RECT{0, 0, 4, 4}, corners, false);
  };
  Context context;
  ASSERT_TRUE(context.Resize(8, 8));
  draw(context, 8);  // resized, opaque context: copied over the green
  EXPECT_EQ(Pixel(context, 2, 2) & 0xFFFFFF, 0xFF0000u);
  draw(context, 4);  // own size: blended, so the green shows through
  EXPECT_EQ(Pixel(context, 2, 2) & 0xFFFFFF, 0xFFFF00u);
  EXPECT_FALSE(context.SetRenderTransparent(true));
  draw(context, 8);  // transparent context: blended even when resized
  EXPECT_EQ(Pixel(context, 2, 2) & 0xFFFFFF, 0xFFFF00u);
}

TEST(RenderContextTest, DpiScaledImagesScaleTheirSourceCorners) {
  DpiScaler::Instance().SetAdapted(true);
  DpiScaler::Instance().SetScale(200);
  ImageHolder image(MakeImage(30, 30, CellColor));
  Context context;
  ASSERT_TRUE(context.Resize(60, 60));
  RECT corners{5, 5, 5, 5};
  context.DrawImage(kEverywhere, image.bitmap, false, RECT{0, 0, 60, 60}, RECT{0, 0, 30, 30},
                    corners, true);
  EXPECT_EQ(corners.left, 10);
  EXPECT_EQ(Pixel(context, 9, 9), 0xFF110000u);
  RECT plain{5, 5, 5, 5};
  context.DrawImage(kEverywhere, image.bitmap, false, RECT{0, 0, 60, 60}, RECT{0, 0, 30, 30},
                    plain, false);
  EXPECT_EQ(plain.left, 5);
  DpiScaler::Instance().SetScale(100);
  DpiScaler::Instance().SetAdapted(false);
}

TEST(RenderContextTest, ShapesLandWhereTheyShould) {
  Context context;
  ASSERT_TRUE(context.Resize(40, 40));
  context.Clear();
  context.DrawRect(RECT{5, 5, 30, 30}, 1, kRed);
  EXPECT_EQ(Pixel(context, 5, 15), kRed);
  EXPECT_EQ(Pixel(context, 15, 15), 0u);
  context.DrawLine(RECT{0, 38, 39, 38}, 1, kBlue);
  EXPECT_EQ(Pixel(context, 20, 38), kBlue);

  context.Clear();
  context.FillEllipse(RECT{0, 0, 40, 40}, kRed);
  EXPECT_EQ(Pixel(context, 20, 20), kRed);
  EXPECT_EQ(AlphaOf(Pixel(context, 1, 1)), 0);
  context.Clear();
  context.DrawEllipse(RECT{0, 0, 39, 39}, 2, kRed);
  EXPECT_GT(AlphaOf(Pixel(context, 20, 0)), 100);
  EXPECT_EQ(Pixel(context, 20, 20), 0u);
  context.Clear();
  context.DrawRoundRect(RECT{2, 2, 37, 37}, SIZE{10, 10}, 2, kBlue);
  EXPECT_GT(AlphaOf(Pixel(context, 20, 2)), 100);
  EXPECT_EQ(AlphaOf(Pixel(context, 2, 2)), 0);  // rounded away
  EXPECT_EQ(Pixel(context, 20, 20), 0u);

  ui::RenderFactory_GdiPlus factory;
  std::unique_ptr<ui::IPath> path(factory.CreatePath());
  path->AddRectCoords(10, 10, 20, 20);
  std::unique_ptr<ui::IBrush> brush(factory.CreateBrush(kRed));
  std::unique_ptr<ui::IPen> pen(factory.CreatePen(kBlue, 2));
  context.Clear();
  context.FillPath(path.get(), brush.get());
  EXPECT_EQ(Pixel(context, 15, 15), kRed);
  context.DrawPath(path.get(), pen.get());
  EXPECT_EQ(Pixel(context, 10, 15), kBlue);
  context.DrawLineWithPen(pen.get(), 0, 30, 39, 30);
  EXPECT_GT(AlphaOf(Pixel(context, 20, 30)), 100);
  context.DrawBezier(pen.get(), 0, 35, 10, 35, 30, 35, 39, 35);
  EXPECT_GT(AlphaOf(Pixel(context, 20, 35)), 100);
  context.FillPath(nullptr, brush.get());
  context.DrawPath(path.get(), nullptr);
}

TEST(RenderContextTest, TexturedBrushFillsWithTheBitmap) {
  ImageHolder tile(MakeImage(2, 2, [](int, int) { return kRed; }));
  ui::RenderFactory_GdiPlus factory;
  std::unique_ptr<ui::IBrush> brush(factory.CreateBitmapBrush(tile.bitmap));
  std::unique_ptr<ui::IPath> path(factory.CreatePath());
  path->AddRectCoords(0, 0, 8, 8);
  Context context;
  ASSERT_TRUE(context.Resize(8, 8));
  context.Clear();
  context.FillPath(path.get(), brush.get());
  EXPECT_EQ(Pixel(context, 5, 5) & 0xFFFFFF, kRed & 0xFFFFFF);
}

TEST(RenderContextTest, BoxShadowDrawsAroundAndExcludesTheInside) {
  for (bool exclude : {true, false}) {
    Context context;
    ASSERT_TRUE(context.Resize(100, 100));
    context.Clear();
    context.DrawBoxShadow(RECT{30, 30, 70, 70}, SIZE{6, 6}, POINT{0, 0}, 4, 10, 2, 0xFF000000,
                          exclude);
    // The shadow spreads to the rectangle grown by the blur size.
    int painted_band = 0;
    for (int x = 20; x < 80; ++x) painted_band += AlphaOf(Pixel(context, x, 24)) > 0;
    EXPECT_GT(painted_band, 20) << exclude;
    EXPECT_EQ(Pixel(context, 10, 10), 0u);
    // The inside of the inner outline is left alone with exclude.
    if (exclude)
      EXPECT_EQ(Pixel(context, 50, 50), 0u);
    else
      EXPECT_GT(AlphaOf(Pixel(context, 50, 50)), 0);
  }
}

// The band around the box carries the shadow's own colour, fading towards the
// outline; Wine's path gradient ignores the preset blend and would otherwise fill
// the band with the brush's default opaque white.
TEST(RenderContextTest, BoxShadowBandHasTheShadowColour) {
  for (DWORD color : {0xFF000000u, 0x60203040u}) {
    Context context;
    ASSERT_TRUE(context.Resize(100, 100));
    context.Clear();
    context.DrawBoxShadow(RECT{30, 30, 70, 70}, SIZE{0, 0}, POINT{0, 2}, 4, 8, 2, color, true);
    const BYTE full_alpha = AlphaOf(color);
    int shaded = 0;
    for (int y = 0; y < 100; ++y) {
      for (int x = 0; x < 100; ++x) {
        const bool inside_box = x >= 30 && x < 70 && y >= 30 && y < 70;
        const DWORD pixel = Pixel(context, x, y);
        if (inside_box || pixel == 0) continue;
        ++shaded;
        // Premultiplied pixels: every channel stays within the alpha times the
        // colour's channel, and the alpha never exceeds the colour's.
        const BYTE alpha = AlphaOf(pixel);
        ASSERT_LE(alpha, full_alpha) << x << "," << y;
        for (int shift : {0, 8, 16}) {
          const int channel = (pixel >> shift) & 0xFF;
          const int expected = ((color >> shift) & 0xFF) * alpha / 255;
          ASSERT_NEAR(channel, expected, 2) << std::hex << pixel << " at " << std::dec << x
                                            << "," << y;
        }
      }
    }
    EXPECT_GT(shaded, 4 * 40 * 4) << std::hex << color;
    // Nearer the box the shadow is denser than at its outer edge.
    EXPECT_GT(AlphaOf(Pixel(context, 50, 73)), AlphaOf(Pixel(context, 50, 78)));
  }
}

TEST(RenderContextTest, RenderFactoryMakesContexts) {
  ui::RenderFactory_GdiPlus factory;
  std::unique_ptr<ui::IRenderContext> context(factory.CreateRenderContext());
  ASSERT_NE(context, nullptr);
  EXPECT_NE(context->GetDC(), nullptr);
  EXPECT_TRUE(context->Resize(3, 3));
}

}  // namespace
