// A selectable list item, the only kind of child a box lets take the selection:
// a box-based option that tells its list when it is activated.
#pragma once

#include <string>

#include "ui/controls/option.h"
#include "ui/core/box.h"
#include "ui/core/list_interfaces.h"

namespace ui {

class ListContainerElement : public OptionTemplate<Box>, public IListItem {
 public:
  ListContainerElement();

  std::wstring GetType() const override;
  void Selected(bool selected, bool triggerEvent = false) override;
  void Activate() override;

  int GetIndex() const override { return index_; }
  void SetIndex(int index) override { index_ = index; }
  IListOwner* GetOwner() const override { return owner_; }
  void SetOwner(IListOwner* owner) override { owner_ = owner; }

 private:
  int index_ = -1;
  IListOwner* owner_ = nullptr;
};

}  // namespace ui
