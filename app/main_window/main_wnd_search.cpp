// The main window's search popup: made hidden at the end of the set-up (after the
// window's first paint, before any input), shown by the search hot key, the
// search button or typing, and destroyed at close while the framework is still up.
#include <windows.h>

#include <algorithm>

#include "app/main_window/main_wnd.h"
#include "app/search_window/search_wnd.h"
#include "data/settings.h"

namespace {

// A stored position whose window would lie off every screen (a monitor since
// removed, a damaged file) is pulled into the work area of the nearest screen,
// where the user can reach it again.
POINT OnSomeScreen(HWND window, POINT place) {
  RECT rc = {};
  GetWindowRect(window, &rc);
  const LONG width = rc.right - rc.left;
  const LONG height = rc.bottom - rc.top;
  const RECT wanted = {place.x, place.y, place.x + width, place.y + height};
  if (MonitorFromRect(&wanted, MONITOR_DEFAULTTONULL)) return place;
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  if (!GetMonitorInfoW(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &monitor)) return place;
  const RECT& work = monitor.rcWork;
  place.x = std::max(work.left, std::min(place.x, work.right - width));
  place.y = std::max(work.top, std::min(place.y, work.bottom - height));
  return place;
}

}  // namespace

void CMainWnd::CreateSearchWindow() {
  if (searchWnd_) return;
  auto* search = new CSearchWnd;
  if (!search->Create(GetDesktopWindow(), L"PexoWnd", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_LAYERED, true)) {
    // A window whose skin failed has already deleted itself; the launcher goes on
    // without a search window.
    return;
  }
  searchWnd_ = search;
  const Settings& settings = GetSettings();
  if (settings.nSearchX == -1 && settings.nSearchY == -1) {
    searchWnd_->CenterWindow();
  } else {
    const POINT place = OnSomeScreen(searchWnd_->GetHWND(), {settings.nSearchX, settings.nSearchY});
    SetWindowPos(searchWnd_->GetHWND(), nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InstallSearchMouseHook(searchWnd_->GetHWND());
}

bool CMainWnd::ShowSearch() {
  CreateSearchWindow();
  if (!searchWnd_) return false;
  searchWnd_->BringUp();
  return true;
}

void CMainWnd::DestroySearchWindow() {
  RemoveSearchMouseHook();
  if (!searchWnd_) return;
  CSearchWnd* search = searchWnd_;
  searchWnd_ = nullptr;
  // The window deletes itself with its last message.
  if (IsWindow(search->GetHWND())) DestroyWindow(search->GetHWND());
}
