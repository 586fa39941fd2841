#include "app/tray_icon.h"

#include <cwchar>

#include "data/settings.h"

void TrayIcon::Init(HWND window, HICON icon, const std::wstring& tip) {
  data_ = {};
  data_.cbSize = sizeof(data_);
  data_.hWnd = window;
  data_.uID = 0;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = kCallbackMessage;
  data_.hIcon = icon;
  std::wcsncpy(data_.szTip, tip.c_str(), ARRAYSIZE(data_.szTip) - 1);
}

bool TrayIcon::Add() {
  added_ = true;
  return Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
}

void TrayIcon::Remove() {
  if (!added_) return;
  Shell_NotifyIconW(NIM_DELETE, &data_);
  added_ = false;
}

UINT TrayIcon::TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

void LookUpShellWindows(Settings& settings) {
  settings.hDesktopWnd = GetDesktopWindow();
  settings.hProgmanWnd = FindWindowW(L"Progman", nullptr);
  settings.hTrayWnd = FindWindowW(L"Shell_TrayWnd", nullptr);
  settings.hTrayNotifyWnd =
      settings.hTrayWnd ? FindWindowExW(settings.hTrayWnd, nullptr, L"TrayNotifyWnd", nullptr)
                        : nullptr;
}
