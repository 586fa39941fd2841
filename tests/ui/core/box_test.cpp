#include "ui/core/box.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/ui/core/tracked_control.h"
#include "ui/controls/list_container_element.h"

namespace {

using core_test::Tracked;

class TrackedBox : public ui::Box {
 public:
  explicit TrackedBox(int* live) : ui::Box(nullptr), live_(live) { ++*live_; }
  ~TrackedBox() override { --*live_; }

 private:
  int* live_;
};

TEST(BoxListTest, IndicesAddAtAndSetItemIndexBounds) {
  int live = 0;
  {
    ui::Box box(nullptr);
    auto* a = new Tracked(&live);
    auto* b = new Tracked(&live);
    auto* c = new Tracked(&live);
    EXPECT_FALSE(box.Add(nullptr));
    EXPECT_TRUE(box.Add(a));
    EXPECT_TRUE(box.AddAt(b, 1));  // index equal to the count appends
    EXPECT_FALSE(box.AddAt(c, 3));
    EXPECT_TRUE(box.AddAt(c, 0));
    EXPECT_EQ(box.GetCount(), 3);
    EXPECT_EQ(box.GetItemAt(0), c);
    EXPECT_EQ(box.GetItemAt(3), nullptr);
    EXPECT_EQ(box.GetItemIndex(b), 2);
    EXPECT_EQ(box.GetItemIndex(nullptr), -1);

    EXPECT_FALSE(box.SetItemIndex(a, 3));  // unlike AddAt, the count itself is refused
    EXPECT_TRUE(box.SetItemIndex(a, 2));
    EXPECT_EQ(box.GetItemAt(2), a);
    ui::Control stranger;
    EXPECT_FALSE(box.SetItemIndex(&stranger, 0));
    EXPECT_FALSE(box.Remove(&stranger));
    EXPECT_FALSE(box.RemoveAt(7));
    EXPECT_EQ(live, 3);
  }
  EXPECT_EQ(live, 0);
}

TEST(BoxOwnershipTest, AddingTheSameChildTwiceOrACycleIsRefused) {
  int live = 0;
  {
    ui::Box outer(nullptr);
    auto* inner = new TrackedBox(&live);
    auto* child = new Tracked(&live);
    EXPECT_TRUE(inner->Add(child));
    EXPECT_FALSE(inner->Add(child));
    EXPECT_FALSE(inner->AddAt(child, 0));
    EXPECT_EQ(inner->GetCount(), 1);
    EXPECT_FALSE(outer.Add(&outer));
    EXPECT_TRUE(outer.Add(inner));
    outer.SetWindowAndParent(nullptr, nullptr);
    EXPECT_FALSE(inner->Add(&outer));  // the box's own ancestor
    EXPECT_EQ(live, 2);
  }
  EXPECT_EQ(live, 0);
}

TEST(BoxOwnershipTest, RemoveWithoutAWindowDeletesAtOnce) {
  int live = 0;
  ui::Box box(nullptr);
  auto* child = new Tracked(&live);
  bool destroyed = false;
  child->AttachEvent(ui::destroy, [&](ui::EventArgs*) { destroyed = true; return true; });
  box.Add(child);
  ASSERT_TRUE(box.IsDelayedDestroy());
  EXPECT_TRUE(box.Remove(child));
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(live, 0);
  EXPECT_EQ(box.GetCount(), 0);
}

TEST(BoxOwnershipTest, WithoutAutoDestroyRemovedChildrenBelongToTheCaller) {
  int live = 0;
  std::vector<std::unique_ptr<ui::Control>> returned;
  {
    ui::Box box(nullptr);
    box.SetAutoDestroyChild(false);
    for (int i = 0; i < 3; ++i) box.Add(new Tracked(&live));
    box.SetWindowAndParent(nullptr, nullptr);
    std::vector<ui::Control*> children = box.GetItems();
    box.RemoveAll();
    EXPECT_EQ(box.GetCount(), 0);
    for (ui::Control* c : children) {
      EXPECT_EQ(c->GetParent(), nullptr);
      returned.emplace_back(c);
    }
    EXPECT_EQ(live, 3);
  }
  EXPECT_EQ(live, 3);
  returned.clear();
  EXPECT_EQ(live, 0);
}

TEST(BoxOwnershipTest, ThousandsOfControlsCreatedAndDestroyedInLoops) {
  int live = 0;
  for (int round = 0; round < 20; ++round) {
    auto root = std::make_unique<TrackedBox>(&live);
    for (int i = 0; i < 50; ++i) {
      auto* row = new TrackedBox(&live);
      for (int j = 0; j < 10; ++j) row->Add(new Tracked(&live));
      root->Add(row);
    }
    root->SetWindowAndParent(nullptr, nullptr);
    ASSERT_EQ(live, 1 + 50 + 500);
    // Remove some rows by index, some by pointer, move others, and let
    // listeners delete their own controls.
    root->RemoveAt(0);
    root->Remove(root->GetItemAt(10));
    root->SetItemIndex(root->GetItemAt(0), 5);
    auto* row = static_cast<ui::Box*>(root->GetItemAt(1));
    ui::Control* victim = row->GetItemAt(3);
    victim->AttachEvent(ui::click, [row, victim](ui::EventArgs*) {
      row->Remove(victim);
      return true;
    });
    victim->SendEvent(ui::click);
    EXPECT_EQ(row->GetCount(), 9);
    static_cast<ui::Box*>(root->GetItemAt(2))->RemoveAll();
    EXPECT_EQ(live, 1 + 48 + 480 - 1 - 10);
  }
  EXPECT_EQ(live, 0);
}

TEST(BoxFindTest, FindSelectablePicksVisibleEnabledListItems) {
  ui::Box box(nullptr);
  EXPECT_EQ(box.FindSelectable(0, true), -1);
  for (int i = 0; i < 10; ++i) {
    if (i == 7 || i == 8 || i == 9) {
      box.Add(new ui::ListContainerElement);
    } else {
      box.Add(new ui::Control);
    }
  }
  box.GetItemAt(8)->SetVisible(false);
  box.GetItemAt(9)->SetEnabled(false);
  EXPECT_EQ(box.FindSelectable(5, true), 7);
  EXPECT_EQ(box.FindSelectable(8, true), -1);
  EXPECT_EQ(box.FindSelectable(5, false), 7);  // backward fails, forward from 0
  EXPECT_EQ(box.FindSelectable(9, false), 7);
  EXPECT_EQ(box.FindSelectable(-4, true), 7);  // clamped
  EXPECT_EQ(box.FindSelectable(99, false), 7);
}

TEST(BoxFindTest, HitTestsFindTopmostChildrenUnlessMouseChildIsOff) {
  ui::Box box(nullptr);
  box.SetPos(RECT{0, 0, 100, 100});
  auto* under = new ui::Control;
  auto* over = new ui::Control;
  box.Add(under);
  box.Add(over);
  under->SetPos(RECT{0, 0, 50, 50});
  over->SetPos(RECT{25, 25, 75, 75});
  ui::FindControlCallback any = [](ui::Control* c, void*) { return c; };
  const UINT flags = ui::kFindVisible | ui::kFindHitTest | ui::kFindTopFirst;
  POINT both = {30, 30};
  POINT onlyBox = {90, 90};
  POINT outside = {150, 10};
  EXPECT_EQ(box.FindControl(any, &both, flags), over);
  EXPECT_EQ(box.FindControl(any, &both, ui::kFindVisible | ui::kFindHitTest), under);
  EXPECT_EQ(box.FindControl(any, &onlyBox, flags), &box);
  EXPECT_EQ(box.FindControl(any, &outside, flags), nullptr);
  over->SetVisible(false);
  EXPECT_EQ(box.FindControl(any, &both, flags), under);
  box.SetMouseChildEnabled(false);
  EXPECT_EQ(box.FindControl(any, &both, flags), &box);
}

TEST(BoxFindTest, MeFirstAndNamesIgnoringCase) {
  ui::Box box(nullptr);
  auto* child = new ui::Control;
  child->SetName(L"OkButton");
  box.Add(child);
  box.SetName(L"okbutton");
  EXPECT_EQ(box.FindChildByName(L"OKBUTTON"), child);
  EXPECT_EQ(box.FindChildByName(L""), nullptr);
  EXPECT_EQ(box.FindChildByName(L"missing"), nullptr);

  std::vector<ui::Control*> order;
  ui::FindControlCallback record = [&](ui::Control* c, void*) -> ui::Control* {
    order.push_back(c);
    return nullptr;
  };
  box.FindControl(record, nullptr, ui::kFindMeFirst);
  EXPECT_EQ(order, (std::vector<ui::Control*>{&box, child}));
  order.clear();
  box.FindControl(record, nullptr, 0);
  EXPECT_EQ(order, (std::vector<ui::Control*>{child, &box}));
}

TEST(BoxStateTest, VisibilityAndEnablingReachTheWholeSubtree) {
  ui::Box box(nullptr);
  auto* inner = new ui::Box(nullptr);
  auto* leaf = new ui::Control;
  inner->Add(leaf);
  box.Add(inner);
  box.SetVisible(false);
  EXPECT_FALSE(leaf->IsVisible());
  EXPECT_FALSE(inner->IsVisible());
  box.SetVisible(true);
  EXPECT_TRUE(leaf->IsVisible());

  box.SetEnabled(false);
  EXPECT_FALSE(leaf->IsEnabled());
  box.SetEnabled(true);
  EXPECT_TRUE(leaf->IsEnabled());

  box.SetReceivePointer(false);
  EXPECT_FALSE(leaf->IsReceivePointer());

  // A child added to a hidden box is hidden with it.
  box.SetVisible(false);
  auto* late = new ui::Control;
  box.Add(late);
  EXPECT_FALSE(late->IsVisible());
  EXPECT_FALSE(box.IsTabStop());
  EXPECT_EQ(box.GetAccessibilityProvider(), nullptr);
  EXPECT_EQ(box.GetType(), L"Box");
}

}  // namespace

namespace {

TEST(BoxBatchTest, ABatchOfAddsArrangesTheBoxOnceWhenTheLastBatchCloses) {
  int live = 0;
  ui::Box box(nullptr);
  box.SetArrangeNeeded(false);
  {
    ui::Box::AddBatch outer(&box);
    EXPECT_TRUE(box.Add(new Tracked(&live)));
    {
      ui::Box::AddBatch inner(&box);
      EXPECT_TRUE(box.Add(new Tracked(&live)));
    }
    EXPECT_TRUE(box.IsAddBatchOpen());
    EXPECT_FALSE(box.IsArrangeNeeded());
    EXPECT_TRUE(box.AddAt(new Tracked(&live), 0));
    EXPECT_FALSE(box.IsArrangeNeeded());
  }
  EXPECT_FALSE(box.IsAddBatchOpen());
  EXPECT_TRUE(box.IsArrangeNeeded());
  EXPECT_EQ(box.GetCount(), 3);

  // A batch that added nothing leaves the box as it was.
  box.SetArrangeNeeded(false);
  { ui::Box::AddBatch empty(&box); }
  EXPECT_FALSE(box.IsArrangeNeeded());
  // Adding outside a batch arranges at once, as before.
  EXPECT_TRUE(box.Add(new Tracked(&live)));
  EXPECT_TRUE(box.IsArrangeNeeded());
  EXPECT_EQ(live, 4);

  // Children added to a hidden box in a batch stay hidden, and no batch is left open.
  ui::Box hidden(nullptr);
  hidden.SetVisible(false);
  auto* child = new Tracked(&live);
  {
    ui::Box::AddBatch batch(&hidden);
    EXPECT_TRUE(hidden.Add(child));
  }
  EXPECT_FALSE(child->IsVisible());
  EXPECT_FALSE(hidden.IsAddBatchOpen());
  { ui::Box::AddBatch none(nullptr); }
}

TEST(BoxBatchTest, ABoxDeletedWhileABatchIsOpenIsNotTouchedWhenItCloses) {
  int live = 0;
  auto* box = new TrackedBox(&live);
  {
    ui::Box::AddBatch batch(box);
    EXPECT_TRUE(box->Add(new Tracked(&live)));
    delete box;
    EXPECT_EQ(live, 0);
  }
  EXPECT_EQ(live, 0);
}

}  // namespace
