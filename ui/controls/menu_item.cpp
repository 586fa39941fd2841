#include "ui/controls/menu_item.h"

#include "ui/controls/menu_mgr.h"
#include "ui/controls/menu_ui.h"
#include "ui/core/box.h"

namespace ui {

void CMenuItem::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"extendmenu") {
    subMenuName_ = value;
    hasSubMenu_ = true;
  } else if (name == L"command") {
    command_ = value;
  } else {
    ListContainerElement::SetAttribute(name, value);
  }
}

bool CMenuItem::SetSubMenu(CMenuUI* level) {
  if (!level) {
    hasSubMenu_ = false;
    subMenu_ = nullptr;
    return true;
  }
  // A level may not open itself or a level it is opened from: the chain of
  // sub-menus would never end.
  for (CMenuUI* above = ownerMenu_; above; above = above->GetParentMenu()) {
    if (above == level) {
      hasSubMenu_ = false;
      subMenu_ = nullptr;
      return false;
    }
  }
  hasSubMenu_ = true;
  subMenu_ = level;
  level->SetParentMenu(ownerMenu_);
  level->SetParentItem(this);
  return true;
}

void CMenuItem::SetHotBit(bool hot) {
  const int state = hot ? (state_ | kControlStateHot) : (state_ & ~kControlStateHot);
  state_ = static_cast<ControlState>(state);
  // The item's hot colour shows at once: menus do not fade.
  SetHotAlpha(hot ? 255 : 0);
}

void CMenuItem::HandleEvent(EventArgs& event) {
  if (!IsMouseEnabled() && event.Type >= mousemove && event.Type <= scrollwheel) {
    if (Box* parent = GetParent()) parent->HandleEventTemplate(event);
    return;
  }
  if (event.Type == mouseleave) {
    if (!(state_ & kControlStateHot)) return;
    SetHotBit(false);
    if (!subMenuOpen_ && ownerMenu_) {
      ownerMenu_->OnItemNotHot(this);
      if (ownerMenu_->GetHotItem() == this) ownerMenu_->ClearHotItem();
    }
    Invalidate();
    return;
  }
  if (!IsEnabled()) return;
  switch (event.Type) {
    case doubleclick:
      Activate();
      Invalidate();
      break;
    case keydown:
      if (event.chKey == VK_RETURN) {
        Activate();
        Invalidate();
      }
      break;
    case mouseenter:
      SetHotBit(true);
      if (ownerMenu_) ownerMenu_->SetHotItem(this);
      Invalidate();
      break;
    case buttondown:
      static_cast<IListItem*>(this)->Selected(true, true);
      Invalidate();
      break;
    case buttonup:
      // An item that opens a level only opens it; it never ends the menu.
      if (ownerMenu_ && !hasSubMenu_) {
        if (CMenuMgr* manager = ownerMenu_->GetManager()) manager->OnItemClicked(this);
      }
      break;
    default:
      break;
  }
}

}  // namespace ui
