// A manual clock and a recording timer for driving AnimationTimerManager in tests.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "ui/base/animation_timer_manager.h"

namespace pexo_test {

struct FakeTimerState {
  int64_t counter = 0;
  int64_t frequency = 1000;  // one tick per millisecond keeps the numbers readable
  uint32_t max_period = 65535;
  uint32_t next_id = 1;
  std::vector<uint32_t> started_periods;
  std::vector<uint32_t> killed;
  bool fail_starts = false;
};

class FakeAnimationTimerPlatform : public ui::AnimationTimerPlatform {
 public:
  explicit FakeAnimationTimerPlatform(std::shared_ptr<FakeTimerState> state) : state_(std::move(state)) {}
  int64_t Counter() override { return state_->counter; }
  int64_t Frequency() override { return state_->frequency; }
  uint32_t StartTimer(uint32_t period_ms) override {
    if (state_->fail_starts || period_ms > state_->max_period) return 0;
    state_->started_periods.push_back(period_ms);
    return state_->next_id++;
  }
  void KillTimer(uint32_t id) override {
    if (id != 0) state_->killed.push_back(id);
  }
  uint32_t MaxTimerPeriod() override { return state_->max_period; }

 private:
  std::shared_ptr<FakeTimerState> state_;
};

// A manager over a fake clock; Advance moves time on and delivers one timer message.
struct FakeAnimationClock {
  std::shared_ptr<FakeTimerState> state = std::make_shared<FakeTimerState>();
  ui::AnimationTimerManager manager{std::make_unique<FakeAnimationTimerPlatform>(state)};

  void Advance(int64_t ms) {
    state->counter += ms * state->frequency / 1000;
    manager.Poll();
  }
  uint32_t last_period() const {
    return state->started_periods.empty() ? 0 : state->started_periods.back();
  }
};

}  // namespace pexo_test
