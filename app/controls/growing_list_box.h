// A list box that builds its items as they are needed. A search can match
// thousands of links and a tag can hold thousands of cards: the list builds the
// items up to the last one in view (and some ahead while it scrolls), and the
// rest wait with their maker until they scroll into view or a selection reaches
// them. The list is laid out and scrolled as if every item were there, so
// positions, indexes, selection and its events are those of a list that holds
// them all.
#pragma once

#include <functional>

#include "ui/controls/list_box.h"

namespace ui {

class GrowingListBox : public ListBox {
 public:
  // Builds the item that comes `made` items after the source's first one (0 for
  // the first). Null ends the source: nothing after it is built.
  using ItemMaker = std::function<Control*(int made)>;
  // Gives a built item the content of the source's item `index`; false when it
  // cannot take it, and a new one is made in its place.
  using ItemRefill = std::function<bool(Control* item, int index)>;

  explicit GrowingListBox(Layout* layout);

  // Empties the list and gives it `total` items to come, built by `make` in order.
  // The view stays where it is, as a refreshed source wants it; items are made in
  // order, so a new source shown from its start is given ScrollToTop first, and
  // nothing is made for the old position.
  void SetItemSource(int total, ItemMaker make);
  // As SetItemSource, but the items built for the top of the list are kept and
  // refilled by `refill`, and only those it refuses are made again. A search
  // that changes a few rows of the view, or none, then repaints just those:
  // `refill` is expected to change nothing that already shows the new content.
  // Items past the new total or the first view go; the selection is cleared and
  // the view goes back to the top.
  void ReplaceItemSource(int total, ItemMaker make, const ItemRefill& refill);
  // The source has grown to `total` items, those built included.
  void SetTotalItems(int total);
  // The items built and those still to come.
  int GetTotalItems() const { return GetCount() + toCome_; }
  // Puts the view at the first line without building anything for it.
  void ScrollToTop();
  // Builds the items not yet built up to `index` (clamped to the last one) and
  // lays them out, so their places are known at once.
  void MakeItemsThrough(int index);

  // Overrides: items are built before anything needs them.
  void SetPos(RECT rc) override;
  void SetScrollPos(SIZE pos) override;
  SIZE CalcRequiredSize(const RECT& rc) override;
  bool SelectItem(int index, bool takeFocus = false, bool trigger = true) override;
  bool SelectMultiItem(int index, bool takeFocus = false, bool trigger = true) override;
  bool EnsureVisible(int index) override;
  void HandleEvent(EventArgs& event) override;
  void RemoveAll() override;

 protected:
  // How many items stand side by side in a line of the given width; 1 for a list
  // of rows.
  virtual int ItemsPerLine(int width) const;
  // The height of one line of items with the margin after it; 0 when not known
  // before an item is built (the default: the first item's height).
  virtual int LinePitch() const;

 private:
  // The last item that the view shows at vertical scroll position `y` within
  // `rc` (the first item is built first when the lines' height needs it).
  int LastItemInView(const RECT& rc, int y);
  // Removes the items from `first` on at once (deleted as the box deletes them).
  void RemoveItemsFrom(int first);
  // Builds items through `index` without laying them out; true when any was built.
  bool BuildItemsThrough(int index);

  int toCome_ = 0;
  int made_ = 0;
  ItemMaker make_;
  bool layingOut_ = false;
  // The list is being placed, which lays out what it builds meanwhile.
  bool placing_ = false;
};

}  // namespace ui
