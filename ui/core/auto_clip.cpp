#include "ui/core/auto_clip.h"

#include "ui/render/render_context.h"

namespace ui {

AutoClip::AutoClip(IRenderContext* context, const RECT& rect, bool clip)
    : context_(context), rect_(rect), clipped_(clip && context) {
  if (clipped_) context_->SetClip(rect_);
}

AutoClip::AutoClip(IRenderContext* context, const RECT& rect, SIZE round, bool clip)
    : context_(context), rect_(rect), clipped_(clip && context) {
  if (clipped_) context_->SetRoundClip(rect_, round.cx, round.cy);
}

AutoClip::~AutoClip() {
  if (clipped_) context_->ClearClip();
}

}  // namespace ui
