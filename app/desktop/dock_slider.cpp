#include "app/desktop/dock_slider.h"

#include <mmsystem.h>

#include "app/desktop/full_screen.h"

namespace {

constexpr UINT kStepMilliseconds = 5;
constexpr int kLeaveMargin = 10;

SIZE PrimaryScreen() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

bool DockSlider::Start() {
  if (timerId_) return true;
  stopping_.store(false);
  // TIME_KILL_SYNCHRONOUS: once timeKillEvent returns no callback runs, so none can
  // reach this object after it is gone.
  timerId_ = timeSetEvent(kStepMilliseconds, 1, &DockSlider::TimerProc,
                          reinterpret_cast<DWORD_PTR>(this),
                          TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
  return timerId_ != 0;
}

void DockSlider::Stop() {
  if (!timerId_) return;
  stopping_.store(true);
  // A step may be inside SetWindowPos, which waits for this thread to serve the
  // messages it sends; serve them until the step is out. Steps that start from
  // now on see `stopping_` and leave at once.
  while (inStep_.load() > 0) {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    Sleep(1);
  }
  timeKillEvent(timerId_);
  timerId_ = 0;
}

void CALLBACK DockSlider::TimerProc(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
  reinterpret_cast<DockSlider*>(user)->OnTimer();
}

void DockSlider::OnTimer() {
  ++inStep_;
  if (!stopping_.load() && !movingOrSizing_.load()) {
    if (hideRequest_.load()) {
      SlideOutStep();
    } else {
      SlideInStep();
    }
  }
  --inStep_;
}

void DockSlider::OnHitTest(int dockDelay, DWORD now) {
  if (!IsDocked() || forcedHide_.load()) return;
  if (dockDelay <= 0) {
    hideRequest_.store(false);
  } else if (dockDelayTick_ == 0) {
    dockDelayTick_ = now;
  }
}

bool DockSlider::Poll(POINT cursor, const RECT& window, int dockDelay, DWORD now) {
  if (!PtInRect(&window, cursor)) {
    dockDelayTick_ = 0;
    RECT margin = window;
    InflateRect(&margin, kLeaveMargin, kLeaveMargin);
    if (!PtInRect(&margin, cursor) && !IsBlocked() && !startGuard_.load()) {
      hideRequest_.store(true);
    }
    return true;
  }
  if (!forcedHide_.load()) {
    if (dockDelay < 1) {
      hideRequest_.store(false);
    } else {
      if (dockDelayTick_ == 0) dockDelayTick_ = now;
      if (now - dockDelayTick_ >= static_cast<DWORD>(dockDelay)) {
        dockDelayTick_ = 0;
        hideRequest_.store(false);
      }
    }
  }
  return false;
}

bool DockSlider::Suspended() const {
  HWND window = window_.load();
  return !IsDocked() || !window || !IsWindowVisible(window) || !autoDock_.load() ||
         (fullScreenMode_.load() && IsForegroundFullScreen());
}

bool DockSlider::SlideOutStep() {
  if (Suspended() || startGuard_.load() || IsBlocked()) return false;
  RECT window = {};
  if (!GetWindowRect(window_.load(), &window)) return false;
  const SlideStep step = ::SlideOutStep(window, Edges(), PrimaryScreen());
  endReached_.store(step.endReached);
  if (step.endReached) forcedHide_.store(false);
  if (!SameRect(step.rect, window)) MoveTo(step.rect, step.endReached, kSlidOut);
  return true;
}

bool DockSlider::SlideInStep() {
  if (Suspended()) return false;
  RECT window = {};
  if (!GetWindowRect(window_.load(), &window)) return false;
  const SlideStep step = ::SlideInStep(window, Edges(), PrimaryScreen());
  endReached_.store(step.endReached);
  if (!SameRect(step.rect, window)) MoveTo(step.rect, step.endReached, kSlidIn);
  return true;
}

void DockSlider::MoveTo(const RECT& rect, bool endReached, SlideNotice endNotice) {
  // No activation per step: a thread without input cannot take the foreground
  // anyway, and each attempt costs a round trip; the end of a slide in brings the
  // window forward on its own thread.
  SetWindowPos(window_.load(), HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left,
               rect.bottom - rect.top, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  if (!endReached) {
    // Routing is suspended once per slide, not on every step.
    if (lastNotice_.exchange(kSliding) != kSliding) Post(kSlideNoticeMessage, kSliding);
    return;
  }
  lastNotice_.store(endNotice);
  if (endNotice == kSlidIn) {
    Post(kUnselectCardsMessage);
    Post(kSlideNoticeMessage, kSlidIn);
    Post(kRefreshDateMessage);
  } else {
    Post(kSlideNoticeMessage, kSlidOut);
  }
}

void DockSlider::Post(UINT message, WPARAM wParam) {
  PostMessageW(window_.load(), message, wParam, 0);
}
