#include "ui/core/placeholder.h"

#include <gtest/gtest.h>

#include "ui/base/dpi_scaler.h"
#include "ui/core/box.h"
#include "ui/core/control.h"

namespace {

// Switches DPI adaptation on at a scale for one test and restores it afterwards.
class ScopedDpi {
 public:
  explicit ScopedDpi(int scale)
      : oldScale_(DpiScaler::Instance().Scale()), oldAdapt_(DpiScaler::Instance().IsAdapted()) {
    DpiScaler::Instance().SetScale(scale);
    DpiScaler::Instance().SetAdapted(true);
  }
  ~ScopedDpi() {
    DpiScaler::Instance().SetScale(oldScale_);
    DpiScaler::Instance().SetAdapted(oldAdapt_);
  }

 private:
  int oldScale_;
  bool oldAdapt_;
};

TEST(PlaceHolderTest, FixedSizesRejectValuesBelowAutoAndScaleOnlyPositiveOnes) {
  ScopedDpi dpi(150);
  ui::Control control;
  control.SetFixedWidth(-3);
  EXPECT_EQ(control.GetFixedWidth(), ui::kSizeStretch);
  control.SetFixedWidth(ui::kSizeAuto);
  EXPECT_EQ(control.GetFixedWidth(), ui::kSizeAuto);
  control.SetFixedWidth(ui::kSizeStretch);
  EXPECT_EQ(control.GetFixedWidth(), ui::kSizeStretch);
  control.SetFixedWidth(100);
  EXPECT_EQ(control.GetFixedWidth(), 150);
  control.SetFixedWidth(100, true, false);
  EXPECT_EQ(control.GetFixedWidth(), 100);
  control.SetFixedHeight(-7);
  EXPECT_EQ(control.GetFixedHeight(), ui::kSizeStretch);
  control.SetFixedHeight(10);
  EXPECT_EQ(control.GetFixedHeight(), 15);
}

TEST(PlaceHolderTest, LimitsScaleEveryValueAndRejectNegativeMinimums) {
  ScopedDpi dpi(150);
  ui::Control control;
  control.SetMinWidth(-1);
  EXPECT_EQ(control.GetMinWidth(), -1);
  control.SetMinWidth(-5);
  EXPECT_EQ(control.GetMinWidth(), -1);
  control.SetMinWidth(20);
  EXPECT_EQ(control.GetMinWidth(), 30);
  control.SetMinHeight(4);
  EXPECT_EQ(control.GetMinHeight(), 6);
  // Sentinel maximums are scaled too: -1 at 150 % becomes MulDiv(-1, 150, 100).
  control.SetMaxWidth(-1);
  EXPECT_EQ(control.GetMaxWidth(), -2);
  control.SetMaxHeight(100);
  EXPECT_EQ(control.GetMaxHeight(), 150);
}

TEST(PlaceHolderTest, DefaultsAndInvertedRectangles) {
  ui::Control control;
  EXPECT_EQ(control.GetFixedWidth(), -1);
  EXPECT_EQ(control.GetMinHeight(), -1);
  EXPECT_EQ(control.GetMaxWidth(), 9999999);
  EXPECT_EQ(control.GetMaxHeight(), 9999999);
  EXPECT_TRUE(control.IsVisible());
  EXPECT_TRUE(control.IsArrangeNeeded());

  control.SetPos(RECT{50, 40, 10, 30});
  RECT pos = control.GetPos();
  EXPECT_EQ(pos.left, 50);
  EXPECT_EQ(pos.right, 50);
  EXPECT_EQ(pos.bottom, 40);
  EXPECT_EQ(control.GetWidth(), 0);
  EXPECT_EQ(control.GetHeight(), 0);
}

TEST(PlaceHolderTest, InvalidateMarksTheLayerOnlyWhenVisible) {
  ui::Control control;
  control.SetVisible(false);
  control.Invalidate();
  EXPECT_FALSE(control.IsLayerDirty());
  control.SetVisible(true);
  control.Invalidate();
  EXPECT_TRUE(control.IsLayerDirty());
}

TEST(PlaceHolderTest, ArrangeAncestorWithoutWindowArrangesTheParent) {
  ui::Box box(nullptr);
  auto* child = new ui::Control;
  ASSERT_TRUE(box.Add(child));
  box.SetWindowAndParent(nullptr, nullptr);
  ASSERT_EQ(child->GetParent(), &box);

  box.SetArrangeNeeded(false);
  box.SetReEstimateNeeded(false);
  child->SetReEstimateNeeded(false);
  child->ArrangeAncestor();
  EXPECT_TRUE(child->IsReEstimateNeeded());
  EXPECT_TRUE(box.IsArrangeNeeded());
  EXPECT_TRUE(box.IsReEstimateNeeded());

  // An auto-sized control re-arranges its ancestors; a fixed one only itself.
  box.SetArrangeNeeded(false);
  child->SetArrangeNeeded(false);
  child->Arrange();
  EXPECT_TRUE(child->IsArrangeNeeded());
  EXPECT_FALSE(box.IsArrangeNeeded());
  child->SetFixedWidth(ui::kSizeAuto);
  box.SetArrangeNeeded(false);
  child->Arrange();
  EXPECT_TRUE(box.IsArrangeNeeded());

  // Without a parent the control arranges itself.
  ui::Control lone;
  lone.SetArrangeNeeded(false);
  lone.ArrangeAncestor();
  EXPECT_TRUE(lone.IsArrangeNeeded());
}

TEST(PlaceHolderTest, ArrangeSelfOfAHiddenControlDoesNothing) {
  ui::Control control;
  control.SetArrangeNeeded(false);
  control.SetVisible(false);
  control.SetArrangeNeeded(false);
  control.ArrangeSelf();
  EXPECT_FALSE(control.IsArrangeNeeded());
}

TEST(PlaceHolderTest, FloatingControlsArrangeOnlyThemselvesOnLimitChanges) {
  ui::Box box(nullptr);
  auto* child = new ui::Control;
  box.Add(child);
  box.SetWindowAndParent(nullptr, nullptr);
  child->SetFloat(true);
  box.SetArrangeNeeded(false);
  child->SetMinWidth(10);
  EXPECT_FALSE(box.IsArrangeNeeded());
  child->SetFloat(false);
  child->SetMinWidth(20);
  EXPECT_TRUE(box.IsArrangeNeeded());
}

}  // namespace
