// Painting of a control: the outer paint decides whether the control draws
// directly or through an off-screen layer, clips it and runs Paint, which draws
// the layers in their fixed order. Images are loaded on their first draw.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdlib>

#include "ui/base/animation_timer_manager.h"
#include "ui/base/ui_globals.h"
#include "ui/core/auto_clip.h"
#include "ui/core/control.h"
#include "ui/core/gdiplus_bitmap.h"
#include "ui/core/state_color_set.h"
#include "ui/core/state_image_set.h"
#include "ui/render/render_context.h"
#include "ui/render/render_context_gdiplus.h"

#include "ui/base/ui_globals.h"

namespace ui {

namespace {

namespace gp = Gdiplus::DllExports;

// StopImageAnimation's frame that means the last one.
constexpr int kLastFrame = 0xFFFF;
// Key of the image-animation listeners told when the background animation ends.
constexpr int kImageAnimationEndKey = 1;

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

void Control::PaintBkImage(IRenderContext* context) { DrawImage(context, bkImage_); }

void Control::PaintStatusColor(IRenderContext* context) {
  stateColors_->Paint(context, paintRect_, state_);
}

void Control::PaintStatusImage(IRenderContext* context) {
  stateImages_->GetSet(kStateImageBk).Paint(context, state_, L"");
  stateImages_->GetSet(kStateImageFore).Paint(context, state_, L"");
}

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

void Control::PaintLoading(IRenderContext* context) {
  if (!loading_ || loadingImage_.attributes.wholeText.empty()) return;
  LoadImage(loadingImage_);
  if (!loadingImage_.image) return;
  const std::shared_ptr<ImageInfo> image = loadingImage_.image;
  GdiplusBitmapPtr frame = HBitmapToGdiplusBitmap(image->GetFrame(0));
  if (!frame) return;

  const int width = image->width;
  const int height = image->height;
  // Centred with signed halves, so an image larger than the control still centres.
  RECT place = {rect_.left + (GetWidth() - width) / 2, rect_.top + (GetHeight() - height) / 2, 0,
                0};
  place.right = place.left + width;
  place.bottom = place.top + height;
  if (IsRectSet(loadingImage_.attributes.dest)) {
    place = loadingImage_.attributes.dest;
    OffsetRect(&place, rect_.left, rect_.top);
  }
  if (!loadingBkColor_.empty()) context->DrawColor(place, GetColorValue(loadingBkColor_), 255);

  Gdiplus::GpBitmap* rotated = nullptr;
  if (gp::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppPARGB, nullptr, &rotated) !=
          Gdiplus::Ok ||
      !rotated) {
    return;
  }
  GdiplusBitmapPtr rotatedOwner(rotated);
  Gdiplus::GpGraphics* graphics = nullptr;
  if (gp::GdipGetImageGraphicsContext(rotated, &graphics) == Gdiplus::Ok && graphics) {
    const float centreX = width / 2.0f;
    const float centreY = height / 2.0f;
    gp::GdipTranslateWorldTransform(graphics, centreX, centreY, Gdiplus::MatrixOrderPrepend);
    gp::GdipRotateWorldTransform(graphics, static_cast<float>(loadingAngle_),
                                 Gdiplus::MatrixOrderPrepend);
    gp::GdipTranslateWorldTransform(graphics, -centreX, -centreY, Gdiplus::MatrixOrderPrepend);
    gp::GdipDrawImageRectI(graphics, frame.get(), 0, 0, width, height);
    gp::GdipDeleteGraphics(graphics);
  }
  Gdiplus::GpGraphics* target = nullptr;
  if (gp::GdipCreateFromHDC(context->GetDC(), &target) == Gdiplus::Ok && target) {
    gp::GdipDrawImageRectI(target, rotated, place.left, place.top, width, height);
    gp::GdipDeleteGraphics(target);
  }
}


void Control::LoadImage(SkinImage& image) {
  if (image.image) return;
  if (image.attributes.file.empty()) return;
  image.image = UiGlobals::GetImage(GetImageFullPath(image.attributes.file));
}

bool Control::DrawImage(IRenderContext* context, SkinImage& image, const std::wstring& modify,
                        int fade) {
  if (image.attributes.file.empty()) return false;
  LoadImage(image);
  if (!image.image) {
    // Not tried again until the control is given a new image text.
    image.attributes.Reset();
    return false;
  }
  ImageDrawAttributes attributes = image.attributes;
  if (!modify.empty()) attributes.Parse(modify);

  RECT dest = rect_;
  if (IsRectSet(attributes.dest)) {
    dest = attributes.dest;
    OffsetRect(&dest, rect_.left, rect_.top);
  }
  RECT source = {0, 0, image.image->width, image.image->height};
  if (IsRectSet(attributes.source)) source = attributes.source;

  if (bkImage_.image && bkImage_.image->GetFrameCount() >= 2 && bkAnimationAllowed_ &&
      !bkImage_.playing) {
    PlayBkImageAnimation();
    // The first frame shows with the next paint, which the animation asked for.
    if (bkImage_.playing) return true;
  }
  const BYTE drawFade = fade == -1 ? attributes.fade : static_cast<BYTE>(fade);
  context->DrawImage(paintRect_, image.image->GetFrame(image.currentFrame), image.image->alpha,
                     dest, source, attributes.corner, image.image->dpiScaled, drawFade,
                     attributes.xtiled, attributes.ytiled, attributes.fullxtiled,
                     attributes.fullytiled, attributes.tiledMargin);
  return true;
}

bool Control::BkImageMayPlay() const {
  const SkinImage& bk = bkImage_;
  if (!bk.image || bk.image->GetFrameCount() < 2) return false;
  const int playCount = bk.attributes.playCount;
  if (playCount < 0) return true;
  if (playCount > 0) return bk.loopsPlayed < playCount;
  return bk.playing;
}

void Control::ScheduleBkImageFrame(int delay) {
  imageAnimationFlag_.Cancel();
  AnimationTimerManager::Instance().AddTask(
      imageAnimationFlag_.GetWeakFlag(), ToWeakCallback([this] { PlayBkImageAnimation(); }),
      static_cast<uint32_t>(delay), -1);
}

void Control::PlayBkImageAnimation() {
  SkinImage& bk = bkImage_;
  if (BkImageMayPlay()) {
    if (!bk.playing) {
      bk.currentFrame = 0;
      imageAnimationFlag_.Cancel();
      const int delay = bk.GetFrameDelay();
      if (delay == 0) return;
      bk.playing = true;
      ScheduleBkImageFrame(delay);
      Invalidate();
      return;
    }
    const int delay = bk.GetFrameDelay();
    if (++bk.currentFrame >= static_cast<int>(bk.image->GetFrameCount())) {
      bk.currentFrame = 0;
      ++bk.loopsPlayed;
    }
    const int next = bk.GetFrameDelay();
    if (!BkImageMayPlay()) {
      OnBkImageAnimationEnd();
      Invalidate();
      return;
    }
    if (delay != 0 && next != 0) {
      if (delay != next) ScheduleBkImageFrame(next);
      Invalidate();
      return;
    }
  }
  bk.playing = false;
  imageAnimationFlag_.Cancel();
}

void Control::StopImageAnimation(int frame) {
  if (!bkImage_.image || bkImage_.image->GetFrameCount() < 2) return;
  bkImage_.playing = false;
  imageAnimationFlag_.Cancel();
  if (frame == kLastFrame) {
    bkImage_.currentFrame = static_cast<int>(bkImage_.image->GetFrameCount()) - 1;
  } else if (frame != -1) {
    bkImage_.currentFrame = frame;
  }
  Invalidate();
}

void Control::OnBkImageAnimationEnd() {
  bkAnimationAllowed_ = false;
  StopImageAnimation(kLastFrame);
  auto found = imageAnimationListeners_.find(static_cast<EventType>(kImageAnimationEndKey));
  if (found == imageAnimationListeners_.end()) return;
  EventArgs args;
  args.Type = none;
  args.pSender = this;
  EventCallbackList callbacks = found->second;
  RunEventCallbacks(callbacks, &args);
}

}  // namespace ui
