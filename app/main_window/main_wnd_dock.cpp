// Docking of the main window: edges from moves and sizes, the touch trigger,
// the dock poll, start-up placement, and the user-interface half of sliding.
#include <windows.h>

#include <optional>

#include "app/desktop/dock_geometry.h"
#include "app/desktop/force_foreground.h"
#include "app/main_window/main_wnd.h"
#include "data/settings.h"

namespace {

SIZE PrimaryScreen() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

void CMainWnd::ComputeDockEdges(const RECT& window) {
  const Settings& settings = GetSettings();
  dock_.SetEdges(::ComputeDockEdges(window, PrimaryScreen(), settings.bAutoDock, settings.bDockCorner));
}

LRESULT CMainWnd::OnMoving(UINT, WPARAM, LPARAM lParam, bool& handled) {
  if (lParam) ComputeDockEdges(*reinterpret_cast<const RECT*>(lParam));
  handled = false;
  return 0;
}

LRESULT CMainWnd::OnSizing(UINT, WPARAM, LPARAM lParam, bool& handled) {
  if (lParam) ComputeDockEdges(*reinterpret_cast<const RECT*>(lParam));
  handled = false;
  return 0;
}

LRESULT CMainWnd::OnNcHitTest(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  dock_.OnHitTest(GetSettings().nDockDelay, GetTickCount());
  return ui::WindowImplBase::OnNcHitTest(message, wParam, lParam, handled);
}

void CMainWnd::StartDocking() {
  const Settings& settings = GetSettings();
  HWND hwnd = GetHWND();
  dock_.SetWindow(hwnd);
  dock_.SetOptions(settings.bAutoDock, settings.bFullScreenMode);
  if (!settings.bAutoDock) return;
  RECT window = {};
  GetWindowRect(hwnd, &window);
  ComputeDockEdges(window);
  if (!settings.bHideOnStart) {
    dock_.SetStartGuard(true);
    SetTimer(hwnd, kTimerDockStart, 500, nullptr);
  }
  SetTimer(hwnd, kTimerDockPoll, 100, nullptr);
  dock_.Start();
}

void CMainWnd::ApplyDockSettings() {
  const Settings& settings = GetSettings();
  HWND hwnd = GetHWND();
  dock_.SetOptions(settings.bAutoDock, settings.bFullScreenMode);
  if (!settings.bAutoDock) {
    KillTimer(hwnd, kTimerDockPoll);
    dock_.Stop();
    dock_.SetEdges(0);
    return;
  }
  RECT window = {};
  GetWindowRect(hwnd, &window);
  ComputeDockEdges(window);
  SetTimer(hwnd, kTimerDockPoll, 100, nullptr);
  dock_.Stop();
  dock_.Start();
}

void CMainWnd::DockAtStart() {
  const Settings& settings = GetSettings();
  HWND hwnd = GetHWND();
  RECT window = {};
  GetWindowRect(hwnd, &window);
  ComputeDockEdges(window);
  if (!settings.bAutoDock || !dock_.IsDocked()) {
    ShowWindow(false, true);
    return;
  }
  const RECT out = SlidOutRect(window, dock_.Edges(), PrimaryScreen());
  dock_.SetHideRequest(true);
  SetWindowPos(hwnd, settings.bTopMost ? HWND_TOPMOST : HWND_TOP, out.left, out.top, out.right - out.left,
               out.bottom - out.top, SWP_SHOWWINDOW);
  ForceForegroundWindow(hwnd);
  SetImeOpen(false);
}

void CMainWnd::OnDockPoll() {
  HWND hwnd = GetHWND();
  POINT cursor = {};
  RECT window = {};
  GetCursorPos(&cursor);
  GetWindowRect(hwnd, &window);
  // A confirmation box, a file picker or a menu is up: the window stays out.
  std::optional<DockSlider::Block> messageBox;
  if (IsMessageBoxOpen() || InModalLoop()) messageBox.emplace(dock_);
  if (dock_.Poll(cursor, window, GetSettings().nDockDelay, GetTickCount())) HideTooltip();
  // Routing is suspended while a slide moves the window; a slide cut short (a menu
  // opened, a full-screen program came up) sends no end notice, so a window that
  // has stood still for a whole poll gets its routing back.
  if (IsRoutingSuspended() && SameRect(window, lastPollRect_)) SetRoutingSuspended(false);
  lastPollRect_ = window;
}

void CMainWnd::OnSlideNotice(WPARAM notice) {
  // The slide timer's thread only posts; the framework's fields change here, on
  // the window's own thread.
  // The window moves under the cursor: the next mouse move arms leave tracking again.
  SetMouseTracking(false);
  if (notice == DockSlider::kSliding) {
    SetRoutingSuspended(true);
    return;
  }
  SetRoutingSuspended(false);
  HWND hwnd = GetHWND();
  if (!GetSettings().bTopMost) {
    SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  if (notice == DockSlider::kSlidOut) {
    HideTooltip();
    SaveChangedNote();
  } else if (notice == DockSlider::kSlidIn) {
    ForceForegroundWindow(hwnd);
  }
}
