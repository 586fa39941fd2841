#include "ui/core/scroll_bar.h"

#include <algorithm>
#include <cstdio>

#include "ui/base/animation_timer_manager.h"
#include "ui/base/dpi_scaler.h"
#include "ui/core/attribute_numbers.h"
#include "ui/core/scroll_access.h"
#include "ui/core/scrollable_box.h"
#include "ui/core/window.h"

namespace ui {

namespace {

bool IsEmptyRect(const RECT& rc) { return rc.left == 0 && rc.top == 0 && rc.right == 0 && rc.bottom == 0; }

// A part rectangle from positions along the bar and across it.
RECT Part(bool horizontal, LONG alongStart, LONG alongEnd, LONG acrossStart, LONG acrossEnd) {
  return horizontal ? RECT{alongStart, acrossStart, alongEnd, acrossEnd}
                    : RECT{acrossStart, alongStart, acrossEnd, alongEnd};
}

// The image state of a part with the bar's fallbacks: disabled or normal;
// pushed, hot or normal; hot (or the thumb held) hot or normal; normal.
ControlState FallbackState(StateImageSet& set, ControlState state, bool thumbPushed) {
  auto has = [&set](ControlState s) { return !set.GetImage(s).attributes.wholeText.empty(); };
  if (state == kControlStateDisabled) return has(kControlStateDisabled) ? state : kControlStateNormal;
  if (state == kControlStatePushed) {
    if (has(kControlStatePushed)) return state;
    return has(kControlStateHot) ? kControlStateHot : kControlStateNormal;
  }
  if (state == kControlStateHot || thumbPushed) return has(kControlStateHot) ? kControlStateHot : kControlStateNormal;
  return kControlStateNormal;
}

}  // namespace

ScrollBar::ScrollBar() {
  fixedWidth_ = 16;
  fixedHeight_ = 0;
  // Placed by its owner, not by a layout; it stays put while the box scrolls.
  SetFloat(true);
  // A bar dragged while its window loses the focus must be released.
  SetButtonUpOnFocusLoss(true);
  for (StateImageSet* set : {&bkImages_, &button1Images_, &button2Images_, &thumbImages_, &railImages_}) {
    set->SetOwner(this);
  }
}

ScrollBar::~ScrollBar() = default;

std::wstring ScrollBar::GetType() const { return L"ScrollBar"; }

void ScrollBar::SetAttribute(const std::wstring& name, const std::wstring& value) {
  struct PartPrefix {
    const wchar_t* prefix;
    StateImageSet* set;
  };
  const PartPrefix parts[] = {{L"button1", &button1Images_},
                              {L"button2", &button2Images_},
                              {L"thumb", &thumbImages_},
                              {L"rail", &railImages_},
                              {L"bk", &bkImages_}};
  const struct {
    const wchar_t* word;
    ControlState state;
  } states[] = {{L"normalimage", kControlStateNormal},
                {L"hotimage", kControlStateHot},
                {L"pushedimage", kControlStatePushed},
                {L"disabledimage", kControlStateDisabled}};
  for (const PartPrefix& part : parts) {
    for (const auto& state : states) {
      if (name == std::wstring(part.prefix) + state.word) {
        part.set->GetImage(state.state).SetImageString(value);
        Invalidate();
        return;
      }
    }
  }
  const bool on = value == L"true";
  const DpiScaler& dpi = DpiScaler::Instance();
  if (name == L"hor") {
    SetHorizontal(on);
  } else if (name == L"showbutton1") {
    SetShowButton1(on);
  } else if (name == L"showbutton2") {
    SetShowButton2(on);
  } else if (name == L"autohidescroll") {
    autoHide_ = on;
  } else if (name == L"linesize") {
    lineSize_ = dpi.ScaleInt(ParseInt(value));
  } else if (name == L"thumbminlength") {
    thumbMinLength_ = dpi.ScaleInt(ParseInt(value));
  } else if (name == L"range") {
    SetScrollRange(_wtoi(value.c_str()));
  } else if (name == L"value") {
    SetScrollPos(_wtoi(value.c_str()));
  } else {
    Control::SetAttribute(name, value);
  }
}

void ScrollBar::SetShowButton1(bool show) {
  showButton1_ = show;
  LayoutParts();
}

void ScrollBar::SetShowButton2(bool show) {
  showButton2_ = show;
  LayoutParts();
}

void ScrollBar::SetScrollRange(int64_t range) {
  if (range == range_) return;
  range_ = std::max<int64_t>(range, 0);
  if (pos_ > range_) pos_ = range_;
  if (range_ == 0) {
    SetVisible(false);
  } else if (!IsVisible() && !autoHide_) {
    SetFadeVisible(true);
  }
  SetPos(GetPos());
}

void ScrollBar::SetScrollPos(int64_t pos) {
  if (pos == pos_) return;
  pos_ = std::clamp<int64_t>(pos, 0, range_);
  SetPos(GetPos());
}

void ScrollBar::SetHorizontal(bool horizontal) {
  if (horizontal_ == horizontal) return;
  horizontal_ = horizontal;
  if (horizontal && fixedHeight_ == 0) {
    fixedWidth_ = 0;
    fixedHeight_ = 16;
  } else if (!horizontal && fixedWidth_ == 0) {
    fixedWidth_ = 16;
    fixedHeight_ = 0;
  }
  if (owner_) {
    scroll_access::ArrangeOwner(owner_);
  } else {
    ArrangeAncestor();
  }
}

void ScrollBar::SetPos(RECT rc) {
  Control::SetPos(rc);
  LayoutParts();
  Invalidate();
}

void ScrollBar::LayoutParts() {
  const RECT rc = rect_;
  const LONG start = horizontal_ ? rc.left : rc.top;
  const LONG end = horizontal_ ? rc.right : rc.bottom;
  const LONG across = horizontal_ ? rc.top : rc.left;
  const LONG t = Thickness();
  const LONG length = end - start;
  LONG track = length;
  if (showButton1_) track -= t;
  if (showButton2_) track -= t;
  if (track > t) {
    button1_ = showButton1_ ? Part(horizontal_, start, start + t, across, across + t)
                            : Part(horizontal_, start, start, across, across);
    button2_ = showButton2_ ? Part(horizontal_, end - t, end, across, across + t)
                            : Part(horizontal_, end, end, across, across);
    const LONG trackStart = horizontal_ ? button1_.right : button1_.bottom;
    const LONG trackEnd = horizontal_ ? button2_.left : button2_.top;
    LONG thumbStart = trackStart;
    LONG thumbEnd = trackEnd;
    if (range_ > 0) {
      const int32_t product = static_cast<int32_t>(track * length);
      LONG thumbLength = static_cast<LONG>(static_cast<int64_t>(product) / (range_ + length));
      thumbLength = std::max<LONG>(thumbLength, thumbMinLength_);
      thumbStart = static_cast<LONG>(static_cast<int64_t>(track - thumbLength) * pos_ / range_) + trackStart;
      thumbEnd = thumbStart + thumbLength;
      if (thumbEnd > trackEnd) {
        thumbEnd = trackEnd;
        thumbStart = thumbEnd - thumbLength;
      }
    }
    thumb_ = Part(horizontal_, thumbStart, thumbEnd, across, across + t);
  } else {
    const LONG d = std::min<LONG>(t, length / 2);
    button1_ = showButton1_ ? Part(horizontal_, start, start + d, across, across + t)
                            : Part(horizontal_, start, start, across, across);
    button2_ = showButton2_ ? Part(horizontal_, end - d, end, across, across + t)
                            : Part(horizontal_, end, end, across, across);
    thumb_ = RECT{0, 0, 0, 0};
  }
}

void ScrollBar::SetVisible(bool visible) {
  if (visible_ == visible) return;
  const bool wasVisible = IsVisible();
  // Repaint where the bar was before it goes.
  if (!visible) Invalidate();
  visible_ = visible;
  focusedLook_ = false;
  if (!visible) DropFocusIfFocused();
  if (IsVisible() != wasVisible) ArrangeSelf();
}

void ScrollBar::SetEnabled(bool enabled) {
  if (enabled_ != enabled) {
    enabled_ = enabled;
    state_ = enabled ? kControlStateNormal : kControlStateDisabled;
    if (enabled) hotAlpha_ = 0;
    Invalidate();
  }
  const ControlState parts = enabled ? kControlStateNormal : kControlStateDisabled;
  button1State_ = button2State_ = thumbState_ = parts;
}

void ScrollBar::SetFocus() {
  if (owner_) {
    owner_->SetFocus();
  } else {
    Control::SetFocus();
  }
}

void ScrollBar::PassToOwner(EventArgs& event) {
  if (owner_) owner_->HandleEventTemplate(event);
}

void ScrollBar::Scroll(Step step) {
  if (owner_) {
    switch (step) {
      case Step::kLineBack: horizontal_ ? owner_->LineLeft(-1) : owner_->LineUp(-1, true); break;
      case Step::kLineForward: horizontal_ ? owner_->LineRight(-1) : owner_->LineDown(-1, true); break;
      case Step::kPageBack: horizontal_ ? owner_->PageLeft() : owner_->PageUp(); break;
      case Step::kPageForward: horizontal_ ? owner_->PageRight() : owner_->PageDown(); break;
    }
    return;
  }
  const int page = horizontal_ ? GetWidth() : GetHeight();
  switch (step) {
    case Step::kLineBack: SetScrollPos(pos_ - lineSize_); break;
    case Step::kLineForward: SetScrollPos(pos_ + lineSize_); break;
    case Step::kPageBack: SetScrollPos(pos_ - page); break;
    case Step::kPageForward: SetScrollPos(pos_ + page); break;
  }
}

void ScrollBar::OnPress(EventArgs& event) {
  dragDelta_ = 0;
  repeatTicks_ = 0;
  repeatFlag_.Cancel();
  AnimationTimerManager::Instance().AddTask(
      repeatFlag_.GetWeakFlag(), [this] { OnRepeatTimer(); }, kRepeatMilliseconds, -1);
  const POINT pt = event.ptMouse;
  if (PtInRect(&button1_, pt)) {
    button1State_ = kControlStatePushed;
    Scroll(Step::kLineBack);
  } else if (PtInRect(&button2_, pt)) {
    button2State_ = kControlStatePushed;
    Scroll(Step::kLineForward);
  } else if (PtInRect(&thumb_, pt)) {
    thumbState_ = kControlStatePushed;
    SetPressed(true);
    dragStartPoint_ = pt;
    dragStartPos_ = static_cast<int>(pos_);
  } else if (horizontal_) {
    if (pt.x < thumb_.left) Scroll(Step::kPageBack);
    else if (pt.x > thumb_.right) Scroll(Step::kPageForward);
  } else {
    if (pt.y < thumb_.top) Scroll(Step::kPageBack);
    else if (pt.y > thumb_.bottom) Scroll(Step::kPageForward);
  }
  ButtonDown(event);
}

void ScrollBar::OnRelease(EventArgs& event) {
  dragDelta_ = 0;
  repeatFlag_.Cancel();
  // Every held part lets go, the thumb turning hot under the pointer.
  if (thumbState_ == kControlStatePushed) {
    thumbState_ = PtInRect(&rect_, event.ptMouse) ? kControlStateHot : kControlStateNormal;
  }
  if (button1State_ == kControlStatePushed) button1State_ = kControlStateNormal;
  if (button2State_ == kControlStatePushed) button2State_ = kControlStateNormal;
  Invalidate();
  ButtonUp(event);
}

void ScrollBar::HandleEvent(EventArgs& event) {
  const EventType type = event.Type;
  if (!IsMouseEnabled() && type >= mousemove && type <= scrollwheel) {
    PassToOwner(event);
    return;
  }
  switch (type) {
    case internalsetfocus:
    case internalkillfocus:
    case internalmenu:
      return;
    case internaldblclick:
    case buttondown:
    case pointerdown:
      if (IsEnabled()) OnPress(event);
      return;
    case mousemove:
    case pointermove: {
      if (!IsPressed()) return;
      LONG freeTrack = horizontal_ ? (thumb_.left + rect_.right) - (thumb_.right + rect_.left)
                                   : (thumb_.top + rect_.bottom) - (thumb_.bottom + rect_.top);
      if (showButton1_) freeTrack -= Thickness();
      if (showButton2_) freeTrack -= Thickness();
      if (freeTrack != 0) {
        const int64_t moved = horizontal_ ? event.ptMouse.x - dragStartPoint_.x : event.ptMouse.y - dragStartPoint_.y;
        dragDelta_ = static_cast<int>(moved * range_ / freeTrack);
      }
      return;
    }
    case mouseenter:
      MouseEnter(event);
      PassToOwner(event);
      return;
    case mouseleave:
      MouseLeave(event);
      PassToOwner(event);
      return;
    case buttonup:
    case pointerup:
      OnRelease(event);
      return;
    case setcursor:
      if (cursorType_ == kCursorHand) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
      } else if (cursorType_ == kCursorArrow) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
      } else {
        PassToOwner(event);
      }
      return;
    default:
      PassToOwner(event);
      return;
  }
}

void ScrollBar::OnRepeatTimer() {
  ++repeatTicks_;
  if (thumbState_ == kControlStatePushed) {
    const int target = dragStartPos_ + dragDelta_;
    if (owner_) {
      SIZE pos = owner_->GetScrollPos();
      (horizontal_ ? pos.cx : pos.cy) = target;
      owner_->SetScrollPos(pos);
    } else {
      SetScrollPos(target);
    }
    return;
  }
  if (repeatTicks_ <= kRepeatDelayTicks) return;
  if (button1State_ == kControlStatePushed) {
    Scroll(Step::kLineBack);
  } else if (button2State_ == kControlStatePushed) {
    Scroll(Step::kLineForward);
  } else if (Window* window = GetWindow()) {
    // The track: page towards the cursor until the thumb reaches it.
    POINT cursor = {0, 0};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(window->GetHWND(), &cursor);
    const LONG at = horizontal_ ? cursor.x : cursor.y;
    const LONG thumbStart = horizontal_ ? thumb_.left : thumb_.top;
    const LONG thumbEnd = horizontal_ ? thumb_.right : thumb_.bottom;
    if (at < thumbStart) {
      Scroll(Step::kPageBack);
    } else if (at > thumbEnd) {
      Scroll(Step::kPageForward);
    }
  }
}

bool ScrollBar::ButtonUp(EventArgs& event) {
  const bool inside = PtInRect(&rect_, event.ptMouse) != FALSE;
  if (IsPressed()) {
    SetPressed(false);
    Invalidate();
    state_ = inside ? kControlStateHot : kControlStateNormal;
    hotAlpha_ = inside ? 255 : 0;
  }
  if (owner_ && autoHide_) {
    const RECT ownerRect = owner_->GetPos();
    if (!PtInRect(&ownerRect, event.ptMouse)) SetFadeVisible(false);
  }
  return inside;
}

bool ScrollBar::MouseEnter(EventArgs& event) {
  if (!Control::MouseEnter(event)) return false;
  button1State_ = button2State_ = thumbState_ = kControlStateHot;
  Invalidate();
  return true;
}

bool ScrollBar::MouseLeave(EventArgs& event) {
  if (!Control::MouseLeave(event)) return false;
  button1State_ = button2State_ = thumbState_ = kControlStateNormal;
  Invalidate();
  return true;
}

std::wstring ScrollBar::DestModifier(const RECT& part) const {
  wchar_t text[96];
  std::swprintf(text, 96, L"destscale='false' dest='%ld,%ld,%ld,%ld'", part.left - rect_.left, part.top - rect_.top,
                part.right - rect_.left, part.bottom - rect_.top);
  return text;
}

void ScrollBar::PaintPart(IRenderContext* context, StateImageSet& set, ControlState state, const RECT& part) {
  const ControlState shown = FallbackState(set, state, thumbState_ == kControlStatePushed);
  DrawImage(context, set.GetImage(shown), DestModifier(part));
}

void ScrollBar::Paint(IRenderContext* context, const RECT& dirty) {
  RECT overlap;
  if (!IntersectRect(&overlap, &dirty, &rect_)) return;
  // Images are drawn clipped to the part of the bar being repainted.
  paintRect_ = overlap;
  bkImages_.Paint(context, state_, L"");
  if (showButton1_) PaintPart(context, button1Images_, button1State_, button1_);
  if (showButton2_) PaintPart(context, button2Images_, button2State_, button2_);
  if (IsEmptyRect(thumb_)) return;
  thumbImages_.Paint(context, thumbState_, DestModifier(thumb_));
  // The rail: a square of the bar's thickness centred on the thumb.
  const int t = Thickness();
  RECT rail = thumb_;
  if (horizontal_) {
    rail.left = (thumb_.left + thumb_.right) / 2 - t / 2;
    rail.right = rail.left + t;
  } else {
    rail.top = (thumb_.top + thumb_.bottom) / 2 - t / 2;
    rail.bottom = rail.top + t;
  }
  PaintPart(context, railImages_, thumbState_, rail);
}

void ScrollBar::ClearImageCache() {
  Control::ClearImageCache();
  for (StateImageSet* set : {&bkImages_, &button1Images_, &button2Images_, &thumbImages_, &railImages_}) {
    set->ReleaseImages();
  }
}

}  // namespace ui
