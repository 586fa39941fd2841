// Launching a link from the main window, and the window's end.
#include <windows.h>
#include <shellapi.h>

#include "app/hot_key_dispatch.h"
#include "app/launch_thread.h"
#include "app/main_wnd.h"
#include "data/hot_key_table.h"
#include "data/icon_cache.h"
#include "data/link_store.h"
#include "data/settings.h"

void CMainWnd::LaunchLink(const std::shared_ptr<Link>& link) {
  if (link) StartLinkThread(*link, false);
}

LRESULT CMainWnd::OnDestroy(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  // A window destroyed without closing still takes its search window and hook along.
  DestroySearchWindow();
  PostQuitMessage(0);
  return 0;
}

LRESULT CMainWnd::OnHotKey(UINT, WPARAM, LPARAM lParam, bool& handled) {
  handled = true;
  HotKeyActions actions;
  actions.toggleMain = [this] { ToggleMain(); };
  actions.showSearch = [this] { return ShowSearch(); };
  actions.launchLink = [this](const std::shared_ptr<Link>& link) { LaunchLink(link); };
  actions.saveRunCount = [](const std::shared_ptr<Link>& link) { GetLinkStore().SaveRunCount(link); };
  actions.rebuildTagView = [this] { OnTagSelect(nullptr); };
  DispatchHotKey(lParam, GetSettings(), GetHotKeyTable(), actions);
  return 0;
}

