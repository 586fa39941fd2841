// The main window's search popup: made when it is first shown (by the search hot
// key, the search button or typing) so that start-up does not pay for it, then
// kept, and destroyed at close while the framework is still up.
#include "app/main_wnd.h"
#include "app/search_wnd.h"
#include "data/settings.h"

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
    SetWindowPos(searchWnd_->GetHWND(), nullptr, settings.nSearchX, settings.nSearchY, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
