#include "ui/core/scroll_access.h"

// Plain boxes never scroll; scrolling boxes report their bars here once they
// join the tree.

namespace ui::scroll_access {

bool HasActiveScrollBar(const Box*) { return false; }
bool GetActiveScrollPos(const Box*, POINT*) { return false; }
void ArrangeOwner(ScrollableBox*) {}

}  // namespace ui::scroll_access
