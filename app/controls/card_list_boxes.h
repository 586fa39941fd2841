// The launcher's list classes: list boxes that differ from the framework's only
// in the layout they are made with, an item size set at creation and at most one
// replaced operation. They carry the card area, the group strip and the tag
// column.
#pragma once

#include "app/controls/growing_list_box.h"
#include "ui/controls/list_box.h"

namespace ui {

class HCardLayout;
class TileLayout;

// The card area in rows. A click only moves the current index: no card is
// highlighted, and Ctrl and Shift mean nothing. A tag of thousands of links gets
// its cards made as they scroll into view.
class HCardListBox : public GrowingListBox {
 public:
  HCardListBox();

  HCardLayout* GetCardLayout() const;
  // Replaces the list's click selection. A negative index gives false; any other
  // becomes the current index and raises select (42) with the new index in wParam
  // and the old one in lParam, also when they are equal.
  bool SelectItemByClick(int index) override;

 protected:
  int ItemsPerLine(int width) const override;
  // Known from the item size once the first card has set it.
  int LinePitch() const override;
};

// The card area in columns.
class VCardListBox : public ListBox {
 public:
  VCardListBox();
};

// The group strip: groups of one width in rows of 30 pixels, one pixel apart.
// On resize it may widen its items to fill the row ("bAutoGroupWidth") and gives
// its parent the height of the rows in use, at least one row.
class HCardGroup : public ListBox {
 public:
  // The item size starts as groupWidth x 30, DPI-scaled.
  explicit HCardGroup(int groupWidth);

  HCardLayout* GetCardLayout() const;
  void HandleEvent(EventArgs& event) override;

 private:
  void FitToWidth();
};

// The tag column. On resize, with "bAutoTagHeight", tags share the column's
// height when each then gets more than 29 pixels.
class VTagGroup : public ListBox {
 public:
  VTagGroup();

  void HandleEvent(EventArgs& event) override;

 private:
  void FitToHeight();
};

}  // namespace ui
