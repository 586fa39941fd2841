#include "ui/controls/progress.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "ui/base/animation_timer_manager.h"
#include "ui/base/dpi_scaler.h"
#include "ui/base/ui_globals.h"
#include "ui/render/render_context.h"

namespace ui {

Progress::Progress() {
  textStyle_ = DT_CENTER | DT_SINGLELINE;
  SetFixedHeight(12, true);
}

Progress::~Progress() { marqueeFlag_.Cancel(); }

std::wstring Progress::GetType() const { return L"Progress"; }

void Progress::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"hor") {
    SetHorizontal(value == L"true");
  } else if (name == L"min") {
    SetMinValue(_wtoi(value.c_str()));
  } else if (name == L"max") {
    SetMaxValue(_wtoi(value.c_str()));
  } else if (name == L"value") {
    SetValue(_wtoi(value.c_str()));
  } else if (name == L"progressimage") {
    progressImage_.SetImageString(value);
    Invalidate();
  } else if (name == L"isstretchfore") {
    const bool stretch = value == L"true";
    if (stretch == stretchForeImage_) return;
    stretchForeImage_ = stretch;
    Invalidate();
  } else if (name == L"progresscolor") {
    size_t start = 0;
    while (start < value.size() && value[start] <= L' ') ++start;
    const std::wstring color = value.substr(start);
    if (color == progressColor_) return;
    progressColor_ = color;
    Invalidate();
  } else if (name == L"marquee") {
    SetMarquee(value == L"true");
  } else if (name == L"marqueewidth") {
    const int width = _wtoi(value.c_str());
    if (width == marqueeWidth_) return;
    marqueeWidth_ = width;
    Invalidate();
  } else if (name == L"marqueestep") {
    const int step = _wtoi(value.c_str());
    if (step == marqueeStep_) return;
    marqueeStep_ = step;
    Invalidate();
  } else if (name == L"reverse") {
    reverse_ = value == L"true";
  } else {
    LabelTemplate<Control>::SetAttribute(name, value);
  }
}

void Progress::ClearImageCache() {
  LabelTemplate<Control>::ClearImageCache();
  progressImage_.ReleaseImage();
}

void Progress::SetHorizontal(bool horizontal) {
  if (horizontal_ == horizontal) return;
  horizontal_ = horizontal;
  Invalidate();
}

void Progress::SetMinValue(int min) {
  min_ = min;
  Invalidate();
}

void Progress::SetMaxValue(int max) {
  max_ = max;
  Invalidate();
}

void Progress::SetValue(double value) {
  value_ = value;
  Invalidate();
}

RECT Progress::GetProgressPos() {
  const int width = GetPos().right - GetPos().left;
  const int height = GetPos().bottom - GetPos().top;
  const double range = EffectiveMax() - min_;
  RECT rc = {0, 0, width, height};
  if (horizontal_) {
    const double filled = (value_ - min_) * width / range;
    if (reverse_) {
      rc.left = width - static_cast<int>(std::floor(filled));
    } else {
      rc.right = static_cast<int>(std::ceil(filled));
    }
  } else if (reverse_) {
    rc.bottom = static_cast<int>(std::floor((value_ - min_) * height / range));
  } else {
    rc.top = static_cast<int>(std::ceil((EffectiveMax() - value_) * height / range));
  }
  return rc;
}

void Progress::SetMarquee(bool marquee) {
  if (marquee == marquee_) return;
  marquee_ = marquee;
  marqueePosition_ = 0;
  if (marquee_) {
    AnimationTimerManager::Instance().AddTask(
        marqueeFlag_.GetWeakFlag(), [this] { PlayMarquee(); }, static_cast<uint32_t>(marqueeInterval_), -1);
  } else {
    marqueeFlag_.Cancel();
  }
  Invalidate();
}

void Progress::PlayMarquee() {
  if (!marquee_) {
    marqueeFlag_.Cancel();
    return;
  }
  marqueePosition_ += marqueeStep_;
  const RECT pos = GetPos();
  const int extent = horizontal_ ? pos.right - pos.left : pos.bottom - pos.top;
  if (marqueePosition_ > extent) marqueePosition_ = marqueePosition_ - extent - marqueeWidth_;
  Invalidate();
}

void Progress::PaintMarquee(IRenderContext* context) {
  if (progressColor_.empty()) return;
  // Resolved like the normal bar's colour: the window's table first.
  const DWORD color = GetColorValue(progressColor_);
  if (color == 0) return;
  RECT band = GetPos();
  if (horizontal_) {
    band.left = band.left + std::max(marqueePosition_, 0);
    band.right = band.left + marqueeWidth_ + std::min(marqueePosition_, 0);
  } else {
    band.top = band.top + std::max(marqueePosition_, 0);
    band.bottom = band.top + marqueeWidth_ + std::min(marqueePosition_, 0);
  }
  DpiScaler::Instance().ScaleRect(band);
  context->DrawColor(band, color, 255);
}

void Progress::PaintStatusImage(IRenderContext* context) {
  if (marquee_) {
    PaintMarquee(context);
    return;
  }
  if (min_ >= max_) max_ = min_ + 1;
  value_ = std::clamp<double>(value_, min_, max_);

  RECT fill = GetProgressPos();
  const RECT pos = GetPos();
  if (!progressColor_.empty()) {
    const DWORD color = GetColorValue(progressColor_);
    if (color != 0) {
      RECT windowRect = fill;
      OffsetRect(&windowRect, pos.left, pos.top);
      context->DrawColor(windowRect, color, 255);
    }
  }
  if (progressImage_.attributes.file.empty()) return;
  wchar_t text[256];
  if (stretchForeImage_) {
    swprintf(text, 256, L"destscale='false' dest='%d,%d,%d,%d'", fill.left, fill.top, fill.right, fill.bottom);
  } else {
    LoadImage(progressImage_);
    const int imageWidth = progressImage_.image ? progressImage_.image->width : fill.right;
    const int imageHeight = progressImage_.image ? progressImage_.image->height : fill.bottom;
    swprintf(text, 256, L"destscale='false' dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", fill.left, fill.top, fill.right,
             fill.bottom, fill.left, fill.top, std::min(imageWidth, static_cast<int>(fill.right)),
             std::min(imageHeight, static_cast<int>(fill.bottom)));
  }
  imageModify_ = text;
  const RECT corner = progressImage_.attributes.corner;
  if (horizontal_ && corner.left != 0 && corner.left >= fill.right) {
    swprintf(text, 256, L" corner='%d,%d,%d,%d'", static_cast<int>(fill.right), static_cast<int>(corner.top), 0,
             static_cast<int>(corner.bottom));
    imageModify_ += text;
  } else if (!horizontal_ && corner.top != 0 && corner.top >= fill.bottom) {
    swprintf(text, 256, L" corner='%d,%d,%d,%d'", static_cast<int>(corner.left), static_cast<int>(corner.bottom),
             static_cast<int>(corner.right), 0);
    imageModify_ += text;
  }
  DrawImage(context, progressImage_, imageModify_);
}

}  // namespace ui
