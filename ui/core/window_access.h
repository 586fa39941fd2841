// The few window operations that controls and boxes use, gathered in one place so
// that the control tree depends on the window only through this file.
#pragma once

#include <windows.h>

#include <string>

#include "ui/core/event_args.h"

namespace ui {

class Box;
class Control;
class Window;

namespace window_access {

HWND GetHwnd(const Window* window);
Control* GetRoot(const Window* window);
// The tree must be laid out before the next paint.
void MarkUpdateNeeded(Window* window);
// Invalidates a client rectangle (no erase); a layered window also gets a WM_PAINT.
void InvalidateRect(Window* window, const RECT& rc);
// Padding of the attached window shadow; false when no shadow is attached.
bool GetShadowPadding(const Window* window, RECT* padding);
Control* GetFocusControl(const Window* window);
void SetFocusControl(Window* window, Control* control);
// The control found under the mouse by the last hit test.
Control* GetNewHoverControl(const Window* window);
POINT GetLastMousePos(const Window* window);
void SendControlEvent(Window* window, Control* control, EventType type, WPARAM wParam,
                      LPARAM lParam);
// For a control's destructor (Window::ForgetDestroyedControl).
void ForgetControl(Window* window, Control* control);
// Binds a control added to a live tree: window, parent, init, named controls.
void InitControls(Window* window, Control* control, Box* parent);
// Detaches the control and deletes it when the window handles WM_APP+1.
// False when the window cannot take it (the caller then deletes it at once).
bool AddDelayedDelete(Window* window, Control* control);
// Attribute text of a window-level class; empty when unknown.
std::wstring GetClassAttributes(const Window* window, const std::wstring& className);
// A window-level colour; 0 when the window has none of that name.
DWORD GetColor(const Window* window, const std::wstring& name);
// The control of that name in the window's name map, or null.
Control* FindControlByName(const Window* window, const std::wstring& name);
// Folder of the window's skin files.
std::wstring GetResourcePath(const Window* window);

}  // namespace window_access
}  // namespace ui
