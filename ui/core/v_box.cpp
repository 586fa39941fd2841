#include "ui/core/v_box.h"

#include "ui/core/v_layout.h"

namespace ui {

VBox::VBox() : Box(new VLayout) {}

std::wstring VBox::GetType() const { return L"VBox"; }

}  // namespace ui
