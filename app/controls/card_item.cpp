#include "app/controls/card_item.h"

#include <vector>

#include "ui/core/box.h"
#include "ui/core/scrollable_box.h"
#include "ui/core/window.h"

CardItem::CardItem(std::shared_ptr<const CardKind> kind, const std::shared_ptr<Link>& link)
    : kind_(std::move(kind)), link_(link) {
  if (!kind_) return;
  for (const auto& [name, value] : kind_->ownAttributes) SetAttribute(name, value);
  insidePending_ = static_cast<bool>(kind_->buildInside);
  firstPaintPending_ = static_cast<bool>(kind_->firstPaint);
}

void CardItem::EnsureInside() {
  if (!insidePending_) return;
  // Cleared first, so that the inside is built once even if building asks for a child.
  insidePending_ = false;
  // Built away from the window, as a card not yet added is, then joined to it
  // (names, initialisation) and laid out in the card. The repaints this asks for
  // are dropped: the card is first painted right after, or right now.
  ui::Window* window = window_;
  ui::Window::InvalidationBatch painted(window, ui::Window::InvalidationBatch::AtEnd::kDrop);
  const bool layoutWanted = window && window->IsArrangeNeeded();
  window_ = nullptr;
  kind_->buildInside(*this, link_.lock());
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
  if (insidePending_ && IsInView(rc)) EnsureInside();
  ListContainerElement::SetPos(rc);
}

void CardItem::Paint(ui::IRenderContext* context, const RECT& dirty) {
  RECT overlap;
  if (insidePending_ && IntersectRect(&overlap, &dirty, &rect_)) EnsureInside();
  if (firstPaintPending_ && IntersectRect(&overlap, &dirty, &rect_)) {
    // Cleared first, so that the look-up runs once even if it paints.
    firstPaintPending_ = false;
    kind_->firstPaint(*this, link_.lock());
  }
  ListContainerElement::Paint(context, dirty);
}

std::wstring CardItem::GetToolTipText() const {
  std::wstring text = ListContainerElement::GetToolTipText();
  if (!text.empty() || !kind_ || !kind_->toolTip) return text;
  const std::shared_ptr<Link> link = link_.lock();
  return link ? kind_->toolTip(*link) : text;
}

void CardItem::HandleEventTemplate(ui::EventArgs& event) {
  // Internal events and those of other senders take no listeners.
  if ((event.Type >= ui::internaldblclick && event.Type <= ui::internalkillfocus) || event.pSender != this) {
    ListContainerElement::HandleEventTemplate(event);
    return;
  }
  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  if (kind_) {
    // As one listener list: the first false stops the rest of the list.
    for (const auto& [type, handler] : kind_->handlers) {
      if (type != event.Type) continue;
      const bool goOn = handler(&event);
      if (alive.expired()) return;
      if (!goOn) break;
    }
  }
  // The drag handling answers true as an all-events listener would, so the
  // card's own listeners and handling follow whatever the handlers said.
  HandleDragEvent(&event);
  if (alive.expired()) return;
  ListContainerElement::HandleEventTemplate(event);
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
