// Modal loops over the main window and closing while one runs. A message box, a
// file picker, a popup menu (ours or the shell's) and a dialog each run their
// own message loop inside one of the window's handlers; the code after the loop
// goes on using the window. A close that arrives through such a loop is
// therefore remembered, the loops are ended as a cancel, innermost first, and the
// close is carried out once the outermost handler has returned.
#include <windows.h>

#include "app/main_window/main_wnd.h"
#include "app/search_window/search_wnd.h"
#include "ui/controls/menu_mgr.h"

namespace {

// The thread's enabled, visible standard dialogs: message boxes and the file
// picker. A dialog over another disables it, so these are the innermost ones.
bool IsOpenStandardDialog(HWND window) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  return std::wstring(className) == L"#32770" && IsWindowVisible(window) && IsWindowEnabled(window);
}

BOOL CALLBACK CancelStandardDialog(HWND window, LPARAM ended) {
  if (!IsOpenStandardDialog(window)) return TRUE;
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  *reinterpret_cast<bool*>(ended) = true;
  return TRUE;
}

BOOL CALLBACK FindStandardDialog(HWND window, LPARAM found) {
  if (!IsOpenStandardDialog(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

bool InPlatformMenu() {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(GetCurrentThreadId(), &info) && (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE));
}

}  // namespace

bool CMainWnd::InModalLoop() const {
  // The close destroys the search window too, so its loops count as well.
  return handlerDepth_ > 1 || modalScopes_ > 0 || (searchWnd_ && searchWnd_->InModalLoop());
}

bool CMainWnd::EndOpenMenus() {
  bool ended = false;
  if (searchWnd_ && searchWnd_->InModalLoop()) {
    searchWnd_->EndOpenMenus();
    ended = true;
  }
  if (menus_ && menus_->IsRunning()) {
    menus_->Dismiss();
    ended = true;
  }
  // The shell's context menu of a card.
  if (InPlatformMenu()) {
    EndMenu();
    ended = true;
  }
  return ended;
}

HWND CMainWnd::FrontStandardDialog() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindStandardDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

void CMainWnd::EndModalLoops() {
  bool ended = false;
  EnumThreadWindows(GetCurrentThreadId(), CancelStandardDialog, reinterpret_cast<LPARAM>(&ended));
  if (EndOpenMenus()) ended = true;
  // A dialog is ended only once nothing of its own is open over it.
  if (!ended && openDialog_) openDialog_->Close(2);
}

void CMainWnd::CarryOutPendingClose() {
  if (!closePending_ || InModalLoop()) return;
  closePending_ = false;
  KillTimer(GetHWND(), kTimerClosePending);
  PostMessageW(GetHWND(), WM_CLOSE, 0, 0);
}

void CMainWnd::WatchMenuLoops(ui::CMenuMgr& menus) {
  menus.SetLoopObserver(ToWeakCallback([this](bool running) {
    if (running) {
      menuBlock_.emplace(dock_);
    } else {
      menuBlock_.reset();
    }
  }));
}

CMainWnd::DialogScope::DialogScope(CMainWnd& owner, ui::Window* dialog)
    : owner_(owner), previous_(owner.openDialog_), block_(owner.dock_) {
  owner_.openDialog_ = dialog;
  ++owner_.modalScopes_;
}

CMainWnd::DialogScope::~DialogScope() {
  owner_.openDialog_ = previous_;
  --owner_.modalScopes_;
  // A close that arrived while the dialog ran goes through now that it is gone
  // (or, inside a handler, once that handler has returned).
  owner_.CarryOutPendingClose();
}
