// What the tray icon needs from the shell beyond adding and removing it: the
// message Explorer broadcasts when it re-creates the taskbar (the icon must be
// added again then), and the shell windows the launcher keeps handles of.
#pragma once

#include <windows.h>

class Settings;

// The registered "TaskbarCreated" message, registered on first use.
UINT TaskbarCreatedMessage();

// Looks up the desktop, "Progman", "Shell_TrayWnd" and its "TrayNotifyWnd" child
// and keeps them in the settings; without a taskbar both taskbar handles are null.
void LookUpShellWindows(Settings& settings);
