// Cards of one item size in rows: left to right, then the next row below; or,
// right to left, from the right edge.
#pragma once

#include <algorithm>

#include "ui/core/tile_layout.h"

namespace ui {

class HCardLayout : public TileLayout {
 public:
  HCardLayout() { columns_ = 0; }

  SIZE ArrangeChildren(const std::vector<Control*>& children, RECT rect) override;
  SIZE MeasureByChildren(const std::vector<Control*>& children, SIZE available) override;

  // Cards in a row of the width, as arranging places them.
  int CardsInRow(int width) const { return right_to_left_ ? RightToLeftCardsPerRow(width) : CardsPerRow(width); }
  // The height of a row with the margin below it.
  int RowPitch() const { return item_size_.cy + child_margin_; }

  bool IsRightToLeft() const { return right_to_left_; }
  void SetRightToLeft(bool right_to_left) { right_to_left_ = right_to_left; }

 private:
  SIZE ArrangeRightToLeft(const std::vector<Control*>& children, RECT rect);
  // Cards per row for a row width, the same for measuring and arranging.
  int CardsPerRow(int width) const;
  // Right to left, cards are no wider than the row.
  int RightToLeftCardWidth(int width) const { return std::min<int>(item_size_.cx, width); }
  int RightToLeftCardsPerRow(int width) const;

  bool right_to_left_ = false;
};

}  // namespace ui
