#include "app/desktop/mouse_hook.h"

#include <gtest/gtest.h>

#include <vector>

#include "data/settings.h"

namespace {

struct Sent {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

std::vector<Sent>& sent() {
  static std::vector<Sent> messages;
  return messages;
}

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HOTKEY || (message >= 2025 && message <= 2027)) {
    sent().push_back({message, wParam, message == WM_HOTKEY ? lParam : 0});
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND MakeWindow(const wchar_t* className, RECT rect, bool visible) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = &RecordingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = className;
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, className, L"", WS_POPUP, rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                              wc.hInstance, nullptr);
  if (visible) ShowWindow(hwnd, SW_SHOW);
  return hwnd;
}

class MouseHookTest : public testing::Test {
 protected:
  void SetUp() override {
    main_ = MakeWindow(L"PexoHookTestMain", {100, 100, 400, 500}, false);
    Settings& s = GetSettings();
    s = Settings();
    s.hMainWnd = main_;
    ASSERT_TRUE(InstallMouseHook(s));
    sent().clear();
    // Far from every window of the test.
    SetCursorPos(1000, 900);
    // The double-click detector keeps its last release across calls: let it lapse.
    Sleep(310);
  }
  void TearDown() override {
    RemoveMouseHook(GetSettings());
    GetSettings().hMainWnd = nullptr;
    DestroyWindow(main_);
    BYTE keys[256] = {};
    SetKeyboardState(keys);
  }

  static void Event(WPARAM message, DWORD mouseData = 0) {
    MSLLHOOKSTRUCT data = {};
    GetCursorPos(&data.pt);
    data.mouseData = mouseData;
    DesktopMouseHookProc(HC_ACTION, message, reinterpret_cast<LPARAM>(&data));
  }
  static void Click() {
    Event(WM_LBUTTONDOWN);
    Event(WM_LBUTTONUP);
  }
  static int Count(UINT message) {
    int n = 0;
    for (const Sent& s : sent()) n += s.message == message ? 1 : 0;
    return n;
  }

  HWND main_ = nullptr;
};

TEST_F(MouseHookTest, EachUseSendsItsMessageOnlyWhenSwitchedOn) {
  Event(WM_MBUTTONDOWN);
  Event(WM_LBUTTONDOWN);
  Event(WM_RBUTTONDOWN);
  Event(WM_XBUTTONDOWN, XBUTTON1 << 16);
  EXPECT_TRUE(sent().empty());

  Settings& s = GetSettings();
  s.bMButtonMain = true;
  s.bHideUnhot = true;
  Event(WM_MBUTTONDOWN);
  Event(WM_LBUTTONDOWN);
  Event(WM_RBUTTONDOWN);
  ASSERT_EQ(sent().size(), 3u);
  EXPECT_EQ(sent()[0].message, 2025u);
  EXPECT_EQ(sent()[0].wParam, static_cast<WPARAM>(WM_MBUTTONDOWN));
  EXPECT_EQ(sent()[1].message, 2026u);
  EXPECT_EQ(sent()[1].wParam, static_cast<WPARAM>(WM_LBUTTONDOWN));
  EXPECT_EQ(sent()[2].wParam, static_cast<WPARAM>(WM_RBUTTONDOWN));

  // A code other than HC_ACTION is passed on untouched.
  sent().clear();
  MSLLHOOKSTRUCT data = {};
  DesktopMouseHookProc(HC_ACTION + 1, WM_MBUTTONDOWN, reinterpret_cast<LPARAM>(&data));
  EXPECT_TRUE(sent().empty());
}

TEST_F(MouseHookTest, SideButtonsBecomeHotKeysWithTheModifiersHeld) {
  GetSettings().mouseButtonHotKeyInUse = true;
  Event(WM_XBUTTONDOWN, XBUTTON1 << 16);
  Event(WM_XBUTTONDOWN, XBUTTON2 << 16);
  BYTE keys[256] = {};
  keys[VK_CONTROL] = 0x80;
  keys[VK_SHIFT] = 0x80;
  ASSERT_TRUE(SetKeyboardState(keys));
  Event(WM_XBUTTONDOWN, XBUTTON1 << 16);
  Event(WM_XBUTTONDOWN, 7 << 16);  // no such button: virtual key 0
  ASSERT_EQ(sent().size(), 4u);
  EXPECT_EQ(sent()[0].message, static_cast<UINT>(WM_HOTKEY));
  EXPECT_EQ(sent()[0].wParam, 0u);
  EXPECT_EQ(sent()[0].lParam, 5 << 16);
  EXPECT_EQ(sent()[1].lParam, 6 << 16);
  EXPECT_EQ(sent()[2].lParam, MOD_CONTROL | MOD_SHIFT | 5 << 16);
  EXPECT_EQ(sent()[3].lParam, MOD_CONTROL | MOD_SHIFT);
}

TEST_F(MouseHookTest, DoubleClickOnTheDesktopTogglesAndAThirdClickStartsANewPair) {
  // A window of the desktop's class in front stands for the desktop.
  HWND desktop = MakeWindow(L"WorkerW", {0, 0, 1280, 1024}, true);
  SetForegroundWindow(desktop);
  if (GetForegroundWindow() != desktop) {
    DestroyWindow(desktop);
    GTEST_SKIP() << "this display gives the test no foreground window";
  }
  Click();
  Click();
  EXPECT_EQ(Count(2027), 0) << "off unless switched on";

  Sleep(310);
  GetSettings().bDoubleDeskMain = true;
  Click();
  Click();
  EXPECT_EQ(Count(2027), 1);
  Click();  // third quick click: a new first release
  EXPECT_EQ(Count(2027), 1);
  Click();
  EXPECT_EQ(Count(2027), 2);

  // Releases inside the visible main window do not count as a first release.
  Sleep(310);
  ShowWindow(main_, SW_SHOWNOACTIVATE);
  SetForegroundWindow(desktop);
  SetCursorPos(200, 200);
  Click();
  Click();
  EXPECT_EQ(Count(2027), 2);
  DestroyWindow(desktop);
}

TEST_F(MouseHookTest, DoubleClickOnTheTaskbarOutsideTheNotificationArea) {
  HWND taskbar = MakeWindow(L"PexoHookTestTaskbar", {0, 984, 1280, 1024}, true);
  HWND notify = MakeWindow(L"PexoHookTestNotify", {1100, 984, 1280, 1024}, true);
  SetForegroundWindow(taskbar);
  if (GetForegroundWindow() != taskbar) {
    DestroyWindow(taskbar);
    DestroyWindow(notify);
    GTEST_SKIP() << "this display gives the test no foreground window";
  }
  Settings& s = GetSettings();
  s.hTrayWnd = taskbar;
  s.hTrayNotifyWnd = notify;
  s.bDoubleTaskMain = true;
  SetCursorPos(1150, 1000);  // on the notification area
  Click();
  Click();
  EXPECT_EQ(Count(2027), 0);
  Sleep(310);
  SetCursorPos(600, 1000);
  Click();
  Click();
  EXPECT_EQ(Count(2027), 1);
  DestroyWindow(taskbar);
  DestroyWindow(notify);
}

TEST_F(MouseHookTest, InstalledOnlyWhileAUseIsOn) {
  Settings& s = GetSettings();
  UpdateMouseHook(s);
  EXPECT_EQ(s.hMouseHook, nullptr);
  s.bDoubleTaskMain = true;
  UpdateMouseHook(s);
  HHOOK first = s.hMouseHook;
  EXPECT_NE(first, nullptr);
  UpdateMouseHook(s);
  EXPECT_EQ(s.hMouseHook, first) << "an installed hook is kept";
  s.bDoubleTaskMain = false;
  s.mouseButtonHotKeyInUse = true;
  EXPECT_TRUE(MouseHookWanted(s));
  s.mouseButtonHotKeyInUse = false;
  UpdateMouseHook(s);
  EXPECT_EQ(s.hMouseHook, nullptr);
  EXPECT_FALSE(IsDesktopIconUnderCursor() && !FindWindowW(L"progman", nullptr));
}

TEST_F(MouseHookTest, RealMiddleClickReachesTheWindowThroughTheHook) {
  GetSettings().bMButtonMain = true;
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_MIDDLEDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_MIDDLEUP;
  ASSERT_EQ(SendInput(2, input, sizeof(INPUT)), 2u);
  const DWORD start = GetTickCount();
  while (Count(2025) == 0 && GetTickCount() - start < 2000) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  if (Count(2025) == 0) GTEST_SKIP() << "Wine delivered no injected input to the low-level hook";
  EXPECT_EQ(Count(2025), 1);
}

}  // namespace
