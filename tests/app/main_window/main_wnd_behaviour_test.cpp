// The main window's behaviour through its messages: summons from a second start,
// the tray, hot keys and the mouse hook; docking and sliding at the top edge;
// closing, also while a dialog of the window runs.
#include <gtest/gtest.h>

#include <string>

#include "app/controls/app_control_factory.h"
#include "app/desktop/mouse_hook.h"
#include "app/desktop/tray_icon.h"
#include "app/main_window/date_line.h"
#include "app/main_window/main_wnd.h"
#include "data/icon_cache.h"
#include "data/link.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "tests/app/support/launcher_test_support.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/stock_controls_registered.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/label.h"

namespace {

using window_test::PumpFor;
using window_test::PumpUntil;

class MainWindowBehaviourTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(ui::UiGlobals::OpenSkinZip(201, L"SKIN", PEXO_SKIN_PASSWORD));
    ui::UiGlobals::Startup(L"skin\\", CreateAppControl, false, L"gray", L"lang\\zh_CN");
  }
  static void TearDownTestSuite() { ui::UiGlobals::Shutdown(); }

  void SetUp() override {
    launcher_test::RemoveStoreFiles();
    Settings& settings = GetSettings();
    settings = Settings();
    settings.nWidth = 300;
    settings.nHeight = 400;
    settings.nPosX = 200;
    settings.nPosY = 150;
    settings.bAutoDock = false;
    settings.bHideNotify = true;
    settings.bShowDate = true;
    SetCursorPos(1200, 1000);
  }

  void TearDown() override {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    PumpFor(50);
    GetLinkStore().Close();
    GetIconCache().Close();
    GetSettings().hMainWnd = nullptr;
  }

  void Open(bool show) {
    window_ = new CMainWnd(GetModuleHandleW(nullptr));
    hwnd_ = window_->Create(nullptr, L"Pexo", WS_POPUP, WS_EX_TOOLWINDOW, false);
    ASSERT_NE(hwnd_, nullptr);
    if (show) ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    PumpFor(100);
  }

  RECT Rect() const {
    RECT r = {};
    GetWindowRect(hwnd_, &r);
    return r;
  }
  bool Visible() const { return IsWindowVisible(hwnd_) != FALSE; }
  std::wstring Label(const wchar_t* name) const {
    auto* label = dynamic_cast<ui::LabelTemplate<ui::Control>*>(window_->FindControlByName(name));
    return label ? label->GetText() : L"<none>";
  }

  CMainWnd* window_ = nullptr;
  HWND hwnd_ = nullptr;
};

TEST_F(MainWindowBehaviourTest, SecondStartTrayAndEscShowAndHideTheWindowWithTheDateLine) {
  Open(false);
  ASSERT_FALSE(Visible());

  PostMessageW(hwnd_, CMainWnd::kShowMessage, 0, 0);  // what a second start posts
  ASSERT_TRUE(PumpUntil([&] { return Visible(); }));
  RECT r = Rect();
  EXPECT_EQ(r.left, 200);
  EXPECT_EQ(r.top, 150);
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  EXPECT_EQ(Label(L"date"), FormatDateLine(now.wYear, now.wMonth, now.wDay, now.wDayOfWeek));

  PostMessageW(hwnd_, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(PumpUntil([&] { return !Visible(); }));

  // The tray menu runs its own loop until a click elsewhere ends it, so a timer
  // clicks outside it once it had time to show (where Wine refuses the menu the
  // foreground it has already closed, and the click lands on nothing).
  static HWND clickTarget;
  clickTarget = hwnd_;
  SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostMessageW(clickTarget, WM_LBUTTONUP, 0, MAKELPARAM(-5, -5));
  });
  PostMessageW(hwnd_, CMainWnd::kTrayMessage, 0, WM_RBUTTONDOWN);
  PumpFor(500);
  EXPECT_FALSE(Visible()) << "a right click opens the tray menu, it does not show the window";
  PostMessageW(hwnd_, CMainWnd::kTrayMessage, 0, WM_LBUTTONDOWN);
  ASSERT_TRUE(PumpUntil([&] { return Visible(); }));

  // A re-created taskbar: the shell windows are looked up again.
  GetSettings().hDesktopWnd = nullptr;
  SendMessageW(hwnd_, TaskbarCreatedMessage(), 0, 0);
  EXPECT_EQ(GetSettings().hDesktopWnd, GetDesktopWindow());

  // A notice shows in "tips" until its timer hides it again.
  window_->ShowNotice(L"特殊标签不能删除");
  EXPECT_EQ(Label(L"tips"), L"特殊标签不能删除");
  ui::Control* tips = window_->FindControlByName(L"tips");
  ASSERT_NE(tips, nullptr);
  EXPECT_TRUE(tips->IsVisible());
  SendMessageW(hwnd_, WM_TIMER, CMainWnd::kTimerNotice, 0);
  EXPECT_FALSE(tips->IsVisible());

  // With the line switched off the label is emptied on the next refresh.
  GetSettings().bShowDate = false;
  SendMessageW(hwnd_, CMainWnd::kRefreshDateMessage, 0, 0);
  EXPECT_EQ(Label(L"date"), L"");
}

TEST_F(MainWindowBehaviourTest, HotKeyAndMouseHookMessagesToggleAndClicksElsewhereHide) {
  Settings& settings = GetSettings();
  settings.nMainHotKey = MakeHotKeyCode(MOD_CONTROL | MOD_ALT, 'Q');
  Open(true);
  ASSERT_TRUE(Visible());

  PostMessageW(hwnd_, WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'Q'));
  ASSERT_TRUE(PumpUntil([&] { return !Visible(); }));
  PostMessageW(hwnd_, WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'Q'));
  ASSERT_TRUE(PumpUntil([&] { return Visible(); }));

  // The hook's middle button: nothing unless switched on; the toggle runs after
  // the hook's call has returned.
  MSLLHOOKSTRUCT event = {};
  SendMessageW(hwnd_, kMouseHookMiddleMessage, WM_MBUTTONDOWN, reinterpret_cast<LPARAM>(&event));
  PumpFor(50);
  EXPECT_TRUE(Visible());
  settings.bMButtonMain = true;
  SendMessageW(hwnd_, kMouseHookMiddleMessage, WM_MBUTTONDOWN, reinterpret_cast<LPARAM>(&event));
  EXPECT_TRUE(Visible()) << "not inside the hook's call";
  ASSERT_TRUE(PumpUntil([&] { return !Visible(); }));
  SendMessageW(hwnd_, kMouseHookMiddleMessage, WM_MBUTTONDOWN, reinterpret_cast<LPARAM>(&event));
  ASSERT_TRUE(PumpUntil([&] { return Visible(); }));

  // A double click on the desktop or taskbar toggles only when one of its settings is on.
  SendMessageW(hwnd_, kMouseHookDoubleClickMessage, WM_LBUTTONUP, reinterpret_cast<LPARAM>(&event));
  PumpFor(50);
  EXPECT_TRUE(Visible());
  settings.bDoubleTaskMain = true;
  SendMessageW(hwnd_, kMouseHookDoubleClickMessage, WM_LBUTTONUP, reinterpret_cast<LPARAM>(&event));
  ASSERT_TRUE(PumpUntil([&] { return !Visible(); }));
  PostMessageW(hwnd_, CMainWnd::kShowMessage, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return Visible(); }));

  // A button going down elsewhere hides it, unless a dialog of the window is open.
  settings.bHideUnhot = true;
  SetCursorPos(1200, 1000);
  {
    CMainWnd::DialogScope dialog(*window_, window_);
    SendMessageW(hwnd_, kMouseHookButtonDownMessage, WM_LBUTTONDOWN, reinterpret_cast<LPARAM>(&event));
    EXPECT_TRUE(Visible());
  }
  SetCursorPos(250, 200);  // inside the window
  SendMessageW(hwnd_, kMouseHookButtonDownMessage, WM_LBUTTONDOWN, reinterpret_cast<LPARAM>(&event));
  EXPECT_TRUE(Visible());
  SetCursorPos(1200, 1000);
  SendMessageW(hwnd_, kMouseHookButtonDownMessage, WM_RBUTTONDOWN, reinterpret_cast<LPARAM>(&event));
  EXPECT_FALSE(Visible());
}

TEST_F(MainWindowBehaviourTest, DockedAtTheTopItSlidesToAStripWhenTheMouseLeavesAndBackWhenTouched) {
  Settings& settings = GetSettings();
  settings.bAutoDock = true;
  settings.nPosX = 300;
  settings.nPosY = 0;
  SetCursorPos(400, 100);  // over the window while the start guard runs
  Open(true);
  const RECT shown = Rect();
  ASSERT_EQ(shown.top, 0);
  ASSERT_EQ(window_->Docking().Edges(), kDockTop);
  const int height = shown.bottom - shown.top;

  SetCursorPos(1200, 1000);
  ASSERT_TRUE(PumpUntil([&] { return Rect().bottom == 1; }, 5000)) << Rect().bottom;
  PumpFor(150);
  RECT out = Rect();
  EXPECT_EQ(out.top, 1 - height);
  EXPECT_EQ(out.left, shown.left);
  EXPECT_TRUE(Visible());
  EXPECT_FALSE(window_->IsRoutingSuspended());

  // Touching the strip brings it back.
  SetCursorPos(400, 0);
  SendMessageW(hwnd_, WM_NCHITTEST, 0, MAKELPARAM(400, 0));
  ASSERT_TRUE(PumpUntil([&] { return Rect().top == 0; }, 5000)) << Rect().top;
  PumpFor(150);
  EXPECT_EQ(Rect().bottom, shown.bottom);
  EXPECT_FALSE(window_->IsRoutingSuspended());

  // A tray click on the slid-out window slides it in and keeps it there until the
  // mouse has been over it.
  SetCursorPos(1200, 1000);
  ASSERT_TRUE(PumpUntil([&] { return Rect().bottom == 1; }, 5000));
  PostMessageW(hwnd_, CMainWnd::kTrayMessage, 0, WM_LBUTTONDOWN);
  ASSERT_TRUE(PumpUntil([&] { return Rect().top == 0; }, 5000));
  // Guarded: the poll does not send it away while the mouse has not been over it.
  EXPECT_TRUE(window_->Docking().StartGuard());
  SendMessageW(hwnd_, WM_TIMER, CMainWnd::kTimerDockPoll, 0);
  EXPECT_FALSE(window_->Docking().HideRequested());
  EXPECT_EQ(Rect().top, 0);

  // Esc hides a docked window at once, without sliding.
  PostMessageW(hwnd_, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(PumpUntil([&] { return !Visible(); }));
  EXPECT_EQ(Rect().top, 0);

  // Docking switched off in the settings stops it; on again starts it.
  settings.bAutoDock = false;
  window_->ApplyDockSettings();
  EXPECT_FALSE(window_->Docking().IsRunning());
  EXPECT_EQ(window_->Docking().Edges(), 0);
  settings.bAutoDock = true;
  window_->ApplyDockSettings();
  EXPECT_TRUE(window_->Docking().IsRunning());
  EXPECT_EQ(window_->Docking().Edges(), kDockTop);
}

TEST_F(MainWindowBehaviourTest, TheCloseButtonHidesADockedWindowAtOnceLikeEsc) {
  Settings& settings = GetSettings();
  settings.nWidth = 388;  // wide enough for every title bar button
  settings.bAutoDock = true;
  settings.nPosX = 300;
  settings.nPosY = 0;
  SetCursorPos(400, 100);  // over the window while the start guard runs
  Open(true);
  const RECT shown = Rect();
  ASSERT_EQ(shown.top, 0);
  ASSERT_EQ(window_->Docking().Edges(), kDockTop);

  // A move of the window begun (its flag set), then the close button clicked.
  SendMessageW(hwnd_, WM_ENTERSIZEMOVE, 0, 0);
  ASSERT_TRUE(window_->Docking().MovingOrSizing());
  ui::Control* close = window_->FindControlByName(L"btn_close");
  ASSERT_NE(close, nullptr);
  window_test::PaintNow(hwnd_);
  const RECT pos = close->GetPos();
  const LPARAM at = MAKELPARAM((pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2);
  POINT screen = {(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2};
  ClientToScreen(hwnd_, &screen);
  SetCursorPos(screen.x, screen.y);
  PostMessageW(hwnd_, WM_MOUSEMOVE, 0, at);
  PostMessageW(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(hwnd_, WM_LBUTTONUP, 0, at);
  ASSERT_TRUE(PumpUntil([&] { return !Visible(); }, 2000)) << "the close button hides the window";
  EXPECT_EQ(Rect().top, 0) << "hidden where it was, without sliding out";
  EXPECT_FALSE(window_->Docking().MovingOrSizing()) << "the move flag is cleared as Esc clears it";
  EXPECT_FALSE(window_->Docking().HideRequested()) << "no slide is pending";
  EXPECT_TRUE(IsWindow(hwnd_)) << "the program keeps running";
}

TEST_F(MainWindowBehaviourTest, NoSummonWorksOverAFullScreenProgramWhenAskedSo) {
  GetSettings().bFullScreenMode = true;
  Open(false);
  window_test::TestWindow game(L"PexoFullScreenGame");
  HWND gameWindow = game.CreatePlain(10, 10);
  ASSERT_NE(gameWindow, nullptr);
  SetWindowPos(gameWindow, HWND_TOP, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
               SWP_SHOWWINDOW);
  SetForegroundWindow(gameWindow);
  if (GetForegroundWindow() != gameWindow) GTEST_SKIP() << "this display gives the test no foreground window";

  PostMessageW(hwnd_, CMainWnd::kShowMessage, 0, 0);
  PostMessageW(hwnd_, CMainWnd::kTrayMessage, 0, WM_LBUTTONDOWN);
  PumpFor(200);
  EXPECT_FALSE(Visible());

  GetSettings().bFullScreenMode = false;
  PostMessageW(hwnd_, CMainWnd::kShowMessage, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return Visible(); }));
  DestroyWindow(gameWindow);
}

TEST_F(MainWindowBehaviourTest, CloseSavesThePlacementPulledOnScreenAndTheIndexesThenQuits) {
  Open(true);
  // Slid out at the left edge.
  SetWindowPos(hwnd_, nullptr, -299, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const std::wstring ini = GetSettings().FilePath();
  DeleteFileW(ini.c_str());
  MSG quit;
  while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }

  SendMessageW(hwnd_, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(hwnd_));
  EXPECT_FALSE(GetLinkStore().IsOpen());
  ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 0u);
  EXPECT_EQ(GetPrivateProfileIntW(L"main", L"nPosX", -1, ini.c_str()), 0);
  EXPECT_EQ(GetPrivateProfileIntW(L"main", L"nPosY", -1, ini.c_str()), 120);
  EXPECT_EQ(GetPrivateProfileIntW(L"main", L"nWidth", -1, ini.c_str()), 300);
  EXPECT_EQ(GetPrivateProfileIntW(L"main", L"nHeight", -1, ini.c_str()), 400);
  EXPECT_EQ(GetPrivateProfileIntW(L"main", L"nCurGroup", -9, ini.c_str()), 0);
  EXPECT_EQ(GetPrivateProfileIntW(L"main", L"nCurTag", -9, ini.c_str()), 0);
}

TEST_F(MainWindowBehaviourTest, CloseWhileADialogRunsEndsTheDialogWithCancelThenCloses) {
  Open(true);
  // A modal dialog of the main window, as the menus open them.
  auto* dialog = new window_test::TestWindow(L"PexoTestDialog");
  ASSERT_NE(dialog->CreatePlain(200, 100, 0, 0, hwnd_), nullptr);
  PostMessageW(hwnd_, WM_CLOSE, 0, 0);  // from outside, while the dialog runs
  PostMessageW(hwnd_, CMainWnd::kTrayMessage, 0, WM_LBUTTONDOWN);
  UINT result = 0;
  {
    CMainWnd::DialogScope scope(*window_, dialog);
    result = dialog->ShowModal();
    EXPECT_TRUE(IsWindow(hwnd_)) << "the window outlives the dialog's loop";
  }
  EXPECT_EQ(result, 2u);
  delete dialog;
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(hwnd_); }));
  EXPECT_FALSE(GetLinkStore().IsOpen());
}

}  // namespace
