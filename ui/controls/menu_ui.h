// One level of a popup menu: a vertical list of menu items shown in a popup
// window of its own. A level opened from an item of another level is that
// level's sub-menu.
#pragma once

#include <windows.h>

#include "ui/controls/list_box.h"

namespace ui {

class CMenuItem;
class CMenuMgr;
class CMenuWnd;

class CMenuUI : public ListBox {
 public:
  CMenuUI();
  // Lets go of the popup window and closes it.
  ~CMenuUI() override;

  // Menu items added here, also later by the application, belong to this level:
  // they report their clicks to its manager.
  bool Add(Control* control) override;
  bool AddAt(Control* control, size_t index) override;
  bool Remove(Control* control) override;
  bool RemoveAt(size_t index) override;
  void RemoveAll() override;

  // Hooks for derived levels: an item became the hot one; another item is no
  // longer hot (or the mouse left it while its sub-menu is closed).
  virtual void OnItemHot(CMenuItem* item);
  virtual void OnItemNotHot(CMenuItem* item);

  // The mouse entered an enabled item: it becomes the hot item and opens its
  // sub-menu beside it, closing the sub-menu of the item that was hot before.
  void SetHotItem(CMenuItem* item);
  CMenuItem* GetHotItem() const { return hotItem_; }
  void ClearHotItem() { hotItem_ = nullptr; }

  // Shows the window with its top-left corner at the screen point, without
  // taking the activation; the selection is cleared.
  void ShowAt(POINT screenPoint);
  // Hides the window and, through the hot item, the open sub-menus below it.
  void HideMenu();
  // Sizes the level against the space available and places it at (0, 0).
  SIZE FitToArea(SIZE available);

  // Creates the level's popup window (once), owned by `owner`.
  bool CreateMenuWnd(HWND owner);
  // The popup window, created on first use: a menu file of many levels costs no
  // windows until its menus are opened. A sub-menu's window is owned by its parent
  // level's window, any other level's by the window given to SetMenuOwner. Null
  // when it cannot be created.
  CMenuWnd* GetMenuWnd();
  // The popup window if it exists already; never creates it.
  CMenuWnd* GetCreatedMenuWnd() const { return window_; }
  void SetMenuOwner(HWND owner) { owner_ = owner; }
  // Called by the window while it goes away: the level and its items no longer
  // belong to any window.
  void OnMenuWndGone();

  CMenuMgr* GetManager() const { return manager_; }
  void SetManager(CMenuMgr* manager) { manager_ = manager; }
  CMenuUI* GetParentMenu() const { return parentMenu_; }
  void SetParentMenu(CMenuUI* menu) { parentMenu_ = menu; }
  CMenuItem* GetParentItem() const { return parentItem_; }
  void SetParentItem(CMenuItem* item) { parentItem_ = item; }

 private:
  void Adopt(Control* control);
  void Disown(Control* control);

  CMenuMgr* manager_ = nullptr;
  CMenuWnd* window_ = nullptr;
  HWND owner_ = nullptr;
  CMenuItem* hotItem_ = nullptr;
  CMenuUI* parentMenu_ = nullptr;
  CMenuItem* parentItem_ = nullptr;
};

}  // namespace ui
