// A window's controls by name. A name finds the control registered last under
// it; a control is forgotten under every name it was registered with (it may
// have been renamed since), at a cost that follows its own names rather than
// every name in the window, so deleting a list of many named items stays cheap.
#pragma once

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace ui {

class Control;

class ControlNameIndex {
 public:
  // The control takes the name over from any control registered under it before.
  void Register(const std::wstring& name, Control* control);
  // Null when no control is registered under the name.
  Control* Find(const std::wstring& name) const;
  // Removes the names that still lead to the control; names taken over by
  // another control stay with that one.
  void Forget(Control* control);
  size_t size() const { return byName_.size(); }

 private:
  std::map<std::wstring, Control*> byName_;
  // Every name each control was registered under, the ones taken over since included.
  std::unordered_map<Control*, std::vector<std::wstring>> namesOf_;
};

}  // namespace ui
