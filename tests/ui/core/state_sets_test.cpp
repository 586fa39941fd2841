// The per-state colour and image sets of a control.
#include <gtest/gtest.h>

#include "tests/support/render_pixels.h"
#include "tests/support/gdiplus_test_env.h"
#include "ui/base/ui_globals.h"
#include "ui/core/control.h"
#include "ui/core/state_color_set.h"
#include "ui/core/state_image_set.h"
#include "ui/render/render_context_gdiplus.h"

namespace {

using ui::kControlStateDisabled;
using ui::kControlStateHot;
using ui::kControlStateNormal;
using ui::kControlStatePushed;

using pexo_test::Pixel;

class StateColorSetTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ui::UiGlobals::AddColor(L"normal", L"#FF0000FF");
    ui::UiGlobals::AddColor(L"hot", L"#FFFF0000");
    ui::UiGlobals::AddColor(L"pushed", L"#FF00FF00");
  }
  void SetUp() override { ASSERT_TRUE(context_.Resize(4, 4)); }
  DWORD PaintState(ui::StateColorSet& set, ui::ControlState state) {
    context_.Clear();
    set.Paint(&context_, RECT{0, 0, 4, 4}, state);
    return Pixel(context_, 1, 1);
  }
  ui::RenderContext_GdiPlus context_;
};

TEST_F(StateColorSetTest, StatesFallBackToHotThenNormal) {
  ui::StateColorSet set;  // no owner: the global table alone
  EXPECT_FALSE(set.HasColor());
  EXPECT_EQ(PaintState(set, kControlStateNormal), 0u);
  set.SetColor(kControlStateNormal, L"normal");
  EXPECT_TRUE(set.HasColor());
  EXPECT_FALSE(set.HasHotColor());
  EXPECT_EQ(PaintState(set, kControlStatePushed), 0xFF0000FFu);  // pushed -> hot -> normal
  EXPECT_EQ(PaintState(set, kControlStateDisabled), 0xFF0000FFu);
  set.SetColor(kControlStateHot, L"hot");
  EXPECT_TRUE(set.HasHotColor());
  EXPECT_EQ(PaintState(set, kControlStatePushed), 0xFFFF0000u);
  EXPECT_EQ(PaintState(set, kControlStateHot), 0xFFFF0000u);
  set.SetColor(kControlStatePushed, L"pushed");
  EXPECT_EQ(PaintState(set, kControlStatePushed), 0xFF00FF00u);
}

TEST_F(StateColorSetTest, HotFadeLaysTheHotColourOverTheNormalOne) {
  ui::Control owner;
  owner.GetAnimations().SetFadeHot(true);
  ui::StateColorSet set;
  set.SetOwner(&owner);
  set.SetColor(kControlStateNormal, L"normal");
  set.SetColor(kControlStateHot, L"hot");
  owner.SetHotAlpha(0);
  EXPECT_EQ(PaintState(set, kControlStateHot), 0xFF0000FFu);  // hot alpha 0: normal only
  owner.SetHotAlpha(255);
  EXPECT_EQ(PaintState(set, kControlStateNormal), 0xFFFF0000u);
  owner.SetHotAlpha(128);
  DWORD mixed = PaintState(set, kControlStateNormal);
  EXPECT_NEAR((mixed >> 16) & 0xFF, 128, 2);  // red over blue at half strength
  EXPECT_NEAR(mixed & 0xFF, 127, 2);
  EXPECT_EQ(mixed >> 24, 0xFFu);
  // Pushed is not part of the fade.
  set.SetColor(kControlStatePushed, L"pushed");
  EXPECT_EQ(PaintState(set, kControlStatePushed), 0xFF00FF00u);
}

TEST(StateImageSetTest, ImagesPerStateAndKind) {
  ui::Control owner;
  ui::StateImageMap map;
  map.Init(&owner);
  for (int kind = 0; kind < 4; ++kind) EXPECT_EQ(map.GetSet(kind).GetOwner(), &owner);
  ui::StateImageSet& background = map.GetSet(ui::kStateImageBk);
  EXPECT_FALSE(background.HasImage());
  EXPECT_EQ(background.GetFirstSetImage(), nullptr);

  map.SetImage(ui::kStateImageBk, kControlStatePushed, L"file='down.png' fade='90'");
  map.SetImage(ui::kStateImageBk, kControlStateDisabled, L"off.png");
  EXPECT_TRUE(background.HasImage());
  EXPECT_FALSE(map.GetSet(ui::kStateImageFore).HasImage());
  ASSERT_NE(background.GetFirstSetImage(), nullptr);
  EXPECT_EQ(background.GetFirstSetImage()->attributes.file, L"down.png");
  EXPECT_EQ(background.GetImage(kControlStatePushed).attributes.fade, 90);

  map.SetImage(ui::kStateImageSelectedBk, kControlStateNormal, L"fade='20'");
  EXPECT_TRUE(map.GetSet(ui::kStateImageSelectedBk).HasImage());

  auto image = std::make_shared<ui::ImageInfo>();
  background.GetImage(kControlStatePushed).image = image;
  background.GetImage(kControlStatePushed).currentFrame = 2;
  map.GetSet(ui::kStateImageSelectedFore).GetImage(kControlStateHot).image = image;
  map.ReleaseAllImages();
  EXPECT_EQ(image.use_count(), 1);
  EXPECT_EQ(background.GetImage(kControlStatePushed).currentFrame, 0);
  EXPECT_EQ(background.GetImage(kControlStatePushed).attributes.file, L"down.png");  // texts stay
}

}  // namespace
