// Placing one card in its cell, shared by the card layouts.
#pragma once

#include <windows.h>

namespace ui {

class Control;

// Takes the child's margin off the cell, sizes the child for what is left (a
// stretch size takes all of it, then the child's limits apply) and centres it there.
void PlaceCardInCell(Control* child, RECT cell);

// Rounds a card count up to whole rows (or columns) of `per_line` cards.
inline int LinesFor(int cards, int per_line) { return (cards + per_line - 1) / per_line; }

}  // namespace ui
