// A control's appearance animations: alpha fade, hot-state fade, width and height
// growth, and slides in from one of the four sides. One player per kind at most;
// all of them play forwards when the control appears and backwards when it
// disappears.
#pragma once

#include <map>
#include <memory>

namespace ui {

class AnimationPlayer;
class Control;

enum AnimationKind : int {
  kAnimationAlpha = 1,
  kAnimationHeight = 2,
  kAnimationWidth = 3,
  kAnimationHot = 4,
  kAnimationInOutXFromLeft = 5,
  kAnimationInOutXFromRight = 6,
  kAnimationInOutYFromTop = 7,
  kAnimationInOutYFromBottom = 8,
};

class ControlAnimations {
 public:
  explicit ControlAnimations(Control* control);
  ~ControlAnimations();
  ControlAnimations(const ControlAnimations&) = delete;
  ControlAnimations& operator=(const ControlAnimations&) = delete;

  // Each switch makes a fresh player (replacing an earlier one) and returns it,
  // or deletes the kind's player and returns null.
  AnimationPlayer* SetFadeAlpha(bool on);
  AnimationPlayer* SetFadeHeight(bool on);
  AnimationPlayer* SetFadeWidth(bool on);
  AnimationPlayer* SetFadeHot(bool on);
  AnimationPlayer* SetFadeInOutX(bool on, bool fromRight);
  AnimationPlayer* SetFadeInOutY(bool on, bool fromBottom);

  // Shows the control and plays every kind but the hot fade forwards.
  void Appear();
  // Plays them backwards and hides the control when they complete (at once
  // when there is nothing to play).
  void Disappear();

  AnimationPlayer* GetPlayer(int kind) const;

 private:
  AnimationPlayer* Replace(int kind, bool on);

  Control* control_;
  std::map<int, std::unique_ptr<AnimationPlayer>> players_;
};

}  // namespace ui
