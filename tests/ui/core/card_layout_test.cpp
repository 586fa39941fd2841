#include "ui/core/h_card_layout.h"

#include <gtest/gtest.h>

#include "tests/ui/core/layout_test_support.h"
#include "ui/core/box.h"
#include "ui/core/v_card_layout.h"

namespace {

using pexo_test::Children;
using pexo_test::Rect;

RECT PosOf(ui::Control* c) { return c->GetPos(true); }

TEST(HCardLayoutTest, ZeroItemSizePlacesNothing) {
  Children c;
  c.Add(10, 10)->SetPos(Rect(1, 2, 3, 4));
  ui::HCardLayout layout;
  EXPECT_TRUE(layout.SetAttribute(L"itemsize", L"0,0"));
  EXPECT_EQ(layout.ArrangeChildren(c.list(), Rect(0, 0, 340, 500)), (SIZE{0, 0}));
  EXPECT_EQ(PosOf(c[0]), Rect(1, 2, 3, 4));
  layout.SetRightToLeft(true);
  EXPECT_EQ(layout.ArrangeChildren(c.list(), Rect(0, 0, 340, 500)), (SIZE{0, 0}));
  EXPECT_EQ(PosOf(c[0]), Rect(1, 2, 3, 4));
}

TEST(HCardLayoutTest, RowsLeftToRightWithHalfMarginInsetCells) {
  Children c;
  for (int i = 0; i < 7; ++i) c.Add(-1, -1);
  c[1]->SetFixedWidth(80, false, false);
  c[1]->SetFixedHeight(40, false);
  c[1]->SetMargin(Rect(2, 2, 2, 2), false);
  ui::HCardLayout layout;
  layout.SetItemSize(SIZE{100, 50}, false);
  layout.SetChildMargin(10);
  EXPECT_EQ(layout.ArrangeChildren(c.list(), Rect(0, 0, 340, 500)), (SIZE{330, 180}));
  EXPECT_EQ(PosOf(c[0]), Rect(5, 5, 105, 55));
  EXPECT_EQ(PosOf(c[1]), Rect(125, 10, 205, 50));  // 80 x 40, centred in its cell less margin
  EXPECT_EQ(PosOf(c[2]), Rect(225, 5, 325, 55));
  EXPECT_EQ(PosOf(c[3]), Rect(5, 65, 105, 115));
  EXPECT_EQ(PosOf(c[6]), Rect(5, 125, 105, 175));
}

TEST(HCardLayoutTest, NonZeroColumnsGivesOneCardPerRow) {
  Children c;
  for (int i = 0; i < 3; ++i) c.Add(-1, -1);
  ui::HCardLayout layout;
  layout.SetItemSize(SIZE{100, 50}, false);
  layout.SetChildMargin(10);
  EXPECT_TRUE(layout.SetAttribute(L"columns", L"1"));
  EXPECT_EQ(layout.ArrangeChildren(c.list(), Rect(0, 0, 340, 500)), (SIZE{110, 180}));
  EXPECT_EQ(PosOf(c[1]), Rect(5, 65, 105, 115));
}

TEST(HCardLayoutTest, InvisibleAndFloatingChildrenTakeNoCellUnlessRightToLeft) {
  Children c;
  c.Add(-1, -1);
  c.Add(-1, -1)->SetVisible(false);
  auto* floating = c.Add(20, 20);
  floating->SetAttribute(L"float", L"true");
  floating->SetVerticalAlignment(2);
  c.Add(-1, -1);
  ui::HCardLayout layout;
  layout.SetItemSize(SIZE{100, 50}, false);
  EXPECT_EQ(layout.ArrangeChildren(c.list(), Rect(0, 0, 300, 400)), (SIZE{300, 50}));
  EXPECT_EQ(PosOf(c[0]), Rect(0, 0, 100, 50));
  EXPECT_EQ(PosOf(floating), Rect(0, 380, 20, 400));
  EXPECT_EQ(PosOf(c[3]), Rect(100, 0, 200, 50));

  // Right to left every visible child is a card of exactly the item size.
  layout.SetChildMargin(10);
  layout.SetRightToLeft(true);
  EXPECT_EQ(layout.ArrangeChildren(c.list(), Rect(0, 0, 340, 400)), (SIZE{330, 60}));
  EXPECT_EQ(PosOf(c[0]), Rect(240, 0, 340, 50));
  EXPECT_EQ(PosOf(floating), Rect(130, 0, 230, 50));
  EXPECT_EQ(PosOf(c[3]), Rect(20, 0, 120, 50));
}

TEST(HCardLayoutTest, RightToLeftWrapsRowsAndSurvivesAnEmptyRow) {
  Children c;
  for (int i = 0; i < 4; ++i) c.Add(10, 10);
  ui::HCardLayout layout;
  layout.SetItemSize(SIZE{100, 50}, false);
  layout.SetChildMargin(10);
  layout.SetRightToLeft(true);
  EXPECT_EQ(layout.ArrangeChildren(c.list(), Rect(0, 0, 340, 400)), (SIZE{330, 120}));
  EXPECT_EQ(PosOf(c[3]), Rect(240, 60, 340, 110));

  // No width and no child margin: one card per row, cards of no width.
  layout.SetChildMargin(0);
  EXPECT_EQ(layout.ArrangeChildren(c.list(), Rect(50, 0, 50, 400)), (SIZE{0, 200}));
  EXPECT_EQ(PosOf(c[1]), Rect(50, 50, 50, 100));
}

// An auto-height card box measures the rows its arrangement will make.
TEST(HCardLayoutTest, MeasureMatchesTheArrangedRows) {
  for (bool right_to_left : {false, true}) {
    auto* layout = new ui::HCardLayout;
    ui::Box box(layout);
    box.SetFixedWidth(340, false, false);
    layout->SetItemSize(SIZE{100, 50}, false);
    layout->SetChildMargin(10);
    layout->SetPadding(Rect(10, 3, 10, 7), false);
    layout->SetRightToLeft(right_to_left);
    Children c;
    for (int i = 0; i < 7; ++i) c.Add(-1, -1);

    const SIZE arranged = layout->ArrangeChildren(c.list(), Rect(10, 3, 330, 1000));
    const SIZE measured = layout->MeasureByChildren(c.list(), SIZE{320, 9999});
    EXPECT_EQ(measured.cy, arranged.cy + 10) << "right to left " << right_to_left;
    EXPECT_EQ(arranged.cy, right_to_left ? 180 : 240);

    // A stretch-wide box is measured at the width its parent leaves it.
    box.SetFixedWidth(-1, false, false);
    box.SetMargin(Rect(5, 0, 5, 0), false);
    const SIZE in_parent = layout->ArrangeChildren(c.list(), Rect(15, 3, 325, 1000));
    EXPECT_EQ(layout->MeasureByChildren(c.list(), SIZE{340 - 20, 9999}).cy, in_parent.cy + 10);
  }
}

// The same through the box: its size estimate holds every card it then places.
TEST(HCardLayoutTest, AutoHeightBoxHoldsItsLastRow) {
  auto* layout = new ui::HCardLayout;
  ui::Box box(layout);
  box.SetFixedWidth(340, false, false);
  box.SetFixedHeight(-2, false);
  box.SetAttribute(L"itemsize", L"100,50");
  box.SetAttribute(L"childmargin", L"10");
  box.SetAttribute(L"padding", L"10,3,10,7");
  std::vector<ui::Control*> cards;
  for (int i = 0; i < 7; ++i) {
    cards.push_back(new ui::Control);
    ASSERT_TRUE(box.Add(cards.back()));
  }
  const SIZE size = box.EstimateSize(SIZE{340, 9999});
  EXPECT_EQ(size, (SIZE{340, 250}));
  box.SetPos(Rect(0, 0, size.cx, size.cy));
  EXPECT_EQ(PosOf(cards[6]), Rect(15, 188, 115, 238));
  EXPECT_LE(PosOf(cards[6]).bottom, size.cy - 7);
}

TEST(VCardLayoutTest, ColumnsTopToBottomThenRight) {
  Children c;
  for (int i = 0; i < 7; ++i) c.Add(-1, -1);
  c[2]->SetVisible(false);
  ui::VCardLayout layout;
  layout.SetItemSize(SIZE{50, 100}, false);
  layout.SetChildMargin(10);
  EXPECT_EQ(layout.ArrangeChildren(c.list(), Rect(0, 0, 500, 340)), (SIZE{120, 330}));
  EXPECT_EQ(PosOf(c[0]), Rect(5, 5, 55, 105));
  EXPECT_EQ(PosOf(c[1]), Rect(5, 115, 55, 215));
  EXPECT_EQ(PosOf(c[3]), Rect(5, 225, 55, 325));
  EXPECT_EQ(PosOf(c[4]), Rect(65, 5, 115, 105));

  layout.SetColumns(1);
  EXPECT_EQ(layout.ArrangeChildren(c.list(), Rect(0, 0, 500, 340)), (SIZE{360, 110}));
  EXPECT_EQ(PosOf(c[1]), Rect(65, 5, 115, 105));
}

TEST(VCardLayoutTest, MeasureMatchesTheArrangedColumns) {
  auto* layout = new ui::VCardLayout;
  ui::Box box(layout);
  box.SetFixedHeight(340, false);
  layout->SetItemSize(SIZE{50, 100}, false);
  layout->SetChildMargin(10);
  layout->SetPadding(Rect(4, 10, 6, 10), false);
  Children c;
  for (int i = 0; i < 7; ++i) c.Add(-1, -1);
  const SIZE arranged = layout->ArrangeChildren(c.list(), Rect(4, 10, 494, 330));
  EXPECT_EQ(arranged.cx, 4 * 60);
  EXPECT_EQ(layout->MeasureByChildren(c.list(), SIZE{490, 320}).cx, arranged.cx + 10);
}

}  // namespace
