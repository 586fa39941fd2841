// A 2-D transformation; every change is prepended to the existing transformation.
#pragma once

#include <windows.h>

#include "ui/base/weak_callback.h"

namespace ui {

class IMatrix : public nbase::SupportWeakCallback {
 public:
  virtual void Translate(int dx, int dy) = 0;
  virtual void Scale(int sx, int sy) = 0;
  virtual void Rotate(float angle) = 0;
  // Rotation about a centre: a point is moved by -centre, rotated, and moved back
  // before the existing transformation applies.
  virtual void RotateAt(float angle, const POINT& center) = 0;
};

}  // namespace ui
