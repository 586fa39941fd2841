// Who holds the foreground, for the drivers' menus: a menu closes when its
// program loses the foreground, and test programs that run beside each other
// show windows that take it. Only a menu lost that way is a cause outside the
// program under test.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace foreground {

// Whether a window of a process other than `processId` holds the foreground.
inline bool HeldOutside(DWORD processId) {
  HWND window = GetForegroundWindow();
  DWORD owner = 0;
  if (window) GetWindowThreadProcessId(window, &owner);
  return window && owner != processId;
}

// Whether the process has lost the foreground: no window of it is in front, be it
// that another program's window is, or that none is (the one that took it has
// gone again).
inline bool LostBy(DWORD processId) {
  HWND window = GetForegroundWindow();
  DWORD owner = 0;
  if (window) GetWindowThreadProcessId(window, &owner);
  return owner != processId;
}

// The window that holds the foreground, by class, for a report.
inline std::string Note() {
  HWND window = GetForegroundWindow();
  char name[64] = "none";
  if (window) GetClassNameA(window, name, 64);
  DWORD owner = 0;
  if (window) GetWindowThreadProcessId(window, &owner);
  char note[128];
  std::snprintf(note, sizeof(note), "foreground %p (%s) of process %lu", static_cast<void*>(window), name,
                static_cast<unsigned long>(owner));
  return note;
}

}  // namespace foreground
