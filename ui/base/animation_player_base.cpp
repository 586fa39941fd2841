#include "ui/base/animation_player_base.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "ui/base/animation_timer_manager.h"

namespace ui {

// The timer flag goes with the player, which expires any step task still queued.
AnimationPlayerBase::~AnimationPlayerBase() = default;

void AnimationPlayerBase::Init() {
  start_value_ = 0;
  end_value_ = 0;
  current_value_ = 0;
  total_ms_ = -1;
  elapsed_ms_ = 0;
  interval_ms_ = 0;
  counter_stamp_ = 0;
  frequency_ = 0;
  playing_ = false;
  reversed_ = false;
}

void AnimationPlayerBase::Start() {
  CancelTimer();
  elapsed_ms_ = 0;
  reversed_ = false;
  Play();
}

void AnimationPlayerBase::Cancel() { CancelTimer(); }

void AnimationPlayerBase::Reset() {
  CancelTimer();
  Init();
}

void AnimationPlayerBase::Continue() {
  CancelTimer();
  if (reversed_) TurnRound();
  reversed_ = false;
  first_run_ = false;
  Play();
}

void AnimationPlayerBase::Reverse() {
  CancelTimer();
  if (!reversed_) TurnRound();
  if (first_run_) elapsed_ms_ = 0;
  reversed_ = true;
  first_run_ = false;
  Play();
}

void AnimationPlayerBase::TurnRound() {
  std::swap(start_value_, end_value_);
  current_value_ = start_value_;
  elapsed_ms_ = std::max(0.0, total_ms_ - elapsed_ms_);
}

void AnimationPlayerBase::Play() {
  AnimationTimerManager& manager = TimerManager();
  frequency_ = manager.Frequency();
  counter_stamp_ = manager.Counter();
  playing_ = true;
  if (start_value_ == end_value_) {
    Complete();
    return;
  }
  const int64_t distance = std::llabs(static_cast<int64_t>(end_value_) - start_value_);
  interval_ms_ = static_cast<int>(std::max<int64_t>(total_ms_ / distance, 1));

  // The first step may finish the animation, cancel or restart it, or destroy the
  // player through a callback; each of these expires this flag, and then no task
  // of this play may be queued.
  std::weak_ptr<nbase::WeakFlag> this_play = timer_flag_.GetWeakFlag();
  OnTick();
  if (this_play.expired()) return;
  manager.AddTask(this_play, ToWeakCallback([this] { OnTick(); }),
                  static_cast<uint32_t>(interval_ms_), -1);
}

void AnimationPlayerBase::OnTick() {
  AnimationTimerManager& manager = TimerManager();
  elapsed_ms_ += static_cast<double>(manager.Counter() - counter_stamp_) * 1000.0 /
                 static_cast<double>(std::max<int64_t>(frequency_, 1));
  counter_stamp_ = manager.Counter();

  const int value = GetCurrentValue();
  const bool finished = (end_value_ > start_value_ && value >= end_value_) ||
                        (end_value_ < start_value_ && value <= end_value_);
  if (!finished && value == current_value_) return;

  // A callback may destroy the player; nothing of it is touched after that.
  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  current_value_ = finished ? end_value_ : value;
  if (play_callback_) {
    PlayCallback report = play_callback_;
    report(current_value_);
    if (alive.expired()) return;
  }
  // A player without a play callback still finishes and stops its timer.
  if (finished) Complete();
}

void AnimationPlayerBase::Complete() {
  // Stopped before the callback runs, so that a callback which plays the player
  // again keeps its new play.
  CancelTimer();
  playing_ = false;
  if (complete_callback_) {
    CompleteCallback done = complete_callback_;
    done();
  }
}

void AnimationPlayerBase::CancelTimer() { timer_flag_.Cancel(); }

AnimationTimerManager& AnimationPlayerBase::TimerManager() {
  return timer_manager_ ? *timer_manager_ : AnimationTimerManager::Instance();
}

}  // namespace ui
