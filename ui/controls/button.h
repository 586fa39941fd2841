// A button: a label that raises click (41) when a press is released over it or
// when Space or Return is pressed while it has the focus.
#pragma once

#include "ui/controls/label.h"

namespace ui {

// Centred both ways, single line, no clip, end ellipsis.
inline constexpr UINT kButtonTextStyle = 0x8125;

template <typename InheritType = Control>
class ButtonTemplate : public LabelTemplate<InheritType> {
 public:
  ButtonTemplate();

  std::wstring GetType() const override { return L"Button"; }
  // Keyboard-enabled, enabled and "tabstop" on.
  bool IsTabStop() const override;
  // Raises click through the window; a hidden or disabled button, or one
  // outside a window, raises nothing.
  void Activate() override;
  void HandleEvent(EventArgs& event) override;
};

// Both forms are compiled once, in the source file.
extern template class ButtonTemplate<Control>;
extern template class ButtonTemplate<Box>;

}  // namespace ui
