#include "ui/controls/progress.h"

#include <algorithm>

#include "ui/base/dpi_scaler.h"

namespace ui {

Progress::Progress() { fixedHeight_ = DpiScaler::Instance().ScaleInt(12); }

std::wstring Progress::GetType() const { return L"Progress"; }

void Progress::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"hor") {
    SetHorizontal(value == L"true");
  } else if (name == L"min") {
    SetMinValue(ParseInt(value));
  } else if (name == L"max") {
    SetMaxValue(ParseInt(value));
  } else if (name == L"value") {
    SetValue(ParseInt(value));
  } else {
    LabelTemplate<Control>::SetAttribute(name, value);
  }
}

void Progress::SetHorizontal(bool horizontal) {
  if (horizontal_ == horizontal) return;
  horizontal_ = horizontal;
  Invalidate();
}

void Progress::SetMinValue(int min) {
  min_ = min;
  SetValue(value_);
  Invalidate();
}

void Progress::SetMaxValue(int max) {
  max_ = max;
  SetValue(value_);
  Invalidate();
}

void Progress::SetValue(double value) {
  // A maximum below the minimum leaves only the minimum.
  value_ = std::max<double>(min_, std::min<double>(value, std::max(min_, max_)));
  Invalidate();
}

}  // namespace ui
