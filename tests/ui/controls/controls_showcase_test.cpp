// A window built from the embedded test skin with labels, buttons, check boxes,
// two option groups and a list of 1 000 items with a vertical scroll bar,
// driven by real mouse and key messages; its picture is saved for people (to docs/ when asked).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "tests/ui/controls/control_window.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/button.h"
#include "ui/controls/check_box.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/controls/list_container_element.h"
#include "ui/controls/option.h"
#include "ui/controls/stock_controls.h"
#include "ui/core/scroll_bar.h"
#include "ui/core/window_impl_base.h"

namespace {

using window_test::PumpFor;
using window_test::PumpMessages;

constexpr int kItems = 1000;
constexpr int kRowHeight = 24;

class ControlsWindow : public ui::WindowImplBase {
 public:
  std::wstring GetWindowClassName() const override { return L"PexoControlsShowcase"; }
  std::wstring GetSkinFolder() override { return L"test"; }
  std::wstring GetSkinFile() override { return L"controls.xml"; }
};

class ControlsShowcaseTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ui::RegisterStockControls();
    ASSERT_TRUE(ui::UiGlobals::OpenSkinZip(201, L"SKIN", PEXO_SKIN_PASSWORD));
    ui::UiGlobals::Startup(L"skin\\", nullptr, false, L"gray", L"lang\\zh_CN");
  }
  static void TearDownTestSuite() { ui::UiGlobals::Shutdown(); }

  void SetUp() override {
    window_ = new ControlsWindow;
    hwnd_ = window_->Create(nullptr, L"Pexo", WS_POPUP, 0, false, RECT{40, 40, 600, 480});
    ASSERT_NE(hwnd_, nullptr);
    ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    list_ = Find<ui::ListBox>(L"list");
    ASSERT_NE(list_, nullptr);
    for (int i = 0; i < kItems; ++i) {
      auto* item = new ui::ListContainerElement;
      item->SetFixedHeight(kRowHeight, false);
      item->SetAttribute(L"text", L"第 " + std::to_wstring(i + 1) + L" 项  item " + std::to_wstring(i + 1));
      item->SetAttribute(L"textpadding", L"10,0,10,0");
      item->SetAttribute(L"normaltextcolor", L"textdefaultcolor");
      item->SetAttribute(L"hotcolor", L"row_hot");
      item->SetAttribute(L"selectednormalcolor", L"row_sel");
      item->SetAttribute(L"selectedhotcolor", L"row_sel");
      item->SetAttribute(L"borderround", L"4,4");
      list_->Add(item);
    }
    list_->AttachEvent(ui::select, [this](ui::EventArgs* e) {
      selects_.emplace_back(static_cast<int>(e->wParam), static_cast<int>(e->lParam));
      return true;
    });
    window_test::PaintNow(hwnd_);
    PumpFor(300);  // the fades of the first paint
    window_test::PaintNow(hwnd_);
  }
  void TearDown() override {
    controls_test::SetModifiers(false, false);
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    PumpMessages();
  }

  template <typename T>
  T* Find(const wchar_t* name) {
    return dynamic_cast<T*>(window_->FindControlByName(name));
  }

  void Post(UINT message, WPARAM wParam, int x, int y) {
    POINT p = {x, y};
    ClientToScreen(hwnd_, &p);
    if (message != WM_MOUSEWHEEL) SetCursorPos(p.x, p.y);
    PostMessageW(hwnd_, message, wParam, message == WM_MOUSEWHEEL ? MAKELPARAM(p.x, p.y) : MAKELPARAM(x, y));
    PumpMessages();
  }
  void Click(POINT at) {
    Post(WM_MOUSEMOVE, 0, at.x, at.y);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, at.x, at.y);
    Post(WM_LBUTTONUP, 0, at.x, at.y);
  }
  static POINT Centre(const RECT& rc) { return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }
  void ClickControl(const wchar_t* name) { Click(Centre(window_->FindControlByName(name)->GetPos())); }
  // The centre of an item as it shows now (the list scrolls its content).
  POINT ItemPoint(int index) {
    POINT at = Centre(list_->GetItemAt(static_cast<size_t>(index))->GetPos());
    at.y -= list_->GetScrollPos().cy;
    return at;
  }
  void Key(WPARAM key) {
    PostMessageW(hwnd_, WM_KEYDOWN, key, 0);
    PostMessageW(hwnd_, WM_KEYUP, key, 0);
    PumpMessages();
  }
  std::vector<int> Selected() {
    std::vector<int> out;
    for (int i = list_->GetNextSelected(-1); i >= 0; i = list_->GetNextSelected(i)) out.push_back(i);
    return out;
  }
  int ScrollY() { return list_->GetScrollPos().cy; }

  ControlsWindow* window_ = nullptr;
  HWND hwnd_ = nullptr;
  ui::ListBox* list_ = nullptr;
  std::vector<std::pair<int, int>> selects_;
};

TEST_F(ControlsShowcaseTest, TextControlsShowSkinAndLanguageTextAndAnswerClicksAndKeys) {
  EXPECT_EQ(Find<ui::LabelTemplate<ui::Control>>(L"greeting")->GetText(), L"中文标签：你好，世界");
  EXPECT_EQ(Find<ui::LabelTemplate<ui::Control>>(L"ok_text")->GetText(), L"确定");
  EXPECT_EQ(Find<ui::LabelTemplate<ui::Control>>(L"app_title")->GetText(), L"Pexo 快捷启动");

  auto* ok = Find<ui::ButtonTemplate<ui::Control>>(L"ok");
  auto* cancel = Find<ui::ButtonTemplate<ui::Control>>(L"cancel");
  ASSERT_TRUE(ok && cancel);
  EXPECT_EQ(ok->GetText(), L"确定");
  int clicks = 0;
  ok->AttachClick([&clicks](ui::EventArgs*) { return ++clicks, true; });
  cancel->AttachClick([&clicks](ui::EventArgs*) { return clicks += 10, true; });
  ClickControl(L"ok");
  window_->SetFocusControl(cancel);
  Key(VK_SPACE);
  EXPECT_EQ(clicks, 11);

  auto* autorun = Find<ui::CheckBoxTemplate<ui::Control>>(L"autorun");
  auto* topmost = Find<ui::CheckBoxTemplate<ui::Control>>(L"topmost");
  ASSERT_TRUE(autorun && topmost);
  EXPECT_FALSE(autorun->IsSelected());
  EXPECT_TRUE(topmost->IsSelected());
  ClickControl(L"autorun");
  ClickControl(L"topmost");
  EXPECT_TRUE(autorun->IsSelected());
  EXPECT_FALSE(topmost->IsSelected());

  auto* small = Find<ui::OptionTemplate<ui::Control>>(L"size_small");
  auto* large = Find<ui::OptionTemplate<ui::Control>>(L"size_large");
  auto* byName = Find<ui::OptionTemplate<ui::Control>>(L"order_name");
  auto* byRuns = Find<ui::OptionTemplate<ui::Control>>(L"order_runs");
  ASSERT_TRUE(small && large && byName && byRuns);
  EXPECT_TRUE(large->IsSelected());
  EXPECT_TRUE(byName->IsSelected());
  ClickControl(L"size_small");
  EXPECT_TRUE(small->IsSelected());
  EXPECT_FALSE(large->IsSelected());
  EXPECT_TRUE(byName->IsSelected());  // the other group is untouched
  ClickControl(L"order_runs");
  EXPECT_TRUE(byRuns->IsSelected());
  EXPECT_FALSE(byName->IsSelected());
  EXPECT_TRUE(small->IsSelected());
}

TEST_F(ControlsShowcaseTest, TheListSelectsByMouseKeysAndWheelAndScrollsToTheSelection) {
  ui::ScrollBar* bar = list_->GetVerticalScrollBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->IsVisible());
  const int page = list_->GetPos().bottom - list_->GetPos().top;
  EXPECT_GT(list_->GetScrollRange().cy, kItems * kRowHeight - page - 50);

  Click(ItemPoint(1));
  controls_test::SetModifiers(true, false);
  Click(ItemPoint(3));
  controls_test::SetModifiers(false, true);
  Click(ItemPoint(5));
  controls_test::SetModifiers(false, false);
  EXPECT_EQ(Selected(), (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(selects_, (std::vector<std::pair<int, int>>{{1, -1}, {3, 1}, {5, 3}}));

  // Keys reduce the selection to one item and keep it in view.
  Click(ItemPoint(2));
  Key(VK_DOWN);
  EXPECT_EQ(Selected(), (std::vector<int>{3}));
  Key(VK_END);
  EXPECT_EQ(list_->GetCurSel(), kItems - 1);
  EXPECT_EQ(ScrollY(), list_->GetScrollRange().cy);
  Key(VK_UP);
  EXPECT_EQ(list_->GetCurSel(), kItems - 2);
  Key(VK_HOME);
  EXPECT_EQ(list_->GetCurSel(), 0);
  EXPECT_EQ(ScrollY(), 0);

  // The wheel scrolls the list (animated) without changing the selection.
  const POINT inside = ItemPoint(2);
  Post(WM_MOUSEMOVE, 0, inside.x, inside.y);
  Post(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), inside.x, inside.y);
  EXPECT_TRUE(window_test::PumpUntil([&] { return ScrollY() > 0; }, 5000));
  EXPECT_EQ(list_->GetCurSel(), 0);
}

TEST_F(ControlsShowcaseTest, TheScrollBarScrollsByArrowsTrackAndThumb) {
  ui::ScrollBar* bar = list_->GetVerticalScrollBar();
  ASSERT_NE(bar, nullptr);
  const RECT down = bar->GetButton2Rect();
  const RECT thumb = bar->GetThumbRect();
  ASSERT_GT(down.bottom, down.top);
  ASSERT_GT(thumb.bottom, thumb.top);
  // 1 000 rows give the longest range: the thumb keeps its minimum length.
  EXPECT_EQ(thumb.bottom - thumb.top, bar->GetThumbMinLength());

  // One press on the down arrow scrolls one step; holding it repeats.
  const POINT arrow = Centre(down);
  Post(WM_MOUSEMOVE, 0, arrow.x, arrow.y);
  Post(WM_LBUTTONDOWN, MK_LBUTTON, arrow.x, arrow.y);
  EXPECT_TRUE(window_test::PumpUntil([&] { return ScrollY() > 0; }));
  PumpFor(150);
  const int afterOneStep = ScrollY();
  // The repeat starts after five 50 ms ticks and goes on while the button is held.
  // A window of another program on the shared display that takes the focus ends
  // the hold (as it should); the arrow is then pressed once more.
  const auto repeated = [&] { return ScrollY() > afterOneStep + 2 * ui::ScrollableBox::kDefaultScrollUnit; };
  bool repeatedWhileHeld = window_test::PumpUntil(repeated, 5000);
  for (int retry = 0; !repeatedWhileHeld && retry < 2 && bar->GetButton2State() != ui::kControlStatePushed; ++retry) {
    Post(WM_LBUTTONDOWN, MK_LBUTTON, arrow.x, arrow.y);
    repeatedWhileHeld = window_test::PumpUntil(repeated, 5000);
  }
  EXPECT_TRUE(repeatedWhileHeld);
  Post(WM_LBUTTONUP, 0, arrow.x, arrow.y);
  PumpFor(300);  // the last animated step ends
  const int held = ScrollY();
  EXPECT_NE(bar->GetButton2State(), ui::kControlStatePushed);

  // A click on the track below the thumb pages down.
  const RECT thumbNow = bar->GetThumbRect();
  const POINT track = {(thumbNow.left + thumbNow.right) / 2, (thumbNow.bottom + down.top) / 2};
  Click(track);
  EXPECT_TRUE(window_test::PumpUntil([&] { return ScrollY() >= held + list_->GetPageHeight() - 1; }, 5000));

  // Dragging the thumb moves the content by the range over the free track.
  const int beforeDrag = ScrollY();
  const RECT grip = bar->GetThumbRect();
  const POINT from = Centre(grip);
  Post(WM_MOUSEMOVE, 0, from.x, from.y);
  Post(WM_LBUTTONDOWN, MK_LBUTTON, from.x, from.y);
  EXPECT_EQ(bar->GetThumbState(), ui::kControlStatePushed);
  Post(WM_MOUSEMOVE, MK_LBUTTON, from.x, from.y + 60);
  EXPECT_TRUE(window_test::PumpUntil([&] { return ScrollY() > beforeDrag + 1000; }, 5000));
  // Past the end the position stops at the range.
  Post(WM_MOUSEMOVE, MK_LBUTTON, from.x, from.y + 2000);
  EXPECT_TRUE(window_test::PumpUntil([&] { return ScrollY() == list_->GetScrollRange().cy; }, 5000));
  Post(WM_LBUTTONUP, 0, from.x, from.y + 2000);
  EXPECT_NE(bar->GetThumbState(), ui::kControlStatePushed);
  const RECT atEnd = bar->GetThumbRect();
  EXPECT_EQ(atEnd.bottom, down.top);
}

TEST_F(ControlsShowcaseTest, ThePictureIsSavedForTheDocumentation) {
  list_->SelectItem(2);
  Find<ui::CheckBoxTemplate<ui::Control>>(L"autorun")->Selected(true, false);
  window_test::PaintNow(hwnd_);
  PumpFor(300);
  window_test::PaintNow(hwnd_);
  const std::wstring picture = pexo_test::PictureFolder() + L"controls_showcase.png";
  ASSERT_TRUE(window_test::SaveWindowPng(*window_, picture));
  EXPECT_GT(pexo_test::ReadFileBytes(picture).size(), 2000u);
}

}  // namespace
