#include "ui/core/h_layout.h"

#include "ui/core/stack_arrangement.h"

namespace ui {

SIZE HLayout::ArrangeChildren(const std::vector<Control*>& children, RECT rect) {
  return ArrangeStack(children, rect, child_margin_, false);
}

SIZE HLayout::MeasureByChildren(const std::vector<Control*>& children, SIZE available) {
  SIZE size = MeasureStack(children, available, child_margin_, false);
  size.cx += padding_.left + padding_.right;
  size.cy += padding_.top + padding_.bottom;
  return size;
}

}  // namespace ui
