// WM_PAINT: the tree is laid out when it asked for it, painted into the render
// context over the dirty area (piece by piece when it was invalidated in distant
// pieces), and the result copied to the screen (or to the layered window's surface).
#include <algorithm>
#include <vector>

#include "ui/base/scoped_handles.h"
#include "ui/core/auto_clip.h"
#include "ui/core/box.h"
#include "ui/core/control.h"
#include "ui/core/layout_access.h"
#include "ui/core/window.h"
#include "ui/render/render_context.h"

namespace ui {

namespace {

constexpr int kUnlimitedEstimate = 99999;
constexpr int kMaxArrangePasses = 100000;

Control* ControlNeedingArrange(Control* control, LPVOID) {
  return control->IsArrangeNeeded() ? control : nullptr;
}

RECT Intersection(const RECT& a, const RECT& b) {
  RECT result = {};
  IntersectRect(&result, &a, &b);
  return result;
}

// The root's area inside its padding: the content of a shadow box.
RECT RootInnerRect(Control* root) {
  if (auto* box = dynamic_cast<Box*>(root)) return box->GetPaddingPos();
  return root->GetPos(true);
}

RECT RootPadding(Control* root) {
  if (auto* box = dynamic_cast<Box*>(root)) return layout_access::GetPadding(box->GetLayout());
  return {0, 0, 0, 0};
}

}  // namespace

DirtyRects Window::UpdatePieces(const RECT& client) const {
  DirtyRects pieces;
  UniqueRegion update(CreateRectRgn(0, 0, 0, 0));
  if (!update || GetUpdateRgn(hwnd_, update.get(), FALSE) == ERROR) return pieces;
  const DWORD size = GetRegionData(update.get(), 0, nullptr);
  if (size == 0) return pieces;
  std::vector<BYTE> buffer(size);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  if (GetRegionData(update.get(), size, data) != size) return pieces;
  // The region comes in horizontal bands; the pieces put the bands of one
  // invalidated rectangle together again.
  const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
  for (DWORD i = 0; i < data->rdh.nCount; ++i) {
    RECT inside = {};
    if (IntersectRect(&inside, &rects[i], &client)) pieces.Add(inside);
  }
  return pieces;
}

void Window::ResizeToAutoSizedRoot() {
  if (root_->GetFixedWidth() != -2 && root_->GetFixedHeight() != -2) return;
  SIZE size = root_->EstimateSize({kUnlimitedEstimate, kUnlimitedEstimate});
  size.cx = std::max<LONG>(size.cx, root_->GetMinWidth());
  if (root_->GetMaxWidth() >= 0) size.cx = std::min<LONG>(size.cx, root_->GetMaxWidth());
  size.cy = std::max<LONG>(size.cy, root_->GetMinHeight());
  size.cy = std::min<LONG>(size.cy, root_->GetMaxHeight());
  RECT window = {};
  GetWindowRect(hwnd_, &window);
  MoveWindow(hwnd_, window.left, window.top, size.cx, size.cy, TRUE);
}

void Window::ArrangeForPaint(const RECT& client) {
  updateNeeded_ = false;
  if (IsRectEmpty(&client)) return;
  if (root_->IsArrangeNeeded()) {
    root_->SetPos(client);
    return;
  }
  // Only parts of the tree changed: lay out each of them at its own place.
  for (int pass = 0; pass < kMaxArrangePasses; ++pass) {
    Control* control = root_->FindControl(&ControlNeedingArrange, nullptr,
                                          kFindVisible | kFindMeFirst);
    if (!control) break;
    control->SetPos(control->GetPos(true));
  }
}

void Window::PushLayeredSurface(const RECT& dirty, int width, int height) {
  RECT window = {};
  GetWindowRect(hwnd_, &window);
  const bool visible = IsWindowVisible(hwnd_) != FALSE;
  const RECT whole = {0, 0, width, height};
  RECT area = {};
  // The window system blends and copies every pixel it is handed, which for a tall
  // popup costs more than painting a few rows; what this paint left alone it still
  // holds, unless the window moved, changed size or alpha, or was hidden since.
  const bool partial = lastPush_.whole && visible && EqualRect(&lastPush_.window, &window) &&
                       lastPush_.alpha == windowAlpha_ && IntersectRect(&area, &dirty, &whole) &&
                       !EqualRect(&area, &whole);
  POINT position = {window.left, window.top};
  SIZE size = {width, height};
  POINT source = {0, 0};
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, static_cast<BYTE>(windowAlpha_), AC_SRC_ALPHA};
  UPDATELAYEREDWINDOWINFO info = {};
  info.cbSize = sizeof(info);
  info.hdcSrc = renderContext_->GetDC();
  info.pptSrc = &source;
  info.pblend = &blend;
  info.dwFlags = ULW_ALPHA;
  if (partial) {
    info.prcDirty = &area;
  } else {
    info.pptDst = &position;
    info.psize = &size;
  }
  const bool pushed = UpdateLayeredWindowIndirect(hwnd_, &info) != FALSE;
  // A failed push may have left anything behind: the next one hands over all of it.
  lastPush_.whole = pushed && visible;
  lastPush_.window = window;
  lastPush_.alpha = windowAlpha_;
}

void Window::Paint() {
  PAINTSTRUCT ps = {};
  if (IsIconic(hwnd_) || !root_ || !renderContext_) {
    BeginPaint(hwnd_, &ps);
    EndPaint(hwnd_, &ps);
    return;
  }
  if (updateNeeded_ && root_->IsArrangeNeeded()) ResizeToAutoSizedRoot();

  RECT dirty = {};
  if (!GetUpdateRect(hwnd_, &dirty, FALSE) && !firstPaint_) return;
  RECT client = {};
  GetClientRect(hwnd_, &client);

  bool stretchedToEdges = false;
  if (layered_) {
    // Parts of a layered window beyond the virtual screen are never reported
    // dirty; paint them with the edge of the screen that touches them.
    RECT screen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    RECT window = {};
    GetWindowRect(hwnd_, &window);
    RECT inside = {};
    IntersectRect(&inside, &window, &screen);
    if (!EqualRect(&inside, &window)) {
      POINT topLeft = {screen.left, screen.top};
      POINT bottomRight = {screen.right, screen.bottom};
      ScreenToClient(hwnd_, &topLeft);
      ScreenToClient(hwnd_, &bottomRight);
      if (dirty.left == topLeft.x) dirty.left = client.left;
      if (dirty.top == topLeft.y) dirty.top = client.top;
      if (dirty.right == bottomRight.x) dirty.right = client.right;
      if (dirty.bottom == bottomRight.y) dirty.bottom = client.bottom;
      stretchedToEdges = true;
    }
  }

  // Distant dirty parts (a tag and the card area) are painted one by one;
  // otherwise, and for a first paint or a window stretched to the screen's edge,
  // the bounding box is.
  DirtyRects pieces;
  if (!firstPaint_ && !stretchedToEdges) pieces = UpdatePieces(client);
  if (pieces.Count() < 2) pieces.Clear();

  BeginPaint(hwnd_, &ps);
  if (updateNeeded_) {
    // What the layout pass moves or changes is painted by this paint: one more
    // invalidation (and for a layered window one more posted paint) per moved
    // control would cost more than the layout and paint all of it a second time.
    RECT changed = {};
    {
      InvalidationBatch painted(this, InvalidationBatch::AtEnd::kDrop);
      ArrangeForPaint(client);
      const RECT gathered = painted.Gathered();
      if (IntersectRect(&changed, &gathered, &client)) {
        UnionRect(&dirty, &dirty, &changed);
        if (!pieces.Empty()) pieces.Add(changed);
      }
    }
    // A layout that asked for another one (a box resizing its parent) gets the
    // next paint as it always did.
    if (updateNeeded_ && !IsRectEmpty(&changed)) InvalidateClientRect(changed);
  }
  firstPaint_ = false;
  if (!root_) {  // a resize handler dropped the tree
    EndPaint(hwnd_, &ps);
    return;
  }

  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (renderContext_->Resize(width, height, true)) {
    dirty = client;
    pieces.Clear();
  }
  DirtyRects areas = pieces;
  if (areas.Count() < 2) {
    areas.Clear();
    areas.Add(dirty);
  }

  for (const RECT& area : areas) {
    if (layered_) renderContext_->ClearAlpha(area, 0);
    AutoClip clip(renderContext_.get(), area, true);
    root_->Paint(renderContext_.get(), area);
    root_->PaintChildren(renderContext_.get(), area);
  }

  if (layered_) {
    const RECT inner = RootInnerRect(root_);
    if (!shadow_.IsAttached() && (alphaFixCorner_.left > 0 || alphaFixCorner_.top > 0 ||
                                  alphaFixCorner_.right > 0 || alphaFixCorner_.bottom > 0)) {
      RECT fixed = {inner.left + alphaFixCorner_.left, inner.top + alphaFixCorner_.top,
                    inner.right - alphaFixCorner_.right, inner.bottom - alphaFixCorner_.bottom};
      for (const RECT& area : areas) renderContext_->RestoreAlpha(Intersection(area, fixed), RECT{0, 0, 0, 0});
    } else if (shadow_.IsAttached()) {
      const RECT padding = RootPadding(root_);
      for (const RECT& area : areas) {
        renderContext_->RestoreAlpha(Intersection(area, inner),
                                     RECT{padding.left + 1, padding.top + 1, padding.right + 1,
                                          padding.bottom + 1});
      }
    }
    PushLayeredSurface(dirty, width, height);
  } else {
    BitBlt(paintDC_, dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top,
           renderContext_->GetDC(), dirty.left, dirty.top, SRCCOPY);
  }
  EndPaint(hwnd_, &ps);
}

}  // namespace ui
