// The shortcut in the user's Startup folder that starts the program at log-on.
#pragma once

#include <windows.h>

#include <string>

// The shortcut's path for a Windows major version: under %APPDATA% from 6.0 on,
// under the old localized Start menu before. Empty when it cannot be expanded.
std::wstring AutorunShortcutPath(DWORD majorVersion);

// Brings the shortcut at `shortcutPath` in line with `on`. On: a shortcut whose
// target is not `programPath` (compared case-insensitively) is replaced, and a
// missing one is written with the program's folder as working folder. Off: the
// file is deleted. True when the shortcut now is as asked.
bool SyncAutorunShortcut(const std::wstring& shortcutPath, const std::wstring& programPath, bool on);

// The same for the running program, at the current user's Startup folder.
bool SyncAutorunShortcut(bool on);
