// Scaling of pixel sizes written for 96 dots per inch. The framework start-up sets
// the scale once, before any window exists, when DPI adaptation is asked for; with
// adaptation off every scaling leaves values unchanged.
#pragma once

#include <windows.h>

class DpiScaler {
 public:
  static DpiScaler& Instance();

  // The value itself unless adaptation is on and the scale is not 100; then
  // MulDiv(value, scale, 100), rounded to nearest. Callers holding the sentinel sizes
  // -1 (stretch) and -2 (auto) scale only positive values.
  int ScaleInt(int value) const;
  // Both coordinates through ScaleInt, in place.
  void ScaleSize(SIZE& size) const;
  void ScaleSize(POINT& point) const;
  // In place; width and height are scaled as such, so a rectangle keeps its scaled
  // size whatever its position: right = scaled left + scaled width.
  void ScaleRect(RECT& rect) const;

  // Factor for rasterising vector images: the scale when adapting, else 1.
  float ScaleFactor() const;

  int Scale() const { return scale_; }
  // Sets the percentage, capped at the limit when there is one.
  void SetScale(int scale);
  int Limit() const { return limit_; }
  // Upper bound of the scale; -1 for none.
  void SetLimit(int limit) { limit_ = limit; }
  bool IsAdapted() const { return adapt_; }
  void SetAdapted(bool adapt) { adapt_ = adapt; }

  DpiScaler() = default;

 private:
  bool Scales() const { return adapt_ && scale_ != 100; }

  int scale_ = 100;
  int limit_ = -1;
  bool adapt_ = false;
};
