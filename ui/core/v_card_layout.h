// Cards of one item size in columns: top to bottom, then the next column to the right.
#pragma once

#include "ui/core/tile_layout.h"

namespace ui {

class VCardLayout : public TileLayout {
 public:
  VCardLayout() { columns_ = 0; }

  SIZE ArrangeChildren(const std::vector<Control*>& children, RECT rect) override;
  SIZE MeasureByChildren(const std::vector<Control*>& children, SIZE available) override;

 private:
  // Cards per column for a column height, the same for measuring and arranging.
  int CardsPerColumn(int height) const;
};

}  // namespace ui
