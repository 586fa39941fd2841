#include "ui/core/control_animations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "ui/base/animation_player.h"
#include "ui/core/control.h"

namespace {

// Runs the thread's message loop (which steps the animation timer) until the
// condition holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(2);
  }
  return true;
}

// Waits until the control's player of the kind has played out. A player that
// starts from 0 reports nothing until its value first moves, so the control's
// own value alone cannot tell an animation that ended from one not yet begun.
bool PumpUntilPlayedOut(ui::Control& control, int kind) {
  ui::AnimationPlayer* player = control.GetAnimations().GetPlayer(kind);
  return player != nullptr && PumpUntil([player] { return !player->IsPlaying(); });
}

TEST(ControlAnimationsTest, KindsMakeConfiguredPlayersAndSwitchingOffDeletesThem) {
  ui::Control control;
  ui::AnimationPlayer* alpha = control.GetAnimations().SetFadeAlpha(true);
  ASSERT_NE(alpha, nullptr);
  EXPECT_EQ(alpha->GetStartValue(), 0);
  EXPECT_EQ(alpha->GetEndValue(), 255);
  EXPECT_EQ(alpha->GetTotalMilliseconds(), 250);
  alpha->SetEndValue(7);
  ui::AnimationPlayer* fresh = control.GetAnimations().SetFadeAlpha(true);
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->GetEndValue(), 255);
  EXPECT_EQ(control.GetAnimations().SetFadeAlpha(false), nullptr);
  EXPECT_EQ(control.GetAnimations().GetPlayer(ui::kAnimationAlpha), nullptr);

  // Slides of a control without size start 100 pixels away.
  ui::AnimationPlayer* left = control.GetAnimations().SetFadeInOutX(true, false);
  EXPECT_EQ(left->GetStartValue(), 100);
  EXPECT_EQ(left->GetEndValue(), 0);
  EXPECT_EQ(left->GetTotalMilliseconds(), -1);
  ui::AnimationPlayer* bottom = control.GetAnimations().SetFadeInOutY(true, true);
  EXPECT_EQ(bottom->GetStartValue(), -100);
  EXPECT_NE(control.GetAnimations().GetPlayer(ui::kAnimationInOutXFromLeft), nullptr);
  EXPECT_EQ(control.GetAnimations().GetPlayer(ui::kAnimationInOutXFromRight), nullptr);

  ui::Control sized;
  sized.SetFixedWidth(120);
  sized.SetFixedHeight(30);
  EXPECT_EQ(sized.GetAnimations().SetFadeWidth(true)->GetEndValue(), 120);
  EXPECT_EQ(sized.GetAnimations().SetFadeHeight(true)->GetEndValue(), 30);
  EXPECT_EQ(sized.GetAnimations().SetFadeInOutX(true, true)->GetStartValue(), -120);
}

TEST(ControlAnimationsTest, WithoutKindsAppearAndDisappearAreImmediate) {
  ui::Control control;
  control.SetFadeVisible(false);
  EXPECT_FALSE(control.IsVisible());
  control.SetFadeVisible(true);
  EXPECT_TRUE(control.IsVisible());
  // The hot fade alone does not delay hiding.
  control.SetAttribute(L"fadehot", L"true");
  control.SetFadeVisible(false);
  EXPECT_FALSE(control.IsVisible());
}

TEST(ControlAnimationsTest, WidthGrowsOnAppearAndShrinksBeforeHiding) {
  ui::Control control;
  control.SetFixedWidth(120);
  control.SetAttribute(L"fadewidth", L"true");
  control.SetFadeVisible(true);
  EXPECT_TRUE(control.IsVisible());
  int narrowest = 120;
  ASSERT_TRUE(PumpUntil([&] {
    narrowest = std::min(narrowest, control.GetFixedWidth());
    return !control.GetAnimations().GetPlayer(ui::kAnimationWidth)->IsPlaying();
  }));
  EXPECT_LT(narrowest, 60);
  EXPECT_EQ(control.GetFixedWidth(), 120);

  control.SetFadeVisible(false);
  EXPECT_TRUE(control.IsVisible());  // stays visible while it shrinks
  ASSERT_TRUE(PumpUntil([&] { return !control.IsVisible(); }));
  EXPECT_EQ(control.GetFixedWidth(), 0);
}

TEST(ControlAnimationsTest, AppearDuringADisappearanceKeepsTheControlVisible) {
  ui::Control control;
  control.SetAttribute(L"fadealpha", L"true");
  control.SetFadeVisible(true);
  ASSERT_TRUE(PumpUntilPlayedOut(control, ui::kAnimationAlpha));
  ASSERT_EQ(control.GetAlpha(), 255);
  control.SetFadeVisible(false);
  ASSERT_TRUE(PumpUntil([&] { return control.GetAlpha() < 200; }));
  control.SetFadeVisible(true);
  ASSERT_TRUE(PumpUntilPlayedOut(control, ui::kAnimationAlpha));
  EXPECT_EQ(control.GetAlpha(), 255);
  EXPECT_TRUE(control.IsVisible());
}

TEST(ControlAnimationsTest, StepsAfterTheControlIsGoneDoNothing) {
  auto* control = new ui::Control;
  control->SetAttribute(L"fadeinoutyfromtop", L"true");
  control->SetFadeVisible(true);
  delete control;
  // Any queued step must find its weak flag expired.
  PumpUntil([] { return false; }, 100);
  SUCCEED();
}

}  // namespace

namespace {

TEST(ControlAnimationsTest, HotFadeFollowsMouseEnterAndLeave) {
  ui::Control control;
  control.SetAttribute(L"hotcolor", L"red");
  control.SendEvent(ui::mouseenter);
  EXPECT_EQ(control.GetState(), ui::kControlStateHot);
  ASSERT_TRUE(PumpUntil([&] { return control.GetHotAlpha() == 255; }));
  control.SendEvent(ui::mouseleave);
  EXPECT_EQ(control.GetState(), ui::kControlStateNormal);
  ASSERT_TRUE(PumpUntil([&] { return control.GetHotAlpha() == 0; }));
}

}  // namespace
