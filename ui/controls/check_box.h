// A check box: a button whose activation toggles its selection before the click.
#pragma once

#include "ui/controls/button.h"

namespace ui {

template <typename InheritType = Control>
class CheckBoxTemplate : public ButtonTemplate<InheritType> {
 public:
  std::wstring GetType() const override { return L"CheckBox"; }

  bool IsSelected() const { return selected_; }
  // Raises select (42) or unselect (43) when asked and the state changed.
  virtual void Selected(bool selected, bool triggerEvent = false) {
    if (selected_ == selected) return;
    selected_ = selected;
    this->Invalidate();
    if (triggerEvent) this->SendEvent(selected ? select : unselect);
  }

  void Activate() override {
    if (!this->IsActivated()) return;
    std::weak_ptr<nbase::WeakFlag> alive = this->GetWeakFlag();
    Selected(!selected_, true);
    if (!alive.expired()) this->SendEvent(click);
  }

  void SetAttribute(const std::wstring& name, const std::wstring& value) override {
    if (name == L"selected") {
      Selected(value == L"true");
    } else {
      ButtonTemplate<InheritType>::SetAttribute(name, value);
    }
  }

 protected:
  bool selected_ = false;
};

// Both forms are compiled once, in the source file.
extern template class CheckBoxTemplate<Control>;
extern template class CheckBoxTemplate<Box>;

}  // namespace ui
