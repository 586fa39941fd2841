// Arranges the children of a box in a grid of equal cells, row by row, each child
// centred in its cell.
#pragma once

#include "ui/core/layout.h"

namespace ui {

class TileLayout : public Layout {
 public:
  TileLayout() = default;
  ~TileLayout() override = default;

  // Takes "itemsize" and "columns", then the base layout's names.
  bool SetAttribute(const std::wstring& name, const std::wstring& value) override;
  SIZE ArrangeChildren(const std::vector<Control*>& children, RECT rect) override;
  SIZE MeasureByChildren(const std::vector<Control*>& children, SIZE available) override;

  SIZE GetItemSize() const { return item_size_; }
  // Stores the size (DPI-scaled when asked) and re-arranges the owner when it changed.
  void SetItemSize(SIZE size, bool dpi_scale);
  int GetColumns() const { return columns_; }
  // Values below 1 are ignored.
  void SetColumns(int columns);

 protected:
  // The width (height) the owner box's children will be arranged in, known before
  // the box is placed: a fixed extent less the padding, else the available extent
  // less the box's margins. Measuring with what arranging will get keeps an
  // auto-sized box from coming out a row short.
  int MeasuringWidth(SIZE available) const;
  int MeasuringHeight(SIZE available) const;

  int columns_ = 1;
  SIZE item_size_ = {0, 0};

 private:
  // The column count for an arrangement width; stored, as the column count follows
  // the width whenever an item width is set.
  int ColumnsFor(int width);
};

}  // namespace ui
