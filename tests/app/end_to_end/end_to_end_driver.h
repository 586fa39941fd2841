// Real input for driving the running Pexo.exe from outside, as a hand would: the
// system cursor moved and its buttons pressed through SendInput, keys typed, and
// the program's popups and dialogs found among its top-level windows by class.
// Positions inside the program's windows come from its skin's fixed layout.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/main_window/main_wnd.h"
#include "tests/app/support/real_mouse.h"
#include "tests/app/support/test_data_object.h"
#include "tests/support/gdiplus_test_env.h"
#include "tests/support/pexo_program.h"
#include "tests/ui/core/window_test_support.h"

namespace e2e {

inline void SendMouse(DWORD flags) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof(input));
}

inline void MoveTo(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  // A move event as well, so that hover effects and hooks see the cursor arrive.
  SendMouse(MOUSEEVENTF_MOVE);
}

// A click at a screen point: the cursor moved there, the button pressed and released.
// Every event carries the point (see real_mouse.h for why a press must).
inline void ClickScreen(POINT screen, bool right = false, DWORD settleMs = 100) {
  real_mouse::Click(screen, right, settleMs);
}

inline POINT ToScreen(HWND window, POINT client) {
  ClientToScreen(window, &client);
  return client;
}

inline void Click(HWND window, POINT client, bool right = false, DWORD settleMs = 100) {
  ClickScreen(ToScreen(window, client), right, settleMs);
}

inline void Key(WORD vk, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(input));
}

// A key pressed and released while the modifiers are held.
inline void PressKey(WORD vk, std::initializer_list<WORD> modifiers = {}) {
  for (WORD modifier : modifiers) Key(modifier, false);
  Key(vk, false);
  Key(vk, true);
  for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) Key(*it, true);
  Sleep(60);
}

// Text typed as Unicode key events, all queued at once: the program takes them
// in order.
inline void TypeText(const std::wstring& text) {
  std::vector<INPUT> inputs;
  for (wchar_t ch : text) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = ch;
    input.ki.dwFlags = KEYEVENTF_UNICODE;
    inputs.push_back(input);
    input.ki.dwFlags |= KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  Sleep(60);
}

// Every visible top-level window of the process with this class.
// The process's top-level windows of the class, the hidden ones too unless
// `visibleOnly`.
inline std::vector<HWND> ProcessWindows(DWORD processId, const wchar_t* className, bool visibleOnly) {
  struct Query {
    DWORD processId;
    const wchar_t* className;
    bool visibleOnly;
    std::vector<HWND> found;
  } query{processId, className, visibleOnly, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM data) -> BOOL {
        auto* q = reinterpret_cast<Query*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner != q->processId || (q->visibleOnly && !IsWindowVisible(hwnd))) return TRUE;
        wchar_t text[64] = {};
        GetClassNameW(hwnd, text, 64);
        if (std::wstring(text) == q->className) q->found.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&query));
  return query.found;
}

inline std::vector<HWND> VisibleWindows(DWORD processId, const wchar_t* className) {
  return ProcessWindows(processId, className, true);
}

inline HWND WaitVisible(DWORD processId, const wchar_t* className, DWORD timeoutMs = 5000) {
  HWND found = nullptr;
  pexo_test::WaitUntil(
      [&] {
        const std::vector<HWND> windows = VisibleWindows(processId, className);
        found = windows.empty() ? nullptr : windows.front();
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

inline bool WaitGone(DWORD processId, const wchar_t* className, DWORD timeoutMs = 5000) {
  return pexo_test::WaitUntil([&] { return VisibleWindows(processId, className).empty(); }, timeoutMs);
}

// Menu levels are "MenuWnd" popups without a frame: items 30 pixels high below a
// padding of 4, separators taking 7. The centre of item `row` (counted among the
// items only) with `separators` separators above it, in screen coordinates.
inline POINT MenuItemPoint(HWND level, int row, int separators = 0) {
  RECT rc = {};
  GetWindowRect(level, &rc);
  return {(rc.left + rc.right) / 2 - 20, rc.top + 4 + 30 * row + 7 * separators + 15};
}

// The centre of a level's last item (the main menu's exit), whatever stands above it.
inline POINT LastMenuItemPoint(HWND level) {
  RECT rc = {};
  GetWindowRect(level, &rc);
  return {(rc.left + rc.right) / 2 - 20, rc.bottom - 4 - 15};
}

// A level that was not open before: the newest menu popup of the process.
inline HWND WaitNewMenuLevel(DWORD processId, const std::vector<HWND>& before, DWORD timeoutMs = 5000) {
  HWND found = nullptr;
  pexo_test::WaitUntil(
      [&] {
        for (HWND level : VisibleWindows(processId, L"MenuWnd")) {
          bool known = false;
          for (HWND old : before) known = known || old == level;
          if (!known) found = level;
        }
        return found != nullptr;
      },
      timeoutMs);
  if (found) Sleep(80);  // the level has laid out its items once it is shown
  return found;
}

// One step of a menu path: the item's row and the separators above it.
struct MenuStep {
  int row;
  int separators = 0;
};

// What the screen shows at a point (the X server's picture under Wine, so a
// window that is mapped late still shows what lies below it).
inline COLORREF ScreenPixel(POINT screen) {
  HDC dc = GetDC(nullptr);
  const COLORREF colour = GetPixel(dc, screen.x, screen.y);
  ReleaseDC(nullptr, dc);
  return colour;
}

inline int ColourDistance(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
         std::abs(GetBValue(a) - GetBValue(b));
}

// Whether the group strip's item whose left edge is at `itemLeft` (client
// coordinates) shows the selection: inside its text's padding it is far from the
// strip's own colour, seen left of the first item. A hovered group is only a
// shade away; the chosen one is filled with the strong selection colour (both
// darker through the window's transparency, `alpha`).
inline bool StripItemChosen(HWND main, int itemLeft, int alpha = 255) {
  const COLORREF strip = ScreenPixel(ToScreen(main, {3, 62}));
  const COLORREF edge = ScreenPixel(ToScreen(main, {itemLeft + 3, 62}));
  return strip != CLR_INVALID && edge != CLR_INVALID && ColourDistance(strip, edge) * 255 > 90 * alpha;
}

// Waits until the screen shows the level's own background at the row of a point
// and in its bottom padding (plain white, or `padding` where the window's
// transparency darkens it): Win32 calls a level visible before the X server has
// drawn it, and a click before that lands on the window below. One spot alone is
// not enough: a level opened on the group strip has its first row over the
// strip's own white.
inline bool WaitLevelDrawn(HWND level, POINT item, DWORD timeoutMs = 2000, COLORREF padding = RGB(255, 255, 255)) {
  RECT rc = {};
  GetWindowRect(level, &rc);
  const auto showsPadding = [&](POINT at) {
    const COLORREF shown = ScreenPixel(at);
    return shown != CLR_INVALID && std::abs(GetRValue(shown) - GetRValue(padding)) <= 2 &&
           std::abs(GetGValue(shown) - GetGValue(padding)) <= 2 &&
           std::abs(GetBValue(shown) - GetBValue(padding)) <= 2;
  };
  return pexo_test::WaitUntil(
      [&] { return showsPadding({rc.left + 8, item.y}) && showsPadding({rc.left + 8, rc.bottom - 3}); },
      timeoutMs);
}

// What the last menu visit went through: whether the item was seen on its drawn
// level and clicked (after that the command must act: a second try would hide a
// program that dropped it), how many times the window was clicked again because
// the first click brought no level, and a note for a failure's message.
struct MenuReport {
  bool itemClicked = false;
  int secondClicks = 0;
  std::string note;
};

inline MenuReport& LastMenu() {
  static MenuReport report;
  return report;
}

// How the last menu click went, for a failure's message.
inline std::string& LastMenuNote() { return LastMenu().note; }

// The level that `open` (a click on the window, the tray's message) brings up.
// A click that came while the window was still busy may bring none: then, and
// only then, it is made once more, as a user would, and the output says so.
// Null when no level came either time. Levels are windows made once and shown
// again: unless a menu is meant to stay open under the new one, the last menu
// must be gone before a new one can be told from it.
inline HWND OpenMenuLevel(DWORD processId, const std::function<void()>& open, const char* what,
                          bool waitLastGone = true) {
  if (waitLastGone) WaitGone(processId, L"MenuWnd", 3000);
  const std::vector<HWND> before = VisibleWindows(processId, L"MenuWnd");
  open();
  HWND level = WaitNewMenuLevel(processId, before, 2500);
  if (!level) {
    std::printf("%s: no menu level came; clicked once more\n", what);
    std::fflush(stdout);
    ++LastMenu().secondClicks;
    open();
    level = WaitNewMenuLevel(processId, before, 4000);
  }
  return level;
}

// The point of a step's item on its level; a negative row is the level's last item.
inline POINT StepPoint(HWND level, const MenuStep& step) {
  return step.row < 0 ? LastMenuItemPoint(level) : MenuItemPoint(level, step.row, step.separators);
}

// Follows the path from an open level: every step but the last is hovered to
// open its sub-level, the last is clicked once, when its level is drawn and
// still up (`padding` is what a drawn level shows in its left padding). False
// when a level did not come or went before its item could be clicked;
// LastMenu() tells whether the item was clicked.
inline bool FollowMenuPath(DWORD processId, HWND level, std::initializer_list<MenuStep> path,
                           COLORREF padding = RGB(255, 255, 255)) {
  size_t index = 0;
  for (const MenuStep& step : path) {
    const POINT item = StepPoint(level, step);
    if (!WaitLevelDrawn(level, item, 2000, padding) || !IsWindowVisible(level)) {
      LastMenuNote() = "a level went or was never drawn before its item could be reached";
      return false;
    }
    if (++index == path.size()) {
      const COLORREF before = ScreenPixel(item);
      ClickScreen(item, false, 120);
      LastMenu().itemClicked = true;
      char note[160];
      std::snprintf(note, sizeof(note), "last menu click: screen %06lx under the item, level %s after",
                    static_cast<unsigned long>(before), IsWindowVisible(level) ? "still shown" : "gone");
      LastMenuNote() = note;
      return true;
    }
    const std::vector<HWND> open = VisibleWindows(processId, L"MenuWnd");
    MoveTo({item.x + 1, item.y});
    Sleep(40);
    MoveTo(item);
    level = WaitNewMenuLevel(processId, open);
    if (!level) {
      LastMenuNote() = "a sub-level did not open under its hovered item";
      return false;
    }
  }
  return true;
}

// Right-clicks the window at the client point and follows the path. False when
// a level did not appear (see OpenMenuLevel) or went before its item was clicked.
inline bool ChooseMenu(DWORD processId, HWND window, POINT client, std::initializer_list<MenuStep> path) {
  LastMenu() = {};
  HWND level = OpenMenuLevel(processId, [&] { Click(window, client, true, 50); }, "right click");
  if (!level) {
    LastMenuNote() = "no menu level came after two right clicks";
    return false;
  }
  return FollowMenuPath(processId, level, path);
}

// The tray icon right-clicked (what the shell sends the window), then the item
// of the tray menu clicked once its level is on the screen (a negative row is
// its last item, "退出"). The tray may be right-clicked over a menu that stays
// up. False with the reason when no tray menu came up or it went before its
// item could be clicked.
inline bool ChooseFromTray(DWORD pid, HWND main, MenuStep item, std::string& why) {
  LastMenu() = {};
  HWND tray = OpenMenuLevel(pid, [&] { PostMessageW(main, CMainWnd::kTrayMessage, 0, WM_RBUTTONDOWN); }, "tray",
                            false);
  if (!tray) {
    why = "no tray menu came up";
    return false;
  }
  if (!FollowMenuPath(pid, tray, {item})) {
    why = "the tray menu closed before it could be clicked";
    return false;
  }
  return true;
}

// The tray menu's last item, "退出". The click must act the first time: the
// caller waits for the program's end.
inline bool ExitThroughTray(DWORD pid, HWND main, std::string& why) { return ChooseFromTray(pid, main, {-1}, why); }

// Closes whatever menu is open with Escape presses until none is left.
inline void DismissMenus(DWORD processId) {
  for (int i = 0; i < 4 && !VisibleWindows(processId, L"MenuWnd").empty(); ++i) {
    PressKey(VK_ESCAPE);
    Sleep(150);
  }
}

// The chord the program registered under the global atom's id, fired by real keys.
inline void PressChord(std::initializer_list<WORD> modifiers, WORD key) { PressKey(key, modifiers); }

// What the screen shows inside the window's rectangle, saved as a PNG (a failure's
// picture, or one for people). The display is shared with tests that do not move
// the cursor, so a picture is only as clean as the moment.
inline bool SaveScreenPng(HWND window, const std::wstring& path) {
  RECT rc = {};
  if (!GetWindowRect(window, &rc)) return false;
  const int width = rc.right - rc.left;
  const std::vector<DWORD> pixels = window_test::GrabScreen(rc);
  if (pixels.empty()) return false;
  return window_test::WritePng(path, width, rc.bottom - rc.top,
                               [&](int x, int y) { return pixels[static_cast<size_t>(y) * width + x] | 0xFF000000u; });
}

// A hand dragging a file from another program: the drag starts beside the launcher,
// the cursor is carried over its card area by real moves, and the file is let go
// there after a few checks (a drag that finds no target gives up).
class CarryOverAndDrop final : public StackDropSource {
 public:
  explicit CarryOverAndDrop(POINT target) : target_(target) {}
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override {
    ++checks_;
    if (checks_ > 400) return DRAGDROP_S_CANCEL;
    if (checks_ <= 5) {
      // Part of the way at each check, then over the target.
      MoveTo({target_.x - 60 + 12 * checks_, target_.y});
      Sleep(30);
      return S_OK;
    }
    return checks_ >= 10 ? DRAGDROP_S_DROP : S_OK;
  }

 private:
  POINT target_;
  int checks_ = 0;
};

// Waits until what the screen shows of a window has stopped changing (it fades in,
// grows, paints its icons): the same picture five grabs in a row. False on time-out.
inline bool WaitSettled(HWND window, DWORD timeoutMs = 5000) {
  std::vector<DWORD> last;
  int same = 0;
  return pexo_test::WaitUntil(
      [&] {
        RECT rc = {};
        if (!IsWindowVisible(window) || !GetWindowRect(window, &rc)) return false;
        std::vector<DWORD> now = window_test::GrabScreen(rc);
        same = !now.empty() && now == last ? same + 1 : 0;
        last = std::move(now);
        return same >= 5;
      },
      timeoutMs);
}

// Waits until a window that has just come up takes keys: it has faded in and laid
// out (settled on the screen) and holds the foreground. Keys typed before that go
// to the window that had it.
inline bool WaitReadyForKeys(HWND window, DWORD timeoutMs = 5000) {
  return WaitSettled(window, timeoutMs) &&
         pexo_test::WaitUntil([&] { return GetForegroundWindow() == window; }, timeoutMs);
}

// Starts the program and waits until its main window is shown and settled, then
// brings it to the front; null when no window came.
inline HWND StartShown(pexo_test::PexoProgram& program) {
  if (!program.Start()) return nullptr;
  HWND main = nullptr;
  HWND error = nullptr;
  program.WaitMainWindowOrError(&main, &error);
  if (!main || !pexo_test::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 10000)) return nullptr;
  SetForegroundWindow(main);
  WaitSettled(main);  // the cards fade in
  return main;
}

// The centre of card `index` of the first row in the tiles view at 100 %, in the
// main window's client area: 96 x 84 tiles from the card area's corner, right of
// the tag column and below the title bar and the group strip.
constexpr POINT CardCentre(int index) { return {1 + 72 + 1 + 6 + 48 + 96 * index, 40 + 1 + 6 + 31 + 6 + 1 + 6 + 42}; }

}  // namespace e2e
