#include "ui/core/box.h"

#include <algorithm>

#include "ui/core/layout_access.h"
#include "ui/core/list_interfaces.h"
#include "ui/core/window_access.h"

namespace ui {

namespace {

RECT Deflate(RECT rc, const RECT& padding) {
  rc.left += padding.left;
  rc.top += padding.top;
  rc.right -= padding.right;
  rc.bottom -= padding.bottom;
  return rc;
}

}  // namespace

Box::Box() : Box(layout_access::NewPlainLayout()) {}

Box::Box(Layout* layout) : layout_(layout) { layout_access::SetOwner(layout_, this); }

Box::~Box() {
  // Children of a box being destroyed go at once, never through the window queue.
  delayedDestroy_ = false;
  std::vector<Control*> children;
  children.swap(items_);
  for (Control* child : children) DisposeChild(child);
  layout_access::Delete(layout_);
  layout_ = nullptr;
}

void Box::SetWindowAndParent(Window* window, Box* parent, bool init) {
  for (Control* child : items_) child->SetWindowAndParent(window, this, init);
  window_ = window;
  parent_ = parent;
  if (init && parent_) Init();
}

SIZE Box::EstimateSize(SIZE available) {
  if (fixedWidth_ != kSizeAuto && fixedHeight_ != kSizeAuto) return SIZE{fixedWidth_, fixedHeight_};
  if (!reEstimateSize_) return cachedEstimate_;
  RECT padding = layout_access::GetPadding(layout_);
  available.cx -= padding.left + padding.right;
  available.cy -= padding.top + padding.bottom;
  SIZE measured = layout_access::MeasureByChildren(layout_, items_, available);
  SIZE size = {fixedWidth_ == kSizeAuto ? measured.cx : fixedWidth_,
               fixedHeight_ == kSizeAuto ? measured.cy : fixedHeight_};
  reEstimateSize_ = false;
  for (Control* child : items_) {
    if (!child->IsVisible()) continue;
    bool autoSized = child->GetFixedWidth() == kSizeAuto || child->GetFixedHeight() == kSizeAuto;
    if (autoSized && child->IsReEstimateNeeded()) {
      reEstimateSize_ = true;
      break;
    }
  }
  cachedEstimate_ = size;
  return size;
}

void Box::SetPos(RECT rc) {
  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  Control::SetPos(rc);
  if (alive.expired() || items_.empty()) return;
  layout_access::ArrangeChildren(layout_, items_, Deflate(rect_, layout_access::GetPadding(layout_)));
}

std::wstring Box::GetType() const { return L"Box"; }

void Box::SetInternVisible(bool visible) {
  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  Control::SetInternVisible(visible);
  if (alive.expired()) return;
  const bool shown = IsVisible();
  for (Control* child : std::vector<Control*>(items_)) child->SetInternVisible(shown);
  Invalidate();
}

void Box::SetVisible(bool visible) {
  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  Control::SetVisible(visible);
  if (alive.expired()) return;
  const bool shown = IsVisible();
  for (Control* child : std::vector<Control*>(items_)) child->SetInternVisible(shown);
  Invalidate();
}

void Box::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  Control::SetEnabled(enabled);
  for (Control* child : std::vector<Control*>(items_)) child->SetEnabled(enabled);
  Invalidate();
}

bool Box::IsTabStop() const { return false; }

Control* Box::FindControl(const FindControlCallback& test, void* data, UINT flags, POINT offset) {
  if ((flags & kFindVisible) && !IsVisible()) return nullptr;
  if ((flags & kFindEnabled) && !IsEnabled()) return nullptr;
  const bool hitTest = (flags & kFindHitTest) != 0;
  POINT point = {0, 0};
  if (hitTest) {
    if (!data) return nullptr;
    point = *static_cast<const POINT*>(data);
    if (!PtInRect(&rect_, point)) return nullptr;
    if (!mouseChildEnabled_) return Control::FindControl(test, data, flags);
  }
  if (flags & kFindMeFirst) {
    if (Control* found = Control::FindControl(test, data, flags)) return found;
  }

  const RECT inner = Deflate(rect_, layout_access::GetPadding(layout_));
  POINT shifted = {point.x + offset.x, point.y + offset.y};
  // Floating children are painted where they stand, without the scroll offset, so
  // they are hit-tested at the point as it is; the others scroll with the content.
  POINT unshifted = point;
  auto visit = [&](Control* child) -> Control* {
    void* childData = !hitTest ? data : child->IsFloat() ? static_cast<void*>(&unshifted) : static_cast<void*>(&shifted);
    Control* found = child->FindControl(test, childData, flags, POINT{0, 0});
    if (!found) return nullptr;
    if (!hitTest || found->IsFloat() || PtInRect(&inner, point)) return found;
    return nullptr;
  };
  // Walk a copy: a test may change the tree (a find that removes what it finds).
  const std::vector<Control*> children = items_;
  if (flags & kFindTopFirst) {
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
      if (Control* found = visit(*it)) return found;
    }
  } else {
    for (Control* child : children) {
      if (Control* found = visit(child)) return found;
    }
  }

  if (!(flags & kFindMeFirst)) return Control::FindControl(test, data, flags);
  return nullptr;
}

UIAControlProvider* Box::GetAccessibilityProvider() { return nullptr; }

void Box::HandleEventTemplate(EventArgs& event) {
  if (event.Type >= internaldblclick && event.Type <= internalkillfocus) {
    HandleEvent(event);
    return;
  }
  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  bool result = true;
  if (event.pSender == this) {
    // The box's own event: its own code lists, then its skin lists. A false here
    // skips the skin lists but still lets the bubbled lists run.
    if (!RunListenerLists(codeListeners_, xmlListeners_, event, alive, result)) return;
  }
  // Descendants' events and the box's own both reach the bubbled code lists, whose
  // answer then decides.
  if (!RunListenerLists(bubbledCodeListeners_, bubbledXmlListeners_, event, alive, result)) return;
  if (result) HandleEvent(event);
}

void Box::SetReceivePointer(bool receive) {
  Control::SetReceivePointer(receive);
  for (Control* child : items_) child->SetReceivePointer(receive);
}

void Box::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (layout_access::SetAttribute(layout_, name, value)) return;
  if (name == L"mousechild") {
    SetMouseChildEnabled(value == L"true");
  } else {
    Control::SetAttribute(name, value);
  }
}

void Box::PaintChildren(IRenderContext* context, const RECT& dirty) {
  RECT overlap;
  if (!IntersectRect(&overlap, &dirty, &rect_)) return;
  for (Control* child : items_) {
    if (child->IsVisible()) child->AlphaPaint(context, dirty);
  }
}

void Box::ReloadBkImage() {
  Control::ReloadBkImage();
  for (Control* child : items_) child->ReloadBkImage();
}

void Box::ReleaseBkImage() {
  Control::ReleaseBkImage();
  for (Control* child : items_) child->ReleaseBkImage();
}

void Box::ClearImageCache() {
  Control::ClearImageCache();
  for (Control* child : items_) child->ClearImageCache();
}

int Box::FindSelectable(int index, bool forward) const {
  const int count = static_cast<int>(items_.size());
  if (count == 0) return -1;
  index = std::clamp(index, 0, count - 1);
  auto selectable = [this](int i) {
    Control* child = items_[i];
    return dynamic_cast<IListItem*>(child) != nullptr && child->IsVisible() &&
           child->IsEnabled();
  };
  if (forward) {
    for (int i = index; i < count; ++i) {
      if (selectable(i)) return i;
    }
    return -1;
  }
  for (int i = index; i >= 0; --i) {
    if (selectable(i)) return i;
  }
  return FindSelectable(0, true);
}

Control* Box::GetItemAt(size_t index) const {
  return index < items_.size() ? items_[index] : nullptr;
}

int Box::GetItemIndex(Control* control) const {
  auto it = std::find(items_.begin(), items_.end(), control);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

bool Box::SetItemIndex(Control* control, size_t index) {
  if (index >= items_.size()) return false;
  auto it = std::find(items_.begin(), items_.end(), control);
  if (it == items_.end()) return false;
  Arrange();
  items_.erase(it);
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), control);
  return true;
}

int Box::GetCount() const { return static_cast<int>(items_.size()); }

bool Box::CanAdopt(Control* control) const {
  if (!control) return false;
  // In a box with a window every child has the box as its parent, so a control
  // with another parent is none of its children: filling a list of thousands of
  // items then costs no search through the items already there per item.
  const bool maybeChild = !window_ || control->GetParent() == this;
  if (maybeChild && std::find(items_.begin(), items_.end(), control) != items_.end()) return false;
  // A control sits in one box only; two boxes would both delete it. Moving it
  // takes an explicit Remove from its box first (with auto-destroy off).
  if (Box* current = control->GetParent(); current && current != this && current->GetItemIndex(control) >= 0) {
    return false;
  }
  for (const Control* c = this; c; c = c->GetParent()) {
    if (c == control) return false;
  }
  return true;
}

bool Box::Add(Control* control) { return AddAt(control, items_.size()); }

bool Box::AddAt(Control* control, size_t index) {
  if (index > items_.size() || !CanAdopt(control)) return false;
  if (window_) window_access::InitControls(window_, control, this);
  if (!IsVisible()) {
    control->SetInternVisible(false);
  } else if (openAddBatches_ > 0) {
    arrangeDeferred_ = true;
  } else {
    Arrange();
  }
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), control);
  return true;
}

Box::AddBatch::AddBatch(Box* box, AtEnd atEnd) : box_(box), atEnd_(atEnd) {
  if (!box_) return;
  alive_ = box_->GetWeakFlag();
  ++box_->openAddBatches_;
}

Box::AddBatch::~AddBatch() {
  // The box may have been deleted while the batch was open.
  if (!box_ || alive_.expired()) return;
  if (--box_->openAddBatches_ > 0 || !box_->arrangeDeferred_) return;
  box_->arrangeDeferred_ = false;
  if (box_->IsVisible() && atEnd_ == AtEnd::kArrange) box_->Arrange();
}

void Box::DisposeChild(Control* control) {
  if (!autoDestroyChild_) {
    // The caller owns it now: it keeps its window (so the window can still forget
    // it) but no longer has this box as its parent.
    control->SetWindowAndParent(control->GetWindow(), nullptr, false);
    return;
  }
  if (delayedDestroy_ && window_ && window_access::AddDelayedDelete(window_, control)) return;
  delete control;
}

bool Box::Remove(Control* control) {
  if (!control) return false;
  auto it = std::find(items_.begin(), items_.end(), control);
  if (it == items_.end()) return false;
  Arrange();
  // Take it out of the list before deleting it, so that its destroy event sees
  // a consistent box.
  items_.erase(it);
  DisposeChild(control);
  return true;
}

bool Box::RemoveAt(size_t index) {
  Control* control = GetItemAt(index);
  return control ? Remove(control) : false;
}

void Box::RemoveAll() {
  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  std::vector<Control*> children;
  children.swap(items_);
  for (Control* child : children) DisposeChild(child);
  if (!alive.expired()) Arrange();
}

bool Box::IsAutoDestroyChild() const { return autoDestroyChild_; }
void Box::SetAutoDestroyChild(bool autoDestroy) { autoDestroyChild_ = autoDestroy; }
bool Box::IsDelayedDestroy() const { return delayedDestroy_; }
void Box::SetDelayedDestroy(bool delayed) { delayedDestroy_ = delayed; }
bool Box::IsMouseChildEnabled() const { return mouseChildEnabled_; }
void Box::SetMouseChildEnabled(bool enabled) { mouseChildEnabled_ = enabled; }
Layout* Box::GetLayout() const { return layout_; }

void Box::ReplaceLayout(Layout* layout) {
  if (layout == layout_) return;
  layout_access::Delete(layout_);
  layout_ = layout;
  layout_access::SetOwner(layout_, this);
}

RECT Box::GetPaddingPos() const { return Deflate(GetPos(true), layout_access::GetPadding(layout_)); }

Control* Box::FindChildByName(const std::wstring& name) {
  if (name.empty()) return nullptr;
  FindControlCallback byName = [&name](Control* control, void*) -> Control* {
    const std::wstring& own = control->GetName();
    return !own.empty() && _wcsicmp(own.c_str(), name.c_str()) == 0 ? control : nullptr;
  };
  return FindControl(byName, nullptr, 0);
}

void Box::AttachBubbledEvent(EventType type, const EventCallback& callback) {
  bubbledCodeListeners_[type].push_back(callback);
}

void Box::AttachXmlBubbledEvent(EventType type, const EventCallback& callback) {
  bubbledXmlListeners_[type].push_back(callback);
}

}  // namespace ui
