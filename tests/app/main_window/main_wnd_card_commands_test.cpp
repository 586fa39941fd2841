// The card menu's commands on the real main window: move, copy and delete act on
// the store and the cards, survive a restart, and a deleted link's chord is free.
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <string>

#include "app/controls/list_item_id.h"
#include "app/main_window/main_wnd.h"
#include "data/hot_key_table.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "tests/app/support/launcher_test_support.h"
#include "tests/support/clipboard_text.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/scoped_handles.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/controls/menu_item.h"
#include "ui/controls/menu_mgr.h"
#include "ui/controls/menu_ui.h"

namespace {

using launcher_test::NewLink;
using launcher_test::NewTag;
using window_test::PumpFor;

// Ctrl+Alt+F9 as the launcher stores it and as RegisterHotKey takes it.
const uint16_t kChord = MakeHotKeyCode(kHotKeyCtrl | kHotKeyAlt, VK_F9);
const UINT kChordModifiers = MOD_CONTROL | MOD_ALT;

// Exit code of the chord-registering program: 0 when it got the chord.
DWORD RegisterChordElsewhere() {
  std::wstring command = L"\"" + pexo_test::ExeFolder() + L"\\register_chord.exe\" " +
                         std::to_wstring(kChordModifiers) + L" " + std::to_wstring(VK_F9);
  STARTUPINFOW startup = {sizeof(startup)};
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return 99;
  }
  ui::UniqueHandle processHandle(process.hProcess);
  ui::UniqueHandle threadHandle(process.hThread);
  WaitForSingleObject(process.hProcess, 10000);
  DWORD code = 98;
  GetExitCodeProcess(process.hProcess, &code);
  return code;
}

class CardCommandsTest : public launcher_test::MainWindowFixture {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(MainWindowFixture::SetUp());
    GetSettings().bDelConfirm = false;
    // Tags: "甲" with three links (the third with a chord), "乙" empty, a note tag
    // and an all-links tag.
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    auto group = store.topGroups.at(0);
    auto first = group->tags.at(0);
    first->NAME = L"甲";
    ASSERT_TRUE(store.SaveGroup(first));
    ASSERT_TRUE(store.AddLink(first, NewLink(L"一", L"C:\\windows\\notepad.exe")));
    ASSERT_TRUE(store.AddLink(first, NewLink(L"二", L"https://example.com/", kLinkWebAddress)));
    auto chorded = NewLink(L"三", L"C:\\windows\\regedit.exe");
    chorded->HotKey = kChord;
    ASSERT_TRUE(store.AddLink(first, chorded));
    ASSERT_TRUE(store.AddTag(group, NewTag(L"乙")));
    ASSERT_TRUE(store.AddTag(group, NewTag(L"便签", kGroupNote)));
    ASSERT_TRUE(store.AddTag(group, NewTag(L"全部", kGroupAllLinks)));
    OpenWindowOverStore();
  }

  // The ID of the link at a place of a tag.
  int32_t Id(int tagIndex, size_t at) { return Tag(tagIndex)->links.at(at)->ID; }

  std::wstring Names(int tagIndex) {
    std::wstring names;
    for (const auto& link : Tag(tagIndex)->links) names += link->NAME;
    return names;
  }
};

TEST_F(CardCommandsTest, MoveCopyAndDeleteReachTheStoreAndSurviveARestart) {
  ASSERT_EQ(window_->LinkBox()->GetCount(), 3);
  const int32_t second = Tag(1)->ID;
  EXPECT_TRUE(window_->MoveCardLinkToTag(window_->CurrentTag()->ID, Id(0, 0), second));
  EXPECT_EQ(window_->LinkBox()->GetCount(), 2);
  EXPECT_TRUE(window_->CopyCardLinkToTag(window_->CurrentTag()->ID, Id(0, 0), second));
  EXPECT_TRUE(window_->RunCardLinkCommand(L"del_link", window_->CurrentTag()->ID, Id(0, 1), POINT{}));
  EXPECT_EQ(window_->LinkBox()->GetCount(), 1);
  EXPECT_EQ(Names(0), L"二");
  EXPECT_EQ(Names(1), L"一二");

  // Tags that take no links refuse, each with its own notice.
  EXPECT_FALSE(window_->MoveCardLinkToTag(window_->CurrentTag()->ID, Id(0, 0), Tag(2)->ID));
  EXPECT_EQ(window_->LastNotice(), L"特殊标签不可执行此操作");
  EXPECT_FALSE(window_->CopyCardLinkToTag(window_->CurrentTag()->ID, Id(0, 0), Tag(3)->ID));
  EXPECT_EQ(window_->LastNotice(), L"特殊标签不能执行此操作");
  window_->TagList()->SelectItem(3, false, true);  // the all-links tag
  PumpFor(50);
  EXPECT_FALSE(window_->RunCardLinkCommand(L"del_link", window_->CurrentTag()->ID, Id(0, 0), POINT{}));
  EXPECT_EQ(window_->LastNotice(), L"特殊标签不能删除");

  Close();
  ASSERT_TRUE(GetLinkStore().Open());
  EXPECT_EQ(Names(0), L"二");
  EXPECT_EQ(Names(1), L"一二");
  EXPECT_EQ(Tag(1)->links[1]->RunCount, 0);
}

// A store that cannot be written refuses every change: each command says so and
// the cards, the tags and the file keep what is stored. (A read-only file does
// not stop the superuser's process under Wine, which the tests may run as; the
// store refuses the same way.)
TEST_F(CardCommandsTest, ChangesTheStoreRefusesSayTheyFailedAndLeaveWhatIsStored) {
  ASSERT_EQ(sqlite3_exec(GetLinkStore().connection, "PRAGMA query_only = ON", nullptr, nullptr, nullptr), SQLITE_OK);
  const std::wstring failed = L"保存失败，请检查数据库文件";
  const int32_t second = Tag(1)->ID;
  EXPECT_FALSE(window_->MoveCardLinkToTag(window_->CurrentTag()->ID, Id(0, 0), second));
  EXPECT_EQ(window_->LastNotice(), failed) << "move";
  window_->ShowNotice(L"");
  EXPECT_FALSE(window_->CopyCardLinkToTag(window_->CurrentTag()->ID, Id(0, 0), second));
  EXPECT_EQ(window_->LastNotice(), failed) << "copy";
  window_->ShowNotice(L"");
  EXPECT_FALSE(window_->RunCardLinkCommand(L"del_link", window_->CurrentTag()->ID, Id(0, 1), POINT{}));
  EXPECT_EQ(window_->LastNotice(), failed) << "delete";
  window_->ShowNotice(L"");
  EXPECT_EQ(window_->LinkBox()->GetCount(), 3);
  EXPECT_EQ(Names(0), L"一二三");
  EXPECT_EQ(Names(1), L"");

  // Shift+Down on the first tag.
  window_->TagList()->SelectItem(0, false, true);
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = keys[VK_DOWN] = 0x80;
  SetKeyboardState(keys);
  window_->SendControlEvent(window_->TagList()->GetItemAt(0), ui::keydown, VK_DOWN);
  keys[VK_SHIFT] = keys[VK_DOWN] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(window_->LastNotice(), failed) << "a tag moved by its key";
  EXPECT_EQ(Tag(0)->NAME, L"甲");
  EXPECT_EQ(GetListItemId(window_->TagList()->GetItemAt(0)), Tag(0)->ID) << "the tag column moved the tag anyway";

  Close();
  ASSERT_TRUE(GetLinkStore().Open());
  EXPECT_EQ(Tag(0)->NAME, L"甲");
  EXPECT_EQ(Names(0), L"一二三");
  EXPECT_EQ(Names(1), L"");
}

TEST_F(CardCommandsTest, DeletedLinksChordIsFreeForOtherPrograms) {
  const std::shared_ptr<Link> chorded = Tag(0)->links.at(2);
  if (chorded->hotKeyId == 0) GTEST_SKIP() << "the system refused to register the test chord";
  if (RegisterChordElsewhere() == 0 && pexo_test::RunningUnderWine()) {
    GTEST_SKIP() << "this Wine lets two programs register the same chord";
  }
  EXPECT_TRUE(window_->RunCardLinkCommand(L"del_link", window_->CurrentTag()->ID, chorded->ID, POINT{}));
  EXPECT_EQ(RegisterChordElsewhere(), 0u);
}

TEST_F(CardCommandsTest, WebAddressGoesToTheClipboard) {
  EXPECT_TRUE(window_->RunCardLinkCommand(L"open_path", window_->CurrentTag()->ID, Id(0, 1), POINT{}));
  EXPECT_EQ(pexo_test::ClipboardText(), L"https://example.com/");
  // Unknown commands and cards without a link do nothing.
  EXPECT_FALSE(window_->RunCardLinkCommand(L"no_such_command", window_->CurrentTag()->ID, Id(0, 0), POINT{}));
  EXPECT_FALSE(window_->RunCardLinkCommand(L"open_path", window_->CurrentTag()->ID, 12345, POINT{}));
}

// Ends the explorer windows this test process started (Wine starts a new explorer
// to show a folder, and it outlives the test); returns how many there were.
int EndExplorersStartedByUs() {
  int ended = 0;
  ui::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return 0;
  PROCESSENTRY32W entry = {sizeof(entry)};
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
    if (entry.th32ParentProcessID != GetCurrentProcessId() || _wcsicmp(entry.szExeFile, L"explorer.exe") != 0) {
      continue;
    }
    ui::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID));
    if (process && TerminateProcess(process.get(), 0)) {
      WaitForSingleObject(process.get(), 5000);
      ++ended;
    }
  }
  return ended;
}

TEST_F(CardCommandsTest, ContainingFolderOpensForAFileTarget) {
  const bool opened = window_->RunCardLinkCommand(L"open_path", window_->CurrentTag()->ID, Id(0, 0), POINT{});
  bool started = false;
  for (int i = 0; i < 40 && !started; ++i) {
    Sleep(100);
    started = EndExplorersStartedByUs() > 0;
  }
  if (!opened && pexo_test::RunningUnderWine()) GTEST_SKIP() << "this Wine cannot show a folder with an item selected";
  EXPECT_TRUE(opened);
  // Wine shows the folder in an explorer of its own, started by this process (and
  // ended above); Windows reuses its running shell.
  if (pexo_test::RunningUnderWine()) {
    EXPECT_TRUE(started);
  }
  // A built-in function has no folder.
  auto builtIn = NewLink(L"静音", L"#Mute", kLinkBuiltinFunction);
  ASSERT_TRUE(GetLinkStore().AddLink(Tag(0), builtIn));
  window_->OnTagSelect(nullptr);
  ASSERT_EQ(window_->LinkBox()->GetCount(), 4);
  EXPECT_FALSE(window_->RunCardLinkCommand(L"open_path", window_->CurrentTag()->ID, builtIn->ID, POINT{}));
}

// A card menu file with the level names the window looks for.
const char kCardMenuXml[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Window><Box>"
    "<MenuUI name=\"menu_linkbox_item\" width=\"150\" height=\"auto\">"
    "<MenuItem name=\"use_admin\" height=\"24\"><Label name=\"label_use_admin\"/></MenuItem>"
    "<MenuItem name=\"open_path\" height=\"24\"><Label name=\"label_open_path\"/></MenuItem>"
    "<MenuItem name=\"move_to\" height=\"24\" extendmenu=\"menu_move_gp\"/>"
    "<MenuItem name=\"copy_to\" height=\"24\" extendmenu=\"menu_copy_gp\"/>"
    "</MenuUI>"
    "<MenuUI name=\"menu_move_gp\" height=\"auto\"/><MenuUI name=\"menu_copy_gp\" height=\"auto\"/>"
    "<MenuUI name=\"menu_link_move\" height=\"auto\"/><MenuUI name=\"menu_link_copy\" height=\"auto\"/>"
    "</Box></Window>";

std::wstring LabelText(ui::CMenuMgr& menus, const wchar_t* name) {
  auto* label = dynamic_cast<ui::LabelTemplate<ui::Control>*>(
      menus.FindMenu(L"menu_linkbox_item")->FindChildByName(name));
  return label ? label->GetText() : L"(none)";
}

TEST_F(CardCommandsTest, CardMenuListsGroupsThenOnlyOrdinaryTagsAndNamesWebCommands) {
  const std::wstring folder = pexo_test::ExeFolder() + L"\\skin\\gray\\test";
  SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  ASSERT_TRUE(pexo_test::WriteFileBytes(folder + L"\\card_menu_test.xml", kCardMenuXml));
  ui::CMenuMgr menus(hwnd_);
  ASSERT_TRUE(menus.LoadXml(hwnd_, L"test\\card_menu_test.xml"));

  ASSERT_TRUE(window_->PrepareCardMenu(menus, *Tag(0)->links.at(1)));  // a web address
  EXPECT_EQ(LabelText(menus, L"label_use_admin"), L"以隐私模式运行");
  EXPECT_EQ(LabelText(menus, L"label_open_path"), L"复制网址(URL)");
  ASSERT_TRUE(window_->PrepareCardMenu(menus, *Tag(0)->links.at(0)));  // rebuilt, not doubled
  EXPECT_EQ(LabelText(menus, L"label_use_admin"), L"以管理员身份运行");
  EXPECT_EQ(LabelText(menus, L"label_open_path"), L"打开文件位置");

  ui::CMenuUI* groups = menus.FindMenu(L"menu_move_gp");
  ASSERT_EQ(groups->GetCount(), 1);
  EXPECT_EQ(menus.FindMenu(L"menu_copy_gp")->GetCount(), 1);
  auto* groupItem = dynamic_cast<ui::CMenuItem*>(groups->GetItemAt(0));
  ASSERT_NE(groupItem, nullptr);
  EXPECT_EQ(groupItem->GetSubMenu(), menus.FindMenu(L"menu_link_move"));
  ui::EventArgs enter;
  enter.Type = ui::mouseenter;
  enter.pSender = groupItem;
  EXPECT_TRUE(window_->OnMoveMenuItemEnter(&enter));
  EXPECT_EQ(menus.FindMenu(L"menu_link_move")->GetCount(), 2);  // not the note or all-links tag

  // Without the levels no menu is prepared.
  ui::CMenuMgr editOnly(hwnd_);
  ASSERT_TRUE(editOnly.LoadXml(hwnd_, L"menu\\menu_edit.xml"));
  EXPECT_FALSE(window_->PrepareCardMenu(editOnly, *Tag(0)->links.at(0)));
}

}  // namespace
