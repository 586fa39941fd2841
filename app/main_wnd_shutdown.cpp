// The main window's close: stops docking, withdraws from drag and drop, removes
// the tray icon, saves the placement and current indexes, closes the databases
// and ends the loop.
#include <windows.h>
#include <shellapi.h>

#include "app/main_wnd.h"
#include "data/icon_cache.h"
#include "data/link_store.h"
#include "data/settings.h"

LRESULT CMainWnd::OnClose(UINT, WPARAM, LPARAM, bool& handled) {
  if (openDialog_) {
    // A dialog's modal loop is on the stack: destroying the window now would pull
    // it out from under that loop. End the dialog with "cancel"; the close is
    // posted again once the dialog is gone (DialogScope).
    closePending_ = true;
    openDialog_->Close(2);
    handled = true;
    return 0;
  }
  SaveChangedNote();  // before the link store closes
  HWND hwnd = GetHWND();
  KillTimer(hwnd, kTimerDockPoll);
  dock_.Stop();
  RevokeDropTarget();

  if (trayAdded_) {
    Shell_NotifyIconW(NIM_DELETE, &trayData_);
    trayAdded_ = false;
  }

  Settings& settings = GetSettings();
  StorePlacement();
  settings.nCurGroup = curGroup_;
  settings.nCurTag = curTag_;
  settings.Save();

  DestroySearchWindow();
  appHotKeys_.UnregisterAll();
  GetIconCache().Close();
  GetLinkStore().Close();
  PostQuitMessage(0);
  // The framework goes on closing and destroying the window.
  handled = false;
  return 0;
}
