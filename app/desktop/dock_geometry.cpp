#include "app/desktop/dock_geometry.h"

#include <algorithm>

namespace {

// A window smaller than 16 pixels must still move, or it would never reach its end.
int StepOf(int size) { return std::max(1, size / 16); }

}  // namespace

int ComputeDockEdges(const RECT& window, SIZE screen, bool autoDock, bool dockCorner) {
  if (!autoDock) return 0;
  int edges = 0;
  if (window.top <= 0) {
    edges = kDockTop;
  } else if (window.bottom >= screen.cy) {
    edges = kDockBottom;
  }
  const bool sideAllowed = edges == 0 || dockCorner;
  if (sideAllowed) {
    if (window.left <= 0) {
      edges |= kDockLeft;
    } else if (window.right >= screen.cx) {
      edges |= kDockRight;
    }
  }
  return edges;
}

SlideStep SlideOutStep(const RECT& window, int edges, SIZE screen) {
  SlideStep step{window, false};
  RECT& r = step.rect;
  const int h = window.bottom - window.top;
  const int w = window.right - window.left;
  if (edges & kDockTop) {
    const int e = window.bottom - StepOf(h);
    step.endReached = e < 2;
    r.bottom = step.endReached ? 1 : e;
    r.top = r.bottom - h;
  } else if (edges & kDockBottom) {
    const int e = window.top + StepOf(h);
    step.endReached = e >= screen.cy - 1;
    r.top = std::min(e, static_cast<int>(screen.cy) - 1);
    r.bottom = r.top + h;
  }
  if (edges & kDockLeft) {
    const int f = window.right - StepOf(w);
    step.endReached = f < 2;
    r.right = step.endReached ? 1 : f;
    r.left = r.right - w;
  } else if (edges & kDockRight) {
    const int f = window.left + StepOf(w);
    step.endReached = f >= screen.cx - 1;
    r.left = std::min(f, static_cast<int>(screen.cx) - 1);
    r.right = r.left + w;
  }
  return step;
}

SlideStep SlideInStep(const RECT& window, int edges, SIZE screen) {
  SlideStep step{window, false};
  RECT& r = step.rect;
  const int h = window.bottom - window.top;
  const int w = window.right - window.left;
  if (edges & kDockTop) {
    const int d = window.top + StepOf(h);
    step.endReached = d >= 0;
    r.top = std::min(d, 0);
    r.bottom = r.top + h;
  } else if (edges & kDockBottom) {
    if (screen.cy - h < window.top - StepOf(h)) {
      r.top = window.top - StepOf(h);
    } else {
      r.top = screen.cy - h;
      step.endReached = true;
    }
    r.bottom = r.top + h;
  }
  if (edges & kDockLeft) {
    const int g = window.right + StepOf(w);
    step.endReached = g >= w;
    r.right = std::min(g, w);
    r.left = r.right - w;
  } else if (edges & kDockRight) {
    const int g = window.left - StepOf(w);
    if (screen.cx - w < g) {
      r.left = g;
      step.endReached = false;
    } else {
      r.left = screen.cx - w;
      step.endReached = true;
    }
    r.right = r.left + w;
  } else {
    if (r.left < 0) {
      r.left = 0;
      r.right = w;
    }
    if (r.right > screen.cx) {
      r.right = screen.cx;
      r.left = r.right - w;
    }
  }
  return step;
}

RECT SlidOutRect(const RECT& window, int edges, SIZE screen) {
  RECT r = window;
  const int h = window.bottom - window.top;
  const int w = window.right - window.left;
  if (edges & kDockTop) {
    r.bottom = 1;
    r.top = 1 - h;
  } else if (edges & kDockBottom) {
    r.top = screen.cy - 1;
    r.bottom = r.top + h;
  }
  if (edges & kDockLeft) {
    r.right = 1;
    r.left = 1 - w;
  } else if (edges & kDockRight) {
    r.left = screen.cx - 1;
    r.right = r.left + w;
  }
  return r;
}

POINT SavedPosition(const RECT& window, SIZE screen) {
  POINT p;
  p.x = window.right > screen.cx ? window.left + screen.cx - window.right
                                 : std::max(window.left, 0L);
  p.y = window.bottom > screen.cy ? window.top + screen.cy - window.bottom
                                  : std::max(window.top, 0L);
  return p;
}
