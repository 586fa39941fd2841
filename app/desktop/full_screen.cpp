#include "app/desktop/full_screen.h"

#include <windows.h>

#include <cwchar>

bool IsForegroundFullScreen() {
  HWND foreground = GetForegroundWindow();
  HWND desktop = GetDesktopWindow();
  if (!foreground || foreground == desktop || foreground == GetShellWindow()) return false;
  wchar_t className[128] = {};
  GetClassNameW(foreground, className, 128);
  if (std::wcscmp(className, L"Progman") == 0 || std::wcscmp(className, L"WorkerW") == 0) {
    return false;
  }
  RECT desktopRect = {};
  RECT foregroundRect = {};
  if (!GetWindowRect(desktop, &desktopRect) || !GetWindowRect(foreground, &foregroundRect)) {
    return false;
  }
  return foregroundRect.left <= desktopRect.left && foregroundRect.top <= desktopRect.top &&
         foregroundRect.right >= desktopRect.right && foregroundRect.bottom >= desktopRect.bottom;
}
