// The box a window's root is wrapped in while the window draws its own shadow:
// its background image is the shadow picture and its padding the room for it.
#pragma once

#include "ui/core/box.h"

namespace ui {

class ShadowBox : public Box {
 public:
  ShadowBox();

  // Draws the shadow only when the area to repaint reaches outside the content.
  void Paint(IRenderContext* context, const RECT& dirty) override;
};

}  // namespace ui
