// The main window's start: data, bindings, group items, hot keys, placement and
// timers, in the order the rest of the window relies on; drop registration, the
// input method, the tray icon and the search window once the window is up.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <optional>
#include <string>
#include <utility>

#include "app/controls/list_item_id.h"
#include "app/desktop/window_alpha.h"
#include "app/hot_keys/app_hot_keys.h"
#include "app/main_window/data_preload.h"
#include "app/main_window/date_line.h"
#include "app/main_window/main_wnd.h"
#include "data/hot_key_table.h"
#include "data/icon_cache.h"
#include "data/link_store.h"
#include "data/program_dir.h"
#include "data/settings.h"
#include "data/system_links.h"
#include "ui/base/dpi_scaler.h"
#include "ui/controls/list_box.h"
#include "ui/core/box.h"
#include "ui/core/h_card_layout.h"
#include "ui/controls/label.h"
#include "ui/controls/list_container_element.h"
#include "ui/core/tab_box.h"

namespace {

constexpr wchar_t kErrorCaption[] = L"Pexo - 错误";
constexpr wchar_t kWarningCaption[] = L"Pexo - 警告";

[[noreturn]] void FailAndExit(const wchar_t* message) {
  MessageBoxW(nullptr, message, kErrorCaption, MB_TOPMOST | MB_ICONERROR);
  ExitProcess(0);
}

template <typename T>
T* Find(CMainWnd* window, const wchar_t* name) {
  return dynamic_cast<T*>(window->FindControlByName(name));
}

void SetVisibleByFade(ui::Control* control, bool visible) {
  if (control) control->SetFadeVisible(visible);
}

}  // namespace

void CMainWnd::InitWindow() {
  // The window is not shown yet: what set-up invalidates is one invalidation.
  ui::Window::InvalidationBatch setUp(this);
  Settings& settings = GetSettings();
  SetWindowAlpha(LauncherWindowAlpha());
  ApplyMenuAlpha();
  SetWindowTextW(GetHWND(), kDisplayName);
  settings.hMainWnd = GetHWND();
  GetHotKeyTable().SetOwnerWindow(GetHWND());

  OpenDataOrExit();

  tips_ = FindControlByName(L"tips");
  SetVisibleByFade(tips_, false);
  BindTitleBar();

  date_ = FindControlByName(L"date");
  UpdateDateLabel(true);
  SetVisibleByFade(FindControlByName(L"btn_search"), settings.bShowBtnSearch);
  SetVisibleByFade(FindControlByName(L"btn_menu"), settings.bShowBtnMenu);
  SetVisibleByFade(FindControlByName(L"btn_skin"), settings.bShowBtnSkin);

  titleBoxInside_ = Find<ui::Box>(this, L"titlebox_inside");
  majorGroupBox_ = Find<ui::Box>(this, L"major_group_box");
  minorGroupLine_ = FindControlByName(L"minor_group_line");
  groupList_ = Find<ui::ListBox>(this, L"list_major_group");
  tagList_ = Find<ui::ListBox>(this, L"list_minor_group");
  linkBox_ = Find<ui::GrowingListBox>(this, L"linkbox");
  linkTabBox_ = Find<ui::TabBox>(this, L"linktabbox");
  todoEdit_ = Find<ui::ScrollableBox>(this, L"edit_todo");
  if (todoEdit_) todoEdit_->AttachEvent(ui::all, ToWeakCallback([this](ui::EventArgs* e) { return OnTodoEditKey(e); }));

  if (groupList_ && settings.bGroupRight) {
    if (auto* layout = dynamic_cast<ui::HCardLayout*>(groupList_->GetLayout())) layout->SetRightToLeft(true);
  }
  if (settings.bTagRight) {
    if (auto* box = Find<ui::Box>(this, L"tag_lnk_box")) {
      box->SetAutoDestroyChild(false);
      box->RemoveAll();
      box->SetAutoDestroyChild(true);
      for (ui::Control* part : {static_cast<ui::Control*>(linkTabBox_), minorGroupLine_,
                                static_cast<ui::Control*>(tagList_)}) {
        if (part) box->Add(part);
      }
    }
  }
  if (groupList_) {
    if (auto* layout = dynamic_cast<ui::TileLayout*>(groupList_->GetLayout())) {
      layout->SetItemSize({settings.nGroupWidth, 30}, true);
    }
  }
  if (tagList_) tagList_->SetFixedWidth(settings.nTagWidth, true, true);

  BindLists();
  BuildGroupItems();
  RegisterAppHotKeys();

  SetVisibleByFade(titleBoxInside_, settings.bShowTitle);
  SetVisibleByFade(majorGroupBox_, settings.bShowGroup);
  SetVisibleByFade(tagList_, settings.bShowTag);
  SetVisibleByFade(minorGroupLine_, settings.bShowTag);

  PlaceFromSettings();
  StartTimers();

  // Handled first thing once the program's loop runs, after the window is shown,
  // before any input.
  PostMessageW(GetHWND(), kFinishSetUpMessage, 0, 0);
}

void CMainWnd::FinishSetUp() {
  SetUpDrops();
  // Typing into the window starts with the input method closed.
  setUpFinished_ = true;
  SetImeOpen(false);
  AddTrayIcon();
  // The search window and its hook are there before any input, hidden until used.
  CreateSearchWindow();
  if (afterSetUp_) std::exchange(afterSetUp_, nullptr)();
}

void CMainWnd::OpenDataOrExit() {
  IconCache& icons = GetIconCache();
  LinkStore& links = GetLinkStore();
  // The program's entry may have opened the files on a worker thread already.
  const std::optional<DataPreload::Outcome> preloaded = DataPreload::Take();
  if (!(preloaded ? preloaded->iconsOpened : icons.OpenStored())) FailAndExit(L"图标缓存加载失败!");
  icons.FinishOpen();
  if (!PrepareSystemLinks(icons)) FailAndExit(L"系统功能初始化失败!");
  if (!(preloaded ? preloaded->linksLoaded : links.Load(DefaultLinkDbPath()))) FailAndExit(L"链接数据库加载失败!");
  links.RegisterLoadedLinks();
}

void CMainWnd::BindTitleBar() {
  if (auto* title = FindControlByName(L"titlebox")) {
    title->AttachEvent(ui::menu, ToWeakCallback([this](ui::EventArgs* e) { return OnTitleBoxMenu(e); }));
  }
  for (const wchar_t* name : {L"btn_close", L"btn_menu", L"btn_search", L"btn_skin"}) {
    if (auto* button = FindControlByName(name)) {
      button->AttachEvent(ui::click, ToWeakCallback([this](ui::EventArgs* e) { return OnTitleButtonClick(e); }));
    }
  }
}

void CMainWnd::BindLists() {
  if (groupList_) {
    groupList_->AttachEvent(ui::select, ToWeakCallback([this](ui::EventArgs* e) { return OnGroupSelect(e); }));
    groupList_->AttachEvent(ui::menu, ToWeakCallback([this](ui::EventArgs* e) { return OnGroupListMenu(e); }));
  }
  if (tagList_) {
    tagList_->AttachEvent(ui::select, ToWeakCallback([this](ui::EventArgs* e) { return OnTagSelect(e); }));
    tagList_->AttachEvent(ui::menu, ToWeakCallback([this](ui::EventArgs* e) { return OnTagListMenu(e); }));
  }
  if (linkBox_) {
    linkBox_->AttachEvent(ui::menu, ToWeakCallback([this](ui::EventArgs* e) { return OnLinkBoxMenu(e); }));
    linkBox_->AttachEvent(ui::all, ToWeakCallback([this](ui::EventArgs* e) { return OnLinkBoxDragEvent(e); }));
  }
}

void CMainWnd::BuildGroupItems() {
  if (!groupList_) return;
  Settings& settings = GetSettings();
  LinkStore& store = GetLinkStore();
  const int count = static_cast<int>(store.topGroups.size());
  if (settings.bAutoGroupWidth && count > 0) {
    const RECT rc = GetWindowRectWithoutShadow(false);
    const int width = rc.right - rc.left;
    if (count * settings.nGroupWidth < width) {
      if (auto* layout = dynamic_cast<ui::TileLayout*>(groupList_->GetLayout())) {
        layout->SetItemSize({(width - 4) / count, 30}, true);
      }
    }
  }
  groupList_->RemoveAll();
  for (int i = 0; i < count; ++i) {
    const auto& group = store.topGroups[static_cast<size_t>(i)];
    auto* item = new ui::ListContainerElement;
    item->SetName(L"major" + std::to_wstring(i));
    item->ApplyClassAttributes(L"listitem_majorgroup");
    item->SetText(group->NAME);
    SetListItemId(item, group->ID);
    groupList_->Add(item);
    item->AttachEvent(ui::menu, ToWeakCallback([this](ui::EventArgs* e) { return OnGroupItemMenu(e); }));
    item->AttachEvent(ui::mouseenter, ToWeakCallback([this](ui::EventArgs* e) { return OnGroupMouseEnter(e); }));
    item->AttachEvent(ui::all, ToWeakCallback([this](ui::EventArgs* e) { return OnGroupItemKey(e); }));
  }
  if (count > 0) {
    curGroup_ = 0;
    const int wanted = settings.nCurGroup >= 0 && settings.nCurGroup < count ? settings.nCurGroup : 0;
    SelectWithEvent(groupList_, wanted);
  }
}

void CMainWnd::RebuildGroups(int preferred) {
  GetSettings().nCurGroup = preferred;
  curGroup_ = -1;
  BuildGroupItems();
}

void CMainWnd::RegisterAppHotKeys() {
  Settings& settings = GetSettings();
  appHotKeys_.SetOwnerWindow(GetHWND());
  const uint32_t mainCode = static_cast<uint32_t>(settings.nMainHotKey);
  // The boxes are the window's own, as its other boxes are: the window waits
  // under them and the tray offers only what is safe meanwhile.
  auto tell = [this](uint32_t code, const wchar_t* caption, UINT icon) {
    const bool wasOpen = messageBoxOpen_;
    messageBoxOpen_ = true;
    MessageBoxW(GetHWND(), HotKeyFailureMessage(code).c_str(), caption, MB_TOPMOST | icon);
    messageBoxOpen_ = wasOpen;
  };
  if (appHotKeys_.Register(AppChord::kMain, mainCode, settings) == ChordRegistration::kFailed) {
    tell(mainCode, kErrorCaption, MB_ICONERROR);
  }
  const uint32_t searchCode = static_cast<uint32_t>(settings.nSearchHotKey);
  if (appHotKeys_.Register(AppChord::kSearch, searchCode, settings) == ChordRegistration::kFailed) {
    tell(searchCode, kWarningCaption, MB_ICONWARNING);
  }
}

void CMainWnd::PlaceFromSettings() {
  Settings& settings = GetSettings();
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  const SIZE size = UsableSize(settings.nWidth, settings.nHeight, screenWidth, screenHeight);
  // Later placement (showing, docking) works from the stored size.
  settings.nWidth = size.cx;
  settings.nHeight = size.cy;
  const POINT pt = ClampedPosition(settings.nPosX, settings.nPosY, size.cx, size.cy, screenWidth, screenHeight);
  MoveWindow(GetHWND(), pt.x, pt.y, size.cx, size.cy, FALSE);
}

void CMainWnd::StartTimers() {
  StartDocking();
  if (GetSettings().bShowDate) SetTimer(GetHWND(), kTimerDate, 1000, nullptr);
}

void CMainWnd::AddTrayIcon() {
  const std::wstring folder = GetProgramDir();
  SetCurrentDirectoryW(folder.c_str());
  const std::wstring iconPath = folder + L"notify.ico";
  const DWORD attributes = GetFileAttributesW(iconPath.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    trayIcon_ = static_cast<HICON>(LoadImageW(nullptr, iconPath.c_str(), IMAGE_ICON, 16, 16, LR_LOADFROMFILE));
    trayIconOwned_ = trayIcon_ != nullptr;
  }
  if (!trayIcon_) trayIcon_ = LoadIconW(instance_, MAKEINTRESOURCEW(128));
  trayData_.cbSize = sizeof(NOTIFYICONDATAW);
  trayData_.hWnd = GetHWND();
  trayData_.uID = 0;
  trayData_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  trayData_.uCallbackMessage = kTrayMessage;
  trayData_.hIcon = trayIcon_;
  wcsncpy(trayData_.szTip, kDisplayName, sizeof(trayData_.szTip) / sizeof(wchar_t) - 1);
  if (!GetSettings().bHideNotify) trayAdded_ = Shell_NotifyIconW(NIM_ADD, &trayData_) != FALSE;
}
