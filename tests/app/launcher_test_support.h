// Start-up shared by the launcher's window and process tests: the program's own
// skin archive and controls, and waiting for a state another program reaches.
#pragma once

#include <windows.h>

#include "app/app_control_factory.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/stock_controls.h"

namespace launcher_test {

#ifdef PEXO_SKIN_PASSWORD  // only the tests linked with the skin archive know its password
// The framework as the program starts it: stock and launcher controls, the skin
// archive linked into the test, the gray theme and the Chinese texts. False when
// the archive cannot be opened (nothing is started then).
inline bool StartLauncherSkin() {
  ui::RegisterStockControls();
  if (!ui::UiGlobals::OpenSkinZip(201, L"SKIN", PEXO_SKIN_PASSWORD)) return false;
  ui::UiGlobals::Startup(L"skin\\", CreateAppControl, false, L"gray", L"lang\\zh_CN");
  return true;
}

inline void StopLauncherSkin() { ui::UiGlobals::Shutdown(); }
#endif

// Polls `done` every `stepMs` until it holds or `timeoutMs` passed; the result is
// whether it held. For states of other processes, which no message tells about.
template <typename Condition>
bool WaitFor(Condition done, DWORD timeoutMs, DWORD stepMs = 20) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(stepMs);
  }
  return true;
}

}  // namespace launcher_test
