#include "ui/base/animation_player.h"

#include <cmath>
#include <cstdlib>

namespace ui {

void AnimationPlayer::Init() {
  AnimationPlayerBase::Init();
  accelerate_ratio_ = 0;
  decelerate_ratio_ = 0;
  cruise_speed_ = 0;
  cruise_time_ = 0;
  decelerate_time_ = 0;
  accelerate_factor_ = 0;
  decelerate_factor_ = 0;
  decelerate_speed_ = 0;
  max_total_ms_ = kDefaultMaxTotalMilliseconds;
}

void AnimationPlayer::Play() {
  ComputeProfile();
  AnimationPlayerBase::Play();
}

void AnimationPlayer::ComputeProfile() {
  const double distance = std::fabs(static_cast<double>(end_value_) - start_value_);
  const double a = accelerate_ratio_;
  const double e = decelerate_ratio_;

  if (a == 0 && e == 0) {
    if (total_ms_ == -1) {
      // Without a speed there is nothing to derive a duration from: jump to the end.
      total_ms_ = cruise_speed_ > 0
                      ? static_cast<int>(std::fmin(distance / cruise_speed_, max_total_ms_))
                      : 0;
    } else {
      cruise_speed_ = total_ms_ > 0 ? distance / total_ms_ : 0;
    }
    accelerate_time_ = 0;
    cruise_time_ = total_ms_;
    decelerate_time_ = 0;
    return;
  }

  double peak = 0;  // d: half the peak speed per ms of total time
  for (;;) {
    if (total_ms_ != -1) {
      const double t2 = static_cast<double>(total_ms_) * total_ms_;
      if (a != 0) {
        accelerate_factor_ = distance / ((2 * (1 - a - e) * a + a * a + e * a) * t2);
      } else {
        decelerate_factor_ = -distance / ((2 * (1 - a - e) * e + e * e + e * a) * t2);
      }
    }
    if (accelerate_factor_ != 0 && a != 0) {
      peak = accelerate_factor_ * a;
      if (e != 0) decelerate_factor_ = -peak / e;
    } else if (decelerate_factor_ != 0 && e != 0) {
      peak = -(e * decelerate_factor_);
      if (a != 0) accelerate_factor_ = -(e * decelerate_factor_ / a);
    } else {
      peak = 0;
    }
    if (total_ms_ != -1) break;

    const double per_square_ms =
        accelerate_factor_ * a * a + 2 * (1 - a - e) * peak - e * e * decelerate_factor_;
    // No factor (or a meaningless one) gives no finite duration: take the longest.
    const double derived = per_square_ms > 0 ? std::sqrt(distance / per_square_ms) : INFINITY;
    if (std::floor(derived) <= max_total_ms_) {
      total_ms_ = static_cast<int>(derived);
      break;
    }
    total_ms_ = max_total_ms_;  // and the factors are derived from it
  }

  cruise_speed_ = decelerate_speed_ = 2 * peak * total_ms_;
  accelerate_time_ = total_ms_ * a;
  decelerate_time_ = total_ms_ * e;
  cruise_time_ = total_ms_ - total_ms_ * a - total_ms_ * e;
}

int AnimationPlayer::GetCurrentValue() {
  const double t = elapsed_ms_;
  if (t >= total_ms_) return end_value_;
  const double t_a = accelerate_time_;
  int offset;
  if (t <= t_a) {
    offset = static_cast<int>(t * accelerate_factor_ * t);
  } else if (t <= t_a + cruise_time_) {
    offset = static_cast<int>((t - t_a) * cruise_speed_ + t_a * accelerate_factor_ * t_a);
  } else {
    const double t_d = t - t_a - cruise_time_;
    offset = static_cast<int>(t_a * accelerate_factor_ * t_a + cruise_time_ * cruise_speed_ +
                              t_d * decelerate_factor_ * t_d + t_d * decelerate_speed_);
  }
  return end_value_ > start_value_ ? start_value_ + offset : start_value_ - offset;
}

}  // namespace ui
