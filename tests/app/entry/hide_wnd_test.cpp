// The hidden owner window: made hidden, never on screen, outlives the windows it
// owns, and its end leaves no native window behind that could reach a freed object.
#include "app/entry/hide_wnd.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "app/controls/app_control_factory.h"
#include "tests/app/support/launcher_test_support.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/stock_controls.h"

namespace {

class HideWndTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(launcher_test::StartLauncherSkin()); }
  static void TearDownTestSuite() { launcher_test::StopLauncherSkin(); }
};

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

TEST_F(HideWndTest, StaysHiddenAndItsEndDestroysTheNativeWindowBeforeTheObject) {
  CHideWnd* window = CHideWnd::CreateHidden();
  ASSERT_NE(window, nullptr);
  HWND hwnd = window->GetHWND();
  wchar_t className[32] = {};
  GetClassNameW(hwnd, className, 32);
  EXPECT_STREQ(className, L"PexoTopWnd");
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_EQ(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);

  // A window it owns closes without taking the owner with it.
  HWND owned = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, hwnd, nullptr, nullptr, nullptr);
  ASSERT_TRUE(owned);
  DestroyWindow(owned);
  Pump();
  EXPECT_TRUE(IsWindow(hwnd));

  CHideWnd::Destroy(window);
  EXPECT_FALSE(IsWindow(hwnd)) << "no native window may outlive its object";
  // A late message for the old handle goes nowhere instead of into freed memory.
  EXPECT_FALSE(PostMessageW(hwnd, WM_USER, 0, 0));
  Pump();
}

TEST_F(HideWndTest, AClosedWindowIsStillEndedSafelyByItsOwner) {
  CHideWnd* window = CHideWnd::CreateHidden();
  ASSERT_NE(window, nullptr);
  HWND hwnd = window->GetHWND();
  SendMessageW(hwnd, WM_CLOSE, 0, 0);
  Pump();
  EXPECT_FALSE(IsWindow(hwnd)) << "the framework closes it";
  // The object is not deleted by the close; the entry still ends it once.
  CHideWnd::Destroy(window);
  CHideWnd::Destroy(nullptr);
}

}  // namespace
