#include "ui/core/layout.h"

#include <gtest/gtest.h>

#include "tests/ui/core/layout_test_support.h"
#include "ui/base/dpi_scaler.h"
#include "ui/core/box.h"
#include "ui/core/h_layout.h"
#include "ui/core/v_layout.h"

namespace {

using pexo_test::Children;
using pexo_test::Rect;

RECT PosOf(ui::Control* c) { return c->GetPos(true); }

TEST(VLayoutTest, StretchChildrenShareTheHeightAndTheRemainderGoesFirst) {
  Children c;
  c.Add(-1, -1);
  c.Add(-1, -1);
  c.Add(-1, -1);
  ui::VLayout layout;
  EXPECT_EQ(layout.ArrangeChildren(c.list(), Rect(0, 0, 50, 100)), (SIZE{50, 100}));
  EXPECT_EQ(PosOf(c[0]), Rect(0, 0, 50, 34));
  EXPECT_EQ(PosOf(c[1]), Rect(0, 34, 50, 67));
  EXPECT_EQ(PosOf(c[2]), Rect(0, 67, 50, 100));
}

TEST(VLayoutTest, LimitsApplyAfterTheShareAndTheRestIsNotRedistributed) {
  Children c;
  c.Add(-1, -1)->SetMaxHeight(20);
  c.Add(-1, -1);
  c.Add(-1, 30);
  ui::VLayout layout;
  EXPECT_EQ(layout.ArrangeChildren(c.list(), Rect(0, 0, 40, 100)), (SIZE{40, 85}));
  EXPECT_EQ(PosOf(c[0]), Rect(0, 0, 40, 20));
  EXPECT_EQ(PosOf(c[1]), Rect(0, 20, 40, 55));
  EXPECT_EQ(PosOf(c[2]), Rect(0, 55, 40, 85));
}

TEST(VLayoutTest, FixedChildrenThatOverflowLeaveNothingForStretch) {
  Children c;
  c.Add(10, 60);
  c.Add(10, -1);
  c.Add(10, 60);
  ui::VLayout layout;
  EXPECT_EQ(layout.ArrangeChildren(c.list(), Rect(0, 0, 40, 100)), (SIZE{10, 120}));
  EXPECT_EQ(PosOf(c[1]), Rect(0, 60, 10, 60));
  EXPECT_EQ(PosOf(c[2]), Rect(0, 60, 10, 120));
}

TEST(VLayoutTest, MarginsChildMarginAndHorizontalAlignment) {
  Children c;
  auto* a = c.Add(40, 30);
  a->SetMargin(Rect(5, 3, 0, 2), false);
  auto* b = c.Add(50, 20);
  b->SetMargin(Rect(0, 0, 10, 0), false);
  b->SetHorizontalAlignment(2);
  auto* centred = c.Add(30, 10);
  centred->SetMargin(Rect(4, 1, 2, 0), false);
  centred->SetHorizontalAlignment(1);
  c.Add(20, 10)->SetHorizontalAlignment(7);  // no such alignment: x 0, no width
  ui::VLayout layout;
  layout.SetChildMargin(5);
  EXPECT_EQ(layout.ArrangeChildren(c.list(), Rect(10, 10, 110, 210)), (SIZE{50, 91}));
  EXPECT_EQ(PosOf(c[0]), Rect(15, 13, 55, 43));
  EXPECT_EQ(PosOf(c[1]), Rect(50, 50, 100, 70));
  EXPECT_EQ(PosOf(c[2]), Rect(46, 76, 76, 86));
  EXPECT_EQ(PosOf(c[3]), Rect(0, 91, 0, 101));
}

TEST(VLayoutTest, WidthLimitsAndANegativeMaximumHeight) {
  Children c;
  c.Add(-1, 10)->SetMaxWidth(30);
  c.Add(10, 10)->SetMinWidth(25);
  c.Add(-1, 10)->SetMaxWidth(-1);  // a negative maximum width means none
  c.Add(10, 10)->SetMaxHeight(-5);  // the maximum height always counts
  ui::VLayout layout;
  layout.ArrangeChildren(c.list(), Rect(0, 0, 100, 100));
  EXPECT_EQ(PosOf(c[0]), Rect(0, 0, 30, 10));
  EXPECT_EQ(PosOf(c[1]), Rect(0, 10, 25, 20));
  EXPECT_EQ(PosOf(c[2]), Rect(0, 20, 100, 30));
  EXPECT_EQ(PosOf(c[3]).top, 30);
  EXPECT_EQ(PosOf(c[3]).bottom, 30);
}

TEST(VLayoutTest, InvisibleAndFloatingChildrenTakeNoRoom) {
  Children c;
  c.Add(10, 10)->SetVisible(false);
  auto* floating = c.Add(20, 10);
  floating->SetAttribute(L"float", L"true");
  floating->SetVerticalAlignment(2);
  ui::VLayout layout;
  layout.SetPadding(Rect(1, 2, 3, 4), false);
  EXPECT_EQ(layout.ArrangeChildren(c.list(), Rect(0, 0, 100, 50)), (SIZE{0, 0}));
  EXPECT_EQ(PosOf(floating), Rect(0, 40, 20, 50));
  EXPECT_EQ(layout.MeasureByChildren(c.list(), SIZE{100, 50}), (SIZE{4, 6}));

  ui::HLayout row;
  row.SetPadding(Rect(1, 2, 3, 4), false);
  EXPECT_EQ(row.ArrangeChildren(c.list(), Rect(0, 0, 100, 50)), (SIZE{0, 0}));
  EXPECT_EQ(row.MeasureByChildren(c.list(), SIZE{100, 50}), (SIZE{4, 6}));
}

TEST(VLayoutTest, MeasureSumsHeightsWithChildMarginsBetween) {
  Children c;
  c.Add(10, 10);
  c.Add(20, 20)->SetMargin(Rect(1, 0, 3, 0), false);
  c.Add(30, 30);
  ui::VLayout layout;
  layout.SetChildMargin(10);
  layout.SetPadding(Rect(1, 2, 3, 4), false);
  EXPECT_EQ(layout.MeasureByChildren(c.list(), SIZE{500, 500}), (SIZE{34, 60 + 20 + 6}));

  Children one;
  one.Add(10, 10);
  EXPECT_EQ(layout.MeasureByChildren(one.list(), SIZE{500, 500}), (SIZE{14, 16}));
}

// Through a box: its children are arranged inside its padding, and an auto-sized
// box estimates what its layout measures.
TEST(VLayoutTest, BoxArrangesWithinItsPaddingAndMeasuresItsChildren) {
  ui::Box box(new ui::VLayout);
  box.SetAttribute(L"padding", L"5,6,7,8");
  box.SetAttribute(L"childmargin", L"4");
  auto* top = new ui::Control;
  top->SetFixedHeight(20, false);
  auto* rest = new ui::Control;
  auto* narrow = new ui::Control;
  narrow->SetFixedWidth(30, true, false);
  narrow->SetFixedHeight(10, false);
  ASSERT_TRUE(box.Add(top));
  ASSERT_TRUE(box.Add(rest));
  ASSERT_TRUE(box.Add(narrow));
  box.SetPos(Rect(100, 100, 200, 200));
  EXPECT_EQ(PosOf(top), Rect(105, 106, 193, 126));
  EXPECT_EQ(PosOf(rest), Rect(105, 130, 193, 178));
  EXPECT_EQ(PosOf(narrow), Rect(105, 182, 135, 192));

  box.SetFixedWidth(-2, false, false);
  box.SetFixedHeight(-2, false);
  rest->SetFixedWidth(50, true, false);
  rest->SetFixedHeight(15, false);
  EXPECT_EQ(box.EstimateSize(SIZE{1000, 1000}), (SIZE{50 + 12, 20 + 15 + 10 + 8 + 14}));
}

TEST(HLayoutTest, StretchWidthsMarginsAndVerticalAlignment) {
  Children c;
  c.Add(-1, -1);
  c.Add(-1, 10)->SetVerticalAlignment(2);
  auto* centred = c.Add(-1, 10);
  centred->SetMargin(Rect(0, 4, 0, 2), false);
  centred->SetVerticalAlignment(1);
  c.Add(5, 5)->SetVerticalAlignment(9);
  ui::HLayout layout;
  EXPECT_EQ(layout.ArrangeChildren(c.list(), Rect(0, 0, 105, 50)), (SIZE{105, 50}));
  EXPECT_EQ(PosOf(c[0]), Rect(0, 0, 34, 50));
  EXPECT_EQ(PosOf(c[1]), Rect(34, 40, 67, 50));
  EXPECT_EQ(PosOf(c[2]), Rect(67, 21, 100, 31));
  EXPECT_EQ(PosOf(c[3]), Rect(100, 0, 105, 0));
}

TEST(HLayoutTest, ChildMarginAndMeasure) {
  Children c;
  c.Add(10, 10)->SetMargin(Rect(2, 0, 3, 0), false);
  c.Add(20, 40)->SetMargin(Rect(0, 1, 0, 2), false);
  ui::HLayout layout;
  layout.SetChildMargin(4);
  EXPECT_EQ(layout.ArrangeChildren(c.list(), Rect(0, 0, 100, 50)), (SIZE{39, 40}));
  EXPECT_EQ(PosOf(c[0]), Rect(2, 0, 12, 10));
  EXPECT_EQ(PosOf(c[1]), Rect(19, 1, 39, 41));
  EXPECT_EQ(layout.MeasureByChildren(c.list(), SIZE{100, 50}), (SIZE{39, 43}));
}

TEST(LayoutTest, FreeLayoutPlacesEachChildByItsOwnAlignment) {
  Children c;
  auto* centred = c.Add(50, 20);
  centred->SetHorizontalAlignment(1);
  centred->SetVerticalAlignment(2);
  auto* right = c.Add(60, 5);
  right->SetHorizontalAlignment(2);
  right->SetMargin(Rect(0, 3, 5, 0), false);
  auto* stretch = c.Add(-1, -1);
  stretch->SetMargin(Rect(1, 2, 3, 4), false);
  stretch->SetMaxHeight(30);
  ui::Layout layout;
  EXPECT_EQ(layout.ArrangeChildren(c.list(), Rect(10, 0, 111, 50)), (SIZE{97, 30}));
  EXPECT_EQ(PosOf(centred), Rect(35, 30, 85, 50));
  EXPECT_EQ(PosOf(right), Rect(46, 3, 106, 8));
  EXPECT_EQ(PosOf(stretch), Rect(11, 2, 108, 32));
}

TEST(LayoutTest, AutoSizedTextWiderThanTheRectangleWraps) {
  Children c;
  auto* text = c.Add(-2, -2);
  text->text_like = true;
  text->natural = SIZE{300, 20};
  text->SetMaxWidth(-1);
  ui::Layout layout;
  layout.ArrangeChildren(c.list(), Rect(0, 0, 100, 100));
  EXPECT_EQ(PosOf(text), Rect(0, 0, 100, 60));
  EXPECT_EQ(text->GetFixedWidth(), -2);

  // With a maximum width the text is not re-measured.
  auto* capped = c.Add(-2, -2);
  capped->text_like = true;
  capped->natural = SIZE{300, 20};
  ui::Layout::PlaceFloatChild(capped, Rect(0, 0, 100, 100));
  EXPECT_EQ(PosOf(capped), Rect(0, 0, 300, 20));
}

TEST(LayoutTest, MeasureTakesTheLargestChildPlusPadding) {
  Children c;
  c.Add(10, 40)->SetMargin(Rect(1, 1, 1, 1), false);
  c.Add(30, 5)->SetMinHeight(8);
  c.Add(99, 99)->SetVisible(false);
  ui::Layout layout;
  layout.SetPadding(Rect(1, 2, 3, 4), false);
  EXPECT_EQ(layout.MeasureByChildren(c.list(), SIZE{100, 100}), (SIZE{34, 48}));

  Children none;
  EXPECT_EQ(layout.MeasureByChildren(none.list(), SIZE{100, 100}), (SIZE{-9999 + 4, -9999 + 6}));
}

TEST(LayoutTest, PaddingAndChildMarginAttributes) {
  ui::Layout layout;
  EXPECT_TRUE(layout.SetAttribute(L"padding", L"10,5,10,5"));
  EXPECT_EQ(layout.GetPadding(), Rect(10, 5, 10, 5));
  EXPECT_TRUE(layout.SetAttribute(L"padding", L"1, 2,3;4"));  // any one separator, leading blanks
  EXPECT_EQ(layout.GetPadding(), Rect(1, 2, 3, 4));
  // Short or malformed lists are ignored, never read past their end.
  EXPECT_TRUE(layout.SetAttribute(L"padding", L"7,8"));
  EXPECT_TRUE(layout.SetAttribute(L"padding", L"7,8,9,"));
  EXPECT_TRUE(layout.SetAttribute(L"padding", L"a,b,c,d"));
  EXPECT_EQ(layout.GetPadding(), Rect(1, 2, 3, 4));

  EXPECT_TRUE(layout.SetAttribute(L"childmargin", L"6"));
  EXPECT_EQ(layout.GetChildMargin(), 6);
  EXPECT_FALSE(layout.SetAttribute(L"columns", L"3"));

  DpiScaler::Instance().SetAdapted(true);
  DpiScaler::Instance().SetScale(150);
  layout.SetAttribute(L"padding", L"10,5,10,5");
  const RECT scaled_padding = layout.GetPadding();
  layout.SetAttribute(L"childmargin", L"3");
  layout.SetPadding(Rect(10, 10, 10, 10), false);  // from code, unscaled
  DpiScaler::Instance().SetScale(100);
  DpiScaler::Instance().SetAdapted(false);
  EXPECT_EQ(scaled_padding, Rect(15, 8, 15, 8));
  EXPECT_EQ(layout.GetChildMargin(), 5);
  EXPECT_EQ(layout.GetPadding(), Rect(10, 10, 10, 10));
}

}  // namespace
