#include "ui/core/card_placement.h"

#include "ui/core/control.h"
#include "ui/core/layout.h"

namespace ui {

void PlaceCardInCell(Control* child, RECT cell) {
  const RECT margin = child->GetMargin();
  cell.left += margin.left;
  cell.top += margin.top;
  cell.right -= margin.right;
  cell.bottom -= margin.bottom;
  const int avail_width = cell.right - cell.left;
  const int avail_height = cell.bottom - cell.top;
  const SIZE desired = child->EstimateSize(SIZE{avail_width, avail_height});
  const int width = ClampChildWidth(child, desired.cx == -1 ? avail_width : desired.cx);
  const int height = ClampChildHeight(child, desired.cy == -1 ? avail_height : desired.cy);
  const int left = (cell.left + cell.right - width) / 2;
  const int top = (cell.top + cell.bottom - height) / 2;
  child->SetPos(RECT{left, top, left + width, top + height});
}

int PlaceCardsInLines(const std::vector<Control*>& children, RECT rect, SIZE item, int child_margin,
                      int per_line, bool down_first) {
  const int half_margin = child_margin / 2;
  int x = rect.left;
  int y = rect.top;
  int count = 0;
  for (Control* child : children) {
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      Layout::PlaceFloatChild(child, rect);
      continue;
    }
    PlaceCardInCell(child, RECT{x + half_margin, y + half_margin, x + half_margin + item.cx,
                                y + half_margin + item.cy});
    ++count;
    const bool line_full = count % per_line == 0;
    if (down_first) {
      y = line_full ? rect.top : y + item.cy + child_margin;
      if (line_full) x += item.cx + child_margin;
    } else {
      x = line_full ? rect.left : x + item.cx + child_margin;
      if (line_full) y += item.cy + child_margin;
    }
  }
  return count;
}

}  // namespace ui
