// Drives the launcher's popup menus the way a user does: a right click on a
// control of a window, then mouse moves over the items that open sub-levels and
// a click on the chosen item, all posted while the menu's own loop runs.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/app/support/foreground.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/controls/menu_item.h"
#include "ui/core/box.h"
#include "ui/core/control.h"
#include "ui/core/window.h"

namespace menu_driver {

// A control name for a failure message (names are ASCII command names).
inline std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t ch : text) out += ch < 0x80 ? static_cast<char>(ch) : '?';
  return out;
}

// The first shown control of that name in a control's tree. Levels of one menu
// file may hold items of the same name (the main and the tray menu both have
// "hotkey"), so the window's name table alone may point at a hidden level's item.
inline ui::Control* FindShownByName(ui::Control* control, const std::wstring& name) {
  if (!control || !control->IsVisible()) return nullptr;
  if (control->GetName() == name) return control;
  if (auto* box = dynamic_cast<ui::Box*>(control)) {
    for (int i = 0; i < box->GetCount(); ++i) {
      if (ui::Control* found = FindShownByName(box->GetItemAt(static_cast<size_t>(i)), name)) return found;
    }
  }
  return nullptr;
}

// A visible popup of this thread (not `owner`) whose controls hold `name`.
inline ui::Control* FindVisibleItem(HWND owner, const std::wstring& name, HWND* popup) {
  struct Search {
    HWND owner;
    const std::wstring* name;
    HWND found;
    ui::Control* item;
  } search{owner, &name, nullptr, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (hwnd == s->owner || !IsWindowVisible(hwnd) || !(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED)) {
          return TRUE;
        }
        auto* window = reinterpret_cast<ui::Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        ui::Control* item = window ? window->FindControlByName(*s->name) : nullptr;
        // The name table may give another level's item of the same name.
        if (window && (!item || !item->IsVisible() || item->GetWindow() != window)) {
          item = FindShownByName(window->GetRoot(), *s->name);
        }
        if (!item || !item->IsVisible()) return TRUE;
        s->found = hwnd;
        s->item = item;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  if (popup) *popup = search.found;
  return search.item;
}

// Whether a menu level's window of this thread is visible (a dialog a chosen
// item opened is not one).
inline bool AnyMenuVisible() {
  bool found = false;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM raw) -> BOOL {
        wchar_t name[16] = {};
        GetClassNameW(hwnd, name, 16);
        if (IsWindowVisible(hwnd) && std::wstring(name) == L"MenuWnd") {
          *reinterpret_cast<bool*>(raw) = true;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

inline void PostAt(HWND target, UINT message, WPARAM wParam, POINT client) {
  POINT screen = client;
  ClientToScreen(target, &screen);
  SetCursorPos(screen.x, screen.y);
  PostMessageW(target, message, wParam, MAKELPARAM(client.x, client.y));
}

// A left click in the middle of a control of `window` (a menu level, a drop-down,
// a window): the cursor comes over it first, as a hand's does, so that the
// control has the hover it acts on.
inline void ClickMiddle(HWND window, const ui::Control* control) {
  const RECT rc = control->GetPos();
  const POINT middle = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
  PostAt(window, WM_MOUSEMOVE, 0, middle);
  PostAt(window, WM_LBUTTONDOWN, MK_LBUTTON, middle);
  PostAt(window, WM_LBUTTONUP, 0, middle);
}

// A hand's right click: the window comes to the front first, as a real press
// brings it there (a menu of a window that is not in front closes as it opens),
// then the button goes down and up. A hidden window (the tray's) is only clicked.
// From inside the script's timer nothing is pumped (the timer would run again).
inline void RightClick(HWND window, POINT client, bool waitInFront = true) {
  if (IsWindowVisible(window)) {
    SetForegroundWindow(window);
    if (waitInFront) window_test::PumpUntil([window] { return GetForegroundWindow() == window; }, 2000);
  }
  PostAt(window, WM_RBUTTONDOWN, MK_RBUTTON, client);
  PostAt(window, WM_RBUTTONUP, 0, client);
}

// Steps run one by one from a thread timer; a step returning false runs again
// on the next tick (up to a limit), so that a sub-level has time to open.
struct Script {
  std::vector<std::function<bool()>> steps;
  int retries = 0;
  HWND hoverWindow = nullptr;  // the last item hovered, moved onto again while a level is awaited
  POINT hoverPoint = {};
  static Script*& Current() {
    static Script* current = nullptr;
    return current;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    Script* script = Current();
    if (!script || script->steps.empty()) return;
    if (script->steps.front()() || ++script->retries > 40) {
      script->steps.erase(script->steps.begin());
      script->retries = 0;
    }
  }
};

// What one menu visit saw.
struct Visit {
  bool shown = false;                // a popup appeared
  std::vector<std::wstring> missing;  // items of the path that were not found (or, with "!", were)
  int rightClicks = 0;                // right clicks made: a second only when the first brought no level
  std::string clickFailure;           // why the click on the path's last item, once seen, did nothing
  // The menu closed before the path's items were reached while another program
  // held the foreground: a cause outside the program, which a caller may redo.
  bool lostToOtherProgram = false;
  std::string missingNote;  // what the screen held when an item was given up
};

// Whether a window of another process holds the foreground.
inline bool ForegroundIsAnotherProgram() { return foreground::HeldOutside(GetCurrentProcessId()); }

// The window that holds the foreground, by class, for a report.
inline std::string ForegroundNote() { return foreground::Note(); }

// Every repeated right click of this test program, counted and printed with its
// cause, so that a run shows how often a menu did not come at the first click.
inline int& RepeatedRightClicks() {
  static int count = 0;
  return count;
}

inline void ReportRepeatedRightClick(const char* cause) {
  std::printf("[menu_driver] right click made once more (%d so far in this program): %s; %s\n",
              ++RepeatedRightClicks(), cause, ForegroundNote().c_str());
  std::fflush(stdout);
}

// Whether a click on the control must end the menu: an enabled menu item that
// opens no level (a disabled one or a level's opener leaves the menu open).
inline bool ClickEndsMenu(ui::Control* item) {
  auto* menuItem = dynamic_cast<ui::CMenuItem*>(item);
  return menuItem && menuItem->IsEnabled() && !menuItem->HasSubMenu();
}

// Right-clicks `window` at the client point and follows `path`: every item but
// the last is hovered (it opens a level, or points at a mark that must be shown),
// the last is clicked; a name starting with "!" must not be shown at that moment. An empty path
// dismisses the menu with a click beside it. `inspect` runs while the menu is
// up, before the first move; `afterPath` after the path was followed, again on
// the next ticks while it answers false (a level may still be opening).
inline Visit ChooseFromMenu(HWND window, POINT client, const std::vector<std::wstring>& path,
                            const std::function<void()>& inspect = {},
                            const std::function<bool()>& afterPath = {}) {
  Visit visit;
  Script script;
  script.steps.reserve(path.size() + 8);  // steps insert steps while they run: no reallocation
  script.steps.push_back([&] {
    if (!AnyMenuVisible()) {
      // No level a second after the right click, whose messages the window has
      // long taken (the script's timer only ticks once they are gone): another
      // program took the foreground and the menu closed as it came. A hand clicks
      // once more, only this once and only because no level came.
      if (script.retries == 20 && visit.rightClicks == 1) {
        ReportRepeatedRightClick("no menu level came a second after the first right click");
        RightClick(window, client, false);
        ++visit.rightClicks;
      }
      return false;
    }
    visit.shown = true;
    if (inspect) inspect();
    return true;
  });
  for (size_t i = 0; i < path.size(); ++i) {
    const std::wstring name = path[i];
    const bool last = i + 1 == path.size();
    if (!name.empty() && name[0] == L'!') {
      script.steps.push_back([&visit, window, name] {
        if (FindVisibleItem(window, name.substr(1), nullptr)) visit.missing.push_back(name);
        return true;
      });
      continue;
    }
    script.steps.push_back([&visit, &script, window, name, last] {
      HWND popup = nullptr;
      ui::Control* item = FindVisibleItem(window, name, &popup);
      if (!item && !AnyMenuVisible() && ForegroundIsAnotherProgram()) {
        // Another program took the foreground and the menu closed with it.
        visit.lostToOtherProgram = true;
        visit.missing.push_back(name);
        visit.missingNote = "the menu closed while another program held the foreground; " + ForegroundNote();
        return true;
      }
      if (!item) {
        if (script.retries >= 40) {
          visit.missing.push_back(name);
          visit.missingNote = std::string(AnyMenuVisible() ? "a menu level was shown" : "no menu level was shown") +
                              "; " + ForegroundNote();
        }
        if (script.hoverWindow && script.retries % 4 == 3) {
          PostAt(script.hoverWindow, WM_MOUSEMOVE, 0, POINT{script.hoverPoint.x + 1, script.hoverPoint.y});
          PostAt(script.hoverWindow, WM_MOUSEMOVE, 0, script.hoverPoint);
        }
        return false;
      }
      const RECT rc = item->GetPos();
      const POINT middle = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
      PostAt(popup, WM_MOUSEMOVE, 0, POINT{middle.x + 1, middle.y});
      PostAt(popup, WM_MOUSEMOVE, 0, middle);
      script.hoverWindow = popup;
      script.hoverPoint = middle;
      if (last) {
        // Press and release on later ticks, as a hand would after the item lit up.
        // The item was seen: its click must act the first time. A level gone before
        // the press took no click (the failure names who took the foreground); an
        // item that ends the menu and leaves it open did nothing. Neither is tried
        // again.
        Script& owner = script;
        const bool endsMenu = ClickEndsMenu(item);
        auto pressed = std::make_shared<bool>(false);
        owner.steps.insert(owner.steps.begin() + 1, [&visit, popup, middle, name, pressed] {
          if (!IsWindowVisible(popup)) {
            visit.clickFailure = "the level of \"" + Narrow(name) + "\" closed before its click; " + ForegroundNote();
            return true;
          }
          PostAt(popup, WM_LBUTTONDOWN, MK_LBUTTON, middle);
          *pressed = true;
          return true;
        });
        owner.steps.insert(owner.steps.begin() + 2, [popup, middle, pressed] {
          if (*pressed) PostAt(popup, WM_LBUTTONUP, 0, middle);
          return true;
        });
        owner.steps.insert(owner.steps.begin() + 3, [&visit, &script, name, endsMenu, pressed] {
          if (!*pressed || !endsMenu || !AnyMenuVisible()) return true;
          if (script.retries < 40) return false;
          visit.clickFailure = "\"" + Narrow(name) + "\" was clicked and the menu stayed open: the click did nothing";
          return true;
        });
      }
      return true;
    });
  }
  if (afterPath) script.steps.push_back(afterPath);
  // Whatever happened, a menu still up at the end is dismissed with a click beside
  // it; a dialog that the chosen item opened is left to the test.
  {
    script.steps.push_back([window] {
      if (!AnyMenuVisible()) return true;
      RECT rc = {};
      GetClientRect(window, &rc);
      PostAt(window, WM_LBUTTONDOWN, MK_LBUTTON, POINT{rc.right - 2, rc.bottom - 2});
      return true;
    });
  }
  Script::Current() = &script;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, Script::Tick);
  RightClick(window, client);
  visit.rightClicks = 1;
  window_test::PumpFor(300);
  for (int i = 0; i < 100 && !script.steps.empty(); ++i) window_test::PumpFor(50);
  KillTimer(nullptr, timer);
  Script::Current() = nullptr;
  window_test::PumpFor(100);
  if (!visit.clickFailure.empty()) ADD_FAILURE() << "menu click: " << visit.clickFailure;
  return visit;
}

// Every item of the path that the visit did not find (or found against a "!")
// fails the running test.
inline void ExpectEveryItemFound(const Visit& visit) {
  for (const std::wstring& name : visit.missing) {
    ADD_FAILURE() << "menu item: " << name << " (" << visit.missingNote << ")";
  }
}

// ChooseFromMenu for a test, made once more when no menu came at all or it closed
// before its items were reached as another program took the foreground: on a
// loaded display the window may still be settling from the last choice (fades,
// the hover timer) or another program may hold the foreground. `settle(retry)` runs before
// each visit and puts that right; `afterPath` is ChooseFromMenu's. A missing item
// or a menu that never came fails the test.
inline Visit ChooseWithRetry(HWND window, POINT client, const std::vector<std::wstring>& path,
                             const std::function<void(bool retry)>& settle,
                             const std::function<bool()>& afterPath = {}) {
  settle(false);
  Visit visit = ChooseFromMenu(window, client, path, {}, afterPath);
  if (!visit.shown || visit.lostToOtherProgram) {
    ReportRepeatedRightClick(visit.shown ? "the menu closed as another program took the foreground"
                                         : "no menu level came at either right click of the first visit");
    settle(true);
    visit = ChooseFromMenu(window, client, path, {}, afterPath);
  }
  EXPECT_TRUE(visit.shown) << "a menu opens";
  ExpectEveryItemFound(visit);
  return visit;
}

// The picture of the menu windows of this thread as they stand on the screen,
// over white: each window's own surface, later (upper) levels over earlier ones.
inline bool SaveMenusPng(const std::vector<HWND>& windows, const std::wstring& path) {
  RECT all = {};
  for (HWND hwnd : windows) {
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    UnionRect(&all, &all, &rc);
  }
  const int width = all.right - all.left;
  const int height = all.bottom - all.top;
  if (width <= 0 || height <= 0) return false;
  return window_test::WritePng(path, width, height, [&](int x, int y) -> DWORD {
    DWORD out = 0xFFFFFFFFu;
    for (HWND hwnd : windows) {
      auto* window = reinterpret_cast<ui::Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
      ui::IRenderContext* context = window ? window->GetRenderContext() : nullptr;
      RECT rc = {};
      GetWindowRect(hwnd, &rc);
      const int wx = all.left + x - rc.left;
      const int wy = all.top + y - rc.top;
      if (!context || wx < 0 || wy < 0 || wx >= context->GetWidth() || wy >= context->GetHeight()) continue;
      // Premultiplied colour over what lies below.
      const DWORD src = window_test::PixelAt(context, wx, wy);
      const DWORD alpha = src >> 24;
      DWORD blended = 0xFF000000u;
      for (int shift = 0; shift < 24; shift += 8) {
        const DWORD over = (src >> shift) & 0xFF;
        const DWORD under = (out >> shift) & 0xFF;
        blended |= std::min<DWORD>(255, over + under * (255 - alpha) / 255) << shift;
      }
      out = blended;
    }
    return out;
  });
}

}  // namespace menu_driver
