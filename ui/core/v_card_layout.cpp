#include "ui/core/v_card_layout.h"

#include <algorithm>

#include "ui/core/box.h"
#include "ui/core/card_placement.h"

namespace ui {

int VCardLayout::CardsPerColumn(int height) const {
  int per_column = 1;
  if (columns_ == 0 && item_size_.cy >= 1) {
    const int pitch = item_size_.cy + child_margin_;
    per_column = pitch > 0 ? height / pitch : 1;
  }
  return std::max(per_column, 1);
}

SIZE VCardLayout::ArrangeChildren(const std::vector<Control*>& children, RECT rect) {
  if (item_size_.cx == 0 || item_size_.cy == 0) return SIZE{0, 0};
  const int per_column = CardsPerColumn(rect.bottom - rect.top);
  const int count = PlaceCardsInLines(children, rect, item_size_, child_margin_, per_column, true);
  return SIZE{(item_size_.cx + child_margin_) * LinesFor(count, per_column),
              (item_size_.cy + child_margin_) * per_column};
}

SIZE VCardLayout::MeasureByChildren(const std::vector<Control*>& children, SIZE available) {
  if (!owner_) return SIZE{0, 0};
  SIZE measured = owner_->Control::EstimateSize(available);
  measured.cx = 0;
  const int cards = static_cast<int>(std::count_if(
      children.begin(), children.end(), [](Control* c) { return c->IsVisible() && !c->IsFloat(); }));
  if (cards > 0) {
    const int per_column = CardsPerColumn(MeasuringHeight(available));
    measured.cx = LinesFor(cards, per_column) * (item_size_.cx + child_margin_) + padding_.left + padding_.right;
  }
  return measured;
}

}  // namespace ui
