#include "ui/core/v_card_box.h"

#include "ui/core/v_card_layout.h"

namespace ui {

VCardBox::VCardBox() : ScrollableBox(new VCardLayout) {}

std::wstring VCardBox::GetType() const { return L"VCardBox"; }

}  // namespace ui
