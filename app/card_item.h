// A card in the main window's link box: a list item that also lets the user
// drag it onto another card of the same box to reorder the tag.
#pragma once

#include <functional>
#include <string>

#include "ui/controls/list_container_element.h"

// A card list box receives ui::reorder when a card is dropped on another card.

class CardItem : public ui::ListContainerElement {
 public:
  CardItem();

  // The card's inside (its icon, its name and the rest of its template) is built
  // by this action when the card is first placed in view, first painted, or
  // asked for its children through Child(): a tag of many cards builds only
  // those the user sees. Replaces an action that has not run yet.
  void SetInsideBuilder(std::function<void(CardItem&)> build) { insideBuilder_ = std::move(build); }
  bool IsInsideBuilt() const { return !insideBuilder_; }
  // Builds the inside now when it is not built yet.
  void EnsureInside();
  // The named control of the card's inside, built first when needed; null when
  // there is none. Code that reaches into a card goes through here.
  ui::Control* Child(const std::wstring& name);

  // Runs once, just before the card is first painted: what is costly to look up
  // for the card (its icon) is looked up then, so cards never scrolled into view
  // never pay for it. Replaces an action that has not run yet.
  void SetFirstPaintAction(std::function<void(CardItem&)> action) { firstPaint_ = std::move(action); }
  bool HasFirstPaintAction() const { return static_cast<bool>(firstPaint_); }
  void Paint(ui::IRenderContext* context, const RECT& dirty) override;
  void SetPos(RECT rc) override;

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
  // The place is inside the part of the parent's content now scrolled into view.
  bool IsInView(const RECT& place) const;

  std::function<void(CardItem&)> insideBuilder_;
  std::function<void(CardItem&)> firstPaint_;
};
