// The arithmetic shared by the vertical and the horizontal layout, written once
// along a main axis (the stacking direction) and a cross axis.
#pragma once

#include <windows.h>

#include <vector>

namespace ui {

class Control;

SIZE ArrangeStack(const std::vector<Control*>& children, RECT rect, int child_margin, bool vertical);
// Without the padding; the layout adds it.
SIZE MeasureStack(const std::vector<Control*>& children, SIZE available, int child_margin, bool vertical);

}  // namespace ui
