// The card menu of the real main window, reached as a user reaches it: a right
// click on a card, then a click on the menu's item. "编辑" opens the link editor
// for the card that was right-clicked and its OK (with a colour swatch) reaches
// link.db; "删除" removes the right-clicked link even when a link's hot key
// re-sorted the tag while the menu was up; a link deleted while its editor is
// up keeps no chord after OK.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/controls/hot_key_edit.h"
#include "app/controls/list_item_id.h"
#include "app/hot_keys/hot_key_text.h"
#include "app/dialogs/dialog_wnd.h"
#include "app/main_window/main_wnd.h"
#include "data/hot_key_table.h"
#include "data/link_store.h"
#include <sqlite3.h>
#include "data/settings.h"
#include "tests/app/support/dialog_test_support.h"
#include "tests/app/support/launcher_test_support.h"
#include "tests/app/support/menu_driver.h"
#include "tests/app/support/own_probe.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/controls/list_box.h"
#include "ui/controls/rich_edit.h"
#include "ui/core/box.h"

namespace {

using launcher_test::NewLink;
using window_test::PumpFor;
using Steps = std::deque<std::function<void(CDialogWnd&)>>;

// Ctrl+Alt+F10 as the launcher stores it; WM_HOTKEY carries the system's modifier bits.
const uint16_t kChord = MakeHotKeyCode(kHotKeyCtrl | kHotKeyAlt, VK_F10);
const LPARAM kChordMessage = MAKELPARAM(MOD_CONTROL | MOD_ALT, VK_F10);

class CardMenuTest : public launcher_test::MainWindowFixture {
 protected:
  CardMenuTest() : MainWindowFixture(/*inFront=*/true) {}

  // Links of the first tag that start the recording program (harmless to launch),
  // with the run counts given; the last one carries a chord when asked.
  void PrepareLinks(const std::vector<std::pair<const wchar_t*, int>>& links, int32_t sort, bool chordOnLast) {
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    auto tag = store.topGroups.at(0)->tags.at(0);
    tag->SORT = sort;
    ASSERT_TRUE(store.SaveGroup(tag));
    const std::wstring probe = pexo_test::ProbePath();
    for (size_t i = 0; i < links.size(); ++i) {
      auto link = NewLink(links[i].first, probe);
      link->Parameter = std::wstring(L"card-menu-") + links[i].first;
      link->RunCount = links[i].second;
      if (chordOnLast && i + 1 == links.size()) link->HotKey = kChord;
      ASSERT_TRUE(store.AddLink(tag, link));
      ASSERT_TRUE(store.SaveRunCount(link));
    }
    OpenWindowOverStore();
  }

  std::wstring CardNames() {
    std::wstring names;
    for (int i = 0; i < window_->LinkBox()->GetCount(); ++i) {
      names += GetLinkStore().FindLink(GetListItemId(window_->LinkBox()->GetItemAt(static_cast<size_t>(i))))->NAME;
    }
    return names;
  }
};

TEST_F(CardMenuTest, EditOpensTheEditorOfTheRightClickedCardAndOkWithASwatchReachesLinkDb) {
  PrepareLinks({{L"甲", 0}, {L"乙", 0}, {L"丙", 0}}, kSortByPosition, false);
  ASSERT_EQ(window_->LinkBox()->GetCount(), 3);
  std::wstring shownName;
  std::wstring swatchText;
  ChooseOnCard(1, {L"edit_link"}, {},
               Steps{
                   [&](CDialogWnd& d) {
                     shownName = dialog_test::EditText(d, L"edit_name");
                     auto* name = dynamic_cast<ui::RichEdit*>(d.FindControlByName(L"edit_name"));
                     ASSERT_NE(name, nullptr);
                     name->SetFocus();
                     name->SetSelAll();
                     dialog_test::Type(d, L"乙改");
                   },
                   [&](CDialogWnd& d) {
                     // The first swatch of the first row, as the skin draws it.
                     auto* swatches = dynamic_cast<ui::Box*>(d.FindControlByName(L"colorbox"));
                     ASSERT_NE(swatches, nullptr);
                     dialog_test::ClickControl(d, swatches->GetItemAt(0));
                   },
                   [&](CDialogWnd& d) {
                     swatchText = dialog_test::EditText(d, L"edit_color");
                     dialog_test::Click(d, L"btn_ok");
                   },
               });
  EXPECT_EQ(shownName, L"乙") << "the editor shows the right-clicked card's link";
  EXPECT_EQ(swatchText, L"#ffd93025") << "the swatch gives its own colour";
  EXPECT_EQ(CardNames(), L"甲乙改丙") << "the cards are rebuilt";

  const auto links = StoredLinks();
  ASSERT_EQ(links.size(), 3u);
  EXPECT_EQ(links[0]->NAME, L"甲");
  EXPECT_EQ(links[1]->NAME, L"乙改");
  EXPECT_EQ(links[1]->CustomColor, L"#ffd93025");
  EXPECT_EQ(links[2]->NAME, L"丙");
  EXPECT_TRUE(links[0]->CustomColor.empty() && links[2]->CustomColor.empty());
}

// A chord is free when this process can register it itself.
bool ChordIsFree(UINT modifiers, UINT key) {
  if (!RegisterHotKey(nullptr, 0x7000, modifiers, key)) return false;
  UnregisterHotKey(nullptr, 0x7000);
  return true;
}

TEST_F(CardMenuTest, AnEditTheReadOnlyStoreRefusesShowsTheNoticeAndLeavesTheStoredLinkAndChord) {
  PrepareLinks({{L"甲", 0}, {L"乙", 0}, {L"丙", 0}}, kSortByPosition, true);
  // The window's link.db can be read but not written. (A read-only file does not
  // stop a process of the superuser under Wine, which the tests may run as; the
  // store refuses the same way.)
  ASSERT_EQ(sqlite3_exec(GetLinkStore().connection, "PRAGMA query_only = ON", nullptr, nullptr, nullptr), SQLITE_OK);
  ASSERT_EQ(CardNames(), L"甲乙丙");
  ASSERT_FALSE(ChordIsFree(MOD_CONTROL | MOD_ALT, VK_F10)) << "the stored chord is registered";
  const uint16_t otherChord = MakeHotKeyCode(kHotKeyCtrl | kHotKeyAlt, VK_F11);
  ChooseOnCard(2, {L"edit_link"}, {},
               Steps{
                   [&](CDialogWnd& d) {
                     auto* name = dynamic_cast<ui::RichEdit*>(d.FindControlByName(L"edit_name"));
                     ASSERT_NE(name, nullptr);
                     name->SetFocus();
                     name->SetSelAll();
                     dialog_test::Type(d, L"丙改");
                     ui::SetHotKeyEditCode(dynamic_cast<ui::HotKeyEdit*>(d.FindControlByName(L"edit_hotkey")),
                                           otherChord);
                   },
                   [&](CDialogWnd& d) { dialog_test::Click(d, L"btn_ok"); },
               });
  EXPECT_EQ(window_->LastNotice(), L"保存失败，请检查数据库文件");
  EXPECT_EQ(CardNames(), L"甲乙丙") << "the card shows a name the store does not hold";
  auto link = GetLinkStore().FindLink(GetListItemId(window_->LinkBox()->GetItemAt(2)));
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->NAME, L"丙");
  EXPECT_EQ(link->HotKey, kChord);
  EXPECT_FALSE(ChordIsFree(MOD_CONTROL | MOD_ALT, VK_F10)) << "the stored chord was not registered again";
  EXPECT_TRUE(ChordIsFree(MOD_CONTROL | MOD_ALT, VK_F11)) << "the refused chord stayed registered";

  const auto links = StoredLinks();
  ASSERT_EQ(links.size(), 3u);
  EXPECT_EQ(links[2]->NAME, L"丙");
  EXPECT_EQ(links[2]->HotKey, kChord);
}

// "创建桌面快捷方式" for a link whose name leaves no file name says so; one that
// can be written says nothing.
TEST_F(CardMenuTest, AShortcutThatCannotBeWrittenShowsANotice) {
  PrepareLinks({{L"...", 0}, {L"快捷甲", 0}}, kSortByPosition, false);
  ChooseOnCard(0, {L"create_shortcut"});
  EXPECT_EQ(window_->LastNotice(), L"创建快捷方式失败");
  window_->ShowNotice(L"");

  ChooseOnCard(1, {L"create_shortcut"});
  wchar_t desktop[MAX_PATH] = {};
  ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOP, FALSE));
  const std::wstring written = std::wstring(desktop) + L"\\快捷甲.lnk";
  EXPECT_NE(GetFileAttributesW(written.c_str()), INVALID_FILE_ATTRIBUTES) << "no shortcut on the desktop";
  DeleteFileW(written.c_str());
  EXPECT_EQ(window_->LastNotice(), L"");
}

// A card whose file is gone: "打开文件位置" finds no folder to show and
// "以管理员身份运行" is refused by the system; both are told by name, as a click
// on the card is, and the refused run is counted as that click counts it.
TEST_F(CardMenuTest, MenuCommandsTheSystemRefusesForAGoneTargetAreToldByName) {
  LinkStore& store = GetLinkStore();
  ASSERT_TRUE(store.Open());
  auto gone = NewLink(L"旧工具", L"C:\\no\\such\\tool.exe");
  ASSERT_TRUE(store.AddLink(store.topGroups.at(0)->tags.at(0), gone));
  GetSettings().bSaveRunCount = true;
  OpenWindowOverStore();
  ChooseOnCard(0, {L"open_path"});
  EXPECT_EQ(window_->LastNotice(), L"无法打开 旧工具 的文件位置");
  ChooseOnCard(0, {L"use_admin"});
  EXPECT_TRUE(window_test::PumpUntil([&] { return window_->LastNotice() == L"无法打开 旧工具"; }, 10000))
      << "the refused elevated start is not told; the last notice: " << testing::PrintToString(window_->LastNotice());
  EXPECT_EQ(StoredLinks().at(0)->RunCount, 1);
}

TEST_F(CardMenuTest, DeleteRemovesTheRightClickedLinkAfterAHotKeyResortedTheTagWhileTheMenuWasUp) {
  GetSettings().bDelConfirm = false;
  GetSettings().bSaveRunCount = true;
  // Sorted by run count: 甲 (10), 乙 (5), 丙 (4, with the chord).
  PrepareLinks({{L"甲", 10}, {L"乙", 5}, {L"丙", 4}}, kSortByRunCount, true);
  ASSERT_EQ(CardNames(), L"甲乙丙");
  const int32_t rightClicked = GetLinkStore().topGroups.at(0)->tags.at(0)->links.at(1)->ID;
  bool resorted = false;
  ChooseOnCard(1, {L"del_link"}, [&] {
    // 丙 started twice by its chord: 6 runs, ahead of 乙, so the tag is rebuilt
    // and 丙's card now sits where 乙's was right-clicked.
    SendMessageW(hwnd_, WM_HOTKEY, 1, kChordMessage);
    SendMessageW(hwnd_, WM_HOTKEY, 1, kChordMessage);
    resorted = CardNames() == L"甲丙乙";
  });
  EXPECT_TRUE(resorted) << "the chord re-sorted the tag while the menu was up";
  EXPECT_EQ(CardNames(), L"甲丙") << "the right-clicked card went, no other";
  EXPECT_FALSE(GetLinkStore().FindLink(rightClicked));

  const auto links = StoredLinks();
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[0]->NAME, L"甲");
  EXPECT_EQ(links[1]->NAME, L"丙");
  EXPECT_EQ(links[1]->RunCount, 6);
}

// While the delete confirmation is up, the chord re-sorts the tag; OK then
// deletes the link whose card was right-clicked.
struct ChordThenConfirm {
  static ChordThenConfirm*& Current() {
    static ChordThenConfirm* current = nullptr;
    return current;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ChordThenConfirm* self = Current();
    if (!self) return;
    HWND box = dialog_test::VisibleStandardDialog();
    if (!box) return;
    Current() = nullptr;
    self->asked = true;
    SendMessageW(self->main, WM_HOTKEY, 1, kChordMessage);
    SendMessageW(self->main, WM_HOTKEY, 1, kChordMessage);
    self->resorted = self->names() == L"甲丙乙";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
  HWND main = nullptr;
  std::function<std::wstring()> names;
  bool asked = false;
  bool resorted = false;
};

TEST_F(CardMenuTest, DeleteConfirmedAfterTheTagWasResortedMeanwhileRemovesTheRightClickedLink) {
  GetSettings().bDelConfirm = true;
  GetSettings().bSaveRunCount = true;
  PrepareLinks({{L"甲", 10}, {L"乙", 5}, {L"丙", 4}}, kSortByRunCount, true);
  ASSERT_EQ(CardNames(), L"甲乙丙");
  ChordThenConfirm answer;
  answer.main = hwnd_;
  answer.names = [this] { return CardNames(); };
  ChordThenConfirm::Current() = &answer;
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, &ChordThenConfirm::Tick);
  ChooseOnCard(1, {L"del_link"});
  PumpFor(200);
  KillTimer(nullptr, timer);
  ChordThenConfirm::Current() = nullptr;
  EXPECT_TRUE(answer.asked) << "the deletion was confirmed";
  EXPECT_TRUE(answer.resorted) << "the chord re-sorted the tag while the question was up";
  EXPECT_EQ(CardNames(), L"甲丙");

  const auto links = StoredLinks();
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[0]->NAME, L"甲");
  EXPECT_EQ(links[1]->NAME, L"丙");
}

// Keys held as a hand holds them: their state first, then the message.
void HoldKeys(std::initializer_list<int> keys, bool down) {
  BYTE state[256] = {};
  GetKeyboardState(state);
  for (int key : keys) state[key] = down ? 0x80 : 0;
  SetKeyboardState(state);
}

// The editor of 乙 (chord Ctrl+Alt+F10) gets Ctrl+Shift+F6 typed into its
// hot-key field, then 乙 is deleted by a command carried out while the editor is
// up; 确定 registers the typed chord, for a link no longer there. Neither chord
// may stay taken, and link.db keeps no trace of 乙.
TEST_F(CardMenuTest, ALinkDeletedWhileItsEditorIsUpLeavesNoChordTakenAfterOk) {
  GetSettings().bDelConfirm = false;
  PrepareLinks({{L"甲", 0}, {L"乙", 0}}, kSortByPosition, true);
  ASSERT_EQ(CardNames(), L"甲乙");
  std::shared_ptr<Link> edited = GetLinkStore().FindLink(GetListItemId(window_->LinkBox()->GetItemAt(1)));
  ASSERT_NE(edited, nullptr);
  ASSERT_FALSE(ChordIsFree(MOD_CONTROL | MOD_ALT, VK_F10)) << "the stored chord is registered";
  ASSERT_TRUE(ChordIsFree(MOD_CONTROL | MOD_SHIFT, VK_F6)) << "another program holds the chord the test types";
  const int32_t editedId = edited->ID;
  std::wstring typed;
  bool deleted = false;
  bool okClicked = false;
  ChooseOnCard(1, {L"edit_link"}, {},
               Steps{
                   [&](CDialogWnd& d) { dialog_test::Click(d, L"edit_hotkey"); },
                   [&](CDialogWnd& d) {
                     HoldKeys({VK_CONTROL}, true);
                     PostMessageW(d.GetHWND(), WM_KEYDOWN, VK_CONTROL, 1);
                   },
                   [&](CDialogWnd& d) {
                     HoldKeys({VK_SHIFT}, true);
                     PostMessageW(d.GetHWND(), WM_KEYDOWN, VK_SHIFT, 1);
                   },
                   [&](CDialogWnd& d) {
                     HoldKeys({VK_F6}, true);
                     PostMessageW(d.GetHWND(), WM_KEYDOWN, VK_F6, 1);
                   },
                   [&](CDialogWnd& d) {
                     HoldKeys({VK_F6, VK_SHIFT, VK_CONTROL}, false);
                     for (WPARAM key : {VK_F6, VK_SHIFT, VK_CONTROL}) PostMessageW(d.GetHWND(), WM_KEYUP, key, 0xC0000001);
                   },
                   [&](CDialogWnd& d) {
                     typed = dialog_test::EditText(d, L"edit_hotkey");
                     // A deletion chosen before this loop and carried out in it.
                     deleted = window_->RunCardLinkCommand(L"del_link", window_->CurrentTag()->ID, editedId, POINT{});
                   },
                   [&](CDialogWnd& d) {
                     okClicked = true;
                     dialog_test::Click(d, L"btn_ok");
                   },
               });
  HoldKeys({VK_F6, VK_SHIFT, VK_CONTROL}, false);
  EXPECT_EQ(typed, L"Ctrl + Shift + " + HotKeyToText(0, VK_F6)) << "the typed chord is shown";
  ASSERT_TRUE(deleted) << "the link was not deleted under the editor";
  ASSERT_TRUE(okClicked);
  EXPECT_EQ(edited->HotKey, MakeHotKeyCode(kHotKeyCtrl | kHotKeyShift, VK_F6)) << "OK did not take the typed chord";
  EXPECT_EQ(GetLinkStore().FindLink(editedId), nullptr);
  EXPECT_EQ(CardNames(), L"甲");
  EXPECT_EQ(edited->hotKeyId, 0) << "the deleted link holds a registration";
  for (const HotKeyTable::Entry& entry : GetHotKeyTable().entries()) {
    EXPECT_FALSE(entry.link.lock() == edited) << "the deleted link stays in the chord table";
  }
  EXPECT_TRUE(GetHotKeyTable().FindLink(MakeHotKeyCode(kHotKeyCtrl | kHotKeyShift, VK_F6)) == nullptr)
      << "the typed chord would start the deleted link";
  EXPECT_TRUE(ChordIsFree(MOD_CONTROL | MOD_SHIFT, VK_F6)) << "the typed chord stays taken by a deleted link";
  EXPECT_TRUE(ChordIsFree(MOD_CONTROL | MOD_ALT, VK_F10)) << "the old chord stays taken by a deleted link";
  edited.reset();

  // A new link takes the typed chord at once.
  auto next = NewLink(L"丁", pexo_test::ProbePath());
  next->HotKey = MakeHotKeyCode(kHotKeyCtrl | kHotKeyShift, VK_F6);
  ASSERT_TRUE(GetLinkStore().AddLink(GetLinkStore().topGroups.at(0)->tags.at(0), next));
  EXPECT_TRUE(GetHotKeyTable().RegisterLink(next)) << "a new link cannot take the freed chord";
  EXPECT_EQ(GetHotKeyTable().FindLink(next->HotKey), next);
  GetHotKeyTable().UnregisterLink(next);

  const auto links = StoredLinks();
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[0]->NAME, L"甲");
  EXPECT_EQ(links[1]->NAME, L"丁");
  for (const auto& link : links) EXPECT_NE(link->ID, editedId) << "link.db still holds the deleted link";
  EXPECT_EQ(links[0]->HotKey, 0);
}

}  // namespace
