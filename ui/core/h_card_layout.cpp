#include "ui/core/h_card_layout.h"

#include <algorithm>

#include "ui/core/box.h"
#include "ui/core/card_placement.h"

namespace ui {

int HCardLayout::CardsPerRow(int width) const {
  int per_row = 1;
  if (columns_ == 0 && item_size_.cy >= 1 && item_size_.cx >= 1) {
    const int pitch = item_size_.cx + child_margin_;
    per_row = pitch > 0 ? width / pitch : 1;
  }
  return std::max(per_row, 1);
}

int HCardLayout::RightToLeftCardsPerRow(int width) const {
  const int pitch = child_margin_ + RightToLeftCardWidth(width);
  // A zero pitch (no width and no margin) would divide by zero: one card per row.
  return pitch > 0 ? std::max((width + child_margin_) / pitch, 1) : 1;
}

SIZE HCardLayout::ArrangeChildren(const std::vector<Control*>& children, RECT rect) {
  if (right_to_left_) return ArrangeRightToLeft(children, rect);
  if (item_size_.cx == 0 || item_size_.cy == 0) return SIZE{0, 0};

  const int width = rect.right - rect.left;
  // A negative item width means cards as wide as the row.
  const int item_width = item_size_.cx < 1 ? width : item_size_.cx;
  const int per_row = CardsPerRow(width);
  const int count =
      PlaceCardsInLines(children, rect, SIZE{item_width, item_size_.cy}, child_margin_, per_row, false);
  return SIZE{per_row * (item_width + child_margin_), LinesFor(count, per_row) * (item_size_.cy + child_margin_)};
}

SIZE HCardLayout::ArrangeRightToLeft(const std::vector<Control*>& children, RECT rect) {
  if (item_size_.cx == 0 || item_size_.cy == 0 || children.empty()) return SIZE{0, 0};
  const int width = rect.right - rect.left;
  const int card_width = RightToLeftCardWidth(width);
  const int per_row = RightToLeftCardsPerRow(width);

  int row = 0;
  int column = 0;
  int count = 0;
  for (Control* child : children) {
    if (!child->IsVisible()) continue;
    const int right = rect.right - (card_width + child_margin_) * column;
    const int top = rect.top + row * (item_size_.cy + child_margin_);
    child->SetPos(RECT{right - card_width, top, right, top + item_size_.cy});
    ++count;
    if (++column == per_row) {
      column = 0;
      ++row;
    }
  }
  return SIZE{per_row * (child_margin_ + card_width), LinesFor(count, per_row) * (item_size_.cy + child_margin_)};
}

SIZE HCardLayout::MeasureByChildren(const std::vector<Control*>& children, SIZE available) {
  if (!owner_) return SIZE{0, 0};
  SIZE measured = owner_->Control::EstimateSize(available);
  measured.cy = 0;
  const int width = MeasuringWidth(available);
  // Right to left, floating children are cards as well.
  const int cards = static_cast<int>(std::count_if(children.begin(), children.end(), [this](Control* c) {
    return c->IsVisible() && (right_to_left_ || !c->IsFloat());
  }));
  if (cards > 0) {
    const int per_row = right_to_left_ ? RightToLeftCardsPerRow(width) : CardsPerRow(width);
    measured.cy = LinesFor(cards, per_row) * (item_size_.cy + child_margin_) + padding_.top + padding_.bottom;
  }
  return measured;
}

}  // namespace ui
