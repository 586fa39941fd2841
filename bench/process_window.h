// Finding a window of another process by its class, for the benchmarks that
// start the launcher and watch it from outside.
#pragma once

#include <windows.h>

#include <string>

// A top-level window of the process with this class; only a visible one when asked.
inline HWND FindProcessWindow(DWORD processId, const wchar_t* className, bool visibleOnly) {
  struct Search {
    DWORD processId;
    const wchar_t* className;
    bool visibleOnly;
    HWND found;
  } search = {processId, className, visibleOnly, nullptr};
  EnumWindows(
      [](HWND hwnd, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        wchar_t name[64] = {};
        GetClassNameW(hwnd, name, 64);
        if (owner != s->processId || std::wstring(name) != s->className || (s->visibleOnly && !IsWindowVisible(hwnd))) {
          return TRUE;
        }
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}
