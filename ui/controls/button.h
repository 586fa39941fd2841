// A button: a label that raises a click (41) when a press is released on it.
#pragma once

#include "ui/controls/label.h"

namespace ui {

// Centred single-line text with an end ellipsis and no clipping (33061).
inline constexpr UINT kButtonTextStyle = 33061;

template <typename InheritType = Control>
class ButtonTemplate : public LabelTemplate<InheritType> {
 public:
  ButtonTemplate() { this->textStyle_ = kButtonTextStyle; }

  std::wstring GetType() const override { return L"Button"; }

  void Activate() override {
    if (!this->IsActivated()) return;
    this->SendEvent(click);
  }
};

// Both forms are compiled once, in the source file.
extern template class ButtonTemplate<Control>;
extern template class ButtonTemplate<Box>;

}  // namespace ui
