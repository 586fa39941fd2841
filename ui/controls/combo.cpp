#include "ui/controls/combo.h"

namespace ui {

Combo::Combo() = default;

std::wstring Combo::GetType() const { return L"Combo"; }

}  // namespace ui
