// Painting of a control: the outer paint decides whether the control draws
// directly or through an off-screen layer, clips it and runs Paint, which draws
// the layers in their fixed order. Images are loaded on their first draw.
#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "ui/base/ui_globals.h"
#include "ui/core/auto_clip.h"
#include "ui/core/control.h"
#include "ui/render/render_context.h"
#include "ui/render/render_context_gdiplus.h"

#include "ui/base/ui_globals.h"

namespace ui {

namespace {

bool IsRound(SIZE round) { return round.cx > 0 || round.cy > 0; }

RECT Inflated(RECT rect, int by) {
  InflateRect(&rect, by, by);
  return rect;
}

// A line of the border along one side, `width` thick.
RECT BorderLine(int x1, int y1, int x2, int y2) { return {x1, y1, x2, y2}; }

}  // namespace

IRenderContext* Control::GetLayer() {
  if (!layer_) layer_ = std::make_unique<RenderContext_GdiPlus>();
  return layer_.get();
}

int Control::ShadowExtent(bool layered) const {
  if (boxShadow_.color.empty()) return 0;
  return std::abs(static_cast<int>(boxShadow_.offset.x)) +
         (layered ? 2 * boxShadow_.blurSize : boxShadow_.blurSize);
}

void Control::AlphaPaint(IRenderContext* context, const RECT& dirty) {
  if (alpha_ == 0) return;
  RECT area = {};
  if (!IntersectRect(&area, &dirty, &rect_)) return;
  const bool round = IsRound(borderRound_);

  if (alpha_ == 255 && !cache_) {
    const RECT clipRect = Inflated(rect_, ShadowExtent(false));
    AutoClip clip(context, clipRect, clip_);
    AutoClip roundClip(context, clipRect, borderRound_, clip_ && round);
    const POINT oldOrigin = context->OffsetWindowOrg(renderOffset_);
    Paint(context, dirty);
    PaintChildren(context, dirty);
    context->SetWindowOrg(oldOrigin);
    return;
  }

  const int width = GetWidth();
  const int height = GetHeight();
  IRenderContext* layer = GetLayer();
  if (layer->Resize(width, height, true)) layerDirty_ = true;
  if (layerDirty_) {
    layer->Clear();
    const int extent = ShadowExtent(true);
    const RECT layerRect = {0, 0, width + extent, height + extent};
    AutoClip clip(layer, layerRect, clip_);
    AutoClip roundClip(layer, layerRect, borderRound_, clip_ && round);
    layer->SetRenderTransparent(true);
    const POINT oldOrigin =
        layer->OffsetWindowOrg({rect_.left + renderOffset_.x, rect_.top + renderOffset_.y});
    Paint(layer, rect_);
    if (alpha_ != 255) PaintChildren(layer, dirty);
    layer->SetWindowOrg(oldOrigin);
    layerDirty_ = false;
  }
  const int areaWidth = area.right - area.left;
  const int areaHeight = area.bottom - area.top;
  context->AlphaBlend(area.left, area.top, areaWidth, areaHeight, layer->GetDC(),
                      area.left - rect_.left, area.top - rect_.top, areaWidth, areaHeight,
                      static_cast<BYTE>(alpha_ & 0xFF));
  if (alpha_ == 255) {
    // A cached control keeps its own drawing; its children paint over it each time.
    PaintChildren(context, dirty);
  } else {
    layer_.reset();
  }
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

void Control::PaintShadow(IRenderContext* context) {
  if (boxShadow_.color.empty()) return;
  // The shadow surrounds the whole control; the clip keeps the drawing inside the
  // area being repainted.
  context->DrawBoxShadow(rect_, borderRound_, boxShadow_.offset, boxShadow_.blurRadius,
                         boxShadow_.blurSize, boxShadow_.spreadSize,
                         UiGlobals::GetColor(boxShadow_.color), boxShadow_.exclude);
}

void Control::PaintBkColor(IRenderContext* context) {
  if (bkColor_.empty()) return;
  const DWORD color = GetColorValue(bkColor_);
  if (color == 0) return;
  // A translucent colour must cover the whole control at once, or partial repaints
  // would blend it twice over the parts painted before.
  context->DrawColor(color >= 0xFF000000u ? paintRect_ : rect_, color, 255);
}

void Control::PaintBkImage(IRenderContext*) {}

void Control::PaintStatusColor(IRenderContext* context) {
  const std::wstring normal = GetStateColor(kControlStateNormal);
  const std::wstring hot = GetStateColor(kControlStateHot);
  // With a hot fade the hot colour is laid over the normal one at the hot alpha.
  if (animations_.GetPlayer(kAnimationHot) &&
      (state_ == kControlStateNormal || state_ == kControlStateHot) && !hot.empty()) {
    if (!normal.empty()) context->DrawColor(paintRect_, GetColorValue(normal), 255);
    if (hotAlpha_ > 0) {
      context->DrawColor(paintRect_, GetColorValue(hot), static_cast<BYTE>(hotAlpha_));
    }
    return;
  }
  ControlState state = state_;
  if (state == kControlStatePushed && GetStateColor(state).empty()) state = kControlStateHot;
  if (state == kControlStateHot && GetStateColor(state).empty()) state = kControlStateNormal;
  if (state == kControlStateDisabled && GetStateColor(state).empty()) state = kControlStateNormal;
  const std::wstring name = GetStateColor(state);
  if (!name.empty()) context->DrawColor(paintRect_, GetColorValue(name), 255);
}

void Control::PaintStatusImage(IRenderContext*) {}

void Control::PaintText(IRenderContext*) {}

ControlState Control::BorderState() const {
  auto has = [this](ControlState state) {
    auto found = borderColors_.find(state);
    return found != borderColors_.end() && !found->second.empty();
  };
  ControlState state = state_;
  if (state == kControlStatePushed && !has(kControlStatePushed)) state = kControlStateHot;
  if (state == kControlStateHot && !has(kControlStateHot)) state = kControlStateNormal;
  if (state == kControlStateDisabled && !has(kControlStateDisabled)) state = kControlStateNormal;
  return state;
}

void Control::PaintBorder(IRenderContext* context) {
  auto found = borderColors_.find(BorderState());
  if (found == borderColors_.end() || found->second.empty()) return;
  const DWORD color = GetColorValue(found->second);
  if (color == 0) return;

  const RECT& pos = rect_;
  const RECT& sides = sideBorderSizes_;
  if (sides.left > 0 || sides.top > 0 || sides.right > 0 || sides.bottom > 0) {
    // A one-pixel line stops one pixel short so that it stays inside the control.
    auto shorten = [](int width) { return width == 1 ? 1 : 0; };
    if (int w = sides.left; w > 0) {
      const int x = pos.left + w / 2;
      context->DrawLine(BorderLine(x, pos.top, x, pos.bottom - shorten(w)), w, color);
    }
    if (int w = sides.top; w > 0) {
      const int y = pos.top + w / 2;
      context->DrawLine(BorderLine(pos.left, y, pos.right - shorten(w), y), w, color);
    }
    if (int w = sides.right; w > 0) {
      const int x = pos.right - (w + 1) / 2;
      context->DrawLine(BorderLine(x, pos.top, x, pos.bottom - shorten(w)), w, color);
    }
    if (int w = sides.bottom; w > 0) {
      const int y = pos.bottom - (w + 1) / 2;
      context->DrawLine(BorderLine(pos.left, y, pos.right - shorten(w), y), w, color);
    }
    return;
  }
  const int size = borderSize_;
  if (size <= 0) return;
  RECT frame = {pos.left + size / 2, pos.top + size / 2, pos.right - size / 2,
                pos.bottom - size / 2};
  if (size % 2 != 0) {
    frame.right -= 1;
    frame.bottom -= 1;
  }
  if (IsRound(borderRound_)) {
    context->DrawRoundRect(frame, borderRound_, size, color);
  } else {
    context->DrawRect(frame, size, color);
  }
}

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
