#include "ui/core/tile_layout.h"

#include <algorithm>

#include "ui/base/dpi_scaler.h"
#include "ui/core/attribute_numbers.h"
#include "ui/core/box.h"

namespace ui {

bool TileLayout::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"itemsize") {
    SIZE size;
    if (ParseSize(value, &size)) SetItemSize(size, true);
    return true;
  }
  if (name == L"columns") {
    SetColumns(ParseInt(value));
    return true;
  }
  return Layout::SetAttribute(name, value);
}

void TileLayout::SetItemSize(SIZE size, bool dpi_scale) {
  if (dpi_scale) {
    size.cx = DpiScaler::Instance().ScaleInt(size.cx);
    size.cy = DpiScaler::Instance().ScaleInt(size.cy);
  }
  if (size.cx == item_size_.cx && size.cy == item_size_.cy) return;
  item_size_ = size;
  ArrangeOwner();
}

void TileLayout::SetColumns(int columns) {
  if (columns < 1) return;
  columns_ = columns;
  ArrangeOwner();
}

int TileLayout::ColumnsFor(int width) {
  if (item_size_.cx > 0) columns_ = width / item_size_.cx;
  if (columns_ < 1) columns_ = 1;
  return columns_;
}

int TileLayout::MeasuringWidth(SIZE available) const {
  if (!owner_) return available.cx;
  if (owner_->GetFixedWidth() > 0) return owner_->GetFixedWidth() - padding_.left - padding_.right;
  const RECT margin = owner_->GetMargin();
  return std::max<int>(available.cx - margin.left - margin.right, 0);
}

int TileLayout::MeasuringHeight(SIZE available) const {
  if (!owner_) return available.cy;
  if (owner_->GetFixedHeight() > 0) return owner_->GetFixedHeight() - padding_.top - padding_.bottom;
  const RECT margin = owner_->GetMargin();
  return std::max<int>(available.cy - margin.top - margin.bottom, 0);
}

SIZE TileLayout::ArrangeChildren(const std::vector<Control*>& children, RECT rect) {
  const int width = rect.right - rect.left;
  const int columns = ColumnsFor(width);
  const int cell_width = width / columns;
  const int extra = width - cell_width * columns;  // one more pixel for the first cells of a row
  const int half_margin = child_margin_ / 2;

  int x = rect.left;
  int row_top = rect.top;
  int row_height = 0;
  int placed = 0;
  int extra_left = extra;
  int used_height = 0;
  for (size_t index = 0; index < children.size(); ++index) {
    Control* child = children[index];
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      PlaceFloatChild(child, rect);
      continue;
    }
    int cell_right = x + cell_width;
    if (extra_left > 0) {
      ++cell_right;
      --extra_left;
    }

    if (placed % columns == 0) {
      // The row is as high as its tallest child at the row's first cell width.
      int cell = 0;
      for (size_t next = index; next < children.size() && cell < columns; ++next) {
        Control* item = children[next];
        if (!item->IsVisible() || item->IsFloat()) continue;
        const RECT m = item->GetMargin();
        int avail = cell_right - x - m.left - m.right;
        avail -= (cell == 0 || cell == columns - 1) ? half_margin : child_margin_;
        avail = ClampChildWidth(item, avail);
        const int height = ClampChildHeight(item, item->EstimateSize(SIZE{avail, 9999}).cy);
        row_height = std::max<int>(row_height, m.top + height + m.bottom);
        ++cell;
      }
    }

    const RECT margin = child->GetMargin();
    const int inner_left = x + half_margin + margin.left;
    const int inner_right = cell_right - half_margin - margin.right;
    const int inner_top = row_top + margin.top;
    const int cell_bottom = row_top + row_height;
    const SIZE desired = child->EstimateSize(SIZE{inner_right - inner_left, cell_bottom - inner_top});
    const int w = ClampChildWidth(child, desired.cx == -1 ? inner_right - inner_left : desired.cx);
    const int h = ClampChildHeight(child, desired.cy == -1 ? cell_bottom - inner_top : desired.cy);
    const int left = (inner_left + inner_right - w) / 2;
    const int top = (inner_top + cell_bottom - h) / 2;
    child->SetPos(RECT{left, top, left + w, top + h});

    ++placed;
    if (placed % columns == 0) {
      row_top += row_height + child_margin_;
      row_height = 0;
      x = rect.left;
      extra_left = extra;
    } else {
      x = cell_right;
    }
    used_height = cell_bottom - rect.top;
  }
  return SIZE{width, used_height};
}

SIZE TileLayout::MeasureByChildren(const std::vector<Control*>& children, SIZE available) {
  if (!owner_) return SIZE{0, 0};
  SIZE measured = owner_->Control::EstimateSize(available);
  measured.cy = 0;
  const int columns = ColumnsFor(MeasuringWidth(available));
  const int visible = static_cast<int>(
      std::count_if(children.begin(), children.end(), [](Control* c) { return c->IsVisible(); }));
  if (visible > 0) {
    const int rows = (visible + columns - 1) / columns;
    measured.cy = (rows - 1) * child_margin_ + rows * children.front()->GetFixedHeight() +
                  padding_.top + padding_.bottom;
  }
  return measured;
}

}  // namespace ui
