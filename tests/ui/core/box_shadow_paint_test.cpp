// A control's "boxshadow" painted through the window's direct path onto a background.
#include <gtest/gtest.h>

#include "tests/support/render_pixels.h"
#include "tests/support/gdiplus_test_env.h"
#include "ui/base/ui_globals.h"
#include "ui/core/control.h"
#include "ui/render/render_context_gdiplus.h"

namespace {

constexpr DWORD kBackground = 0xFFF0F0F0;

using pexo_test::Pixel;

bool IsGrey(DWORD pixel) {
  const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  return r == g && g == b;
}

// The control sits at (30, 30)-(70, 70) on an opaque light background with a black
// shadow.
void PaintShadowedControl(ui::RenderContext_GdiPlus& context, const std::wstring& shadow) {
  ui::UiGlobals::AddColor(L"test_shadow", L"#FF000000");
  ui::Control control;
  control.SetAttribute(L"boxshadow", shadow);
  control.SetPos(RECT{30, 30, 70, 70});
  ASSERT_TRUE(context.Resize(100, 100));
  context.DrawColor(RECT{0, 0, 100, 100}, kBackground);
  control.AlphaPaint(&context, RECT{0, 0, 100, 100});
}

TEST(BoxShadowPaintTest, ShadowDarkensTheBackgroundAroundTheControl) {
  for (const wchar_t* shadow :
       {L"color='test_shadow'", L"color='test_shadow' offset='0,2' blurradius='6' blursize='8'",
        L"color='test_shadow' blursize='6' exclude='false'"}) {
    ui::RenderContext_GdiPlus context;
    PaintShadowedControl(context, shadow);
    // Below the control's bottom edge the shadow shows as a darker grey.
    DWORD below = kBackground;
    for (int y = 70; y < 80; ++y)
      if ((Pixel(context, 50, y) & 0xFF) < (below & 0xFF)) below = Pixel(context, 50, y);
    EXPECT_LT(below & 0xFF, kBackground & 0xFF) << std::hex << below;
    EXPECT_TRUE(IsGrey(below)) << std::hex << below;
    EXPECT_EQ(below >> 24, 0xFFu);
    // Far from the control the background stays as it was.
    EXPECT_EQ(Pixel(context, 5, 5), kBackground);
    EXPECT_EQ(Pixel(context, 95, 95), kBackground);
  }
}

TEST(BoxShadowPaintTest, ExcludedShadowLeavesTheControlArea) {
  ui::RenderContext_GdiPlus context;
  PaintShadowedControl(context, L"color='test_shadow' blursize='6'");
  EXPECT_EQ(Pixel(context, 50, 50), kBackground);
}

}  // namespace
