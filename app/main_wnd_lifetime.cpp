// Launching a link from the main window, and the window's end.
#include <shellapi.h>

#include "app/main_wnd.h"
#include "data/icon_cache.h"
#include "data/link_store.h"
#include "data/settings.h"

void CMainWnd::LaunchLink(const std::shared_ptr<Link>& link) {
  // The launch threads are not part of the program yet.
  (void)link;
}

LRESULT CMainWnd::OnClose(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  Settings& settings = GetSettings();
  settings.nCurGroup = curGroup_;
  settings.nCurTag = curTag_;
  settings.Save();
  if (trayAdded_) {
    Shell_NotifyIconW(NIM_DELETE, &trayData_);
    trayAdded_ = false;
  }
  if (mainHotKeyId_ > 0) UnregisterHotKey(GetHWND(), mainHotKeyId_);
  if (searchHotKeyId_ > 0) UnregisterHotKey(GetHWND(), searchHotKeyId_);
  return 0;
}

LRESULT CMainWnd::OnDestroy(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  PostQuitMessage(0);
  return 0;
}
