// A radio option: a check box that activation only selects; options of one
// group name exclude each other.
#pragma once

#include "ui/controls/check_box.h"

namespace ui {

template <typename InheritType = Control>
class OptionTemplate : public CheckBoxTemplate<InheritType> {
 public:
  std::wstring GetType() const override { return L"Option"; }

  const std::wstring& GetGroup() const { return group_; }
  void SetGroup(const std::wstring& group) { group_ = group; }

  void Activate() override {
    if (!this->IsActivated()) return;
    std::weak_ptr<nbase::WeakFlag> alive = this->GetWeakFlag();
    if (!this->selected_) this->Selected(true, true);
    if (!alive.expired()) this->SendEvent(click);
  }

  void SetAttribute(const std::wstring& name, const std::wstring& value) override {
    if (name == L"group") {
      SetGroup(value);
    } else {
      CheckBoxTemplate<InheritType>::SetAttribute(name, value);
    }
  }

 protected:
  std::wstring group_;
};

// Both forms are compiled once, in the source file.
extern template class OptionTemplate<Control>;
extern template class OptionTemplate<Box>;

}  // namespace ui
