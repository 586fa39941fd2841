// Set-up shared by the launcher's window tests: the program's own skin archive
// and controls, the stores and settings of a test, and the real main window over
// them. (Tests of the whole program use tests/support/pexo_program.h.)
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/controls/app_control_factory.h"
#include "app/main_window/main_wnd.h"
#include "app/search_window/search_wnd.h"
#include "data/hot_key_table.h"
#include "data/icon_cache.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "tests/app/support/menu_driver.h"
#ifdef PEXO_SKIN_PASSWORD  // the dialogs' driver starts the skin archive, which needs its password
#include "tests/app/support/dialog_test_support.h"
#endif
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/scoped_handles.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/list_box.h"
#include "ui/controls/stock_controls.h"

namespace launcher_test {

// Brings the search window up with a click on the title bar's search button, as
// the user does, and hides it again; the window stays made. Null when it never came.
inline CSearchWnd* BringUpSearchWindow(CMainWnd& window) {
  HWND hwnd = window.GetHWND();
  ui::Control* button = window.FindControlByName(L"btn_search");
  if (!button) return nullptr;
  window_test::PaintNow(hwnd);
  menu_driver::ClickMiddle(hwnd, button);
  window_test::PumpUntil([&] { return window.SearchWindow() && IsWindowVisible(window.SearchWindow()->GetHWND()); },
                         2000);
  CSearchWnd* search = window.SearchWindow();
  if (search) ShowWindow(search->GetHWND(), SW_HIDE);
  return search;
}

#ifdef PEXO_SKIN_PASSWORD  // only the tests linked with the skin archive know its password
// The framework as the program starts it: stock and launcher controls, the skin
// archive linked into the test, the gray theme and the Chinese texts. False when
// the archive cannot be opened (nothing is started then).
inline bool StartLauncherSkin() {
  ui::RegisterStockControls();
  if (!ui::UiGlobals::OpenSkinZip(201, L"SKIN", PEXO_SKIN_PASSWORD)) return false;
  ui::UiGlobals::Startup(L"skin\\", CreateAppControl, false, L"gray", L"lang\\zh_CN");
  return true;
}

inline void StopLauncherSkin() { ui::UiGlobals::Shutdown(); }
#endif

// The folder "db" beside the test executable, where the main window keeps its
// stores, with no link.db or icon.db left by an earlier test.
inline void RemoveStoreFiles() {
  const std::wstring db = pexo_test::ExeFolder() + L"\\db\\";
  CreateDirectoryW(db.c_str(), nullptr);
  DeleteFileW((db + L"link.db").c_str());
  DeleteFileW((db + L"icon.db").c_str());
}

// The process-wide settings back at their presets, then a quiet window of 388×560:
// no date line, no docking to an edge, no tray icon.
inline Settings& QuietWindowSettings() {
  Settings& settings = GetSettings();
  settings = Settings();
  settings.nWidth = 388;
  settings.nHeight = 560;
  settings.bShowDate = false;
  settings.bAutoDock = false;
  settings.bHideNotify = true;
  return settings;
}

inline std::shared_ptr<Group> NewTag(const std::wstring& name, int type = kGroupOrdinary) {
  auto tag = std::make_shared<Group>();
  tag->NAME = name;
  tag->TYPE = type;
  return tag;
}

inline std::shared_ptr<Link> NewLink(const std::wstring& name, const std::wstring& path, int type = kLinkProgram) {
  auto link = std::make_shared<Link>();
  link->NAME = name;
  link->PATH = path;
  link->TYPE = type;
  return link;
}

#ifdef PEXO_SKIN_PASSWORD
// The real main window over a link.db each test prepares: the suite starts the
// program's skin; a test's SetUp runs this SetUp (no stores, quiet settings), fills
// the store through GetLinkStore() and calls OpenWindowOverStore().
class MainWindowFixture : public ::testing::Test {
 protected:
  // `inFront`: Open also brings the window to the front, which a right-click menu
  // needs (it closes when its window loses the foreground).
  explicit MainWindowFixture(bool inFront = false) : inFront_(inFront) {}

  static void SetUpTestSuite() { ASSERT_TRUE(StartLauncherSkin()); }
  static void TearDownTestSuite() { StopLauncherSkin(); }

  void SetUp() override {
    ASSERT_TRUE(ole_.succeeded());
    RemoveStoreFiles();
    QuietWindowSettings();
  }
  void TearDown() override {
    Close();
    GetHotKeyTable().UnregisterAll();
  }

  // Closes the store the set-up filled, forgets chords registered before and
  // opens the window, which loads the store again.
  void OpenWindowOverStore() {
    GetLinkStore().Close();
    GetHotKeyTable().UnregisterAll();
    Open();
  }

  // Creates and shows the window without activating it; it opens the stores.
  void Open() {
    window_ = new CMainWnd(GetModuleHandleW(nullptr));
    hwnd_ = window_->Create(nullptr, L"Pexo", WS_POPUP, WS_EX_TOOLWINDOW, false);
    ASSERT_NE(hwnd_, nullptr);
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    if (inFront_) SetForegroundWindow(hwnd_);
    window_test::PumpFor(200);
  }
  // Destroys the window (it deletes itself) and closes the stores it opened, so
  // that the test can read link.db as the next start would.
  void Close() {
    if (window_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    window_ = nullptr;
    window_test::PumpFor(50);
    GetLinkStore().Close();
    GetIconCache().Close();
  }
  void Restart() {
    Close();
    Open();
  }

  std::shared_ptr<Group> Tag(int index) { return GetLinkStore().topGroups.at(0)->tags.at(static_cast<size_t>(index)); }
  static std::vector<std::wstring> GroupNames() {
    std::vector<std::wstring> names;
    for (const auto& group : GetLinkStore().topGroups) names.push_back(group->NAME);
    return names;
  }
  static std::vector<std::wstring> TagNames(int group) {
    std::vector<std::wstring> names;
    for (const auto& tag : GetLinkStore().topGroups.at(static_cast<size_t>(group))->tags) names.push_back(tag->NAME);
    return names;
  }

  // Client points for right clicks: the middle of a list's item (0, 0 when there
  // is none) and the tag list's empty part, below its items.
  static POINT ItemPoint(ui::ListBox* list, int index) {
    ui::Control* item = list->GetItemAt(static_cast<size_t>(index));
    if (!item) return POINT{};
    const RECT rc = item->GetPos();
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
  }
  POINT EmptyTagListPoint() {
    const RECT rc = window_->TagList()->GetPos();
    return POINT{(rc.left + rc.right) / 2, rc.bottom - 12};
  }
  // An empty point of the title box, away from its text and buttons.
  POINT TitlePoint() {
    const RECT rc = window_->FindControlByName(L"titlebox")->GetPos();
    return POINT{(rc.left + rc.right) / 2, rc.top + 4};
  }
  // Follows `path` in the main menu that the title box's right click opens. The
  // menu closes when its window loses the foreground; on a busy shared display
  // another program may have taken it, so it is taken back first and a visit that
  // saw no menu at all is made once more.
  menu_driver::Visit ChooseOnTitle(const std::vector<std::wstring>& path,
                                   const std::function<bool()>& afterPath = {}) {
    return menu_driver::ChooseWithRetry(
        hwnd_, TitlePoint(), path,
        [this](bool retry) {
          SetForegroundWindow(hwnd_);
          window_test::PumpFor(retry ? 200 : 50);
        },
        afterPath);
  }

  // Right-clicks the card and follows the path in its menu; `inspect` runs while
  // the menu is up, `steps` answer the dialog the chosen item opens (or, with
  // `find`, the dialog `find` names on each tick, such as one the first opens).
  menu_driver::Visit ChooseOnCard(int card, const std::vector<std::wstring>& path,
                                  const std::function<void()>& inspect = {},
                                  std::deque<std::function<void(CDialogWnd&)>> steps = {},
                                  std::function<CDialogWnd*()> find = {}) {
    window_test::PumpFor(300);
    SetForegroundWindow(hwnd_);
    const POINT at = ItemPoint(window_->LinkBox(), card);
    if (!find) find = [this] { return dynamic_cast<CDialogWnd*>(window_->OpenDialog()); };
    menu_driver::Visit visit;
    dialog_test::RunScriptedOpener(find, [&] { visit = menu_driver::ChooseFromMenu(hwnd_, at, path, inspect); },
                                   std::move(steps));
    EXPECT_TRUE(visit.shown) << "the card menu opens";
    menu_driver::ExpectEveryItemFound(visit);
    EXPECT_EQ(window_->OpenDialog(), nullptr) << "no dialog is left open";
    return visit;
  }

  // The first tag's links as the next start reads them from link.db (the window closes).
  std::vector<std::shared_ptr<Link>> StoredLinks() {
    Close();
    LinkStore& store = GetLinkStore();
    EXPECT_TRUE(store.Open());
    return store.topGroups.at(0)->tags.at(0)->links;
  }

  ui::ScopedOleInit ole_;
  CMainWnd* window_ = nullptr;
  HWND hwnd_ = nullptr;

 private:
  bool inFront_;
};
#endif

}  // namespace launcher_test
