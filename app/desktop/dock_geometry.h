// Rectangle arithmetic of a window docked at a screen edge: which edges it
// touches, one step of sliding out or in, its slid-out rest position, and the
// on-screen position saved for the next start. Pure functions; `screen` is the
// primary screen's size.
#pragma once

#include <windows.h>

// Dock-edge flags; 0 means not docked.
enum DockEdge : int {
  kDockTop = 1,
  kDockBottom = 2,
  kDockLeft = 4,
  kDockRight = 8,
};
constexpr int kDockVertical = kDockTop | kDockBottom;
constexpr int kDockHorizontal = kDockLeft | kDockRight;

// The edges a window rectangle (screen coordinates) docks to. Top wins over
// bottom and left over right; a side edge joins a top or bottom one only with
// `dockCorner`. Always 0 without `autoDock`.
int ComputeDockEdges(const RECT& window, SIZE screen, bool autoDock, bool dockCorner);

struct SlideStep {
  RECT rect = {};
  bool endReached = false;
};

// One step of sliding a docked window off the screen, 1/16 of its size (at least
// one pixel), ending with a one-pixel strip on screen: a top-docked window ends with
// its bottom at 1, a bottom-docked one with its top at H - 1, left and right alike.
// With a vertical and a horizontal edge the horizontal one decides the end.
SlideStep SlideOutStep(const RECT& window, int edges, SIZE screen);

// One step back onto the screen, 1/16 of its size (at least one pixel), ending
// flush with the edge. A window docked only vertically is also kept inside the
// screen horizontally.
SlideStep SlideInStep(const RECT& window, int edges, SIZE screen);

// Where a docked window rests fully slid out (used when it starts hidden).
RECT SlidOutRect(const RECT& window, int edges, SIZE screen);

// The position stored for the next start: a window past the right or bottom edge
// is pulled back by its overhang, one past the left or top edge to 0.
POINT SavedPosition(const RECT& window, SIZE screen);
