// The round-rectangle figure used for box shadows.
#pragma once

#include "ui/render/gdiplus_handles.h"

namespace ui {

// Adds one closed figure: 90-degree arcs in boxes of corner.cx x corner.cy at 180,
// 270, 0 and 90 degrees, joined by the straight edges between them.
void AddRoundRectToPath(Gdiplus::GpPath* path, const Gdiplus::RectF& rect, const SIZE& corner);

}  // namespace ui
