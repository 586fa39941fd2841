// Painting a control's state images, with fallbacks and the hot fade.
#include <gtest/gtest.h>

#include "tests/support/render_pixels.h"
#include "tests/support/gdiplus_test_env.h"
#include "tests/support/test_support.h"
#include "tests/ui/base/image_test_files.h"
#include "ui/core/control.h"
#include "ui/core/state_image_set.h"
#include "ui/render/render_context_gdiplus.h"

namespace {

using ui::kControlStateDisabled;
using ui::kControlStateHot;
using ui::kControlStateNormal;
using ui::kControlStatePushed;

using pexo_test::Pixel;

class StateImagePaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    red_ = dir_.File(L"red.png");
    blue_ = dir_.File(L"blue.png");
    ASSERT_TRUE(pexo_test::WritePng(red_, 8, 8, [](int, int) { return 0xFFFF0000; }));
    ASSERT_TRUE(pexo_test::WritePng(blue_, 8, 8, [](int, int) { return 0xFF0000FF; }));
    owner_.SetPos(RECT{0, 0, 8, 8});
    set_.SetOwner(&owner_);
    ASSERT_TRUE(context_.Resize(8, 8));
  }
  DWORD PaintState(ui::ControlState state) {
    context_.Clear();
    owner_.SetPaintRect(RECT{0, 0, 8, 8});
    set_.Paint(&context_, state);
    return Pixel(context_, 4, 4);
  }
  pexo_test::TempDir dir_;
  std::wstring red_, blue_;
  ui::Control owner_;
  ui::StateImageSet set_;
  ui::RenderContext_GdiPlus context_;
};

TEST_F(StateImagePaintTest, MissingStatesFallBack) {
  set_.GetImage(kControlStateNormal).SetImageString(red_);
  EXPECT_EQ(PaintState(kControlStatePushed), 0xFFFF0000u);  // neither pushed nor hot: normal
  EXPECT_EQ(PaintState(kControlStateDisabled), 0xFFFF0000u);
  set_.GetImage(kControlStateHot).SetImageString(L"file='" + blue_ + L"' fade='100'");
  EXPECT_EQ(PaintState(kControlStateHot) >> 24, 100u);
  // Pushed without its own image draws the hot one, which is opaque from then on.
  EXPECT_EQ(PaintState(kControlStatePushed), 0xFF0000FFu);
  EXPECT_EQ(set_.GetImage(kControlStateHot).attributes.fade, 255);
  EXPECT_EQ(PaintState(kControlStateHot), 0xFF0000FFu);
}

TEST_F(StateImagePaintTest, HotFadeBlendsTheTwoImages) {
  owner_.GetAnimations().SetFadeHot(true);
  set_.GetImage(kControlStateNormal).SetImageString(red_);
  set_.GetImage(kControlStateHot).SetImageString(blue_);
  owner_.SetHotAlpha(255);
  EXPECT_EQ(PaintState(kControlStateNormal), 0xFF0000FFu);
  owner_.SetHotAlpha(0);
  EXPECT_EQ(PaintState(kControlStateHot), 0xFFFF0000u);

  // One file in both states: drawn once, its fade between the two fades.
  set_.GetImage(kControlStateNormal).SetImageString(L"file='" + blue_ + L"' fade='55'");
  set_.GetImage(kControlStateHot).SetImageString(L"file='" + blue_ + L"' fade='255'");
  owner_.SetHotAlpha(128);
  EXPECT_NEAR(PaintState(kControlStateNormal) >> 24, 55 + (255 - 55) * 128 / 255, 1);
}

}  // namespace
