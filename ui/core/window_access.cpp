#include "ui/core/window_access.h"

// Until the native window class joins the tree, a control bound to a window
// behaves like a detached one: nothing to invalidate, no focus, no deferred
// deletion queue.

namespace ui::window_access {

HWND GetHwnd(const Window*) { return nullptr; }
Control* GetRoot(const Window*) { return nullptr; }
void MarkUpdateNeeded(Window*) {}
void InvalidateRect(Window*, const RECT&) {}
bool GetShadowPadding(const Window*, RECT*) { return false; }
Control* GetFocusControl(const Window*) { return nullptr; }
void SetFocusControl(Window*, Control*) {}
Control* GetNewHoverControl(const Window*) { return nullptr; }
POINT GetLastMousePos(const Window*) { return POINT{-1, -1}; }
void SendControlEvent(Window*, Control*, EventType, WPARAM, LPARAM) {}
void ForgetControl(Window*, Control*) {}
void InitControls(Window*, Control*, Box*) {}
bool AddDelayedDelete(Window*, Control*) { return false; }
std::wstring GetClassAttributes(const Window*, const std::wstring&) { return {}; }
DWORD GetColor(const Window*, const std::wstring&) { return 0; }
std::wstring GetResourcePath(const Window*) { return {}; }

}  // namespace ui::window_access
