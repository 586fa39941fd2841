// Opaque fills written straight into the bitmap must give exactly the pixels
// GDI+ gives the same fill, whatever the clip and the origin.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "tests/support/gdiplus_test_env.h"
#include "tests/support/render_pixels.h"
#include "ui/render/gdiplus_handles.h"
#include "ui/render/render_context_gdiplus.h"

namespace {

using Context = ui::RenderContext_GdiPlus;
namespace gp = Gdiplus::DllExports;

constexpr int kSize = 48;

// A context with a varied, partly translucent background, so that a pixel
// left alone and a pixel drawn over can never be mistaken for each other.
void PaintBackground(Context& context) {
  ASSERT_TRUE(context.Resize(kSize, kSize));
  auto* pixels = reinterpret_cast<DWORD*>(context.GetBits());
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const DWORD alpha = (x + y) % 3 == 0 ? 0x80 : 0xFF;
      const DWORD value = static_cast<DWORD>((x * 5) & 0x7F);
      pixels[y * kSize + x] = (alpha << 24) | (value << 16) | (static_cast<DWORD>(y * 3) << 8) | value;
    }
  }
}

std::vector<DWORD> PixelsOf(Context& context) {
  std::vector<DWORD> all;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) all.push_back(pexo_test::Pixel(context, x, y));
  return all;
}

// GDI+ itself, as the render context drew every fill before.
void GdiplusFill(Context& context, const RECT& rect, DWORD color) {
  ui::GpGraphicsPtr graphics = ui::MakeGraphics(context.GetDC());
  ASSERT_TRUE(graphics);
  Gdiplus::GpSolidFill* brush = nullptr;
  gp::GdipCreateSolidFill(color, &brush);
  gp::GdipFillRectangle(graphics.get(), brush, static_cast<Gdiplus::REAL>(rect.left),
                        static_cast<Gdiplus::REAL>(rect.top), static_cast<Gdiplus::REAL>(rect.right - rect.left),
                        static_cast<Gdiplus::REAL>(rect.bottom - rect.top));
  gp::GdipDeleteBrush(brush);
}

void GdiplusFrame(Context& context, const RECT& rect, int width, DWORD color) {
  ui::GpGraphicsPtr graphics = ui::MakeGraphics(context.GetDC());
  ASSERT_TRUE(graphics);
  Gdiplus::GpPen* pen = nullptr;
  gp::GdipCreatePen1(color, static_cast<Gdiplus::REAL>(width), Gdiplus::UnitWorld, &pen);
  gp::GdipDrawRectangleI(graphics.get(), pen, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  gp::GdipDeletePen(pen);
}

// Sets up two equal contexts, lets `setup` clip or move both the same way, draws
// with the context on one and with GDI+ on the other, and compares every pixel.
void ExpectSameAsGdiplus(const std::function<void(Context&)>& setup, const std::function<void(Context&)>& ours,
                         const std::function<void(Context&)>& reference, const char* what) {
  Context direct;
  Context drawn;
  PaintBackground(direct);
  PaintBackground(drawn);
  setup(direct);
  setup(drawn);
  ours(direct);
  reference(drawn);
  const std::vector<DWORD> a = PixelsOf(direct);
  const std::vector<DWORD> b = PixelsOf(drawn);
  int differing = 0;
  int first = -1;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i]) {
      if (first < 0) first = static_cast<int>(i);
      ++differing;
    }
  }
  EXPECT_EQ(differing, 0) << what << ": first at (" << first % kSize << ", " << first / kSize << ") "
                          << std::hex << a[first < 0 ? 0 : first] << " instead of " << b[first < 0 ? 0 : first];
}

struct Situation {
  const char* name;
  std::function<void(Context&)> apply;
};

std::vector<Situation> Situations() {
  return {
      {"no clip", [](Context&) {}},
      {"a clip", [](Context& c) { c.SetClip(RECT{6, 4, 30, 40}); }},
      {"nested clips", [](Context& c) {
         c.SetClip(RECT{6, 4, 30, 40});
         c.SetClip(RECT{10, 0, 44, 20});
       }},
      {"a round clip", [](Context& c) { c.SetRoundClip(RECT{3, 3, 41, 37}, 12, 12); }},
      {"a moved origin", [](Context& c) { c.OffsetWindowOrg(POINT{-7, 5}); }},
      {"a moved origin and a clip", [](Context& c) {
         c.OffsetWindowOrg(POINT{9, -4});
         c.SetClip(RECT{10, 0, 40, 30});
       }},
  };
}

TEST(RenderContextDirectTest, OpaqueFillsEqualGdiplusUnderEveryClipAndOrigin) {
  const RECT rects[] = {{5, 7, 30, 33}, {-10, -10, 20, 60}, {0, 0, kSize, kSize}, {40, 40, 90, 90},
                        {12, 12, 12, 30}, {30, 30, 10, 10}};
  for (const Situation& setup : Situations()) {
    for (const RECT& rect : rects) {
      ExpectSameAsGdiplus(
          setup.apply, [&](Context& c) { c.DrawColor(rect, 0xFF2060A0); },
          [&](Context& c) { GdiplusFill(c, rect, 0xFF2060A0); }, setup.name);
    }
    // A translucent colour and a faded one still go through GDI+.
    ExpectSameAsGdiplus(
        setup.apply, [&](Context& c) { c.DrawColor(RECT{4, 4, 40, 40}, 0x802060A0); },
        [&](Context& c) { GdiplusFill(c, RECT{4, 4, 40, 40}, 0x802060A0); }, setup.name);
    ExpectSameAsGdiplus(
        setup.apply, [&](Context& c) { c.DrawColor(RECT{4, 4, 40, 40}, 0xFF2060A0, 128); },
        [&](Context& c) { GdiplusFill(c, RECT{4, 4, 40, 40}, 0x802060A0); }, setup.name);
  }
}

TEST(RenderContextDirectTest, OnePixelFramesEqualGdiplusUnderEveryClipAndOrigin) {
  const RECT frames[] = {{5, 7, 30, 33}, {0, 0, kSize - 1, kSize - 1}, {-4, 10, 60, 20}, {8, 8, 9, 30}};
  for (const Situation& setup : Situations()) {
    for (const RECT& frame : frames) {
      for (DWORD color : {0xFF2060A0u, 0x902060A0u}) {
        ExpectSameAsGdiplus(
            setup.apply, [&](Context& c) { c.DrawRect(frame, 1, color); },
            [&](Context& c) { GdiplusFrame(c, frame, 1, color); }, setup.name);
      }
    }
    ExpectSameAsGdiplus(
        setup.apply, [&](Context& c) { c.DrawRect(RECT{5, 5, 40, 40}, 2, 0xFF2060A0); },
        [&](Context& c) { GdiplusFrame(c, RECT{5, 5, 40, 40}, 2, 0xFF2060A0); }, setup.name);
  }
}

}  // namespace
