#include "ui/controls/slider.h"

#include <cwchar>
#include <cwctype>

#include "ui/base/dpi_scaler.h"
#include "ui/core/box.h"
#include "ui/core/window.h"

namespace ui {

Slider::Slider() {
  textStyle_ = DT_CENTER | DT_SINGLELINE;
  // A drag whose button-up goes to another window (the focus left mid-drag)
  // must still end: otherwise later moves without a button would keep
  // changing the value.
  SetButtonUpOnFocusLoss(true);
}

Slider::~Slider() = default;

std::wstring Slider::GetType() const { return L"Slider"; }

SkinImage& Slider::GetThumbImage(ControlState state) {
  switch (state) {
    case kControlStateHot:
      return thumbHot_;
    case kControlStatePushed:
      return thumbPushed_;
    case kControlStateDisabled:
      return thumbDisabled_;
    default:
      return thumbNormal_;
  }
}

void Slider::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const DpiScaler& dpi = DpiScaler::Instance();
  if (name == L"step") {
    step_ = _wtoi(value.c_str());
  } else if (name == L"thumbnormalimage" || name == L"thumbhotimage" || name == L"thumbpushedimage" ||
             name == L"thumbdisabledimage") {
    const ControlState state = name == L"thumbhotimage"      ? kControlStateHot
                               : name == L"thumbpushedimage" ? kControlStatePushed
                               : name == L"thumbdisabledimage" ? kControlStateDisabled
                                                               : kControlStateNormal;
    GetThumbImage(state).SetImageString(value);
    Invalidate();
  } else if (name == L"thumbsize") {
    wchar_t* end = nullptr;
    const long width = wcstol(value.c_str(), &end, 10);
    const long height = end && *end ? wcstol(end + 1, nullptr, 10) : 0;
    thumbSize_ = SIZE{dpi.ScaleInt(static_cast<int>(width)), dpi.ScaleInt(static_cast<int>(height))};
  } else if (name == L"progressbarpadding") {
    // Read like "textpadding": missing numbers are 0.
    barPadding_ = label_detail::ParseTextPadding(value);
    ArrangeOrInvalidate();
  } else {
    Progress::SetAttribute(name, value);
  }
}

void Slider::ClearImageCache() {
  Progress::ClearImageCache();
  for (SkinImage* image : {&thumbNormal_, &thumbHot_, &thumbPushed_, &thumbDisabled_}) image->ReleaseImage();
}

RECT Slider::GetThumbRect() const {
  const RECT pos = GetPos();
  const double range = EffectiveMax() - min_;
  RECT rc = {};
  if (horizontal_) {
    rc.left = static_cast<int>(pos.left + (value_ - min_) * (pos.right - thumbSize_.cx - pos.left) / range);
    rc.right = rc.left + thumbSize_.cx;
    rc.top = (pos.top + pos.bottom - thumbSize_.cy) / 2;
    rc.bottom = rc.top + thumbSize_.cy;
  } else {
    rc.left = (pos.left + pos.right - thumbSize_.cx) / 2;
    rc.right = rc.left + thumbSize_.cx;
    rc.top = static_cast<int>(pos.bottom - thumbSize_.cy - (value_ - min_) * (pos.bottom - thumbSize_.cy - pos.top) / range);
    rc.bottom = rc.top + thumbSize_.cy;
  }
  return rc;
}

RECT Slider::GetProgressPos() {
  const RECT pos = GetPos();
  const int width = pos.right - pos.left;
  const int height = pos.bottom - pos.top;
  const double range = EffectiveMax() - min_;
  if (horizontal_) {
    return RECT{0, 0, static_cast<int>((width - thumbSize_.cx) * (value_ - min_) / range + thumbSize_.cx / 2 + 0.5),
                height};
  }
  return RECT{0, static_cast<int>((height - thumbSize_.cy) * (EffectiveMax() - value_) / range + thumbSize_.cy / 2 + 0.5),
              width, height};
}

double Slider::ValueAtPoint(POINT point) const {
  const RECT pos = GetPos();
  const int range = EffectiveMax() - min_;
  if (horizontal_) {
    if (point.x >= pos.right - thumbSize_.cx / 2) return EffectiveMax();
    if (point.x <= pos.left + thumbSize_.cx / 2) return min_;
    return min_ + static_cast<double>(point.x - thumbSize_.cx / 2 - pos.left) * range /
                      (pos.right - pos.left - thumbSize_.cx);
  }
  if (point.y >= pos.bottom - thumbSize_.cy / 2) return min_;
  if (point.y <= pos.top + thumbSize_.cy / 2) return EffectiveMax();
  return min_ + static_cast<double>(pos.bottom - thumbSize_.cy / 2 - point.y) * range /
                    (pos.bottom - pos.top - thumbSize_.cy);
}

void Slider::RaiseValueChange() {
  if (Window* window = GetWindow()) window->SendControlEvent(this, valuechange, 0, 0);
}

void Slider::HandleEvent(EventArgs& event) {
  if (!IsMouseEnabled() && event.Type >= mousemove && event.Type <= scrollwheel) {
    if (Box* parent = GetParent()) {
      parent->HandleEventTemplate(event);
    } else {
      Progress::HandleEvent(event);
    }
    return;
  }
  POINT point = event.ptMouse;
  const POINT scroll = GetScrollOffsetInParents();
  point.x += scroll.x;
  point.y += scroll.y;
  switch (event.Type) {
    case internaldblclick:
    case buttondown:
    case pointerdown: {
      const RECT thumb = GetThumbRect();
      if (IsEnabled() && PtInRect(&thumb, point)) pressed_ = true;
      return;
    }
    case buttonup:
    case pointerup: {
      if (pressed_) pressed_ = false;
      if (IsEnabled()) {
        std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
        value_ = ValueAtPoint(point);
        RaiseValueChange();
        if (!alive.expired()) Invalidate();
      }
      return;
    }
    case internalmenu:
      return;
    case scrollwheel: {
      if (static_cast<int>(event.wParam) > 0) {
        value_ = std::min<double>(EffectiveMax(), value_ + step_);
      } else {
        value_ = std::max<double>(min_, value_ - step_);
      }
      Invalidate();
      RaiseValueChange();
      return;
    }
    case mousemove:
    case pointermove:
      if (pressed_) {
        std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
        value_ = ValueAtPoint(point);
        RaiseValueChange();
        if (!alive.expired()) Invalidate();
      }
      return;
    default:
      Progress::HandleEvent(event);
  }
}

void Slider::PaintBkColor(IRenderContext* context) {
  const RECT saved = rect_;
  const RECT savedPaint = paintRect_;
  rect_.left += barPadding_.left;
  rect_.top += barPadding_.top;
  rect_.right -= barPadding_.right;
  rect_.bottom -= barPadding_.bottom;
  paintRect_ = rect_;
  Progress::PaintBkColor(context);
  rect_ = saved;
  paintRect_ = savedPaint;
}

void Slider::PaintStatusImage(IRenderContext* context) {
  const RECT saved = rect_;
  rect_.left += barPadding_.left;
  rect_.top += barPadding_.top;
  rect_.right -= barPadding_.right;
  rect_.bottom -= barPadding_.bottom;
  Progress::PaintStatusImage(context);
  rect_ = saved;

  const RECT thumb = GetThumbRect();
  wchar_t text[128];
  swprintf(text, 128, L"destscale='false' dest='%d,%d,%d,%d'", static_cast<int>(thumb.left - rect_.left),
           static_cast<int>(thumb.top - rect_.top), static_cast<int>(thumb.right - rect_.left),
           static_cast<int>(thumb.bottom - rect_.top));
  thumbModify_ = text;
  if (pressed_ && DrawImage(context, thumbPushed_, thumbModify_)) return;
  DrawImage(context, thumbNormal_, thumbModify_);
}

}  // namespace ui
