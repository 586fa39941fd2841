// A scrolling box of equal cards placed in rows, left to right (skin element "HCardBox").
#pragma once

#include <string>

#include "ui/core/scrollable_box.h"

namespace ui {

class HCardBox : public ScrollableBox {
 public:
  HCardBox();
  std::wstring GetType() const override;
};

}  // namespace ui
