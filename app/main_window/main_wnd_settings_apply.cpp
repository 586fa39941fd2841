// The main menu's "setting": the settings dialog over the main window and, after
// OK, every changed preference put into effect on the running window: alpha,
// theme, docking, date line, title buttons, top-most, list widths and sides,
// tray icon, autorun shortcut, application chords, mouse hook, and the cards
// shown again.
#include <windows.h>
#include <shellapi.h>

#include "app/desktop/autorun_shortcut.h"
#include "app/desktop/mouse_hook.h"
#include "app/desktop/window_alpha.h"
#include "app/dialogs/setting_wnd.h"
#include "app/main_window/main_wnd.h"
#include "app/search_window/search_wnd.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/core/box.h"
#include "ui/core/h_card_layout.h"
#include "ui/core/tab_box.h"

bool CMainWnd::ShowSettings() {
  const bool tagRightBefore = GetSettings().bTagRight;
  UINT result = 0;
  {
    auto dialog = std::make_unique<CSettingWnd>();
    DialogScope scope(*this, dialog.get());
    result = RunOwnedDialog(dialog, GetHWND(), L"SettingWnd");
  }
  if (result != CDialogWnd::kResultOk) return false;
  ApplySettings(tagRightBefore);
  return true;
}

void CMainWnd::ApplySettings(bool tagRightBefore) {
  Settings& settings = GetSettings();
  HWND hwnd = GetHWND();
  SetWindowAlpha(LauncherWindowAlpha());
  ApplyMenuAlpha();
  // The search window is made once at start, hidden: it takes the new opacity
  // now, not at the next start.
  if (searchWnd_) searchWnd_->SetWindowAlpha(LauncherWindowAlpha());
  if (!settings.Theme.empty()) ApplyTheme();
  ApplyDockSettings();

  KillTimer(hwnd, kTimerDate);
  if (settings.bShowDate) {
    UpdateDateLabel(true);
    SetTimer(hwnd, kTimerDate, 1000, nullptr);
  } else if (auto* label = dynamic_cast<ui::LabelTemplate<ui::Control>*>(date_)) {
    label->SetText(L"");
  }
  const std::pair<const wchar_t*, bool> buttons[] = {
      {L"btn_search", settings.bShowBtnSearch}, {L"btn_menu", settings.bShowBtnMenu}, {L"btn_skin", settings.bShowBtnSkin}};
  for (const auto& [name, shown] : buttons) {
    if (ui::Control* button = FindControlByName(name)) button->SetFadeVisible(shown);
  }
  if (ui::Control* title = FindControlByName(L"titlebox")) title->Invalidate();
  SetTopMost(settings.bTopMost);

  if (tagList_) tagList_->SetFixedWidth(settings.nTagWidth, true, true);
  ApplyGroupWidth();
  if (groupList_) {
    if (auto* layout = dynamic_cast<ui::HCardLayout*>(groupList_->GetLayout())) layout->SetRightToLeft(settings.bGroupRight);
    groupList_->Arrange();
  }
  if (settings.bTagRight != tagRightBefore) PlaceTagList(settings.bTagRight);

  if (settings.bHideNotify && trayAdded_) {
    Shell_NotifyIconW(NIM_DELETE, &trayData_);
    trayAdded_ = false;
  } else if (!settings.bHideNotify && !trayAdded_ && trayData_.cbSize != 0) {
    trayAdded_ = Shell_NotifyIconW(NIM_ADD, &trayData_) != FALSE;
  }
  // A shortcut that cannot be written is not reported: the setting stays stored.
  SyncAutorunShortcut(settings.bAutoRun);
  RegisterAppHotKeys();
  settings.hMainWnd = hwnd;
  UpdateMouseHook(settings);
  OnTagSelect(nullptr);
}

void CMainWnd::ApplyGroupWidth() {
  if (!groupList_) return;
  const Settings& settings = GetSettings();
  int width = settings.nGroupWidth;
  const int count = groupList_->GetCount();
  if (settings.bAutoGroupWidth && count > 0) {
    const RECT rc = GetWindowRectWithoutShadow(false);
    const int windowWidth = rc.right - rc.left;
    if (count * width < windowWidth) width = (windowWidth - 4) / count;
  }
  if (auto* layout = dynamic_cast<ui::TileLayout*>(groupList_->GetLayout())) layout->SetItemSize({width, 30}, true);
  for (int i = 0; i < count; ++i) {
    if (ui::Control* item = groupList_->GetItemAt(static_cast<size_t>(i))) item->SetFixedWidth(width, true, true);
  }
  OnGroupSelect(nullptr);
}

void CMainWnd::PlaceTagList(bool right) {
  auto* box = dynamic_cast<ui::Box*>(FindControlByName(L"tag_lnk_box"));
  if (!box) return;
  // The parts move; they are not destroyed on the way.
  box->SetAutoDestroyChild(false);
  box->RemoveAll();
  box->SetAutoDestroyChild(true);
  ui::Control* left = right ? static_cast<ui::Control*>(linkTabBox_) : static_cast<ui::Control*>(tagList_);
  ui::Control* last = right ? static_cast<ui::Control*>(tagList_) : static_cast<ui::Control*>(linkTabBox_);
  for (ui::Control* part : {left, minorGroupLine_, last}) {
    if (part) box->Add(part);
  }
}
