#include "ui/core/window_access.h"

#include "ui/core/window.h"

// Controls reach their window through these; a detached control (no window)
// behaves as if nothing needed doing.

namespace ui::window_access {

HWND GetHwnd(const Window* window) { return window ? window->GetHWND() : nullptr; }

Control* GetRoot(const Window* window) { return window ? window->GetRoot() : nullptr; }

void MarkUpdateNeeded(Window* window) {
  if (window) window->SetArrange(true);
}

void InvalidateRect(Window* window, const RECT& rc) {
  if (window) window->InvalidateClientRect(rc);
}

bool GetShadowPadding(const Window* window, RECT* padding) {
  if (!window || !window->IsShadowAttached()) return false;
  if (padding) *padding = window->GetShadowPadding();
  return true;
}

Control* GetFocusControl(const Window* window) {
  return window ? window->GetFocusControl() : nullptr;
}

void SetFocusControl(Window* window, Control* control) {
  if (window) window->SetFocusControl(control);
}

Control* GetNewHoverControl(const Window* window) {
  return window ? window->GetNewHover() : nullptr;
}

POINT GetLastMousePos(const Window* window) {
  return window ? window->GetLastMousePos() : POINT{-1, -1};
}

void SendControlEvent(Window* window, Control* control, EventType type, WPARAM wParam,
                      LPARAM lParam) {
  if (window) window->SendControlEvent(control, type, wParam, lParam);
}

void ForgetControl(Window* window, Control* control) {
  if (window) window->ForgetDestroyedControl(control);
}

void InitControls(Window* window, Control* control, Box* parent) {
  if (window) window->InitControls(control, parent);
}

bool AddDelayedDelete(Window* window, Control* control) {
  if (!window) return false;
  window->AddDelayedDelete(control);
  return true;
}

std::wstring GetClassAttributes(const Window* window, const std::wstring& className) {
  return window ? window->GetClassAttributes(className) : std::wstring();
}

DWORD GetColor(const Window* window, const std::wstring& name) {
  return window ? window->GetColor(name) : 0;
}

Control* FindControlByName(const Window* window, const std::wstring& name) {
  return window ? window->FindControlByName(name) : nullptr;
}

std::wstring GetResourcePath(const Window* window) {
  return window ? window->GetResourcePath() : std::wstring();
}

}  // namespace ui::window_access
