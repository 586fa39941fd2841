#include "ui/controls/list_container_element.h"

#include "ui/core/window.h"

namespace ui {

ListContainerElement::ListContainerElement() {
  textStyle_ = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOCLIP;
  // Pen and touch contacts do not press an item.
  receivePointer_ = false;
}

std::wstring ListContainerElement::GetType() const { return L"ListContainerElement"; }

bool ListContainerElement::SetItemSelected(bool select, bool trigger) {
  if (!IsEnabled()) return false;
  const bool wasSelected = selected_;
  const ControlState oldState = state_;
  selected_ = select;
  if (select) {
    state_ = kControlStateHot;
  } else if (state_ == kControlStateHot) {
    state_ = kControlStateNormal;
  }
  // Selecting one item of a long list clears all the others: only those that
  // change look ask for a repaint.
  if (trigger && (selected_ != wasSelected || state_ != oldState)) Invalidate();
  return true;
}

void ListContainerElement::OnOptionSelected(bool select, bool) {
  if (IsEnabled() && select && owner_) owner_->SelectItemByClick(index_);
}

void ListContainerElement::SetFadeVisible(bool visible) {
  OptionFace::SetFadeVisible(visible);
  if (visible || !selected_) return;
  selected_ = false;
  if (owner_) owner_->SelectItem(-1, false, true);
}

void ListContainerElement::HandleEvent(EventArgs& event) {
  if (!IsMouseEnabled() && event.Type >= mousemove && event.Type <= scrollwheel) {
    if (owner_) {
      owner_->HandleEventTemplate(event);
    } else {
      Control::HandleEvent(event);
    }
    return;
  }
  Window* window = GetWindow();
  if (event.Type == internaldblclick) {
    // The second press of a double click chooses the item as a single press
    // would: a quick click on an item the choice left meanwhile (a key moved it,
    // another click took it) is not lost.
    if (IsEnabled() && !selected_ && owner_) {
      std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
      owner_->SelectItemByClick(index_);
      if (alive.expired()) return;
    }
    if (IsFocusable()) {
      EventArgs args;
      args.Type = doubleclick;
      args.pSender = this;
      args.dwTimestamp = ::GetTickCount();
      if (window) args.ptMouse = window->GetLastMousePos();
      HandleEventTemplate(args);
    }
    return;
  }
  if (event.Type == keydown && IsEnabled() && event.chKey == VK_RETURN) {
    if (IsFocusable() && window) window->SendControlEvent(this, return_, 0, 0);
    return;
  }
  if (event.Type == internalmenu && IsEnabled()) {
    std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
    if (owner_) owner_->SelectItemByClick(index_);
    if (alive.expired()) return;
    if (window) window->SendControlEvent(this, menu, 0, 0);
    if (alive.expired()) return;
    Invalidate();
    return;
  }
  OptionFace::HandleEvent(event);
}

}  // namespace ui
