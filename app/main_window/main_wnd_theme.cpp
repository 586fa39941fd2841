// The colour theme put into effect on the running windows: the main window, its
// menus and the search window repaint with the new colours at once.
#include "app/main_window/main_wnd.h"
#include "app/search_window/search_wnd.h"
#include "data/settings.h"
#include "data/theme_loader.h"
#include "ui/controls/menu_mgr.h"
#include "ui/controls/rich_edit.h"

namespace {

// Controls paint with colours looked up by name, but a text field's text keeps
// the value it was given: each field of the tree looks its colour up again.
void RecolorTree(ui::Control* root) {
  if (!root) return;
  root->FindControl(
      [](ui::Control* control, void*) -> ui::Control* {
        if (auto* edit = dynamic_cast<ui::RichEdit*>(control)) edit->RefreshTextColor();
        return nullptr;
      },
      nullptr, 0);
  root->Invalidate();
}

}  // namespace

bool CMainWnd::ApplyTheme() {
  // A theme that fails to load keeps the current colours.
  const bool loaded = LoadTheme(GetSettings().Theme);
  RecolorTree(GetRoot());
  if (menus_) RecolorTree(menus_->GetRoot());
  if (searchWnd_) RecolorTree(searchWnd_->GetRoot());
  return loaded;
}
