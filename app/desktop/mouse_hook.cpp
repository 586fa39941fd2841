#include "app/desktop/mouse_hook.h"

#include <commctrl.h>

#include <cwchar>

#include "data/settings.h"

namespace {

constexpr DWORD kDoubleClickMilliseconds = 300;
// The desktop belongs to another process; a hung desktop must not stall the hook.
constexpr UINT kDesktopHitTestTimeout = 100;

// Tick of the last counted left-button release; 0 after a double click.
DWORD lastRelease = 0;

bool IsKeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

bool CursorInside(HWND window) {
  RECT rect = {};
  POINT cursor = {};
  return window && GetWindowRect(window, &rect) && GetCursorPos(&cursor) && PtInRect(&rect, cursor);
}

bool IsDesktopWindow(HWND window) {
  if (!window) return false;
  if (window == GetDesktopWindow() || window == GetShellWindow()) return true;
  wchar_t className[128] = {};
  GetClassNameW(window, className, 128);
  return std::wcscmp(className, L"Progman") == 0 || std::wcscmp(className, L"WorkerW") == 0;
}

// The release half of the double-click detector.
void OnLeftButtonUp(const Settings& settings, LPARAM event) {
  const DWORD now = GetTickCount();
  HWND main = settings.hMainWnd;
  if (now - lastRelease >= kDoubleClickMilliseconds) {
    // A release inside the visible main window does not start a pair.
    if (!IsWindowVisible(main) || !CursorInside(main)) lastRelease = now;
    return;
  }
  lastRelease = 0;
  HWND foreground = GetForegroundWindow();
  if (settings.bDoubleDeskMain && IsDesktopWindow(foreground) && !IsDesktopIconUnderCursor()) {
    SendMessageW(main, kMouseHookDoubleClickMessage, WM_LBUTTONUP, event);
    return;
  }
  if (settings.bDoubleTaskMain && foreground && foreground == settings.hTrayWnd &&
      !CursorInside(settings.hTrayNotifyWnd)) {
    SendMessageW(main, kMouseHookDoubleClickMessage, WM_LBUTTONUP, event);
  }
}

}  // namespace

UINT CurrentHotKeyModifiers() {
  UINT modifiers = 0;
  if (IsKeyDown(VK_CONTROL)) modifiers |= MOD_CONTROL;
  if (IsKeyDown(VK_SHIFT)) modifiers |= MOD_SHIFT;
  if (IsKeyDown(VK_MENU)) modifiers |= MOD_ALT;
  if (IsKeyDown(VK_LWIN) || IsKeyDown(VK_RWIN)) modifiers |= MOD_WIN;
  return modifiers;
}

LRESULT CALLBACK DesktopMouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
  Settings& settings = GetSettings();
  HHOOK hook = settings.hMouseHook;
  if (hook && settings.hMainWnd && code == HC_ACTION) {
    HWND main = settings.hMainWnd;
    const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    switch (wParam) {
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
        if (settings.bHideUnhot) SendMessageW(main, kMouseHookButtonDownMessage, wParam, lParam);
        break;
      case WM_MBUTTONDOWN:
        if (settings.bMButtonMain) SendMessageW(main, kMouseHookMiddleMessage, wParam, lParam);
        break;
      case WM_XBUTTONDOWN:
        if (settings.mouseButtonHotKeyInUse && event) {
          const WORD button = HIWORD(event->mouseData);
          const UINT key = button == XBUTTON1 ? VK_XBUTTON1 : button == XBUTTON2 ? VK_XBUTTON2 : 0;
          SendMessageW(main, WM_HOTKEY, 0, static_cast<LPARAM>(CurrentHotKeyModifiers() | key << 16));
        }
        break;
      case WM_LBUTTONUP:
        OnLeftButtonUp(settings, lParam);
        break;
      default:
        break;
    }
  }
  return CallNextHookEx(hook, code, wParam, lParam);
}

bool MouseHookWanted(const Settings& settings) {
  return settings.bHideUnhot || settings.bMButtonMain || settings.bDoubleDeskMain ||
         settings.bDoubleTaskMain || settings.mouseButtonHotKeyInUse;
}

bool InstallMouseHook(Settings& settings) {
  if (!settings.hMouseHook) {
    settings.hMouseHook =
        SetWindowsHookExW(WH_MOUSE_LL, &DesktopMouseHookProc, GetModuleHandleW(nullptr), 0);
  }
  return settings.hMouseHook != nullptr;
}

void RemoveMouseHook(Settings& settings) {
  if (settings.hMouseHook) UnhookWindowsHookEx(settings.hMouseHook);
  settings.hMouseHook = nullptr;
}

void UpdateMouseHook(Settings& settings) {
  if (MouseHookWanted(settings)) {
    InstallMouseHook(settings);
  } else {
    RemoveMouseHook(settings);
  }
}

bool IsDesktopIconUnderCursor() {
  HWND progman = FindWindowW(L"progman", nullptr);
  HWND view = progman ? FindWindowExW(progman, nullptr, L"shelldll_defview", nullptr) : nullptr;
  HWND list = view ? FindWindowExW(view, nullptr, L"syslistview32", nullptr) : nullptr;
  if (!list) return false;
  DWORD processId = 0;
  GetWindowThreadProcessId(list, &processId);
  HANDLE process =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (!process) return false;
  bool hit = false;
  // LVM_HITTEST reads its LVHITTESTINFO in the list view's own process.
  void* remote = VirtualAllocEx(process, nullptr, sizeof(LVHITTESTINFO), MEM_COMMIT, PAGE_READWRITE);
  POINT cursor = {};
  if (remote && GetCursorPos(&cursor)) {
    LVHITTESTINFO info = {};
    info.pt = cursor;
    SIZE_T written = 0;
    DWORD_PTR result = static_cast<DWORD_PTR>(-1);
    if (WriteProcessMemory(process, remote, &info, sizeof(info), &written) &&
        SendMessageTimeoutW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(remote),
                            SMTO_ABORTIFHUNG | SMTO_BLOCK, kDesktopHitTestTimeout, &result)) {
      hit = static_cast<int>(result) != -1;
    }
  }
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return hit;
}
