// An option: a check box in a named group; selecting one option of a group
// unselects the others of that group in the same window, like a radio button.
// The group table is the window's, so one name in two windows is two groups.
#pragma once

#include <string>

#include "ui/controls/check_box.h"

namespace ui {

template <typename InheritType = Control>
class OptionTemplate : public CheckBoxTemplate<InheritType> {
 public:
  OptionTemplate() = default;
  ~OptionTemplate() override;

  // Joins the window's group when initialised with a group name.
  void SetWindowAndParent(Window* window, Box* parent, bool init = true) override;
  std::wstring GetType() const override { return L"Option"; }
  // Raises click, then selects the option (a click never unselects it).
  void Activate() override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  // Stores the flag (repeating the events when unchanged); selecting unselects
  // the other members of the group first, then raises select when asked;
  // unselecting always raises unselect.
  void Selected(bool selected, bool triggerEvent = false) override;

  virtual std::wstring GetGroup() const { return group_; }
  // Moves the option to another group (or none) and announces its state there.
  virtual void SetGroup(const std::wstring& group);

 protected:
  std::wstring group_;
};

// Both forms are compiled once, in the source file.
extern template class OptionTemplate<Control>;
extern template class OptionTemplate<Box>;

}  // namespace ui
