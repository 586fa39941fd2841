// A box whose children stand one above the other, top to bottom (skin element "VBox").
#pragma once

#include <string>

#include "ui/core/box.h"

namespace ui {

class VBox : public Box {
 public:
  VBox();
  std::wstring GetType() const override;
};

}  // namespace ui
