#include "ui/base/dpi_scaler.h"

#include <algorithm>

DpiScaler& DpiScaler::Instance() {
  static DpiScaler instance;
  return instance;
}

int DpiScaler::ScaleInt(int value) const { return Scales() ? MulDiv(value, scale_, 100) : value; }

void DpiScaler::ScaleSize(SIZE& size) const {
  size.cx = ScaleInt(size.cx);
  size.cy = ScaleInt(size.cy);
}

void DpiScaler::ScaleSize(POINT& point) const {
  point.x = ScaleInt(point.x);
  point.y = ScaleInt(point.y);
}

void DpiScaler::ScaleRect(RECT& rect) const {
  if (!Scales()) return;
  const int width = MulDiv(rect.right - rect.left, scale_, 100);
  const int height = MulDiv(rect.bottom - rect.top, scale_, 100);
  rect.left = MulDiv(rect.left, scale_, 100);
  rect.top = MulDiv(rect.top, scale_, 100);
  rect.right = rect.left + width;
  rect.bottom = rect.top + height;
}

float DpiScaler::ScaleFactor() const { return static_cast<float>(adapt_ ? scale_ : 100) / 100.0f; }

void DpiScaler::SetScale(int scale) { scale_ = limit_ == -1 ? scale : std::min(scale, limit_); }
