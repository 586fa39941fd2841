// The base of every skinned window. On WM_CREATE it builds its control tree from
// the skin file the derived window names, wraps it in the window shadow,
// attaches it, wires the caption buttons ("closebtn", "minbtn", "maxbtn",
// "restorebtn") and calls InitWindow. It maps window messages to overridable
// handlers, answers hit tests for a window without a system caption, limits
// the tracking size, keeps a maximized window on its own monitor, applies the
// rounded region, and deletes itself once its native window is gone.
#pragma once

#include <windows.h>

#include <string>

#include "ui/core/window.h"

namespace ui {

class Control;

class WindowImplBase : public Window, public IUIMessageFilter {
 public:
  WindowImplBase() = default;
  ~WindowImplBase() override = default;

  // Window overrides.
  std::wstring GetWindowClassName() const override = 0;
  // When the skin cannot be built the native window is destroyed during
  // creation: the result is null and the object has deleted itself, once
  // creation has returned, so no caller may use or delete it.
  HWND Create(HWND parent, const wchar_t* windowName, DWORD style, DWORD exStyle, bool layered = true,
              const RECT& rect = {0, 0, 0, 0}) override;
  std::wstring GetSuperClassName() const override;
  UINT GetClassStyle() const override;
  // Runs the window's final steps, forgets the root and deletes the object.
  void OnFinalMessage(HWND hwnd) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  // IUIMessageFilter: handles nothing.
  LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

  // Virtual operations added here, in slot order.
  // Called once the skin's tree is attached.
  virtual void InitWindow();
  // The window style: the current one without WS_CAPTION.
  virtual LONG GetStyle();
  // Makes controls for class names the builder does not know; null here.
  virtual Control* CreateControl(const std::wstring& className);
  // Message handlers: each gets a handled flag that starts true and returns the
  // result; clearing the flag lets the window's own handling run.
  virtual LRESULT OnClose(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcActivate(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcCalcSize(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnWindowPosChanging(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcPaint(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcHitTest(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnGetMinMaxInfo(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnMouseWheel(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnMouseHover(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnSize(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnChar(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnKeyDown(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnKillFocus(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnSetFocus(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnLButtonUp(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnDropFiles(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnTimer(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  // Restores a minimised window or shows a hidden one, and brings it forward.
  virtual void RestoreAndActivate();
  virtual void SetWindowTitle(const std::wstring& text);
  // The folder of the window's skin files and the skin file in it.
  virtual std::wstring GetSkinFolder() = 0;
  virtual std::wstring GetSkinFile() = 0;

  // Top-most on or off; off leaves the window on top of the ordinary windows.
  void SetTopMost(bool topMost);

 protected:
  // The default of the handlers above: not handled, result 0.
  static LRESULT OnMessageDefault(bool& handled);

 private:
  LRESULT OnCreate();
  // Sizes the window to a root of auto width or height.
  void SizeToAutoRoot();
  void WireCaptionButtons();

  // WM_CREATE failed: the object outlives its native window until Create returns.
  bool creationFailed_ = false;
};

}  // namespace ui
