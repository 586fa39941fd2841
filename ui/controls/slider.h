// A slider: a progress bar with a thumb the user drags.
#pragma once

#include <string>

#include "ui/controls/progress.h"

namespace ui {

class Slider : public Progress {
 public:
  std::wstring GetType() const override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

  // Normal 0, hot 1, pushed 2.
  ControlState GetThumbState() const { return thumbState_; }
  void SetThumbState(ControlState state) { thumbState_ = state; }
  int GetChangeStep() const { return step_; }
  void SetChangeStep(int step) { step_ = step; }

 private:
  ControlState thumbState_ = kControlStateNormal;
  int step_ = 1;
};

}  // namespace ui
