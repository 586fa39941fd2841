// Timed callbacks on the user-interface thread for the whole framework.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <queue>
#include <vector>

#include "ui/base/weak_callback.h"

namespace ui {

// Where the manager gets its time and its wake-ups from. The process-wide manager
// uses the performance counter and a multimedia timer that posts to a message-only
// window; tests drive a manager of their own through a fake.
class AnimationTimerPlatform {
 public:
  virtual ~AnimationTimerPlatform() = default;
  virtual int64_t Counter() = 0;
  virtual int64_t Frequency() = 0;
  // Starts a periodic timer of the given period; returns its id, 0 on failure.
  virtual uint32_t StartTimer(uint32_t period_ms) = 0;
  // Stops a timer; an id of 0 is ignored.
  virtual void KillTimer(uint32_t id) = 0;
  // The longest period StartTimer accepts.
  virtual uint32_t MaxTimerPeriod() = 0;
};

struct AnimationTimerTask {
  std::function<void()> callback;
  uint64_t interval = 0;  // performance-counter ticks
  int32_t repeat = 0;     // -1 endless, n >= 1 runs in all
  int64_t due = 0;        // performance-counter value
  std::weak_ptr<nbase::WeakFlag> weak_flag;
};

class AnimationTimerManager {
 public:
  static constexpr UINT kPollMessage = 11023;
  static constexpr uint32_t kShortPeriodMs = 16;
  static constexpr const wchar_t* kWindowClass = L"UI_ANIMATION_TIMERMANAGER_H_";

  // The process-wide manager; its window and timer live on the thread that first
  // asks for it, which must be the user-interface thread.
  static AnimationTimerManager& Instance();

  // A manager over another time source (tests). It has no window: whoever owns it
  // calls Poll when the platform's timer fires.
  explicit AnimationTimerManager(std::unique_ptr<AnimationTimerPlatform> platform);
  ~AnimationTimerManager();
  AnimationTimerManager(const AnimationTimerManager&) = delete;
  AnimationTimerManager& operator=(const AnimationTimerManager&) = delete;

  // Queues a callback that runs after `milliseconds` and then, for repeat -1, every
  // `milliseconds` until the owner's flag expires; for repeat n >= 2, n times in all;
  // otherwise once. Cancelling or destroying the flag is the only way to stop it.
  bool AddTask(const std::weak_ptr<nbase::WeakFlag>& flag, const std::function<void()>& callback,
               uint32_t milliseconds, int32_t repeat);

  // Runs every due task and re-arms the timer for the next one.
  void Poll();

  int64_t Counter() { return platform_->Counter(); }
  int64_t Frequency() const { return frequency_; }

  // State, for diagnostics and tests.
  uint32_t timer_id() const { return timer_id_; }
  bool is_short_timer() const { return short_timer_; }
  size_t task_count() const { return queue_.size(); }
  HWND window() const { return window_; }

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  // Multimedia-timer callback: runs on the timer thread and only posts kPollMessage.
  static void CALLBACK OnMultimediaTimer(UINT id, UINT reserved, DWORD_PTR user, DWORD_PTR, DWORD_PTR);

 private:
  struct LaterDue {
    bool operator()(const AnimationTimerTask& a, const AnimationTimerTask& b) const {
      return a.due > b.due;
    }
  };

  AnimationTimerManager(std::unique_ptr<AnimationTimerPlatform> platform, bool with_window);

  void StartShortTimer();
  void StartLongTimer(int64_t ticks_ahead);
  void KillTimer();

  std::priority_queue<AnimationTimerTask, std::vector<AnimationTimerTask>, LaterDue> queue_;
  int64_t frequency_ = 1;
  bool short_timer_ = true;
  uint32_t timer_id_ = 0;
  HWND window_ = nullptr;
  std::unique_ptr<AnimationTimerPlatform> platform_;
};

}  // namespace ui
