// Program entry of the launcher. The launcher always runs as a second process
// started with the argument "main", one per installation folder; a later start
// from the same folder shows the running one and ends.
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <string>
#include <thread>

#include "app/controls/app_control_factory.h"
#include "app/desktop/mouse_hook.h"
#include "app/desktop/tray_icon.h"
#include "app/entry/hide_wnd.h"
#include "app/entry/single_instance.h"
#include "app/main_window/data_preload.h"
#include "app/main_window/main_wnd.h"
#include "data/program_dir.h"
#include "data/settings.h"
#include "data/theme_loader.h"
#include "ui/base/scoped_handles.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/stock_controls.h"
#include "ui/controls/txt_win_host.h"

namespace {

// A 32-bit build on 64-bit Windows: suggest the x64 build, then go on.
void WarnWhenRunningUnderWow64() {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, BOOL*);
  HMODULE kernel = GetModuleHandleW(L"kernel32");
  auto isWow64 = kernel ? reinterpret_cast<IsWow64ProcessFn>(GetProcAddress(kernel, "IsWow64Process")) : nullptr;
  BOOL wow64 = FALSE;
  if (isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64) {
    MessageBoxW(nullptr, L"64位系统下建议使用x64版本！", L"警告", MB_TOPMOST | MB_ICONWARNING);
  }
}

// The program folder as the current directory, with its "db" folder. A folder
// that cannot be made is reported by the link store when it opens.
void PrepareProgramFolder(const std::wstring& programDir) {
  SetCurrentDirectoryW(programDir.c_str());
  const std::wstring db = programDir + L"db";
  if (!PathIsDirectoryW(db.c_str())) CreateDirectoryW(db.c_str(), nullptr);
}

// ---- the main window ----
// Creates the launcher's main window, owned by the hidden window so that it has
// no taskbar button of its own. Its set-up runs inside Create; a fatal failure
// there ends the process. Null when no main window could be made.
CMainWnd* CreateMainWindow(HINSTANCE instance, HWND owner, const Settings& settings) {
  // The window deletes itself when its native window is destroyed.
  auto* mainWindow = new CMainWnd(instance);
  const DWORD exStyle = WS_EX_TOOLWINDOW | (settings.bTopMost ? WS_EX_TOPMOST : 0);
  if (!mainWindow->Create(owner, CMainWnd::kDisplayName, WS_POPUP | WS_CLIPCHILDREN, exStyle)) return nullptr;
  return mainWindow;
}

// The owner window keeps the main window off the taskbar; the taskbar list
// removes a button that a shell shows anyway. Failures change nothing.
void RemoveTaskbarButton(HWND window) {
  ui::ComPtr<ITaskbarList> taskbar;
  if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList,
                              taskbar.put_void()))) {
    return;
  }
  if (SUCCEEDED(taskbar->HrInit())) taskbar->DeleteTab(window);
}

// Shows the main window where the set-up placed it (or docks it hidden). Not
// through ShowMain: the first appearance neither follows the mouse nor yields to
// a full-screen program in front, so the launcher never starts invisible.
void ShowAtStart(CMainWnd& mainWindow, const Settings& settings) {
  if (settings.bHideOnStart) {
    mainWindow.DockAtStart();
  } else {
    mainWindow.ShowAtStart();
  }
}

// Sets the pair's z-order after the first appearance.
void ApplyStartZOrder(CMainWnd& mainWindow, CHideWnd* hideWindow, const Settings& settings) {
  if (settings.bTopMost) {
    if (hideWindow) hideWindow->SetTopMost(true);
    mainWindow.SetTopMost(true);
  } else {
    // Top-most and at once not: the window ends at the top of the ordinary windows.
    mainWindow.SetTopMost(false);
  }
}

int RunMessageLoop() {
  MSG message = {};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  // The quit message's code (0 from the main window's close).
  return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  // 1. Every start without exactly "main" starts the real process and ends.
  if (!IsMainProcessCommandLine(commandLine)) {
    RelaunchAsMainProcess();
    return 0;
  }

  // 2. OLE (drag and drop, the clipboard) for the user-interface thread; it is
  // uninitialised last, after everything that uses it is gone, and flushes what a
  // field copied onto the clipboard. The text services' library is released only
  // after that: the copied data object is its code.
  ui::UniqueModule textServices = ui::HoldTextServicesLibrary();
  ui::ScopedOleInit ole;

  // 3-4. One instance per folder: a second start shows the first and ends.
  const std::wstring programDir = GetProgramDir();
  const uint32_t folderHash = HashProgramFolder(programDir);
  bool alreadyRunning = false;
  // Stays open until the process ends, so the folder counts as occupied until then.
  ui::UniqueHandle instanceMutex = CreateInstanceMutex(InstanceMutexName(folderHash), alreadyRunning);
  if (alreadyRunning) {
    NotifyRunningInstance(SharedBlockName(folderHash));
    return 0;
  }

  // 5-8. Working folder, settings and the shell's windows.
  WarnWhenRunningUnderWow64();
  PrepareProgramFolder(programDir);
  // The icon cache and the link store open on a worker thread while the rest of
  // the start goes on; the main window waits for them where it uses them.
  DataPreload dataPreload;
  // The settings are read on another while the framework starts and the hidden
  // window is made, neither of which reads them.
  Settings& settings = GetSettings();
  std::thread settingsLoad([&settings] { settings.Load(); });

  // 9-10, 12. The framework with the embedded skin and the launcher's controls, and
  // the hidden owner window (never shown, so the theme below changes nothing of it).
  ui::RegisterStockControls();
  ui::UiGlobals::OpenSkinZip(201, L"SKIN", PEXO_SKIN_PASSWORD);
  ui::UiGlobals::Startup(L"skin\\", CreateAppControl, false, L"gray", L"lang\\zh_CN");
  CHideWnd* hideWindow = CHideWnd::CreateHidden();
  settingsLoad.join();

  // The shell's windows that the mouse hook and the full-screen test look at.
  LookUpShellWindows(settings);
  // 11. The theme.
  if (!settings.Theme.empty() && !LoadTheme(settings.Theme)) ShowThemeLoadWarning(nullptr, settings.Theme);

  // 13. The main window.
  CMainWnd* mainWindow = CreateMainWindow(instance, hideWindow ? hideWindow->GetHWND() : nullptr, settings);
  settings.hMouseHook = nullptr;

  SharedBlock sharedBlock;
  int exitCode = 0;
  if (mainWindow) {
    settings.hMainWnd = mainWindow->GetHWND();
    // 14. The low-level mouse hook, when a setting or a side-button hot key needs it.
    if (MouseHookWanted(settings)) InstallMouseHook(settings);
    // 15-17. Taskbar button, first appearance and z-order. The window comes up
    // first; the taskbar and the z-order, which change nothing on screen (the
    // window has no button of its own and is shown in front), follow once it
    // answers, before any input.
    mainWindow->AfterSetUp([mainWindow, hideWindow, &settings] {
      RemoveTaskbarButton(settings.hMainWnd);
      ApplyStartZOrder(*mainWindow, hideWindow, settings);
    });
    ShowAtStart(*mainWindow, settings);
    // 18. Later starts from this folder find the main window here.
    sharedBlock.Publish(SharedBlockName(folderHash), settings.hMainWnd);
    // 19. The main window posts the quit message from its close handler.
    exitCode = RunMessageLoop();
  }

  // Shutdown, in this order: hook, hidden window, framework, shared block; OLE
  // (with the clipboard's flush) last, then the text services' library.
  RemoveMouseHook(settings);
  CHideWnd::Destroy(hideWindow);
  ui::UiGlobals::Shutdown();
  sharedBlock.Close();
  return exitCode;
}
