// The main, tray and theme menus: showing parts of the window, whole-store view
// and path changes, icon and database upkeep, the hot-key overview and the
// settings dialog, a built-in function, the colour theme, and quitting. Store
// changes are written first and the cards rebuilt only when the store took them.
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "app/dialogs/hot_key_wnd.h"
#include "app/launching/launch_thread.h"
#include "app/launching/shell_actions.h"
#include "app/main_window/main_wnd.h"
#include "app/main_window/main_wnd_notices.h"
#include "app/new_links/link_record.h"
#include "data/icon_cache.h"
#include "data/link_store.h"
#include "data/program_dir.h"
#include "data/settings.h"
#include "data/system_links.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/controls/menu_item.h"
#include "ui/controls/menu_mgr.h"
#include "ui/controls/menu_ui.h"

namespace {

// An optional batch file beside the program that clears the system's icon cache.
constexpr wchar_t kRefreshSysIconBatch[] = L"清除Windows系统图标缓存.bat";

// Shows a hidden control and hides a shown one; the answer is its new visibility.
bool ToggleVisible(ui::Control* control) {
  if (!control) return false;
  const bool show = !control->IsVisible();
  control->SetFadeVisible(show);
  return show;
}

}  // namespace

bool CMainWnd::OnTitleBoxMenu(ui::EventArgs*) {
  POINT cursor = {};
  GetCursorPos(&cursor);
  return OnMenuCommand(cursor.x, cursor.y, L"main_menu", false);
}

bool CMainWnd::OnMenuCommand(int x, int y, const std::wstring& menuName, bool topMost) {
  if (!Menus()) return true;
  if (ui::CMenuItem* item = Menus()->ShowMenu(menuName, x, y, topMost)) RunMainMenuCommand(item);
  return true;
}

bool CMainWnd::RunMainMenuCommand(ui::CMenuItem* item) {
  if (!item) return false;
  const std::wstring command = item->GetName();
  Settings& settings = GetSettings();
  LinkStore& store = GetLinkStore();
  // A whole-store change: the cards follow only when the store took it.
  auto storeChange = [this](bool written) {
    if (written) {
      OnTagSelect(nullptr);
    } else {
      ShowNotice(kSaveFailedNotice);
    }
    return true;
  };

  if (command == L"hide_tile") {
    if (!titleBoxInside_) return false;
    settings.bShowTitle = ToggleVisible(titleBoxInside_);
    settings.Save();
  } else if (command == L"hide_group") {
    if (!majorGroupBox_) return false;
    settings.bShowGroup = ToggleVisible(majorGroupBox_);
    settings.Save();
  } else if (command == L"hide_tag") {
    if (!tagList_) return false;
    settings.bShowTag = ToggleVisible(tagList_);
    if (minorGroupLine_) minorGroupLine_->SetFadeVisible(settings.bShowTag);
    settings.Save();
  } else if (command == L"change_absolute") {
    return storeChange(store.ConvertPathsToAbsolute());
  } else if (command == L"change_relative") {
    return storeChange(store.ConvertPathsToRelative());
  } else if (command == L"help") {
    return OpenDocument(ShippedDocument::kHelp);
  } else if (command == L"update") {
    return OpenDocument(ShippedDocument::kChanges);
  } else if (command == L"hotkey") {
    ShowHotKeyOverview();
  } else if (command == L"setting") {
    ShowSettings();
  } else if (command == L"small_icon" || command == L"big_icon" || command == L"large_icon") {
    const int32_t size = command == L"small_icon" ? 1 : command == L"big_icon" ? 0 : 2;
    return storeChange(store.SetAllIconSize(size));
  } else if (command == L"view_list" || command == L"view_tile") {
    return storeChange(store.SetAllLayout(command == L"view_list" ? 1 : 0));
  } else if (command == L"close") {
    Close(0);
  } else if (command == L"refresh_all_icon") {
    return storeChange(store.RefreshAllIcons());
  } else if (command == L"clean_db") {
    // Both databases are compacted even when the first one fails.
    const bool icons = GetIconCache().PurgeInvalid();
    const bool links = store.Vacuum();
    if (!icons || !links) ShowNotice(kSaveFailedNotice);
  } else if (command == L"refresh_sys_icon") {
    const std::wstring batch = GetProgramDir() + kRefreshSysIconBatch;
    if (GetFileAttributesW(batch.c_str()) != INVALID_FILE_ATTRIBUTES) {
      ShellExecuteW(nullptr, L"open", batch.c_str(), L"", L"", SW_SHOWDEFAULT);
    }
  } else if (command == L"SysFunc") {
    RunSystemFunction(item->GetItemId());
  } else if (command == L"MenuSkinItem") {
    auto* label = dynamic_cast<ui::LabelTemplate<ui::Control>*>(item->FindChildByName(L"MenuItemText"));
    if (!label || label->GetText().empty()) return false;
    settings.Theme = label->GetText();
    settings.Save();
    ApplyTheme();
  } else {
    return false;
  }
  return true;
}

bool CMainWnd::OpenDocument(ShippedDocument document) {
  // The program's documentation is the read-me and the change record beside it;
  // there is no published web site to send the user to.
  const std::wstring notice = OpenShippedDocument(document);
  if (notice.empty()) return true;
  ShowNotice(notice);
  return false;
}

bool CMainWnd::ShowHotKeyOverview() {
  auto dialog = std::make_unique<CHotKeyWnd>();
  const std::wstring title = dialog->GetWindowClassName();
  if (!dialog->Create(GetHWND(), title.c_str(), WS_POPUP, WS_EX_TOOLWINDOW, true)) {
    // A window that could not be made has deleted itself.
    static_cast<void>(dialog.release());
    return false;
  }
  DialogScope scope(*this, dialog.get());
  dialog->CenterWindow();
  dialog->ShowModal();
  return true;
}

bool CMainWnd::RunSystemFunction(int row) {
  const std::vector<SystemLink>& table = SystemLinkTable();
  if (row < 0 || static_cast<size_t>(row) >= table.size()) return false;
  const SystemLink& entry = table[static_cast<size_t>(row)];
  // Nothing is stored and no run is counted: the thread works on its own copy.
  sysFuncLink_ = MakeLinkRecord(static_cast<int32_t>(entry.kind), entry.NAME, entry.PATH, entry.ICON,
                                entry.Parameter, {}, false, {}, entry.Remark);
  return sysFuncLink_ && StartLinkThread(*sysFuncLink_, false, GetHWND());
}

void CMainWnd::ShowTitleButtonMenu(const std::wstring& menuName) {
  if (!Menus()) return;
  ui::CMenuUI* level = Menus()->FindMenu(menuName);
  const int width = level ? level->GetFixedWidth() : 0;
  POINT cursor = {};
  GetCursorPos(&cursor);
  OnMenuCommand(cursor.x - width, cursor.y, menuName, false);
}
