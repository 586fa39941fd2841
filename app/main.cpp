// Program entry of the launcher.
#include <windows.h>
#include <ole2.h>

#include "app/app_control_factory.h"
#include "app/main_wnd.h"
#include "app/mouse_hook.h"
#include "data/program_dir.h"
#include "data/settings.h"
#include "data/theme_loader.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/stock_controls.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  SetCurrentDirectoryW(GetProgramDir().c_str());
  OleInitialize(nullptr);
  Settings& settings = GetSettings();
  settings.Load();
  ui::RegisterStockControls();
  ui::UiGlobals::OpenSkinZip(201, L"SKIN", PEXO_SKIN_PASSWORD);
  ui::UiGlobals::Startup(L"skin\\", CreateAppControl, false, L"gray", L"lang\\zh_CN");
  if (!settings.Theme.empty() && !LoadTheme(settings.Theme)) ShowThemeLoadWarning(nullptr, settings.Theme);

  MSG message = {};
  // The window deletes itself when its native window is destroyed.
  auto* mainWindow = new CMainWnd(instance);
  const DWORD exStyle = WS_EX_TOOLWINDOW | (settings.bTopMost ? WS_EX_TOPMOST : 0);
  if (mainWindow->Create(nullptr, CMainWnd::kDisplayName, WS_POPUP | WS_CLIPCHILDREN, exStyle)) {
    if (MouseHookWanted(settings)) InstallMouseHook(settings);
    if (settings.bHideOnStart) {
      mainWindow->DockAtStart();
    } else {
      mainWindow->ShowMain();
    }
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  RemoveMouseHook(settings);
  ui::UiGlobals::Shutdown();
  OleUninitialize();
  // The quit message's code (0 from the main window's close).
  return static_cast<int>(message.wParam);
}
