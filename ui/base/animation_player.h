// A value animation that accelerates, cruises at constant speed and decelerates.
#pragma once

#include "ui/base/animation_player_base.h"

namespace ui {

class AnimationPlayer : public AnimationPlayerBase {
 public:
  static constexpr int kDefaultMaxTotalMilliseconds = 1000000;

  AnimationPlayer() = default;
  ~AnimationPlayer() override = default;

  void Init() override;
  // Computes the profile for the current distance, then plays.
  void Play() override;
  int GetCurrentValue() override;

  // Shares of the total time spent accelerating and decelerating.
  void SetAccelerateRatio(double ratio) { accelerate_ratio_ = ratio; }
  double GetAccelerateRatio() const { return accelerate_ratio_; }
  void SetDecelerateRatio(double ratio) { decelerate_ratio_ = ratio; }
  double GetDecelerateRatio() const { return decelerate_ratio_; }
  // With a total time of -1, one factor decides how long a distance takes.
  void SetAccelerateFactor(double factor) { accelerate_factor_ = factor; }
  double GetAccelerateFactor() const { return accelerate_factor_; }
  void SetDecelerateFactor(double factor) { decelerate_factor_ = factor; }
  double GetDecelerateFactor() const { return decelerate_factor_; }
  // Upper bound of a derived total time.
  void SetMaxTotalMilliseconds(int ms) { max_total_ms_ = ms; }
  int GetMaxTotalMilliseconds() const { return max_total_ms_; }

 private:
  void ComputeProfile();

  double accelerate_ratio_ = 0;   // A
  double decelerate_ratio_ = 0;   // E
  double accelerate_time_ = 0;    // t_a, ms
  double cruise_speed_ = 0;       // V, value units per ms
  double cruise_time_ = 0;        // t_c, ms
  double decelerate_time_ = 0;    // t_d, ms
  double accelerate_factor_ = 0;  // K_a: the value moves K_a * t^2 while accelerating
  double decelerate_factor_ = 0;  // K_d (negative): K_d * t^2 + V_d * t while decelerating
  double decelerate_speed_ = 0;   // V_d
  int max_total_ms_ = kDefaultMaxTotalMilliseconds;
};

}  // namespace ui
