#include "ui/core/tab_box.h"

#include <cwchar>

#include "ui/base/animation_player.h"
#include "ui/core/window.h"

namespace ui {

namespace {

void SetMouseInput(Control* child, bool enabled) {
  child->SetMouseEnabled(enabled);
  if (auto* box = dynamic_cast<Box*>(child)) box->SetMouseChildEnabled(enabled);
}

}  // namespace

TabBox::TabBox() = default;

std::wstring TabBox::GetType() const { return L"TabBox"; }

void TabBox::DoInit() {
  Box::DoInit();
  initialised_ = true;
  if (initialSelection_ >= 0) SelectItem(initialSelection_);
}

void TabBox::PutInSelectedState(Control* child) {
  SetMouseInput(child, true);
  child->SetAlpha(255);
  child->Invalidate();
}

void TabBox::PutInUnselectedState(Control* child) {
  SetMouseInput(child, false);
  child->SetAlpha(0);
  child->Invalidate();
  if (!fadeSwitch_) child->SetVisible(false);
}

void TabBox::HideItem(int index) {
  Control* child = GetItemAt(static_cast<size_t>(index));
  if (!child || index < 0) return;
  SetMouseInput(child, false);
  child->SetAlpha(0);
  child->Invalidate();
}

void TabBox::HideSlidOutPage(Control* page) {
  const int index = GetItemIndex(page);
  if (index >= 0 && index != selected_) HideItem(index);
}

void TabBox::Slide(Control* child, int from, int to, std::function<void()> completion) {
  AnimationPlayer* player = child->GetAnimations().SetFadeInOutX(true, false);
  player->SetStartValue(from);
  player->SetEndValue(to);
  player->SetAccelerateFactor(kSlideAccelerateFactor);
  player->SetCompleteCallback(std::move(completion));
  player->Start();
}

bool TabBox::SelectItem(int index) {
  if (index < 0 || index >= GetCount()) return false;
  if (index == selected_) return true;
  const int old = selected_;
  selected_ = index;
  const int width = GetWidth();
  const bool backwards = index < old;
  for (int i = 0; i < GetCount(); ++i) {
    Control* child = GetItemAt(static_cast<size_t>(i));
    if (i == index) {
      PutInSelectedState(child);
      if (fadeSwitch_) {
        Slide(child, backwards ? width : -width, 0, nullptr);
      } else {
        child->SetFadeVisible(true);
      }
    } else if (i == old && fadeSwitch_) {
      // Bound to the page, not its index: pages added or removed during the slide
      // shift the indexes, and the one at the old index may be the selected page.
      Slide(child, 0, backwards ? -width : width, ToWeakCallback([this, child]() { HideSlidOutPage(child); }));
    } else {
      HideItem(i);
      if (!fadeSwitch_) child->SetFadeVisible(false);
    }
  }
  if (Window* window = GetWindow()) {
    window->MoveFocusToNextControl(true);
    window->SendControlEvent(this, select, static_cast<WPARAM>(index), static_cast<LPARAM>(old));
  }
  return true;
}

bool TabBox::Add(Control* control) {
  // The box's own Add would come back through AddAt.
  if (!Box::AddAt(control, items_.size())) return false;
  if (selected_ < 0 && control->IsVisible()) selected_ = GetItemIndex(control);
  if (GetItemIndex(control) == selected_ && control->IsVisible()) return true;
  PutInUnselectedState(control);
  return true;
}

bool TabBox::AddAt(Control* control, size_t index) {
  if (!Box::AddAt(control, index)) return false;
  if (selected_ < 0 && control->IsVisible()) {
    selected_ = static_cast<int>(index);
    return true;
  }
  if (selected_ >= static_cast<int>(index)) ++selected_;
  PutInUnselectedState(control);
  return true;
}

bool TabBox::Remove(Control* control) {
  const int index = GetItemIndex(control);
  if (!Box::Remove(control)) return false;
  if (index != selected_) {
    if (index < selected_) --selected_;
    return true;
  }
  if (GetCount() == 0) {
    selected_ = -1;
    ArrangeAncestor();
    return true;
  }
  selected_ = 0;
  Control* first = GetItemAt(0);
  if (!fadeSwitch_) first->SetFadeVisible(true);
  PutInSelectedState(first);
  ArrangeAncestor();
  return true;
}

void TabBox::RemoveAll() {
  selected_ = -1;
  Box::RemoveAll();
  ArrangeAncestor();
}

void TabBox::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"selectedid") {
    int index = _wtoi(value.c_str());
    if (initialised_) {
      SelectItem(index);
    } else {
      initialSelection_ = index;
    }
  } else if (name == L"fadeswitch") {
    fadeSwitch_ = value == L"true";
    for (int i = 0; i < GetCount(); ++i) {
      if (i != selected_) GetItemAt(static_cast<size_t>(i))->SetFadeVisible(fadeSwitch_);
    }
  } else {
    Box::SetAttribute(name, value);
  }
}

}  // namespace ui
