#include "ui/core/control.h"

#include <algorithm>
#include <utility>

#include "ui/base/animation_player.h"
#include "ui/base/dpi_scaler.h"
#include "ui/base/string_util.h"
#include "ui/base/ui_globals.h"
#include "ui/core/box.h"
#include "ui/core/framework_access.h"
#include "ui/core/state_color_set.h"
#include "ui/core/state_image_set.h"
#include "ui/core/uia_control_provider.h"
#include "ui/core/window_access.h"

namespace ui {

namespace {

bool IsAncestorOrSelf(const Control* ancestor, const Control* control) {
  for (const Control* c = control; c; c = c->GetParent()) {
    if (c == ancestor) return true;
  }
  return false;
}

}  // namespace

Control::Control()
    : stateColors_(std::make_unique<StateColorSet>()),
      stateImages_(std::make_unique<StateImageMap>()),
      animations_(this) {
  stateColors_->SetOwner(this);
  stateImages_->Init(this);
}

Control::~Control() {
  SendSelfEvent(destroy);
  if (window_) window_access::ForgetControl(window_, this);
}

// ---------------------------------------------------------------------------
// Geometry

RECT Control::GetPos(bool containerCoordinates) const {
  RECT rc = rect_;
  RECT padding;
  if (!containerCoordinates && window_ && window_access::GetShadowPadding(window_, &padding)) {
    OffsetRect(&rc, -padding.left, -padding.top);
  }
  return rc;
}

SIZE Control::EstimateSize(SIZE available) {
  if (fixedWidth_ != kSizeAuto && fixedHeight_ != kSizeAuto) return SIZE{fixedWidth_, fixedHeight_};
  if (!reEstimateSize_) return cachedEstimate_;

  SIZE size = {fixedWidth_ == kSizeAuto ? 0 : fixedWidth_, fixedHeight_ == kSizeAuto ? 0 : fixedHeight_};
  if (SkinImage* image = GetSizingImage()) {
    const RECT dest = image->attributes.dest;
    if (IsRectSet(dest)) {
      // An image with a fixed destination makes the control that size for good.
      SetFixedWidth(dest.right - dest.left, true, true);
      SetFixedHeight(dest.bottom - dest.top, true);
      return SIZE{fixedWidth_, fixedHeight_};
    }
    LoadImage(*image);
    if (image->image) {
      if (fixedWidth_ == kSizeAuto) size.cx = image->image->width;
      if (fixedHeight_ == kSizeAuto) size.cy = image->image->height;
    }
  }
  reEstimateSize_ = false;
  SIZE text = EstimateText(available, reEstimateSize_);
  if (fixedWidth_ == kSizeAuto) size.cx = std::max(size.cx, text.cx);
  if (fixedHeight_ == kSizeAuto) size.cy = std::max(size.cy, text.cy);
  cachedEstimate_ = size;
  return size;
}

void Control::SetPos(RECT rc) {
  if (rc.right < rc.left) rc.right = rc.left;
  if (rc.bottom < rc.top) rc.bottom = rc.top;
  if (EqualRect(&rc, &rect_)) {
    arrangeNeeded_ = false;
    return;
  }
  RECT old = IsRectEmpty(&rect_) ? rc : rect_;
  rect_ = rc;
  if (!window_) return;

  if (!inResizeEvent_) {
    std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
    inResizeEvent_ = true;
    window_access::SendControlEvent(window_, this, resize, 0, 0);
    if (alive.expired()) return;
    inResizeEvent_ = false;
  }

  arrangeNeeded_ = false;
  RECT dirty;
  UnionRect(&dirty, &old, &rect_);
  POINT offset = GetScrollOffsetInParents();
  OffsetRect(&dirty, -offset.x, -offset.y);
  for (Control* ancestor = parent_; ancestor; ancestor = ancestor->GetParent()) {
    RECT bounds = ancestor->GetPos(true);
    if (!IntersectRect(&dirty, &dirty, &bounds)) return;
  }
  InvalidateWindowRect(dirty);
}

// ---------------------------------------------------------------------------
// Plain attributes

std::wstring Control::GetType() const { return L"Control"; }

SkinImage* Control::GetSizingImage() {
  if (!bkImage_.attributes.file.empty()) return &bkImage_;
  return stateImages_->GetSet(kStateImageBk).GetFirstSetImage();
}

int Control::GetCursorType() const { return cursorType_; }

std::wstring Control::GetToolTipText() const {
  if (toolTipText_.empty() && !toolTipTextId_.empty()) {
    return framework_access::GetLanguageText(toolTipTextId_);
  }
  return toolTipText_;
}

std::string Control::GetUTF8ToolTipText() const {
  std::string out;
  NarrowString(GetToolTipText().c_str(), out, CP_UTF8);
  return out;
}

void Control::SetToolTipText(const std::wstring& text) {
  std::wstring value = text;
  ReplaceAll(L"<n>", L"\r\n", value);
  toolTipText_ = value;
  Invalidate();
}

void Control::SetUTF8ToolTipText(const std::string& text) {
  std::wstring wide;
  WidenString(text.c_str(), wide, CP_UTF8);
  if (wide.empty()) {
    toolTipText_.clear();
    Invalidate();
  } else if (wide != toolTipText_) {
    SetToolTipText(wide);
  }
}

void Control::SetToolTipTextId(const std::wstring& id) {
  if (id == toolTipTextId_) return;
  toolTipTextId_ = id;
  Invalidate();
}

void Control::SetUTF8ToolTipTextId(const std::string& id) {
  std::wstring wide;
  WidenString(id.c_str(), wide, CP_UTF8);
  SetToolTipTextId(wide);
}

void Control::SetToolTipWidth(int width) { toolTipWidth_ = DpiScaler::Instance().ScaleInt(width); }
int Control::GetToolTipWidth() const { return toolTipWidth_; }

bool Control::IsContextMenuUsed() const { return contextMenuUsed_; }
void Control::SetContextMenuUsed(bool used) { contextMenuUsed_ = used; }
std::wstring Control::GetMenuPopup() const { return menuPopup_; }
void Control::SetMenuPopup(const std::wstring& popup) { menuPopup_ = popup; }
std::wstring Control::GetMenuAlign() const { return menuAlign_; }
void Control::SetMenuAlign(const std::wstring& align) { menuAlign_ = align; }

std::wstring Control::GetDataId() const { return dataId_; }

std::string Control::GetUTF8DataId() const {
  std::string out;
  NarrowString(dataId_.c_str(), out, CP_UTF8);
  return out;
}

void Control::SetDataId(const std::wstring& id) { dataId_ = id; }

void Control::SetUTF8DataId(const std::string& id) {
  std::wstring wide;
  WidenString(id.c_str(), wide, CP_UTF8);
  dataId_ = wide;
}

UserDataBase* Control::GetUserData() const { return userData_.get(); }

void Control::SetUserData(UserDataBase* data) {
  // Handing the control the object it already owns must not delete it.
  if (data == userData_.get()) return;
  userData_.reset(data);
}

// ---------------------------------------------------------------------------
// Visibility, enabling, focus

void Control::SetFadeVisible(bool visible) {
  if (visible) {
    animations_.Appear();
  } else {
    animations_.Disappear();
  }
}

void Control::DropFocusIfFocused() {
  if (window_ && window_access::GetFocusControl(window_) == this) {
    window_access::SetFocusControl(window_, nullptr);
  }
}

void Control::SetInternVisible(bool visible) {
  internVisible_ = visible;
  if (!visible) DropFocusIfFocused();
  if (!IsVisible()) StopImageAnimation(-1);
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  bool wasVisible = IsVisible();
  visible_ = visible;
  focusedLook_ = false;
  if (!visible) DropFocusIfFocused();
  if (IsVisible() != wasVisible) ArrangeAncestor();
  if (!IsVisible()) StopImageAnimation(-1);
  SendSelfEvent(visiblechange);
}

bool Control::IsEnabled() const { return enabled_; }

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  if (enabled) {
    hotAlpha_ = 0;
    state_ = kControlStateNormal;
  } else {
    state_ = kControlStateDisabled;
  }
  Invalidate();
}

bool Control::IsMouseEnabled() const { return mouseEnabled_; }
void Control::SetMouseEnabled(bool enabled) { mouseEnabled_ = enabled; }
bool Control::IsKeyboardEnabled() const { return keyboardEnabled_; }
void Control::SetKeyboardEnabled(bool enabled) { keyboardEnabled_ = enabled; }

bool Control::IsFocused() const {
  return window_ && window_access::GetFocusControl(window_) == this;
}

void Control::SetFocus() {
  if (noFocus_ || !window_) return;
  window_access::SetFocusControl(window_, this);
}

bool Control::IsTabStop() const { return tabStop_; }
bool Control::IsPressed() const { return pressed_; }
void Control::SetPressed(bool pressed) { pressed_ = pressed; }
bool Control::IsFocusable() const { return IsVisible() && IsEnabled(); }
void Control::Activate() {}
void Control::Deactivate() {}
bool Control::IsActivated() const { return true; }

Control* Control::FindControl(const FindControlCallback& test, void* data, UINT flags, POINT) {
  if ((flags & kFindVisible) && !IsVisible()) return nullptr;
  if ((flags & kFindEnabled) && !IsEnabled()) return nullptr;
  if (flags & kFindHitTest) {
    if (!data || !mouseEnabled_) return nullptr;
    if (!PtInRect(&rect_, *static_cast<const POINT*>(data))) return nullptr;
  }
  return test ? test(this, data) : nullptr;
}

RECT Control::GetMargin() const { return margin_; }

void Control::SetMargin(RECT margin, bool scale) {
  if (scale) DpiScaler::Instance().ScaleRect(margin);
  if (EqualRect(&margin, &margin_)) return;
  margin_ = margin;
  ArrangeAncestor();
}

SIZE Control::EstimateText(SIZE, bool&) { return SIZE{0, 0}; }

bool Control::ContainsPoint(POINT pt) const {
  POINT offset = GetScrollOffsetInParents();
  pt.x += offset.x;
  pt.y += offset.y;
  return PtInRect(&rect_, pt) != FALSE;
}

UIAControlProvider* Control::GetAccessibilityProvider() {
  if (!accessibilityProvider_) accessibilityProvider_ = std::make_unique<UIAControlProvider>(this);
  return accessibilityProvider_.get();
}

bool Control::HasHotState() {
  if (stateColors_->HasHotColor()) return true;
  for (int kind = kStateImageBk; kind <= kStateImageSelectedFore; ++kind) {
    if (!stateImages_->GetSet(kind).GetImage(kControlStateHot).attributes.wholeText.empty()) return true;
  }
  auto it = borderColors_.find(kControlStateHot);
  return it != borderColors_.end() && !it->second.empty();
}

void Control::SetReceivePointer(bool receive) { receivePointer_ = receive; }

// ---------------------------------------------------------------------------
// Colours and images

void Control::SetBkColor(const std::wstring& color) {
  if (color == bkColor_) return;
  bkColor_ = color;
  Invalidate();
}

void Control::SetLoadingBkColor(const std::wstring& color) {
  if (color == loadingBkColor_) return;
  loadingBkColor_ = color;
  Invalidate();
}

std::wstring Control::GetStateColor(ControlState state) { return stateColors_->GetColor(state); }

void Control::SetStateColor(ControlState state, const std::wstring& color) {
  if (GetStateColor(state) == color) return;
  if (state == kControlStateHot) animations_.SetFadeHot(true);
  stateColors_->SetColor(state, color);
  Invalidate();
}

void Control::SetBorderColor(const std::wstring& color, ControlState state) {
  borderColors_[state] = color;
  Invalidate();
}

std::wstring Control::GetBorderColor(ControlState state) const {
  auto it = borderColors_.find(state);
  return it == borderColors_.end() ? std::wstring() : it->second;
}

DWORD Control::GetColorValue(const std::wstring& name) const {
  if (window_) {
    DWORD value = window_access::GetColor(window_, name);
    if (value != 0) return value;
  }
  return framework_access::GetGlobalColor(name);
}

void Control::SetBkImage(const std::wstring& text) {
  StopImageAnimation(-1);
  bkImage_.SetImageString(text);
  bkAnimationAllowed_ = bkImage_.attributes.playCount != 0;
  if (fixedWidth_ == kSizeAuto || fixedHeight_ == kSizeAuto) {
    ArrangeAncestor();
  } else {
    Invalidate();
  }
}

void Control::SetBkImageWhilePainting(const std::wstring& text) {
  StopImageAnimation(-1);
  bkImage_.SetImageString(text);
  bkAnimationAllowed_ = bkImage_.attributes.playCount != 0;
  if (fixedWidth_ == kSizeAuto || fixedHeight_ == kSizeAuto) ArrangeAncestor();
}

void Control::SetLoadingImage(const std::wstring& text) {
  loadingImage_.SetImageString(text);
  Invalidate();
}

void Control::SetStateImage(ControlState state, const std::wstring& text) {
  if (state == kControlStateHot) animations_.SetFadeHot(true);
  stateImages_->SetImage(kStateImageBk, state, text);
  if (fixedWidth_ == kSizeAuto || fixedHeight_ == kSizeAuto) {
    ArrangeAncestor();
  } else {
    Invalidate();
  }
}

void Control::SetForeStateImage(ControlState state, const std::wstring& text) {
  if (state == kControlStateHot) animations_.SetFadeHot(true);
  stateImages_->SetImage(kStateImageFore, state, text);
  Invalidate();
}

void Control::SetBorderRound(SIZE round) {
  borderRound_.cx = DpiScaler::Instance().ScaleInt(round.cx);
  borderRound_.cy = DpiScaler::Instance().ScaleInt(round.cy);
  Invalidate();
}

std::wstring Control::GetImageFullPath(const std::wstring& file) const {
  // Image-cache keys ("?...") are never files: they are looked up as they stand.
  std::wstring path = file;
  if (path.empty() || path[0] != L'?') {
    std::wstring folder = window_ ? window_access::GetResourcePath(window_) : std::wstring();
    path = UiGlobals::GetResourceFullPath(path, folder);
  }
  return NormalizePathSeparators(path);
}

void Control::ReloadBkImage() {
  if (bkImage_.attributes.file.empty()) return;
  const std::wstring path = GetImageFullPath(bkImage_.attributes.file);
  if (bkImage_.image && bkImage_.image->path == path) return;
  bkImage_.image = UiGlobals::FindCachedImage(path);
}

void Control::ReleaseBkImage() {
  imageWorkFlag_.Cancel();
  bkImage_.image.reset();
}

void Control::ClearImageCache() {
  stateImages_->ReleaseAllImages();
  bkImage_.ReleaseImage();
}

// ---------------------------------------------------------------------------
// State setters driven by attributes and animations

void Control::SetState(ControlState state) {
  state_ = state;
  Invalidate();
}

void Control::SetAlpha(int alpha) {
  alpha_ = alpha;
  Invalidate();
}

void Control::SetHotAlpha(int alpha) {
  hotAlpha_ = alpha;
  Invalidate();
}

void Control::SetRenderOffset(POINT offset) {
  renderOffset_ = offset;
  Invalidate();
}

void Control::SetRenderOffsetX(int x) {
  renderOffset_.x = x;
  Invalidate();
}

void Control::SetRenderOffsetY(int y) {
  renderOffset_.y = y;
  Invalidate();
}

// ---------------------------------------------------------------------------
// Events

void Control::AttachEvent(EventType type, const EventCallback& callback) {
  codeListeners_[type].push_back(callback);
}

void Control::AttachXmlEvent(EventType type, const EventCallback& callback) {
  xmlListeners_[type].push_back(callback);
}

void Control::SendEvent(EventType type, WPARAM wParam, LPARAM lParam, wchar_t key, POINT mouse,
                        float pressure) {
  EventArgs event;
  event.Type = type;
  event.pSender = this;
  event.dwTimestamp = GetTickCount();
  event.ptMouse = mouse;
  if (mouse.x == 0 && mouse.y == 0 && window_) event.ptMouse = window_access::GetLastMousePos(window_);
  event.chKey = key;
  event.wParam = wParam;
  event.lParam = lParam;
  event.pressure = pressure;
  HandleEventTemplate(event);
}

void Control::SendSelfEvent(EventType type) {
  EventArgs event;
  event.Type = type;
  event.pSender = this;
  event.dwTimestamp = GetTickCount();
  HandleEventTemplate(event);
}

bool Control::RunListeners(EventListenerMap& map, EventType key, EventArgs& event, bool result) {
  auto it = map.find(key);
  if (it == map.end()) return result;
  return RunEventCallbacks(it->second, &event);
}

bool Control::RunListenerLists(EventListenerMap& first, EventListenerMap& second, EventArgs& event,
                               const std::weak_ptr<nbase::WeakFlag>& alive, bool& result) {
  const EventType type = event.Type;
  // The "all" list runs even after the type's list said false; its answer counts.
  result = RunListeners(first, type, event, result);
  if (alive.expired()) return false;
  result = RunListeners(first, all, event, result);
  if (alive.expired()) return false;
  if (!result) return true;
  result = RunListeners(second, type, event, result);
  if (alive.expired()) return false;
  result = RunListeners(second, all, event, result);
  return !alive.expired();
}

void Control::HandleEventTemplate(EventArgs& event) {
  if (event.Type >= internaldblclick && event.Type <= internalkillfocus) {
    HandleEvent(event);
    return;
  }
  if (event.pSender != this) {
    HandleEvent(event);
    return;
  }
  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  bool result = true;
  if (!RunListenerLists(codeListeners_, xmlListeners_, event, alive, result)) return;
  if (result) HandleEvent(event);
}

void Control::PassToParent(EventArgs& event) {
  if (parent_) parent_->HandleEventTemplate(event);
}

void Control::HandleEvent(EventArgs& event) {
  const EventType type = event.Type;
  if (!IsMouseEnabled() && type >= mousemove && type <= scrollwheel) {
    PassToParent(event);
    return;
  }
  switch (type) {
    case setcursor:
      if (cursorType_ == kCursorHand) {
        ::SetCursor(::LoadCursor(nullptr, IsEnabled() ? IDC_HAND : IDC_ARROW));
      } else if (cursorType_ == kCursorArrow) {
        ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
      } else if (cursorType_ == kCursorIbeam) {
        ::SetCursor(::LoadCursor(nullptr, IDC_IBEAM));
      } else {
        PassToParent(event);
      }
      return;
    case internalsetfocus:
      if (state_ == kControlStateNormal) {
        hotAlpha_ = 255;
        SetState(kControlStateHot);
        focusedLook_ = true;
        Invalidate();
      } else {
        PassToParent(event);
      }
      return;
    case internalkillfocus:
      if (state_ == kControlStateHot) {
        hotAlpha_ = 0;
        SetState(kControlStateNormal);
        focusedLook_ = false;
        Invalidate();
      } else {
        PassToParent(event);
      }
      return;
    case internalmenu:
      if (IsEnabled() && IsContextMenuUsed()) {
        if (window_) {
          window_access::SendControlEvent(window_, this, menu, event.wParam, event.lParam);
        } else {
          SendEvent(menu, event.wParam, event.lParam);
        }
      } else {
        PassToParent(event);
      }
      return;
    case mouseenter: {
      bool reached = true;
      if (window_) {
        Control* hover = window_access::GetNewHoverControl(window_);
        reached = hover && IsAncestorOrSelf(this, hover);
      }
      if (reached && MouseEnter(event)) PassToParent(event);
      return;
    }
    case mouseleave: {
      if (window_) {
        Control* hover = window_access::GetNewHoverControl(window_);
        if (hover && IsAncestorOrSelf(this, hover)) return;
      }
      if (MouseLeave(event)) PassToParent(event);
      return;
    }
    case buttondown:
      ButtonDown(event);
      return;
    case pointerdown:
      if (receivePointer_) {
        ButtonDown(event);
      } else {
        PassToParent(event);
      }
      return;
    case buttonup:
      ButtonUp(event);
      return;
    case pointerup:
      if (receivePointer_) {
        ButtonUp(event);
      } else {
        PassToParent(event);
      }
      return;
    case internaldblclick:
      if (window_) window_access::SendControlEvent(window_, this, doubleclick, 0, 0);
      return;
    default:
      PassToParent(event);
      return;
  }
}

bool Control::MouseEnter(EventArgs&) {
  if (!IsEnabled()) return true;
  if (state_ != kControlStateNormal) return false;
  state_ = kControlStateHot;
  if (!HasHotState()) return true;
  if (AnimationPlayer* hot = animations_.GetPlayer(kAnimationHot)) hot->Continue();
  Invalidate();
  return true;
}

bool Control::MouseLeave(EventArgs&) {
  if (!IsEnabled()) return true;
  if (state_ != kControlStateHot) return false;
  state_ = kControlStateNormal;
  if (!HasHotState()) return true;
  if (AnimationPlayer* hot = animations_.GetPlayer(kAnimationHot)) hot->Reverse();
  Invalidate();
  return true;
}

bool Control::ButtonDown(EventArgs&) {
  if (!IsEnabled()) return false;
  state_ = kControlStatePushed;
  SetPressed(true);
  Invalidate();
  return true;
}

bool Control::ButtonUp(EventArgs& event) {
  if (!IsPressed()) return false;
  SetPressed(false);
  if (AnimationPlayer* hot = animations_.GetPlayer(kAnimationHot)) hot->Cancel();
  Invalidate();
  if (ContainsPoint(event.ptMouse)) {
    if (event.Type == pointerup) {
      state_ = kControlStateNormal;
      hotAlpha_ = 0;
    } else {
      state_ = kControlStateHot;
      hotAlpha_ = 255;
    }
    // Activation may destroy the control (a click handler removing it).
    Activate();
    return true;
  }
  state_ = kControlStateNormal;
  hotAlpha_ = 0;
  return false;
}

}  // namespace ui
