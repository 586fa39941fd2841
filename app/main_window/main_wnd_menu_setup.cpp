// The main window's menu manager: the menu file's levels, with the built-in
// functions and the colour themes filled in when it is first used.
#include <windows.h>

#include <string>

#include "app/main_window/main_wnd.h"
#include "data/icon_cache.h"
#include "data/program_dir.h"
#include "data/system_links.h"
#include "ui/controls/button.h"
#include "ui/controls/label.h"
#include "ui/controls/menu_item.h"
#include "ui/controls/menu_ui.h"

namespace {

// One item: an icon button that takes no mouse input and a text label beside it.
ui::CMenuItem* MakeMenuItem(const std::wstring& name, const std::wstring& image, const std::wstring& text,
                            const std::wstring& labelName) {
  auto* item = new ui::CMenuItem;
  item->ApplyClassAttributes(L"menu_element");
  item->SetName(name);
  auto* icon = new ui::ButtonTemplate<ui::Control>;
  icon->SetMouseEnabled(false);
  icon->SetAttribute(L"valign", L"center");
  icon->SetAttribute(L"width", L"16");
  icon->SetAttribute(L"height", L"16");
  icon->SetMargin({4, 0, 0, 0}, true);
  icon->SetBkImage(image);
  auto* label = new ui::LabelTemplate<ui::Control>;
  label->ApplyClassAttributes(L"menu_text");
  if (!labelName.empty()) label->SetName(labelName);
  label->SetText(text);
  label->SetMargin({24, 0, 0, 0}, true);
  label->SetMouseEnabled(false);
  item->Add(icon);
  item->Add(label);
  return item;
}

}  // namespace

ui::CMenuMgr* CMainWnd::Menus() {
  if (!menus_) LoadMenus();
  return menus_.get();
}

void CMainWnd::LoadMenus() {
  menus_ = std::make_unique<ui::CMenuMgr>(GetHWND());
  WatchMenuLoops(*menus_);
  if (!menus_->LoadXml(GetHWND(), L"menu\\menu.xml")) return;

  if (ui::CMenuUI* sysFuncs = menus_->FindMenu(L"menu_sysfunc")) {
    sysFuncs->RemoveAll();
    const auto& table = SystemLinkTable();
    for (size_t row = 0; row < table.size(); ++row) {
      const SystemLink& entry = table[row];
      const std::wstring key = entry.ICON.empty() ? entry.PATH : entry.ICON;
      auto* item = MakeMenuItem(L"SysFunc", IconCache::MakeImageKey(key, IconCache::kSize16), entry.NAME, L"");
      item->SetItemId(static_cast<int>(row));
      if (!entry.Remark.empty()) item->SetToolTipText(entry.Remark);
      sysFuncs->Add(item);
    }
  }
  if (ui::CMenuUI* themes = menus_->FindMenu(L"menu_skin")) {
    themes->RemoveAll();
    WIN32_FIND_DATAW found = {};
    const std::wstring pattern = GetProgramDir() + L"theme\\*.xml";
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        themes->Add(MakeMenuItem(L"MenuSkinItem", L"menu/skin.png", found.cFileName, L"MenuItemText"));
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
  }
}
