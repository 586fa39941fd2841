#include "app/desktop/force_foreground.h"

bool ForceForegroundWindow(HWND window) {
  if (!IsWindow(window)) return false;
  const bool hung = IsHungAppWindow(window) != FALSE;
  if (IsIconic(window)) SendMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
  if (hung) {
    BringWindowToTop(window);
    return SetForegroundWindow(window) != FALSE;
  }
  bool result = GetForegroundWindow() == window;
  const DWORD ownThread = GetCurrentThreadId();
  for (int round = 0; round < 10 && GetForegroundWindow() != window; ++round) {
    const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const bool attached = foregroundThread && foregroundThread != ownThread &&
                          AttachThreadInput(ownThread, foregroundThread, TRUE);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    BringWindowToTop(window);
    AllowSetForegroundWindow(ASFW_ANY);
    result = SetForegroundWindow(window) != FALSE;
    if (attached) AttachThreadInput(ownThread, foregroundThread, FALSE);
    Sleep(10);
  }
  return result;
}
