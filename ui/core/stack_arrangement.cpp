#include "ui/core/stack_arrangement.h"

#include <algorithm>

#include "ui/core/control.h"
#include "ui/core/layout.h"

namespace ui {
namespace {

// Reads and writes sizes and rectangles along the stacking direction (main) and
// across it (cross).
struct Axes {
  bool vertical;

  LONG Main(SIZE s) const { return vertical ? s.cy : s.cx; }
  LONG Cross(SIZE s) const { return vertical ? s.cx : s.cy; }
  SIZE Size(LONG main, LONG cross) const { return vertical ? SIZE{cross, main} : SIZE{main, cross}; }
  LONG MainStart(const RECT& r) const { return vertical ? r.top : r.left; }
  LONG MainEnd(const RECT& r) const { return vertical ? r.bottom : r.right; }
  LONG CrossStart(const RECT& r) const { return vertical ? r.left : r.top; }
  LONG CrossEnd(const RECT& r) const { return vertical ? r.right : r.bottom; }
  RECT Rect(LONG main_start, LONG main_end, LONG cross_start, LONG cross_end) const {
    return vertical ? RECT{cross_start, main_start, cross_end, main_end}
                    : RECT{main_start, cross_start, main_end, cross_end};
  }
  int ClampMain(const Control* c, int v) const { return vertical ? ClampChildHeight(c, v) : ClampChildWidth(c, v); }
  int ClampCross(const Control* c, int v) const { return vertical ? ClampChildWidth(c, v) : ClampChildHeight(c, v); }
  int CrossAlignment(const Control* c) const {
    return vertical ? c->GetHorizontalAlignment() : c->GetVerticalAlignment();
  }
};

bool TakesPart(const Control* child) { return child->IsVisible() && !child->IsFloat(); }

}  // namespace

SIZE ArrangeStack(const std::vector<Control*>& children, RECT rect, int child_margin, bool vertical) {
  const Axes ax{vertical};
  const SIZE whole{rect.right - rect.left, rect.bottom - rect.top};
  const int main_extent = ax.Main(whole);
  const int cross_extent = ax.Cross(whole);

  // First pass: what the fixed children take, and how many share the rest.
  int fixed_total = 0;
  int stretch_count = 0;
  int counted = 0;
  for (Control* child : children) {
    if (!TakesPart(child)) continue;
    ++counted;
    const RECT margin = child->GetMargin();
    const int desired = ax.Main(child->EstimateSize(whole));
    fixed_total += ax.MainStart(margin) + ax.MainEnd(margin);
    if (desired == -1) {
      ++stretch_count;
    } else {
      fixed_total += ax.ClampMain(child, desired);
    }
  }
  if (counted > 1) fixed_total += child_margin * (counted - 1);
  const int stretch_size = stretch_count == 0 ? 0 : std::max(0, (main_extent - fixed_total) / stretch_count);
  int remainder = main_extent - stretch_size * stretch_count - fixed_total;

  // Second pass: place them one after the other.
  int cursor = ax.MainStart(rect);
  int remaining = main_extent;
  int used_main = 0;
  int used_cross = 0;
  for (Control* child : children) {
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      Layout::PlaceFloatChild(child, rect);
      continue;
    }
    const RECT margin = child->GetMargin();
    const int lead = ax.MainStart(margin), trail = ax.MainEnd(margin);
    const int cross_lead = ax.CrossStart(margin), cross_trail = ax.CrossEnd(margin);
    remaining -= lead;
    const SIZE desired = child->EstimateSize(ax.Size(remaining, cross_extent));

    int main_size = ax.Main(desired);
    if (main_size == -1) {
      main_size = stretch_size;
      if (remainder > 0) {
        ++main_size;
        --remainder;
      }
    }
    main_size = ax.ClampMain(child, main_size);

    int cross_size = ax.Cross(desired);
    if (cross_size == -1) cross_size = cross_extent - cross_lead - cross_trail;
    cross_size = ax.ClampCross(child, std::max(cross_size, 0));

    int cross_start, cross_end;
    switch (ax.CrossAlignment(child)) {
      case 0:
        cross_start = ax.CrossStart(rect) + cross_lead;
        cross_end = cross_start + cross_size;
        break;
      case 1:
        cross_start = ax.CrossStart(rect) + (cross_extent + cross_lead - cross_trail - cross_size) / 2;
        cross_end = cross_start + cross_size;
        break;
      case 2:
        cross_end = ax.CrossEnd(rect) - cross_trail;
        cross_start = cross_end - cross_size;
        break;
      default:
        cross_start = cross_end = 0;
        break;
    }
    const int main_start = cursor + lead;
    child->SetPos(ax.Rect(main_start, main_start + main_size, cross_start, cross_end));

    cursor += lead + main_size + trail + child_margin;
    remaining -= main_size + trail + child_margin;
    used_main += lead + main_size + trail;
    used_cross = std::max(used_cross, cross_end - cross_start);
  }
  if (counted > 1) used_main += child_margin * (counted - 1);
  return ax.Size(used_main, used_cross);
}

SIZE MeasureStack(const std::vector<Control*>& children, SIZE available, int child_margin, bool vertical) {
  const Axes ax{vertical};
  int main_total = 0;
  int cross_max = 0;
  int counted = 0;
  for (Control* child : children) {
    if (!TakesPart(child)) continue;
    ++counted;
    const SIZE desired = child->EstimateSize(available);
    const RECT margin = child->GetMargin();
    const int main_size = ax.ClampMain(child, ax.Main(desired));
    const int cross_size = ax.ClampCross(child, ax.Cross(desired));
    main_total += ax.MainStart(margin) + main_size + ax.MainEnd(margin);
    cross_max = std::max<int>(cross_max, ax.CrossStart(margin) + cross_size + ax.CrossEnd(margin));
  }
  if (counted > 1) main_total += child_margin * (counted - 1);
  return ax.Size(main_total, cross_max);
}

}  // namespace ui
