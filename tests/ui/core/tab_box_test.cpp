#include "ui/core/tab_box.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/ui/core/stock_controls_registered.h"
#include "ui/base/animation_player.h"
#include "ui/controls/label.h"
#include "ui/core/skin_builder.h"
#include "ui/core/window.h"

namespace {

using ui::Box;
using ui::Control;
using ui::TabBox;

// The selected page is opaque, visible and takes the mouse; the others are
// transparent and take none (and, unless pages slide, are invisible).
void ExpectSelected(Control* page) {
  EXPECT_TRUE(page->IsVisible());
  EXPECT_EQ(page->GetAlpha(), 255);
  EXPECT_TRUE(page->IsMouseEnabled());
  if (auto* box = dynamic_cast<Box*>(page)) {
    EXPECT_TRUE(box->IsMouseChildEnabled());
  }
}

void ExpectUnselected(Control* page, bool visible) {
  EXPECT_EQ(page->IsVisible(), visible);
  EXPECT_EQ(page->GetAlpha(), 0);
  EXPECT_FALSE(page->IsMouseEnabled());
  if (auto* box = dynamic_cast<Box*>(page)) {
    EXPECT_FALSE(box->IsMouseChildEnabled());
  }
}

// A tab box in a window (without a native handle) that records its "select" events.
class TabBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tabs_ = new TabBox();
    window_.AttachRoot(tabs_);
    tabs_->AttachEvent(ui::select, [this](ui::EventArgs* args) {
      selects_.emplace_back(static_cast<int>(args->wParam), static_cast<int>(args->lParam));
      return true;
    });
  }

  Control* AddPage(bool box = false) {
    Control* page = box ? static_cast<Control*>(new Box()) : new Control();
    EXPECT_TRUE(tabs_->Add(page));
    return page;
  }

  ui::Window window_;
  TabBox* tabs_ = nullptr;
  std::vector<std::pair<int, int>> selects_;
};

TEST_F(TabBoxTest, TheFirstVisiblePageIsSelectedAndTheOthersWait) {
  Control* first = AddPage(true);
  Control* second = AddPage(true);
  Control* third = AddPage();
  EXPECT_EQ(tabs_->GetCurSel(), 0);
  ExpectSelected(first);
  ExpectUnselected(second, false);
  ExpectUnselected(third, false);
  EXPECT_EQ(tabs_->GetType(), L"TabBox");
}

TEST_F(TabBoxTest, AnInvisiblePageDoesNotTakeTheEmptySelection) {
  auto* hidden = new Control();
  hidden->SetVisible(false);
  ASSERT_TRUE(tabs_->Add(hidden));
  EXPECT_EQ(tabs_->GetCurSel(), -1);
  Control* shown = AddPage();
  EXPECT_EQ(tabs_->GetCurSel(), 1);
  ExpectSelected(shown);
}

TEST_F(TabBoxTest, SelectingShowsOnePageAndReportsNewAndOldIndex) {
  Control* first = AddPage(true);
  Control* second = AddPage(true);
  Control* third = AddPage();

  EXPECT_TRUE(tabs_->SelectItem(2));
  EXPECT_EQ(tabs_->GetCurSel(), 2);
  ExpectSelected(third);
  ExpectUnselected(first, false);
  ExpectUnselected(second, false);
  ASSERT_EQ(selects_.size(), 1u);
  EXPECT_EQ(selects_[0], std::make_pair(2, 0));

  EXPECT_TRUE(tabs_->SelectItem(1));
  ExpectSelected(second);
  ExpectUnselected(third, false);
  EXPECT_EQ(selects_.back(), std::make_pair(1, 2));
}

TEST_F(TabBoxTest, TheCurrentIndexChangesNothingAndIndicesOutOfRangeAreRefused) {
  AddPage();
  AddPage();
  EXPECT_TRUE(tabs_->SelectItem(0));
  EXPECT_FALSE(tabs_->SelectItem(2));
  EXPECT_FALSE(tabs_->SelectItem(-1));
  EXPECT_TRUE(selects_.empty());
  EXPECT_EQ(tabs_->GetCurSel(), 0);

  TabBox empty;
  EXPECT_FALSE(empty.SelectItem(0));
}

TEST_F(TabBoxTest, RemovingTheSelectedPageSelectsTheFirstWithoutAnEvent) {
  Control* first = AddPage();
  AddPage();
  AddPage();
  ASSERT_TRUE(tabs_->SelectItem(2));
  selects_.clear();
  tabs_->SetDelayedDestroy(false);
  ASSERT_TRUE(tabs_->RemoveAt(2));
  EXPECT_EQ(tabs_->GetCurSel(), 0);
  ExpectSelected(first);
  EXPECT_TRUE(selects_.empty());

  // Removing a page before the selection moves the index with it.
  ASSERT_TRUE(tabs_->SelectItem(1));
  Control* selected = tabs_->GetItemAt(1);
  ASSERT_TRUE(tabs_->Remove(first));
  EXPECT_EQ(tabs_->GetCurSel(), 0);
  EXPECT_EQ(tabs_->GetItemAt(0), selected);

  ASSERT_TRUE(tabs_->Remove(selected));
  EXPECT_EQ(tabs_->GetCurSel(), -1);
  EXPECT_FALSE(tabs_->RemoveAt(0));
  Control stranger;
  EXPECT_FALSE(tabs_->Remove(&stranger));
}

TEST_F(TabBoxTest, InsertingBeforeTheSelectionKeepsTheSamePageSelected) {
  AddPage();
  Control* second = AddPage();
  ASSERT_TRUE(tabs_->SelectItem(1));
  auto* inserted = new Control();
  ASSERT_TRUE(tabs_->AddAt(inserted, 0));
  EXPECT_EQ(tabs_->GetCurSel(), 2);
  EXPECT_EQ(tabs_->GetItemAt(2), second);
  ExpectUnselected(inserted, false);

  auto* after = new Control();
  ASSERT_TRUE(tabs_->AddAt(after, 3));
  EXPECT_EQ(tabs_->GetCurSel(), 2);
  ExpectUnselected(after, false);
  Control stray;
  EXPECT_FALSE(tabs_->AddAt(&stray, 9));
}

TEST_F(TabBoxTest, RemoveAllClearsTheSelection) {
  AddPage();
  AddPage();
  tabs_->SetDelayedDestroy(false);
  tabs_->RemoveAll();
  EXPECT_EQ(tabs_->GetCurSel(), -1);
  EXPECT_EQ(tabs_->GetCount(), 0);
  Control* page = AddPage();
  EXPECT_EQ(tabs_->GetCurSel(), 0);
  ExpectSelected(page);
}

TEST_F(TabBoxTest, WithFadeSwitchUnselectedPagesStayVisibleButTransparentAndDeaf) {
  Control* first = AddPage(true);
  Control* second = AddPage(true);
  Control* third = AddPage();
  tabs_->SetAttribute(L"fadeswitch", L"true");
  EXPECT_TRUE(tabs_->IsFadeSwitch());
  ExpectSelected(first);
  ExpectUnselected(second, true);
  ExpectUnselected(third, true);

  // Added later, a page is still visible.
  Control* fourth = AddPage();
  ExpectUnselected(fourth, true);

  tabs_->SetAttribute(L"fadeswitch", L"TRUE");  // only the exact text switches it on
  EXPECT_FALSE(tabs_->IsFadeSwitch());
}

TEST_F(TabBoxTest, WithFadeSwitchTheNewPageSlidesInAndTheOldOneOut) {
  tabs_->SetPos(RECT{0, 0, 300, 200});
  Control* first = AddPage();
  Control* second = AddPage();
  Control* third = AddPage();
  tabs_->SetAttribute(L"fadeswitch", L"true");

  ASSERT_TRUE(tabs_->SelectItem(2));
  ui::AnimationPlayer* in = third->GetAnimations().GetPlayer(ui::kAnimationInOutXFromLeft);
  ui::AnimationPlayer* out = first->GetAnimations().GetPlayer(ui::kAnimationInOutXFromLeft);
  ASSERT_NE(in, nullptr);
  ASSERT_NE(out, nullptr);
  // Forwards: the new page comes from the left side of the offset, the old one leaves.
  EXPECT_EQ(in->GetStartValue(), -300);
  EXPECT_EQ(in->GetEndValue(), 0);
  EXPECT_DOUBLE_EQ(in->GetAccelerateFactor(), TabBox::kSlideAccelerateFactor);
  EXPECT_FALSE(in->GetCompleteCallback());
  EXPECT_EQ(out->GetStartValue(), 0);
  EXPECT_EQ(out->GetEndValue(), 300);
  ASSERT_TRUE(out->GetCompleteCallback());
  EXPECT_EQ(second->GetAnimations().GetPlayer(ui::kAnimationInOutXFromLeft), nullptr);
  ExpectSelected(third);
  EXPECT_TRUE(first->IsVisible());

  // The old page is put in the unselected state when its slide completes.
  first->SetAlpha(255);
  first->SetMouseEnabled(true);
  out->GetCompleteCallback()();
  ExpectUnselected(first, true);

  // Backwards the directions turn round.
  ASSERT_TRUE(tabs_->SelectItem(1));
  ui::AnimationPlayer* backIn = second->GetAnimations().GetPlayer(ui::kAnimationInOutXFromLeft);
  ui::AnimationPlayer* backOut = third->GetAnimations().GetPlayer(ui::kAnimationInOutXFromLeft);
  ASSERT_NE(backIn, nullptr);
  ASSERT_NE(backOut, nullptr);
  EXPECT_EQ(backIn->GetStartValue(), 300);
  EXPECT_EQ(backOut->GetEndValue(), -300);
}

TEST_F(TabBoxTest, ASlideEndingAfterPagesMovedHidesThePageThatSlidOutNeverTheSelectedOne) {
  tabs_->SetPos(RECT{0, 0, 300, 200});
  Control* first = AddPage();
  Control* second = AddPage();
  Control* third = AddPage();
  tabs_->SetAttribute(L"fadeswitch", L"true");
  ASSERT_TRUE(tabs_->SelectItem(2));
  ASSERT_TRUE(tabs_->SelectItem(1));  // the third page slides out from index 2
  auto completion = third->GetAnimations().GetPlayer(ui::kAnimationInOutXFromLeft)->GetCompleteCallback();
  ASSERT_TRUE(completion);

  // A page inserted in front during the slide moves the selected page to index 2.
  Control* inserted = new Control();
  ASSERT_TRUE(tabs_->AddAt(inserted, 0));
  ASSERT_EQ(tabs_->GetCurSel(), 2);
  ASSERT_EQ(tabs_->GetItemAt(2), second);
  third->SetAlpha(255);
  third->SetMouseEnabled(true);
  completion();
  ExpectSelected(second);
  ExpectUnselected(third, true);

  // A slid-out page that was removed (and kept) meanwhile is left alone, and so is
  // the page now at its old index.
  ASSERT_TRUE(tabs_->SelectItem(0));  // the second page slides out from index 2
  auto secondOut = second->GetAnimations().GetPlayer(ui::kAnimationInOutXFromLeft)->GetCompleteCallback();
  tabs_->SetAutoDestroyChild(false);
  ASSERT_TRUE(tabs_->Remove(second));
  tabs_->SetAutoDestroyChild(true);
  second->SetAlpha(255);
  third->SetAlpha(255);
  secondOut();
  EXPECT_EQ(second->GetAlpha(), 255);
  EXPECT_EQ(third->GetAlpha(), 255) << "the page now at index 2 was not the one that slid";
  delete second;
  (void)first;
}

TEST_F(TabBoxTest, ACompletedSlideOfADestroyedTabBoxDoesNothing) {
  auto* tabs = new TabBox();
  Control* first = new Control();
  Control* second = new Control();
  tabs->Add(first);
  tabs->Add(second);
  tabs->SetAttribute(L"fadeswitch", L"true");
  ASSERT_TRUE(tabs->SelectItem(1));
  // The old page's player, and its completion, outlive nothing: take a copy.
  auto completion = first->GetAnimations().GetPlayer(ui::kAnimationInOutXFromLeft)->GetCompleteCallback();
  delete tabs;
  completion();  // bound weakly to the tab box: nothing happens
}

TEST(TabBoxInitTest, SelectedIdWaitsForInitialisationThenSelectsAtOnce) {
  auto* tabs = new TabBox();
  tabs->SetAttribute(L"selectedid", L"1");
  tabs->Add(new Control());
  tabs->Add(new Control());
  EXPECT_EQ(tabs->GetCurSel(), 0);

  ui::Window window;
  Box root;
  ASSERT_TRUE(root.Add(tabs));
  window.AttachRoot(&root, false);  // initialises the tree
  EXPECT_EQ(tabs->GetCurSel(), 1);

  tabs->SetAttribute(L"selectedid", L"0");
  EXPECT_EQ(tabs->GetCurSel(), 0);
  tabs->SetAttribute(L"selectedid", L"7");
  EXPECT_EQ(tabs->GetCurSel(), 0);
  window.AttachRoot(nullptr, false);
}

TEST(TabBoxInitTest, ASkinTabBoxShowsItsChosenPage) {
  ui::Window window;
  ui::SkinBuilder builder;
  Control* root = builder.Create(L"<Window><VBox><TabBox name=\"tabs\" selectedid=\"1\">"
                                 L"<Label name=\"p0\"/><Label name=\"p1\"/><Label name=\"p2\"/></TabBox>"
                                 L"</VBox></Window>",
                                 nullptr, &window);
  ASSERT_NE(root, nullptr);
  window.AttachRoot(root);
  auto* tabs = dynamic_cast<TabBox*>(window.FindControlByName(L"tabs"));
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->GetCurSel(), 1);
  ExpectSelected(window.FindControlByName(L"p1"));
  ExpectUnselected(window.FindControlByName(L"p0"), false);
  ExpectUnselected(window.FindControlByName(L"p2"), false);
}

}  // namespace
