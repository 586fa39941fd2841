#include "app/dialogs/sys_wnd.h"

#include "app/controls/app_control_factory.h"
#include "app/desktop/window_alpha.h"
#include "data/icon_cache.h"
#include "data/link_path.h"
#include "data/settings.h"
#include "data/system_links.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/list_box.h"
#include "ui/controls/list_container_element.h"
#include "ui/core/event_args.h"
#include "ui/core/tile_layout.h"

namespace {

constexpr wchar_t kTileTemplate[] = L"main/item_tile16.xml";
constexpr int kToolTipWidth = 400;

// The small image of the row's icon, added to the icon cache from the row's
// target the first time; "#err" when the target gives none.
std::wstring TileImage(const SystemLink& row) {
  const std::wstring key = SystemLinkIconKey(row);
  std::wstring image = IconCache::MakeImageKey(key, IconCache::kSize16);
  if (!IconCache::IsCached(image)) GetIconCache().AddPathToCache(key, ResolveLinkPath(row.PATH));
  if (IconCache::IsCached(image)) return image;
  image = IconCache::MakeImageKey(L"#err", IconCache::kSize16);
  return IconCache::IsCached(image) ? image : std::wstring();
}

}  // namespace

void CSysWnd::InitWindow() {
  SetWindowAlpha(LauncherWindowAlpha());
  chosenRow_ = -1;
  sysBox_ = dynamic_cast<ui::ListBox*>(FindControlByName(L"sysbox"));
  if (!sysBox_) return;
  for (const SystemLink& row : SystemLinkTable()) {
    auto* tile = new ui::ListContainerElement;
    ui::UiGlobals::FillBoxFromXml(tile, kTileTemplate, CreateAppControl);
    if (sysBox_->GetCount() == 0) {
      if (auto* tiles = dynamic_cast<ui::TileLayout*>(sysBox_->GetLayout())) {
        tiles->SetItemSize({tile->GetFixedWidth(), tile->GetFixedHeight()}, true);
      }
    }
    if (ui::Control* icon = tile->FindChildByName(L"item_icon")) icon->SetBkImage(TileImage(row));
    if (ui::Control* text = tile->FindChildByName(L"item_text")) text->SetAttribute(L"text", row.NAME);
    std::wstring tip = row.PATH;
    if (!row.Remark.empty()) tip += L"\r\n" + row.Remark;
    tile->SetToolTipText(tip);
    tile->SetToolTipWidth(kToolTipWidth);
    sysBox_->Add(tile);
    tile->AttachClick(ToWeakCallback([this](ui::EventArgs* e) { return OnItemClick(e); }));
  }
  sysBox_->Invalidate();
}

bool CSysWnd::OnItemClick(ui::EventArgs* event) {
  auto* tile = event ? dynamic_cast<ui::ListContainerElement*>(event->pSender) : nullptr;
  if (!tile || tile->GetIndex() == -1) return false;
  chosenRow_ = tile->GetIndex();
  Close(kResultOk);
  return true;
}
