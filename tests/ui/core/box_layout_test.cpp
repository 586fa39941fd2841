// A box together with its layout: arrangement on SetPos, padding, size
// estimates and hit tests that respect the padding.
#include <gtest/gtest.h>

#include "ui/core/box.h"
#include "ui/core/h_box.h"
#include "ui/core/layout.h"
#include "ui/core/v_box.h"

namespace {

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

class CountingControl : public ui::Control {
 public:
  SIZE EstimateSize(SIZE available) override {
    ++estimates;
    return ui::Control::EstimateSize(available);
  }
  int estimates = 0;
};

TEST(BoxLayoutTest, SetPosArrangesChildrenInsideThePadding) {
  ui::VBox box;
  EXPECT_EQ(box.GetType(), L"VBox");
  box.SetAttribute(L"padding", L"5,6,7,8");
  auto* top = new ui::Control;
  auto* rest = new ui::Control;
  top->SetFixedHeight(20);
  box.Add(top);
  box.Add(rest);
  box.SetPos(RECT{0, 0, 100, 100});
  EXPECT_TRUE(SameRect(top->GetPos(), RECT{5, 6, 93, 26}));
  EXPECT_TRUE(SameRect(rest->GetPos(), RECT{5, 26, 93, 92}));
  EXPECT_TRUE(SameRect(box.GetPaddingPos(), RECT{5, 6, 93, 92}));

  // Children are arranged again even when the box keeps its rectangle.
  top->SetFixedHeight(30);
  box.SetPos(RECT{0, 0, 100, 100});
  EXPECT_TRUE(SameRect(rest->GetPos(), RECT{5, 36, 93, 92}));
}

TEST(BoxLayoutTest, HorizontalBoxesShareTheRestAmongStretchChildren) {
  ui::HBox box;
  EXPECT_EQ(box.GetType(), L"HBox");
  auto* a = new ui::Control;
  auto* b = new ui::Control;
  auto* c = new ui::Control;
  c->SetFixedWidth(40);
  box.Add(a);
  box.Add(b);
  box.Add(c);
  box.SetPos(RECT{0, 0, 101, 10});
  EXPECT_TRUE(SameRect(a->GetPos(), RECT{0, 0, 31, 10}));
  EXPECT_TRUE(SameRect(b->GetPos(), RECT{31, 0, 61, 10}));
  EXPECT_TRUE(SameRect(c->GetPos(), RECT{61, 0, 101, 10}));
}

TEST(BoxLayoutTest, AutoSizedBoxMeasuresItsChildrenOnceUntilSomethingChanges) {
  ui::VBox box;
  box.SetFixedWidth(ui::kSizeAuto);
  box.SetFixedHeight(ui::kSizeAuto);
  box.SetAttribute(L"padding", L"1,2,3,4");
  auto* child = new CountingControl;
  child->SetFixedWidth(50);
  child->SetFixedHeight(10);
  box.Add(child);
  SIZE size = box.EstimateSize(SIZE{500, 500});
  EXPECT_EQ(size.cx, 54);
  EXPECT_EQ(size.cy, 16);
  const int estimates = child->estimates;
  box.EstimateSize(SIZE{500, 500});
  EXPECT_EQ(child->estimates, estimates);

  // A visible auto-sized child that still needs an estimate keeps the box measuring.
  auto* autoChild = new CountingControl;
  autoChild->SetFixedWidth(ui::kSizeAuto);
  box.Add(autoChild);
  box.SetReEstimateNeeded(true);
  box.EstimateSize(SIZE{500, 500});
  EXPECT_FALSE(box.IsReEstimateNeeded());

  // A fixed box reports its fixed size, stretch included.
  ui::VBox fixed;
  fixed.SetFixedWidth(70);
  size = fixed.EstimateSize(SIZE{500, 500});
  EXPECT_EQ(size.cx, 70);
  EXPECT_EQ(size.cy, ui::kSizeStretch);
}

TEST(BoxLayoutTest, HitTestsInThePaddingFindOnlyFloatingChildren) {
  ui::Box box;
  box.SetAttribute(L"padding", L"10,10,10,10");
  box.SetPos(RECT{0, 0, 100, 100});
  auto* flowing = new ui::Control;
  auto* floating = new ui::Control;
  floating->SetFloat(true);
  box.Add(flowing);
  box.Add(floating);
  flowing->SetPos(RECT{0, 0, 50, 50});
  floating->SetPos(RECT{50, 0, 100, 50});
  ui::FindControlCallback any = [](ui::Control* c, void*) { return c; };
  const UINT flags = ui::kFindVisible | ui::kFindHitTest | ui::kFindTopFirst;
  POINT inPaddingOverFlowing = {5, 5};
  POINT inPaddingOverFloating = {95, 5};
  POINT insideFlowing = {20, 20};
  EXPECT_EQ(box.FindControl(any, &inPaddingOverFlowing, flags), &box);
  EXPECT_EQ(box.FindControl(any, &inPaddingOverFloating, flags), floating);
  EXPECT_EQ(box.FindControl(any, &insideFlowing, flags), flowing);
}

TEST(BoxLayoutTest, ReplacingTheLayoutKeepsTheChildren) {
  ui::Box box;
  auto* child = new ui::Control;
  box.Add(child);
  box.ReplaceLayout(new ui::Layout);
  ASSERT_NE(box.GetLayout(), nullptr);
  EXPECT_EQ(box.GetLayout()->GetOwner(), &box);
  EXPECT_EQ(box.GetCount(), 1);
  box.SetAttribute(L"childmargin", L"4");
  EXPECT_EQ(box.GetLayout()->GetChildMargin(), 4);
  box.SetAttribute(L"mousechild", L"false");
  EXPECT_FALSE(box.IsMouseChildEnabled());
}

}  // namespace
