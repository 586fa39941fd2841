#include "app/card_item.h"

#include <vector>

#include "ui/core/box.h"
#include "ui/core/scrollable_box.h"
#include "ui/core/window.h"

CardItem::CardItem() {
  AttachEvent(ui::all, ToWeakCallback([this](ui::EventArgs* event) { return HandleDragEvent(event); }));
}

void CardItem::EnsureInside() {
  if (!insideBuilder_) return;
  // Taken out first, so that the action runs once even if it asks for a child.
  auto build = std::move(insideBuilder_);
  insideBuilder_ = nullptr;
  // Built away from the window, as a card not yet added is, then joined to it
  // (names, initialisation) and laid out in the card. The repaints this asks for
  // are dropped: the card is first painted right after, or right now.
  ui::Window* window = window_;
  ui::Window::InvalidationBatch painted(window, ui::Window::InvalidationBatch::AtEnd::kDrop);
  const bool layoutWanted = window && window->IsArrangeNeeded();
  window_ = nullptr;
  build(*this);
  window_ = window;
  if (window) {
    for (ui::Control* child : std::vector<ui::Control*>(items_)) window->InitControls(child, this);
  }
  // A card never placed yet gets its inside laid out when it is.
  if (IsRectEmpty(&rect_)) return;
  ListContainerElement::SetPos(rect_);
  // The inside asked the window for a layout as it was joined to it, and has just
  // been laid out in the card, whose fixed size keeps the asking inside it: the
  // window's next paint needs no layout for it (a layout pass placing cards in
  // view would otherwise end by asking for a second paint of the whole window).
  const bool fixedSize = GetFixedWidth() != ui::kSizeAuto && GetFixedHeight() != ui::kSizeAuto;
  if (window && fixedSize && !IsArrangeNeeded()) window->SetArrange(layoutWanted);
}

ui::Control* CardItem::Child(const std::wstring& name) {
  EnsureInside();
  return FindChildByName(name);
}

bool CardItem::IsInView(const RECT& place) const {
  auto* parent = dynamic_cast<ui::ScrollableBox*>(GetParent());
  if (!parent) return true;
  RECT view = parent->GetPaddingPos();
  const SIZE scroll = parent->GetScrollPos();
  OffsetRect(&view, scroll.cx, scroll.cy);
  RECT overlap;
  return IntersectRect(&overlap, &view, &place) != FALSE;
}

void CardItem::SetPos(RECT rc) {
  if (insideBuilder_ && IsInView(rc)) EnsureInside();
  ListContainerElement::SetPos(rc);
}

void CardItem::Paint(ui::IRenderContext* context, const RECT& dirty) {
  RECT overlap;
  if (insideBuilder_ && IntersectRect(&overlap, &dirty, &rect_)) EnsureInside();
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
