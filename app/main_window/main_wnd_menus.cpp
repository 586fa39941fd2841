// Menu and title-button handlers of the main window. Of the context menus only
// the card menu is part of the program yet: other menu events are let through
// unhandled, and of the title buttons the close and search buttons act.
#include "app/main_window/main_wnd.h"
#include "ui/core/control.h"

bool CMainWnd::OnTitleButtonClick(ui::EventArgs* event) {
  if (!event || !event->pSender) return true;
  const std::wstring& name = event->pSender->GetName();
  // The close button only hides, like Esc: at once, also when docked.
  if (name == L"btn_close") HideAtOnce();
  if (name == L"btn_search") ShowSearch();
  if (name == L"btn_menu" || name == L"btn_skin") ShowTitleButtonMenu(name == L"btn_menu" ? L"main_menu" : L"menu_skin");
  return true;
}

bool CMainWnd::OnLinkMenu(ui::EventArgs* event) { return Menus() ? ShowCardMenu(event, *Menus()) : false; }
