// The main window's close: stops docking, withdraws from drag and drop, removes
// the tray icon, saves the placement and current indexes, closes the databases
// and ends the loop.
#include <windows.h>
#include <shellapi.h>

#include "app/main_window/main_wnd.h"
#include "app/main_window/main_wnd_notices.h"
#include "data/icon_cache.h"
#include "data/link_store.h"
#include "data/settings.h"

LRESULT CMainWnd::OnClose(UINT, WPARAM, LPARAM, bool& handled) {
  HWND hwnd = GetHWND();
  if (InModalLoop()) {
    // A modal loop (a dialog, a message box, a file picker, a menu) is on the
    // stack, and the code after it still uses the window: destroying the window
    // now would pull it out from under them. The loops are ended as a cancel,
    // and the close is posted again once the last has returned.
    closePending_ = true;
    EndModalLoops();
    SetTimer(hwnd, kTimerClosePending, 100, nullptr);
    handled = true;
    return 0;
  }
  // Before anything is taken down: the box it may show runs the window's loop.
  SaveNotesBeforeExit();
  KillTimer(hwnd, kTimerClosePending);
  // What is left of a long note is not wanted any more.
  KillTimer(hwnd, kTimerNoteFill);
  noteFiller_.Cancel();
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

void CMainWnd::SaveNotesBeforeExit() {
  // A note the store still refuses would be lost with the process: the user is
  // told and may free the database file and try again, or end without it.
  while (!SaveChangedNote()) {
    // One question at a time; under another box the attempt above has to do.
    if (messageBoxOpen_) return;
    messageBoxOpen_ = true;
    const int answer = MessageBoxW(GetHWND(), kNoteNotSavedText, kNoteNotSavedCaption,
                                   MB_RETRYCANCEL | MB_ICONWARNING | MB_TOPMOST);
    messageBoxOpen_ = false;
    if (answer != IDRETRY) return;
  }
}

LRESULT CMainWnd::OnDestroy(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  // A window destroyed without closing still takes its search window and hook along.
  DestroySearchWindow();
  PostQuitMessage(0);
  return 0;
}
