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
// its parent the height of the rows in use, at least one row. With a vertical
// scroll bar that height is capped at half of the room from the strip down to
// the window's lower edge, in whole rows, so that hundreds of groups leave room
// for the tags and cards: the strip then scrolls, and keeps the current group in
// view when it is chosen and when it is resized.
class HCardGroup : public ListBox {
 public:
  // The item size starts as groupWidth x 30, DPI-scaled.
  explicit HCardGroup(int groupWidth);

  HCardLayout* GetCardLayout() const;
  void HandleEvent(EventArgs& event) override;
  void SetPos(RECT rc) override;
  bool SelectItem(int index, bool takeFocus = false, bool trigger = true) override;

  // The height in pixels that the strip's parent may take for rows `rowsHeight`
  // pixels high: the rows' own height while it fits in half of the room from the
  // parent's top to the window's lower edge, else the whole rows that fit there,
  // at least one. Rows that could not scroll
  // into view (a skin without the vertical bar) are never cut.
  int LimitParentHeight(int rowsHeight) const;

 private:
  void FitToWidth();
  void FitParentHeight();
  // Scrolls the current group into view, or at the next layout when the items
  // have no places yet.
  void RevealCurrent();

  bool revealPending_ = false;
  bool placing_ = false;
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
