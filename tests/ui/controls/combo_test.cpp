// Combo boxes in a real window: the drop-down opens on a press, is chosen
// from by keyboard and mouse, closes when the focus leaves, raises its select
// events, and goes away safely with its combo.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/ui/core/window_test_support.h"
#include "ui/controls/combo.h"
#include "ui/controls/list_box.h"
#include "ui/controls/list_container_element.h"
#include "ui/core/box.h"

namespace {

using window_test::EventLog;
using window_test::PumpMessages;
using window_test::PumpUntil;
using window_test::TestWindow;

::testing::Environment* const gdiplus =
    ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

RECT ScreenRect(HWND hwnd) {
  RECT rc = {};
  GetWindowRect(hwnd, &rc);
  return rc;
}

class ComboTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hwnd = window.CreatePlain(300, 200);
    SetForegroundWindow(hwnd);
    root = new ui::Box(nullptr);
    combo = new ui::Combo;
    root->Add(combo);
    window.AttachRoot(root);
    for (const wchar_t* text : {L"甲", L"乙", L"丙"}) {
      auto* item = new ui::ListContainerElement;
      item->SetText(text);
      item->SetFixedHeight(24);
      combo->Add(item);
    }
    window_test::PaintNow(hwnd);
    combo->SetPos(RECT{20, 20, 180, 44});
    log.Attach(combo);
  }
  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    PumpMessages();
  }
  void Post(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
    PostMessageW(target, message, wParam, lParam);
    PumpMessages();
  }
  HWND OpenByClick() {
    // A popup that closed just before gives the focus back to this window through
    // messages that may still be on their way under load; a popup opened before
    // they arrive loses the focus to them and closes at once. Wait for that state
    // (not for a time), then for the new popup to hold the focus.
    PumpUntil([this] { return GetFocus() == hwnd; }, 1000);
    Post(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(50, 30));
    Post(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 30));
    Post(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(50, 30));
    PumpUntil([this] { return combo->GetDropWindow() && GetFocus() == combo->GetDropWindow()->GetHWND(); }, 1000);
    return combo->GetDropWindow() ? combo->GetDropWindow()->GetHWND() : nullptr;
  }
  bool WaitClosed() {
    return PumpUntil([this] { return combo->GetDropWindow() == nullptr; }, 2000);
  }
  // The select events of the log as (wParam, lParam) pairs.
  std::vector<std::pair<int, int>> Selects() const {
    std::vector<std::pair<int, int>> pairs;
    for (const ui::EventArgs& e : log.events) {
      if (e.Type == ui::select) pairs.emplace_back(static_cast<int>(e.wParam), static_cast<int>(e.lParam));
    }
    return pairs;
  }

  EventLog log;
  TestWindow window;
  HWND hwnd = nullptr;
  ui::Box* root = nullptr;
  ui::Combo* combo = nullptr;
};

using Pairs = std::vector<std::pair<int, int>>;

TEST_F(ComboTest, ItemsLiveInTheInnerListAndPreselectionRaisesNothing) {
  EXPECT_EQ(combo->GetCount(), 3);
  EXPECT_EQ(combo->GetListBox()->GetCount(), 3);
  ui::Control* second = combo->GetItemAt(1);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(combo->GetItemIndex(second), 1);
  EXPECT_TRUE(combo->SetItemIndex(second, 0));
  EXPECT_EQ(combo->GetListBox()->GetItemAt(0), second);
  EXPECT_TRUE(combo->SetItemIndex(second, 1));
  auto* extra = new ui::ListContainerElement;
  extra->SetText(L"丁");
  ASSERT_TRUE(combo->AddAt(extra, 0));
  EXPECT_EQ(combo->GetListBox()->GetItemAt(0), extra);
  EXPECT_TRUE(combo->Remove(extra));
  delete extra;  // the inner list does not delete what it gives back

  EXPECT_EQ(combo->GetCurSel(), -1);
  EXPECT_EQ(combo->GetText(), L"");
  EXPECT_TRUE(combo->SelectItem(1, true));
  EXPECT_EQ(combo->GetCurSel(), 1);
  EXPECT_EQ(combo->GetText(), L"乙");
  EXPECT_FALSE(combo->SelectItem(7, true));
  EXPECT_EQ(combo->GetCurSel(), 1);
  EXPECT_TRUE(Selects().empty());  // closed: no select even with trigger
}

TEST_F(ComboTest, DropDownOpensBelowAndIsChosenFromByKeyboardAndMouse) {
  combo->SelectItem(1, false);
  HWND popup = OpenByClick();
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(log.Has(ui::click));
  EXPECT_TRUE(IsWindowVisible(popup));
  POINT comboBottom = {20, 44};
  ClientToScreen(hwnd, &comboBottom);
  const RECT rc = ScreenRect(popup);
  EXPECT_EQ(rc.top, comboBottom.y + 1);
  EXPECT_EQ(rc.left, comboBottom.x);
  EXPECT_EQ(rc.right - rc.left, 160);
  EXPECT_EQ(rc.bottom - rc.top, 3 * 24 + 2);
  const LONG_PTR exStyle = GetWindowLongPtrW(popup, GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(exStyle & WS_EX_LAYERED);

  // Down chooses the next item; the popup closes and reports twice.
  if (GetFocus() != popup) GTEST_SKIP() << "Wine did not give the shown popup the keyboard focus";
  Post(popup, WM_KEYDOWN, VK_DOWN, 0);
  ASSERT_TRUE(WaitClosed());
  EXPECT_EQ(combo->GetCurSel(), 2);
  EXPECT_EQ(combo->GetText(), L"丙");
  EXPECT_EQ(Selects(), (Pairs{{2, 1}, {2, 2}}));
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_EQ(combo->GetListBox()->GetWindow(), nullptr);

  // A click on the first item.
  log.Clear();
  popup = OpenByClick();
  ASSERT_NE(popup, nullptr);
  window_test::PaintNow(popup);
  const RECT item = combo->GetListBox()->GetItemAt(0)->GetPos();
  const LPARAM middle = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  Post(popup, WM_MOUSEMOVE, 0, middle);
  Post(popup, WM_LBUTTONDOWN, MK_LBUTTON, middle);
  Post(popup, WM_LBUTTONUP, 0, middle);
  ASSERT_TRUE(WaitClosed());
  EXPECT_EQ(combo->GetCurSel(), 0);
  EXPECT_EQ(Selects(), (Pairs{{0, 2}, {0, 0}}));
}

TEST_F(ComboTest, ClickingElsewhereClosesWithTheCurrentItem) {
  combo->SelectItem(2, false);
  HWND popup = OpenByClick();
  ASSERT_NE(popup, nullptr);
  if (GetFocus() != popup) GTEST_SKIP() << "Wine did not give the shown popup the keyboard focus";
  Post(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(250, 150));
  Post(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(250, 150));
  ASSERT_TRUE(WaitClosed());
  EXPECT_EQ(combo->GetCurSel(), 2);
  EXPECT_EQ(Selects(), (Pairs{{2, 2}}));
}

TEST_F(ComboTest, PopupOnTopTouchesTheComboAndAnEmptyListIsItsPadding) {
  combo->SetAttribute(L"popuptop", L"true");
  combo->SetAttribute(L"dropboxsize", L"200,50");
  HWND popup = OpenByClick();
  ASSERT_NE(popup, nullptr);
  POINT comboTop = {20, 20};
  ClientToScreen(hwnd, &comboTop);
  RECT rc = ScreenRect(popup);
  EXPECT_EQ(rc.bottom, comboTop.y);
  EXPECT_EQ(rc.bottom - rc.top, 50);  // at most the drop-down height
  EXPECT_EQ(rc.right - rc.left, 200);
  combo->CloseDrop();
  EXPECT_FALSE(IsWindow(popup));

  combo->RemoveAll();
  EXPECT_EQ(combo->GetCurSel(), -1);
  popup = OpenByClick();
  ASSERT_NE(popup, nullptr);
  rc = ScreenRect(popup);
  EXPECT_EQ(rc.bottom - rc.top, 2);
}

TEST_F(ComboTest, DestroyingTheComboWithItsDropDownOpenClosesThePopup) {
  HWND popup = OpenByClick();
  ASSERT_NE(popup, nullptr);
  root->SetAutoDestroyChild(true);
  ASSERT_TRUE(root->Remove(combo));
  PumpMessages();
  EXPECT_FALSE(IsWindow(popup));
  window_test::PaintNow(hwnd);
}

}  // namespace
