// A scrolling box of equal cards placed in columns, top to bottom (skin element "VCardBox").
#pragma once

#include <string>

#include "ui/core/scrollable_box.h"

namespace ui {

class VCardBox : public ScrollableBox {
 public:
  VCardBox();
  std::wstring GetType() const override;
};

}  // namespace ui
