// Controls and boxes inside a real window: deferred deletion, resize events,
// focus on hiding, and the window forgetting deleted controls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/core/window_test_support.h"
#include "ui/core/box.h"
#include "ui/core/control.h"
#include "ui/core/v_box.h"
#include "tests/ui/core/tracked_control.h"

namespace {

::testing::Environment* const gdiplus =
    ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

using window_test::PumpMessages;
using window_test::PumpUntil;
using window_test::TestWindow;

using core_test::Tracked;

class ControlInWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hwnd = window.CreatePlain(200, 200);
    ASSERT_NE(hwnd, nullptr);
    root = new ui::VBox;
    ASSERT_TRUE(window.AttachRoot(root));
  }
  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    PumpMessages();
  }

  TestWindow window{L"PexoControlInWindowTest"};
  HWND hwnd = nullptr;
  ui::VBox* root = nullptr;
};

TEST_F(ControlInWindowTest, AddedChildrenAreBoundAndRemovalIsDeferredToTheWindow) {
  int live = 0;
  auto* child = new Tracked(&live);
  ASSERT_TRUE(root->Add(child));
  EXPECT_EQ(child->GetWindow(), &window);
  EXPECT_EQ(child->GetParent(), root);

  ASSERT_TRUE(root->Remove(child));
  EXPECT_EQ(root->GetCount(), 0);
  EXPECT_EQ(live, 1);  // still alive until the window handles WM_APP+1
  EXPECT_EQ(child->GetParent(), nullptr);
  ASSERT_TRUE(PumpUntil([&] { return live == 0; }));

  // Without delayed destroy the child goes at once.
  root->SetDelayedDestroy(false);
  root->Add(new Tracked(&live));
  root->RemoveAt(0);
  EXPECT_EQ(live, 0);
}

TEST_F(ControlInWindowTest, AControlRemovedInsideItsOwnHandlerOutlivesTheDispatch) {
  int live = 0;
  for (int i = 0; i < 200; ++i) {
    auto* child = new Tracked(&live);
    root->Add(child);
    int after = 0;
    child->AttachEvent(ui::click, [this, child](ui::EventArgs*) {
      root->Remove(child);
      return true;
    });
    child->AttachEvent(ui::all, [&after](ui::EventArgs*) {
      ++after;  // the control is still alive here: its deletion waits for the window
      return true;
    });
    child->SendEvent(ui::click);
    EXPECT_EQ(after, 1);
  }
  EXPECT_EQ(root->GetCount(), 0);
  ASSERT_TRUE(PumpUntil([&] { return live == 0; }));

  // RemoveAll defers every child the same way.
  for (int i = 0; i < 500; ++i) root->Add(new Tracked(&live));
  root->RemoveAll();
  EXPECT_EQ(live, 500);
  ASSERT_TRUE(PumpUntil([&] { return live == 0; }));
}

TEST_F(ControlInWindowTest, MovingAControlSendsOneResizeEvent) {
  auto* child = new ui::Control;
  root->Add(child);
  int resizes = 0;
  child->AttachEvent(ui::resize, [&](ui::EventArgs*) {
    ++resizes;
    // Moving it again from its own handler must not recurse.
    child->SetPos(RECT{0, 0, 40, 40});
    return true;
  });
  child->SetPos(RECT{0, 0, 30, 30});
  EXPECT_EQ(resizes, 1);
  EXPECT_FALSE(child->IsArrangeNeeded());
  child->SetPos(RECT{0, 0, 40, 40});
  EXPECT_EQ(resizes, 1);  // unchanged rectangle: no event
}

TEST_F(ControlInWindowTest, HidingTheFocusedControlDropsTheFocusAndDeletingItIsForgotten) {
  auto* child = new ui::Control;
  root->Add(child);
  child->SetFocus();
  ASSERT_TRUE(child->IsFocused());
  child->SetVisible(false);
  EXPECT_FALSE(child->IsFocused());
  EXPECT_EQ(window.GetFocusControl(), nullptr);

  child->SetVisible(true);
  child->SetFocus();
  ASSERT_EQ(window.GetFocusControl(), child);
  root->SetDelayedDestroy(false);
  root->Remove(child);
  EXPECT_EQ(window.GetFocusControl(), nullptr);

  auto* noFocus = new ui::Control;
  root->Add(noFocus);
  noFocus->SetAttribute(L"nofocus", L"false");
  noFocus->SetFocus();
  EXPECT_FALSE(noFocus->IsFocused());
}

TEST_F(ControlInWindowTest, MouseEnterReachesOnlyTheHoverControlAndItsAncestors) {
  auto* box = new ui::Box;
  auto* inner = new ui::Control;
  auto* other = new ui::Control;
  box->Add(inner);
  root->Add(box);
  root->Add(other);
  root->SetPos(RECT{0, 0, 200, 200});
  // No hover control yet: an entry addressed to a control elsewhere is ignored.
  other->SendEvent(ui::mouseenter);
  EXPECT_EQ(other->GetState(), ui::kControlStateNormal);
}

TEST_F(ControlInWindowTest, ADeletedControlIsForgottenUnderEveryNameItHad) {
  auto* renamed = new ui::Control;
  renamed->SetName(L"before");
  ASSERT_TRUE(root->Add(renamed));
  ASSERT_EQ(window.FindControlByName(L"before"), renamed);
  renamed->SetName(L"after");
  auto* relabelled = new ui::Control;
  relabelled->SetName(L"first");
  ASSERT_TRUE(root->Add(relabelled));
  relabelled->ApplyAttributeList(L"name=\"second\"");

  root->SetDelayedDestroy(false);
  ASSERT_TRUE(root->Remove(renamed));
  ASSERT_TRUE(root->Remove(relabelled));
  EXPECT_EQ(window.FindControlByName(L"before"), nullptr) << "a freed control must not be found";
  EXPECT_EQ(window.FindControlByName(L"first"), nullptr);
}

TEST_F(ControlInWindowTest, RemovingManyNamedItemsKeepsTheNamesOfTheRestAndOfSharedNames) {
  // A list of cards as the launcher builds them: each card named, each with
  // children that share their names with every other card's children.
  auto* list = new ui::Box;
  ASSERT_TRUE(root->Add(list));
  constexpr int kCards = 600;
  std::vector<ui::Box*> cards;
  for (int i = 0; i < kCards; ++i) {
    auto* card = new ui::Box;
    card->SetName(L"card" + std::to_wstring(i));
    auto* icon = new ui::Control;
    icon->SetName(L"item_icon");
    card->Add(icon);
    ASSERT_TRUE(list->Add(card));
    cards.push_back(card);
  }
  auto* keeper = new ui::Control;
  keeper->SetName(L"keeper");
  ASSERT_TRUE(root->Add(keeper));
  // The shared name finds the child registered last.
  EXPECT_EQ(window.FindControlByName(L"item_icon"), cards.back()->GetItemAt(0));
  EXPECT_EQ(window.FindControlByName(L"card17"), cards[17]);

  // Removing an earlier card leaves the shared name with the last card's child.
  list->SetDelayedDestroy(false);
  ASSERT_TRUE(list->Remove(cards[3]));
  EXPECT_EQ(window.FindControlByName(L"card3"), nullptr);
  EXPECT_EQ(window.FindControlByName(L"item_icon"), cards.back()->GetItemAt(0));
  // A card renamed after it was added is still forgotten under its first name.
  cards[5]->SetName(L"renamed");
  ASSERT_TRUE(list->Remove(cards[5]));
  EXPECT_EQ(window.FindControlByName(L"card5"), nullptr);

  list->RemoveAll();
  for (int i : {0, 17, kCards - 1}) EXPECT_EQ(window.FindControlByName(L"card" + std::to_wstring(i)), nullptr) << i;
  EXPECT_EQ(window.FindControlByName(L"item_icon"), nullptr);
  EXPECT_EQ(window.FindControlByName(L"keeper"), keeper);

  // Names are given again to new controls after the old ones are gone.
  auto* again = new ui::Control;
  again->SetName(L"card17");
  ASSERT_TRUE(list->Add(again));
  EXPECT_EQ(window.FindControlByName(L"card17"), again);
}

TEST_F(ControlInWindowTest, AControlInOneBoxIsRefusedByAnotherUntilItIsRemoved) {
  auto* left = new ui::Box;
  auto* right = new ui::Box;
  ASSERT_TRUE(root->Add(left));
  ASSERT_TRUE(root->Add(right));
  static int live = 0;  // outlives the window, which may delete the child after the test
  live = 0;
  auto* child = new Tracked(&live);
  ASSERT_TRUE(left->Add(child));
  EXPECT_FALSE(right->Add(child)) << "both boxes would delete it";
  EXPECT_FALSE(right->AddAt(child, 0));
  EXPECT_EQ(right->GetCount(), 0);
  EXPECT_EQ(child->GetParent(), left);

  // Moving it: an explicit remove that keeps it alive, then the add.
  left->SetAutoDestroyChild(false);
  ASSERT_TRUE(left->Remove(child));
  EXPECT_TRUE(right->Add(child));
  EXPECT_EQ(child->GetParent(), right);
  EXPECT_EQ(left->GetCount(), 0);

  root->RemoveAll();
  EXPECT_TRUE(PumpUntil([&] { return live == 0; })) << "deleted once, by the box it sits in";
}

}  // namespace
