// The scrolling-box operations that controls and scroll bars use, gathered in one
// place. Scrolling never moves controls, so hit tests, invalidation and painting
// add the scroll offsets read here.
#pragma once

#include <windows.h>

namespace ui {

class Box;
class ScrollableBox;

namespace scroll_access {

// True when the box scrolls and at least one of its bars has a range.
bool HasActiveScrollBar(const Box* box);
// The box's scroll position; false (and nothing written) when it does not scroll.
bool GetActiveScrollPos(const Box* box, POINT* pos);
// Re-arranges the scrolling box that owns a bar.
void ArrangeOwner(ScrollableBox* owner);

}  // namespace scroll_access
}  // namespace ui
