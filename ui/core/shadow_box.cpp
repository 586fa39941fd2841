#include "ui/core/shadow_box.h"

#include "ui/core/layout_access.h"

namespace ui {

ShadowBox::ShadowBox() : Box(layout_access::NewPlainLayout()) {}

void ShadowBox::Paint(IRenderContext* context, const RECT& dirty) {
  const RECT pos = GetPos(true);
  const RECT padding = layout_access::GetPadding(GetLayout());
  const RECT inner = {pos.left + padding.left, pos.top + padding.top, pos.right - padding.right,
                      pos.bottom - padding.bottom};
  if (dirty.left < inner.left || dirty.top < inner.top || dirty.right > inner.right ||
      dirty.bottom > inner.bottom) {
    Control::Paint(context, dirty);
  }
}

}  // namespace ui
