#include "app/desktop/full_screen.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

HWND MakeWindow(const wchar_t* className, int width, int height) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = className;
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, className, L"", WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                              wc.hInstance, nullptr);
  ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
  return hwnd;
}

TEST(FullScreenTest, OnlyAProgramCoveringTheWholeScreenCountsNotTheDesktop) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  HWND game = MakeWindow(L"PexoFullScreenGame", width, height);
  if (GetForegroundWindow() != game) {
    DestroyWindow(game);
    GTEST_SKIP() << "this display gives the test no foreground window";
  }
  EXPECT_TRUE(IsForegroundFullScreen());
  DestroyWindow(game);

  // The desktop's own windows cover the screen too, but are not a full-screen program.
  HWND desktop = MakeWindow(L"WorkerW", width, height);
  ASSERT_EQ(GetForegroundWindow(), desktop);
  EXPECT_FALSE(IsForegroundFullScreen());
  DestroyWindow(desktop);

  HWND small = MakeWindow(L"PexoFullScreenSmall", width - 1, height);
  ASSERT_EQ(GetForegroundWindow(), small);
  EXPECT_FALSE(IsForegroundFullScreen());
  DestroyWindow(small);
}

}  // namespace
