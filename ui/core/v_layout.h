// Stacks the non-floating children from top to bottom, sharing the height left
// over among the children of stretch height.
#pragma once

#include "ui/core/layout.h"

namespace ui {

class VLayout : public Layout {
 public:
  SIZE ArrangeChildren(const std::vector<Control*>& children, RECT rect) override;
  SIZE MeasureByChildren(const std::vector<Control*>& children, SIZE available) override;
};

}  // namespace ui
