// Touch and pointer functions of user32, looked up at run time: older systems
// (and Wine) lack some of them, and importing them directly would stop the
// executable from loading there. Every entry is null when missing.
#pragma once

#include <windows.h>

namespace ui {

struct TouchInputApi {
  BOOL(WINAPI* registerTouchWindow)(HWND, ULONG) = nullptr;
  BOOL(WINAPI* unregisterTouchWindow)(HWND) = nullptr;
  BOOL(WINAPI* getTouchInputInfo)(HTOUCHINPUT, UINT, PTOUCHINPUT, int) = nullptr;
  BOOL(WINAPI* closeTouchInputHandle)(HTOUCHINPUT) = nullptr;
  BOOL(WINAPI* getPointerType)(UINT32, POINTER_INPUT_TYPE*) = nullptr;
  BOOL(WINAPI* getPointerTouchInfo)(UINT32, POINTER_TOUCH_INFO*) = nullptr;
  BOOL(WINAPI* getPointerPenInfo)(UINT32, POINTER_PEN_INFO*) = nullptr;
};

// The process-wide table, filled on first use.
const TouchInputApi& GetTouchInputApi();

}  // namespace ui
