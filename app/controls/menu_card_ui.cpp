#include "app/controls/menu_card_ui.h"

#include "ui/core/h_card_layout.h"

namespace ui {

namespace {
constexpr SIZE kMenuCardSize = {130, 28};
}  // namespace

CMenuCardUI::CMenuCardUI() {
  ReplaceLayout(new HCardLayout);
  GetCardLayout()->SetItemSize(kMenuCardSize, true);
}

HCardLayout* CMenuCardUI::GetCardLayout() const { return static_cast<HCardLayout*>(GetLayout()); }

}  // namespace ui
