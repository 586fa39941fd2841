// What a list and its items know of each other. The list box implements the
// owner face, its items the item face; the core's selectable-child search
// recognises items by the item face.
#pragma once

#include <windows.h>

namespace ui {

struct EventArgs;

class IListOwner {
 public:
  virtual ~IListOwner() = default;
  // Number of items whose selected flag is set.
  virtual int GetSelectedCount() const = 0;
  // The lowest selected index above `after` (-1 gives the first), else -1.
  virtual int GetNextSelected(int after) const = 0;
  // Index of the current item, -1 for none.
  virtual int GetCurSel() const = 0;
  // Single selection: clears every other item, then selects the item; select
  // (42) carries (index, -1) when asked.
  virtual bool SelectItem(int index, bool takeFocus = false, bool trigger = true) = 0;
  // Adds the item to the selection without clearing the others.
  virtual bool SelectMultiItem(int index, bool takeFocus = false, bool trigger = true) = 0;
  // The list's own event entry.
  virtual void HandleEventTemplate(EventArgs& event) = 0;
  // Scrolls the item at the index into view.
  virtual bool EnsureVisible(int index) = 0;
  // Scrolls a rectangle of the list's content into view.
  virtual void EnsureVisibleRect(const RECT& rect) = 0;
  // Halts a running smooth scroll where it stands.
  virtual void StopScroll() = 0;
  // What a click or a context-menu request on an item does, with the Ctrl and
  // Shift rules of multiple selection.
  virtual bool SelectItemByClick(int index) = 0;
};

class IListItem {
 public:
  virtual ~IListItem() = default;
  // The application's own key for the item.
  virtual int GetItemId() const = 0;
  virtual void SetItemId(int id) = 0;
  // Position in the owner's list, -1 while in none.
  virtual int GetIndex() const = 0;
  virtual void SetIndex(int index) = 0;
  virtual IListOwner* GetOwner() const = 0;
  virtual void SetOwner(IListOwner* owner) = 0;
  virtual bool IsSelected() const = 0;
  // The owner's way to set the item's flag: no event, no call back to the
  // owner. False, with nothing changed, for a disabled item.
  virtual bool Selected(bool select, bool trigger) = 0;
};

}  // namespace ui
