// A box whose children stand side by side, left to right (skin element "HBox").
#pragma once

#include <string>

#include "ui/core/box.h"

namespace ui {

class HBox : public Box {
 public:
  HBox();
  std::wstring GetType() const override;
};

}  // namespace ui
