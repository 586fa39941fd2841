#include "ui/controls/option.h"

#include <algorithm>
#include <vector>

#include "ui/core/window.h"

namespace ui {

namespace {

// The check-box face of a group member, of either form.
void UnselectMember(Control* member, bool trigger) {
  if (auto* option = dynamic_cast<CheckBoxTemplate<Control>*>(member)) {
    option->Selected(false, trigger);
  } else if (auto* optionBox = dynamic_cast<CheckBoxTemplate<Box>*>(member)) {
    optionBox->Selected(false, trigger);
  }
}

bool IsStillMember(Window* window, const std::wstring& group, Control* member) {
  const std::vector<Control*>* members = window->GetOptionGroup(group);
  return members && std::find(members->begin(), members->end(), member) != members->end();
}

}  // namespace

template <typename InheritType>
OptionTemplate<InheritType>::~OptionTemplate() {
  if (Window* window = this->GetWindow(); window && !group_.empty()) {
    window->RemoveOptionGroupMember(group_, this);
  }
}

template <typename InheritType>
void OptionTemplate<InheritType>::SetWindowAndParent(Window* window, Box* parent, bool init) {
  // The group table is the window's: an option moved to another window, or
  // taken out of one (a combo's list when its drop-down closes, a menu level
  // whose window goes), leaves the old table at once, or a later deletion would
  // leave a dangling member there.
  Window* old = this->GetWindow();
  if (old && old != window && !group_.empty()) old->RemoveOptionGroupMember(group_, this);
  CheckBoxTemplate<InheritType>::SetWindowAndParent(window, parent, init);
  if (init && !group_.empty()) {
    if (Window* own = this->GetWindow()) own->AddOptionGroupMember(group_, this);
  }
}

template <typename InheritType>
void OptionTemplate<InheritType>::Activate() {
  if (!this->IsFocusable()) return;
  Window* window = this->GetWindow();
  if (!window) return;
  std::weak_ptr<nbase::WeakFlag> alive = this->GetWeakFlag();
  window->SendControlEvent(this, click, 0, 0);
  if (alive.expired() || !this->IsFocusable()) return;
  Selected(true, true);
}

template <typename InheritType>
void OptionTemplate<InheritType>::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"group") {
    SetGroup(value);
  } else {
    CheckBoxTemplate<InheritType>::SetAttribute(name, value);
  }
}

template <typename InheritType>
void OptionTemplate<InheritType>::Selected(bool selected, bool triggerEvent) {
  this->selected_ = selected;
  std::weak_ptr<nbase::WeakFlag> alive = this->GetWeakFlag();
  if (Window* window = this->GetWindow()) {
    if (selected) {
      if (!group_.empty()) {
        // Listeners of the members' unselect events may join, leave or delete
        // options of the group: walk a copy and skip members gone meanwhile.
        if (const std::vector<Control*>* members = window->GetOptionGroup(group_)) {
          const std::wstring group = group_;
          const std::vector<Control*> snapshot = *members;
          for (Control* member : snapshot) {
            if (member == this || !IsStillMember(window, group, member)) continue;
            UnselectMember(member, triggerEvent);
            if (alive.expired()) return;
          }
        }
      }
      if (triggerEvent) window->SendControlEvent(this, select, 0, 0);
    } else {
      window->SendControlEvent(this, unselect, 0, 0);
    }
    if (alive.expired()) return;
  }
  this->Invalidate();
}

template <typename InheritType>
void OptionTemplate<InheritType>::SetGroup(const std::wstring& group) {
  if (group == group_) return;
  Window* window = this->GetWindow();
  if (window && !group_.empty()) window->RemoveOptionGroupMember(group_, this);
  group_ = group;
  if (window && !group_.empty()) window->AddOptionGroupMember(group_, this);
  Selected(this->selected_, true);
}

template class OptionTemplate<Control>;
template class OptionTemplate<Box>;

}  // namespace ui
