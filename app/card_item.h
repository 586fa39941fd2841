// A card in the main window's link box: a list item that also lets the user
// drag it onto another card of the same box to reorder the tag.
#pragma once

#include "ui/controls/list_container_element.h"

// A card list box receives ui::reorder when a card is dropped on another card.

class CardItem : public ui::ListContainerElement {
 public:
  CardItem();

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
};
