#include "ui/controls/list_box.h"

#include "ui/controls/list_container_element.h"

namespace ui {

ListBox::ListBox(Layout* layout) : ScrollableBox(layout) {}

std::wstring ListBox::GetType() const { return L"ListBox"; }

void ListBox::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"scrollselect") {
    SetScrollSelect(value == L"true");
  } else {
    ScrollableBox::SetAttribute(name, value);
  }
}

void ListBox::Renumber() {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (auto* item = dynamic_cast<ListContainerElement*>(items_[i])) {
      item->SetOwner(this);
      item->SetIndex(static_cast<int>(i));
    }
  }
}

bool ListBox::AddAt(Control* control, size_t index) {
  if (!ScrollableBox::AddAt(control, index)) return false;
  if (curSel_ >= static_cast<int>(index)) ++curSel_;
  Renumber();
  return true;
}

bool ListBox::Remove(Control* control) {
  const int index = GetItemIndex(control);
  if (auto* item = dynamic_cast<ListContainerElement*>(control)) item->SetOwner(nullptr);
  if (!ScrollableBox::Remove(control)) return false;
  if (index == curSel_) {
    curSel_ = -1;
  } else if (index < curSel_) {
    --curSel_;
  }
  Renumber();
  return true;
}

void ListBox::RemoveAll() {
  for (Control* child : items_) {
    if (auto* item = dynamic_cast<ListContainerElement*>(child)) item->SetOwner(nullptr);
  }
  curSel_ = -1;
  ScrollableBox::RemoveAll();
}

bool ListBox::SelectItem(int index, bool takeFocus, bool trigger) {
  if (index == curSel_) return true;
  const int old = curSel_;
  if (old >= 0) {
    if (auto* item = dynamic_cast<ListContainerElement*>(GetItemAt(old))) item->Selected(false, false);
    curSel_ = -1;
  }
  if (index < 0) return false;
  auto* item = dynamic_cast<ListContainerElement*>(GetItemAt(static_cast<size_t>(index)));
  if (!item || !item->IsVisible() || !item->IsEnabled()) return false;
  curSel_ = index;
  item->Selected(true, false);
  if (takeFocus) item->SetFocus();
  if (trigger) SendEvent(select, static_cast<WPARAM>(curSel_), old);
  return true;
}

}  // namespace ui
