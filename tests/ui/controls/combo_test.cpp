// Combo boxes in a real window: the drop-down opens on a press, is chosen
// from by keyboard and mouse, closes when the focus leaves, raises its select
// events, and goes away safely with its combo.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/ui/core/window_test_support.h"
#include "ui/controls/combo.h"
#include "ui/controls/list_box.h"
#include "ui/controls/list_container_element.h"
#include "ui/controls/option.h"
#include "ui/controls/stock_controls.h"
#include "ui/core/box.h"
#include "ui/core/skin_builder.h"

namespace {

using window_test::EventLog;
using window_test::PumpMessages;
using window_test::PumpUntil;
using window_test::TestWindow;

::testing::Environment* const gdiplus =
    ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

// A list item that counts the live ones, so ownership mistakes show up as leaks
// (count too high) or double deletes (count too low).
class CountedItem : public ui::ListContainerElement {
 public:
  CountedItem(int* live, const wchar_t* text) : live_(live) {
    ++*live_;
    SetText(text);
    SetFixedHeight(24);
  }
  ~CountedItem() override { --*live_; }

 private:
  int* live_;
};

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
  void ClickItem(HWND popup, int index) {
    window_test::PaintNow(popup);
    const RECT item = combo->GetListBox()->GetItemAt(static_cast<size_t>(index))->GetPos();
    const LPARAM middle = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    Post(popup, WM_MOUSEMOVE, 0, middle);
    Post(popup, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    Post(popup, WM_LBUTTONUP, 0, middle);
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
  EXPECT_TRUE(combo->Remove(extra));  // and deleted: the combo owns its items
  EXPECT_EQ(combo->GetCount(), 3);

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

TEST_F(ComboTest, RemovedItemsAreDeletedByTheCombo) {
  combo->RemoveAll();
  int live = 0;
  for (const wchar_t* text : {L"一", L"二", L"三", L"四", L"五"}) combo->Add(new CountedItem(&live, text));
  ASSERT_EQ(live, 5);
  combo->SelectItem(4, false);
  ASSERT_TRUE(combo->Remove(combo->GetItemAt(0)));
  EXPECT_EQ(live, 4);
  EXPECT_EQ(combo->GetCurSel(), 3);
  EXPECT_EQ(combo->GetText(), L"五");
  ASSERT_TRUE(combo->RemoveAt(1));
  EXPECT_EQ(live, 3);
  EXPECT_FALSE(combo->RemoveAt(7));
  EXPECT_EQ(live, 3);

  // Removed while the drop-down is open: gone once it has closed at the latest.
  HWND popup = OpenByClick();
  ASSERT_NE(popup, nullptr);
  ASSERT_TRUE(combo->RemoveAt(0));
  combo->CloseDrop();
  PumpMessages();
  EXPECT_EQ(live, 2);
  EXPECT_EQ(combo->GetCount(), 2);

  combo->RemoveAll();
  EXPECT_EQ(live, 0);
  EXPECT_EQ(combo->GetCurSel(), -1);

  // Deleting the combo deletes what it still holds.
  for (const wchar_t* text : {L"六", L"七"}) combo->Add(new CountedItem(&live, text));
  root->SetDelayedDestroy(false);
  ASSERT_TRUE(root->Remove(combo));
  EXPECT_EQ(live, 0);
}

// A select listener that deletes its combo, for each way a choice ends: a click
// on an item, a key in the drop-down, and a click elsewhere that closes it.
TEST_F(ComboTest, ASelectListenerMayDeleteTheCombo) {
  enum class Way { kClickItem, kKey, kClickElsewhere };
  for (Way way : {Way::kClickItem, Way::kKey, Way::kClickElsewhere}) {
    SCOPED_TRACE(static_cast<int>(way));
    if (!combo) {
      combo = new ui::Combo;
      root->Add(combo);
      combo->SetPos(RECT{20, 20, 180, 44});
    }
    combo->RemoveAll();
    int live = 0;
    for (const wchar_t* text : {L"甲", L"乙", L"丙"}) combo->Add(new CountedItem(&live, text));
    combo->SelectItem(1, false);
    int selects = 0;
    root->SetDelayedDestroy(false);  // the listener's removal deletes at once
    combo->AttachSelectEvent([&](ui::EventArgs*) {
      ++selects;
      root->Remove(combo);
      combo = nullptr;
      return true;
    });
    HWND popup = OpenByClick();
    ASSERT_NE(popup, nullptr);
    if (way != Way::kClickItem && GetFocus() != popup) {
      GTEST_SKIP() << "Wine did not give the shown popup the keyboard focus";
    }
    if (way == Way::kClickItem) {
      ClickItem(popup, 0);
    } else if (way == Way::kKey) {
      Post(popup, WM_KEYDOWN, VK_DOWN, 0);
    } else {
      Post(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(250, 150));
      Post(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(250, 150));
    }
    PumpUntil([popup] { return !IsWindow(popup); }, 2000);
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(combo, nullptr);
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(live, 0) << "the list and its items went with the popup";
    EXPECT_EQ(root->GetCount(), 0);
    // The window goes on working.
    window_test::PaintNow(hwnd);
    Post(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(60, 30));
  }
}

// A listener that closes the drop-down from inside the popup's own click.
TEST_F(ComboTest, ASelectListenerMayCloseTheDropDown) {
  int closes = 0;
  combo->AttachSelectEvent([&](ui::EventArgs*) {
    if (combo->GetDropWindow()) ++closes;
    combo->CloseDrop();
    return true;
  });
  HWND popup = OpenByClick();
  ASSERT_NE(popup, nullptr);
  ClickItem(popup, 2);
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_EQ(combo->GetDropWindow(), nullptr);
  EXPECT_EQ(combo->GetCurSel(), 2);
  EXPECT_EQ(combo->GetText(), L"丙");
  EXPECT_EQ(combo->GetListBox()->GetWindow(), nullptr);
  PumpMessages();
  // It opens again as before.
  popup = OpenByClick();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(combo->GetListBox()->GetCount(), 3);
  combo->CloseDrop();
}

// An item in a group that the skin gave it in the combo's window: opening and
// closing the drop-down moves it out of that window and back to none, and when
// the combo deletes it, no group of any window still lists it.
TEST_F(ComboTest, AGroupedItemLeavesTheGroupOfEveryWindowItWasIn) {
  ui::RegisterStockControls();
  constexpr const wchar_t* kSkin = LR"(<?xml version="1.0" encoding="utf-8"?>
<Window>
  <VBox>
    <Combo name="grouped" width="160" height="24">
      <ListContainerElement name="kept" group="size" height="24" text="小"/>
      <ListContainerElement name="doomed" group="size" height="24" text="大"/>
    </Combo>
    <Option name="small" group="size" width="80" height="24" text="Small"/>
    <Option name="large" group="size" width="80" height="24" text="Large"/>
  </VBox>
</Window>)";
  ui::SkinBuilder builder;
  ui::Control* skinRoot = builder.Create(kSkin, nullptr, &window);
  ASSERT_NE(skinRoot, nullptr);
  window.AttachRoot(skinRoot);
  root = nullptr;
  window_test::PaintNow(hwnd);
  combo = dynamic_cast<ui::Combo*>(window.FindControlByName(L"grouped"));
  ASSERT_NE(combo, nullptr);
  ASSERT_EQ(combo->GetCount(), 2);
  const std::vector<ui::Control*>* members = window.GetOptionGroup(L"size");
  ASSERT_NE(members, nullptr);
  EXPECT_EQ(members->size(), 4u);

  const RECT pos = combo->GetPos();
  PumpUntil([this] { return GetFocus() == hwnd; }, 1000);
  const LPARAM middle = MAKELPARAM((pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2);
  Post(hwnd, WM_MOUSEMOVE, 0, middle);
  Post(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, middle);
  Post(hwnd, WM_LBUTTONUP, 0, middle);
  ASSERT_NE(combo->GetDropWindow(), nullptr);
  ui::Control* doomed = combo->GetItemAt(1);
  EXPECT_EQ(doomed->GetWindow(), combo->GetDropWindow());
  combo->CloseDrop();
  EXPECT_EQ(doomed->GetWindow(), nullptr);
  members = window.GetOptionGroup(L"size");
  ASSERT_NE(members, nullptr);
  EXPECT_EQ(members->size(), 2u) << "the items left this window's group with the window";

  ASSERT_TRUE(combo->RemoveAt(1));
  // A click on an option of the group walks the group's members.
  auto* small = dynamic_cast<ui::OptionTemplate<ui::Control>*>(window.FindControlByName(L"small"));
  auto* large = dynamic_cast<ui::OptionTemplate<ui::Control>*>(window.FindControlByName(L"large"));
  ASSERT_NE(small, nullptr);
  ASSERT_NE(large, nullptr);
  large->Selected(true, false);
  const RECT option = small->GetPos();
  const LPARAM centre = MAKELPARAM((option.left + option.right) / 2, (option.top + option.bottom) / 2);
  Post(hwnd, WM_MOUSEMOVE, 0, centre);
  Post(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  Post(hwnd, WM_LBUTTONUP, 0, centre);
  EXPECT_TRUE(small->IsSelected());
  EXPECT_FALSE(large->IsSelected());
  members = window.GetOptionGroup(L"size");
  ASSERT_NE(members, nullptr);
  EXPECT_EQ(members->size(), 2u);
}

}  // namespace
