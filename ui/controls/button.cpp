#include "ui/controls/button.h"

#include "ui/core/window.h"

namespace ui {

template <typename InheritType>
ButtonTemplate<InheritType>::ButtonTemplate() {
  this->textStyle_ = kButtonTextStyle;
}

template <typename InheritType>
bool ButtonTemplate<InheritType>::IsTabStop() const {
  return this->IsKeyboardEnabled() && this->IsEnabled() && this->tabStop_;
}

template <typename InheritType>
void ButtonTemplate<InheritType>::Activate() {
  if (!this->IsFocusable()) return;
  if (Window* window = this->GetWindow()) window->SendControlEvent(this, click, 0, 0);
}

template <typename InheritType>
void ButtonTemplate<InheritType>::HandleEvent(EventArgs& event) {
  if (!this->IsMouseEnabled() && event.Type >= mousemove && event.Type <= scrollwheel) {
    if (Box* parent = this->GetParent()) {
      parent->HandleEventTemplate(event);
    } else {
      InheritType::HandleEvent(event);
    }
    return;
  }
  if (event.Type == keydown && this->IsKeyboardEnabled() && (event.chKey == VK_SPACE || event.chKey == VK_RETURN)) {
    Activate();
    return;
  }
  if (event.Type == internalmenu) {
    // Without its context menu switched on the request stops here.
    if (this->IsContextMenuUsed()) {
      if (Window* window = this->GetWindow()) window->SendControlEvent(this, menu, event.wParam, event.lParam);
    }
    return;
  }
  InheritType::HandleEvent(event);
}

template class ButtonTemplate<Control>;
template class ButtonTemplate<Box>;

}  // namespace ui
