// A card in the main window's link box: a list item that also lets the user
// drag it onto another card of the same box to reorder the tag.
#pragma once

#include <functional>

#include "ui/controls/list_container_element.h"

// A card list box receives ui::reorder when a card is dropped on another card.

class CardItem : public ui::ListContainerElement {
 public:
  CardItem();

  // Runs once, just before the card is first painted: what is costly to look up
  // for the card (its icon) is looked up then, so cards never scrolled into view
  // never pay for it. Replaces an action that has not run yet.
  void SetFirstPaintAction(std::function<void(CardItem&)> action) { firstPaint_ = std::move(action); }
  bool HasFirstPaintAction() const { return static_cast<bool>(firstPaint_); }
  void Paint(ui::IRenderContext* context, const RECT& dirty) override;

  // Follows one drag: press, enter and leave of other cards, release. Always true.
  bool HandleDragEvent(ui::EventArgs* event);

  // The one drag in progress (one pointer, one drag at a time).
  struct DragState {
    bool pressed = false;
    DWORD pressTick = 0;
    int source = -1;
    int target = -1;
  };
  static DragState& Drag();

  // Pressing for longer than this shows the move cursor.
  static constexpr DWORD kMoveCursorDelayMs = 300;

 private:
  std::function<void(CardItem&)> firstPaint_;
};
