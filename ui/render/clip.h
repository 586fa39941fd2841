// Clipping of a device context. Clips nest as a stack: each CreateClip or
// CreateRoundClip is undone by one ClearClip.
#pragma once

#include <windows.h>

#include "ui/base/weak_callback.h"

namespace ui {

class IClip : public nbase::SupportWeakCallback {
 public:
  // Intersects the current clip with the rectangle (logical coordinates).
  virtual void CreateClip(HDC dc, RECT rect) = 0;
  // As CreateClip with a rounded rectangle that includes the right and bottom edge.
  virtual void CreateRoundClip(HDC dc, RECT rect, int ellipse_width, int ellipse_height) = 0;
  // Removes the most recent clip.
  virtual void ClearClip(HDC dc) = 0;
};

}  // namespace ui
