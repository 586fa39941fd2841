// Stacks the non-floating children from left to right, sharing the width left
// over among the children of stretch width.
#pragma once

#include "ui/core/layout.h"

namespace ui {

class HLayout : public Layout {
 public:
  SIZE ArrangeChildren(const std::vector<Control*>& children, RECT rect) override;
  SIZE MeasureByChildren(const std::vector<Control*>& children, SIZE available) override;
};

}  // namespace ui
