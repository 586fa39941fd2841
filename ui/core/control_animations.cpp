#include "ui/core/control_animations.h"

#include <functional>

#include "ui/base/animation_player.h"
#include "ui/core/control.h"

namespace ui {

namespace {

// Kinds played by Appear and Disappear, in their order; the hot fade is driven
// by the hot state instead.
constexpr int kShowOrder[] = {kAnimationAlpha,          kAnimationWidth,
                              kAnimationHeight,         kAnimationInOutXFromLeft,
                              kAnimationInOutXFromRight, kAnimationInOutYFromTop,
                              kAnimationInOutYFromBottom};

constexpr int kEstimateExtent = 999999;
constexpr int kSlideFallback = 100;

void Configure(AnimationPlayer& player, int start, int end, int totalMs, double accelerateFactor,
               std::function<void(int)> onValue) {
  player.SetStartValue(start);
  player.SetEndValue(end);
  player.SetTotalMilliseconds(totalMs);
  player.SetAccelerateRatio(0.3);
  player.SetDecelerateRatio(0.7);
  if (accelerateFactor != 0.0) player.SetAccelerateFactor(accelerateFactor);
  player.SetPlayCallback(onValue);
}

}  // namespace

ControlAnimations::ControlAnimations(Control* control) : control_(control) {}

ControlAnimations::~ControlAnimations() = default;

AnimationPlayer* ControlAnimations::Replace(int kind, bool on) {
  players_.erase(kind);
  if (!on) return nullptr;
  auto player = std::make_unique<AnimationPlayer>();
  AnimationPlayer* raw = player.get();
  players_[kind] = std::move(player);
  return raw;
}

AnimationPlayer* ControlAnimations::SetFadeAlpha(bool on) {
  AnimationPlayer* player = Replace(kAnimationAlpha, on);
  if (player) {
    Control* control = control_;
    Configure(*player, 0, 255, 250, 0.0,
              control->ToWeakCallback([control](int value) { control->SetAlpha(value); }));
  }
  return player;
}

AnimationPlayer* ControlAnimations::SetFadeHeight(bool on) {
  AnimationPlayer* player = Replace(kAnimationHeight, on);
  if (player) {
    Control* control = control_;
    int height = control->EstimateSize(SIZE{kEstimateExtent, kEstimateExtent}).cy;
    Configure(*player, 0, height, -1, 0.00084, control->ToWeakCallback([control](int value) {
      control->SetFixedHeight(value, false);
    }));
  }
  return player;
}

AnimationPlayer* ControlAnimations::SetFadeWidth(bool on) {
  AnimationPlayer* player = Replace(kAnimationWidth, on);
  if (player) {
    Control* control = control_;
    int width = control->EstimateSize(SIZE{kEstimateExtent, kEstimateExtent}).cx;
    Configure(*player, 0, width, -1, 0.00084, control->ToWeakCallback([control](int value) {
      control->SetFixedWidth(value, true, false);
    }));
  }
  return player;
}

AnimationPlayer* ControlAnimations::SetFadeHot(bool on) {
  AnimationPlayer* player = Replace(kAnimationHot, on);
  if (player) {
    Control* control = control_;
    Configure(*player, 0, 255, 250, 0.0,
              control->ToWeakCallback([control](int value) { control->SetHotAlpha(value); }));
  }
  return player;
}

AnimationPlayer* ControlAnimations::SetFadeInOutX(bool on, bool fromRight) {
  AnimationPlayer* player = Replace(fromRight ? kAnimationInOutXFromRight : kAnimationInOutXFromLeft, on);
  if (player) {
    Control* control = control_;
    int width = control->EstimateSize(SIZE{kEstimateExtent, kEstimateExtent}).cx;
    if (width <= 0) width = kSlideFallback;
    Configure(*player, fromRight ? -width : width, 0, -1, 0.006,
              control->ToWeakCallback([control](int value) { control->SetRenderOffsetX(value); }));
  }
  return player;
}

AnimationPlayer* ControlAnimations::SetFadeInOutY(bool on, bool fromBottom) {
  AnimationPlayer* player = Replace(fromBottom ? kAnimationInOutYFromBottom : kAnimationInOutYFromTop, on);
  if (player) {
    Control* control = control_;
    int height = control->EstimateSize(SIZE{kEstimateExtent, kEstimateExtent}).cy;
    if (height <= 0) height = kSlideFallback;
    Configure(*player, fromBottom ? -height : height, 0, -1, 0.006,
              control->ToWeakCallback([control](int value) { control->SetRenderOffsetY(value); }));
  }
  return player;
}

void ControlAnimations::Appear() {
  // Showing may run visibility listeners that destroy the control.
  std::weak_ptr<nbase::WeakFlag> alive = control_->GetWeakFlag();
  control_->SetVisible(true);
  for (int kind : kShowOrder) {
    if (alive.expired()) return;
    auto it = players_.find(kind);
    if (it == players_.end()) continue;
    it->second->SetCompleteCallback(nullptr);
    it->second->Continue();
  }
}

void ControlAnimations::Disappear() {
  Control* control = control_;
  std::function<void()> hide = control->ToWeakCallback([control]() { control->SetVisible(false); });
  std::weak_ptr<nbase::WeakFlag> alive = control->GetWeakFlag();
  bool any = false;
  for (int kind : kShowOrder) {
    // A player that completes at once hides the control, which may destroy it.
    if (alive.expired()) return;
    auto it = players_.find(kind);
    if (it == players_.end()) continue;
    any = true;
    it->second->SetCompleteCallback(hide);
    it->second->Reverse();
  }
  if (!any) control_->SetVisible(false);
}

AnimationPlayer* ControlAnimations::GetPlayer(int kind) const {
  auto it = players_.find(kind);
  return it == players_.end() ? nullptr : it->second.get();
}

}  // namespace ui
