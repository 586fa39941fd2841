#include "app/dialogs/hot_key_wnd.h"

#include <memory>

#include "app/controls/app_control_factory.h"
#include "app/desktop/window_alpha.h"
#include "app/hot_keys/hot_key_text.h"
#include "data/group.h"
#include "data/hot_key_table.h"
#include "data/icon_cache.h"
#include "data/link.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/list_box.h"
#include "ui/controls/list_container_element.h"
#include "ui/core/tile_layout.h"

namespace {

constexpr wchar_t kRowTemplate[] = L"main/item_hotkey.xml";
constexpr int kToolTipWidth = 400;

// "group > tag\r\nname\r\npath\r\n[remark\r\n][启动次数：n]"
std::wstring RowToolTip(const Link& link, const Settings& settings) {
  std::wstring tip;
  if (auto tag = link.group.lock()) {
    if (auto group = GetLinkStore().FindGroup(tag->ParentGroup)) tip += group->NAME + L" > ";
    tip += tag->NAME + L"\r\n";
  }
  tip += link.NAME + L"\r\n" + link.PATH + L"\r\n";
  if (!link.Remark.empty()) tip += link.Remark + L"\r\n";
  if (settings.bRunCount) tip += L"启动次数：" + std::to_wstring(link.RunCount);
  return tip;
}

void SetIcon(ui::Control* icon, Link& link) {
  if (!icon) return;
  const std::wstring key = IconCache::MakeImageKey(link.GetIconKey(), IconCache::kSize16);
  if (IconCache::IsCached(key)) {
    icon->SetBkImage(key);
    return;
  }
  const std::wstring fallback = IconCache::MakeImageKey(L"#err", IconCache::kSize16);
  if (IconCache::IsCached(fallback)) icon->SetBkImage(fallback);
}

}  // namespace

void CHotKeyWnd::InitWindow() {
  const Settings& settings = GetSettings();
  SetWindowAlpha(LauncherWindowAlpha());
  hotKeyBox_ = dynamic_cast<ui::ListBox*>(FindControlByName(L"hotkeybox"));
  if (!hotKeyBox_) return;

  bool first = true;
  for (const HotKeyTable::Entry& entry : GetHotKeyTable().entries()) {
    std::shared_ptr<Link> link = entry.link.lock();
    if (!link) continue;
    auto* row = new ui::ListContainerElement;
    ui::UiGlobals::FillBoxFromXml(row, kRowTemplate, CreateAppControl);
    if (first) {
      first = false;
      if (auto* tiles = dynamic_cast<ui::TileLayout*>(hotKeyBox_->GetLayout())) {
        tiles->SetItemSize({row->GetFixedWidth(), row->GetFixedHeight()}, true);
      }
    }
    SetIcon(row->FindChildByName(L"hk_icon"), *link);

    const wchar_t* colour = link->hotKeyId != 0 ? L"black" : L"red";
    if (ui::Control* name = row->FindChildByName(L"hk_name")) {
      name->SetAttribute(L"text", link->NAME);
      name->SetAttribute(L"normaltextcolor", colour);
      name->Invalidate();
    }
    if (ui::Control* text = row->FindChildByName(L"hk_text"); text && link->HotKey != 0) {
      text->SetAttribute(L"text", HotKeyCodeToText(link->HotKey));
      text->SetAttribute(L"normaltextcolor", colour);
    }
    row->SetToolTipText(RowToolTip(*link, settings));
    row->SetToolTipWidth(kToolTipWidth);
    hotKeyBox_->Add(row);
  }
  hotKeyBox_->Invalidate();
}

void CHotKeyWnd::OnFinalMessage(HWND hwnd) {
  ui::Window::OnFinalMessage(hwnd);
  ForgetControl(GetRoot());
}
