// A popup menu level whose items are laid out as cards in rows, 130 x 28 each.
#pragma once

#include "ui/controls/menu_ui.h"

namespace ui {

class HCardLayout;

class CMenuCardUI : public CMenuUI {
 public:
  CMenuCardUI();

  HCardLayout* GetCardLayout() const;
};

}  // namespace ui
