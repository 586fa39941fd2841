// The main window's global chords: each WM_HOTKEY goes to the dispatch with the
// window's own actions (show or hide, the search window, launching a link).
#include <windows.h>

#include "app/hot_keys/hot_key_dispatch.h"
#include "app/main_window/main_wnd.h"
#include "app/main_window/main_wnd_notices.h"
#include "data/hot_key_table.h"
#include "data/link_store.h"
#include "data/settings.h"

LRESULT CMainWnd::OnHotKey(UINT, WPARAM, LPARAM lParam, bool& handled) {
  handled = true;
  HotKeyActions actions;
  actions.toggleMain = [this] { ToggleMain(); };
  actions.showSearch = [this] { return ShowSearch(); };
  actions.launchLink = [this](const std::shared_ptr<Link>& link) { LaunchLink(link); };
  actions.saveRunCount = [this](const std::shared_ptr<Link>& link) {
    if (!GetLinkStore().SaveRunCount(link)) ShowNotice(kSaveFailedNotice);
  };
  actions.rebuildTagView = [this] { OnTagSelect(nullptr); };
  DispatchHotKey(lParam, GetSettings(), GetHotKeyTable(), actions);
  return 0;
}
