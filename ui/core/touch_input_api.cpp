#include "ui/core/touch_input_api.h"

namespace ui {

namespace {

template <typename Function>
void Lookup(HMODULE module, const char* name, Function& target) {
  target = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

TouchInputApi LoadTouchInputApi() {
  TouchInputApi api;
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (!user32) return api;
  Lookup(user32, "RegisterTouchWindow", api.registerTouchWindow);
  Lookup(user32, "UnregisterTouchWindow", api.unregisterTouchWindow);
  Lookup(user32, "GetTouchInputInfo", api.getTouchInputInfo);
  Lookup(user32, "CloseTouchInputHandle", api.closeTouchInputHandle);
  Lookup(user32, "GetPointerType", api.getPointerType);
  Lookup(user32, "GetPointerTouchInfo", api.getPointerTouchInfo);
  Lookup(user32, "GetPointerPenInfo", api.getPointerPenInfo);
  return api;
}

}  // namespace

const TouchInputApi& GetTouchInputApi() {
  static const TouchInputApi api = LoadTouchInputApi();
  return api;
}

}  // namespace ui
