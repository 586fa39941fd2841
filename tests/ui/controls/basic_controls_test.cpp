// The least the stock controls offer their neighbours: types, defaults and the
// scroll bar's range and position.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/controls/button.h"
#include "ui/controls/check_box.h"
#include "ui/controls/list_container_element.h"
#include "ui/controls/option.h"
#include "ui/controls/progress.h"
#include "ui/controls/slider.h"
#include "ui/core/scroll_bar.h"

namespace {

TEST(ScrollBarTest, DefaultsMatchWhatTheScrollingBoxExpects) {
  ui::ScrollBar bar;
  EXPECT_EQ(bar.GetType(), L"ScrollBar");
  EXPECT_EQ(bar.GetScrollRange(), 100);
  EXPECT_EQ(bar.GetScrollPos(), 0);
  EXPECT_EQ(bar.GetLineSize(), 8);
  EXPECT_EQ(bar.GetThumbMinLength(), 30);
  EXPECT_EQ(bar.GetFixedWidth(), 16);
  EXPECT_EQ(bar.GetFixedHeight(), 0);
  EXPECT_FALSE(bar.IsHorizontal());
  EXPECT_TRUE(bar.IsShowButton1());
  EXPECT_TRUE(bar.IsShowButton2());
  EXPECT_TRUE(bar.IsAutoHideScroll());
  EXPECT_TRUE(bar.IsButtonUpOnFocusLoss());
  EXPECT_EQ(bar.GetThumbState(), ui::kControlStateNormal);
}

TEST(ScrollBarTest, RangeAndPositionAreClamped) {
  ui::ScrollBar bar;
  bar.SetScrollPos(80);
  bar.SetScrollRange(50);
  EXPECT_EQ(bar.GetScrollPos(), 50);
  bar.SetScrollPos(-5);
  EXPECT_EQ(bar.GetScrollPos(), 0);
  bar.SetScrollPos(500);
  EXPECT_EQ(bar.GetScrollPos(), 50);
  bar.SetScrollRange(-10);
  EXPECT_EQ(bar.GetScrollRange(), 0);
  EXPECT_EQ(bar.GetScrollPos(), 0);
  EXPECT_FALSE(bar.IsVisible());

  // A range shows a hidden bar only when it does not hide itself.
  bar.SetScrollRange(30);
  EXPECT_FALSE(bar.IsVisible());
  bar.SetScrollRange(0);
  bar.SetAutoHideScroll(false);
  bar.SetScrollRange(30);
  EXPECT_TRUE(bar.IsVisible());
}

TEST(ScrollBarTest, PartsFollowTheLengthRangeAndPosition) {
  ui::ScrollBar bar;
  // 100 long with two 16-pixel buttons: a 68-pixel track.
  bar.SetPos(RECT{0, 0, 16, 100});
  EXPECT_EQ(bar.GetButton1Rect().bottom, 16);
  EXPECT_EQ(bar.GetButton2Rect().top, 84);
  RECT thumb = bar.GetThumbRect();
  EXPECT_EQ(thumb.bottom - thumb.top, 68 * 100 / 200);
  EXPECT_EQ(thumb.top, 16);
  bar.SetScrollRange(1000);
  thumb = bar.GetThumbRect();
  EXPECT_EQ(thumb.bottom - thumb.top, 30);  // 6, raised to the minimum
  bar.SetScrollPos(1000);
  EXPECT_EQ(bar.GetThumbRect().bottom, 84);
  // Shorter than three thicknesses: no thumb, buttons of half the length at most.
  bar.SetPos(RECT{0, 0, 16, 40});
  EXPECT_EQ(bar.GetThumbRect().bottom, 0);
  EXPECT_EQ(bar.GetButton1Rect().bottom, 16);
  bar.SetPos(RECT{0, 0, 16, 20});
  EXPECT_EQ(bar.GetButton1Rect().bottom, 10);
  EXPECT_EQ(bar.GetButton2Rect().top, 10);
}

TEST(ScrollBarTest, WithoutAnOwnerHeldPartsStepTheBarItself) {
  ui::ScrollBar bar;
  bar.SetPos(RECT{0, 0, 16, 200});
  bar.SetScrollRange(1000);
  ui::EventArgs press;
  press.Type = ui::buttondown;
  press.ptMouse = POINT{8, 190};  // the down button
  bar.HandleEvent(press);
  EXPECT_EQ(bar.GetScrollPos(), 8);
  // The repeat starts after five ticks.
  for (int i = 0; i < 5; ++i) bar.OnRepeatTimer();
  EXPECT_EQ(bar.GetScrollPos(), 8);
  bar.OnRepeatTimer();
  EXPECT_EQ(bar.GetScrollPos(), 16);
  ui::EventArgs release = press;
  release.Type = ui::buttonup;
  bar.HandleEvent(release);
  EXPECT_EQ(bar.GetButton2State(), ui::kControlStateNormal);
  // A press on the track pages by the bar's own length.
  press.ptMouse = POINT{8, 150};
  bar.HandleEvent(press);
  EXPECT_EQ(bar.GetScrollPos(), 216);
  release.ptMouse = press.ptMouse;
  bar.HandleEvent(release);
}

TEST(ScrollBarTest, TurningHorizontalSwapsAHeightlessBarsSize) {
  ui::ScrollBar bar;
  bar.SetAttribute(L"hor", L"true");
  EXPECT_TRUE(bar.IsHorizontal());
  EXPECT_EQ(bar.GetFixedWidth(), 0);
  EXPECT_EQ(bar.GetFixedHeight(), 16);

  ui::ScrollBar tall;
  tall.SetFixedHeight(40);
  tall.SetHorizontal(true);
  EXPECT_EQ(tall.GetFixedWidth(), 16);
  EXPECT_EQ(tall.GetFixedHeight(), 40);
}

TEST(ButtonFamilyTest, ALabelTakesItsTextAndTextId) {
  ui::LabelTemplate<ui::Control> label;
  label.SetAttribute(L"text", L"hello");
  EXPECT_EQ(label.GetText(), L"hello");
  // Missing numbers read as 0.
  label.SetAttribute(L"textpadding", L"1,2");
  EXPECT_EQ(label.GetTextPadding().top, 2);
  EXPECT_EQ(label.GetTextPadding().bottom, 0);
  label.SetAttribute(L"textpadding", L"1,2,3,4");
  EXPECT_EQ(label.GetTextPadding().top, 2);
  label.SetAttribute(L"width", L"30");
  EXPECT_EQ(label.GetFixedWidth(), 30);
}

}  // namespace
