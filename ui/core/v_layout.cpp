#include "ui/core/v_layout.h"

#include "ui/core/stack_arrangement.h"

namespace ui {

SIZE VLayout::ArrangeChildren(const std::vector<Control*>& children, RECT rect) {
  return ArrangeStack(children, rect, child_margin_, true);
}

SIZE VLayout::MeasureByChildren(const std::vector<Control*>& children, SIZE available) {
  SIZE size = MeasureStack(children, available, child_margin_, true);
  size.cx += padding_.left + padding_.right;
  size.cy += padding_.top + padding_.bottom;
  return size;
}

}  // namespace ui
