#include "ui/core/scroll_bar.h"

#include "ui/core/attribute_numbers.h"
#include "ui/core/scroll_access.h"

namespace ui {

ScrollBar::ScrollBar() {
  fixedWidth_ = 16;
  fixedHeight_ = 0;
  // A bar dragged while its window loses the focus must be released.
  SetButtonUpOnFocusLoss(true);
}

ScrollBar::~ScrollBar() = default;

std::wstring ScrollBar::GetType() const { return L"ScrollBar"; }

void ScrollBar::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const bool on = value == L"true";
  if (name == L"hor") {
    SetHorizontal(on);
  } else if (name == L"showbutton1") {
    showButton1_ = on;
  } else if (name == L"showbutton2") {
    showButton2_ = on;
  } else if (name == L"autohidescroll") {
    autoHide_ = on;
  } else if (name == L"linesize") {
    lineSize_ = ParseInt(value);
  } else if (name == L"thumbminlength") {
    thumbMinLength_ = ParseInt(value);
  } else if (name == L"range") {
    SetScrollRange(ParseInt(value));
  } else if (name == L"value") {
    SetScrollPos(ParseInt(value));
  } else {
    Control::SetAttribute(name, value);
  }
}

void ScrollBar::SetScrollRange(int64_t range) {
  if (range == range_) return;
  if (range < 0) range = 0;
  range_ = range;
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
  if (pos < 0) pos = 0;
  if (pos > range_) pos = range_;
  pos_ = pos;
  SetPos(GetPos());
}

void ScrollBar::SetHorizontal(bool horizontal) {
  if (horizontal_ == horizontal) return;
  horizontal_ = horizontal;
  if (!horizontal) return;
  if (fixedHeight_ == 0) {
    fixedWidth_ = 0;
    fixedHeight_ = 16;
  }
  if (owner_) {
    scroll_access::ArrangeOwner(owner_);
  } else {
    ArrangeAncestor();
  }
}

}  // namespace ui
