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
