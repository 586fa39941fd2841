#include "ui/core/scroll_access.h"

#include "ui/core/scrollable_box.h"

// Scrolling never moves controls: whoever hit-tests, invalidates or paints a
// control inside scrolling boxes adds their positions, read here.

namespace ui::scroll_access {

bool HasActiveScrollBar(const Box* box) {
  const auto* scrollable = dynamic_cast<const ScrollableBox*>(box);
  if (!scrollable) return false;
  const SIZE range = scrollable->GetScrollRange();
  return range.cx != 0 || range.cy != 0;
}

bool GetActiveScrollPos(const Box* box, POINT* pos) {
  if (!HasActiveScrollBar(box)) return false;
  const SIZE scroll = static_cast<const ScrollableBox*>(box)->GetScrollPos();
  if (pos) *pos = {scroll.cx, scroll.cy};
  return true;
}

void ArrangeOwner(ScrollableBox* owner) {
  if (owner) owner->Arrange();
}

}  // namespace ui::scroll_access
