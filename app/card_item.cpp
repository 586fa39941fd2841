#include "app/card_item.h"

#include "ui/core/box.h"

CardItem::CardItem() {
  AttachEvent(ui::all, ToWeakCallback([this](ui::EventArgs* event) { return HandleDragEvent(event); }));
}

void CardItem::Paint(ui::IRenderContext* context, const RECT& dirty) {
  RECT overlap;
  if (firstPaint_ && IntersectRect(&overlap, &dirty, &rect_)) {
    // Taken out first, so that the action runs once even if it paints.
    auto action = std::move(firstPaint_);
    firstPaint_ = nullptr;
    action(*this);
  }
  ListContainerElement::Paint(context, dirty);
}

CardItem::DragState& CardItem::Drag() {
  static DragState state;
  return state;
}

bool CardItem::HandleDragEvent(ui::EventArgs* event) {
  if (!event) return true;
  DragState& drag = Drag();
  switch (event->Type) {
    case ui::buttondown:
      drag = {true, GetTickCount(), GetIndex(), -1};
      break;
    case ui::mousemove:
      if (drag.pressed && GetTickCount() - drag.pressTick > kMoveCursorDelayMs) {
        SetCursor(LoadCursorW(nullptr, IDC_SIZEALL));
      }
      break;
    case ui::mouseenter:
      if (drag.pressed) drag.target = GetIndex();
      break;
    case ui::mouseleave:
      if (drag.pressed) drag.target = -1;
      break;
    case ui::buttonup: {
      const DragState done = drag;
      drag = {};
      if (done.pressed && done.target != -1 && done.target != done.source) {
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        if (auto* box = dynamic_cast<ui::Box*>(GetParent()); box && dynamic_cast<ui::IListOwner*>(box)) {
          box->SendEvent(ui::reorder, static_cast<WPARAM>(done.source), static_cast<LPARAM>(done.target));
        }
      }
      break;
    }
    default:
      break;
  }
  return true;
}
