#include "ui/controls/list_container_element.h"

namespace ui {

ListContainerElement::ListContainerElement() {
  textStyle_ = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
}

std::wstring ListContainerElement::GetType() const { return L"ListContainerElement"; }

void ListContainerElement::Selected(bool selected, bool triggerEvent) {
  if (!IsEnabled()) return;
  if (selected && owner_) {
    // The list moves its selection here and raises its own select event.
    OptionTemplate<Box>::Selected(true, false);
    if (owner_->GetCurSel() != index_) owner_->SelectItem(index_, false, triggerEvent);
    return;
  }
  OptionTemplate<Box>::Selected(selected, triggerEvent);
}

void ListContainerElement::Activate() {
  if (!IsActivated()) return;
  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  if (owner_) {
    if (owner_->GetCurSel() != index_) owner_->SelectItem(index_, true, true);
  } else {
    Selected(true, true);
  }
  if (!alive.expired()) SendEvent(click);
}

}  // namespace ui
