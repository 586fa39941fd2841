#include "ui/core/control_name_index.h"

#include <algorithm>

namespace ui {

void ControlNameIndex::Register(const std::wstring& name, Control* control) {
  byName_[name] = control;
  std::vector<std::wstring>& names = namesOf_[control];
  if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
}

Control* ControlNameIndex::Find(const std::wstring& name) const {
  auto found = byName_.find(name);
  return found == byName_.end() ? nullptr : found->second;
}

void ControlNameIndex::Forget(Control* control) {
  auto names = namesOf_.find(control);
  if (names == namesOf_.end()) return;
  for (const std::wstring& name : names->second) {
    auto entry = byName_.find(name);
    if (entry != byName_.end() && entry->second == control) byName_.erase(entry);
  }
  namesOf_.erase(names);
}

}  // namespace ui
