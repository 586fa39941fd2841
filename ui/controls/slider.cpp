#include "ui/controls/slider.h"

namespace ui {

std::wstring Slider::GetType() const { return L"Slider"; }

void Slider::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"step") {
    SetChangeStep(ParseInt(value));
  } else {
    Progress::SetAttribute(name, value);
  }
}

}  // namespace ui
