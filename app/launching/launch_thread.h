// The launch threads: a link's target is started on a thread of its own so that
// a slow shell, an elevation prompt or a slow browser never holds up the window.
#pragma once

#include <windows.h>

#include <string>

#include "data/link.h"

// Posted to the window that asked for a launch when the target could not be
// opened; WPARAM is the link's ID (0 for a link that is not stored), LPARAM the
// caller's own mark of that launch. The window looks the link up again: it may
// have been edited or dropped meanwhile.
inline constexpr UINT kLaunchFailedMessage = WM_APP + 0x150;

// What one launch thread works on: its own copy of the link (the store may edit or
// drop the original meanwhile), the folder command read on the window's thread,
// the window told of a failure (none: nobody is told) and the mark it is told with.
struct LaunchRequest {
  Link link;
  std::wstring openDirCmd;
  HWND noticeWindow = nullptr;
  LPARAM noticeMark = 0;
};

// Thread routines; the argument is a LaunchRequest made with new, which the thread
// deletes. The ordinary launch starts a link marked IsAdmin elevated; the elevated
// launch runs programs, files and shell items as administrator and opens web
// addresses privately. Both initialise COM for their own thread and return 0.
DWORD WINAPI RunLinkThread(LPVOID request);
DWORD WINAPI RunLinkElevatedThread(LPVOID request);

// Copies the link and the settings' folder command, starts the matching thread and
// closes its handle. False when no thread could be started. The caller counts the
// run itself. A target that does not open is posted to `noticeWindow` as
// kLaunchFailedMessage with `noticeMark`.
bool StartLinkThread(const Link& link, bool elevated, HWND noticeWindow = nullptr, LPARAM noticeMark = 0);
bool StartLinkThread(const Link& link, bool elevated, const std::wstring& openDirCmd, HWND noticeWindow = nullptr,
                     LPARAM noticeMark = 0);
