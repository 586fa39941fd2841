// The real Pexo.exe's start as a user meets it: the first appearance at the saved
// place (whatever "bFollowMouse" and "bFullScreenMode" say), the hidden search
// window made during the start at its saved place (pulled onto a screen when that
// place lies off every one) and dragged by its band with the real mouse, and the
// program's own icon.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/app/end_to_end/end_to_end_driver.h"
#include "tests/app/support/real_mouse.h"
#include "tests/support/pexo_program.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"

namespace {

using pexo_test::PexoProgram;
using pexo_test::WaitUntil;

std::string Conf(const std::string& extra) {
  return "[main]\r\nbHideOnStart=0\r\nbAutoDock=0\r\nbHideNotify=1\r\nbTopMost=1\r\nbShowDate=0\r\nTheme=\r\n"
         "nPosX=40\r\nnPosY=30\r\nnWidth=388\r\nnHeight=500\r\n" +
         extra;
}

// The main window once the program answers; null when it did not come.
HWND StartAndWait(PexoProgram& program) {
  if (!program.Start()) return nullptr;
  HWND main = nullptr;
  HWND error = nullptr;
  program.WaitMainWindowOrError(&main, &error);
  if (!main || !WaitUntil([&] { return PexoProgram::Answers(main, 500); }, 10000)) return nullptr;
  return main;
}

HWND SearchWindow(const PexoProgram& program) {
  return pexo_test::FindProcessWindow(program.processId(), L"SearchWnd", nullptr, false);
}

RECT RectOf(HWND window) {
  RECT rc = {};
  GetWindowRect(window, &rc);
  return rc;
}

TEST(ProgramStartTest, TheFirstAppearanceIsAtTheSavedPlaceWithTheCursorElsewhere) {
  PexoProgram program(Conf("bFollowMouse=1\r\n"));
  ASSERT_TRUE(program.copied());
  e2e::MoveTo({700, 500});
  HWND main = StartAndWait(program);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 5000)) << "no window shown";
  EXPECT_EQ(RectOf(main).left, 40);
  EXPECT_EQ(RectOf(main).top, 30);
  EXPECT_EQ(program.CloseAndWait(main), 0u);
}

// A full-screen window of this test in front: the launcher still comes up visible.
TEST(ProgramStartTest, TheFirstAppearanceHappensWithAFullScreenProgramInFront) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"PexoTestFullScreen";
  RegisterClassW(&windowClass);
  HWND full = CreateWindowExW(0, L"PexoTestFullScreen", L"full", WS_POPUP | WS_VISIBLE, 0, 0,
                              GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(full, nullptr);
  SetForegroundWindow(full);
  window_test::PumpFor(200);
  ASSERT_EQ(GetForegroundWindow(), full) << "the full-screen window did not come to the front";

  PexoProgram program(Conf("bFullScreenMode=1\r\n"));
  ASSERT_TRUE(program.copied());
  HWND main = StartAndWait(program);
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 5000)) << "the launcher started invisible";
  EXPECT_EQ(RectOf(main).left, 40);
  EXPECT_EQ(program.CloseAndWait(main), 0u);
  DestroyWindow(full);
}

TEST(ProgramStartTest, TheSearchWindowIsMadeHiddenAtItsSavedPlaceDuringTheStart) {
  PexoProgram program(Conf("nSearchX=300\r\nnSearchY=200\r\n"));
  ASSERT_TRUE(program.copied());
  HWND main = StartAndWait(program);
  ASSERT_NE(main, nullptr);
  // Made once the window is up, before any input: no use of search has happened.
  HWND search = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (search = SearchWindow(program)) != nullptr; }, 3000)) << "no search window";
  // Made and placed in one step of the set-up: once the window answers again, it is done.
  ASSERT_TRUE(PexoProgram::Answers(main, 5000));
  EXPECT_FALSE(IsWindowVisible(search));
  EXPECT_EQ(RectOf(search).left, 300);
  EXPECT_EQ(RectOf(search).top, 200);
  EXPECT_EQ(program.CloseAndWait(main), 0u);
}

TEST(ProgramStartTest, ASearchWindowPlaceOffEveryScreenIsPulledOntoTheNearestOne) {
  const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  for (const char* place : {"nSearchX=9000\r\nnSearchY=-4000\r\n", "nSearchX=-3000\r\nnSearchY=300\r\n"}) {
    SCOPED_TRACE(place);
    PexoProgram program(Conf(place));
    ASSERT_TRUE(program.copied());
    HWND main = StartAndWait(program);
    ASSERT_NE(main, nullptr);
    HWND search = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (search = SearchWindow(program)) != nullptr; }, 3000));
    ASSERT_TRUE(PexoProgram::Answers(main, 5000));
    const RECT rc = RectOf(search);
    EXPECT_GE(rc.left, screen.left);
    EXPECT_GE(rc.top, screen.top);
    EXPECT_LE(rc.right, screen.right);
    EXPECT_LE(rc.bottom, screen.bottom);
    EXPECT_EQ(program.CloseAndWait(main), 0u);
  }
}

// The search window dragged by its band (left of the text field) with the real
// mouse moves, and its new place is in conf.ini after the save delay (1 s).
TEST(ProgramStartTest, TheSearchWindowIsDraggedByItsBandAndItsPlaceSaved) {
  PexoProgram program(Conf("nSearchX=200\r\nnSearchY=150\r\nbFocusSearch=0\r\n"));
  ASSERT_TRUE(program.copied());
  HWND main = StartAndWait(program);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 5000));
  SetForegroundWindow(main);
  ASSERT_TRUE(e2e::WaitSettled(main)) << "the main window never settled";
  e2e::Click(main, {388 - 85, 21});  // the title bar's search button
  HWND search = e2e::WaitVisible(program.processId(), L"SearchWnd");
  ASSERT_NE(search, nullptr) << "the search button did not bring the search window up";
  ASSERT_TRUE(e2e::WaitSettled(search)) << "the search window never settled";
  const RECT before = RectOf(search);

  // The search icon at the band's left end takes no clicks of its own.
  const POINT grip = {before.left + 20, before.top + 19};
  e2e::MoveTo(grip);
  Sleep(50);
  real_mouse::SendAt(grip, MOUSEEVENTF_LEFTDOWN);
  Sleep(100);
  for (int step = 1; step <= 8; ++step) {
    e2e::MoveTo({grip.x + 15 * step, grip.y + 10 * step});
    Sleep(40);
  }
  real_mouse::SendAt({grip.x + 120, grip.y + 80}, MOUSEEVENTF_LEFTUP);
  // The last move lands once the window has followed the drag all the way.
  RECT after = {};
  WaitUntil(
      [&] {
        after = RectOf(search);
        return after.left - before.left == 120 && after.top - before.top == 80;
      },
      5000);
  EXPECT_EQ(after.left - before.left, 120) << "the band did not drag the window";
  EXPECT_EQ(after.top - before.top, 80);
  EXPECT_TRUE(IsWindowVisible(search)) << "the drag hid the search window";

  const std::wstring ini = program.File(L"conf.ini");
  EXPECT_TRUE(WaitUntil(
      [&] {
        return static_cast<LONG>(GetPrivateProfileIntW(L"main", L"nSearchX", 0, ini.c_str())) == after.left &&
               static_cast<LONG>(GetPrivateProfileIntW(L"main", L"nSearchY", 0, ini.c_str())) == after.top;
      },
      4000))
      << "the new place was not saved";
  EXPECT_EQ(program.CloseAndWait(main), 0u);
}

// Icon 128 of Pexo.exe: the program's own, at 16, 24, 32, 48 and 256 pixels, and
// loadable as the tray loads it.
TEST(ProgramStartTest, TheExecutableHasItsOwnIconAtTheUsualSizes) {
  PexoProgram program;
  ASSERT_TRUE(program.copied());
  HMODULE module = LoadLibraryExW(program.File(L"Pexo.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(128), reinterpret_cast<LPCWSTR>(RT_GROUP_ICON));
  ASSERT_NE(group, nullptr) << "no icon group 128";
  const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
  ASSERT_NE(directory, nullptr);
  // The group directory: 6 bytes of header, then 14 bytes per image, width first.
  const WORD count = *reinterpret_cast<const WORD*>(directory + 4);
  std::set<int> sizes;
  for (WORD i = 0; i < count; ++i) {
    const BYTE width = directory[6 + 14 * i];
    sizes.insert(width == 0 ? 256 : width);
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 256}));
  HICON small = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(128), IMAGE_ICON, 16, 16, 0));
  EXPECT_NE(small, nullptr);
  if (small) DestroyIcon(small);
  FreeLibrary(module);
}

}  // namespace
