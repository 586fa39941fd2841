#include "ui/core/dirty_rects.h"

namespace ui {

namespace {

long long Area(const RECT& rect) {
  return static_cast<long long>(rect.right - rect.left) * (rect.bottom - rect.top);
}

// Two pieces become one when they share pixels, or when their union is exactly
// the two of them (side by side along a whole edge).
bool ShouldMerge(const RECT& a, const RECT& b) {
  RECT common = {};
  if (IntersectRect(&common, &a, &b)) return true;
  RECT both = {};
  UnionRect(&both, &a, &b);
  return Area(both) == Area(a) + Area(b);
}

}  // namespace

void DirtyRects::RemoveAt(size_t index) {
  for (size_t i = index + 1; i < count_; ++i) pieces_[i - 1] = pieces_[i];
  --count_;
}

void DirtyRects::Add(const RECT& rect) {
  if (IsRectEmpty(&rect)) return;
  RECT piece = rect;
  // A merged piece is larger and may now touch others: look again from the start.
  for (size_t i = 0; i < count_;) {
    if (ShouldMerge(pieces_[i], piece)) {
      UnionRect(&piece, &piece, &pieces_[i]);
      RemoveAt(i);
      i = 0;
    } else {
      ++i;
    }
  }
  pieces_[count_++] = piece;
  if (count_ > kMaxPieces) {
    RECT bounds = pieces_[0];
    for (size_t i = 1; i < count_; ++i) UnionRect(&bounds, &bounds, &pieces_[i]);
    pieces_[0] = bounds;
    count_ = 1;
  }
}

}  // namespace ui
