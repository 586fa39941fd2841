#include "ui/core/scroll_offset.h"

// Plain boxes never scroll; scrolling boxes report their bars here once they
// join the tree.

namespace ui {

bool HasActiveScrollBar(const Box*) { return false; }

bool GetActiveScrollPos(const Box*, POINT*) { return false; }

}  // namespace ui
