// The main window's message table in front of the framework, its timers, the
// tray clicks, showing and hiding, transient notices and placement saving.
#include <windows.h>
#include <imm.h>

#include <algorithm>

#include "app/desktop/force_foreground.h"
#include "app/desktop/full_screen.h"
#include "app/desktop/mouse_hook.h"
#include "app/desktop/tray_icon.h"
#include "app/launching/launch_notices.h"
#include "app/launching/launch_thread.h"
#include "app/main_window/main_wnd.h"
#include "app/search_window/search_wnd.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/core/list_interfaces.h"

namespace {

SIZE PrimaryScreen() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

}  // namespace

LRESULT CMainWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // The window may be destroyed (and this object deleted) inside the handling.
  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  ++handlerDepth_;
  LRESULT result = 0;
  if (!HandleOwnMessage(message, wParam, lParam, result)) {
    result = ui::WindowImplBase::HandleMessage(message, wParam, lParam);
  }
  if (alive.expired()) return result;
  --handlerDepth_;
  // A close that came while a modal loop ran goes through once every loop is gone.
  CarryOutPendingClose();
  return result;
}

bool CMainWnd::HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  Settings& settings = GetSettings();
  result = 0;
  if (message == TaskbarCreatedMessage()) {
    // Explorer restarted: its windows are new and the tray icon is gone.
    LookUpShellWindows(settings);
    if (!settings.bHideNotify) {
      Shell_NotifyIconW(NIM_ADD, &trayData_);
      trayAdded_ = true;
    }
    return true;
  }
  bool handled = true;
  switch (message) {
    case WM_SHOWWINDOW:
      // Hidden by any road (Esc, the close button, a launch, a click elsewhere).
      if (!wParam) SaveChangedNote();
      return false;
    case WM_ENDSESSION:
      // The session ends with the process: a note still refused is asked about.
      if (wParam) {
        SaveNotesBeforeExit();
      } else {
        SaveChangedNote();
      }
      settings.nCurGroup = curGroup_;
      settings.nCurTag = curTag_;
      settings.Save();
      return false;
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
      dock_.SetStartGuard(false);
      return false;
    case WM_KEYDOWN:
      // Ctrl+End in a note still going in means the end of the whole note: the
      // rest goes in first, so that what is typed there is not put ahead of the
      // rest. Other keys act on the part shown, while the rest follows.
      if (wParam == VK_END && noteFiller_.Pending() && todoEdit_ && GetFocusControl() == todoEdit_ &&
          (GetKeyState(VK_CONTROL) & 0x8000)) {
        FinishNoteFill();
      }
      OnMainKeyDown(wParam);
      return false;
    case WM_SIZING:
      OnSizing(message, wParam, lParam, handled);
      return false;
    case WM_MOVING:
      OnMoving(message, wParam, lParam, handled);
      return false;
    case WM_ENTERSIZEMOVE:
      dock_.SetMovingOrSizing(true);
      return false;
    case WM_EXITSIZEMOVE:
      dock_.SetMovingOrSizing(false);
      return false;
    case WM_HOTKEY:
      // A side-button chord is sent by the mouse hook (identifier 0) from inside the
      // hook call; what it summons runs once the hook has returned.
      if (wParam == 0) {
        PostMessageW(GetHWND(), kDeferredHotKeyMessage, 0, lParam);
      } else {
        result = OnHotKey(message, wParam, lParam, handled);
      }
      return true;
    case kDeferredHotKeyMessage:
      result = OnHotKey(WM_HOTKEY, 0, lParam, handled);
      return true;
    case kTrayMessage:
      result = OnTrayNotify(message, wParam, lParam, handled);
      return true;
    case kShowMessage:
      ShowMain();
      return true;
    case kRefreshDateMessage:
      UpdateDateLabel(true);
      return false;
    case kUnselectCardsMessage:
      if (linkBox_) {
        for (int i = 0; i < linkBox_->GetCount(); ++i) {
          if (auto* item = dynamic_cast<ui::IListItem*>(linkBox_->GetItemAt(static_cast<size_t>(i)))) {
            item->Selected(false, false);
          }
        }
        linkBox_->Invalidate();
      }
      return false;
    case kMouseHookMiddleMessage:
      // Sent from inside the low-level hook, which Windows drops when it stalls:
      // showing (painting, foreground forcing) waits until the hook has returned.
      if (settings.bMButtonMain) PostMessageW(GetHWND(), kDeferredToggleMessage, 0, 0);
      return true;
    case kMouseHookButtonDownMessage: {
      if (settings.bHideUnhot && !dock_.IsBlocked() && !InModalLoop() && !messageBoxOpen_ &&
          IsWindowVisible(GetHWND())) {
        POINT cursor = {};
        RECT window = {};
        GetCursorPos(&cursor);
        GetWindowRect(GetHWND(), &window);
        if (!PtInRect(&window, cursor)) HideMain();
      }
      return true;
    }
    case kMouseHookDoubleClickMessage:
      if (settings.bDoubleDeskMain || settings.bDoubleTaskMain) {
        PostMessageW(GetHWND(), kDeferredToggleMessage, 0, 0);
      }
      return true;
    case kDeferredToggleMessage:
      ToggleMain();
      return true;
    case kFinishSetUpMessage:
      FinishSetUp();
      return true;
    case kDroppedAddressMessage:
      OpenDroppedAddress();
      return true;
    case kLaunchFailedMessage:
      ShowLaunchFailedNotice(static_cast<int32_t>(wParam));
      return true;
    case DockSlider::kSlideNoticeMessage:
      OnSlideNotice(wParam);
      return true;
    default:
      return false;
  }
}

void CMainWnd::OnMainKeyDown(WPARAM key) {
  if (key == VK_ESCAPE) HideAtOnce();
  // A letter or digit typed outside the note editor starts a search with it.
  const bool letter = key >= 'A' && key <= 'Z';
  const bool digit = key >= '0' && key <= '9';
  if ((letter || digit) && GetSettings().bFocusSearch) {
    ui::Control* focused = GetFocusControl();
    if ((!focused || focused->GetName() != L"edit_todo") && ShowSearch()) {
      SendMessageW(searchWnd_->GetHWND(), WM_CHAR, letter ? key + 32 : key, 0);
    }
  }
}

LRESULT CMainWnd::OnTrayNotify(UINT, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  const UINT mouse = LOWORD(lParam);
  if (openDialog_) {
    // The dialog's own loop is running: bring the dialog forward instead.
    if (mouse == WM_LBUTTONDOWN || mouse == WM_RBUTTONDOWN) ForceForegroundWindow(openDialog_->GetHWND());
    return 0;
  }
  if (mouse == WM_RBUTTONDOWN && EndOpenMenus()) {
    // A click on the tray ends the open menu, as a click anywhere else would; the
    // tray menu comes up once that menu's loop has returned.
    PostMessageW(GetHWND(), kTrayMessage, wParam, lParam);
    return 0;
  }
  // Under a message box or a picker nothing may open that gives the window back
  // its input when it closes (a dialog re-enables its owner), nor a second
  // question: a left click brings the box forward, the menu offers only "退出".
  const bool underDialog = InStandardDialog();
  if (mouse == WM_LBUTTONDOWN) {
    if (HWND front = underDialog ? FrontStandardDialog() : nullptr) {
      ForceForegroundWindow(front);
    } else {
      ShowMain();
    }
  } else if (mouse == WM_RBUTTONDOWN) {
    POINT cursor = {};
    GetCursorPos(&cursor);
    OnMenuCommand(cursor.x, cursor.y, underDialog ? L"tray_menu_modal" : L"tray_menu", true);
  }
  return 0;
}

LRESULT CMainWnd::OnTimer(UINT, WPARAM wParam, LPARAM, bool& handled) {
  HWND hwnd = GetHWND();
  switch (wParam) {
    case kTimerDockStart:
      KillTimer(hwnd, kTimerDockStart);
      dock_.SetStartGuard(false);
      break;
    case kTimerDockPoll:
      OnDockPoll();
      break;
    case kTimerSave: {
      KillTimer(hwnd, kTimerSave);
      Settings& settings = GetSettings();
      StorePlacement();
      settings.nCurGroup = curGroup_;
      settings.nCurTag = curTag_;
      settings.Save();
      break;
    }
    case kTimerGroupHover:
      KillTimer(hwnd, kTimerGroupHover);
      SelectWithEvent(groupList_, pendingGroup_);
      break;
    case kTimerTagHover:
      KillTimer(hwnd, kTimerTagHover);
      SelectWithEvent(tagList_, pendingTag_);
      break;
    case kTimerNotice:
      KillTimer(hwnd, kTimerNotice);
      if (tips_) tips_->SetFadeVisible(false);
      break;
    case kTimerDate:
      UpdateDateLabel(false);
      break;
    case kTimerClosePending:
      // A loop that came up after the close (or under an ended one) is ended too.
      EndModalLoops();
      break;
    case kTimerNoteFill:
      if (!noteFiller_.Step()) KillTimer(hwnd, kTimerNoteFill);
      break;
    default:
      break;
  }
  // Every timer also reaches the framework's own handling.
  handled = false;
  return 0;
}

bool CMainWnd::IsOnScreen() const {
  if (!IsWindowVisible(GetHWND())) return false;
  // A docked window that slid out (or is sliding out) shows one pixel of itself.
  return !(GetSettings().bAutoDock && dock_.IsDocked() && dock_.HideRequested());
}

void CMainWnd::ShowNotice(const std::wstring& text) {
  lastNotice_ = text;
  // A hidden window's notice line is seen by nobody: a launch by its chord, a
  // tray command or a card with "bHideAfterLink" is told in the notice window
  // where the search popup stands.
  if (!IsOnScreen() && searchWnd_) {
    searchWnd_->ShowNotice(text);
    return;
  }
  auto* label = dynamic_cast<ui::LabelTemplate<ui::Control>*>(tips_);
  if (!label) return;
  KillTimer(GetHWND(), kTimerNotice);
  label->SetText(text);
  label->SetFadeVisible(true);
  SetTimer(GetHWND(), kTimerNotice, kNoticeMs, nullptr);
}

void CMainWnd::ShowLaunchFailedNotice(int32_t linkId) {
  // A system function's link is not stored: it is the one run last.
  const std::shared_ptr<Link> link = linkId != 0 ? GetLinkStore().FindLink(linkId) : sysFuncLink_;
  ShowNotice(CannotOpenNotice(link ? link->NAME : std::wstring()));
}

void CMainWnd::SetImeOpen(bool open) {
  // Until the set-up's last steps have closed it, the input method is left alone:
  // its first use costs the start noticeably, and they run before any input.
  if (!setUpFinished_) return;
  HWND hwnd = GetHWND();
  if (HIMC context = ImmGetContext(hwnd)) {
    ImmSetOpenStatus(context, open ? TRUE : FALSE);
    ImmReleaseContext(hwnd, context);
  }
}

void CMainWnd::UpdateDateLabel(bool force) {
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  const std::optional<std::wstring> text = dateLine_.Refresh(now, GetSettings().bShowDate, force);
  auto* label = dynamic_cast<ui::LabelTemplate<ui::Control>*>(date_);
  if (text && label) label->SetText(*text);
}

void CMainWnd::HideTooltip() {
  HWND tooltip = GetTooltipWindow();
  if (tooltip && IsWindowVisible(tooltip)) SendMessageW(tooltip, WM_SHOWWINDOW, FALSE, 0);
}

void CMainWnd::ClampSavedPosition() {
  Settings& settings = GetSettings();
  const SIZE screen = PrimaryScreen();
  const POINT place =
      ClampedPosition(settings.nPosX, settings.nPosY, settings.nWidth, settings.nHeight, screen.cx, screen.cy);
  if (place.x == settings.nPosX && place.y == settings.nPosY) return;
  settings.nPosX = place.x;
  settings.nPosY = place.y;
  SetWindowPos(GetHWND(), nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
}

void CMainWnd::PositionForShow() {
  Settings& settings = GetSettings();
  HWND hwnd = GetHWND();
  POINT place = {settings.nPosX, settings.nPosY};
  if (settings.bFollowMouse) {
    RECT window = {};
    GetWindowRect(hwnd, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    POINT cursor = {};
    GetCursorPos(&cursor);
    place = {std::max(0L, cursor.x - width / 2), std::max(0L, cursor.y - height / 2)};
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor)) {
      if (place.x + width > monitor.rcWork.right) place.x = monitor.rcWork.right - width;
      if (place.y + height > monitor.rcWork.bottom) place.y = monitor.rcWork.bottom - height;
    }
  }
  SetWindowPos(hwnd, nullptr, place.x, place.y, 0, 0, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE);
}

void CMainWnd::ShowAndActivate() {
  ShowWindow(true, true);
  ForceForegroundWindow(GetHWND());
  SetImeOpen(false);
  SetTopMost(GetSettings().bTopMost);
}

void CMainWnd::ShowMain() {
  Settings& settings = GetSettings();
  if (settings.bFullScreenMode && IsForegroundFullScreen()) return;
  ClampSavedPosition();
  HWND hwnd = GetHWND();
  if (IsWindowVisible(hwnd)) {
    if (settings.bAutoDock && dock_.IsDocked()) {
      // Slid out or sliding: come in and stay until the mouse has been over it.
      dock_.SetStartGuard(true);
      dock_.SetForcedHide(false);
      dock_.SetHideRequest(false);
    } else {
      ForceForegroundWindow(hwnd);
      SetImeOpen(false);
      SetTopMost(settings.bTopMost);
    }
  } else {
    PositionForShow();
    ShowAndActivate();
    UpdateDateLabel(true);
  }
  UpdateDateLabel(false);
}

void CMainWnd::ShowAtStart() {
  ShowWindow(true, true);
  ForceForegroundWindow(GetHWND());
  SetImeOpen(false);
}

void CMainWnd::HideMain() {
  HideTooltip();
  if (!GetSettings().bAutoDock || !dock_.IsDocked()) {
    ShowWindow(false, true);
    return;
  }
  dock_.SetStartGuard(false);
  dock_.SetForcedHide(true);
  dock_.SetHideRequest(true);
}

void CMainWnd::HideAtOnce() {
  HideTooltip();
  ShowWindow(false, true);
  dock_.SetMovingOrSizing(false);
  dock_.SetStartGuard(false);
}

void CMainWnd::ToggleMain() {
  Settings& settings = GetSettings();
  if (settings.bFullScreenMode && IsForegroundFullScreen()) return;
  HWND hwnd = GetHWND();
  if (IsWindowVisible(hwnd)) {
    if (settings.bAutoDock && dock_.IsDocked()) {
      // A slid-out window slides in, guarded from the poll; a shown one slides out.
      const bool wasHidden = dock_.HideRequested();
      dock_.SetStartGuard(wasHidden);
      dock_.SetHideRequest(!wasHidden);
    } else {
      ShowWindow(false, true);
      HideTooltip();
    }
    return;
  }
  PositionForShow();
  ShowAndActivate();
  UpdateDateLabel(true);
}

void CMainWnd::StorePlacement() {
  Settings& settings = GetSettings();
  RECT window = {};
  GetWindowRect(GetHWND(), &window);
  const POINT place = SavedPosition(window, PrimaryScreen());
  settings.nPosX = place.x;
  settings.nPosY = place.y;
  settings.nWidth = window.right - window.left;
  settings.nHeight = window.bottom - window.top;
}

LRESULT CMainWnd::OnWindowPosChanging(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  if (dock_.MovingOrSizing()) {
    StorePlacement();
    KillTimer(GetHWND(), kTimerSave);
    SetTimer(GetHWND(), kTimerSave, kSaveDelayMs, nullptr);
  }
  return ui::WindowImplBase::OnWindowPosChanging(message, wParam, lParam, handled);
}

LRESULT CMainWnd::OnSize(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  if (dock_.MovingOrSizing()) {
    StorePlacement();
    KillTimer(GetHWND(), kTimerSave);
    SetTimer(GetHWND(), kTimerSave, kSaveDelayMs, nullptr);
  }
  return ui::WindowImplBase::OnSize(message, wParam, lParam, handled);
}
