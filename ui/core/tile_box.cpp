#include "ui/core/tile_box.h"

#include "ui/core/tile_layout.h"

namespace ui {

TileBox::TileBox() : Box(new TileLayout) {}

std::wstring TileBox::GetType() const { return L"TileBox"; }

}  // namespace ui
