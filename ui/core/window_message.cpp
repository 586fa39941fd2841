// Message routing: window messages become control events; hover, push, key,
// focus and Tab order are tracked here.
#include <windowsx.h>

#include <vector>

#include "ui/core/box.h"
#include "ui/core/control.h"
#include "ui/core/text_entry_traits.h"
#include "ui/core/window.h"

namespace ui {

namespace {

constexpr UINT kDelayedDeleteMessage = WM_APP + 1;
constexpr UINT kReflectOffset = 0x2000;
constexpr UINT kDefaultHoverTime = 400;

POINT PointFromLParam(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

// The move the window sends itself when the pointer has left it: (-1, -1), with
// all bits set, which no move of the pointer carries.
constexpr LPARAM kPointerLeftMove = static_cast<LPARAM>(-1);

Control* ControlContainingPoint(Control* control, LPVOID data) {
  const POINT* point = static_cast<const POINT*>(data);
  RECT pos = control->GetPos(true);
  return PtInRect(&pos, *point) ? control : nullptr;
}

// Tab order search state: the focus, the last tab stop passed, and whether the
// next tab stop is the answer.
struct TabSearch {
  Control* current = nullptr;
  Control* last = nullptr;
  bool forward = true;
  bool nextIsIt = false;
};

Control* FindTabStop(Control* control, LPVOID data) {
  auto* search = static_cast<TabSearch*>(data);
  if (control == search->current) {
    if (!search->forward) return search->last;
    search->nextIsIt = true;
    return nullptr;
  }
  if (!control->IsTabStop()) return nullptr;
  search->last = control;
  return (search->nextIsIt || !search->current) ? control : nullptr;
}

}  // namespace

bool Window::DispatchEvent(Control* control, EventType type, WPARAM wParam, LPARAM lParam,
                           wchar_t key, float pressure) {
  if (!control) return false;
  EventArgs args;
  args.Type = type;
  args.pSender = control;
  args.dwTimestamp = GetTickCount();
  args.ptMouse = lastMousePos_;
  args.chKey = key;
  args.wParam = wParam;
  args.lParam = lParam;
  args.pressure = pressure;
  control->HandleEventTemplate(args);
  return true;
}

bool Window::SendControlEvent(Control* control, EventType type, WPARAM wParam, LPARAM lParam) {
  DispatchEvent(control, type, wParam, lParam, 0, 0.0f);
  return true;
}

Control* Window::FindControlAtPoint(POINT point) const {
  for (IControlFromPointFinder* finder : pointFinders_) {
    if (Control* found = finder->FindControlFromPoint(point)) return found;
  }
  if (!root_) return nullptr;
  return root_->FindControl(&ControlContainingPoint, &point,
                            kFindVisible | kFindHitTest | kFindTopFirst);
}

Control* Window::FindOwnControlAtPoint(POINT point) const {
  Control* control = FindControlAtPoint(point);
  return (control && control->GetWindow() == this) ? control : nullptr;
}

void Window::CaptureMouse() {
  SetCapture(hwnd_);
  mouseCaptured_ = true;
}

void Window::ReleaseMouse() {
  ReleaseCapture();
  mouseCaptured_ = false;
}

void Window::TakeNativeFocus() {
  if (!noFocus_) SetFocus(hwnd_);
}

bool Window::UpdateHover(POINT point, WPARAM wParam, LPARAM lParam) {
  newHover_ = FindControlAtPoint(point);
  if (newHover_ && newHover_->GetWindow() != this) return false;
  if (hover_ && hover_ != newHover_) {
    Control* leaving = hover_;
    SendControlEvent(leaving, mouseleave);
    hover_ = nullptr;
    if (tooltip_) SendMessageW(tooltip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&toolInfo_));
  }
  if (newHover_ && newHover_ != hover_) {
    Control* entering = newHover_;
    SendControlEvent(entering, mouseenter, wParam, lParam);
    // A handler may have destroyed it; ForgetControl then cleared newHover_.
    if (entering == newHover_) hover_ = entering;
  }
  return true;
}

void Window::EndHover() {
  mouseTracking_ = false;
  newHover_ = nullptr;
  if (tooltip_) SendMessageW(tooltip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&toolInfo_));
  if (!hover_) return;
  Control* leaving = hover_;
  hover_ = nullptr;
  SendControlEvent(leaving, mouseleave);
}

void Window::SetFocusControl(Control* control) {
  if (!noFocus_ && control && control != focus_ && GetFocus() != hwnd_) SetFocus(hwnd_);
  if (control == focus_) return;
  if (focus_) {
    Control* old = focus_;
    std::weak_ptr<nbase::WeakFlag> alive = old->GetWeakFlag();
    DispatchEvent(old, internalkillfocus, 0, 0, 0, 0.0f);
    focus_ = nullptr;
    if (!alive.expired()) SendControlEvent(old, killfocus);
  }
  if (!control) return;
  if (control->GetWindow() != this || !control->IsVisible() || !control->IsEnabled()) return;
  focus_ = control;
  DispatchEvent(control, internalsetfocus, 0, 0, 0, 0.0f);
  if (focus_) SendControlEvent(focus_, setfocus);
}

void Window::MoveFocusToNextControl(bool forward) {
  if (updateNeeded_ && forward) {
    InvalidateRect(hwnd_, nullptr, FALSE);
    return;
  }
  if (!root_) return;
  constexpr UINT kFlags = kFindVisible | kFindEnabled | kFindMeFirst;
  TabSearch search;
  search.current = focus_;
  search.forward = forward;
  Control* next = root_->FindControl(&FindTabStop, &search, kFlags);
  if (!next) {
    if (forward) {
      TabSearch fromStart;
      fromStart.forward = true;
      next = root_->FindControl(&FindTabStop, &fromStart, kFlags);
    } else {
      next = search.last;
    }
  }
  if (!next) return;
  if (focus_ && focus_->IsVisible() && focus_->IsEnabled() && IsTextEntry(focus_)) {
    SetTextEntrySelection(focus_, -1, 0);
  }
  if (IsTextEntry(next)) SetTextEntrySelection(next, 0, -1);
  SetFocusControl(next);
}

void Window::EndTouch() {
  if (!touch_) return;
  Control* touched = touch_;
  SendControlEvent(touched, pointerup);
  touch_ = nullptr;
}

void Window::ReleasePushedControl() {
  if (!pushed_) return;
  Control* pushed = pushed_;
  SendControlEvent(pushed, buttonup);
  pushed_ = nullptr;
}

void Window::PressControl(Control* control, EventType type, WPARAM wParam, LPARAM lParam,
                          bool moveFocus) {
  // The press starts what the control does (a menu, a drag, a dialog), which its
  // tip would otherwise cover until the mouse leaves.
  if (tooltip_) SendMessageW(tooltip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&toolInfo_));
  pushed_ = control;
  if (moveFocus) control->SetFocus();
  if (pushed_ != control) return;  // the focus change destroyed it
  CaptureMouse();
  SendControlEvent(control, type, wParam, lParam);
}

void Window::DeleteDelayedControls() {
  // Deleting a control may queue further ones; take the list first.
  while (!delayedDelete_.empty()) {
    std::vector<Control*> doomed;
    doomed.swap(delayedDelete_);
    for (Control* control : doomed) delete control;
  }
}

LRESULT Window::RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = false;
  // Copy: a filter may remove itself.
  const std::vector<IUIMessageFilter*> filters = messageFilters_;
  for (IUIMessageFilter* filter : filters) {
    bool filterHandled = false;
    LRESULT result = filter->MessageHandler(message, wParam, lParam, filterHandled);
    if (filterHandled && message != WM_MOUSEMOVE) {
      handled = true;
      return result;
    }
  }

  switch (message) {
    case WM_SIZE: {
      if (focus_) SendControlEvent(focus_, windowsize);
      if (root_) root_->Arrange();
      if (wParam == SIZE_MAXIMIZED) shadow_.MaximizedOrRestored(true);
      else if (wParam == SIZE_RESTORED) shadow_.MaximizedOrRestored(false);
      handled = true;
      return 0;
    }
    case WM_KILLFOCUS: {
      Control* holder = touch_ ? touch_ : pushed_;
      if (holder && holder->IsButtonUpOnFocusLoss()) {
        ReleaseMouse();
        SendControlEvent(holder, buttonup);
        pushed_ = nullptr;
        touch_ = nullptr;
      }
      return 0;
    }
    case WM_PAINT:
      Paint();
      handled = true;
      return 0;
    case WM_CLOSE: {
      if (hover_) SendControlEvent(hover_, mouseleave);
      if (pushed_) SendControlEvent(pushed_, buttonup);
      if (touch_) SendControlEvent(touch_, buttonup);
      if (!noFocus_) {
        SetFocusControl(nullptr);
        if (HWND owner = GetWindow(hwnd_, GW_OWNER)) SetFocus(owner);
      }
      return 0;
    }
    case WM_WINDOWPOSCHANGED:
      if (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW) EndHover();
      return 0;
    case WM_ERASEBKGND:
      handled = true;
      return 1;
    case WM_SETCURSOR: {
      if (LOWORD(lParam) != HTCLIENT) return 0;
      if (pushed_ || touch_) {
        handled = true;
        return 0;
      }
      POINT point = {};
      GetCursorPos(&point);
      ScreenToClient(hwnd_, &point);
      SetLastMousePos(point);
      Control* control = FindControlAtPoint(point);
      if (!control) return 0;
      SendControlEvent(control, setcursor, wParam, lParam);
      handled = true;
      return 0;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (!header) {
        handled = true;
        return 0;
      }
      SendMessageW(header->hwndFrom, message + kReflectOffset, wParam, lParam);
      return 0;
    }
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      if (!lParam) return 0;
      handled = true;
      return SendMessageW(reinterpret_cast<HWND>(lParam), message + kReflectOffset, wParam, lParam);
    }
    case WM_CONTEXTMENU: {
      EndTouch();
      POINT point = PointFromLParam(lParam);
      ScreenToClient(hwnd_, &point);
      SetLastMousePos(point);
      if (pushed_) {
        ReleaseMouse();
        Control* pushed = pushed_;
        SendControlEvent(pushed, internalmenu, wParam, reinterpret_cast<LPARAM>(pushed));
        pushed_ = nullptr;
      }
      return 0;
    }
    case WM_NCRBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      if (touch_) return 0;
      TakeNativeFocus();
      POINT point = PointFromLParam(lParam);
      if (message == WM_NCRBUTTONDOWN) ScreenToClient(hwnd_, &point);
      SetLastMousePos(point);
      if (Control* control = FindOwnControlAtPoint(point)) {
        PressControl(control, rbuttondown, wParam, lParam, true);
      }
      return 0;
    }
    case WM_NCRBUTTONUP:
    case WM_RBUTTONUP: {
      POINT point = PointFromLParam(lParam);
      if (message == WM_NCRBUTTONUP) ScreenToClient(hwnd_, &point);
      SetLastMousePos(point);
      ReleaseMouse();
      if (pushed_) SendControlEvent(pushed_, rbuttonup, wParam, lParam);
      return 0;
    }
    case WM_KEYDOWN: {
      if (!focus_) return 0;
      if (wParam == VK_TAB) {
        if (focus_->IsVisible() && focus_->IsEnabled() && TextEntryWantsTab(focus_)) return 0;
        MoveFocusToNextControl((GetKeyState(VK_SHIFT) & 0x8000) == 0);
        return 0;
      }
      keyControl_ = focus_;
      DispatchEvent(keyControl_, keydown, wParam, lParam, static_cast<wchar_t>(wParam), 0.0f);
      return 0;
    }
    case WM_KEYUP: {
      if (!keyControl_) return 0;
      Control* control = keyControl_;
      DispatchEvent(control, keyup, wParam, lParam, static_cast<wchar_t>(wParam), 0.0f);
      keyControl_ = nullptr;
      return 0;
    }
    case WM_CHAR:
      if (focus_) DispatchEvent(focus_, char_, wParam, lParam, static_cast<wchar_t>(wParam), 0.0f);
      return 0;
    case WM_IME_STARTCOMPOSITION:
      if (focus_) SendControlEvent(focus_, imestart, wParam, lParam);
      return 0;
    case WM_IME_ENDCOMPOSITION:
      if (focus_) SendControlEvent(focus_, imeend);
      return 0;
    case WM_MOUSEMOVE: {
      if (touch_) return 0;
      if (!mouseTracking_) {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_HOVER | TME_LEAVE;
        track.hwndTrack = hwnd_;
        track.dwHoverTime =
            tooltip_ ? static_cast<DWORD>(SendMessageW(tooltip_, TTM_GETDELAYTIME, TTDT_INITIAL, 0))
                     : kDefaultHoverTime;
        TrackMouseEvent(&track);
        mouseTracking_ = true;
      }
      const POINT point = PointFromLParam(lParam);
      SetLastMousePos(point);
      if (UpdateHover(point, wParam, lParam)) {
        Control* target = pushed_ ? pushed_ : newHover_;
        // The move that ends the hover when the pointer leaves the window has no
        // place of its own: a control that holds the button (a dragged thumb)
        // goes on with the pointer's last real place instead of jumping to it.
        if (pushed_ && lParam == kPointerLeftMove) target = nullptr;
        if (target) SendControlEvent(target, mousemove, wParam, lParam);
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (touch_) return 0;
      TakeNativeFocus();
      const POINT point = PointFromLParam(lParam);
      SetLastMousePos(point);
      if (Control* control = FindOwnControlAtPoint(point)) {
        const bool doubleClick = message == WM_LBUTTONDBLCLK;
        PressControl(control, doubleClick ? internaldblclick : buttondown, wParam, lParam,
                     !doubleClick);
      }
      return 0;
    }
    case WM_LBUTTONUP: {
      EndTouch();
      SetLastMousePos(PointFromLParam(lParam));
      ReleaseMouse();
      ReleasePushedControl();
      return 0;
    }
    case WM_MOUSEWHEEL: {
      POINT point = PointFromLParam(lParam);
      ScreenToClient(hwnd_, &point);
      SetLastMousePos(point);
      if (Control* control = FindOwnControlAtPoint(point)) {
        const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
        SendControlEvent(control, scrollwheel, static_cast<WPARAM>(static_cast<INT_PTR>(delta)),
                         lParam);
      }
      return 0;
    }
    case WM_TOUCH:
      return OnTouch(wParam, lParam, handled);
    case WM_POINTERUPDATE:
    case WM_POINTERDOWN:
    case WM_POINTERUP:
    case WM_POINTERLEAVE:
    case WM_POINTERCAPTURECHANGED:
      return OnPointer(message, wParam, lParam, handled);
    case WM_MOUSEHOVER: {
      mouseTracking_ = false;
      const POINT point = PointFromLParam(lParam);
      Control* control = FindControlAtPoint(point);
      if (!control) return 0;
      if (hover_) SendControlEvent(hover_, mousehover, wParam, lParam);
      // The hover handler may have removed the control; look it up again.
      control = FindControlAtPoint(point);
      if (control && ShowTooltip(control, point)) handled = true;
      return 0;
    }
    case WM_MOUSELEAVE: {
      if (tooltip_) {
        SendMessageW(tooltip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&toolInfo_));
      }
      if (mouseTracking_) {
        SendMessageW(hwnd_, WM_MOUSEMOVE, 0, kPointerLeftMove);
      } else {
        // A hover message turned tracking off, yet the leave that follows still
        // ends the hover: a control left hot would not see the next entry.
        EndHover();
      }
      mouseTracking_ = false;
      return 0;
    }
    case kDelayedDeleteMessage:
      delayedDeletePosted_ = false;
      DeleteDelayedControls();
      handled = true;
      return 0;
    default:
      return 0;
  }
}

bool Window::ShowTooltip(Control* control, POINT point) {
  std::wstring text = control->GetToolTipText();
  if (text.empty()) return false;
  // A tip is at most as tall as the screen, which a few thousand characters at
  // its width fill: a longer text (a name of 100 000 characters) is cut there
  // rather than wrapped whole by the tooltip control at every hover.
  constexpr size_t kLongestTip = 4095;
  if (text.size() > kLongestTip) {
    text.resize(IS_HIGH_SURROGATE(text[kLongestTip - 1]) ? kLongestTip - 1 : kLongestTip);
  }
  if (tooltip_ && IsWindowVisible(tooltip_) && control == hover_) {
    std::vector<wchar_t> current(kLongestTip + 1, L'\0');
    TOOLINFOW query = toolInfo_;
    query.lpszText = current.data();
    SendMessageW(tooltip_, TTM_GETTEXTW, current.size(), reinterpret_cast<LPARAM>(&query));
    if (text == current.data()) return false;
  }
  tooltipText_ = text;
  toolInfo_ = {};
  toolInfo_.cbSize = sizeof(TOOLINFOW);
  toolInfo_.uFlags = TTF_IDISHWND;
  toolInfo_.hwnd = hwnd_;
  toolInfo_.uId = reinterpret_cast<UINT_PTR>(hwnd_);
  toolInfo_.hinst = GetModuleHandleW(nullptr);
  toolInfo_.lpszText = tooltipText_.data();
  toolInfo_.rect = control->GetPos(true);
  if (!tooltip_) {
    tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!tooltip_) return false;
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&toolInfo_));
    SetWindowPos(tooltip_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  if (!IsWindowVisible(tooltip_)) {
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, control->GetToolTipWidth());
    SendMessageW(tooltip_, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&toolInfo_));
    SendMessageW(tooltip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&toolInfo_));
  }
  // The tooltip is a top-level popup: it is placed in screen coordinates.
  POINT screen = point;
  ClientToScreen(hwnd_, &screen);
  SendMessageW(tooltip_, TTM_TRACKPOSITION, 0, MAKELPARAM(screen.x, screen.y));
  return true;
}

}  // namespace ui
