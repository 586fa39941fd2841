// The launcher's icon in the notification area: added at start, added again
// whenever the taskbar is re-created (Explorer restarted), removed at close.
// Clicks come back to the window as message 1124 with the mouse message in lParam.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

class TrayIcon {
 public:
  static constexpr UINT kCallbackMessage = 1124;

  // Fills the icon data: the window, identifier 0, message, icon and tip (cut to
  // the 127 characters the shell keeps).
  void Init(HWND window, HICON icon, const std::wstring& tip);
  // NIM_ADD. The icon counts as added even when the shell refuses it, so a later
  // removal is tried (and fails silently); true when the shell took it.
  bool Add();
  // NIM_DELETE when added; the added flag is cleared.
  void Remove();
  bool IsAdded() const { return added_; }
  const NOTIFYICONDATAW& Data() const { return data_; }

  // The registered "TaskbarCreated" message, registered on first use.
  static UINT TaskbarCreatedMessage();

 private:
  NOTIFYICONDATAW data_ = {};
  bool added_ = false;
};

class Settings;
// Looks up the desktop, "Progman", "Shell_TrayWnd" and its "TrayNotifyWnd" child
// and keeps them in the settings; a missing taskbar leaves both taskbar handles null.
void LookUpShellWindows(Settings& settings);
