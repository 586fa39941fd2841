// Children of known sizes for the layout tests, and rectangle checks.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

#include "ui/core/control.h"

namespace pexo_test {

// A control that can pretend to be measured from its content: with `natural` set
// it reports that size while its width is auto, and wraps to its fixed width
// (one extra line of `line_height` for every width it lacks) when one is set.
class SizedControl : public ui::Control {
 public:
  SIZE natural = {0, 0};
  bool text_like = false;
  int line_height = 20;

  SIZE EstimateSize(SIZE available) override {
    if (!text_like) return ui::Control::EstimateSize(available);
    if (GetFixedWidth() >= 0) {
      const int width = GetFixedWidth();
      const int lines = width > 0 ? (natural.cx + width - 1) / width : natural.cx;
      return SIZE{width, lines * line_height};
    }
    return natural;
  }
};

// Owns the children a test lays out and hands them over as a box would.
class Children {
 public:
  SizedControl* Add(int width, int height) {
    items_.push_back(std::make_unique<SizedControl>());
    SizedControl* child = items_.back().get();
    child->SetFixedWidth(width, false, false);
    child->SetFixedHeight(height, false);
    list_.push_back(child);
    return child;
  }
  SizedControl* operator[](size_t i) const { return items_[i].get(); }
  const std::vector<ui::Control*>& list() const { return list_; }

 private:
  std::vector<std::unique_ptr<SizedControl>> items_;
  std::vector<ui::Control*> list_;
};

inline RECT Rect(LONG l, LONG t, LONG r, LONG b) { return RECT{l, t, r, b}; }

}  // namespace pexo_test

inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream& operator<<(std::ostream& os, const RECT& r) {
  return os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
inline bool operator==(const SIZE& a, const SIZE& b) { return a.cx == b.cx && a.cy == b.cy; }
inline std::ostream& operator<<(std::ostream& os, const SIZE& s) {
  return os << s.cx << " x " << s.cy;
}
