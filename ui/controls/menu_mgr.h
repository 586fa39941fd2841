// Popup menus from a skin menu file: each direct child of the file's root is a
// named level, shown in its own popup window; ShowMenu runs a modal loop until
// an item is clicked or the menu is dismissed.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "ui/base/weak_callback.h"

namespace ui {

class Control;
class CMenuItem;
class CMenuUI;

class CMenuMgr : public nbase::SupportWeakCallback {
 public:
  explicit CMenuMgr(HWND owner = nullptr);
  ~CMenuMgr() override;
  CMenuMgr(const CMenuMgr&) = delete;
  CMenuMgr& operator=(const CMenuMgr&) = delete;

  // Builds the menu file (relative to the skin's resource root) for the owner
  // window; each level's window is created when the level is first shown (or
  // asked for). A file that cannot be built is reported in a message box and
  // leaves the manager without levels (false).
  bool LoadXml(HWND owner, const std::wstring& path);
  // The level of that name, or null.
  CMenuUI* FindMenu(const std::wstring& name) const;
  bool IsMenuWindow(HWND hwnd) const;
  // Shows the level at the screen point, kept inside the work area, and returns
  // the clicked item once the menu has closed, or null when it was dismissed,
  // names no level, or a menu of this manager is already open.
  CMenuItem* ShowMenu(const std::wstring& name, int x, int y, bool foreground = false);

  // The skin builder's classes of a menu file: "MenuUI" and "MenuItem".
  Control* CreateMenuControl(const std::wstring& className);
  // An item without a sub-menu was clicked: the loop ends with it.
  void OnItemClicked(CMenuItem* item);
  // Ends an open menu's loop as a dismissal (ShowMenu returns null); nothing
  // when no menu is open.
  void Dismiss();
  bool IsRunning() const { return running_; }
  // Told true when a menu's loop starts and false when it has ended, so that the
  // owner can hold still (no sliding, no hiding) while the user is in a menu.
  void SetLoopObserver(std::function<void(bool running)> observer) { loopObserver_ = std::move(observer); }

  HWND GetOwner() const { return owner_; }
  CMenuUI* GetOpenMenu() const { return openMenu_; }
  Control* GetRoot() const { return root_.get(); }

  // Opacity (0-255) of every menu window; the application sets it from its
  // settings.
  static void SetMenuAlpha(int alpha);
  static int GetMenuAlpha();

 private:
  void RunMenuLoop(bool foreground);
  static bool ForegroundTakenFrom(HWND watched, bool tookForeground);
  void CloseOpenMenu();
  void LinkSubMenus();

  HWND owner_ = nullptr;
  CMenuUI* openMenu_ = nullptr;
  std::unique_ptr<Control> root_;
  bool done_ = false;
  CMenuItem* result_ = nullptr;
  bool running_ = false;
  std::function<void(bool)> loopObserver_;
};

}  // namespace ui
