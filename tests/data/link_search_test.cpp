#include <gtest/gtest.h>

#include "data/initials.h"
#include "data/link_store.h"

namespace {

// Builds an in-memory tree without a database, as the search window does.
class LinkSearchTest : public ::testing::Test {
 protected:
  std::shared_ptr<Group> AddGroup() {
    auto group = std::make_shared<Group>();
    group->ID = ++store_.maxGroupId;
    group->POS = static_cast<int32_t>(store_.topGroups.size());
    store_.topGroups.push_back(group);
    store_.groupsById[group->ID] = group;
    return group;
  }
  std::shared_ptr<Group> AddTag(const std::shared_ptr<Group>& group, int32_t type = kGroupOrdinary,
                                int32_t sort = kSortByPosition) {
    auto tag = std::make_shared<Group>();
    tag->ID = ++store_.maxGroupId;
    tag->ParentGroup = group->ID;
    tag->POS = static_cast<int32_t>(group->tags.size());
    tag->TYPE = type;
    tag->SORT = sort;
    group->tags.push_back(tag);
    store_.groupsById[tag->ID] = tag;
    return tag;
  }
  std::shared_ptr<Link> AddLink(const std::shared_ptr<Group>& tag, const std::wstring& name,
                                int32_t run_count = 0, const std::wstring& remark = L"") {
    auto link = std::make_shared<Link>();
    link->ID = ++store_.maxLinkId;
    link->ParentGroup = tag->ID;
    link->group = tag;
    link->POS = static_cast<int32_t>(tag->links.size());
    link->NAME = name;
    link->Remark = remark;
    link->RunCount = run_count;
    link->nameInitials = MakeInitialsKey(name);
    link->remarkInitials = MakeInitialsKey(remark);
    tag->links.push_back(link);
    store_.linksById[link->ID] = link;
    return link;
  }
  std::vector<std::wstring> Search(const std::wstring& text, int limit = 0) {
    std::vector<std::weak_ptr<Link>> found;
    store_.Search(text, found, limit);
    return Names(found);
  }
  std::vector<std::wstring> TagLinks(const std::shared_ptr<Group>& tag) {
    std::vector<std::weak_ptr<Link>> shown;
    EXPECT_TRUE(store_.GetTagLinks(tag, shown));
    return Names(shown);
  }
  static std::vector<std::wstring> Names(const std::vector<std::weak_ptr<Link>>& links) {
    std::vector<std::wstring> names;
    for (const auto& weak : links) names.push_back(weak.lock() ? weak.lock()->NAME : L"<expired>");
    return names;
  }

  LinkStore store_;
};

using NameList = std::vector<std::wstring>;

TEST_F(LinkSearchTest, EveryWordMustMatchNameRemarkOrTheirInitials) {
  auto tag = AddTag(AddGroup());
  AddLink(tag, L"微信", 0, L"聊天");
  AddLink(tag, L"微信测试");
  AddLink(tag, L"QQ音乐");
  AddLink(tag, L"Notepad", 0, L"Plain EDITOR");

  EXPECT_EQ(Search(L"wx lt"), (NameList{L"微信"}));        // name initials + remark initials
  EXPECT_EQ(Search(L"wx"), (NameList{L"微信", L"微信测试"}));
  EXPECT_EQ(Search(L"  WX   LT "), (NameList{L"微信"}));  // runs of spaces, case folded
  EXPECT_EQ(Search(L"QQ"), (NameList{L"QQ音乐"}));
  EXPECT_EQ(Search(L"qqyl"), (NameList{L"QQ音乐"}));
  EXPECT_EQ(Search(L"音乐"), (NameList{L"QQ音乐"}));       // the name itself
  EXPECT_EQ(Search(L"ＱＱ"), NameList{});                  // full width is not folded
  EXPECT_EQ(Search(L"editor pad"), (NameList{L"Notepad"}));
  EXPECT_EQ(Search(L""), NameList{});
  EXPECT_EQ(Search(L"    "), NameList{});
  EXPECT_EQ(Search(L"zzz"), NameList{});
}

TEST_F(LinkSearchTest, MatchesComeByRunCountThenTreeOrderAndTheLimitKeepsTheMostRun) {
  auto first = AddGroup();
  auto tag_a = AddTag(first);
  auto tag_b = AddTag(first);
  auto tag_c = AddTag(AddGroup());
  AddLink(tag_a, L"a1", 5);
  AddLink(tag_a, L"a2", 9);
  AddLink(tag_b, L"a3", 5);
  AddLink(tag_c, L"a4", 5);
  AddLink(tag_c, L"b5", 100);  // does not match
  EXPECT_EQ(Search(L"a"), (NameList{L"a2", L"a1", L"a3", L"a4"}));

  auto many = AddTag(AddGroup());
  for (int i = 0; i < 10; ++i) AddLink(many, L"x" + std::to_wstring(i), i);
  // All matches are sorted before the cut: the most-run ones late in the tree win.
  EXPECT_EQ(Search(L"x", 3), (NameList{L"x9", L"x8", L"x7"}));
  EXPECT_EQ(Search(L"x", 10).size(), 10u);
  EXPECT_EQ(Search(L"x", 11).size(), 10u);
  EXPECT_EQ(Search(L"x", 0).size(), 10u);
  EXPECT_EQ(Search(L"x", -1).size(), 10u);
}

TEST_F(LinkSearchTest, TagsListTheirLinksInTheOrderTheyAskFor) {
  auto group = AddGroup();
  auto all = AddTag(group, kGroupAllLinks);
  auto tools = AddTag(group);
  auto games = AddTag(group);
  AddTag(group, kGroupNote);
  AddLink(tools, L"终端", 3);
  AddLink(tools, L"Blender", 7);
  AddLink(tools, L"文档", 3);
  AddLink(games, L"alpha", 0);
  AddLink(games, L"象棋", 7);

  EXPECT_EQ(TagLinks(tools), (NameList{L"终端", L"Blender", L"文档"}));
  tools->SORT = kSortByRunCount;  // ties by position
  EXPECT_EQ(TagLinks(tools), (NameList{L"Blender", L"终端", L"文档"}));
  tools->SORT = kSortByInitials;  // zd, blender, wd
  EXPECT_EQ(TagLinks(tools), (NameList{L"Blender", L"文档", L"终端"}));
  tools->SORT = 7;
  EXPECT_EQ(TagLinks(tools), NameList{});

  // The all-links tag merges every sibling tag's links.
  EXPECT_EQ(TagLinks(all), (NameList{L"终端", L"Blender", L"文档", L"alpha", L"象棋"}));
  all->SORT = kSortByRunCount;  // Blender and 象棋 tie on count and POS: tag order
  EXPECT_EQ(TagLinks(all), (NameList{L"Blender", L"象棋", L"终端", L"文档", L"alpha"}));
  all->SORT = kSortByInitials;  // alpha, blender, wd, xq, zd
  EXPECT_EQ(TagLinks(all), (NameList{L"alpha", L"Blender", L"文档", L"象棋", L"终端"}));

  // An all-links tag whose group is gone lists nothing.
  auto orphan = std::make_shared<Group>();
  orphan->TYPE = kGroupAllLinks;
  orphan->ParentGroup = 999;
  EXPECT_EQ(TagLinks(orphan), NameList{});

  // The result refers to the links without owning them.
  std::vector<std::weak_ptr<Link>> shown;
  store_.GetTagLinks(games, shown);
  ASSERT_EQ(shown.size(), 2u);
  games->links.clear();
  EXPECT_TRUE(shown[0].expired());
}

}  // namespace
