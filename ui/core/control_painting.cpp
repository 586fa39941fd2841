// Painting of a control: the outer paint decides whether and where the control
// draws, Paint runs the layers in their fixed order.
#include "ui/core/control.h"

#include "ui/base/ui_globals.h"

namespace ui {

void Control::AlphaPaint(IRenderContext* context, const RECT& dirty) {
  if (alpha_ == 0) return;
  RECT area;
  if (!IntersectRect(&area, &dirty, &rect_)) return;
  Paint(context, dirty);
  PaintChildren(context, dirty);
}

void Control::Paint(IRenderContext* context, const RECT& dirty) {
  if (!IntersectRect(&paintRect_, &dirty, &rect_)) return;
  PaintShadow(context);
  PaintBkColor(context);
  PaintBkImage(context);
  PaintStatusColor(context);
  PaintStatusImage(context);
  PaintText(context);
  PaintBorder(context);
  PaintLoading(context);
}

void Control::PaintChildren(IRenderContext*, const RECT&) {}
void Control::PaintShadow(IRenderContext*) {}
void Control::PaintBkColor(IRenderContext*) {}
void Control::PaintBkImage(IRenderContext*) {}
void Control::PaintStatusColor(IRenderContext*) {}
void Control::PaintStatusImage(IRenderContext*) {}
void Control::PaintText(IRenderContext*) {}
void Control::PaintBorder(IRenderContext*) {}
void Control::PaintLoading(IRenderContext*) {}

void Control::LoadImage(SkinImage& image) {
  if (image.image) return;
  image.image = UiGlobals::GetImage(GetImageFullPath(image.attributes.file));
}

void Control::StopImageAnimation(int frame) {
  if (!bkImage_.image || bkImage_.image->GetFrameCount() < 2) return;
  bkImage_.playing = false;
  imageAnimationFlag_.Cancel();
  if (frame == 0xFFFF) {
    bkImage_.currentFrame = static_cast<int>(bkImage_.image->GetFrameCount()) - 1;
  } else if (frame != -1) {
    bkImage_.currentFrame = frame;
  }
  Invalidate();
}

}  // namespace ui
