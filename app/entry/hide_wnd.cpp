#include "app/entry/hide_wnd.h"

#include "ui/core/box.h"

void CHideWnd::OnFinalMessage(HWND hwnd) { ui::Window::OnFinalMessage(hwnd); }

void CHideWnd::CreateRootBox() {
  SetWindowLongW(GetHWND(), GWL_STYLE, GetStyle());
  InitWindowHandle(GetHWND());
  auto* root = new ui::Box;
  root->SetFadeVisible(false);
  root->SetBkColor(L"main_bk");
  AttachRoot(root);
}

CHideWnd* CHideWnd::CreateHidden() {
  auto* window = new CHideWnd;
  // WS_POPUP | WS_BORDER | WS_SYSMENU, layered, empty rectangle.
  if (!window->Create(nullptr, L"PexoWnd", WS_POPUP | WS_BORDER | WS_SYSMENU, 0, true)) return nullptr;
  window->ShowWindow(false, true);
  return window;
}

void CHideWnd::Destroy(CHideWnd* window) {
  if (!window) return;
  window->ForgetControl(window->GetRoot());
  if (IsWindow(window->GetHWND())) DestroyWindow(window->GetHWND());
  delete window;
}
