#include "app/dialogs/dialog_wnd.h"

#include "ui/core/control.h"

void CDialogWnd::OnFinalMessage(HWND hwnd) {
  ui::Window::OnFinalMessage(hwnd);
  ForgetControl(GetRoot());
}

LRESULT CDialogWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
    Close(kResultCancel);
    return 0;
  }
  return ui::WindowImplBase::HandleMessage(message, wParam, lParam);
}

UINT CDialogWnd::RunModal(HWND owner, const wchar_t* title) {
  if (!Create(owner, title, WS_POPUP, WS_EX_TOOLWINDOW)) return kNotCreated;
  CenterWindow();
  return ShowModal();
}
