// The link box menu on the real main window, chosen with real right clicks: the
// marks show the tag's view, the icon size, view and sort reach link.db and stay
// after a restart, special tags refuse, clearing frees chords and asks first,
// the file dialog adds a link and leaves the program folder current, and a write
// the store refuses leaves the view as it was.
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <string>

#include "app/dialogs/dialog_wnd.h"
#include "app/main_window/main_wnd.h"
#include "data/hot_key_table.h"
#include "data/link_store.h"
#include "data/program_dir.h"
#include "data/settings.h"
#include "tests/app/support/dialog_test_support.h"
#include "tests/app/support/launcher_test_support.h"
#include "tests/app/support/menu_driver.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/controls/list_box.h"
#include "ui/controls/menu_mgr.h"
#include "ui/controls/menu_ui.h"

namespace {

using dialog_test::VisibleStandardDialog;
using menu_driver::ChooseFromMenu;
using launcher_test::NewLink;
using launcher_test::NewTag;
using window_test::PumpFor;

::testing::Environment* const gdiplus = ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

const uint16_t kChord = MakeHotKeyCode(kHotKeyCtrl | kHotKeyAlt, VK_F8);

// Answers the next standard dialog from a timer: `text` goes into its file-name
// field first (when given), then the button `answer` is pressed.
struct DialogAnswer {
  static DialogAnswer*& Current() {
    static DialogAnswer* current = nullptr;
    return current;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    DialogAnswer* answer = Current();
    HWND dialog = answer ? VisibleStandardDialog() : nullptr;
    if (!dialog) return;
    answer->seen = true;
    if (!answer->text.empty()) {
      // The file-name field of the explorer-style dialog: an edit or a combo box.
      if (!SetDlgItemTextW(dialog, 0x480, answer->text.c_str())) SetDlgItemTextW(dialog, 0x47c, answer->text.c_str());
    }
    if (answer->folder) {
      // The folder picker's own message, as a click in its tree would choose.
      SendMessageW(dialog, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(answer->folder));
    }
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(answer->button, BN_CLICKED), 0);
    Current() = nullptr;
  }
  int button = IDCANCEL;
  std::wstring text;
  const ITEMIDLIST* folder = nullptr;  // chosen in a folder picker
  bool seen = false;
};

class TagMenuTest : public launcher_test::MainWindowFixture {
 protected:
  TagMenuTest() : MainWindowFixture(/*inFront=*/true) {}

  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(MainWindowFixture::SetUp());
    GetSettings().bDelConfirm = false;
    // Tags: "甲" with two links (the second with a chord), a note tag and an all-links tag.
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    auto group = store.topGroups.at(0);
    auto first = group->tags.at(0);
    first->NAME = L"甲";
    ASSERT_TRUE(store.SaveGroup(first));
    ASSERT_TRUE(store.AddLink(first, NewLink(L"一", L"C:\\windows\\notepad.exe")));
    auto chorded = NewLink(L"二", L"C:\\windows\\regedit.exe");
    chorded->HotKey = kChord;
    ASSERT_TRUE(store.AddLink(first, chorded));
    ASSERT_TRUE(store.AddTag(group, NewTag(L"便签", kGroupNote)));
    ASSERT_TRUE(store.AddTag(group, NewTag(L"全部", kGroupAllLinks)));
    OpenWindowOverStore();
  }

  void TearDown() override {
    DialogAnswer::Current() = nullptr;
    MainWindowFixture::TearDown();
  }

  void SelectTag(int index) {
    window_->TagList()->SelectItem(index, false, true);
    PumpFor(50);
  }
  // A point of the link box below its cards.
  POINT EmptyLinkBoxPoint() {
    const RECT rc = window_->LinkBox()->GetPos();
    return POINT{(rc.left + rc.right) / 2, rc.bottom - 12};
  }
  menu_driver::Visit Choose(const std::vector<std::wstring>& path, const std::function<void()>& inspect = {}) {
    menu_driver::Visit visit = ChooseFromMenu(hwnd_, EmptyLinkBoxPoint(), path, inspect);
    menu_driver::ExpectEveryItemFound(visit);
    return visit;
  }
  // Runs a menu visit while a standard dialog is answered.
  menu_driver::Visit ChooseAnswering(const std::vector<std::wstring>& path, DialogAnswer& answer) {
    DialogAnswer::Current() = &answer;
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, DialogAnswer::Tick);
    menu_driver::Visit visit = Choose(path);
    KillTimer(nullptr, timer);
    DialogAnswer::Current() = nullptr;
    return visit;
  }
};

// Which marks of the menu file are shown for a tag.
std::wstring ShownMarks(HWND owner, const Group& tag) {
  ui::CMenuMgr menus(owner);
  if (!menus.LoadXml(owner, CMainWnd::kMenuFile) || !CMainWnd::MarkTagMenu(menus, tag)) return L"(no menu)";
  std::wstring shown;
  for (const wchar_t* level : {L"icon_size", L"view_type", L"view_sort"}) {
    ui::CMenuUI* menu = menus.FindMenu(level);
    for (const wchar_t* mark : {L"btn_small_icon", L"btn_big_icon", L"btn_large_icon", L"btn_view_list",
                                L"btn_view_tile", L"btn_sort_normal", L"btn_sort_runcount", L"btn_sort_initial"}) {
      ui::Control* control = menu->FindChildByName(mark);
      if (control && control->IsVisible()) shown += std::wstring(shown.empty() ? L"" : L" ") + mark;
    }
  }
  return shown;
}

TEST_F(TagMenuTest, IconSizeViewAndSortReachTheStoreAndStayAfterARestart) {
  // A fresh tag shows the marks of its zero values, and only those.
  EXPECT_EQ(ShownMarks(hwnd_, *Tag(0)), L"btn_big_icon btn_view_tile btn_sort_normal");
  // The menu opens on a right click in the link box's empty part; dismissed, it changes nothing.
  ASSERT_TRUE(Choose({}).shown);
  EXPECT_EQ(Tag(0)->ICONSIZE, kIconSize32);

  ASSERT_TRUE(Choose({L"open_icon_size", L"btn_big_icon", L"!btn_small_icon", L"small_icon"}).shown);
  EXPECT_EQ(Tag(0)->ICONSIZE, kIconSize16);
  EXPECT_EQ(window_->LinkBox()->GetCount(), 2);  // the cards are rebuilt, none lost
  ASSERT_TRUE(Choose({L"open_view_type", L"view_list"}).shown);
  EXPECT_TRUE(window_->OnTagMenuCommand(L"sort_initial"));
  // Sorting by run count while counts are not kept says so and still sorts.
  GetSettings().bSaveRunCount = false;
  EXPECT_TRUE(window_->OnTagMenuCommand(L"sort_runcount"));
  EXPECT_EQ(window_->LastNotice(), L"请在设置中勾选【记录启动次数】");

  Restart();
  EXPECT_EQ(Tag(0)->ICONSIZE, kIconSize16);
  EXPECT_EQ(Tag(0)->LAYOUT, kLayoutList);
  EXPECT_EQ(Tag(0)->SORT, kSortByRunCount);
  EXPECT_EQ(window_->LinkBox()->GetCount(), 2);
  EXPECT_EQ(ShownMarks(hwnd_, *Tag(0)), L"btn_small_icon btn_view_list btn_sort_runcount");
  // A value without a mark leaves the marks as the file has them.
  Group odd;
  odd.ICONSIZE = 7;
  odd.LAYOUT = 2;
  odd.SORT = -1;
  EXPECT_EQ(ShownMarks(hwnd_, odd), L"");
}

TEST_F(TagMenuTest, SpecialTagsRefuseAddingAndClearing) {
  SelectTag(2);  // the all-links tag
  DialogAnswer answer;
  ASSERT_TRUE(ChooseAnswering({L"add_file"}, answer).shown);
  EXPECT_FALSE(answer.seen) << "no dialog opens on a special tag";
  EXPECT_EQ(window_->LastNotice(), L"特殊标签不能添加链接");
  window_->ShowNotice(L"");
  ASSERT_TRUE(Choose({L"clear_group"}).missing.empty());
  EXPECT_EQ(window_->LastNotice(), L"特殊标签不能清理");
  // Making the icons anew is allowed on every tag and only rebuilds the view.
  ASSERT_TRUE(Choose({L"refresh_group_icon"}).shown);
  EXPECT_EQ(window_->LinkBox()->GetCount(), 2);
  EXPECT_EQ(Tag(0)->links.size(), 2u);
  // The note tag shows its editor, not the link box: its refusals come through the commands.
  SelectTag(1);
  for (const wchar_t* command : {L"add_dir", L"add_url", L"add_sys"}) {
    window_->ShowNotice(L"");
    EXPECT_TRUE(window_->OnTagMenuCommand(command));
    EXPECT_EQ(window_->LastNotice(), L"特殊标签不能添加链接") << command;
    EXPECT_EQ(window_->OpenDialog(), nullptr);
  }
}

// A close that arrives while the confirmation is up (here sent from inside the
// box's own loop, as a close from outside is dispatched) does not destroy the
// window under the loop: the box is cancelled, and the window closes once the
// command has returned. Nothing is cleared.
struct CloseDuringBox {
  static CloseDuringBox*& Current() {
    static CloseDuringBox* current = nullptr;
    return current;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    CloseDuringBox* self = Current();
    if (!self || !VisibleStandardDialog()) return;
    Current() = nullptr;
    self->seen = true;
    SendMessageW(self->window, WM_CLOSE, 0, 0);
    self->windowAfterClose = IsWindow(self->window) != FALSE;
    self->storeOpenAfterClose = GetLinkStore().IsOpen();
  }
  HWND window = nullptr;
  bool seen = false;
  bool windowAfterClose = false;
  bool storeOpenAfterClose = false;
};

TEST_F(TagMenuTest, ACloseWhileTheConfirmationIsUpCancelsItAndClosesTheWindowAfterwards) {
  GetSettings().bDelConfirm = true;
  CloseDuringBox close;
  close.window = hwnd_;
  CloseDuringBox::Current() = &close;
  const UINT_PTR timer = SetTimer(nullptr, 0, 200, CloseDuringBox::Tick);
  const menu_driver::Visit visit = ChooseFromMenu(hwnd_, EmptyLinkBoxPoint(), {L"clear_group"});
  KillTimer(nullptr, timer);
  CloseDuringBox::Current() = nullptr;
  ASSERT_TRUE(visit.shown);
  ASSERT_TRUE(close.seen) << "no confirmation came up";
  EXPECT_TRUE(close.windowAfterClose) << "the window was destroyed under the box's loop";
  EXPECT_TRUE(close.storeOpenAfterClose) << "the store was closed under the box's loop";
  EXPECT_TRUE(window_test::PumpUntil([&] { return !IsWindow(hwnd_); }, 3000)) << "the close was not carried out";
  EXPECT_EQ(VisibleStandardDialog(), nullptr);
  window_ = nullptr;
  MSG quit;
  while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  LinkStore& store = GetLinkStore();
  ASSERT_TRUE(store.Open());
  EXPECT_EQ(store.topGroups.at(0)->tags.at(0)->links.size(), 2u) << "the cancelled clear went ahead";
  store.Close();
}

TEST_F(TagMenuTest, ClearingAsksFirstAndFreesTheChordsOfItsLinks) {
  const std::shared_ptr<Link> chorded = Tag(0)->links.at(1);
  GetSettings().bDelConfirm = true;
  DialogAnswer cancel;
  ASSERT_TRUE(ChooseAnswering({L"clear_group"}, cancel).shown);
  EXPECT_TRUE(cancel.seen);
  EXPECT_EQ(Tag(0)->links.size(), 2u);
  EXPECT_EQ(window_->LinkBox()->GetCount(), 2);

  DialogAnswer ok;
  ok.button = IDOK;
  ASSERT_TRUE(ChooseAnswering({L"clear_group"}, ok).shown);
  EXPECT_TRUE(Tag(0)->links.empty());
  EXPECT_EQ(window_->LinkBox()->GetCount(), 0);
  EXPECT_EQ(chorded->hotKeyId, 0) << "a cleared link's chord is unregistered";
  Restart();
  EXPECT_TRUE(Tag(0)->links.empty());
}

TEST_F(TagMenuTest, TheFileDialogAddsALinkAndLeavesTheProgramFolderCurrent) {
  SetCurrentDirectoryW(L"C:\\windows");
  DialogAnswer cancel;
  ASSERT_TRUE(ChooseAnswering({L"add_file"}, cancel).shown);
  // Wine has the system file dialog too: a dialog that did not open is a fault.
  ASSERT_TRUE(cancel.seen) << "the system file dialog did not open";
  EXPECT_EQ(Tag(0)->links.size(), 2u);
  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  std::wstring expected = GetProgramDir();
  if (!expected.empty() && expected.back() == L'\\') expected.pop_back();
  std::wstring actual = current;
  if (!actual.empty() && actual.back() == L'\\') actual.pop_back();
  EXPECT_EQ(_wcsicmp(actual.c_str(), expected.c_str()), 0) << "current: " << actual;

  SetCurrentDirectoryW(L"C:\\windows");
  DialogAnswer chosen;
  chosen.button = IDOK;
  chosen.text = L"C:\\windows\\system32\\cmd.exe";
  ASSERT_TRUE(ChooseAnswering({L"add_file"}, chosen).shown);
  ASSERT_EQ(Tag(0)->links.size(), 3u);
  EXPECT_EQ(Tag(0)->links.back()->NAME, L"cmd");
  Restart();
  ASSERT_EQ(Tag(0)->links.size(), 3u);
}

TEST_F(TagMenuTest, ASpecialFolderChosenInTheFolderPickerBecomesAnItemIdListLink) {
  // "My computer" has no file-system path: only its item-ID list names it.
  ui::AbsoluteItemIdList computer;
  {
    PIDLIST_ABSOLUTE raw = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &raw)));
    computer = ui::AbsoluteItemIdList::TakeOwnership(raw);
  }
  wchar_t path[MAX_PATH] = {};
  ASSERT_FALSE(SHGetPathFromIDListW(computer.get(), path)) << "the computer has no path";
  SHFILEINFOW info = {};
  ASSERT_NE(SHGetFileInfoW(reinterpret_cast<LPCWSTR>(computer.get()), 0, &info, sizeof(info),
                           SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME),
            0u);
  ASSERT_NE(info.iIcon, 0) << "the shell describes the computer with an icon";

  DialogAnswer chosen;
  chosen.button = IDOK;
  chosen.folder = computer.get();
  ASSERT_TRUE(ChooseAnswering({L"add_dir"}, chosen).shown);
  if (!chosen.seen) GTEST_SKIP() << "the system folder picker did not open here";
  ASSERT_EQ(Tag(0)->links.size(), 3u) << "the chosen special folder was added";
  const auto& link = Tag(0)->links.back();
  EXPECT_EQ(link->TYPE, kLinkItemIdList);
  EXPECT_EQ(link->NAME, info.szDisplayName);
  EXPECT_EQ(std::string(link->Pidl.begin(), link->Pidl.end()), computer.ToBytes());
  EXPECT_EQ(window_->LinkBox()->GetCount(), 3);
  Restart();
  ASSERT_EQ(Tag(0)->links.size(), 3u);
  EXPECT_EQ(Tag(0)->links.back()->TYPE, kLinkItemIdList);

  // A folder with a path is added by its path, as before.
  wchar_t system[MAX_PATH] = {};
  ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
  const std::wstring folder = system;
  ui::AbsoluteItemIdList byPath = ui::AbsoluteItemIdList::TakeOwnership(ILCreateFromPathW(folder.c_str()));
  ASSERT_TRUE(byPath);
  DialogAnswer plain;
  plain.button = IDOK;
  plain.folder = byPath.get();
  ASSERT_TRUE(ChooseAnswering({L"add_dir"}, plain).shown);
  ASSERT_TRUE(plain.seen);
  ASSERT_EQ(Tag(0)->links.size(), 4u);
  EXPECT_EQ(Tag(0)->links.back()->TYPE, kLinkFolder);
  EXPECT_EQ(_wcsicmp(Tag(0)->links.back()->PATH.c_str(), folder.c_str()), 0) << Tag(0)->links.back()->PATH.size();
}

// Runs the menu choice while a script answers the launcher dialog it opens; the
// dialog's liveness is noted when it appears.
void ChooseAndCloseWithTheCaptionButton(HWND window, POINT at, const std::wstring& item, CMainWnd* main,
                                        std::weak_ptr<nbase::WeakFlag>& alive, bool& seen) {
  dialog_test::RunScriptedOpener([main] { return dynamic_cast<CDialogWnd*>(main->OpenDialog()); },
                                 [&] { menu_driver::ExpectEveryItemFound(ChooseFromMenu(window, at, {item})); },
                                 std::deque<std::function<void(CDialogWnd&)>>{
                                     [&](CDialogWnd& d) {
                                       seen = true;
                                       alive = d.GetWeakFlag();
                                       dialog_test::Click(d, L"closebtn");
                                     },
                                 });
}

TEST_F(TagMenuTest, WebAddressAndSystemFunctionDialogsClosedWithTheirCaptionButtonAreGoneAndAddNothing) {
  for (const wchar_t* item : {L"add_url", L"add_sys"}) {
    SCOPED_TRACE(std::string(item, item + wcslen(item)));
    std::weak_ptr<nbase::WeakFlag> alive;
    bool seen = false;
    SetForegroundWindow(hwnd_);
    PumpFor(200);
    ChooseAndCloseWithTheCaptionButton(hwnd_, EmptyLinkBoxPoint(), item, window_, alive, seen);
    ASSERT_TRUE(seen) << "the dialog opened";
    EXPECT_TRUE(alive.expired()) << "the closed dialog was deleted";
    EXPECT_EQ(window_->OpenDialog(), nullptr);
    EXPECT_EQ(Tag(0)->links.size(), 2u);
  }
}

TEST_F(TagMenuTest, AWriteTheStoreRefusesLeavesTheViewAsItWas) {
  ASSERT_EQ(sqlite3_exec(GetLinkStore().connection, "PRAGMA query_only = ON", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_TRUE(window_->OnTagMenuCommand(L"large_icon"));
  EXPECT_EQ(Tag(0)->ICONSIZE, kIconSize32);
  EXPECT_EQ(window_->LastNotice(), L"保存失败，请检查数据库文件");
  window_->ShowNotice(L"");
  EXPECT_TRUE(window_->OnTagMenuCommand(L"sort_initial"));
  EXPECT_EQ(Tag(0)->SORT, kSortByPosition);
  EXPECT_EQ(window_->LastNotice(), L"保存失败，请检查数据库文件");
  const std::shared_ptr<Link> chorded = Tag(0)->links.at(1);
  const int chordId = chorded->hotKeyId;
  EXPECT_TRUE(window_->OnTagMenuCommand(L"clear_group"));
  EXPECT_EQ(Tag(0)->links.size(), 2u);
  EXPECT_EQ(window_->LinkBox()->GetCount(), 2);
  EXPECT_EQ(chorded->hotKeyId != 0, chordId != 0) << "a link that stays keeps its chord";
  // Unknown commands do nothing.
  EXPECT_TRUE(window_->OnTagMenuCommand(L"no_such_command"));
}

}  // namespace

namespace {
TEST(MenuFileTest, HoldsTheLinkBoxLevels) {
  ASSERT_TRUE(launcher_test::StartLauncherSkin());
  window_test::TestWindow window{L"PexoMenuFileTest"};
  HWND hwnd = window.CreatePlain(100, 100);
  {
    ui::CMenuMgr menus(hwnd);
    ASSERT_TRUE(menus.LoadXml(hwnd, CMainWnd::kMenuFile));
    for (const wchar_t* level : {L"linkbox", L"icon_size", L"view_type", L"view_sort"}) {
      EXPECT_NE(menus.FindMenu(level), nullptr) << level;
    }
  }
  DestroyWindow(hwnd);
  launcher_test::StopLauncherSkin();
}
}  // namespace
