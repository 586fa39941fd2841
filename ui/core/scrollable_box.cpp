#include "ui/core/scrollable_box.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>

#include "ui/base/animation_player.h"
#include "ui/base/dpi_scaler.h"
#include "ui/core/auto_clip.h"
#include "ui/core/layout_access.h"
#include "ui/core/scroll_bar.h"
#include "ui/core/window.h"
#include "ui/render/render_context.h"

namespace ui {

namespace {

// Children this far above and below the view keep their background images.
constexpr int kImageCacheMargin = 730;

// Line scrolling: decelerating only, duration derived from the distance.
constexpr double kScrollDecelerateRatio = 0.5;
constexpr double kScrollDecelerateFactor = -0.012;
// Jump to the end: the content slides into place within at most 650 ms.
constexpr double kEndAccelerateRatio = 0.3;
constexpr double kEndDecelerateRatio = 0.7;
constexpr double kEndAccelerateFactor = 0.003;
constexpr int kEndMaxMilliseconds = 650;

constexpr wchar_t kKeyPageUp = VK_PRIOR;
constexpr wchar_t kKeyPageDown = VK_NEXT;
constexpr wchar_t kKeyEnd = VK_END;
constexpr wchar_t kKeyHome = VK_HOME;
constexpr wchar_t kKeyUp = VK_UP;
constexpr wchar_t kKeyDown = VK_DOWN;

// No scrollable box has painted its children yet in this process.
bool g_noScrollableBoxPainted = true;

int BarRange(const ScrollBar* bar) { return bar ? static_cast<int>(bar->GetScrollRange()) : 0; }
int BarPos(const ScrollBar* bar) { return bar ? static_cast<int>(bar->GetScrollPos()) : 0; }

// Four integers, each read one character past where the previous one stopped.
RECT ParseRect(const std::wstring& value) {
  RECT rect = {};
  const wchar_t* cursor = value.c_str();
  wchar_t* end = nullptr;
  LONG* fields[] = {&rect.left, &rect.top, &rect.right, &rect.bottom};
  for (LONG* field : fields) {
    *field = std::wcstol(cursor, &end, 10);
    if (!*end) break;
    cursor = end + 1;
  }
  return rect;
}

bool IsTouchOrPointer(EventType type, EventType touch, EventType pointer) {
  return type == touch || type == pointer;
}

}  // namespace

ScrollableBox::ScrollableBox(Layout* layout) : Box(layout) {}

// The animations go first, then the bars (members in reverse order), then the box.
ScrollableBox::~ScrollableBox() {
  // A dying bar tells its parent, this box, which then looks at its bars: each
  // bar leaves its member before it is deleted, so the box never reaches a bar
  // in the middle of its destruction. Horizontal first, then vertical.
  std::unique_ptr<ScrollBar> horizontal = std::move(hScrollBar_);
  horizontal.reset();
  std::unique_ptr<ScrollBar> vertical = std::move(vScrollBar_);
  vertical.reset();
}

std::wstring ScrollableBox::GetType() const { return L"ScrollableBox"; }

ScrollBar* ScrollableBox::ActiveVerticalBar() const {
  return BarRange(vScrollBar_.get()) != 0 ? vScrollBar_.get() : nullptr;
}

ScrollBar* ScrollableBox::ActiveHorizontalBar() const {
  return BarRange(hScrollBar_.get()) != 0 ? hScrollBar_.get() : nullptr;
}

SIZE ScrollableBox::GetScrollPos() const {
  return {BarPos(ActiveHorizontalBar()), BarPos(ActiveVerticalBar())};
}

SIZE ScrollableBox::GetScrollRange() const {
  return {BarRange(hScrollBar_.get()), BarRange(vScrollBar_.get())};
}

ScrollBar* ScrollableBox::GetVerticalScrollBar() const { return vScrollBar_.get(); }

ScrollBar* ScrollableBox::GetHorizontalScrollBar() const { return hScrollBar_.get(); }

void ScrollableBox::SetScrollPos(SIZE pos) {
  const SIZE range = GetScrollRange();
  if (pos.cy < 0 || pos.cy > range.cy) {
    pos.cy = pos.cy < 0 ? 0 : range.cy;
    if (scrollAnimation_) {
      scrollAnimation_->Cancel();
      scrollAnimation_->Init();
    }
  }
  int dx = 0;
  int dy = 0;
  if (ScrollBar* bar = ActiveVerticalBar()) {
    const int old = BarPos(bar);
    bar->SetScrollPos(pos.cy);
    dy = BarPos(bar) - old;
  }
  if (ScrollBar* bar = ActiveHorizontalBar()) {
    const int old = BarPos(bar);
    bar->SetScrollPos(pos.cx);
    dx = BarPos(bar) - old;
  }
  if (dx == 0 && dy == 0) return;
  LoadImageCache(dy > 0);
  Invalidate();
  if (Window* window = GetWindow()) {
    window->SendControlEvent(this, scrollchange, dy != 0 ? 1 : 0, dx != 0 ? 1 : 0);
  }
}

void ScrollableBox::SetScrollPosY(int y) { SetScrollPos({GetScrollPos().cx, y}); }

void ScrollableBox::SetScrollPosX(int x) { SetScrollPos({x, GetScrollPos().cy}); }

int ScrollableBox::LineStep(int delta, int unit) const {
  const int step = unit == 0 ? kZeroUnitStep : unit;
  return (delta == -1 || delta > step) ? step : delta;
}

void ScrollableBox::AnimateVertical(int target) {
  if (!scrollAnimation_) scrollAnimation_ = std::make_unique<AnimationPlayer>();
  AnimationPlayer& player = *scrollAnimation_;
  player.SetStartValue(GetScrollPos().cy);
  player.SetEndValue(target);
  player.SetAccelerateRatio(0);
  player.SetDecelerateRatio(kScrollDecelerateRatio);
  player.SetDecelerateFactor(kScrollDecelerateFactor);
  player.SetTotalMilliseconds(-1);
  player.SetPlayCallback(nbase::Bind(&ScrollableBox::SetScrollPosY, this, std::placeholders::_1));
  player.Start();
}

void ScrollableBox::LineUp(int delta, bool animated) {
  const SIZE pos = GetScrollPos();
  if (pos.cy <= 0) return;
  const int step = LineStep(delta, vScrollUnit_);
  if (!animated) {
    SetScrollPos({pos.cx, std::max(0L, pos.cy - step)});
    return;
  }
  // Further steps while the animation runs extend its end value.
  const bool extending = scrollAnimation_ && scrollAnimation_->IsPlaying() &&
                         pos.cy >= scrollAnimation_->GetEndValue();
  AnimateVertical((extending ? scrollAnimation_->GetEndValue() : pos.cy) - step);
}

void ScrollableBox::LineDown(int delta, bool animated) {
  const SIZE pos = GetScrollPos();
  if (pos.cy >= GetScrollRange().cy) return;
  const int step = LineStep(delta, vScrollUnit_);
  if (!animated) {
    SetScrollPos({pos.cx, std::max(0L, pos.cy + step)});
    return;
  }
  const bool extending = scrollAnimation_ && scrollAnimation_->IsPlaying() &&
                         scrollAnimation_->GetEndValue() >= pos.cy;
  AnimateVertical((extending ? scrollAnimation_->GetEndValue() : pos.cy) + step);
}

void ScrollableBox::LineLeft(int delta) {
  const SIZE pos = GetScrollPos();
  if (!ActiveHorizontalBar() || pos.cx <= 0) return;
  SetScrollPos({std::max(0L, pos.cx - LineStep(delta, hScrollUnit_)), pos.cy});
}

void ScrollableBox::LineRight(int delta) {
  const SIZE pos = GetScrollPos();
  const int range = GetScrollRange().cx;
  if (pos.cx >= range) return;
  SetScrollPos({std::min<LONG>(pos.cx + LineStep(delta, hScrollUnit_), range), pos.cy});
}

int ScrollableBox::GetPageHeight() const {
  const RECT padding = layout_access::GetPadding(GetLayout());
  int height = GetHeight() - padding.top - padding.bottom;
  if (ScrollBar* bar = ActiveHorizontalBar()) height -= bar->GetFixedHeight();
  return height;
}

int ScrollableBox::GetPageWidth() const {
  const RECT padding = layout_access::GetPadding(GetLayout());
  return GetWidth() - padding.left - padding.right;
}

void ScrollableBox::PageUp() {
  const SIZE pos = GetScrollPos();
  SetScrollPos({pos.cx, pos.cy - GetPageHeight()});
}

void ScrollableBox::PageDown() {
  const SIZE pos = GetScrollPos();
  SetScrollPos({pos.cx, pos.cy + GetPageHeight()});
}

void ScrollableBox::HomeUp() { SetScrollPos({GetScrollPos().cx, 0}); }

void ScrollableBox::PageLeft() {
  const SIZE pos = GetScrollPos();
  SetScrollPos({pos.cx - GetPageWidth(), pos.cy});
}

void ScrollableBox::PageRight() {
  const SIZE pos = GetScrollPos();
  SetScrollPos({pos.cx + GetPageWidth(), pos.cy});
}

void ScrollableBox::HomeLeft() { SetScrollPos({0, GetScrollPos().cy}); }

void ScrollableBox::EndRight() { SetScrollPos({GetScrollRange().cx, GetScrollPos().cy}); }

void ScrollableBox::TouchUp(int delta) {
  const SIZE pos = GetScrollPos();
  if (pos.cy >= 1) SetScrollPos({pos.cx, pos.cy - delta});
}

void ScrollableBox::TouchDown(int delta) {
  const SIZE pos = GetScrollPos();
  if (pos.cy < GetScrollRange().cy) SetScrollPos({pos.cx, pos.cy + delta});
}

void ScrollableBox::EndDown(bool arrange, bool animated) {
  if (arrange) LayoutContent(GetPos(true));
  const SIZE pos = GetScrollPos();
  const int range = GetScrollRange().cy;
  const int endValue = endAnimation_ ? endAnimation_->GetEndValue() : 0;
  const int distance = range - GetRenderOffset().y - pos.cy + endValue;
  if (animated && ActiveVerticalBar() && distance > 0) {
    if (!endAnimation_) endAnimation_ = std::make_unique<AnimationPlayer>();
    AnimationPlayer& player = *endAnimation_;
    player.SetStartValue(-distance);
    player.SetEndValue(0);
    player.SetAccelerateRatio(kEndAccelerateRatio);
    player.SetAccelerateFactor(kEndAccelerateFactor);
    player.SetDecelerateRatio(kEndDecelerateRatio);
    player.SetTotalMilliseconds(-1);
    player.SetMaxTotalMilliseconds(kEndMaxMilliseconds);
    player.SetPlayCallback(
        nbase::Bind(&ScrollableBox::SetRenderOffsetY, this, std::placeholders::_1));
    player.Start();
  }
  SetScrollPos({pos.cx, range});
}

void ScrollableBox::EnableScrollBar(bool vertical, bool horizontal) {
  auto configure = [this](std::unique_ptr<ScrollBar>& slot, bool wanted, bool isHorizontal) {
    if (!wanted) {
      slot.reset();
      return;
    }
    if (slot) return;
    slot = std::make_unique<ScrollBar>();
    if (isHorizontal) slot->SetHorizontal(true);
    slot->SetVisible(false);
    slot->SetScrollRange(0);
    slot->SetOwner(this);
    slot->SetWindowAndParent(GetWindow(), nullptr, false);
    slot->ApplyClassAttributes(isHorizontal ? L"hscrollbar" : L"vscrollbar");
  };
  configure(vScrollBar_, vertical, false);
  configure(hScrollBar_, horizontal, true);
  Arrange();
}

void ScrollableBox::SetWindowAndParent(Window* window, Box* parent, bool init) {
  if (vScrollBar_) vScrollBar_->SetWindowAndParent(window, this, init);
  if (hScrollBar_) hScrollBar_->SetWindowAndParent(window, this, init);
  Box::SetWindowAndParent(window, parent, init);
}

void ScrollableBox::SetMouseEnabled(bool enabled) {
  if (vScrollBar_) vScrollBar_->SetMouseEnabled(enabled);
  if (hScrollBar_) hScrollBar_->SetMouseEnabled(enabled);
  Box::SetMouseEnabled(enabled);
}

void ScrollableBox::ClearImageCache() {
  Box::ClearImageCache();
  if (hScrollBar_) hScrollBar_->ClearImageCache();
  if (vScrollBar_) vScrollBar_->ClearImageCache();
}

bool ScrollableBox::MouseEnter(EventArgs& event) {
  if (!Box::MouseEnter(event)) return false;
  for (ScrollBar* bar : {vScrollBar_.get(), hScrollBar_.get()}) {
    if (bar && BarRange(bar) != 0 && bar->IsEnabled() && bar->IsAutoHideScroll()) {
      bar->SetFadeVisible(true);
    }
  }
  return true;
}

bool ScrollableBox::MouseLeave(EventArgs& event) {
  if (!Box::MouseLeave(event)) return false;
  for (ScrollBar* bar : {vScrollBar_.get(), hScrollBar_.get()}) {
    if (bar && BarRange(bar) != 0 && bar->IsEnabled() && bar->IsAutoHideScroll() &&
        bar->GetThumbState() == kControlStateNormal) {
      bar->SetFadeVisible(false);
    }
  }
  return true;
}

void ScrollableBox::SetPos(RECT rc) {
  const bool atEnd = holdEnd_ && ActiveVerticalBar() && GetScrollPos().cy == GetScrollRange().cy;
  Control::SetPos(rc);
  LayoutContent(rc);
  if (atEnd && ActiveVerticalBar()) EndDown(false, false);
}

void ScrollableBox::LayoutContent(const RECT& rc) {
  const RECT padding = layout_access::GetPadding(GetLayout());
  const RECT inner = {rc.left + padding.left, rc.top + padding.top, rc.right - padding.right,
                      rc.bottom - padding.bottom};
  const SIZE required = CalcRequiredSize(inner);
  ProcessVScrollBar(rc, required.cy);
  ProcessHScrollBar(rc, required.cx);
}

RECT ScrollableBox::ItemArea(const RECT& rc) const {
  RECT available = rc;
  if (!scrollBarFloat_) {
    if (ScrollBar* bar = ActiveVerticalBar()) {
      if (vScrollBarLeft_) available.left += bar->GetFixedWidth();
      else available.right -= bar->GetFixedWidth();
    }
    if (ScrollBar* bar = ActiveHorizontalBar()) available.bottom -= bar->GetFixedHeight();
  }
  return available;
}

SIZE ScrollableBox::CalcRequiredSize(const RECT& rc) {
  if (items_.empty()) return {0, 0};
  return layout_access::ArrangeChildren(GetLayout(), items_, ItemArea(rc));
}

void ScrollableBox::RelayoutAfterRangeChange() { SetPos(GetPos(true)); }

void ScrollableBox::UpdateScrollBar(ScrollBar* bar, int required, int visible,
                                    const RECT& place) {
  if (required > visible && BarRange(bar) == 0) {
    // The content overflows for the first time: lay out again, now with a bar.
    bar->SetScrollRange(required - visible);
    bar->SetScrollPos(0);
    relayoutPass_ = true;
    RelayoutAfterRangeChange();
    relayoutPass_ = false;
    return;
  }
  if (BarRange(bar) == 0) return;
  const int overflow = required - visible;
  if (overflow > 0 || relayoutPass_) {
    bar->SetPos(place);
    if (BarRange(bar) != overflow) {
      const int oldPos = BarPos(bar);
      bar->SetScrollRange(std::abs(overflow));
      if (BarRange(bar) == 0) bar->SetScrollPos(0);
      if (BarPos(bar) < oldPos) RelayoutAfterRangeChange();
    }
    return;
  }
  // The content fits again: the bar hides and the view returns to the start.
  bar->SetScrollPos(0);
  bar->SetScrollRange(0);
  RelayoutAfterRangeChange();
}

void ScrollableBox::ProcessVScrollBar(RECT rc, int requiredHeight) {
  ScrollBar* bar = vScrollBar_.get();
  if (!bar) return;
  const RECT padding = layout_access::GetPadding(GetLayout());
  const int visible = (rc.bottom - padding.bottom) - (rc.top + padding.top);
  RECT place = {0, rc.top + scrollBarPadding_.top, 0, rc.bottom - scrollBarPadding_.bottom};
  if (vScrollBarLeft_) {
    place.left = rc.left + scrollBarPadding_.left;
    place.right = place.left + bar->GetFixedWidth();
  } else {
    place.right = rc.right - scrollBarPadding_.right;
    place.left = place.right - bar->GetFixedWidth();
  }
  UpdateScrollBar(bar, requiredHeight, visible, place);
}

void ScrollableBox::ProcessHScrollBar(RECT rc, int requiredWidth) {
  ScrollBar* bar = hScrollBar_.get();
  if (!bar) return;
  const RECT padding = layout_access::GetPadding(GetLayout());
  const int visible = (rc.right - padding.right) - (rc.left + padding.left);
  RECT place = {rc.left + scrollBarPadding_.left, 0, rc.right - scrollBarPadding_.right,
                rc.bottom - scrollBarPadding_.bottom};
  place.top = place.bottom - bar->GetFixedHeight();
  UpdateScrollBar(bar, requiredWidth, visible, place);
}

void ScrollableBox::LoadImageCache(bool downward) {
  const SIZE scroll = GetScrollPos();
  const POINT offset = GetRenderOffset();
  RECT area = GetPos(true);
  OffsetRect(&area, scroll.cx + offset.x, scroll.cy + offset.y);
  area.top -= kImageCacheMargin;
  area.bottom += kImageCacheMargin;
  auto visit = [&area](Control* child) {
    if (!child->IsVisible() || child->IsFloat()) return;
    RECT pos = child->GetPos(true);
    RECT overlap = {};
    if (IntersectRect(&overlap, &pos, &area)) child->ReloadBkImage();
    else child->ReleaseBkImage();
  };
  if (downward) std::for_each(items_.begin(), items_.end(), visit);
  else std::for_each(items_.rbegin(), items_.rend(), visit);
}

void ScrollableBox::PaintChildren(IRenderContext* context, const RECT& dirty) {
  RECT pos = GetPos(true);
  RECT overlap = {};
  if (!IntersectRect(&overlap, &dirty, &pos)) return;
  const SIZE scroll = GetScrollPos();
  const POINT offset = GetRenderOffset();
  const RECT clipRect = GetPaddingPos();
  // The children paint the dirty part of the padding area, moved into the
  // scrolled content: everything else of them would be clipped away, so a change
  // to one item of a list does not draw every item in view again.
  RECT childDirty = {};
  const bool insideDirty = IntersectRect(&childDirty, &dirty, &clipRect) != FALSE;
  OffsetRect(&childDirty, scroll.cx + offset.x, scroll.cy + offset.y);
  for (Control* child : std::vector<Control*>(items_)) {
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      child->AlphaPaint(context, dirty);
      continue;
    }
    // A child scrolled out of view paints nothing; skipping it before the clip and
    // origin are set spares a box of hundreds of items as many GDI calls.
    const RECT childPos = child->GetPos(true);
    if (!insideDirty || !IntersectRect(&overlap, &childDirty, &childPos)) continue;
    AutoClip clip(context, clipRect, IsClip());
    const POINT oldOrigin = context->OffsetWindowOrg({scroll.cx, scroll.cy});
    child->AlphaPaint(context, childDirty);
    context->SetWindowOrg(oldOrigin);
  }
  if (hScrollBar_ && hScrollBar_->IsVisible()) hScrollBar_->AlphaPaint(context, dirty);
  if (vScrollBar_ && vScrollBar_->IsVisible()) vScrollBar_->AlphaPaint(context, dirty);
  if (g_noScrollableBoxPainted) {
    g_noScrollableBoxPainted = false;
    LoadImageCache(true);
  }
}

Control* ScrollableBox::FindControl(const FindControlCallback& test, void* data, UINT flags,
                                    POINT offset) {
  if ((flags & kFindVisible) && !IsVisible()) return nullptr;
  if ((flags & kFindEnabled) && !IsEnabled()) return nullptr;
  if (flags & kFindHitTest) {
    const RECT pos = GetPos(true);
    if (!PtInRect(&pos, *static_cast<const POINT*>(data))) return nullptr;
    if (!IsMouseChildEnabled()) {
      for (ScrollBar* bar : {vScrollBar_.get(), hScrollBar_.get()}) {
        if (!bar) continue;
        if (Control* found = bar->FindControl(test, data, flags)) return found;
      }
      return Control::FindControl(test, data, flags);
    }
  }
  for (ScrollBar* bar : {vScrollBar_.get(), hScrollBar_.get()}) {
    if (!bar) continue;
    if (Control* found = bar->FindControl(test, data, flags)) return found;
  }
  const SIZE scroll = GetScrollPos();
  return Box::FindControl(test, data, flags, {scroll.cx, scroll.cy});
}

bool ScrollableBox::HandleVerticalScrollEvent(EventArgs& event) {
  switch (event.Type) {
    case keydown:
      switch (event.chKey) {
        case kKeyUp: LineUp(-1, true); return true;
        case kKeyDown: LineDown(-1, true); return true;
        case kKeyPageUp: PageUp(); return true;
        case kKeyPageDown: PageDown(); return true;
        case kKeyHome: HomeUp(); return true;
        case kKeyEnd: EndDown(true, true); return true;
        default: return false;
      }
    case scrollwheel: {
      const int delta = static_cast<int>(static_cast<INT_PTR>(event.wParam));
      if (delta > 0) LineUp(std::abs(delta), true);
      else LineDown(std::abs(delta), true);
      return true;
    }
    default:
      break;
  }
  if (IsTouchOrPointer(event.Type, touchdown, pointerdown)) {
    if (!IsEnabled()) return false;
    SetPressed(true);
    lastTouchPoint_ = event.ptMouse;
    return true;
  }
  if (IsTouchOrPointer(event.Type, touchmove, pointermove)) {
    if (!IsPressed()) return false;
    const int dy = event.ptMouse.y - lastTouchPoint_.y;
    if (dy == 0) return true;
    lastTouchPoint_ = event.ptMouse;
    if (dy > 0) TouchUp(dy);
    else TouchDown(-dy);
    return true;
  }
  if (IsTouchOrPointer(event.Type, touchup, pointerup)) {
    if (!IsPressed()) return false;
    SetPressed(false);
    lastTouchPoint_ = event.ptMouse;
    return true;
  }
  return false;
}

bool ScrollableBox::HandleHorizontalScrollEvent(EventArgs& event) {
  if (event.Type == keydown) {
    switch (event.chKey) {
      case kKeyUp: LineLeft(-1); return true;
      case kKeyDown: LineRight(-1); return true;
      case kKeyPageUp: PageLeft(); return true;
      case kKeyPageDown: PageRight(); return true;
      case kKeyHome: HomeLeft(); return true;
      case kKeyEnd: EndRight(); return true;
      default: return false;
    }
  }
  if (event.Type == scrollwheel) {
    const int delta = static_cast<int>(static_cast<INT_PTR>(event.wParam));
    if (delta > 0) LineLeft(-1);
    else LineRight(-1);
    return true;
  }
  return false;
}

void ScrollableBox::HandleEvent(EventArgs& event) {
  if (!IsMouseEnabled() && event.Type >= mousemove && event.Type <= scrollwheel) {
    if (Box* parent = GetParent()) parent->HandleEventTemplate(event);
    else Box::HandleEvent(event);
    return;
  }
  if (ScrollBar* bar = ActiveVerticalBar(); bar && bar->IsEnabled()) {
    if (HandleVerticalScrollEvent(event)) return;
  } else if (ScrollBar* hbar = ActiveHorizontalBar(); hbar && hbar->IsEnabled()) {
    if (HandleHorizontalScrollEvent(event)) return;
  }
  Box::HandleEvent(event);
}

void ScrollableBox::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const bool isTrue = value == L"true";
  if (name == L"vscrollbar") {
    EnableScrollBar(isTrue, hScrollBar_ != nullptr);
  } else if (name == L"vscrollbarstyle") {
    EnableScrollBar(true, hScrollBar_ != nullptr);
    if (vScrollBar_) vScrollBar_->ApplyAttributeList(value);
  } else if (name == L"hscrollbar") {
    EnableScrollBar(vScrollBar_ != nullptr, isTrue);
  } else if (name == L"hscrollbarstyle") {
    EnableScrollBar(vScrollBar_ != nullptr, true);
    if (hScrollBar_) hScrollBar_->ApplyAttributeList(value);
  } else if (name == L"scrollbarpadding") {
    RECT padding = ParseRect(value);
    DpiScaler::Instance().ScaleRect(padding);
    scrollBarPadding_ = padding;
  } else if (name == L"vscrollunit") {
    vScrollUnit_ = DpiScaler::Instance().ScaleInt(_wtoi(value.c_str()));
  } else if (name == L"hscrollunit") {
    hScrollUnit_ = DpiScaler::Instance().ScaleInt(_wtoi(value.c_str()));
  } else if (name == L"scrollbarfloat") {
    scrollBarFloat_ = isTrue;
  } else if (name == L"vscrollbarleft") {
    vScrollBarLeft_ = isTrue;
  } else if (name == L"holdend") {
    holdEnd_ = isTrue;
  } else {
    Box::SetAttribute(name, value);
  }
}

}  // namespace ui
