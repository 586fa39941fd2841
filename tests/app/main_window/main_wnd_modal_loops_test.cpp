// The real Pexo.exe with one of its modal loops up (the delete confirmation, a
// popup menu, the shell's menu of a card, the file picker, a dialog) closed from
// outside and through the tray's "退出": it ends with 0, has written conf.ini and
// done nothing the loop was cancelled for. The program runs under Wine's heap
// checking (see CMakeLists.txt): a write into the freed window fails the test.
// Also: its own popup menu keeps the window from hiding or sliding away.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <tuple>
#include <string>
#include <vector>

#include "data/group.h"
#include "data/link.h"
#include "data/link_store.h"
#include "tests/app/end_to_end/end_to_end_driver.h"
#include "tests/app/support/foreground.h"
#include "tests/app/support/real_mouse.h"
#include "tests/support/pexo_program.h"
#include "tests/support/test_support.h"

namespace {

using pexo_test::PexoProgram;
using pexo_test::WaitUntil;

const char kVisibleConf[] =
    "[main]\r\nbHideOnStart=0\r\nbAutoDock=0\r\nbHideNotify=1\r\nbTopMost=1\r\nbShowDate=0\r\nTheme=\r\n"
    "bDelConfirm=1\r\nnPosX=10\r\nnPosY=10\r\nnWidth=388\r\nnHeight=600\r\nnCurGroup=0\r\nnCurTag=0\r\n";

// The first card and empty space of the card area (client coordinates).
constexpr POINT kFirstCard = e2e::CardCentre(0);
constexpr POINT kLinkBoxSpace = {250, 450};

enum class Loop { kConfirmation, kPopupMenu, kShellMenu, kFilePicker, kDialog };
enum class CloseBy { kOutside, kTray };

const char* LoopName(Loop loop) {
  switch (loop) {
    case Loop::kConfirmation: return "the delete confirmation";
    case Loop::kPopupMenu: return "the card menu";
    case Loop::kShellMenu: return "the shell's menu of a card";
    case Loop::kFilePicker: return "the file picker";
    case Loop::kDialog: return "the web address dialog";
  }
  return "";
}

// A program folder whose first tag holds one link to the program itself.
bool AddOneLink(const PexoProgram& program) {
  LinkStore store;
  if (!store.Open(program.File(L"db\\link.db")) || store.topGroups.empty() || store.topGroups[0]->tags.empty()) {
    return false;
  }
  auto link = std::make_shared<Link>();
  link->NAME = L"self";
  link->TYPE = kLinkProgram;
  link->PATH = program.File(L"Pexo.exe");
  return store.AddLink(store.topGroups[0]->tags[0], link);
}

size_t FirstTagLinkCount(const PexoProgram& program) {
  LinkStore store;
  if (!store.Open(program.File(L"db\\link.db")) || store.topGroups.empty() || store.topGroups[0]->tags.empty()) {
    return 0;
  }
  return store.topGroups[0]->tags[0]->links.size();
}

// Opens the loop with real clicks; the window that shows it (null when it did not come).
HWND OpenLoop(DWORD pid, HWND main, Loop loop) {
  switch (loop) {
    case Loop::kConfirmation:  // the card area's "清空标签"
      if (!e2e::ChooseMenu(pid, main, kLinkBoxSpace, {{8, 2}})) return nullptr;
      return e2e::WaitVisible(pid, L"#32770");
    case Loop::kPopupMenu: {
      const std::vector<HWND> before = e2e::VisibleWindows(pid, L"MenuWnd");
      real_mouse::Click(e2e::ToScreen(main, kFirstCard), true, 50);
      return e2e::WaitNewMenuLevel(pid, before);
    }
    case Loop::kShellMenu:  // the card menu's "系统右键菜单"
      // Menus close by themselves when Pexo loses the foreground, and test programs
      // beside this one show windows that take it (and may be gone again, leaving
      // none in front): then, and only then, the menu is opened once more. A
      // command that was dropped leaves Pexo's own window in front, and fails.
      for (int visit = 0; visit < 2; ++visit) {
        if (e2e::ChooseMenu(pid, main, kFirstCard, {{2}})) {
          if (HWND menu = e2e::WaitVisible(pid, L"#32768")) return menu;
        }
        if (visit > 0 || !foreground::LostBy(pid)) break;
        static int repeats = 0;
        std::printf("the shell's menu did not show while Pexo had lost the foreground (%s): once more"
                    " (%d so far in this program)\n",
                    foreground::Note().c_str(), ++repeats);
        std::fflush(stdout);
        SetForegroundWindow(main);
        if (!WaitUntil([&] { return GetForegroundWindow() == main; }, 3000)) break;
      }
      return nullptr;
    case Loop::kFilePicker:  // the card area's "添加文件"
      if (!e2e::ChooseMenu(pid, main, kLinkBoxSpace, {{0}})) return nullptr;
      // Wine's first file dialog in a new prefix sets up its shell first: slow on a loaded machine.
      return e2e::WaitVisible(pid, L"#32770", 30000);
    case Loop::kDialog:  // the card area's "添加网址"
      if (!e2e::ChooseMenu(pid, main, kLinkBoxSpace, {{2}})) return nullptr;
      return e2e::WaitVisible(pid, L"UrlWnd");
  }
  return nullptr;
}

// The program's windows still shown, by class, for a failure's message.
std::string ShownWindows(DWORD pid) {
  std::string shown = "shown:";
  for (const wchar_t* name : {L"PexoWnd", L"MenuWnd", L"#32768", L"#32770", L"UrlWnd"}) {
    const size_t count = e2e::VisibleWindows(pid, name).size();
    if (count == 0) continue;
    char part[48];
    std::snprintf(part, sizeof(part), " %ls x%zu", name, count);
    shown += part;
  }
  return shown;
}

class ModalLoopCloseTest : public ::testing::TestWithParam<std::tuple<Loop, CloseBy>> {};

TEST_P(ModalLoopCloseTest, TheProgramEndsWithZeroAndSavesWithoutTouchingTheFreedWindow) {
  const auto [loop, closeBy] = GetParam();
  SCOPED_TRACE(LoopName(loop));
  PexoProgram program(kVisibleConf);
  ASSERT_TRUE(program.copied());
  ASSERT_TRUE(AddOneLink(program));
  const std::wstring ini = program.File(L"conf.ini");
  HWND main = e2e::StartShown(program);
  ASSERT_NE(main, nullptr);
  const DWORD pid = program.processId();

  HWND shown = OpenLoop(pid, main, loop);
  ASSERT_NE(shown, nullptr) << LoopName(loop) << " did not open; " << e2e::LastMenuNote() << "; "
                            << foreground::Note();
  if (closeBy == CloseBy::kOutside) {
    PostMessageW(main, WM_CLOSE, 0, 0);
  } else {
    std::string why;
    ASSERT_TRUE(e2e::ExitThroughTray(pid, main, why)) << why << " over " << LoopName(loop);
  }
  DWORD code = 1;
  ASSERT_TRUE(program.WaitExit(20000, &code)) << "still running after the close; " << ShownWindows(pid) << "; "
                                               << foreground::Note();
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(GetPrivateProfileIntW(L"main", L"nVersion", 0, ini.c_str()), 10805u) << "conf.ini was not written";
  EXPECT_EQ(GetPrivateProfileIntW(L"main", L"nPosX", -1, ini.c_str()), 10u);
  // The loop ended as a cancel: the confirmed deletion did not happen.
  EXPECT_EQ(FirstTagLinkCount(program), 1u);
}

INSTANTIATE_TEST_SUITE_P(EveryLoop, ModalLoopCloseTest,
                         ::testing::Combine(::testing::Values(Loop::kConfirmation, Loop::kPopupMenu, Loop::kShellMenu,
                                                              Loop::kFilePicker),
                                            ::testing::Values(CloseBy::kOutside, CloseBy::kTray)));
// A dialog's loop: a tray click brings the dialog forward instead of a menu.
INSTANTIATE_TEST_SUITE_P(Dialog, ModalLoopCloseTest,
                         ::testing::Values(std::make_tuple(Loop::kDialog, CloseBy::kOutside)));

// With "bHideUnhot", a press outside the window hides it, but not the press on an
// item of the window's own menu that lies outside the window: the command runs
// and the window stays.
TEST(MainWindowMenuTest, AMenuItemOutsideTheWindowIsClickedWithoutHidingIt) {
  PexoProgram program(std::string(kVisibleConf) + "bHideUnhot=1\r\n");
  ASSERT_TRUE(program.copied());
  HWND main = e2e::StartShown(program);
  ASSERT_NE(main, nullptr);
  const DWORD pid = program.processId();
  // A right click near the window's right edge: the menu reaches past it.
  const std::vector<HWND> before = e2e::VisibleWindows(pid, L"MenuWnd");
  real_mouse::Click(e2e::ToScreen(main, {370, 200}), true, 50);
  HWND level = e2e::WaitNewMenuLevel(pid, before);
  ASSERT_NE(level, nullptr);
  RECT window = {};
  GetWindowRect(main, &window);
  const POINT item = e2e::MenuItemPoint(level, 2);  // "添加网址"
  ASSERT_GT(item.x, window.right + 10) << "the item lies inside the window";
  e2e::WaitLevelDrawn(level, item);
  real_mouse::Click(item, false, 120);
  HWND dialog = e2e::WaitVisible(pid, L"UrlWnd");
  EXPECT_NE(dialog, nullptr) << "the item's command did not run";
  EXPECT_TRUE(IsWindowVisible(main)) << "the window hid under its own menu";
  if (dialog) e2e::PressKey(VK_ESCAPE);
  ASSERT_TRUE(e2e::WaitGone(pid, L"UrlWnd"));

  // A press outside, with no menu open, still hides it.
  SetForegroundWindow(main);
  real_mouse::Click({window.right + 200, window.bottom - 20});
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, 3000)) << "a press outside no longer hides";
  ASSERT_EQ(program.CloseAndWait(main), 0u);
}

// A window docked at the top stays out while the pointer is on its menu below it,
// and slides away once the menu is closed.
TEST(MainWindowMenuTest, ADockedWindowStaysOutWhileItsMenuIsOpen) {
  PexoProgram program(
      "[main]\r\nbHideOnStart=0\r\nbAutoDock=1\r\nbHideNotify=1\r\nbTopMost=1\r\nbShowDate=0\r\nTheme=\r\n"
      "nPosX=200\r\nnPosY=0\r\nnWidth=388\r\nnHeight=400\r\nnCurGroup=0\r\nnCurTag=0\r\n");
  ASSERT_TRUE(program.copied());
  // The pointer rests where the window appears, so that it stays out.
  e2e::MoveTo({400, 200});
  HWND main = e2e::StartShown(program);
  ASSERT_NE(main, nullptr);
  const DWORD pid = program.processId();
  RECT window = {};
  ASSERT_TRUE(WaitUntil(
      [&] {
        GetWindowRect(main, &window);
        return window.top == 0;
      },
      3000))
      << "the docked window is not out at the start; top " << window.top;
  // The card area's menu, opened near the window's bottom edge, reaches below it.
  const std::vector<HWND> before = e2e::VisibleWindows(pid, L"MenuWnd");
  real_mouse::Click(e2e::ToScreen(main, {250, 380}), true, 50);
  HWND level = e2e::WaitNewMenuLevel(pid, before);
  ASSERT_NE(level, nullptr);
  RECT menu = {};
  GetWindowRect(level, &menu);
  ASSERT_GT(menu.bottom, window.bottom + 60) << "the menu does not reach below the window";
  // The pointer goes onto the menu's part below the window and rests there.
  e2e::MoveTo({(menu.left + menu.right) / 2, menu.bottom - 20});
  Sleep(1500);
  RECT now = {};
  GetWindowRect(main, &now);
  EXPECT_EQ(now.top, 0) << "the window slid away under its open menu";
  EXPECT_TRUE(IsWindowVisible(level)) << "the menu closed";

  // A click elsewhere ends the menu (Escape would hide the window at once). In a
  // whole run a window another program left on the display can lie under a spot
  // and keep the click: the click goes to the first spot where only the desktop or
  // this program lies, and it is made once.
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  const POINT elsewhere[] = {{screenWidth - 40, screenHeight - 40}, {40, screenHeight - 40}, {screenWidth - 40, screenHeight / 2}};
  const POINT* clear = nullptr;
  for (const POINT& spot : elsewhere) {
    HWND at = GetAncestor(WindowFromPoint(spot), GA_ROOT);
    DWORD owner = 0;
    if (at) GetWindowThreadProcessId(at, &owner);
    if (!at || at == GetDesktopWindow() || (owner == pid && at != level && at != main)) {
      clear = &spot;
      break;
    }
  }
  ASSERT_NE(clear, nullptr) << "other programs' windows cover every spot beside the window";
  real_mouse::Click(*clear);
  const bool menuGone = e2e::WaitGone(pid, L"MenuWnd", 3000);
  EXPECT_TRUE(menuGone) << "a click elsewhere does not end the menu";
  EXPECT_TRUE(WaitUntil(
      [&] {
        GetWindowRect(main, &now);
        return now.top < -100;
      },
      5000))
      << "the docked window no longer slides out at all";
  ASSERT_EQ(program.CloseAndWait(main), 0u);
}

}  // namespace
