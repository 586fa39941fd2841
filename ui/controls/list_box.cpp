#include "ui/controls/list_box.h"

#include <algorithm>

#include "ui/base/animation_player.h"
#include "ui/controls/list_container_element.h"
#include "ui/core/layout.h"
#include "ui/core/scroll_bar.h"
#include "ui/core/window.h"

namespace ui {

namespace {

bool KeyDown(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

}  // namespace

ListBox::ListBox(Layout* layout) : ScrollableBox(layout) {}

std::wstring ListBox::GetType() const { return L"ListBox"; }

void ListBox::HandleEventTemplate(EventArgs& event) { ScrollableBox::HandleEventTemplate(event); }

void ListBox::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"scrollselect") {
    SetScrollSelect(value == L"true");
  } else {
    ScrollableBox::SetAttribute(name, value);
  }
}

ListContainerElement* ListBox::ItemAt(int index) const {
  if (index < 0 || index >= GetCount()) return nullptr;
  return dynamic_cast<ListContainerElement*>(GetItemAt(static_cast<size_t>(index)));
}

ListContainerElement* ListBox::SelectableAt(int index) const {
  ListContainerElement* item = ItemAt(index);
  return item && item->IsVisible() && item->IsEnabled() ? item : nullptr;
}

void ListBox::Renumber(int first, int last) {
  last = std::min(last, GetCount() - 1);
  for (int i = std::max(first, 0); i <= last; ++i) {
    if (ListContainerElement* item = ItemAt(i)) {
      item->SetOwner(this);
      item->SetIndex(i);
    }
  }
}

// Selection.

int ListBox::GetSelectedCount() const {
  int count = 0;
  for (int i = 0; i < GetCount(); ++i) {
    if (ListContainerElement* item = ItemAt(i); item && item->IsSelected()) ++count;
  }
  return count;
}

int ListBox::GetNextSelected(int after) const {
  for (int i = std::max(after + 1, 0); i < GetCount(); ++i) {
    if (ListContainerElement* item = ItemAt(i); item && item->IsSelected()) return i;
  }
  return -1;
}

bool ListBox::SelectItem(int index, bool takeFocus, bool trigger) {
  for (int i = 0; i < GetCount(); ++i) {
    if (i == index) continue;
    if (ListContainerElement* item = ItemAt(i)) item->SetItemSelected(false, true);
  }
  curSel_ = -1;
  if (index < 0) return false;
  return SelectMultiItem(index, takeFocus, trigger);
}

bool ListBox::SelectMultiItem(int index, bool takeFocus, bool trigger) {
  if (index < 0) return false;
  ListContainerElement* item = SelectableAt(index);
  // The current item may have been toggled off by a Ctrl-click: select it again.
  if (index == curSel_ && item && item->IsSelected()) return true;
  if (!item) return false;
  const int old = curSel_;
  curSel_ = index;
  item->SetItemSelected(true, true);
  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  if (takeFocus) item->SetFocus();
  if (alive.expired()) return true;
  if (Window* window = GetWindow(); window && trigger) {
    window->SendControlEvent(this, select, static_cast<WPARAM>(curSel_), old);
  }
  return true;
}

bool ListBox::SelectItemByClick(int index) {
  if (index < 0) return false;
  const bool shift = KeyDown(VK_SHIFT);
  const bool ctrl = KeyDown(VK_CONTROL);
  if (!shift && !ctrl) return SelectItem(index, false, true);
  ListContainerElement* item = SelectableAt(index);
  if (!item) return false;
  Window* window = GetWindow();
  if (ctrl) {
    const int old = curSel_;
    curSel_ = index;
    item->SetItemSelected(!item->IsSelected(), true);
    if (item->IsSelected() && window) window->SendControlEvent(this, select, static_cast<WPARAM>(index), old);
    return true;
  }
  const int anchor = curSel_ < 0 ? 0 : curSel_;
  const int low = std::min(anchor, index);
  const int high = std::max(anchor, index);
  for (int i = 0; i < GetCount(); ++i) {
    if (ListContainerElement* other = ItemAt(i)) other->SetItemSelected(i >= low && i <= high, true);
  }
  if (window) window->SendControlEvent(this, select, static_cast<WPARAM>(index), curSel_);
  return true;
}

// Visibility and scrolling.

bool ListBox::EnsureVisible(int index) {
  if (index < 0 || index >= GetCount()) return false;
  Control* child = GetItemAt(static_cast<size_t>(index));
  if (!child || !child->IsVisible() || !child->IsEnabled()) return false;
  const RECT place = child->GetPos();
  // Filled before its first layout (a dialog opening on a far item): the item has
  // no place yet to scroll to.
  if (IsRectEmpty(&place)) {
    pendingVisible_ = index;
    return true;
  }
  pendingVisible_ = -1;
  EnsureVisibleRect(place);
  return true;
}

void ListBox::SetPos(RECT rc) {
  ScrollableBox::SetPos(rc);
  if (pendingVisible_ < 0) return;
  const int index = pendingVisible_;
  pendingVisible_ = -1;
  Control* child = index < GetCount() ? GetItemAt(static_cast<size_t>(index)) : nullptr;
  if (child) {
    const RECT place = child->GetPos();
    if (!IsRectEmpty(&place)) EnsureVisibleRect(place);
  }
}

void ListBox::EnsureVisibleRect(const RECT& rect) {
  const SIZE scroll = GetScrollPos();
  RECT shifted = rect;
  OffsetRect(&shifted, -scroll.cx, -scroll.cy);
  RECT area = GetPos();
  const RECT padding = GetLayout() ? GetLayout()->GetPadding() : RECT{0, 0, 0, 0};
  area.left += padding.left;
  area.top += padding.top;
  area.right -= padding.right;
  area.bottom -= padding.bottom;
  if (ScrollBar* bar = GetHorizontalScrollBar(); bar && bar->IsVisible()) area.bottom -= bar->GetFixedHeight();
  if (shifted.left >= area.left && shifted.top >= area.top && shifted.right <= area.right &&
      shifted.bottom <= area.bottom) {
    // Nested lists bring the item into view outward.
    if (auto* parentItem = dynamic_cast<ListContainerElement*>(GetParent())) {
      if (IListOwner* owner = parentItem->GetOwner()) owner->EnsureVisibleRect(shifted);
    }
    return;
  }
  auto delta = [](LONG low, LONG high, LONG areaLow, LONG areaHigh) -> LONG {
    if (high > areaHigh) return high - areaHigh;
    if (low < areaLow) return low - areaLow;
    return 0;
  };
  const LONG dx = delta(shifted.left, shifted.right, area.left, area.right);
  const LONG dy = delta(shifted.top, shifted.bottom, area.top, area.bottom);
  SetScrollPos(SIZE{scroll.cx + dx, scroll.cy + dy});
}

void ListBox::StopScroll() {
  // Reset, not just cancelled: a cancelled player still counts as playing, and
  // the next wheel notch would extend the abandoned target.
  if (AnimationPlayer* player = GetScrollAnimation()) player->Reset();
}

bool ListBox::ButtonDown(EventArgs& event) {
  const bool result = ScrollableBox::ButtonDown(event);
  StopScroll();
  return result;
}

bool ListBox::ScrollItemToTop(const std::wstring& name) {
  for (int i = 0; i < GetCount(); ++i) {
    Control* child = GetItemAt(static_cast<size_t>(i));
    if (!child || child->GetName() != name) continue;
    if (GetScrollRange().cy == 0) return false;
    const RECT padding = GetLayout() ? GetLayout()->GetPadding() : RECT{0, 0, 0, 0};
    const int offset = child->GetPos().top - (GetPos().top + padding.top);
    if (offset < 0) return false;
    SetScrollPos(SIZE{GetScrollPos().cx, offset});
    return true;
  }
  return false;
}

Control* ListBox::GetTopItem() {
  const RECT padding = GetLayout() ? GetLayout()->GetPadding() : RECT{0, 0, 0, 0};
  const int top = GetScrollPos().cy + GetPos().top + padding.top;
  for (int i = 0; i < GetCount(); ++i) {
    Control* child = GetItemAt(static_cast<size_t>(i));
    if (child && child->IsVisible() && !child->IsFloat() && child->GetPos().bottom >= top) return child;
  }
  return nullptr;
}

// Events.

int ListBox::StepTarget(bool forward) const {
  const int count = GetCount();
  int target = -1;
  if (forward) {
    // A forward search past the last selectable item finds nothing.
    if (curSel_ + 1 < count) target = FindSelectable(curSel_ + 1, true);
  } else {
    target = FindSelectable(curSel_ - 1, false);
  }
  if (target < 0 && SelectableAt(curSel_)) return curSel_;
  return target;
}

void ListBox::HandleEvent(EventArgs& event) {
  if (!IsMouseEnabled() && event.Type >= mousemove && event.Type <= scrollwheel) {
    if (Box* parent = GetParent()) {
      parent->HandleEventTemplate(event);
    } else {
      ScrollableBox::HandleEvent(event);
    }
    return;
  }
  switch (event.Type) {
    case keydown: {
      int target = -2;
      switch (event.chKey) {
        // End looks backward from the last item, so a disabled or hidden last
        // item does not clear the selection.
        case VK_END: target = FindSelectable(GetCount() - 1, false); break;
        case VK_HOME: target = FindSelectable(0, false); break;
        case VK_UP: target = StepTarget(false); break;
        case VK_DOWN: target = StepTarget(true); break;
        default: break;
      }
      if (target == -2) break;
      SelectItem(target, true, true);
      if (target >= 0) EnsureVisible(target);
      return;
    }
    // A press on the list itself (or handed on by a mouse-disabled item) halts
    // a smooth scroll; items handle their own clicks.
    case buttondown:
      ButtonDown(event);
      return;
    case buttonup:
      ButtonUp(event);
      return;
    case scrollwheel:
      if (!scrollSelect_) break;
      {
        const int target = StepTarget(static_cast<int>(event.wParam) <= 0);
        SelectItem(target, true, true);
        if (target >= 0) EnsureVisible(target);
      }
      return;
    default:
      break;
  }
  ScrollableBox::HandleEvent(event);
}

// Children.

bool ListBox::Add(Control* control) { return AddAt(control, static_cast<size_t>(GetCount())); }

bool ListBox::AddAt(Control* control, size_t index) {
  if (!ScrollableBox::AddAt(control, index)) return false;
  const int at = static_cast<int>(index);
  if (curSel_ >= 0 && curSel_ >= at) ++curSel_;
  Renumber(at, GetCount() - 1);
  return true;
}

bool ListBox::Remove(Control* control) {
  const int index = GetItemIndex(control);
  if (index < 0) return false;
  return RemoveAt(static_cast<size_t>(index));
}

bool ListBox::RemoveAt(size_t index) {
  Control* child = GetItemAt(index);
  if (!child) return false;
  if (auto* item = dynamic_cast<ListContainerElement*>(child)) {
    item->SetOwner(nullptr);
    item->SetIndex(-1);
  }
  // The box's own removal: its RemoveAt would come back here through Remove.
  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  if (!ScrollableBox::Remove(child)) return false;
  if (alive.expired()) return true;
  const int at = static_cast<int>(index);
  Renumber(at, GetCount() - 1);
  const int old = curSel_;
  if (at == old && old >= 0 && reselectOnRemove_) {
    curSel_ = old - 1;
    SelectItem(FindSelectable(old, false), false, true);
  } else if (old >= 0 && at < old) {
    curSel_ = old - 1;
  }
  return true;
}

void ListBox::RemoveAll() {
  curSel_ = -1;
  pendingVisible_ = -1;
  for (int i = 0; i < GetCount(); ++i) {
    if (ListContainerElement* item = ItemAt(i)) {
      item->SetOwner(nullptr);
      item->SetIndex(-1);
    }
  }
  ScrollableBox::RemoveAll();
}

bool ListBox::SetItemIndex(Control* control, size_t index) {
  const int old = GetItemIndex(control);
  if (old < 0) return false;
  const int to = static_cast<int>(index);
  if (old == to) return true;
  if (to < 0 || to >= GetCount()) return false;
  ListContainerElement* current = ItemAt(curSel_);
  if (!ScrollableBox::SetItemIndex(control, index)) return false;
  Renumber(std::min(old, to), std::max(old, to));
  if (current) curSel_ = current->GetIndex();
  return true;
}

}  // namespace ui
