// The stored "nAlpha" as every window of the launcher shows it: the main window,
// its menus, the search window and each dialog the user opens through the real
// menus (hot-key overview, settings, web address, system function, name) and
// the link editor with its icon dialog take one opacity, brought into 128-255
// when the stored value is out of that range, while conf.ini keeps the value.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/desktop/window_alpha.h"
#include "app/dialogs/edit_wnd.h"
#include "app/main_window/main_wnd.h"
#include "app/search_window/search_wnd.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "tests/app/support/dialog_test_support.h"
#include "tests/app/support/launcher_test_support.h"
#include "tests/app/support/menu_driver.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/controls/list_box.h"
#include "ui/controls/menu_mgr.h"

namespace {

using window_test::PumpFor;

::testing::Environment* const gdiplus = ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

// The opacity of every launcher window that comes up while it watches, by window
// title; each window seen is closed again, as a user would after looking at it.
struct DialogWatcher {
  static DialogWatcher*& Current() {
    static DialogWatcher* current = nullptr;
    return current;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    DialogWatcher* watcher = Current();
    if (!watcher) return;
    for (const wchar_t* title : {L"HotKeyWnd", L"SettingWnd", L"UrlWnd", L"SysWnd", L"NameWnd", L"IconWnd"}) {
      HWND hwnd = FindWindowW(nullptr, title);
      if (!hwnd || !IsWindowVisible(hwnd) || watcher->seen.count(title)) continue;
      auto* window = reinterpret_cast<ui::Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
      watcher->seen[title] = window ? window->GetWindowAlpha() : -1;
      PostMessageW(hwnd, WM_CLOSE, 0, 0);
    }
  }
  DialogWatcher() {
    Current() = this;
    timer_ = SetTimer(nullptr, 0, 60, Tick);
  }
  ~DialogWatcher() {
    KillTimer(nullptr, timer_);
    Current() = nullptr;
  }
  DialogWatcher(const DialogWatcher&) = delete;
  DialogWatcher& operator=(const DialogWatcher&) = delete;
  std::map<std::wstring, int> seen;

 private:
  UINT_PTR timer_ = 0;
};

using launcher_test::BringUpSearchWindow;

struct AlphaCase {
  int stored;
  int shown;
};

class WindowAlphaTest : public launcher_test::MainWindowFixture, public ::testing::WithParamInterface<AlphaCase> {
 protected:
  WindowAlphaTest() : MainWindowFixture(/*inFront=*/true) {}

  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(MainWindowFixture::SetUp());
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    ASSERT_TRUE(store.AddLink(store.topGroups.at(0)->tags.at(0),
                              launcher_test::NewLink(L"记事本", L"C:\\windows\\notepad.exe")));
    GetSettings().nAlpha = GetParam().stored;
    ASSERT_TRUE(GetSettings().Save());
    OpenWindowOverStore();
  }

  // Follows the path in the menu a right click at the point opens; the dialog
  // the item opens is watched and closed.
  void Choose(DialogWatcher&, POINT at, const std::vector<std::wstring>& path) {
    SetForegroundWindow(hwnd_);
    PumpFor(100);
    const menu_driver::Visit visit = menu_driver::ChooseFromMenu(hwnd_, at, path);
    EXPECT_TRUE(visit.shown) << "a menu opens";
    menu_driver::ExpectEveryItemFound(visit);
    PumpFor(200);
  }
  POINT EmptyCardPoint() {
    const RECT rc = window_->LinkBox()->GetPos();
    return POINT{(rc.left + rc.right) / 2, rc.bottom - 12};
  }
};

TEST_P(WindowAlphaTest, EveryWindowAndMenuOfTheLauncherShowsOneOpacity) {
  const int shown = GetParam().shown;
  EXPECT_EQ(window_->GetWindowAlpha(), shown) << "main window";
  CSearchWnd* search = BringUpSearchWindow(*window_);
  ASSERT_NE(search, nullptr) << "the search button brings up the search window";
  EXPECT_EQ(search->GetWindowAlpha(), shown) << "search window";
  // Esc puts it away, as a user would before going on: a search window left up
  // (it hides on losing the foreground only when that comes in time) would be
  // taken for the menu the next right click opens.
  window_test::PostAndPump(search->GetHWND(), WM_KEYDOWN, VK_ESCAPE, 1);
  ASSERT_TRUE(window_test::PumpUntil([&] { return !IsWindowVisible(search->GetHWND()); })) << "Esc hides the search window";

  // The main menu with its theme level open.
  int menuAlpha = -1;
  int levelAlpha = -1;
  ChooseOnTitle({L"open_menu_skin", L"!no_such_item"}, [&] {
    HWND top = nullptr;
    HWND level = nullptr;
    menu_driver::FindVisibleItem(hwnd_, L"hide_tile", &top);
    menu_driver::FindVisibleItem(hwnd_, L"MenuSkinItem", &level);
    if (!top) return false;
    menuAlpha = reinterpret_cast<ui::Window*>(GetWindowLongPtrW(top, GWLP_USERDATA))->GetWindowAlpha();
    if (level) levelAlpha = reinterpret_cast<ui::Window*>(GetWindowLongPtrW(level, GWLP_USERDATA))->GetWindowAlpha();
    return true;
  });
  EXPECT_EQ(menuAlpha, shown) << "main menu";
  if (levelAlpha != -1) {
    EXPECT_EQ(levelAlpha, shown) << "its theme level";
  }

  {
    DialogWatcher watcher;
    Choose(watcher, TitlePoint(), {L"hotkey"});
    Choose(watcher, TitlePoint(), {L"setting"});
    Choose(watcher, EmptyCardPoint(), {L"add_url"});
    Choose(watcher, EmptyCardPoint(), {L"add_sys"});
    Choose(watcher, ItemPoint(window_->GroupList(), 0), {L"rename_group"});
    for (const wchar_t* title : {L"HotKeyWnd", L"SettingWnd", L"UrlWnd", L"SysWnd", L"NameWnd"}) {
      ASSERT_TRUE(watcher.seen.count(title)) << std::string(title, title + wcslen(title)) << " opened";
      EXPECT_EQ(watcher.seen[title], shown) << std::string(title, title + wcslen(title));
    }
  }

  // The link editor over the main window, and the icon dialog its icon button opens.
  auto link = GetLinkStore().topGroups.at(0)->tags.at(0)->links.at(0);
  DialogWatcher watcher;
  auto* editor = new CEditWnd;
  editor->SetLink(link);
  int editorAlpha = -1;
  const UINT result = dialog_test::RunScripted(*editor, hwnd_,
                                               {
                                                   [&editorAlpha](CDialogWnd& d) {
                                                     editorAlpha = d.GetWindowAlpha();
                                                     dialog_test::Click(d, L"btn_icon");
                                                   },
                                                   [](CDialogWnd& d) { dialog_test::Click(d, L"btn_cancel"); },
                                               });
  if (result != CDialogWnd::kNotCreated) delete editor;
  EXPECT_EQ(result, CDialogWnd::kResultCancel);
  EXPECT_EQ(editorAlpha, shown) << "link editor";
  ASSERT_TRUE(watcher.seen.count(L"IconWnd")) << "the icon dialog opened";
  EXPECT_EQ(watcher.seen[L"IconWnd"], shown) << "icon dialog";

  // The stored value stays as the user's file has it.
  Settings stored;
  stored.Load();
  EXPECT_EQ(stored.nAlpha, GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(StoredValues, WindowAlphaTest,
                         ::testing::Values(AlphaCase{200, 200}, AlphaCase{0, 128}, AlphaCase{300, 255}));

// A new opacity set in 设置 reaches the search window, made hidden at start,
// together with the main window: it needs no restart.
using WindowAlphaAfterSettingsTest = WindowAlphaTest;

TEST_P(WindowAlphaAfterSettingsTest, OkInTheSettingsGivesTheSearchWindowTheNewOpacityAtOnce) {
  ASSERT_TRUE(window_test::PumpUntil([&] { return window_->SearchWindow() != nullptr; })) << "made at start";
  EXPECT_EQ(window_->SearchWindow()->GetWindowAlpha(), GetParam().shown);
  int chosen = 0;
  dialog_test::RunScriptedOpener([this] { return dynamic_cast<CDialogWnd*>(window_->OpenDialog()); },
                                 [this] { ChooseOnTitle({L"setting"}); },
                                 {
                                     [](CDialogWnd& d) { dialog_test::Click(d, L"slider_alpha"); },
                                     [&chosen](CDialogWnd& d) {
                                       chosen = d.GetWindowAlpha();  // the dialog previews the slider's value
                                       dialog_test::Click(d, L"btn_ok");
                                     },
                                 });
  ASSERT_NE(chosen, GetParam().shown) << "the click moved the slider";
  ASSERT_TRUE(window_test::PumpUntil([&] { return window_->GetWindowAlpha() == chosen; })) << "the main window took it";
  CSearchWnd* search = BringUpSearchWindow(*window_);
  ASSERT_NE(search, nullptr);
  EXPECT_EQ(search, window_->SearchWindow()) << "the window made at start, not a new one";
  EXPECT_EQ(search->GetWindowAlpha(), chosen);
  window_test::PostAndPump(search->GetHWND(), WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_TRUE(window_test::PumpUntil([&] { return !IsWindowVisible(search->GetHWND()); }));
}

INSTANTIATE_TEST_SUITE_P(StoredValue, WindowAlphaAfterSettingsTest, ::testing::Values(AlphaCase{0, 128}));

TEST(WindowAlphaRules, OutOfRangeValuesAreBroughtIntoHalfToFullOpacity) {
  EXPECT_EQ(EffectiveAlpha(-5), 128);
  EXPECT_EQ(EffectiveAlpha(127), 128);
  EXPECT_EQ(EffectiveAlpha(128), 128);
  EXPECT_EQ(EffectiveAlpha(255), 255);
  EXPECT_EQ(EffectiveAlpha(256), 255);
}

}  // namespace
