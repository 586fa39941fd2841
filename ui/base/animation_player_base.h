// State, timing and direction of a value animation; the value profile is the
// derived player's.
#pragma once

#include <cstdint>
#include <functional>

#include "ui/base/weak_callback.h"

namespace ui {

class AnimationTimerManager;

class AnimationPlayerBase : public nbase::SupportWeakCallback {
 public:
  using PlayCallback = std::function<void(int)>;
  using CompleteCallback = std::function<void()>;

  AnimationPlayerBase() = default;
  ~AnimationPlayerBase() override;
  AnimationPlayerBase(const AnimationPlayerBase&) = delete;
  AnimationPlayerBase& operator=(const AnimationPlayerBase&) = delete;

  // Resets values and timing; the callbacks and the first-run flag stay.
  virtual void Init();
  // Plays forwards from the start value.
  virtual void Start();
  // Stops stepping; the value and the elapsed time stay for Continue or Reverse.
  virtual void Cancel();
  // Stops stepping and re-initialises: value and elapsed time back to the start,
  // as a freshly made player (used to stop a smooth scroll where it stands).
  void Reset();
  // Plays forwards from where the value stands.
  virtual void Continue();
  // Plays backwards from where the value stands.
  virtual void Reverse();
  virtual void Play();
  // The value the profile gives for the elapsed time.
  virtual int GetCurrentValue() = 0;

  int GetStartValue() const { return start_value_; }
  void SetStartValue(int value) { start_value_ = value; }
  int GetEndValue() const { return end_value_; }
  void SetEndValue(int value) { end_value_ = value; }
  // The value last reported through the play callback.
  int GetValue() const { return current_value_; }
  // -1: the profile derives the duration from the distance.
  int GetTotalMilliseconds() const { return total_ms_; }
  void SetTotalMilliseconds(int ms) { total_ms_ = ms; }
  double GetElapsedMilliseconds() const { return elapsed_ms_; }
  int GetInterval() const { return interval_ms_; }
  bool IsFirstRun() const { return first_run_; }
  bool IsPlaying() const { return playing_; }
  bool IsReversed() const { return reversed_; }

  void SetPlayCallback(const PlayCallback& callback) { play_callback_ = callback; }
  void SetCompleteCallback(const CompleteCallback& callback) { complete_callback_ = callback; }
  const PlayCallback& GetPlayCallback() const { return play_callback_; }
  const CompleteCallback& GetCompleteCallback() const { return complete_callback_; }

  // The manager that steps this player; the process-wide one unless set (tests).
  void SetTimerManager(AnimationTimerManager* manager) { timer_manager_ = manager; }

 protected:
  AnimationTimerManager& TimerManager();
  // One step: advances the elapsed time and reports the new value.
  void OnTick();
  void Complete();
  void CancelTimer();
  // Swaps start and end and mirrors the elapsed time, so the value keeps its place.
  void TurnRound();

  int start_value_ = 0;
  int end_value_ = 0;
  int current_value_ = 0;
  int total_ms_ = -1;
  double elapsed_ms_ = 0;
  int interval_ms_ = 0;
  bool first_run_ = true;
  bool playing_ = false;
  bool reversed_ = false;
  PlayCallback play_callback_;
  CompleteCallback complete_callback_;
  int64_t counter_stamp_ = 0;
  int64_t frequency_ = 0;
  nbase::WeakCallbackFlag timer_flag_;

 private:
  AnimationTimerManager* timer_manager_ = nullptr;
};

}  // namespace ui
