#include "ui/core/layout.h"

#include <algorithm>

#include "ui/base/dpi_scaler.h"
#include "ui/core/attribute_numbers.h"
#include "ui/core/box.h"

namespace ui {

int ClampChildWidth(const Control* child, int width) {
  width = std::max(width, child->GetMinWidth());
  if (child->GetMaxWidth() >= 0) width = std::min(width, child->GetMaxWidth());
  return width;
}

int ClampChildHeight(const Control* child, int height) {
  height = std::max(height, child->GetMinHeight());
  return std::min(height, child->GetMaxHeight());
}

bool Layout::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"padding") {
    RECT padding;
    if (ParseRect(value, &padding)) SetPadding(padding, true);
    return true;
  }
  if (name == L"childmargin") {
    SetChildMargin(ParseInt(value));
    return true;
  }
  return false;
}

void Layout::SetPadding(RECT padding, bool dpi_scale) {
  if (dpi_scale) DpiScaler::Instance().ScaleRect(padding);
  padding_ = padding;
  ArrangeOwner();
}

void Layout::SetChildMargin(int margin) {
  child_margin_ = DpiScaler::Instance().ScaleInt(margin);
  ArrangeOwner();
}

void Layout::ArrangeOwner() {
  if (owner_) owner_->Arrange();
}

SIZE Layout::PlaceFloatChild(Control* child, RECT rect) {
  if (!child->IsVisible()) return SIZE{0, 0};
  const RECT margin = child->GetMargin();
  const int left_edge = rect.left + margin.left;
  const int top_edge = rect.top + margin.top;
  const int right_edge = rect.right - margin.right;
  const int bottom_edge = rect.bottom - margin.bottom;
  const int avail_width = right_edge - left_edge;
  const int avail_height = bottom_edge - top_edge;

  SIZE size = child->EstimateSize(SIZE{avail_width, avail_height});
  // An auto-sized text that would run past the rectangle is measured again at the
  // available width, so that it wraps instead.
  if (child->GetFixedWidth() == -2 && child->GetFixedHeight() == -2 && child->GetMaxWidth() == -1 &&
      size.cx > std::max(avail_width, 0)) {
    child->SetFixedWidth(std::max(avail_width, 0), false, true);
    size = child->EstimateSize(SIZE{avail_width, avail_height});
    child->SetFixedWidth(-2, false, true);
  }

  int width = size.cx == -1 ? std::max(avail_width, 0) : size.cx;
  width = ClampChildWidth(child, width);
  int height = size.cy == -1 ? std::max(avail_height, 0) : size.cy;
  height = ClampChildHeight(child, height);

  RECT pos{};
  switch (child->GetHorizontalAlignment()) {
    case 0: pos.left = left_edge; pos.right = left_edge + width; break;
    case 1: pos.left = left_edge + (right_edge - width - left_edge) / 2; pos.right = pos.left + width; break;
    case 2: pos.right = right_edge; pos.left = right_edge - width; break;
    default: pos.left = pos.right = 0; break;
  }
  switch (child->GetVerticalAlignment()) {
    case 0: pos.top = top_edge; pos.bottom = top_edge + height; break;
    case 1: pos.top = top_edge + (bottom_edge - height - top_edge) / 2; pos.bottom = pos.top + height; break;
    case 2: pos.bottom = bottom_edge; pos.top = bottom_edge - height; break;
    default: pos.top = pos.bottom = 0; break;
  }
  child->SetPos(pos);
  return SIZE{pos.right - pos.left, pos.bottom - pos.top};
}

SIZE Layout::ArrangeChildren(const std::vector<Control*>& children, RECT rect) {
  SIZE used{0, 0};
  for (Control* child : children) {
    if (!child->IsVisible()) continue;
    const SIZE size = PlaceFloatChild(child, rect);
    used.cx = std::max(used.cx, size.cx);
    used.cy = std::max(used.cy, size.cy);
  }
  return used;
}

SIZE Layout::MeasureByChildren(const std::vector<Control*>& children, SIZE available) {
  SIZE measured{-9999, -9999};
  for (Control* child : children) {
    if (!child->IsVisible()) continue;
    const SIZE size = child->EstimateSize(available);
    const RECT margin = child->GetMargin();
    measured.cx = std::max<LONG>(measured.cx, margin.left + ClampChildWidth(child, size.cx) + margin.right);
    measured.cy = std::max<LONG>(measured.cy, margin.top + ClampChildHeight(child, size.cy) + margin.bottom);
  }
  measured.cx += padding_.left + padding_.right;
  measured.cy += padding_.top + padding_.bottom;
  return measured;
}

}  // namespace ui
