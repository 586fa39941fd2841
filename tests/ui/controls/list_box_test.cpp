// The list box and its items in a real window: selection by mouse (with Ctrl
// and Shift), keyboard and wheel, the select event's indices, removal and
// insertion around the current item, and the items' own events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/controls/control_window.h"
#include "ui/base/animation_player.h"
#include "ui/controls/list_box.h"
#include "ui/controls/list_container_element.h"
#include "ui/core/v_layout.h"

namespace {

using controls_test::ControlWindowTest;
using controls_test::SetModifiers;

// A list of `count` items 20 high in a 200 x 100 list at (10, 10).
class ListBoxTest : public ControlWindowTest {
 protected:
  void Build(int count) {
    list = new ui::ListBox(new ui::VLayout);
    list->EnableScrollBar(true, false);
    for (int i = 0; i < count; ++i) {
      auto* item = new ui::ListContainerElement;
      item->SetFixedHeight(20, false);
      item->SetName(L"item" + std::to_wstring(i));
      list->Add(item);
    }
    Place(list, RECT{10, 10, 210, 110});
    window_test::PaintNow(hwnd);
    list->AttachEvent(ui::select, [this](ui::EventArgs* e) {
      selects.emplace_back(static_cast<int>(e->wParam), static_cast<int>(e->lParam));
      return true;
    });
  }
  ui::ListContainerElement* Item(int i) { return dynamic_cast<ui::ListContainerElement*>(list->GetItemAt(i)); }
  std::vector<int> Selected() {
    std::vector<int> out;
    for (int i = list->GetNextSelected(-1); i >= 0; i = list->GetNextSelected(i)) out.push_back(i);
    return out;
  }
  void ClickItem(int i) {
    const RECT rc = Item(i)->GetPos();
    const SIZE scroll = list->GetScrollPos();
    Click((rc.left + rc.right) / 2 - scroll.cx, (rc.top + rc.bottom) / 2 - scroll.cy);
  }

  ui::ListBox* list = nullptr;
  std::vector<std::pair<int, int>> selects;
};

using Pairs = std::vector<std::pair<int, int>>;

TEST_F(ListBoxTest, ClicksSelectOneItemAndCtrlAndShiftSelectSeveral) {
  Build(6);
  log[0].Attach(Item(1));
  ClickItem(1);
  ClickItem(3);
  // A single selection always reports the old index as -1.
  EXPECT_EQ(selects, (Pairs{{1, -1}, {3, -1}}));
  EXPECT_EQ(Selected(), (std::vector<int>{3}));
  EXPECT_EQ(log[0].Count(ui::click), 1);
  // The item's click comes before the list's select.
  EXPECT_EQ(Item(3)->GetItemId(), 0);

  SetModifiers(true, false);
  ClickItem(4);
  EXPECT_EQ(Selected(), (std::vector<int>{3, 4}));
  EXPECT_EQ(list->GetCurSel(), 4);
  // Ctrl-clicking the current item toggles it off silently but keeps it current.
  selects.clear();
  ClickItem(4);
  EXPECT_EQ(Selected(), (std::vector<int>{3}));
  EXPECT_EQ(list->GetCurSel(), 4);
  EXPECT_TRUE(selects.empty());
  // Adding the current, toggled-off item to the selection selects it again.
  EXPECT_TRUE(list->SelectMultiItem(4));
  EXPECT_TRUE(Item(4)->IsSelected());

  SetModifiers(false, true);
  selects.clear();
  ClickItem(1);
  EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(list->GetCurSel(), 4);
  EXPECT_EQ(selects, (Pairs{{1, 4}}));
  SetModifiers(false, false);
  ClickItem(0);
  EXPECT_EQ(Selected(), (std::vector<int>{0}));
}

TEST_F(ListBoxTest, KeysMoveTheSelectionAndSkipItemsThatCannotBeSelected) {
  Build(6);
  Item(0)->SetEnabled(false);
  Item(5)->SetEnabled(false);
  Item(4)->SetVisible(false);
  ClickItem(2);
  Key(VK_UP);
  EXPECT_EQ(list->GetCurSel(), 1);
  Key(VK_UP);  // item 0 is disabled: the selection stays
  EXPECT_EQ(list->GetCurSel(), 1);
  // End finds the last selectable item even when the last items cannot be.
  Key(VK_END);
  EXPECT_EQ(list->GetCurSel(), 3);
  // Down past the last selectable item keeps the selection.
  Key(VK_DOWN);
  EXPECT_EQ(list->GetCurSel(), 3);
  EXPECT_EQ(Selected(), (std::vector<int>{3}));
  // Home falls back to the first selectable item.
  Key(VK_HOME);
  EXPECT_EQ(list->GetCurSel(), 1);
  EXPECT_EQ(selects.back(), std::make_pair(1, -1));

  // The wheel scrolls unless it selects ("scrollselect").
  list->SetAttribute(L"scrollselect", L"true");
  list->SetFocus();
  Post(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), window_test::ScreenPoint(hwnd, 50, 50));
  EXPECT_EQ(list->GetCurSel(), 2);
}

TEST_F(ListBoxTest, RemovingAndInsertingKeepTheCurrentItemAndIndices) {
  Build(5);
  list->SelectItem(3);
  selects.clear();
  list->AddAt(new ui::ListContainerElement, 0);
  EXPECT_EQ(list->GetCurSel(), 4);
  EXPECT_EQ(Item(4)->GetIndex(), 4);
  list->RemoveAt(0);
  EXPECT_EQ(list->GetCurSel(), 3);
  // Removing the current item selects the one now at its place.
  list->Remove(Item(3));
  EXPECT_EQ(list->GetCurSel(), 3);
  EXPECT_EQ(selects, (Pairs{{3, -1}}));
  // ... or the nearest before it at the end of the list.
  list->RemoveAt(3);
  EXPECT_EQ(list->GetCurSel(), 2);
  EXPECT_EQ(Item(2)->GetIndex(), 2);

  // Moving an item keeps the current item current.
  ui::ListContainerElement* current = Item(2);
  EXPECT_TRUE(list->SetItemIndex(current, 0));
  EXPECT_EQ(list->GetCurSel(), 0);
  EXPECT_EQ(current->GetIndex(), 0);

  // Hiding the selected item clears the selection without an event.
  selects.clear();
  current->SetFadeVisible(false);
  EXPECT_EQ(list->GetCurSel(), -1);
  EXPECT_EQ(list->GetSelectedCount(), 0);
  EXPECT_TRUE(selects.empty());
  list->RemoveAll();
  EXPECT_EQ(list->GetCurSel(), -1);
}

TEST_F(ListBoxTest, ItemsRaiseDoubleClickMenuAndReturn) {
  Build(3);
  log[0].Attach(Item(1));
  const RECT rc = Item(1)->GetPos();
  const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  Post(WM_LBUTTONDOWN, MK_LBUTTON, at);
  Post(WM_LBUTTONUP, 0, at);
  Post(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  Post(WM_LBUTTONUP, 0, at);
  EXPECT_TRUE(log[0].Has(ui::doubleclick));
  EXPECT_EQ(list->GetCurSel(), 1);

  // A quick click on the item after a key took the choice elsewhere comes as the
  // second press of a double click: it chooses the item again, as a press would.
  list->SelectItem(0);
  Post(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  Post(WM_LBUTTONUP, 0, at);
  EXPECT_EQ(list->GetCurSel(), 1);

  // A context-menu request selects the item first, then raises menu on it.
  list->SelectItem(0);
  ui::EventArgs request;
  request.Type = ui::internalmenu;
  request.pSender = Item(2);
  log[1].Attach(Item(2));
  Item(2)->HandleEventTemplate(request);
  EXPECT_EQ(list->GetCurSel(), 2);
  EXPECT_TRUE(log[1].Has(ui::menu));

  // Return raises return on the focused item and selects nothing.
  window.SetFocusControl(Item(1));
  Key(VK_RETURN);
  EXPECT_TRUE(log[0].Has(ui::return_));
  EXPECT_EQ(list->GetCurSel(), 2);

  // A disabled item cannot be selected.
  Item(0)->SetEnabled(false);
  EXPECT_FALSE(list->SelectItem(0));
  EXPECT_EQ(list->GetCurSel(), -1);
}

TEST_F(ListBoxTest, EnsureVisibleScrollsAnItemIntoView) {
  Build(30);
  ASSERT_GT(list->GetScrollRange().cy, 0);
  EXPECT_TRUE(list->EnsureVisible(20));
  const RECT item = Item(20)->GetPos();
  EXPECT_EQ(list->GetScrollPos().cy, item.bottom - 110);
  EXPECT_TRUE(list->ScrollItemToTop(L"item10"));
  EXPECT_EQ(list->GetScrollPos().cy, Item(10)->GetPos().top - 10);
  EXPECT_FALSE(list->ScrollItemToTop(L"nothing"));
  // The top item is the first whose bottom reaches the visible top (an edge
  // touching it counts).
  EXPECT_EQ(list->GetTopItem(), Item(9));
  list->SetScrollPos(SIZE{0, list->GetScrollPos().cy + 1});
  EXPECT_EQ(list->GetTopItem(), Item(10));
}

// Wheel notches run one smooth scroll; a press on the list halts it where it
// stands, and the next notch starts from there, not from the abandoned target.
TEST_F(ListBoxTest, APressHaltsASmoothScrollAndTheNextNotchStartsWhereItStopped) {
  Build(30);
  list->SetAttribute(L"padding", L"16,0,0,0");  // room beside the items to press on
  window_test::PaintNow(hwnd);
  ASSERT_GT(list->GetScrollRange().cy, 200);
  const int step = list->GetVerticalScrollUnit();  // one notch
  POINT over = {100, 50};
  ClientToScreen(hwnd, &over);
  const LPARAM wheelAt = MAKELPARAM(over.x, over.y);
  // Three quick notches and the press arrive together, before the scroll can end.
  for (int i = 0; i < 3; ++i) PostMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), wheelAt);
  PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(14, 50));
  PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(14, 50));
  window_test::PumpMessages();
  ui::AnimationPlayer* player = list->GetScrollAnimation();
  ASSERT_NE(player, nullptr);
  EXPECT_FALSE(player->IsPlaying()) << "the press halted the scroll";
  const int stopped = list->GetScrollPos().cy;
  ASSERT_LT(stopped, 3 * step) << "the three notches had not been scrolled yet";
  window_test::PumpFor(300);
  EXPECT_EQ(list->GetScrollPos().cy, stopped) << "it stays where it stopped";
  EXPECT_TRUE(selects.empty()) << "a press beside the items selects nothing";

  // One more notch goes one step on from there.
  PostMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), wheelAt);
  window_test::PumpMessages();
  EXPECT_EQ(player->GetEndValue(), stopped + step);
  window_test::PumpUntil([this, stopped, step] { return list->GetScrollPos().cy == stopped + step; }, 2000);
  EXPECT_EQ(list->GetScrollPos().cy, stopped + step);
}

}  // namespace
