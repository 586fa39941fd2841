// Sliding a docked window off the screen and back. A 5 ms multimedia timer
// runs the steps on the timer's own thread, so everything it shares with the
// user-interface thread is an atomic value here, and everything it asks of the
// window's owner (routing, top-most state, foreground, date and card refresh)
// goes by posted messages. The dock poll, the touch trigger and the show and
// hide requests run on the user-interface thread.
#pragma once

#include <windows.h>

#include <atomic>

#include "app/desktop/dock_geometry.h"

class DockSlider {
 public:
  // Posted to the window when a slide starts moving (kSliding), when a slide out
  // reached its one-pixel strip (kSlidOut) and when a slide in reached the edge
  // (kSlidIn; messages 1127 and 1126 are posted around it).
  static constexpr UINT kSlideNoticeMessage = WM_APP + 0x120;
  enum SlideNotice : WPARAM { kSliding = 0, kSlidOut = 1, kSlidIn = 2 };
  static constexpr UINT kUnselectCardsMessage = 1127;
  static constexpr UINT kRefreshDateMessage = 1126;

  explicit DockSlider(HWND window = nullptr) : window_(window) {}
  ~DockSlider() { Stop(); }
  DockSlider(const DockSlider&) = delete;
  DockSlider& operator=(const DockSlider&) = delete;

  void SetWindow(HWND window) { window_.store(window); }
  // The settings the timer's thread needs, mirrored here ("bAutoDock", "bFullScreenMode").
  void SetOptions(bool autoDock, bool fullScreenMode) {
    autoDock_.store(autoDock);
    fullScreenMode_.store(fullScreenMode);
  }

  // Starts the 5 ms periodic timer; false when the system refuses it.
  bool Start();
  // Stops the timer; once it returns no step runs or will run. User-interface
  // thread: while a step waits on this thread (moving the window sends it
  // messages) the sent messages are served, so stopping never deadlocks.
  void Stop();
  bool IsRunning() const { return timerId_ != 0; }

  // Shared state; any thread.
  int Edges() const { return edges_.load(); }
  void SetEdges(int edges) { edges_.store(edges); }
  bool IsDocked() const { return edges_.load() != 0; }
  bool HideRequested() const { return hideRequest_.load(); }
  void SetHideRequest(bool hide) { hideRequest_.store(hide); }
  bool StartGuard() const { return startGuard_.load(); }
  void SetStartGuard(bool guard) { startGuard_.store(guard); }
  bool ForcedHide() const { return forcedHide_.load(); }
  void SetForcedHide(bool forced) { forcedHide_.store(forced); }
  bool EndReached() const { return endReached_.load(); }
  bool MovingOrSizing() const { return movingOrSizing_.load(); }
  void SetMovingOrSizing(bool moving) { movingOrSizing_.store(moving); }
  // Popup menus, message boxes and dialogs of the window hold a block while open:
  // the window then neither slides out nor gets a hide request from the poll.
  bool IsBlocked() const { return blockers_.load() > 0; }

  class Block {
   public:
    explicit Block(DockSlider& slider) : slider_(slider) { ++slider_.blockers_; }
    ~Block() { --slider_.blockers_; }
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;

   private:
    DockSlider& slider_;
  };

  // User-interface thread. The touch trigger (every WM_NCHITTEST): a docked window
  // not forced hidden comes back at once, or after `dockDelay` ms of resting.
  void OnHitTest(int dockDelay, DWORD now);
  // The dock poll (every 100 ms). Returns true when the cursor is outside the
  // window (its tooltip should go). A cursor more than 10 pixels away requests
  // the slide out unless blocked or guarded.
  bool Poll(POINT cursor, const RECT& window, int dockDelay, DWORD now);

  // One step each; any thread (the timer runs them). False when the step does not
  // apply (not docked, not visible, auto-docking off, a full-screen program in front
  // with "bFullScreenMode", and for sliding out: guarded or blocked).
  bool SlideOutStep();
  bool SlideInStep();

 private:
  static void CALLBACK TimerProc(UINT id, UINT message, DWORD_PTR user, DWORD_PTR, DWORD_PTR);
  void OnTimer();
  bool Suspended() const;
  // Moves the window; notes the slide's progress and posts the notice when it changes.
  void MoveTo(const RECT& rect, bool endReached, SlideNotice endNotice);
  void Post(UINT message, WPARAM wParam = 0);

  std::atomic<HWND> window_;
  std::atomic<bool> autoDock_{true};
  std::atomic<bool> fullScreenMode_{false};
  std::atomic<int> edges_{0};
  std::atomic<bool> hideRequest_{true};
  std::atomic<bool> endReached_{false};
  std::atomic<bool> startGuard_{false};
  std::atomic<bool> forcedHide_{false};
  std::atomic<bool> movingOrSizing_{false};
  std::atomic<int> blockers_{0};
  std::atomic<int> lastNotice_{-1};
  // Stop protocol: a step in progress counts itself before it looks at `stopping_`.
  std::atomic<int> inStep_{0};
  std::atomic<bool> stopping_{false};
  // User-interface thread only.
  UINT timerId_ = 0;
  DWORD dockDelayTick_ = 0;
};
