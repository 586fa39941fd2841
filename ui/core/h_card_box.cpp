#include "ui/core/h_card_box.h"

#include "ui/core/h_card_layout.h"

namespace ui {

HCardBox::HCardBox() : ScrollableBox(new HCardLayout) {}

std::wstring HCardBox::GetType() const { return L"HCardBox"; }

}  // namespace ui
