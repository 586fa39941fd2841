// The launcher's list classes built from skin XML through the control factory and
// laid out in a real window: the group strip's widths and rows, the tag column's
// shared heights and the card area's click selection.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/controls/app_control_factory.h"
#include "app/controls/card_list_boxes.h"
#include "app/controls/search_list_box.h"
#include "data/settings.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/core/box.h"
#include "ui/core/h_card_layout.h"
#include "ui/controls/list_container_element.h"
#include "ui/core/skin_builder.h"

namespace {

::testing::Environment* const gdiplus =
    ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

using window_test::PaintNow;
using window_test::PumpMessages;
using window_test::TestWindow;

class CardListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = GetSettings();
    hwnd_ = window_.CreatePlain(300, 300);
    ASSERT_NE(hwnd_, nullptr);
  }
  void TearDown() override {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    PumpMessages();
    GetSettings() = saved_;
  }

  // Builds the skin through the launcher's factory, fills the named list with
  // `count` items (each `itemHeight` high when not 0), then lays the window out.
  template <typename List>
  List* Build(const std::wstring& xml, const std::wstring& listName, int count, int itemHeight = 0) {
    ui::SkinBuilder builder;
    ui::Control* root = builder.Create(xml, CreateAppControl, &window_);
    if (!root) return nullptr;
    auto* box = dynamic_cast<ui::Box*>(root);
    auto* list = box ? dynamic_cast<List*>(box->FindChildByName(listName)) : nullptr;
    if (!list) return nullptr;
    for (int i = 0; i < count; ++i) {
      auto* item = new ui::ListContainerElement;
      if (itemHeight) item->SetFixedHeight(itemHeight);
      list->Add(item);
    }
    window_.AttachRoot(root);
    PaintNow(hwnd_);
    return list;
  }

  ui::HCardGroup* BuildStrip(int groups) {
    return Build<ui::HCardGroup>(
        L"<Window><VBox><VBox name=\"strip\" height=\"100\"><HCardGroup name=\"groups\"/></VBox>"
        L"<Control name=\"rest\"/></VBox></Window>",
        L"groups", groups);
  }
  int StripHeight() {
    return window_.FindControlByName(L"strip")->GetFixedHeight();
  }

  // Puts the real cursor on the middle of the control, as a hand moves it there,
  // and waits until the window has taken the control for the hovered one.
  bool HoverOver(ui::Control* control) {
    const RECT rc = control->GetPos();
    POINT point = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ClientToScreen(hwnd_, &point);
    SetCursorPos(point.x, point.y);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof(input));
    return window_test::PumpUntil([&] { return window_.GetHoverControl() == control; });
  }

  // Declared before the window, which deletes its controls as it goes: their
  // last events (a mouse leaving, their destruction) still reach these.
  window_test::EventLog log_;
  int rowsDestroyed_ = 0;
  TestWindow window_{L"PexoCardListTest"};
  HWND hwnd_ = nullptr;
  Settings saved_;
};

// The row under the cursor goes with the old source, whether the list makes it
// again in place or drops it: each goes once, and the row then at the cursor
// takes the hover. It runs first and leaves the cursor where the next tests'
// windows open, so that they too run with the mouse over them.
TEST_F(CardListTest, RowsUnderTheCursorGoOnceWhenTheSourceChanges) {
  auto* list = Build<ui::SearchListBox>(
      L"<Window><VBox><SearchListBox name=\"results\" height=\"300\"/></VBox></Window>", L"results", 0);
  ASSERT_NE(list, nullptr);
  auto maker = [this](const wchar_t* prefix) {
    return [this, prefix](int index) -> ui::Control* {
      auto* row = new ui::ListContainerElement;
      row->SetFixedHeight(30);
      row->SetName(prefix + std::to_wstring(index));
      row->AttachEvent(ui::destroy, [this](ui::EventArgs*) {
        ++rowsDestroyed_;
        return true;
      });
      return row;
    };
  };
  list->SetItemSource(100, maker(L"a"));
  PaintNow(hwnd_);
  ASSERT_EQ(list->GetCount(), 10);
  // The list hears its rows' mouse events, which the log keeps past the test.
  log_.Attach(list);

  // A row made again in place, under the cursor: the odd rows go.
  ASSERT_TRUE(HoverOver(list->GetItemAt(3)));
  list->ReplaceItemSource(50, maker(L"b"), [](ui::Control* row, int index) {
    if (index % 2) return false;
    row->SetName(L"b" + std::to_wstring(index));
    return true;
  });
  ASSERT_TRUE(window_test::PumpUntil([&] { return rowsDestroyed_ >= 5; }));
  PaintNow(hwnd_);
  ASSERT_TRUE(HoverOver(list->GetItemAt(3)));
  EXPECT_EQ(list->GetItemAt(3)->GetName(), L"b3");

  // A kept row under the cursor, then a smaller source that drops it.
  ASSERT_TRUE(HoverOver(list->GetItemAt(8)));
  list->ReplaceItemSource(3, maker(L"c"), [](ui::Control*, int) { return false; });
  ASSERT_EQ(list->GetCount(), 3);
  ASSERT_TRUE(window_test::PumpUntil([&] { return rowsDestroyed_ >= 15; }));
  PaintNow(hwnd_);
  ASSERT_TRUE(HoverOver(list->GetItemAt(1)));
  EXPECT_EQ(list->GetItemAt(1)->GetName(), L"c1");
  EXPECT_EQ(rowsDestroyed_, 15);
}

TEST_F(CardListTest, GroupStripTakesTheHeightOfItsRowsAndAtLeastOne) {
  GetSettings().nGroupWidth = 72;
  GetSettings().bAutoGroupWidth = false;
  struct Case {
    int groups;
    int height;
  };
  // 300 pixels hold four 72-pixel groups (73 with the gap) in a row.
  for (Case c : {Case{0, 30}, Case{1, 30}, Case{4, 30}, Case{5, 61}, Case{7, 61}, Case{9, 92}}) {
    ui::HCardGroup* strip = BuildStrip(c.groups);
    ASSERT_NE(strip, nullptr) << c.groups;
    EXPECT_EQ(StripHeight(), c.height) << c.groups << " groups";
    EXPECT_EQ(strip->GetCardLayout()->GetItemSize().cx, 72);
    // An empty strip must not make its parent stretch over the window.
    EXPECT_EQ(window_.FindControlByName(L"strip")->GetHeight(), c.height) << c.groups << " groups";
    EXPECT_GT(window_.FindControlByName(L"rest")->GetHeight(), 0);
  }
}

// Rows past half the window: a strip that can scroll stops there in whole rows and
// scrolls a chosen group into view; without a bar every row stays reachable.
TEST_F(CardListTest, GroupStripWithABarStopsAtHalfTheWindowAndWithoutOneKeepsEveryRow) {
  GetSettings().nGroupWidth = 72;
  GetSettings().bAutoGroupWidth = false;
  ASSERT_NE(BuildStrip(40), nullptr);
  EXPECT_EQ(StripHeight(), 309) << "ten rows, no bar to reach a cut one";

  ui::HCardGroup* strip = Build<ui::HCardGroup>(
      L"<Window><VBox><VBox name=\"strip\" height=\"30\"><HCardGroup name=\"groups\" vscrollbar=\"true\"/></VBox>"
      L"<Control name=\"rest\"/></VBox></Window>",
      L"groups", 40);
  ASSERT_NE(strip, nullptr);
  PaintNow(hwnd_);  // the layout the new parent height asks for
  EXPECT_EQ(StripHeight(), 150) << "five rows of 30 in half of 300";
  EXPECT_EQ(strip->GetHeight(), 150);
  EXPECT_EQ(window_.FindControlByName(L"rest")->GetHeight(), 150);
  EXPECT_EQ(strip->GetScrollRange().cy, 150);
  ASSERT_TRUE(strip->SelectItem(39));
  EXPECT_EQ(strip->GetScrollPos().cy, 150) << "the last group scrolled into view";
  ASSERT_TRUE(strip->SelectItem(2));
  EXPECT_EQ(strip->GetScrollPos().cy, 0);
}

TEST_F(CardListTest, AutomaticGroupWidthFillsTheRowOnlyWhenItemsGetWider) {
  GetSettings().bAutoGroupWidth = true;
  GetSettings().nGroupWidth = 72;
  ui::HCardGroup* strip = BuildStrip(3);
  ASSERT_NE(strip, nullptr);
  EXPECT_EQ(strip->GetCardLayout()->GetItemSize().cx, 99);  // (300 - 3) / 3
  for (int i = 0; i < 3; ++i) EXPECT_EQ(strip->GetItemAt(i)->GetFixedWidth(), 99);
  EXPECT_EQ(strip->GetItemAt(2)->GetFixedHeight(), 30);
  EXPECT_EQ(StripHeight(), 30);

  GetSettings().nGroupWidth = 110;  // three do not fit: they keep 110 and wrap
  strip = BuildStrip(3);
  ASSERT_NE(strip, nullptr);
  EXPECT_EQ(strip->GetCardLayout()->GetItemSize().cx, 110);
  EXPECT_EQ(StripHeight(), 61);

  GetSettings().nGroupWidth = 72;  // an empty strip changes nothing but the row rule
  strip = BuildStrip(0);
  ASSERT_NE(strip, nullptr);
  EXPECT_EQ(strip->GetCardLayout()->GetItemSize().cx, 72);
  EXPECT_EQ(StripHeight(), 30);
}

TEST_F(CardListTest, TagsShareTheColumnWhenEachGetsMoreThan29Pixels) {
  GetSettings().bAutoTagHeight = true;
  struct Case {
    int tags;
    int columnHeight;
    int itemHeight;  // expected
  };
  for (Case c : {Case{4, 200, 49}, Case{8, 200, 20}, Case{3, 91, 20}, Case{0, 200, 0}}) {
    const std::wstring xml = L"<Window><VBox><VTagGroup name=\"tags\" width=\"80\" height=\"" +
                             std::to_wstring(c.columnHeight) + L"\"/></VBox></Window>";
    auto* tags = Build<ui::VTagGroup>(xml, L"tags", c.tags, 20);
    ASSERT_NE(tags, nullptr);
    for (int i = 0; i < c.tags; ++i) EXPECT_EQ(tags->GetItemAt(i)->GetFixedHeight(), c.itemHeight) << c.tags;
  }
  GetSettings().bAutoTagHeight = false;
  auto* tags = Build<ui::VTagGroup>(L"<Window><VBox><VTagGroup name=\"tags\" height=\"200\"/></VBox></Window>",
                                    L"tags", 4, 20);
  ASSERT_NE(tags, nullptr);
  EXPECT_EQ(tags->GetItemAt(0)->GetFixedHeight(), 20);
}

TEST_F(CardListTest, ClickingACardOnlyMovesTheCurrentIndex) {
  auto* cards = Build<ui::HCardListBox>(
      L"<Window><VBox><HCardListBox name=\"cards\" itemsize=\"60,40\"/></VBox></Window>", L"cards", 3);
  ASSERT_NE(cards, nullptr);
  log_.Attach(cards);
  window_test::EventLog& log = log_;

  EXPECT_FALSE(cards->SelectItemByClick(-1));
  EXPECT_FALSE(log.Has(ui::select));
  ASSERT_TRUE(cards->SelectItemByClick(1));
  ASSERT_NE(log.Last(ui::select), nullptr);
  EXPECT_EQ(log.Last(ui::select)->wParam, 1u);
  EXPECT_EQ(log.Last(ui::select)->lParam, -1);
  // The same card again: the event comes again, with equal indexes.
  ASSERT_TRUE(cards->SelectItemByClick(1));
  EXPECT_EQ(log.Count(ui::select), 2);
  EXPECT_EQ(log.Last(ui::select)->wParam, 1u);
  EXPECT_EQ(log.Last(ui::select)->lParam, 1);
  EXPECT_EQ(cards->GetCurSel(), 1);
  // A real click on the third card takes the same road, with Ctrl held too.
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  const RECT third = cards->GetItemAt(2)->GetPos();
  const LPARAM point = MAKELPARAM((third.left + third.right) / 2, (third.top + third.bottom) / 2);
  SendMessageW(hwnd_, WM_MOUSEMOVE, 0, point);
  SendMessageW(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, point);
  SendMessageW(hwnd_, WM_LBUTTONUP, MK_CONTROL, point);
  PumpMessages();
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(log.Count(ui::select), 3);
  EXPECT_EQ(log.Last(ui::select)->wParam, 2u);
  EXPECT_EQ(log.Last(ui::select)->lParam, 1);
  EXPECT_EQ(cards->GetCurSel(), 2);
  // No card is highlighted by a click.
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(static_cast<ui::ListContainerElement*>(cards->GetItemAt(i))->IsSelected()) << i;
  }
}

// A list given a new source keeps the rows of its first view that take the new
// content, makes the others again in place, and drops what the view does not need.
TEST_F(CardListTest, ANewSourceKeepsTheRowsThatTakeItAndMakesTheOthersInPlace) {
  auto* list = Build<ui::SearchListBox>(
      L"<Window><VBox><SearchListBox name=\"results\" height=\"300\"/></VBox></Window>", L"results", 0);
  ASSERT_NE(list, nullptr);
  auto maker = [](const wchar_t* prefix, int failAt = -1) {
    return [prefix, failAt](int index) -> ui::Control* {
      if (index == failAt) return nullptr;
      auto* row = new ui::ListContainerElement;
      row->SetFixedHeight(30);
      row->SetName(prefix + std::to_wstring(index));
      return row;
    };
  };
  list->SetItemSource(100, maker(L"a"));
  PaintNow(hwnd_);
  ASSERT_EQ(list->GetCount(), 10);
  list->SetScrollPos({0, 600});  // the view moves on and rows ahead are built
  PaintNow(hwnd_);
  ASSERT_GT(list->GetCount(), 30);
  ASSERT_TRUE(list->SelectItem(25));
  std::vector<ui::Control*> before;
  for (int i = 0; i < 10; ++i) before.push_back(list->GetItemAt(static_cast<size_t>(i)));
  log_.Attach(list);

  // Even rows take the new content, odd ones do not.
  list->ReplaceItemSource(50, maker(L"b"), [](ui::Control* row, int index) {
    if (index % 2) return false;
    row->SetName(L"b" + std::to_wstring(index));
    return true;
  });
  EXPECT_FALSE(log_.Has(ui::select)) << "no other row is selected while the old ones go";
  EXPECT_EQ(list->GetCurSel(), -1);
  EXPECT_EQ(list->GetTotalItems(), 50);
  ASSERT_EQ(list->GetCount(), 10) << "only the first view is kept";
  for (int i = 0; i < 10; ++i) {
    SCOPED_TRACE(i);
    auto* row = static_cast<ui::ListContainerElement*>(list->GetItemAt(static_cast<size_t>(i)));
    EXPECT_EQ(row->GetName(), L"b" + std::to_wstring(i));
    EXPECT_EQ(row->GetIndex(), i);
    EXPECT_FALSE(row->IsSelected());
    EXPECT_EQ(row == before[static_cast<size_t>(i)], i % 2 == 0);
  }
  // The rest come from the new maker as the list scrolls.
  ASSERT_TRUE(list->EnsureVisible(49));
  EXPECT_EQ(list->GetCount(), 50);
  EXPECT_EQ(list->GetItemAt(49)->GetName(), L"b49");

  // A row that cannot be made ends the list there; a smaller source drops the rest.
  list->SetScrollPos({0, 0});
  PaintNow(hwnd_);
  list->ReplaceItemSource(50, maker(L"c", 5), [](ui::Control*, int) { return false; });
  EXPECT_EQ(list->GetCount(), 5);
  EXPECT_EQ(list->GetTotalItems(), 5);
  list->ReplaceItemSource(3, maker(L"d"), [](ui::Control*, int) { return false; });
  EXPECT_EQ(list->GetTotalItems(), 3);
  EXPECT_EQ(list->GetItemAt(2)->GetName(), L"d2");
}

TEST_F(CardListTest, ANewSourceIsBuiltFromTheTopHoweverFarTheOldOneWasScrolled) {
  auto* list = Build<ui::SearchListBox>(
      L"<Window><VBox><SearchListBox name=\"results\" height=\"300\" vscrollbar=\"true\"/></VBox></Window>", L"results", 0);
  ASSERT_NE(list, nullptr);
  int made = 0;
  auto maker = [&made](int) -> ui::Control* {
    ++made;
    auto* row = new ui::ListContainerElement;
    row->SetFixedHeight(30);
    return row;
  };
  auto scrollToTheEnd = [&] {
    list->SetItemSource(4000, maker);
    PaintNow(hwnd_);
    ASSERT_TRUE(list->SelectItem(3999));
    PaintNow(hwnd_);
    ASSERT_TRUE(list->EnsureVisible(3999));
    PaintNow(hwnd_);
    ASSERT_EQ(list->GetCount(), 4000);
    ASSERT_GT(list->GetScrollPos().cy, 100000) << "range " << list->GetScrollRange().cy;
  };
  // A view's worth of rows (10 of 30 pixels in 300) and the lines built ahead as it scrolls.
  const int aView = 10 + 32;
  for (bool replace : {true, false}) {
    SCOPED_TRACE(replace ? "ReplaceItemSource" : "SetItemSource");
    ASSERT_NO_FATAL_FAILURE(scrollToTheEnd());
    made = 0;
    if (replace) {
      list->ReplaceItemSource(3900, maker, [](ui::Control*, int) { return false; });
    } else {
      list->ScrollToTop();  // a new source, not the old one refreshed
      list->SetItemSource(3900, maker);
    }
    EXPECT_EQ(list->GetScrollPos().cy, 0);
    PaintNow(hwnd_);
    EXPECT_EQ(list->GetScrollPos().cy, 0) << "the view is back at the top after the layout";
    EXPECT_LE(made, aView) << "rows were made down to the old scroll position";
    EXPECT_EQ(list->GetTotalItems(), 3900);
    // The list still reaches its end as a list that held them all.
    ASSERT_TRUE(list->EnsureVisible(3899));
    EXPECT_EQ(list->GetCount(), 3900);
  }
}

}  // namespace
