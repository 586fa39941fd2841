// Message routing: real mouse, keyboard, focus and notification messages posted
// to a window become the events its controls receive.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <thread>

#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/core/box.h"
#include "ui/core/text_entry_traits.h"

namespace {

using window_test::ClientPoint;
using window_test::EventLog;
using window_test::PumpMessages;
using window_test::ScreenPoint;
using window_test::TestWindow;

::testing::Environment* const gdiplus =
    ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

// A 300 x 200 window whose root box holds two 100 x 50 controls side by side:
// `left` at (0, 0) and `right` at (150, 0). Both are tab stops.
class WindowInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hwnd = window.CreatePlain(300, 200);
    root = new ui::Box(nullptr);
    left = new ui::Control;
    right = new ui::Control;
    left->SetName(L"left");
    right->SetName(L"right");
    root->Add(left);
    root->Add(right);
    window.AttachRoot(root);
    window_test::PaintNow(hwnd);  // first layout
    root->SetPos(RECT{0, 0, 300, 200});
    left->SetPos(RECT{0, 0, 100, 50});
    right->SetPos(RECT{150, 0, 250, 50});
    leftLog.Attach(left);
    rightLog.Attach(right);
    rootLog.Attach(root);
  }
  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }

  void Post(UINT message, WPARAM wParam, LPARAM lParam) { window_test::PostAndPump(hwnd, message, wParam, lParam); }

  // The logs outlive the window: its controls report their destruction to them.
  EventLog leftLog, rightLog, rootLog;
  TestWindow window;
  HWND hwnd = nullptr;
  ui::Box* root = nullptr;
  ui::Control* left = nullptr;
  ui::Control* right = nullptr;
};

TEST_F(WindowInputTest, ClickGoesToTheControlUnderTheMouse) {
  Post(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(20, 20));
  EXPECT_EQ(window.GetPushedControl(), left);
  EXPECT_EQ(GetCapture(), hwnd);
  Post(WM_LBUTTONUP, 0, ClientPoint(22, 21));
  EXPECT_TRUE(leftLog.Has(ui::buttondown));
  EXPECT_TRUE(leftLog.Has(ui::buttonup));
  EXPECT_FALSE(rightLog.Has(ui::buttondown));
  EXPECT_EQ(window.GetPushedControl(), nullptr);
  EXPECT_NE(GetCapture(), hwnd);
  const ui::EventArgs* up = leftLog.Last(ui::buttonup);
  ASSERT_NE(up, nullptr);
  EXPECT_EQ(up->ptMouse.x, 22);
  EXPECT_EQ(up->ptMouse.y, 21);
  EXPECT_EQ(up->pSender, left);
  // The button takes the focus with the press.
  EXPECT_EQ(window.GetFocusControl(), left);
}

TEST_F(WindowInputTest, ReleaseOutsideTheWindowStillReachesThePressedControl) {
  Post(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(160, 10));
  Post(WM_LBUTTONUP, 0, ClientPoint(-50, 400));
  EXPECT_TRUE(rightLog.Has(ui::buttonup));
  EXPECT_EQ(window.GetLastMousePos().x, -50);
}

TEST_F(WindowInputTest, ClickOnEmptySpaceOnlyMovesTheLastMousePosition) {
  root->SetMouseEnabled(false);  // nothing is hit at all
  Post(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(120, 150));
  Post(WM_LBUTTONUP, 0, ClientPoint(120, 150));
  EXPECT_TRUE(leftLog.types.empty());
  EXPECT_TRUE(rightLog.types.empty());
  EXPECT_EQ(window.GetPushedControl(), nullptr);
  EXPECT_EQ(window.GetLastMousePos().x, 120);
  EXPECT_EQ(window.GetLastMousePos().y, 150);
}

TEST_F(WindowInputTest, DoubleClickBecomesDoubleClickWithoutMovingTheFocus) {
  Post(WM_LBUTTONDBLCLK, MK_LBUTTON, ClientPoint(20, 20));
  EXPECT_TRUE(leftLog.Has(ui::doubleclick));
  EXPECT_EQ(window.GetFocusControl(), nullptr);
  Post(WM_LBUTTONUP, 0, ClientPoint(20, 20));
}

TEST_F(WindowInputTest, HoverEntersAndLeavesControls) {
  Post(WM_MOUSEMOVE, 0, ClientPoint(10, 10));
  EXPECT_EQ(window.GetHoverControl(), left);
  EXPECT_EQ(leftLog.Count(ui::mouseenter), 1);
  EXPECT_TRUE(leftLog.Has(ui::mousemove));
  Post(WM_MOUSEMOVE, 0, ClientPoint(12, 10));
  EXPECT_EQ(leftLog.Count(ui::mouseenter), 1);
  Post(WM_MOUSEMOVE, 0, ClientPoint(160, 10));
  EXPECT_TRUE(leftLog.Has(ui::mouseleave));
  EXPECT_EQ(rightLog.Count(ui::mouseenter), 1);
  EXPECT_EQ(window.GetHoverControl(), right);
  EXPECT_EQ(right->GetState(), ui::kControlStateHot);
  EXPECT_EQ(left->GetState(), ui::kControlStateNormal);
}

// Records the mouse moves the window sends itself.
class MoveFilter : public ui::IUIMessageFilter {
 public:
  LRESULT MessageHandler(UINT message, WPARAM, LPARAM lParam, bool& handled) override {
    if (message != WM_MOUSEMOVE) return 0;
    moves.push_back(lParam);
    handled = true;  // ignored for mouse moves: the translation still runs
    return 0;
  }
  std::vector<LPARAM> moves;
};

// Adds a filter for the scope of a test.
class ScopedFilter {
 public:
  ScopedFilter(ui::Window& window, ui::IUIMessageFilter* filter) : window_(window), filter_(filter) {
    window_.AddMessageFilter(filter_);
  }
  ~ScopedFilter() { window_.RemoveMessageFilter(filter_); }

 private:
  ui::Window& window_;
  ui::IUIMessageFilter* filter_;
};

TEST_F(WindowInputTest, MouseLeaveRecomputesHoverOnlyWhileTracking) {
  MoveFilter filter;
  ScopedFilter scoped(window, &filter);
  Post(WM_MOUSEMOVE, 0, ClientPoint(10, 10));  // arms tracking
  ASSERT_EQ(window.GetHoverControl(), left);
  auto leaveMoves = [&] {
    return std::count(filter.moves.begin(), filter.moves.end(), static_cast<LPARAM>(-1));
  };
  SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(leaveMoves(), 1);
  EXPECT_TRUE(leftLog.Has(ui::mouseleave));
  EXPECT_EQ(window.GetHoverControl(), nullptr);
  // Tracking is off now: a second leave sends nothing.
  SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(leaveMoves(), 1);
}

// A thumb dragged past the window's edge: the leave ends the hover, but the
// control that holds the button is not moved to the leave's (-1, -1).
TEST_F(WindowInputTest, APressedControlKeepsThePointersLastPlaceWhenThePointerLeaves) {
  Post(WM_MOUSEMOVE, 0, ClientPoint(10, 10));  // arms tracking
  Post(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(20, 20));
  Post(WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(40, 30));
  ASSERT_EQ(window.GetPushedControl(), left);
  SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(window.GetHoverControl(), nullptr);
  const ui::EventArgs* move = leftLog.Last(ui::mousemove);
  ASSERT_NE(move, nullptr);
  EXPECT_EQ(move->ptMouse.x, 40);
  EXPECT_EQ(move->ptMouse.y, 30);
  EXPECT_EQ(window.GetPushedControl(), left);
  Post(WM_LBUTTONUP, 0, ClientPoint(40, 30));
  EXPECT_TRUE(leftLog.Has(ui::buttonup));
}

TEST_F(WindowInputTest, TrackingAndRoutingFlagsWrittenFromAnotherThreadTakeEffect) {
  Post(WM_MOUSEMOVE, 0, ClientPoint(10, 10));
  ASSERT_TRUE(window.IsMouseTracking());
  // The slide timer's thread clears tracking; the next move arms it again.
  std::thread([&] { window.SetMouseTracking(false); }).join();
  EXPECT_FALSE(window.IsMouseTracking());
  Post(WM_MOUSEMOVE, 0, ClientPoint(20, 10));
  EXPECT_TRUE(window.IsMouseTracking());

  // While routing is suspended the controls hear nothing of the window's messages.
  std::thread([&] { window.SetRoutingSuspended(true); }).join();
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(20, 20));
  SendMessageW(hwnd, WM_LBUTTONUP, 0, ClientPoint(20, 20));
  EXPECT_FALSE(leftLog.Has(ui::buttondown));
  std::thread([&] { window.SetRoutingSuspended(false); }).join();
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(20, 20));
  EXPECT_TRUE(leftLog.Has(ui::buttondown));
  SendMessageW(hwnd, WM_LBUTTONUP, 0, ClientPoint(20, 20));
  EXPECT_FALSE(window.IsMouseCaptured()) << "the window releases the capture it took on the press";
}

// A filter that swallows one message.
class SwallowFilter : public ui::IUIMessageFilter {
 public:
  explicit SwallowFilter(UINT message) : message_(message) {}
  LRESULT MessageHandler(UINT message, WPARAM, LPARAM, bool& handled) override {
    if (message == message_) {
      handled = true;
      return 77;
    }
    return 0;
  }

 private:
  UINT message_;
};

TEST_F(WindowInputTest, MessageFiltersRunBeforeTheTranslation) {
  SwallowFilter filter(WM_LBUTTONDOWN);
  ScopedFilter scoped(window, &filter);
  EXPECT_EQ(SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(20, 20)), 77);
  EXPECT_FALSE(leftLog.Has(ui::buttondown));
}

TEST_F(WindowInputTest, KeysGoToTheFocusControl) {
  window.SetFocusControl(right);
  ASSERT_EQ(window.GetFocusControl(), right);
  EXPECT_TRUE(rightLog.Has(ui::setfocus));
  Post(WM_KEYDOWN, 'A', 0);
  Post(WM_CHAR, L'a', 0);
  Post(WM_KEYUP, 'A', 0);
  const ui::EventArgs* down = rightLog.Last(ui::keydown);
  ASSERT_NE(down, nullptr);
  EXPECT_EQ(down->chKey, L'A');
  const ui::EventArgs* typed = rightLog.Last(ui::char_);
  ASSERT_NE(typed, nullptr);
  EXPECT_EQ(typed->chKey, L'a');
  EXPECT_TRUE(rightLog.Has(ui::keyup));
  EXPECT_FALSE(leftLog.Has(ui::keydown));
}

TEST_F(WindowInputTest, FocusMovesWithKillAndSetFocusEvents) {
  window.SetFocusControl(left);
  window.SetFocusControl(right);
  EXPECT_TRUE(leftLog.Has(ui::killfocus));
  EXPECT_TRUE(rightLog.Has(ui::setfocus));
  // Hidden and disabled controls do not take the focus.
  left->SetEnabled(false);
  window.SetFocusControl(left);
  EXPECT_EQ(window.GetFocusControl(), nullptr);
  window.SetFocusControl(nullptr);
}

TEST_F(WindowInputTest, TabCyclesThroughTabStopsAndWraps) {
  window.SetFocusControl(left);
  Post(WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(window.GetFocusControl(), right);
  Post(WM_KEYDOWN, VK_TAB, 0);  // no tab stop after the last one: wrap to the first
  EXPECT_EQ(window.GetFocusControl(), left);
  window.MoveFocusToNextControl(false);  // before the first: wrap to the last
  EXPECT_EQ(window.GetFocusControl(), right);
  window.MoveFocusToNextControl(false);
  EXPECT_EQ(window.GetFocusControl(), left);
}

// Text-entry behaviour as the text-entry control registers it: `right` is a text
// field; whether it keeps Tab is switchable; selections are recorded.
struct TextEntryProbe {
  static inline ui::Control* field = nullptr;
  static inline bool wantsTab = false;
  static inline std::vector<std::pair<long, long>> selections;
  static void Register(ui::Control* control) {
    field = control;
    wantsTab = false;
    selections.clear();
    ui::TextEntryTraits traits;
    traits.isTextEntry = [](ui::Control* c) { return c == field; };
    traits.wantsTab = [](ui::Control*) { return wantsTab; };
    traits.setSelection = [](ui::Control*, long start, long end) {
      selections.push_back({start, end});
    };
    ui::SetTextEntryTraits(traits);
  }
  ~TextEntryProbe() { ui::SetTextEntryTraits(ui::TextEntryTraits()); }
};

TEST_F(WindowInputTest, TabSelectsTheTextOfATextFieldAndClearsItOnLeaving) {
  TextEntryProbe probe;
  TextEntryProbe::Register(right);
  window.SetFocusControl(left);
  Post(WM_KEYDOWN, VK_TAB, 0);
  ASSERT_EQ(window.GetFocusControl(), right);
  ASSERT_EQ(TextEntryProbe::selections.size(), 1u);
  EXPECT_EQ(TextEntryProbe::selections[0], std::make_pair(0L, -1L));  // all of it
  Post(WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(window.GetFocusControl(), left);
  ASSERT_EQ(TextEntryProbe::selections.size(), 2u);
  EXPECT_EQ(TextEntryProbe::selections[1], std::make_pair(-1L, 0L));  // none
}

TEST_F(WindowInputTest, ATextFieldThatKeepsTabKeepsTheFocus) {
  TextEntryProbe probe;
  TextEntryProbe::Register(right);
  TextEntryProbe::wantsTab = true;
  window.SetFocusControl(right);
  Post(WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(window.GetFocusControl(), right);
  EXPECT_FALSE(rightLog.Has(ui::keydown));  // left to the field's own window handling
}

TEST_F(WindowInputTest, TabSkipsControlsThatAreNoTabStops) {
  auto* third = new ui::Control;
  root->Add(third);
  window_test::PaintNow(hwnd);  // lays the tree out again
  third->SetPos(RECT{0, 100, 50, 150});
  right->SetTabStop(false);
  window.SetFocusControl(left);
  window.MoveFocusToNextControl(true);
  EXPECT_EQ(window.GetFocusControl(), third);
}

TEST_F(WindowInputTest, TabBeforeTheFirstLayoutMovesNoFocus) {
  window.SetFocusControl(left);
  window.SetArrange(true);
  window.MoveFocusToNextControl(true);
  EXPECT_EQ(window.GetFocusControl(), left);
}

TEST_F(WindowInputTest, WheelGoesToTheControlUnderTheMouseWithASignedDelta) {
  Post(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), ScreenPoint(hwnd, 170, 20));
  const ui::EventArgs* wheel = rightLog.Last(ui::scrollwheel);
  ASSERT_NE(wheel, nullptr);
  EXPECT_EQ(static_cast<int>(static_cast<INT_PTR>(wheel->wParam)), -120);
  EXPECT_EQ(window.GetLastMousePos().x, 170);
}

TEST_F(WindowInputTest, RightButtonAndContextMenu) {
  left->SetContextMenuUsed(true);
  Post(WM_RBUTTONDOWN, MK_RBUTTON, ClientPoint(20, 20));
  EXPECT_TRUE(leftLog.Has(ui::rbuttondown));
  EXPECT_EQ(window.GetPushedControl(), left);
  // The system answers the release with WM_CONTEXTMENU, which ends the push.
  Post(WM_RBUTTONUP, 0, ClientPoint(20, 20));
  EXPECT_TRUE(leftLog.Has(ui::rbuttonup));
  EXPECT_TRUE(leftLog.Has(ui::menu));
  EXPECT_EQ(window.GetPushedControl(), nullptr);
  // A control that uses no menu passes the request on: nothing reaches "menu".
  rightLog.Clear();
  Post(WM_RBUTTONDOWN, MK_RBUTTON, ClientPoint(160, 20));
  Post(WM_RBUTTONUP, 0, ClientPoint(160, 20));
  EXPECT_FALSE(rightLog.Has(ui::menu));
}

// A control left hot would not see the mouse enter it again (a menu item would
// not open its level): the hover ends on a leave that follows a hover message,
// and when the window hides.
TEST_F(WindowInputTest, HoverEndsOnALeaveAfterHoveringAndWhenTheWindowHides) {
  ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  POINT onLeft = {10, 10};
  ClientToScreen(hwnd, &onLeft);
  SetCursorPos(onLeft.x, onLeft.y);
  Post(WM_MOUSEMOVE, 0, ClientPoint(10, 10));
  ASSERT_EQ(window.GetHoverControl(), left);
  Post(WM_MOUSEHOVER, 0, ClientPoint(10, 10));
  EXPECT_FALSE(window.IsMouseTracking());
  SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(window.GetHoverControl(), nullptr);
  EXPECT_EQ(leftLog.Count(ui::mouseleave), 1);
  EXPECT_EQ(left->GetState(), ui::kControlStateNormal);
  Post(WM_MOUSEMOVE, 0, ClientPoint(10, 10));
  EXPECT_EQ(leftLog.Count(ui::mouseenter), 2);

  ShowWindow(hwnd, SW_HIDE);
  EXPECT_EQ(window.GetHoverControl(), nullptr);
  EXPECT_EQ(leftLog.Count(ui::mouseleave), 2);
  EXPECT_EQ(left->GetState(), ui::kControlStateNormal);
  ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  Post(WM_MOUSEMOVE, 0, ClientPoint(10, 10));
  EXPECT_EQ(leftLog.Count(ui::mouseenter), 3);
  EXPECT_EQ(window.GetHoverControl(), left);
}

TEST_F(WindowInputTest, ClosingReleasesHoverAndPush) {
  Post(WM_MOUSEMOVE, 0, ClientPoint(10, 10));
  Post(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(10, 10));
  leftLog.Clear();
  SendMessageW(hwnd, WM_CLOSE, 0, 0);
  EXPECT_TRUE(leftLog.Has(ui::mouseleave));
  EXPECT_TRUE(leftLog.Has(ui::buttonup));
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(WindowInputTest, SetCursorAsksTheControlUnderTheCursor) {
  POINT onLeft = {30, 30};
  ClientToScreen(hwnd, &onLeft);
  SetCursorPos(onLeft.x, onLeft.y);
  PumpMessages();
  EXPECT_EQ(SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            0);
  EXPECT_TRUE(leftLog.Has(ui::setcursor));
}

TEST_F(WindowInputTest, HoverShowsTheTooltipThroughWideMessagesAndAPressHidesIt) {
  left->SetToolTipText(L"第一行<n>second");
  Post(WM_MOUSEMOVE, 0, ClientPoint(10, 10));
  SendMessageW(hwnd, WM_MOUSEHOVER, 0, ClientPoint(10, 10));
  EXPECT_TRUE(leftLog.Has(ui::mousehover));
  HWND tooltip = window.GetTooltipWindow();
  ASSERT_NE(tooltip, nullptr);
  wchar_t text[256] = {};
  TOOLINFOW info = {};
  info.cbSize = sizeof(info);
  info.uFlags = TTF_IDISHWND;
  info.hwnd = hwnd;
  info.uId = reinterpret_cast<UINT_PTR>(hwnd);
  info.lpszText = text;
  SendMessageW(tooltip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
  EXPECT_STREQ(text, L"第一行\r\nsecond");
  // A press goes ahead of the tip: a menu or dialog it opens is not covered.
  ASSERT_TRUE(IsWindowVisible(tooltip));
  Post(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(10, 10));
  EXPECT_FALSE(IsWindowVisible(tooltip));
  Post(WM_LBUTTONUP, 0, ClientPoint(10, 10));
  // A control without a tooltip text leaves the tooltip alone.
  EXPECT_EQ(SendMessageW(hwnd, WM_MOUSEHOVER, 0, ClientPoint(160, 10)), 0);
}

TEST_F(WindowInputTest, NonPrimaryPointerMessagesAreSwallowed) {
  bool handled = false;
  window.RouteMessage(WM_POINTERDOWN, MAKEWPARAM(5, 0), ClientPoint(10, 10), handled);
  EXPECT_TRUE(handled);
  EXPECT_FALSE(leftLog.Has(ui::pointerdown));
  // A primary pointer that is not a touch or a pen (or whose kind cannot be asked
  // for) is left to the system, which turns it into mouse messages.
  handled = true;
  window.RouteMessage(WM_POINTERDOWN, MAKEWPARAM(1, 0x2000), ClientPoint(10, 10), handled);
  EXPECT_FALSE(handled);
}

TEST_F(WindowInputTest, TouchMessagesPassWhenTouchInputCannotBeRead) {
  bool handled = true;
  window.RouteMessage(WM_TOUCH, 1, 0, handled);  // a null touch handle reads nothing
  EXPECT_FALSE(handled);
  EXPECT_EQ(window.GetPushedControl(), nullptr);
}

TEST_F(WindowInputTest, LosingTheFocusReleasesAControlThatAsksForIt) {
  right->SetButtonUpOnFocusLoss(true);
  Post(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(160, 10));
  ASSERT_EQ(window.GetPushedControl(), right);
  SendMessageW(hwnd, WM_KILLFOCUS, 0, 0);
  EXPECT_TRUE(rightLog.Has(ui::buttonup));
  EXPECT_EQ(window.GetPushedControl(), nullptr);
}

TEST_F(WindowInputTest, ResizingTheWindowTellsTheFocusControl) {
  window.SetFocusControl(left);
  SetWindowPos(hwnd, nullptr, 0, 0, 320, 220, SWP_NOMOVE | SWP_NOZORDER);
  PumpMessages();
  EXPECT_TRUE(leftLog.Has(ui::windowsize));
}

// A child window that records the reflected notifications it receives.
LRESULT CALLBACK ChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= 0x2000 && message < 0x3000) {
    auto* seen = reinterpret_cast<std::vector<UINT>*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (seen) seen->push_back(message);
    return 1234;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST_F(WindowInputTest, ChildNotificationsAreReflectedToTheChild) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = ChildProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PexoReflectChild";
  RegisterClassW(&wc);
  HWND child = CreateWindowExW(0, L"PexoReflectChild", L"", WS_CHILD, 0, 0, 10, 10, hwnd, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(child, nullptr);
  std::vector<UINT> seen;
  SetWindowLongPtrW(child, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&seen));

  EXPECT_EQ(SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED),
                         reinterpret_cast<LPARAM>(child)),
            1234);
  EXPECT_EQ(SendMessageW(hwnd, WM_CTLCOLOREDIT, 0, reinterpret_cast<LPARAM>(child)), 1234);
  NMHDR header = {child, 1, NM_CLICK};
  SendMessageW(hwnd, WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&header));
  EXPECT_EQ(SendMessageW(hwnd, WM_NOTIFY, 1, 0), 0);  // a null header is only swallowed
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], static_cast<UINT>(WM_COMMAND + 0x2000));
  EXPECT_EQ(seen[1], static_cast<UINT>(WM_CTLCOLOREDIT + 0x2000));
  EXPECT_EQ(seen[2], 0x204Eu);
  // A command without a source window is left to the window itself.
  EXPECT_EQ(SendMessageW(hwnd, WM_COMMAND, 1, 0), 0);
  DestroyWindow(child);
}

TEST_F(WindowInputTest, ControlsRemovedInTheirOwnHandlerAreDeletedLater) {
  bool deleted = false;
  auto* doomed = new window_test::ProbeControl(&deleted);
  root->Add(doomed);
  doomed->SetPos(RECT{0, 100, 100, 150});
  doomed->AttachEvent(ui::buttondown, [&](ui::EventArgs*) {
    root->Remove(doomed);
    EXPECT_FALSE(deleted);
    return true;
  });
  Post(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(10, 120));
  EXPECT_TRUE(deleted);
  EXPECT_EQ(window.GetPushedControl(), nullptr);
  Post(WM_LBUTTONUP, 0, ClientPoint(10, 120));
}

}  // namespace
