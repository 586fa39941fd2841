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

}  // namespace ui
