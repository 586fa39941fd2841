#include "app/desktop/force_foreground.h"

#include <gtest/gtest.h>

namespace {

HWND MakeWindow(int x) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PexoForegroundTestWindow";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW, x, 50, 200, 150,
                              nullptr, nullptr, wc.hInstance, nullptr);
  ShowWindow(hwnd, SW_SHOW);
  return hwnd;
}

TEST(ForceForegroundTest, BringsABackWindowAndAMinimisedOneToTheFront) {
  HWND first = MakeWindow(50);
  HWND second = MakeWindow(300);
  SetForegroundWindow(first);
  if (GetForegroundWindow() != first) {
    DestroyWindow(first);
    DestroyWindow(second);
    GTEST_SKIP() << "this display gives the test no foreground window";
  }
  EXPECT_TRUE(ForceForegroundWindow(second));
  EXPECT_EQ(GetForegroundWindow(), second);

  ShowWindow(first, SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(first));
  ForceForegroundWindow(first);
  EXPECT_FALSE(IsIconic(first));
  EXPECT_EQ(GetForegroundWindow(), first);

  EXPECT_FALSE(ForceForegroundWindow(nullptr));
  DestroyWindow(first);
  DestroyWindow(second);
}

}  // namespace
