#include "ui/base/animation_timer_manager.h"

#include <mmsystem.h>

#include <algorithm>
#include <atomic>

namespace ui {
namespace {

// The window the multimedia timer posts to. The timer thread reads it, so it is
// published atomically once the window exists.
std::atomic<HWND> g_poll_window{nullptr};

class MultimediaTimerPlatform : public AnimationTimerPlatform {
 public:
  int64_t Counter() override {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
  }
  int64_t Frequency() override {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart > 0 ? frequency.QuadPart : 1;
  }
  uint32_t StartTimer(uint32_t period_ms) override {
    return timeSetEvent(period_ms, 1, &AnimationTimerManager::OnMultimediaTimer, 0,
                        TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
  }
  void KillTimer(uint32_t id) override {
    if (id != 0) timeKillEvent(id);
  }
  uint32_t MaxTimerPeriod() override {
    // Windows accepts periods up to about a quarter of an hour, Wine only up to
    // 65 535 ms; a longer wait is covered by several shorter ones.
    TIMECAPS caps{};
    if (timeGetDevCaps(&caps, sizeof(caps)) == MMSYSERR_NOERROR && caps.wPeriodMax >= 1000)
      return caps.wPeriodMax;
    return 65535;
  }
};

HWND CreatePollWindow() {
  HINSTANCE module = GetModuleHandleW(nullptr);
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = &AnimationTimerManager::WindowProc;
  window_class.hInstance = module;
  window_class.lpszClassName = AnimationTimerManager::kWindowClass;
  RegisterClassExW(&window_class);
  return CreateWindowExW(0, AnimationTimerManager::kWindowClass, L"", 0, 0, 0, 0, 0,
                         HWND_MESSAGE, nullptr, module, nullptr);
}

}  // namespace

AnimationTimerManager& AnimationTimerManager::Instance() {
  static AnimationTimerManager manager(std::make_unique<MultimediaTimerPlatform>(), true);
  return manager;
}

AnimationTimerManager::AnimationTimerManager(std::unique_ptr<AnimationTimerPlatform> platform)
    : AnimationTimerManager(std::move(platform), false) {}

AnimationTimerManager::AnimationTimerManager(std::unique_ptr<AnimationTimerPlatform> platform,
                                             bool with_window)
    : platform_(std::move(platform)) {
  frequency_ = std::max<int64_t>(platform_->Frequency(), 1);
  if (with_window) {
    window_ = CreatePollWindow();
    g_poll_window.store(window_, std::memory_order_release);
  }
}

// The timer and the window of the process-wide manager stay until the process ends;
// only the queued tasks go here.
AnimationTimerManager::~AnimationTimerManager() = default;

bool AnimationTimerManager::AddTask(const std::weak_ptr<nbase::WeakFlag>& flag,
                                    const std::function<void()>& callback,
                                    uint32_t milliseconds, int32_t repeat) {
  AnimationTimerTask task;
  task.callback = callback;
  task.interval = static_cast<uint64_t>(milliseconds) * static_cast<uint64_t>(frequency_) / 1000;
  task.repeat = repeat;
  task.due = platform_->Counter() + static_cast<int64_t>(task.interval);
  task.weak_flag = flag;
  queue_.push(std::move(task));
  if (timer_id_ == 0 || !short_timer_) StartShortTimer();
  return true;
}

void AnimationTimerManager::Poll() {
  const int64_t now = platform_->Counter();
  while (!queue_.empty()) {
    const int64_t ahead = queue_.top().due - now;
    if (ahead > 0) {
      if (ahead < frequency_) {
        if (timer_id_ == 0 || !short_timer_) StartShortTimer();
      } else {
        StartLongTimer(ahead);
      }
      return;
    }
    AnimationTimerTask task = queue_.top();
    queue_.pop();
    if (task.weak_flag.expired()) continue;
    // Calling an empty callback would throw out of the window procedure.
    if (task.callback) task.callback();

    bool again;
    if (task.repeat > 0) {
      --task.repeat;
      again = task.repeat > 0;
    } else {
      again = task.repeat == -1;
    }
    if (!again) continue;
    // A repeat must land after this poll's time stamp, or a zero interval would keep
    // the task due for ever and this loop would never end.
    task.due = now + std::max<int64_t>(static_cast<int64_t>(task.interval), 1);
    queue_.push(std::move(task));
  }
  KillTimer();
}

void AnimationTimerManager::StartShortTimer() {
  platform_->KillTimer(timer_id_);
  timer_id_ = platform_->StartTimer(kShortPeriodMs);
  short_timer_ = true;
}

void AnimationTimerManager::StartLongTimer(int64_t ticks_ahead) {
  double period = static_cast<double>(ticks_ahead) * 1000.0 / static_cast<double>(frequency_) + 2.0;
  // A wait beyond what the platform accepts is split: the timer fires at its longest
  // period, and that poll arms the rest.
  const double longest = static_cast<double>(std::max<uint32_t>(platform_->MaxTimerPeriod(), 1));
  period = std::min(period, longest);
  platform_->KillTimer(timer_id_);
  timer_id_ = platform_->StartTimer(static_cast<uint32_t>(period));
  short_timer_ = false;
}

void AnimationTimerManager::KillTimer() {
  platform_->KillTimer(timer_id_);
  timer_id_ = 0;
}

LRESULT CALLBACK AnimationTimerManager::WindowProc(HWND hwnd, UINT message, WPARAM wparam,
                                                   LPARAM lparam) {
  if (message == kPollMessage) {
    Instance().Poll();
    return 1;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

void CALLBACK AnimationTimerManager::OnMultimediaTimer(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {
  HWND window = g_poll_window.load(std::memory_order_acquire);
  if (window) PostMessageW(window, kPollMessage, 0, 0);
}

}  // namespace ui
