// A box whose children sit in a grid of equal cells (skin element "TileBox").
#pragma once

#include <string>

#include "ui/core/box.h"

namespace ui {

class TileBox : public Box {
 public:
  TileBox();
  std::wstring GetType() const override;
};

}  // namespace ui
