// A card in the main window's link box: a list item that also lets the user
// drag it onto another card of the same box to reorder the tag.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "data/link.h"
#include "ui/controls/list_container_element.h"

// A card list box receives ui::reorder when a card is dropped on another card.

class CardItem;

// What every card of one tag view shares: its own attributes from the card
// template, how its inside is built, what its first paint looks up, its tooltip
// and the handlers of its events. A tag of thousands of cards holds one of these
// instead of a copy of each callback and text in every card.
struct CardKind {
  // The card template's attributes of the card itself, applied to each card.
  std::vector<std::pair<std::wstring, std::wstring>> ownAttributes;
  // Builds the card's inside (icon, name) for the link the card shows.
  std::function<void(CardItem&, const std::shared_ptr<Link>&)> buildInside;
  // Looks up what is costly (the icon) just before the card is first painted.
  std::function<void(CardItem&, const std::shared_ptr<Link>&)> firstPaint;
  // The card's tooltip, made when it is asked for; empty: no tooltip.
  std::function<std::wstring(const Link&)> toolTip;
  // Handlers of the card's events, run in this order before the card's own
  // listeners, as listeners bound to each card would be.
  std::vector<std::pair<ui::EventType, ui::EventCallback>> handlers;
};

class CardItem : public ui::ListContainerElement {
 public:
  CardItem() = default;
  // A card of the kind for the link; its own attributes are applied at once.
  CardItem(std::shared_ptr<const CardKind> kind, const std::shared_ptr<Link>& link);

  // The link the card shows (empty once the link is gone).
  std::shared_ptr<Link> GetLink() const { return link_.lock(); }

  // The card's inside (its icon, its name and the rest of its template) is built
  // when the card is first placed in view, first painted, or asked for its
  // children through Child(): a tag of many cards builds only those the user sees.
  bool IsInsideBuilt() const { return !insidePending_; }
  // Builds the inside now when it is not built yet.
  void EnsureInside();
  // The named control of the card's inside, built first when needed; null when
  // there is none. Code that reaches into a card goes through here.
  ui::Control* Child(const std::wstring& name);

  // Whether the look-up of the card's first paint has yet to run.
  bool HasFirstPaintAction() const { return firstPaintPending_; }
  void Paint(ui::IRenderContext* context, const RECT& dirty) override;
  void SetPos(RECT rc) override;
  // The text set on the card, else the kind's tooltip of its link.
  std::wstring GetToolTipText() const override;
  // The kind's handlers and the drag handling run before the card's listeners.
  void HandleEventTemplate(ui::EventArgs& event) override;

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

  std::shared_ptr<const CardKind> kind_;
  std::weak_ptr<Link> link_;
  bool insidePending_ = false;
  bool firstPaintPending_ = false;
};
