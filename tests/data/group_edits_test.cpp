#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "data/link_store.h"
#include "tests/data/link_db_fixture.h"
#include "tests/support/test_support.h"

namespace {

using pexo_test::CreateLinkDb;
using pexo_test::DumpFile;
using pexo_test::DumpTree;
using pexo_test::RawLinkDb;
using pexo_test::SampleLinkId;
using pexo_test::SampleTagId;
using pexo_test::SampleTreeSql;
using pexo_test::TempDir;

class GroupEditsTest : public ::testing::Test {
 protected:
  // Three groups of three tags of two links each.
  void SetUp() override {
    ASSERT_TRUE(CreateLinkDb(path_, SampleTreeSql(3, 3, 2)));
    ASSERT_TRUE(store_.Open(path_));
  }

  std::string Row(int32_t groupId, const std::string& column) {
    return raw_.Value("select " + column + " from Groups where ID=" + std::to_string(groupId));
  }
  std::string Count(const std::string& sql) { return raw_.Value("select count(*) from " + sql); }
  int Changes() { return sqlite3_total_changes(store_.connection); }
  static std::vector<int32_t> Ids(const std::vector<std::shared_ptr<Group>>& groups) {
    std::vector<int32_t> ids;
    for (const auto& group : groups) ids.push_back(group->ID);
    return ids;
  }
  void ExpectMemoryMatchesFile() { EXPECT_EQ(DumpTree(store_), DumpFile(path_)); }

  TempDir dir_;
  std::wstring path_ = dir_.File(L"link.db");
  LinkStore store_;
  RawLinkDb raw_{path_};
};

std::shared_ptr<Group> NewGroup(const std::wstring& name, int32_t type = kGroupOrdinary) {
  auto group = std::make_shared<Group>();
  group->NAME = name;
  group->TYPE = type;
  return group;
}

TEST_F(GroupEditsTest, NewGroupsAndTagsGoLastWithTheNextIds) {
  auto group = NewGroup(L"新的分组");
  ASSERT_TRUE(store_.AddGroup(group));
  EXPECT_EQ(group->ID, SampleTagId(3, 3) + 1);
  EXPECT_EQ(group->POS, 3);
  EXPECT_EQ(store_.topGroups.back(), group);
  EXPECT_EQ(store_.FindGroup(group->ID), group);

  auto tag = NewGroup(L"新的标签");
  auto all = NewGroup(L"全部", kGroupAllLinks);
  auto note = NewGroup(L"便签", kGroupNote);
  note->ICONSIZE = kIconSize48;
  for (const auto& t : {tag, all, note}) ASSERT_TRUE(store_.AddTag(group, t));
  EXPECT_EQ(note->POS, 2);
  EXPECT_EQ(note->ParentGroup, group->ID);
  EXPECT_EQ(note->ID, group->ID + 3);
  EXPECT_EQ(Row(all->ID, "TYPE"), "1");
  EXPECT_EQ(Row(note->ID, "NAME"), "便签");
  EXPECT_EQ(Row(note->ID, "ICONSIZE"), "2");
  EXPECT_EQ(Row(note->ID, "Content"), "NULL");
  EXPECT_EQ(Row(note->ID, "FLAG"), "0");
  ExpectMemoryMatchesFile();

  // Tags hang under top-level groups only.
  EXPECT_FALSE(store_.AddTag(tag, NewGroup(L"nested")));
  store_.Close();
  EXPECT_FALSE(store_.AddGroup(NewGroup(L"closed")));
}

TEST_F(GroupEditsTest, AFailedInsertKeepsTheGroupOutButUsesUpItsId) {
  ASSERT_TRUE(raw_.Exec("CREATE TRIGGER refuse BEFORE INSERT ON Groups WHEN NEW.NAME = 'bad' "
                        "BEGIN SELECT RAISE(ABORT, 'refused'); END;"));
  const int32_t next = store_.maxGroupId + 1;
  EXPECT_FALSE(store_.AddGroup(NewGroup(L"bad")));
  EXPECT_FALSE(store_.AddTag(store_.topGroups[0], NewGroup(L"bad")));
  EXPECT_EQ(store_.topGroups.size(), 3u);
  EXPECT_EQ(store_.topGroups[0]->tags.size(), 3u);
  ExpectMemoryMatchesFile();
  auto good = NewGroup(L"good");
  ASSERT_TRUE(store_.AddGroup(good));
  EXPECT_EQ(good->ID, next + 2);
}

TEST_F(GroupEditsTest, SavedNamesNotesAndViewsSurviveAReload) {
  auto tag = store_.FindGroup(SampleTagId(1, 2));
  tag->NAME = L"改名";
  tag->Content = L"第一行\r\n第二行";
  tag->LAYOUT = kLayoutList;
  tag->FLAG = 5;
  ASSERT_TRUE(store_.SaveGroup(tag));
  ExpectMemoryMatchesFile();

  int changes = Changes();
  EXPECT_TRUE(store_.SetGroupSort(tag, kSortByPosition));  // unchanged: nothing written
  EXPECT_EQ(Changes(), changes);
  ASSERT_TRUE(store_.SetGroupSort(tag, kSortByRunCount));
  EXPECT_EQ(Row(tag->ID, "SORT"), "1");

  ASSERT_TRUE(raw_.Exec("CREATE TRIGGER refuse BEFORE UPDATE ON Groups BEGIN SELECT RAISE(ABORT, 'refused'); END;"));
  EXPECT_FALSE(store_.SetGroupSort(tag, kSortByInitials));
  EXPECT_EQ(tag->SORT, kSortByRunCount);
  ExpectMemoryMatchesFile();
}

TEST_F(GroupEditsTest, IconSizeAndLayoutForAllChangeEveryRowAndEveryTag) {
  ASSERT_TRUE(store_.SetAllIconSize(kIconSize16));
  ASSERT_TRUE(store_.SetAllLayout(kLayoutList));
  EXPECT_EQ(Count("Groups where ICONSIZE<>1 or LAYOUT<>1"), "0");
  for (const auto& group : store_.topGroups) {
    EXPECT_EQ(group->ICONSIZE, kIconSize32);  // top-level groups keep theirs until reloaded
    for (const auto& tag : group->tags) {
      EXPECT_EQ(tag->ICONSIZE, kIconSize16);
      EXPECT_EQ(tag->LAYOUT, kLayoutList);
    }
  }
}

TEST_F(GroupEditsTest, GroupsAndTagsSwapWithTheirNeighboursWithinBounds) {
  const int changes = Changes();
  EXPECT_FALSE(store_.MoveGroupUp(0));
  EXPECT_FALSE(store_.MoveGroupDown(2));
  EXPECT_FALSE(store_.MoveGroupDown(-1));
  auto group = store_.topGroups[1];
  EXPECT_FALSE(store_.MoveTagUp(group, 0));
  EXPECT_FALSE(store_.MoveTagDown(group, 2));
  EXPECT_EQ(Changes(), changes);

  ASSERT_TRUE(store_.MoveGroupDown(0));
  EXPECT_EQ(Ids(store_.topGroups), (std::vector<int32_t>{2, 1, 3}));
  ASSERT_TRUE(store_.MoveGroupUp(2));
  EXPECT_EQ(Ids(store_.topGroups), (std::vector<int32_t>{2, 3, 1}));
  EXPECT_EQ(Row(1, "POS"), "2");

  ASSERT_TRUE(store_.MoveTagDown(group, 0));
  ASSERT_TRUE(store_.MoveTagUp(group, 2));
  EXPECT_EQ(Ids(group->tags), (std::vector<int32_t>{SampleTagId(2, 2), SampleTagId(2, 3), SampleTagId(2, 1)}));
  ExpectMemoryMatchesFile();
}

TEST_F(GroupEditsTest, AMovedTagKeepsItsLinksAndItsNewGroupAfterARename) {
  auto source = store_.FindGroup(1);
  auto target = store_.FindGroup(3);
  auto tag = source->tags[0];
  ASSERT_TRUE(store_.MoveTagToGroup(source, 0, 3));
  EXPECT_EQ(target->tags.back(), tag);
  EXPECT_EQ(tag->POS, 3);
  EXPECT_EQ(tag->ParentGroup, 3);
  EXPECT_EQ(source->tags[0]->POS, 0);
  EXPECT_EQ(source->tags[1]->POS, 1);
  EXPECT_EQ(Count("Links where ParentGroup=" + std::to_string(tag->ID)), "2");
  tag->NAME = L"moved";
  ASSERT_TRUE(store_.SaveGroup(tag));
  ExpectMemoryMatchesFile();

  // Only top-level groups take tags; a bad index or target changes nothing.
  EXPECT_FALSE(store_.MoveTagToGroup(source, 0, SampleTagId(2, 1)));
  EXPECT_FALSE(store_.MoveTagToGroup(source, 2, 3));
  EXPECT_FALSE(store_.MoveTagToGroup(source, 0, 999));
  ExpectMemoryMatchesFile();
}

TEST_F(GroupEditsTest, ClearingATagDeletesItsLinksOnly) {
  auto tag = store_.FindGroup(SampleTagId(1, 1));
  const int32_t linkId = tag->links[0]->ID;
  ASSERT_TRUE(store_.ClearTag(tag));
  EXPECT_TRUE(tag->links.empty());
  EXPECT_EQ(store_.FindLink(linkId), nullptr);
  EXPECT_EQ(Count("Links where ParentGroup=" + std::to_string(tag->ID)), "0");
  EXPECT_EQ(Count("Links"), "16");
  EXPECT_EQ(store_.FindGroup(tag->ID), tag);
  ExpectMemoryMatchesFile();

  const int changes = Changes();
  EXPECT_TRUE(store_.ClearTag(tag));  // empty: nothing to write
  EXPECT_EQ(Changes(), changes);
}

TEST_F(GroupEditsTest, DeletingATagTakesItsLinksAndRenumbersTheRest) {
  auto group = store_.FindGroup(2);
  auto tag = group->tags[0];
  const int32_t linkId = tag->links[1]->ID;
  ASSERT_TRUE(store_.DeleteTag(group, 0));
  EXPECT_EQ(group->tags.size(), 2u);
  EXPECT_EQ(store_.FindGroup(tag->ID), nullptr);
  EXPECT_EQ(store_.FindLink(linkId), nullptr);
  EXPECT_EQ(Count("Groups where ID=" + std::to_string(tag->ID)), "0");
  EXPECT_EQ(Count("Links where ParentGroup=" + std::to_string(tag->ID)), "0");
  EXPECT_EQ(Row(SampleTagId(2, 3), "POS"), "1");
  ExpectMemoryMatchesFile();
  EXPECT_FALSE(store_.DeleteTag(group, 2));
}

TEST_F(GroupEditsTest, DeletingAGroupTakesEverythingUnderItAndRenumbersTheRest) {
  auto group = store_.FindGroup(2);
  const int32_t tagId = group->tags[1]->ID;
  const int32_t linkId = SampleLinkId(tagId, 0);
  ASSERT_TRUE(store_.DeleteGroup(1));
  EXPECT_EQ(Ids(store_.topGroups), (std::vector<int32_t>{1, 3}));
  EXPECT_EQ(store_.topGroups[1]->POS, 1);
  EXPECT_EQ(Row(3, "POS"), "1");
  EXPECT_EQ(Count("Groups where ID=2 or ParentGroup=2"), "0");
  EXPECT_EQ(Count("Links"), "12");
  EXPECT_EQ(store_.FindGroup(2), nullptr);
  EXPECT_EQ(store_.FindGroup(tagId), nullptr);
  EXPECT_EQ(store_.FindLink(linkId), nullptr);
  EXPECT_TRUE(group->tags.empty());
  ExpectMemoryMatchesFile();
  EXPECT_FALSE(store_.DeleteGroup(2));
}

}  // namespace
