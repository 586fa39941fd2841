// One item of a popup menu level: a list item that may open another level (its
// sub-menu) when the mouse rests on it, and that ends the menu when clicked.
#pragma once

#include <string>

#include "ui/controls/list_container_element.h"

namespace ui {

class CMenuUI;

class CMenuItem : public ListContainerElement {
 public:
  CMenuItem() = default;

  // "extendmenu" names the level this item opens, "command" is free text kept for
  // the application, "group" the option group; the rest as for a check box.
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void HandleEvent(EventArgs& event) override;

  // Links the level as this item's sub-menu (null unlinks). A level that would
  // open itself or one of the levels above this item is refused: the item is left
  // without a sub-menu and the answer is false.
  bool SetSubMenu(CMenuUI* level);
  CMenuUI* GetSubMenu() const { return subMenu_; }
  bool HasSubMenu() const { return hasSubMenu_; }
  const std::wstring& GetSubMenuName() const { return subMenuName_; }
  bool IsSubMenuOpen() const { return subMenuOpen_; }
  void SetSubMenuOpen(bool open) { subMenuOpen_ = open; }
  const std::wstring& GetCommand() const { return command_; }
  CMenuUI* GetOwnerMenu() const { return ownerMenu_; }
  void SetOwnerMenu(CMenuUI* menu) { ownerMenu_ = menu; }

 private:
  void SetHotBit(bool hot);

  std::wstring subMenuName_;
  std::wstring command_;
  CMenuUI* ownerMenu_ = nullptr;
  CMenuUI* subMenu_ = nullptr;
  bool hasSubMenu_ = false;
  bool subMenuOpen_ = false;
};

}  // namespace ui
