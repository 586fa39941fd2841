// Placing one card in its cell, shared by the card layouts.
#pragma once

#include <windows.h>

#include <vector>

namespace ui {

class Control;

// Takes the child's margin off the cell, sizes the child for what is left (a
// stretch size takes all of it, then the child's limits apply) and centres it there.
void PlaceCardInCell(Control* child, RECT cell);

// Places the visible, non-floating children as cards in cells of the item size,
// `per_line` cards to a row, or to a column when `down_first`; each cell is inset by
// half the child margin. Floating children are placed by their own alignment in the
// whole rectangle. Returns the number of cards placed.
int PlaceCardsInLines(const std::vector<Control*>& children, RECT rect, SIZE item, int child_margin,
                      int per_line, bool down_first);

// Rounds a card count up to whole rows (or columns) of `per_line` cards.
inline int LinesFor(int cards, int per_line) { return (cards + per_line - 1) / per_line; }

}  // namespace ui
