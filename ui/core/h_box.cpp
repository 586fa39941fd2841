#include "ui/core/h_box.h"

#include "ui/core/h_layout.h"

namespace ui {

HBox::HBox() : Box(new HLayout) {}

std::wstring HBox::GetType() const { return L"HBox"; }

}  // namespace ui
