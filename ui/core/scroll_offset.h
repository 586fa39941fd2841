// Scroll state of a box as seen by its descendants: scrolling never moves
// controls, so hit tests, invalidation and painting add these offsets instead.
#pragma once

#include <windows.h>

namespace ui {

class Box;

// True when the box scrolls and at least one of its bars has a range.
bool HasActiveScrollBar(const Box* box);
// The box's scroll position; false (and nothing written) when it does not scroll.
bool GetActiveScrollPos(const Box* box, POINT* pos);

}  // namespace ui
