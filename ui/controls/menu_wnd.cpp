#include "ui/controls/menu_wnd.h"

#include <algorithm>

#include "ui/controls/menu_ui.h"

namespace ui {

CMenuWnd::CMenuWnd(CMenuUI* level) : level_(level) {}

void CMenuWnd::DetachLevel() {
  if (!level_) return;
  ForgetControl(level_);
  AttachRoot(nullptr, false);
  level_ = nullptr;
}

void CMenuWnd::OnFinalMessage(HWND hwnd) {
  if (level_) {
    level_->OnMenuWndGone();
    DetachLevel();
  }
  Window::OnFinalMessage(hwnd);
  delete this;
}

LRESULT CMenuWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  bool handled = false;
  LRESULT result = 0;
  switch (message) {
    case WM_CREATE:
      result = OnCreate(wParam, lParam, handled);
      break;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_NCCALCSIZE:
      result = OnNcCalcSize(wParam, lParam, handled);
      break;
    case WM_NCACTIVATE:
      result = OnNcActivate(wParam, lParam, handled);
      break;
    case WM_RBUTTONDOWN:
      return 0;
    default:
      break;
  }
  if (handled) return result;
  return Window::HandleMessage(message, wParam, lParam);
}

LRESULT CMenuWnd::OnCreate(WPARAM, LPARAM, bool& handled) {
  handled = true;
  InitWindowHandle(GetHWND());
  SetResourcePath(L"menu");
  SetShadowAttached(false);
  if (!level_) return 0;
  AttachRoot(level_, false);
  if (level_->GetFixedWidth() == -2 || level_->GetFixedHeight() == -2) {
    SIZE size = level_->EstimateSize(SIZE{99999, 99999});
    size.cx = std::clamp<LONG>(size.cx, level_->GetMinWidth(), std::max(level_->GetMinWidth(), level_->GetMaxWidth()));
    size.cy = std::clamp<LONG>(size.cy, level_->GetMinHeight(),
                               std::max(level_->GetMinHeight(), level_->GetMaxHeight()));
    MoveWindow(GetHWND(), 0, 0, size.cx, size.cy, FALSE);
  }
  return 0;
}

LRESULT CMenuWnd::OnNcActivate(WPARAM wParam, LPARAM, bool& handled) {
  if (IsIconic(GetHWND())) return 0;
  handled = true;
  return wParam ? FALSE : TRUE;
}

LRESULT CMenuWnd::OnNcCalcSize(WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  if (!IsZoomed(GetHWND())) return 0;
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(MonitorFromWindow(GetHWND(), MONITOR_DEFAULTTONEAREST), &info);
  RECT* proposed = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
  proposed->right = proposed->left + (info.rcWork.right - info.rcWork.left);
  proposed->bottom = proposed->top + (info.rcWork.bottom - info.rcWork.top);
  return WVR_REDRAW;
}

}  // namespace ui
