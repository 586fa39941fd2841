// The launch threads: a link's target is started on a thread of its own so that
// a slow shell, an elevation prompt or a slow browser never holds up the window.
#pragma once

#include <windows.h>

#include <string>

#include "data/link.h"

// What one launch thread works on: its own copy of the link (the store may edit or
// drop the original meanwhile) and the folder command read on the window's thread.
struct LaunchRequest {
  Link link;
  std::wstring openDirCmd;
};

// Thread routines; the argument is a LaunchRequest made with new, which the thread
// deletes. The ordinary launch starts a link marked IsAdmin elevated; the elevated
// launch runs programs, files and shell items as administrator and opens web
// addresses privately. Both initialise COM for their own thread and return 0.
DWORD WINAPI RunLinkThread(LPVOID request);
DWORD WINAPI RunLinkElevatedThread(LPVOID request);

// Copies the link and the settings' folder command, starts the matching thread and
// closes its handle. False when no thread could be started. The caller counts the
// run itself.
bool StartLinkThread(const Link& link, bool elevated);
bool StartLinkThread(const Link& link, bool elevated, const std::wstring& openDirCmd);
