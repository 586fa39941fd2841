#include "app/desktop/tray_icon.h"

#include "data/settings.h"

UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

void LookUpShellWindows(Settings& settings) {
  settings.hDesktopWnd = GetDesktopWindow();
  settings.hProgmanWnd = FindWindowW(L"Progman", nullptr);
  settings.hTrayWnd = FindWindowW(L"Shell_TrayWnd", nullptr);
  settings.hTrayNotifyWnd =
      settings.hTrayWnd ? FindWindowExW(settings.hTrayWnd, nullptr, L"TrayNotifyWnd", nullptr) : nullptr;
}
