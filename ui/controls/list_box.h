// A list box: a scrolling box whose list items take one selection.
#pragma once

#include <string>

#include "ui/core/list_interfaces.h"
#include "ui/core/scrollable_box.h"

namespace ui {

class ListBox : public ScrollableBox, public IListOwner {
 public:
  // Owns the layout ("ListBox" a plain one, "VListBox" vertical, "HListBox"
  // horizontal, "TileListBox" tiles).
  explicit ListBox(Layout* layout);

  std::wstring GetType() const override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

  bool AddAt(Control* control, size_t index) override;
  bool Remove(Control* control) override;
  void RemoveAll() override;

  int GetCurSel() const override { return curSel_; }
  // Selects the list item at the index (unselecting the old one); raises select
  // (42) with the new index in wParam and the old one in lParam when asked.
  bool SelectItem(int index, bool takeFocus = false, bool trigger = true) override;

  bool IsScrollSelect() const { return scrollSelect_; }
  void SetScrollSelect(bool on) { scrollSelect_ = on; }

 private:
  // Tells every list item its index and this list as its owner.
  void Renumber();

  int curSel_ = -1;
  bool scrollSelect_ = false;
};

}  // namespace ui
