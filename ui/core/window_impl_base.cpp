#include "ui/core/window_impl_base.h"

#include <windowsx.h>

#include <algorithm>
#include <functional>
#include <optional>

#include "ui/base/string_util.h"
#include "ui/core/box.h"
#include "ui/core/control.h"
#include "ui/core/skin_builder.h"
#include "ui/core/stock_control_factory.h"
#include "ui/core/text_entry_traits.h"

namespace ui {

namespace {

constexpr int kAutoSizeExtent = 99999;

// Controls inside the caption that keep the mouse for themselves.
bool TakesCaptionClicks(Control* control) {
  if (!control) return true;
  const StockControlFactory& stock = GetStockControlFactory();
  if (stock.isButton && stock.isButton(control)) return true;
  // Text entry and the combo box live in the stock-control library.
  return IsTextEntry(control) || control->GetType() == L"Combo";
}

}  // namespace

std::wstring WindowImplBase::GetSuperClassName() const { return L""; }

UINT WindowImplBase::GetClassStyle() const { return CS_DBLCLKS; }

HWND WindowImplBase::Create(HWND parent, const wchar_t* windowName, DWORD style, DWORD exStyle, bool layered,
                           const RECT& rect) {
  // A native window destroyed before its creation returned (its set-up closed it,
  // or the window system failed it after WM_CREATE) has deleted this object
  // already, from its final message.
  const std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  HWND hwnd = Window::Create(parent, windowName, style, exStyle, layered, rect);
  // Deleting the object while the native window was still being created would
  // leave the creation writing into freed memory; it goes now instead.
  if (!hwnd && !alive.expired() && creationFailed_) delete this;
  return hwnd;
}

void WindowImplBase::OnFinalMessage(HWND hwnd) {
  Window::OnFinalMessage(hwnd);
  ForgetControl(GetRoot());
  if (!creationFailed_) delete this;
}

LRESULT WindowImplBase::MessageHandler(UINT, WPARAM, LPARAM, bool&) { return 0; }

void WindowImplBase::InitWindow() {}

LONG WindowImplBase::GetStyle() {
  return static_cast<LONG>(static_cast<DWORD>(GetWindowLongW(GetHWND(), GWL_STYLE)) & ~static_cast<DWORD>(WS_CAPTION));
}

Control* WindowImplBase::CreateControl(const std::wstring&) { return nullptr; }

LRESULT WindowImplBase::OnMessageDefault(bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, bool& handled) { return OnMessageDefault(handled); }
LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, bool& handled) { return OnMessageDefault(handled); }
LRESULT WindowImplBase::OnMouseWheel(UINT, WPARAM, LPARAM, bool& handled) { return OnMessageDefault(handled); }
LRESULT WindowImplBase::OnMouseHover(UINT, WPARAM, LPARAM, bool& handled) { return OnMessageDefault(handled); }
LRESULT WindowImplBase::OnChar(UINT, WPARAM, LPARAM, bool& handled) { return OnMessageDefault(handled); }
LRESULT WindowImplBase::OnKeyDown(UINT, WPARAM, LPARAM, bool& handled) { return OnMessageDefault(handled); }
LRESULT WindowImplBase::OnKillFocus(UINT, WPARAM, LPARAM, bool& handled) { return OnMessageDefault(handled); }
LRESULT WindowImplBase::OnSetFocus(UINT, WPARAM, LPARAM, bool& handled) { return OnMessageDefault(handled); }
LRESULT WindowImplBase::OnLButtonDown(UINT, WPARAM, LPARAM, bool& handled) { return OnMessageDefault(handled); }
LRESULT WindowImplBase::OnLButtonUp(UINT, WPARAM, LPARAM, bool& handled) { return OnMessageDefault(handled); }
LRESULT WindowImplBase::OnMouseMove(UINT, WPARAM, LPARAM, bool& handled) { return OnMessageDefault(handled); }
LRESULT WindowImplBase::OnDropFiles(UINT, WPARAM, LPARAM, bool& handled) { return OnMessageDefault(handled); }
LRESULT WindowImplBase::OnTimer(UINT, WPARAM, LPARAM, bool& handled) { return OnMessageDefault(handled); }

// The window draws its whole area itself: no non-client area, no frame painting.
LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM, LPARAM, bool&) { return 0; }
LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, bool&) { return 0; }

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wParam, LPARAM, bool& handled) {
  if (IsIconic(GetHWND())) return OnMessageDefault(handled);
  return wParam == FALSE ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnWindowPosChanging(UINT, WPARAM, LPARAM lParam, bool& handled) {
  handled = false;
  auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
  HWND hwnd = GetHWND();
  if (!pos || !IsZoomed(hwnd) || (pos->flags & SWP_FRAMECHANGED) == 0) return 0;
  HMONITOR monitor = MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY);
  RECT rc = {};
  GetWindowRect(hwnd, &rc);
  if (rc.left < -10000 && rc.top < -10000 && rc.right < -10000) {
    // A minimised window sits far off screen: take the monitor of its normal place.
    WINDOWPLACEMENT placement = {sizeof(placement)};
    GetWindowPlacement(hwnd, &placement);
    monitor = MonitorFromRect(&placement.rcNormalPosition, MONITOR_DEFAULTTOPRIMARY);
  }
  const POINT origin = {0, 0};
  if (monitor == MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY)) return 0;
  MONITORINFO info = {sizeof(info)};
  if (!GetMonitorInfoW(monitor, &info)) return 0;
  pos->x = info.rcWork.left;
  pos->y = info.rcWork.top;
  pos->cx = info.rcWork.right - info.rcWork.left;
  pos->cy = info.rcWork.bottom - info.rcWork.top;
  return 0;
}

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, bool&) {
  HWND hwnd = GetHWND();
  POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(hwnd, &pt);
  RECT inner = {};
  GetClientRect(hwnd, &inner);
  if (IsShadowAttached()) {
    const RECT padding = GetShadowPadding();
    inner.left += padding.left;
    inner.top += padding.top;
    inner.right -= padding.right;
    inner.bottom -= padding.bottom;
  }

  if (!IsZoomed(hwnd)) {
    const RECT box = GetSizeBox();
    const bool atLeft = pt.x >= inner.left && pt.x < inner.left + box.left;
    const bool atRight = pt.x > inner.right - box.right && pt.x <= inner.right;
    if (pt.y < inner.top + box.top) {
      if (pt.y < inner.top) return HTCLIENT;
      if (atLeft) return HTTOPLEFT;
      if (atRight) return HTTOPRIGHT;
      return HTTOP;
    }
    if (pt.y > inner.bottom - box.bottom) {
      if (pt.y > inner.bottom) return HTCLIENT;
      if (atLeft) return HTBOTTOMLEFT;
      if (atRight) return HTBOTTOMRIGHT;
      return HTBOTTOM;
    }
    if (pt.x < inner.left + box.left) return pt.x < inner.left ? HTCLIENT : HTLEFT;
    if (pt.x > inner.right - box.right) return pt.x > inner.right ? HTCLIENT : HTRIGHT;
  }

  const RECT caption = GetCaptionRect();
  if (pt.x >= inner.left + caption.left && pt.x < inner.right - caption.right && pt.y >= inner.top + caption.top &&
      pt.y < inner.top + caption.bottom) {
    return TakesCaptionClicks(FindControlAtPoint(pt)) ? HTCLIENT : HTCAPTION;
  }
  return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, bool& handled) {
  handled = false;
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  if (!info) return 0;
  MONITORINFO monitor = {sizeof(monitor)};
  GetMonitorInfoW(MonitorFromWindow(GetHWND(), MONITOR_DEFAULTTONEAREST), &monitor);
  RECT work = monitor.rcWork;
  OffsetRect(&work, -monitor.rcMonitor.left, -monitor.rcMonitor.top);
  info->ptMaxPosition = {work.left, work.top};
  info->ptMaxSize = {work.right - work.left, work.bottom - work.top};
  const RECT maximized = GetMaximizedRect();
  if (maximized.right - maximized.left > 0 && maximized.bottom - maximized.top > 0) {
    info->ptMaxPosition = {work.left + maximized.left, work.top + maximized.top};
    info->ptMaxSize = {maximized.right - maximized.left, maximized.bottom - maximized.top};
  }

  // A limit equal to the shadow's padding alone means the skin gave none.
  const RECT padding = IsShadowAttached() ? GetShadowPadding() : RECT{0, 0, 0, 0};
  const LONG paddingWidth = padding.left + padding.right;
  const LONG paddingHeight = padding.top + padding.bottom;
  const SIZE maxInfo = GetMaxInfo();
  const SIZE minInfo = GetMinInfo();
  if (maxInfo.cx != 0 && maxInfo.cx != paddingWidth) info->ptMaxTrackSize.x = maxInfo.cx;
  if (maxInfo.cy != 0 && maxInfo.cy != paddingHeight) info->ptMaxTrackSize.y = maxInfo.cy;
  if (minInfo.cx != 0 && minInfo.cx != paddingWidth) info->ptMinTrackSize.x = minInfo.cx;
  if (minInfo.cy != 0 && minInfo.cy != paddingHeight) info->ptMinTrackSize.y = minInfo.cy;
  return 0;
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM wParam, LPARAM, bool& handled) {
  handled = false;
  const SIZE round = GetRoundCorner();
  if (wParam == SIZE_MINIMIZED || (round.cx == 0 && round.cy == 0)) return 0;
  RECT rc = {};
  GetWindowRect(GetHWND(), &rc);
  HRGN region = CreateRoundRectRgn(0, 0, rc.right - rc.left + 1, rc.bottom - rc.top + 1, round.cx, round.cy);
  // The window owns the region from here on.
  if (region && !SetWindowRgn(GetHWND(), region, TRUE)) DeleteObject(region);
  return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool&) {
  if ((wParam & 0xFFF0) == SC_CLOSE) {
    SendMessageW(GetHWND(), WM_CLOSE, 0, 0);
    return 0;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

void WindowImplBase::RestoreAndActivate() {
  HWND hwnd = GetHWND();
  if (!IsWindow(hwnd)) return;
  if (IsIconic(hwnd)) {
    ::ShowWindow(hwnd, SW_RESTORE);
  } else if (!IsWindowVisible(hwnd)) {
    ::ShowWindow(hwnd, SW_SHOW);
  }
  SetForegroundWindow(hwnd);
}

void WindowImplBase::SetWindowTitle(const std::wstring& text) { SetWindowTextW(GetHWND(), text.c_str()); }

void WindowImplBase::SetTopMost(bool topMost) {
  constexpr UINT kFlags = SWP_NOMOVE | SWP_NOSIZE;
  SetWindowPos(GetHWND(), HWND_TOPMOST, 0, 0, 0, 0, kFlags);
  if (!topMost) SetWindowPos(GetHWND(), HWND_NOTOPMOST, 0, 0, 0, 0, kFlags);
}

LRESULT WindowImplBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) return OnCreate();
  bool handled = true;
  LRESULT result = 0;
  switch (message) {
    case WM_CLOSE: result = OnClose(message, wParam, lParam, handled); break;
    case WM_DESTROY: result = OnDestroy(message, wParam, lParam, handled); break;
    case WM_NCACTIVATE: result = OnNcActivate(message, wParam, lParam, handled); break;
    case WM_NCCALCSIZE: result = OnNcCalcSize(message, wParam, lParam, handled); break;
    case WM_WINDOWPOSCHANGING: result = OnWindowPosChanging(message, wParam, lParam, handled); break;
    case WM_NCPAINT: result = OnNcPaint(message, wParam, lParam, handled); break;
    case WM_NCHITTEST: result = OnNcHitTest(message, wParam, lParam, handled); break;
    case WM_GETMINMAXINFO: result = OnGetMinMaxInfo(message, wParam, lParam, handled); break;
    case WM_MOUSEWHEEL: result = OnMouseWheel(message, wParam, lParam, handled); break;
    case WM_MOUSEHOVER: result = OnMouseHover(message, wParam, lParam, handled); break;
    case WM_SIZE: result = OnSize(message, wParam, lParam, handled); break;
    case WM_CHAR: result = OnChar(message, wParam, lParam, handled); break;
    case WM_SYSCOMMAND: result = OnSysCommand(message, wParam, lParam, handled); break;
    case WM_KEYDOWN: result = OnKeyDown(message, wParam, lParam, handled); break;
    case WM_KILLFOCUS: result = OnKillFocus(message, wParam, lParam, handled); break;
    case WM_SETFOCUS: result = OnSetFocus(message, wParam, lParam, handled); break;
    case WM_LBUTTONDOWN: result = OnLButtonDown(message, wParam, lParam, handled); break;
    case WM_LBUTTONUP: result = OnLButtonUp(message, wParam, lParam, handled); break;
    case WM_MOUSEMOVE: result = OnMouseMove(message, wParam, lParam, handled); break;
    case WM_DROPFILES: result = OnDropFiles(message, wParam, lParam, handled); break;
    case WM_TIMER: result = OnTimer(message, wParam, lParam, handled); break;
    default: handled = false; break;
  }
  if (handled) return result;
  return Window::HandleMessage(message, wParam, lParam);
}

LRESULT WindowImplBase::OnCreate() {
  HWND hwnd = GetHWND();
  SetWindowLongW(hwnd, GWL_STYLE, GetStyle());
  InitWindowHandle(hwnd);
  SetResourcePath(GetSkinFolder());

  const std::wstring skinFile = GetResourcePath() + GetSkinFile();
  // Building the tree invalidates control by control, each a window-system call
  // or two (a layered window is posted a paint each time), all for a window not
  // shown yet. They are dropped, and the whole client area is invalidated once,
  // before InitWindow: its first paint comes before what InitWindow posts.
  std::optional<InvalidationBatch> build(std::in_place, this, InvalidationBatch::AtEnd::kDrop);
  SkinBuilder builder;
  CreateControlCallback createControl =
      ToWeakCallback([this](const std::wstring& className) { return CreateControl(className); });
  Control* root = builder.Create(skinFile, createControl, this);
  if (!root) {
    MessageBoxW(nullptr, FormatText(L"Failed to load xml file %ls", skinFile.c_str()).c_str(), L"Duilib",
                MB_ICONERROR);
    creationFailed_ = true;
    return -1;
  }
  AttachRoot(GetShadow().WrapRoot(root));
  build.reset();
  RECT client = {};
  GetClientRect(hwnd, &client);
  InvalidateClientRect(client);
  InitWindow();
  SizeToAutoRoot();
  WireCaptionButtons();
  return 0;
}

void WindowImplBase::SizeToAutoRoot() {
  Control* root = GetRoot();
  if (!root || (root->GetFixedWidth() != kSizeAuto && root->GetFixedHeight() != kSizeAuto)) return;
  SIZE size = root->EstimateSize(SIZE{kAutoSizeExtent, kAutoSizeExtent});
  size.cx = std::max<LONG>(size.cx, root->GetMinWidth());
  if (root->GetMaxWidth() >= 0) size.cx = std::min<LONG>(size.cx, root->GetMaxWidth());
  size.cy = std::max<LONG>(size.cy, root->GetMinHeight());
  size.cy = std::min<LONG>(size.cy, root->GetMaxHeight());
  SetWindowPos(GetHWND(), nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void WindowImplBase::WireCaptionButtons() {
  HWND hwnd = GetHWND();
  // Each button runs its step, then sends its system command. Any control of
  // the name is wired, so a button that holds other controls (a "ButtonBox")
  // works as well as a plain one.
  auto wire = [this, hwnd](const wchar_t* name, std::function<void()> step, WPARAM command) {
    Control* button = FindControlByName(name);
    if (!button) return;
    button->AttachClick(ToWeakCallback([hwnd, step, command](EventArgs*) {
      if (step) step();
      SendMessageW(hwnd, WM_SYSCOMMAND, command, 0);
      return true;
    }));
  };
  // Shows one of the maximize and restore buttons and hides the other, with fades.
  auto swap = [this](const wchar_t* shownName, const wchar_t* hiddenName, bool onlyWithBoth) {
    Control* shown = FindControlByName(shownName);
    Control* hidden = FindControlByName(hiddenName);
    if (onlyWithBoth && (!shown || !hidden)) return;
    if (hidden) hidden->SetFadeVisible(false);
    if (shown) shown->SetFadeVisible(true);
  };

  if (Control* closeButton = FindControlByName(L"closebtn")) {
    closeButton->AttachClick(ToWeakCallback([this](EventArgs*) {
      Close(0);
      return true;
    }));
  }
  wire(L"minbtn", nullptr, SC_MINIMIZE);
  wire(L"maxbtn", [swap] { swap(L"restorebtn", L"maxbtn", true); }, SC_MAXIMIZE);
  wire(L"restorebtn", [swap] { swap(L"maxbtn", L"restorebtn", false); }, SC_RESTORE);
}

}  // namespace ui
