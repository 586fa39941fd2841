#include "ui/core/placeholder.h"

#include "ui/base/dpi_scaler.h"
#include "ui/core/box.h"
#include "ui/core/scroll_access.h"
#include "ui/core/window_access.h"
#include "ui/render/render_context.h"

namespace ui {

namespace {

bool IsAutoSized(const PlaceHolder& p) {
  return p.GetFixedWidth() == kSizeAuto || p.GetFixedHeight() == kSizeAuto;
}

}  // namespace

PlaceHolder::PlaceHolder() = default;

PlaceHolder::~PlaceHolder() = default;

Window* PlaceHolder::GetWindow() const { return window_; }

void PlaceHolder::SetWindow(Window* window) { window_ = window; }

void PlaceHolder::SetWindowAndParent(Window* window, Box* parent, bool init) {
  window_ = window;
  parent_ = parent;
  if (init && parent_) Init();
}

void PlaceHolder::Init() { DoInit(); }

void PlaceHolder::DoInit() {}

bool PlaceHolder::IsVisible() const { return visible_ && internVisible_; }

SIZE PlaceHolder::EstimateSize(SIZE) { return SIZE{fixedWidth_, fixedHeight_}; }

RECT PlaceHolder::GetPos(bool) const { return rect_; }

void PlaceHolder::SetPos(RECT rc) { rect_ = rc; }

void PlaceHolder::Arrange() {
  if (IsAutoSized(*this)) {
    ArrangeAncestor();
  } else {
    ArrangeSelf();
  }
}

void PlaceHolder::ArrangeAncestor() {
  reEstimateSize_ = true;
  Control* root = window_ ? window_access::GetRoot(window_) : nullptr;
  if (root) {
    PlaceHolder* target = nullptr;
    for (Box* ancestor = parent_; ancestor; ancestor = ancestor->GetParent()) {
      if (!IsAutoSized(*ancestor)) {
        target = ancestor;
        break;
      }
      ancestor->SetReEstimateNeeded(true);
    }
    if (!target) target = root;
    target->ArrangeSelf();
  } else {
    PlaceHolder* target = parent_ ? static_cast<PlaceHolder*>(parent_) : this;
    target->ArrangeSelf();
  }
}

void PlaceHolder::Invalidate() {
  if (!IsVisible()) return;
  layerDirty_ = true;
  RECT rc = GetPos(true);
  POINT offset = GetScrollOffsetInParents();
  OffsetRect(&rc, -offset.x, -offset.y);
  InvalidateWindowRect(rc);
}

void PlaceHolder::ArrangeSelf() {
  if (!IsVisible()) return;
  reEstimateSize_ = true;
  arrangeNeeded_ = true;
  Invalidate();
  if (window_) window_access::MarkUpdateNeeded(window_);
}

void PlaceHolder::SetFixedWidth(int width, bool arrange, bool scale) {
  if (width < kSizeAuto) return;
  if (scale && width > 0) width = DpiScaler::Instance().ScaleInt(width);
  if (width == fixedWidth_) return;
  fixedWidth_ = width;
  if (arrange) {
    ArrangeAncestor();
  } else {
    reEstimateSize_ = true;
  }
}

void PlaceHolder::SetFixedHeight(int height, bool scale) {
  if (height < kSizeAuto) return;
  if (scale && height > 0) height = DpiScaler::Instance().ScaleInt(height);
  if (height == fixedHeight_) return;
  fixedHeight_ = height;
  ArrangeAncestor();
}

void PlaceHolder::SetMinWidth(int width) {
  width = DpiScaler::Instance().ScaleInt(width);
  if (width == minWidth_ || width < 0) return;
  minWidth_ = width;
  ArrangeAfterLimitChange();
}

void PlaceHolder::SetMinHeight(int height) {
  height = DpiScaler::Instance().ScaleInt(height);
  if (height == minHeight_ || height < 0) return;
  minHeight_ = height;
  ArrangeAfterLimitChange();
}

void PlaceHolder::SetMaxWidth(int width) {
  width = DpiScaler::Instance().ScaleInt(width);
  if (width == maxWidth_) return;
  maxWidth_ = width;
  ArrangeAfterLimitChange();
}

void PlaceHolder::SetMaxHeight(int height) {
  height = DpiScaler::Instance().ScaleInt(height);
  if (height == maxHeight_) return;
  maxHeight_ = height;
  ArrangeAfterLimitChange();
}

void PlaceHolder::ArrangeAfterLimitChange() {
  if (float_) {
    Arrange();
  } else {
    ArrangeAncestor();
  }
}

POINT PlaceHolder::GetScrollOffsetInParents() const {
  POINT total = {0, 0};
  if (!parent_) return total;
  // A floating child of a scrolled box stays where it is while the box scrolls.
  if (float_ && scroll_access::HasActiveScrollBar(parent_)) return total;
  for (Box* ancestor = parent_; ancestor; ancestor = ancestor->GetParent()) {
    POINT pos = {0, 0};
    if (scroll_access::GetActiveScrollPos(ancestor, &pos)) {
      total.x += pos.x;
      total.y += pos.y;
    }
  }
  return total;
}

void PlaceHolder::InvalidateWindowRect(const RECT& rc) const {
  if (window_) window_access::InvalidateRect(window_, rc);
}

}  // namespace ui
