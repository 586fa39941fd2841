// The group and tag menus on the real main window, chosen with real right clicks:
// tags created, moved between places and groups and deleted, groups moved and
// deleted, all checked in link.db after a restart; deletions release the chords
// of the links they remove and leave no stale note text behind.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/main_window/main_wnd.h"
#include "data/hot_key_table.h"
#include "data/link_store.h"
#include "tests/app/support/launcher_test_support.h"
#include "tests/app/support/menu_driver.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/controls/list_box.h"
#include "ui/controls/menu_item.h"
#include "ui/controls/menu_mgr.h"
#include "ui/controls/menu_ui.h"
#include "ui/core/tab_box.h"

namespace {

using launcher_test::NewLink;
using launcher_test::NewTag;
using window_test::PumpFor;

::testing::Environment* const gdiplus = ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

const uint16_t kChord = MakeHotKeyCode(kHotKeyCtrl | kHotKeyAlt, VK_F9);

class GroupMenuTest : public launcher_test::MainWindowFixture {
 protected:
  GroupMenuTest() : MainWindowFixture(/*inFront=*/true) {}

  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(MainWindowFixture::SetUp());
    GetSettings().bDelConfirm = false;
    // Group one: "甲" (a link with a chord), "乙", a note tag. Group two: "丙".
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    auto group = store.topGroups.at(0);
    group->NAME = L"一组";
    ASSERT_TRUE(store.SaveGroup(group));
    auto first = group->tags.at(0);
    first->NAME = L"甲";
    ASSERT_TRUE(store.SaveGroup(first));
    auto link = NewLink(L"记事本", L"C:\\windows\\notepad.exe");
    link->HotKey = kChord;
    ASSERT_TRUE(store.AddLink(first, link));
    ASSERT_TRUE(store.AddTag(group, NewTag(L"乙")));
    auto note = NewTag(L"便签", kGroupNote);
    note->Content = L"旧的便签";
    ASSERT_TRUE(store.AddTag(group, note));
    ASSERT_TRUE(store.SaveGroup(note));
    auto second = NewTag(L"二组");
    ASSERT_TRUE(store.AddGroup(second));
    ASSERT_TRUE(store.AddTag(second, NewTag(L"丙")));
    OpenWindowOverStore();
  }

  menu_driver::Visit Choose(POINT at, const std::vector<std::wstring>& path) {
    // Under a loaded machine the view may still be settling from the last choice
    // (fades, the hover timer): let it, and right-click once more if no menu came.
    return menu_driver::ChooseWithRetry(hwnd_, at, path, [](bool retry) { PumpFor(retry ? 500 : 300); });
  }
  menu_driver::Visit OnTag(int index, const std::vector<std::wstring>& path) {
    return Choose(ItemPoint(window_->TagList(), index), path);
  }
  menu_driver::Visit OnGroup(int index, const std::vector<std::wstring>& path) {
    return Choose(ItemPoint(window_->GroupList(), index), path);
  }
};

using Names = std::vector<std::wstring>;

TEST_F(GroupMenuTest, TagsAreAddedMovedAndMovedToAnotherGroupAndStayAfterARestart) {
  ASSERT_EQ(window_->TagList()->GetCount(), 3u);
  // Two all-links tags and a note tag from the tag list's empty part; each becomes the current one.
  Choose(EmptyTagListPoint(), {L"new_tag_all"});
  Choose(EmptyTagListPoint(), {L"new_tag_all"});
  EXPECT_EQ(window_->CurrentTagIndex(), 4);
  Choose(EmptyTagListPoint(), {L"new_tag_todo"});
  EXPECT_EQ(window_->TagList()->GetCount(), 6u);
  EXPECT_EQ(window_->CurrentTagIndex(), 5);
  EXPECT_EQ(TagNames(0), (Names{L"甲", L"乙", L"便签", L"全部", L"全部", L"便签"}));

  // Up at the top and down at the bottom do nothing; between, the tags exchange places.
  OnTag(0, {L"up_tag"});
  OnTag(5, {L"down_tag"});
  OnTag(0, {L"down_tag"});
  EXPECT_EQ(TagNames(0), (Names{L"乙", L"甲", L"便签", L"全部", L"全部", L"便签"}));

  // The move level lists the other group only; the moved tag leaves this group's list.
  OnTag(1, {L"open_menu_tag_move", L"tag_move_" + std::to_wstring(GetLinkStore().topGroups[1]->ID)});
  EXPECT_EQ(TagNames(0), (Names{L"乙", L"便签", L"全部", L"全部", L"便签"}));
  EXPECT_EQ(TagNames(1), (Names{L"丙", L"甲"}));
  EXPECT_EQ(window_->TagList()->GetCount(), 5u);

  Restart();
  EXPECT_EQ(TagNames(0), (Names{L"乙", L"便签", L"全部", L"全部", L"便签"}));
  EXPECT_EQ(TagNames(1), (Names{L"丙", L"甲"}));
  EXPECT_EQ(GetLinkStore().topGroups[1]->tags[1]->links.size(), 1u) << "the moved tag keeps its link";
}

TEST_F(GroupMenuTest, DeletingATagReleasesItsChordsAndTheShownNoteGoesWithIt) {
  ASSERT_NE(GetHotKeyTable().FindLink(kChord), nullptr);
  OnTag(0, {L"del_tag"});
  EXPECT_EQ(GetHotKeyTable().FindLink(kChord), nullptr) << "the deleted link's chord is released";
  EXPECT_EQ(TagNames(0), (Names{L"乙", L"便签"}));

  // The note tag is shown, then deleted: the editor keeps none of its text.
  window_->TagList()->SelectItem(1, false, true);
  PumpFor(100);
  ASSERT_EQ(window_->LinkTabBox()->GetCurSel(), 1);
  OnTag(1, {L"del_tag"});
  EXPECT_EQ(TagNames(0), (Names{L"乙"}));
  EXPECT_EQ(window_->LinkTabBox()->GetCurSel(), 0) << "the cards of the remaining tag are shown";
  EXPECT_EQ(window_->NoteTagId(), 0);
  EXPECT_EQ(window_->CurrentTagIndex(), 0);

  Restart();
  EXPECT_EQ(TagNames(0), (Names{L"乙"}));
}

TEST_F(GroupMenuTest, GroupsAreMovedAndDeletedWithTheirChordsAndTheOnlyGroupEmptiesEverything) {
  ASSERT_EQ(window_->GroupList()->GetCount(), 2u);
  OnGroup(0, {L"left_group"});
  OnGroup(1, {L"right_group"});
  EXPECT_EQ(GroupNames(), (Names{L"一组", L"二组"})) << "nothing moves past the ends";
  OnGroup(0, {L"right_group"});
  EXPECT_EQ(GroupNames(), (Names{L"二组", L"一组"}));

  // The group with the chorded link goes; its chord with it.
  OnGroup(1, {L"del_group"});
  EXPECT_EQ(GroupNames(), (Names{L"二组"}));
  EXPECT_EQ(GetHotKeyTable().FindLink(kChord), nullptr);
  EXPECT_EQ(window_->GroupList()->GetCount(), 1u);
  EXPECT_EQ(window_->TagList()->GetCount(), 1u);

  OnGroup(0, {L"del_group"});
  EXPECT_TRUE(GroupNames().empty());
  EXPECT_EQ(window_->GroupList()->GetCount(), 0u);
  EXPECT_EQ(window_->TagList()->GetCount(), 0u);
  EXPECT_EQ(window_->LinkBox()->GetCount(), 0u);

  Restart();
  EXPECT_TRUE(GroupNames().empty()) << "nothing of the deleted groups comes back";
}

TEST_F(GroupMenuTest, TheMoveLevelIsDisabledWithASingleGroup) {
  OnGroup(1, {L"del_group"});
  ASSERT_EQ(GroupNames(), (Names{L"一组"}));
  // Choosing the disabled opener moves nothing.
  OnTag(1, {L"open_menu_tag_move"});
  EXPECT_EQ(TagNames(0), (Names{L"甲", L"乙", L"便签"}));
  ui::CMenuUI* level = window_->Menus()->FindMenu(L"menu_tag_move");
  ASSERT_NE(level, nullptr);
  EXPECT_EQ(level->GetCount(), 0u);
  ASSERT_NE(level->GetParentItem(), nullptr);
  EXPECT_FALSE(level->GetParentItem()->IsEnabled());
}

}  // namespace
