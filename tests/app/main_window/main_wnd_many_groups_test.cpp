// Hundreds of groups in the real main window: the group strip takes at most half
// the window, in whole rows, so that the tag column and the cards stay in view;
// beyond that it scrolls by the wheel and its bar, and a group chosen by a click,
// a key, the pointer, at start-up or kept across a resize is scrolled into view
// and shows its own tags and cards. A few groups keep the strip as it always was.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "app/main_window/main_wnd.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "tests/app/support/group_strip_support.h"
#include "tests/app/support/launcher_test_support.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/controls/list_box.h"

namespace {

using group_strip::Numbered;
using group_strip::StripView;
using window_test::PaintNow;
using window_test::PumpFor;
using window_test::PumpUntil;

class ManyGroupsTest : public launcher_test::MainWindowFixture {
 protected:
  // In front: the wheel and the keys go to the foreground window.
  ManyGroupsTest() : MainWindowFixture(/*inFront=*/true) {}

  void SetUp() override {
    MainWindowFixture::SetUp();
    DeleteFileW(group_strip::ProbeLog().c_str());
    Settings& settings = GetSettings();
    settings.nPosX = 40;
    settings.nPosY = 30;
    settings.nCurGroup = 0;
    settings.nCurTag = 0;
  }
  void TearDown() override {
    if (input_) std::printf("[ the window took the foreground back %d times ]\n", input_->ForegroundRetakes());
    MainWindowFixture::TearDown();
  }

  void OpenOver(int groups) {
    ASSERT_TRUE(group_strip::WriteStore(groups));
    Open();
    view_.emplace(*window_);
    input_.emplace(hwnd_);
    Settle();
  }
  // Fades end and the layouts a strip fitting its parent asks for are done.
  void Settle() {
    PaintNow(hwnd_);
    PumpFor(300);
    PumpUntil([&] {
      PaintNow(hwnd_);
      return !window_->IsArrangeNeeded();
    });
  }
  StripView& View() { return *view_; }
  group_strip::RealInput& Input() { return *input_; }

  // The strip is capped at half the window in whole rows and scrolls the rest;
  // the tag column and at least two rows of cards lie inside the window.
  void ExpectStripCappedAndTheRestInView(const char* where) {
    SCOPED_TRACE(where);
    const int height = View().StripBox()->GetHeight();
    const int pitch = View().RowPitch();
    EXPECT_LE(height, View().Share());
    EXPECT_GE(height, pitch);
    EXPECT_GT(height + pitch, View().Share()) << "as many rows as fit";
    EXPECT_EQ(height % pitch, 0) << "whole rows: " << height << " by " << pitch;
    EXPECT_EQ(View().Strip()->GetHeight(), height);
    EXPECT_LT(height, View().RowsHeight());
    EXPECT_EQ(View().Range(), View().RowsHeight() - height) << "the bar reaches the last row";

    const RECT client = View().Client();
    const RECT tags = window_->TagList()->GetPos();
    EXPECT_TRUE(StripView::Inside(tags, client)) << tags.top << ".." << tags.bottom;
    ASSERT_GE(window_->TagList()->GetCount(), 1);
    EXPECT_TRUE(StripView::Inside(window_->TagList()->GetItemAt(0)->GetPos(), tags));
    const RECT cards = window_->LinkBox()->GetPos();
    EXPECT_TRUE(StripView::Inside(cards, client)) << cards.top << ".." << cards.bottom;
    ASSERT_GE(window_->LinkBox()->GetCount(), 1);
    const RECT card = window_->LinkBox()->GetItemAt(0)->GetPos();
    EXPECT_TRUE(StripView::Inside(card, cards));
    EXPECT_GE(cards.bottom - cards.top, 2 * (card.bottom - card.top)) << "room for two rows of cards";
  }

  // Group `index` is current, wholly in view, and its tag and card are shown.
  void ExpectCurrentAndShown(int index) {
    SCOPED_TRACE("group " + std::to_string(index));
    EXPECT_EQ(View().Strip()->GetCurSel(), index);
    EXPECT_EQ(window_->CurrentGroupIndex(), index);
    EXPECT_TRUE(View().WhollyShown(index)) << "scroll " << View().Scroll() << " item top "
                                           << View().Item(index)->GetPos().top;
    ASSERT_EQ(window_->TagList()->GetCount(), 1);
    EXPECT_EQ(View().TagName(0), Numbered(L"T", index));
    ASSERT_EQ(window_->LinkBox()->GetCount(), 1);
    const auto& tag = GetLinkStore().topGroups.at(static_cast<size_t>(index))->tags.at(0);
    EXPECT_EQ(View().CardLinkId(0), tag->links.at(0)->ID);
  }

  // A real click on the current tag's first card starts its link.
  void ExpectCardClickStarts(int group) {
    DeleteFileW(group_strip::ProbeLog().c_str());
    PaintNow(hwnd_);
    Input().Click(StripView::Middle(window_->LinkBox()->GetItemAt(0)->GetPos()));
    const std::wstring number = Numbered(L"", group);
    const std::string wanted = "grp-" + std::string(number.begin(), number.end());
    EXPECT_TRUE(PumpUntil([&] { return pexo_test::ReadFileBytes(group_strip::ProbeLog()).find(wanted) != std::string::npos; },
                          10000))
        << "the card of group " << group << " did not start: " << pexo_test::ReadFileBytes(group_strip::ProbeLog());
  }

  std::optional<StripView> view_;
  std::optional<group_strip::RealInput> input_;
};

TEST_F(ManyGroupsTest, ThreeHundredGroupsLeaveTheTagsAndCardsInViewAndScrollToEveryGroup) {
  OpenOver(300);
  ASSERT_EQ(View().Strip()->GetCount(), 300);
  ExpectStripCappedAndTheRestInView("at start");
  ExpectCurrentAndShown(0);
  EXPECT_EQ(View().Scroll(), 0);
  ExpectCardClickStarts(0);

  // The wheel over the strip scrolls it and chooses nothing.
  Input().Wheel(View().StripMiddle(), -WHEEL_DELTA, 3);
  View().WaitAtRest();
  EXPECT_GT(View().Scroll(), 0) << "the wheel moved the strip";
  EXPECT_EQ(View().Strip()->GetCurSel(), 0);
  Input().Wheel(View().StripMiddle(), WHEEL_DELTA, 6);
  View().WaitAtRest();
  EXPECT_EQ(View().Scroll(), 0) << "and back";

  // The bar dragged to its end shows the last row; a group there, clicked,
  // becomes current with its tag and card.
  ASSERT_TRUE(View().DragThumbTo(Input(), 1.0)) << "the thumb did not follow the drag";
  EXPECT_EQ(View().Scroll(), View().Range());
  ASSERT_TRUE(View().WhollyShown(299));
  Input().Click(StripView::Middle(View().Shown(297)));
  ASSERT_TRUE(PumpUntil([&] { return View().Strip()->GetCurSel() == 297; }, 3000)) << "the click chose group 297";
  PaintNow(hwnd_);
  ExpectCurrentAndShown(297);
  ExpectStripCappedAndTheRestInView("after the click far down");
  ExpectCardClickStarts(297);

  // Keys on the strip's focused group: Home and End bring the first and the last
  // group into view.
  Input().Click(StripView::Middle(View().Shown(297)));
  Input().Key(VK_HOME);
  ASSERT_TRUE(PumpUntil([&] { return View().Strip()->GetCurSel() == 0; }, 3000)) << "Home chose the first group";
  PaintNow(hwnd_);
  ExpectCurrentAndShown(0);
  EXPECT_EQ(View().Scroll(), 0);
  Input().Key(VK_END);
  ASSERT_TRUE(PumpUntil([&] { return View().Strip()->GetCurSel() == 299; }, 3000)) << "End chose the last group";
  PaintNow(hwnd_);
  ExpectCurrentAndShown(299);

  // The current group scrolled out of view comes back when the window gets
  // lower, under a strip capped lower.
  Input().Wheel(View().StripMiddle(), WHEEL_DELTA, 80);
  View().WaitAtRest();
  ASSERT_FALSE(View().WhollyShown(299));
  const int tallStrip = View().StripBox()->GetHeight();
  RECT placed = {};
  GetWindowRect(hwnd_, &placed);
  MoveWindow(hwnd_, placed.left, placed.top, placed.right - placed.left, 420, TRUE);
  Settle();
  EXPECT_LT(View().StripBox()->GetHeight(), tallStrip);
  ExpectStripCappedAndTheRestInView("in a lower window");
  ExpectCurrentAndShown(299);
}

// Hovering chooses groups in this setting: a group the pointer rests on at the
// strip's cut edge is scrolled wholly into view, and nothing runs on from it.
TEST_F(ManyGroupsTest, AGroupChosenByHoverAtTheCutEdgeIsScrolledIntoView) {
  OpenOver(300);
  // A small turn of the wheel leaves the last row in view cut.
  Input().Wheel(StripView::Middle(View().Shown(0)), -10);
  View().WaitAtRest();
  ASSERT_EQ(View().Scroll(), 10);
  const RECT strip = View().Strip()->GetPos();
  int cut = 0;
  while (View().Shown(cut).bottom <= strip.bottom) ++cut;
  ASSERT_LT(View().Shown(cut).top, strip.bottom) << "a row shows cut at the lower edge";

  GetSettings().bMouseEnterActiveGroup = true;
  GetSettings().nActiveGroupDelay = 0;
  Input().MoveTo({StripView::Middle(View().Shown(cut)).x, static_cast<LONG>(strip.bottom - 3)});
  ASSERT_TRUE(PumpUntil([&] { return View().Strip()->GetCurSel() == cut; }, 3000)) << "hovering chose group " << cut;
  View().WaitAtRest();
  ExpectCurrentAndShown(cut);
  PumpFor(200);
  EXPECT_EQ(View().Strip()->GetCurSel(), cut) << "the scroll under the resting pointer chose no other group";
  GetSettings().bMouseEnterActiveGroup = false;
}

// About a hundred groups fill more than half the window of the default size; the
// group stored as current, far down, is shown at start-up.
TEST_F(ManyGroupsTest, AHundredGroupsInTheDefaultWindowStartOnTheStoredGroupInView) {
  Settings& settings = GetSettings();
  settings.nWidth = 388;
  settings.nHeight = 640;
  settings.nCurGroup = 97;
  OpenOver(100);
  ASSERT_EQ(View().Strip()->GetCount(), 100);
  ExpectStripCappedAndTheRestInView("at start");
  ExpectCurrentAndShown(97);
  EXPECT_GT(View().Scroll(), 0);
  const int atStart = View().Scroll();
  Input().Wheel(View().StripMiddle(), WHEEL_DELTA, 2);
  View().WaitAtRest();
  EXPECT_LT(View().Scroll(), atStart) << "the wheel moved the strip";
  ExpectCardClickStarts(97);
}

// A few groups: the strip is as high as its rows, nothing scrolls.
TEST_F(ManyGroupsTest, AFewGroupsKeepTheStripAsHighAsItsRows) {
  struct Case {
    int groups;
    int height;  // five 72-pixel groups to the row of a 388-pixel window
  };
  for (Case c : {Case{5, 30}, Case{12, 92}}) {
    SCOPED_TRACE(std::to_string(c.groups) + " groups");
    launcher_test::RemoveStoreFiles();
    OpenOver(c.groups);
    EXPECT_EQ(View().StripBox()->GetHeight(), c.height);
    EXPECT_EQ(View().StripBox()->GetFixedHeight(), c.height);
    EXPECT_EQ(View().Range(), 0);
    for (int i = 0; i < c.groups; ++i) EXPECT_TRUE(View().WhollyShown(i)) << i;
    ExpectCurrentAndShown(0);
    Close();
  }
}

}  // namespace
