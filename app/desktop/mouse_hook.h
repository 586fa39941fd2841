// The launcher's system-wide low-level mouse hook. It does no window work: it
// turns mouse events into messages sent to the main window, each only when its
// setting is on. It runs on the user-interface thread inside its message
// retrieval, and Windows drops a low-level hook that stalls, so nothing here
// waits long.
#pragma once

#include <windows.h>

class Settings;

// Messages sent to the main window (wParam the mouse message, lParam the
// hook's MSLLHOOKSTRUCT).
constexpr UINT kMouseHookMiddleMessage = 2025;       // middle button down
constexpr UINT kMouseHookButtonDownMessage = 2026;   // left or right button down anywhere
constexpr UINT kMouseHookDoubleClickMessage = 2027;  // double click on the desktop or taskbar

// The hook procedure; always passes the event on.
LRESULT CALLBACK DesktopMouseHookProc(int code, WPARAM wParam, LPARAM lParam);

// True when any of the hook's uses is switched on.
bool MouseHookWanted(const Settings& settings);
// Installs the hook into the settings' handle unless one is installed; true when
// a hook is in place afterwards.
bool InstallMouseHook(Settings& settings);
// Removes the hook and clears the handle.
void RemoveMouseHook(Settings& settings);
// Installs the hook when a use is on, removes it when none is left.
void UpdateMouseHook(Settings& settings);

// True when an icon of the desktop's list view lies under the cursor.
bool IsDesktopIconUnderCursor();
// The modifier bits of the WM_HOTKEY a side button makes: MOD_ALT, MOD_CONTROL,
// MOD_SHIFT and MOD_WIN from the keys held now.
UINT CurrentHotKeyModifiers();
