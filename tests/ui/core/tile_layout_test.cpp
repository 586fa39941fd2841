#include "ui/core/tile_layout.h"

#include <gtest/gtest.h>

#include "tests/ui/core/layout_test_support.h"
#include "ui/core/tile_box.h"

namespace {

using pexo_test::Children;
using pexo_test::Rect;

RECT PosOf(ui::Control* c) { return c->GetPos(true); }

// A tile box that counts how often its layout asks for a new arrangement.
class CountingTileBox : public ui::TileBox {
 public:
  int arranges = 0;
  void Arrange() override {
    ++arranges;
    ui::TileBox::Arrange();
  }
  ui::TileLayout* tiles() { return static_cast<ui::TileLayout*>(GetLayout()); }
};

TEST(TileLayoutTest, ItemWidthDecidesColumnsAndExtraPixelsGoToTheFirstCells) {
  Children c;
  for (int i = 0; i < 3; ++i) c.Add(20, 20);
  ui::TileLayout layout;
  layout.SetItemSize(SIZE{30, 0}, false);
  EXPECT_EQ(layout.ArrangeChildren(c.list(), Rect(0, 0, 100, 100)), (SIZE{100, 20}));
  EXPECT_EQ(layout.GetColumns(), 3);
  // Cells span 34, 33 and 33 pixels; each child is centred in its cell.
  EXPECT_EQ(PosOf(c[0]), Rect(7, 0, 27, 20));
  EXPECT_EQ(PosOf(c[1]), Rect(40, 0, 60, 20));
  EXPECT_EQ(PosOf(c[2]), Rect(73, 0, 93, 20));

  // An item wider than the box still gives one column.
  layout.SetItemSize(SIZE{200, 0}, false);
  layout.ArrangeChildren(c.list(), Rect(0, 0, 100, 100));
  EXPECT_EQ(layout.GetColumns(), 1);
  EXPECT_EQ(PosOf(c[1]), Rect(40, 20, 60, 40));
}

TEST(TileLayoutTest, RowsTakeTheirTallestChildAndChildMarginSeparatesThem) {
  Children c;
  c.Add(50, 20);
  c.Add(50, 30);
  c.Add(50, 10);
  for (int i = 0; i < 3; ++i) c.Add(50, 40);
  c.Add(50, 15);
  c.Add(50, 50)->SetVisible(false);
  ui::TileLayout layout;
  EXPECT_TRUE(layout.SetAttribute(L"columns", L"3"));
  layout.SetChildMargin(10);
  EXPECT_EQ(layout.ArrangeChildren(c.list(), Rect(0, 0, 300, 500)), (SIZE{300, 105}));
  EXPECT_EQ(PosOf(c[0]), Rect(25, 5, 75, 25));
  EXPECT_EQ(PosOf(c[1]), Rect(125, 0, 175, 30));
  EXPECT_EQ(PosOf(c[2]), Rect(225, 10, 275, 20));
  EXPECT_EQ(PosOf(c[3]), Rect(25, 40, 75, 80));  // first row height 30 + child margin 10
  EXPECT_EQ(PosOf(c[5]), Rect(225, 40, 275, 80));
  EXPECT_EQ(PosOf(c[6]), Rect(25, 90, 75, 105));
}

TEST(TileLayoutTest, StretchChildrenFillTheirCellAndFloatingOnesTakeNone) {
  Children c;
  c.Add(-1, 30)->SetMargin(Rect(2, 3, 4, 0), false);
  auto* floating = c.Add(10, 10);
  floating->SetAttribute(L"float", L"true");
  floating->SetHorizontalAlignment(2);
  c.Add(-1, -1);
  ui::TileLayout layout;
  layout.SetColumns(2);
  EXPECT_EQ(layout.ArrangeChildren(c.list(), Rect(0, 0, 100, 100)), (SIZE{100, 33}));
  EXPECT_EQ(PosOf(c[0]), Rect(2, 3, 46, 33));
  EXPECT_EQ(PosOf(floating), Rect(90, 0, 100, 10));
  EXPECT_EQ(PosOf(c[2]), Rect(50, 0, 100, 33));
}

TEST(TileLayoutTest, AttributesIgnoreBadColumnsAndUnchangedItemSizes) {
  CountingTileBox box;
  EXPECT_EQ(box.GetType(), L"TileBox");
  ui::TileLayout* layout = box.tiles();
  EXPECT_EQ(layout->GetColumns(), 1);

  box.SetAttribute(L"columns", L"0");
  box.SetAttribute(L"columns", L"-2");
  EXPECT_EQ(layout->GetColumns(), 1);
  EXPECT_TRUE(layout->SetAttribute(L"columns", L"4"));
  EXPECT_EQ(layout->GetColumns(), 4);

  const int before = box.arranges;
  EXPECT_TRUE(layout->SetAttribute(L"itemsize", L"30,40"));
  EXPECT_TRUE(layout->SetAttribute(L"itemsize", L"30,40"));
  EXPECT_EQ(box.arranges, before + 1);
  EXPECT_EQ(layout->GetItemSize(), (SIZE{30, 40}));
  EXPECT_TRUE(layout->SetAttribute(L"itemsize", L"50"));  // short: ignored
  EXPECT_EQ(layout->GetItemSize(), (SIZE{30, 40}));
  EXPECT_TRUE(layout->SetAttribute(L"padding", L"1,2,3,4"));
  EXPECT_EQ(layout->GetPadding(), Rect(1, 2, 3, 4));
}

TEST(TileLayoutTest, MeasureCountsRowsOfTheWidthTheChildrenWillGet) {
  CountingTileBox box;
  ui::TileLayout* layout = box.tiles();
  box.SetFixedWidth(300, false, false);
  layout->SetPadding(Rect(10, 5, 10, 5), false);
  layout->SetItemSize(SIZE{100, 0}, false);
  Children c;
  for (int i = 0; i < 6; ++i) c.Add(90, 20);

  // The children are arranged in 280 pixels: two columns, three rows.
  const SIZE arranged = layout->ArrangeChildren(c.list(), Rect(10, 5, 290, 500));
  EXPECT_EQ(arranged.cy, 60);
  const SIZE measured = layout->MeasureByChildren(c.list(), SIZE{280, 9999});
  EXPECT_EQ(measured.cy, 60 + 10);

  for (int i = 0; i < 6; ++i) c[i]->SetVisible(false);
  EXPECT_EQ(layout->MeasureByChildren(c.list(), SIZE{280, 9999}).cy, 0);
}

}  // namespace
