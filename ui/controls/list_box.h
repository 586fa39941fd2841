// A list box: a scrolling box whose list items it selects, singly or several at
// once (Ctrl and Shift clicks), by mouse, keyboard (arrows, Home, End) and wheel,
// and scrolls into view. It keeps every item's owner and index up to date.
#pragma once

#include <string>

#include "ui/core/list_interfaces.h"
#include "ui/core/scrollable_box.h"

namespace ui {

class ListContainerElement;

class ListBox : public ScrollableBox, public IListOwner {
 public:
  // Owns the layout ("ListBox" a plain one, "VListBox" vertical, "HListBox"
  // horizontal, "TileListBox" tiles).
  explicit ListBox(Layout* layout);

  // Control, Box and ScrollableBox overrides.
  std::wstring GetType() const override;
  void SetPos(RECT rc) override;
  void HandleEventTemplate(EventArgs& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void HandleEvent(EventArgs& event) override;
  bool ButtonDown(EventArgs& event) override;
  bool SetItemIndex(Control* control, size_t index) override;
  bool Add(Control* control) override;
  bool AddAt(Control* control, size_t index) override;
  bool Remove(Control* control) override;
  bool RemoveAt(size_t index) override;
  void RemoveAll() override;

  // IListOwner.
  int GetSelectedCount() const override;
  int GetNextSelected(int after) const override;
  int GetCurSel() const override { return curSel_; }
  bool SelectItem(int index, bool takeFocus = false, bool trigger = true) override;
  bool SelectMultiItem(int index, bool takeFocus = false, bool trigger = true) override;
  // An item asked for before the list was laid out is brought into view once it is.
  bool EnsureVisible(int index) override;
  void EnsureVisibleRect(const RECT& rect) override;
  void StopScroll() override;
  bool SelectItemByClick(int index) override;

  // Scrolls the first child of that name to the top; false when there is none,
  // nothing to scroll, or it lies above the content's top.
  virtual bool ScrollItemToTop(const std::wstring& name);
  // The first visible, non-floating child not wholly above the visible area.
  virtual Control* GetTopItem();

  bool IsScrollSelect() const { return scrollSelect_; }
  void SetScrollSelect(bool on) { scrollSelect_ = on; }

 protected:
  // The list item at the index, or null.
  ListContainerElement* ItemAt(int index) const;
  // A visible, enabled list item at the index, or null.
  ListContainerElement* SelectableAt(int index) const;
  // Gives the list items from `first` to `last` their positions as indices.
  void Renumber(int first, int last);
  // The selection target of a move from the current item; keeps the current
  // item when only unselectable items lie that way.
  int StepTarget(bool forward) const;

  int curSel_ = -1;
  bool scrollSelect_ = false;
  bool reselectOnRemove_ = true;
  // The item EnsureVisible asked for before the items had places; -1 for none.
  int pendingVisible_ = -1;
};

}  // namespace ui
