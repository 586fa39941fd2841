// What a list and its items know of each other.
#pragma once

namespace ui {

class IListOwner {
 public:
  virtual ~IListOwner() = default;
  // Index of the selected item, -1 for none.
  virtual int GetCurSel() const = 0;
  // Selects the item at the index; raises select (42) with the new and the old
  // index when asked.
  virtual bool SelectItem(int index, bool takeFocus = false, bool trigger = true) = 0;
};

class IListItem {
 public:
  virtual ~IListItem() = default;
  // Position in the owner's list, -1 while in none.
  virtual int GetIndex() const = 0;
  virtual void SetIndex(int index) = 0;
  virtual IListOwner* GetOwner() const = 0;
  virtual void SetOwner(IListOwner* owner) = 0;
};

}  // namespace ui
