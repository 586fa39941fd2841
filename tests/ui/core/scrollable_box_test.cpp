// Scrollable boxes inside real windows: bars, keys, wheel, touch drags, smooth
// line scrolling, holding the end, and painting at the scrolled place.
#include <gtest/gtest.h>

#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/animation_player.h"
#include "ui/core/h_layout.h"
#include "ui/core/v_layout.h"
#include "ui/core/scroll_bar.h"
#include "ui/core/scrollable_box.h"

namespace {

using window_test::ClientPoint;
using window_test::EventLog;
using window_test::PixelAt;
using window_test::PumpMessages;
using window_test::PumpUntil;
using window_test::ScreenPoint;
using window_test::TestWindow;

::testing::Environment* const gdiplus =
    ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

constexpr int kRowHeight = 50;
constexpr int kRows = 10;
const DWORD kRowColors[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFF00FFFF};

// A 300 x 200 window whose root is a vertically scrolling box of ten 50-pixel rows:
// 500 pixels of content in 200, so the vertical range is 300.
class ScrollableBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hwnd = window.CreatePlain(300, 200);
    for (int i = 0; i < 5; ++i) window.AddColor(L"row" + std::to_wstring(i), kRowColors[i]);
    box = new ui::ScrollableBox(new ui::VLayout);
    box->SetAttribute(L"vscrollbar", L"true");
    for (int i = 0; i < kRows; ++i) AddRow();
    window.AttachRoot(box);
    window_test::PaintNow(hwnd);
    log.Attach(box);
  }
  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }

  ui::Control* AddRow() {
    auto* row = new ui::Control;
    row->SetFixedHeight(kRowHeight, false);
    row->SetBkColor(L"row" + std::to_wstring(box->GetCount() % 5));
    box->Add(row);
    return row;
  }

  int ScrollY() const { return box->GetScrollPos().cy; }

  void PostWheel(int delta) {
    PostMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)),
                 ScreenPoint(hwnd, 100, 100));
    PumpMessages();
  }

  void PostKey(WPARAM key) {
    PostMessageW(hwnd, WM_KEYDOWN, key, 0);
    PumpMessages();
  }

  bool WaitForScroll(int y) { return PumpUntil([&] { return ScrollY() == y; }); }

  EventLog log;  // outlives the window, whose controls report their destruction
  TestWindow window;
  HWND hwnd = nullptr;
  ui::ScrollableBox* box = nullptr;
};

TEST_F(ScrollableBoxTest, OverflowBecomesTheVerticalRange) {
  EXPECT_EQ(box->GetScrollRange().cy, kRows * kRowHeight - 200);
  EXPECT_EQ(box->GetScrollRange().cx, 0);
  EXPECT_EQ(ScrollY(), 0);
  ASSERT_NE(box->GetVerticalScrollBar(), nullptr);
  EXPECT_EQ(box->GetHorizontalScrollBar(), nullptr);
  EXPECT_EQ(box->GetPageHeight(), 200);
}

TEST_F(ScrollableBoxTest, WheelNotchScrollsOneUnitSmoothly) {
  PostWheel(-120);
  ASSERT_NE(box->GetScrollAnimation(), nullptr);
  EXPECT_TRUE(WaitForScroll(30));
  EXPECT_TRUE(log.Has(ui::scrollchange));
  PostWheel(120);
  EXPECT_TRUE(WaitForScroll(0));
}

TEST_F(ScrollableBoxTest, SmallWheelDeltaScrollsByTheDelta) {
  PostWheel(-10);
  EXPECT_TRUE(WaitForScroll(10));
}

TEST_F(ScrollableBoxTest, QuickNotchesAccumulateTheirSteps) {
  PostWheel(-120);
  PostWheel(-120);
  EXPECT_TRUE(WaitForScroll(60));
  window_test::PumpFor(200);
  EXPECT_EQ(ScrollY(), 60);
}

TEST_F(ScrollableBoxTest, ScrollingUpPastTheTopStopsAtZero) {
  box->SetScrollPosY(5);
  box->LineUp(-1, true);  // animates toward -25
  EXPECT_TRUE(WaitForScroll(0));
  window_test::PumpFor(100);
  EXPECT_EQ(ScrollY(), 0);
}

TEST_F(ScrollableBoxTest, ScrollingKeysOfTheFocusedBox) {
  window.SetFocusControl(box);
  ASSERT_EQ(window.GetFocusControl(), box);
  PostKey(VK_NEXT);
  EXPECT_EQ(ScrollY(), 200);
  PostKey(VK_END);
  EXPECT_EQ(ScrollY(), 300);
  PostKey(VK_PRIOR);
  EXPECT_EQ(ScrollY(), 100);
  PostKey(VK_HOME);
  EXPECT_EQ(ScrollY(), 0);
  PostKey(VK_DOWN);
  EXPECT_TRUE(WaitForScroll(30));
  PostKey(VK_RIGHT);  // not a scrolling key
  window_test::PumpFor(50);
  EXPECT_EQ(ScrollY(), 30);
}

TEST_F(ScrollableBoxTest, ScrollingMovesNoChildButShiftsHitTesting) {
  box->SetScrollPosY(100);
  ui::Control* first = box->GetItemAt(0);
  EXPECT_EQ(first->GetPos(true).top, 0);
  // Client y 10 shows content y 110: the third row.
  EXPECT_EQ(window.FindControlAtPoint({10, 10}), box->GetItemAt(2));
  static EventLog rowLog;  // the row reports its destruction after the test
  rowLog.Clear();
  rowLog.Attach(box->GetItemAt(2));
  PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(10, 10));
  PostMessageW(hwnd, WM_LBUTTONUP, 0, ClientPoint(10, 10));
  PumpMessages();
  EXPECT_TRUE(rowLog.Has(ui::buttondown));
}

TEST_F(ScrollableBoxTest, ScrolledRowsPaintAtTheirScrolledPlace) {
  box->SetScrollPosY(25);
  window_test::PaintNow(hwnd);
  ui::IRenderContext* context = window.GetRenderContext();
  EXPECT_EQ(PixelAt(context, 10, 0), kRowColors[0]);    // content y 25
  EXPECT_EQ(PixelAt(context, 10, 30), kRowColors[1]);   // content y 55
  EXPECT_EQ(PixelAt(context, 10, 199), kRowColors[4]);  // content y 224
  const std::wstring png = pexo_test::ExeFolder() + L"\\scrolled_box.png";
  EXPECT_TRUE(window_test::SaveWindowPng(window, png));
}

TEST_F(ScrollableBoxTest, ScrollChangeOnlyWhenThePositionMoves) {
  box->SetScrollPosY(40);
  EXPECT_EQ(log.Count(ui::scrollchange), 1);
  const ui::EventArgs* change = log.Last(ui::scrollchange);
  EXPECT_EQ(change->wParam, 1u);
  EXPECT_EQ(change->lParam, 0);
  box->SetScrollPosY(40);
  EXPECT_EQ(log.Count(ui::scrollchange), 1);
  box->SetScrollPosY(1000);  // clamped to the range
  EXPECT_EQ(ScrollY(), 300);
  box->SetScrollPosY(-5);
  EXPECT_EQ(ScrollY(), 0);
}

TEST_F(ScrollableBoxTest, HoldEndKeepsTheViewAtTheEndWhileContentGrows) {
  box->SetHoldEnd(true);
  box->EndDown(true, false);
  ASSERT_EQ(ScrollY(), 300);
  AddRow();
  window_test::PaintNow(hwnd);
  EXPECT_EQ(box->GetScrollRange().cy, 350);
  EXPECT_EQ(ScrollY(), 350);
  box->SetScrollPosY(100);
  AddRow();
  window_test::PaintNow(hwnd);
  EXPECT_EQ(ScrollY(), 100);
}

TEST_F(ScrollableBoxTest, JumpToTheEndSlidesTheContentIntoPlace) {
  box->EndDown(true, true);
  EXPECT_EQ(ScrollY(), 300);
  ASSERT_NE(box->GetEndAnimation(), nullptr);
  EXPECT_LT(box->GetRenderOffset().y, 0);  // drawn where it was, sliding up
  EXPECT_TRUE(PumpUntil([&] { return box->GetRenderOffset().y == 0; }));
}

TEST_F(ScrollableBoxTest, ContentThatFitsAgainResetsAndHidesTheBar) {
  box->SetScrollPosY(120);
  while (box->GetCount() > 2) box->RemoveAt(0);
  window_test::PaintNow(hwnd);
  EXPECT_EQ(box->GetScrollRange().cy, 0);
  EXPECT_EQ(ScrollY(), 0);
  EXPECT_FALSE(box->GetVerticalScrollBar()->IsVisible());
}

TEST_F(ScrollableBoxTest, ZeroScrollUnitScrollsByTwenty) {
  box->SetAttribute(L"vscrollunit", L"0");
  box->LineDown(-1, false);
  EXPECT_EQ(ScrollY(), 20);
}

TEST_F(ScrollableBoxTest, TouchDragScrollsAgainstTheFinger) {
  box->SendEvent(ui::touchdown, 0, 0, 0, {50, 100});
  EXPECT_TRUE(box->IsPressed());
  box->SendEvent(ui::touchmove, 0, 0, 0, {50, 70});  // finger up 30: content follows
  EXPECT_EQ(ScrollY(), 30);
  box->SendEvent(ui::touchmove, 0, 0, 0, {50, 80});
  EXPECT_EQ(ScrollY(), 20);
  box->SendEvent(ui::touchup, 0, 0, 0, {50, 80});
  EXPECT_FALSE(box->IsPressed());
}

TEST_F(ScrollableBoxTest, NonFloatingBarTakesItsWidthFromTheChildren) {
  box->SetAttribute(L"scrollbarfloat", L"false");
  box->SetPos(RECT{0, 0, 300, 200});
  const int barWidth = box->GetVerticalScrollBar()->GetFixedWidth();
  EXPECT_EQ(box->GetItemAt(0)->GetPos(true).right, 300 - barWidth);
  EXPECT_EQ(box->GetVerticalScrollBar()->GetPos(true).left, 300 - barWidth);
}

TEST_F(ScrollableBoxTest, AutoHidingBarShowsWhileTheMouseIsOverTheBox) {
  ui::ScrollBar* bar = box->GetVerticalScrollBar();
  ASSERT_TRUE(bar->IsAutoHideScroll());
  EXPECT_FALSE(bar->IsVisible());
  // The mouse enters a row; the box, its ancestor, hears of it too.
  POINT onRow = {10, 10};
  ClientToScreen(hwnd, &onRow);
  SetCursorPos(onRow.x, onRow.y);
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, ClientPoint(10, 10));
  ASSERT_EQ(window.GetHoverControl(), box->GetItemAt(0));
  EXPECT_TRUE(bar->IsVisible());
  SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(bar->IsVisible());
}

TEST_F(ScrollableBoxTest, FarAwayRowsLetGoOfTheirBackgroundImages) {
  pexo_test::TempDir dir;
  const std::wstring file = dir.File(L"row.png");
  ASSERT_TRUE(window_test::WritePng(file, 2, 2, [](int, int) { return 0xFF808080u; }));
  while (box->GetCount() < 40) AddRow();
  for (int i = 0; i < box->GetCount(); ++i) box->GetItemAt(i)->SetBkImage(file);
  window_test::PaintNow(hwnd);
  ui::Control* first = box->GetItemAt(0);
  EXPECT_NE(first->GetBkImage().image, nullptr);  // drawn, so decoded
  box->EndDown(true, false);  // 40 rows: the view ends 1800 pixels down
  window_test::PaintNow(hwnd);
  EXPECT_EQ(first->GetBkImage().image, nullptr);  // more than 730 pixels above the view
  EXPECT_NE(box->GetItemAt(39)->GetBkImage().image, nullptr);
}

TEST(HorizontalScrollableBoxTest, UpAndDownScrollSidewaysWithOnlyAHorizontalBar) {
  TestWindow window;
  HWND hwnd = window.CreatePlain(200, 100);
  auto* box = new ui::ScrollableBox(new ui::HLayout);
  box->SetAttribute(L"hscrollbar", L"true");
  for (int i = 0; i < 5; ++i) {
    auto* column = new ui::Control;
    column->SetFixedWidth(100, true, false);
    box->Add(column);
  }
  window.AttachRoot(box);
  window_test::PaintNow(hwnd);
  ASSERT_EQ(box->GetScrollRange().cx, 300);
  window.SetFocusControl(box);
  PostMessageW(hwnd, WM_KEYDOWN, VK_DOWN, 0);
  PumpMessages();
  EXPECT_EQ(box->GetScrollPos().cx, 30);
  PostMessageW(hwnd, WM_KEYDOWN, VK_UP, 0);
  PumpMessages();
  EXPECT_EQ(box->GetScrollPos().cx, 0);
  PostMessageW(hwnd, WM_KEYDOWN, VK_END, 0);
  PumpMessages();
  EXPECT_EQ(box->GetScrollPos().cx, 300);
  DestroyWindow(hwnd);
}

// Each bar tells the box of its own destruction; the box, being destroyed
// itself, must not reach the dying bar through its members then.
TEST(HorizontalScrollableBoxTest, ABoxWithBothBarsAndContentWiderThanItselfIsDestroyedCleanly) {
  for (const bool scrolled : {false, true}) {
    TestWindow window;
    HWND hwnd = window.CreatePlain(200, 100);
    auto* box = new ui::ScrollableBox(new ui::HLayout);
    box->SetAttribute(L"vscrollbar", L"true");
    box->SetAttribute(L"hscrollbar", L"true");
    box->SetAttribute(L"scrollbarfloat", L"false");
    for (int i = 0; i < 5; ++i) {
      auto* column = new ui::Control;
      column->SetFixedWidth(100, true, false);
      box->Add(column);
    }
    window.AttachRoot(box);
    window_test::PaintNow(hwnd);
    ASSERT_EQ(box->GetScrollRange().cx, 300);
    ASSERT_EQ(box->GetScrollRange().cy, 0);
    if (scrolled) box->SetScrollPos({150, 0});
    EXPECT_TRUE(DestroyWindow(hwnd));
    PumpMessages();
    EXPECT_FALSE(IsWindow(hwnd));
  }
}

TEST_F(ScrollableBoxTest, AFloatingOverlayIsHitWhereItIsPaintedWhileTheContentScrolls) {
  auto* overlay = new ui::Control;
  overlay->ApplyAttributeList(L"float=\"true\" width=\"100\" height=\"40\" bkcolor=\"row4\"");
  ASSERT_TRUE(box->Add(overlay));
  box->SetScrollPosY(100);
  window_test::PaintNow(hwnd);
  // The overlay stays put on screen; the rows behind it have scrolled.
  EXPECT_EQ(PixelAt(window.GetRenderContext(), 10, 10), kRowColors[4]);
  EXPECT_EQ(PixelAt(window.GetRenderContext(), 150, 10), kRowColors[2]);
  EXPECT_EQ(window.FindControlAtPoint({10, 10}), overlay);
  EXPECT_EQ(window.FindControlAtPoint({150, 10}), box->GetItemAt(2));

  static EventLog overlayLog;  // the overlay reports its destruction after the test
  overlayLog.Clear();
  overlayLog.Attach(overlay);
  PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(10, 10));
  PostMessageW(hwnd, WM_LBUTTONUP, 0, ClientPoint(10, 10));
  PumpMessages();
  EXPECT_TRUE(overlayLog.Has(ui::buttondown)) << "the click goes to the overlay, not to the row behind it";
}

}  // namespace
