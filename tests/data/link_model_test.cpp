#include <gtest/gtest.h>

#include "data/group.h"
#include "data/link.h"
#include "data/link_store.h"
#include "data/program_dir.h"

namespace {

Link MakeLink(int32_t id, int32_t type, const wchar_t* icon, const wchar_t* path) {
  Link link;
  link.ID = id;
  link.TYPE = type;
  link.ICON = icon;
  link.PATH = path;
  return link;
}

TEST(LinkIconKey, SharedIconsAreKeyedByNameAndOwnIconsByLink) {
  // A web address without an icon takes the shared "#url" icon and remembers it.
  Link web = MakeLink(3, kLinkWebAddress, L"", L"https://example.com");
  EXPECT_EQ(web.GetIconKey(), L"#url");
  EXPECT_EQ(web.ICON, L"#url");

  Link nothing = MakeLink(4, kLinkProgram, L"", L"");
  EXPECT_EQ(nothing.GetIconKey(), L"#err");

  Link own = MakeLink(12, kLinkProgram, L"C:\\Tools\\App.ico", L"C:\\Tools\\App.exe");
  EXPECT_EQ(own.GetIconKey(), L"lnk12");
  own.ID = 0;  // not stored yet
  EXPECT_EQ(own.GetIconKey(), L"c:\\tools\\app.ico");

  EXPECT_EQ(MakeLink(5, kLinkFile, L"*.TXT", L"D:\\a.txt").GetIconKey(), L"*.txt");
  EXPECT_EQ(MakeLink(5, kLinkFolder, L"#Dir", L"D:\\a").GetIconKey(), L"#dir");
  // Without an icon the path decides: a program is keyed by its link.
  EXPECT_EQ(MakeLink(8, kLinkProgram, L"", L"C:\\App.exe").GetIconKey(), L"lnk8");
  // An item-ID list without an icon is always keyed by its link, even unsaved.
  EXPECT_EQ(MakeLink(0, kLinkItemIdList, L"", L"").GetIconKey(), L"lnk0");
  EXPECT_EQ(MakeLink(9, kLinkItemIdList, L"#Sys", L"").GetIconKey(), L"#sys");
}

TEST(LinkIconSource, IconFirstThenPathBothExpandedAndNothingForItemIdLists) {
  const std::wstring dir = GetProgramDir();
  struct Case {
    int32_t type;
    const wchar_t* icon;
    const wchar_t* path;
    std::wstring source;
    std::wstring resolved;
  };
  const Case cases[] = {
      {kLinkProgram, L"", L".\\tools\\a.exe", dir + L"tools\\a.exe", dir + L"tools\\a.exe"},
      {kLinkProgram, L".\\a.ico", L"C:\\x.exe", dir + L"a.ico", L"C:\\x.exe"},
      {kLinkWebAddress, L"#url", L"https://example.com", L"#url", L"https://example.com"},
      // A web address or built-in function without an icon has no file to take one from.
      {kLinkWebAddress, L"", L"https://example.com", L"", L"https://example.com"},
      {kLinkBuiltinFunction, L"", L"#Mute", L"", L"#Mute"},
      {kLinkFile, L"*.txt", L"D:\\a.txt", L"*.txt", L"D:\\a.txt"},
      {kLinkItemIdList, L"", L"ignored", L"", L""},
      {kLinkItemIdList, L"#sys", L"ignored", L"#sys", L""},
  };
  for (const Case& c : cases) {
    Link link = MakeLink(1, c.type, c.icon, c.path);
    EXPECT_EQ(link.GetIconSource(), c.source) << c.type << " " << c.icon << " " << c.path;
    EXPECT_EQ(link.GetResolvedPath(), c.resolved) << c.type << " " << c.path;
  }
}

TEST(LinkStoreOwnership, TopLevelGroupsAreReachedByPositionAndOutOfRangeGivesNull) {
  LinkStore store;
  EXPECT_EQ(store.GetGroupCount(), 0);
  EXPECT_EQ(store.GetGroupAt(0), nullptr);
  for (int32_t id : {10, 20}) {
    auto group = std::make_shared<Group>();
    group->ID = id;
    store.topGroups.push_back(group);
  }
  EXPECT_EQ(store.GetGroupCount(), 2);
  EXPECT_EQ(store.GetGroupAt(0)->ID, 10);
  EXPECT_EQ(store.GetGroupAt(1)->ID, 20);
  EXPECT_EQ(store.GetGroupAt(2), nullptr);
  EXPECT_EQ(store.GetGroupAt(-1), nullptr);
}

TEST(LinkStoreOwnership, RemovingFromTheOwningListEndsTheRecord) {
  LinkStore store;  // a plain container, never opened
  auto group = std::make_shared<Group>();
  group->ID = 1;
  auto tag = std::make_shared<Group>();
  tag->ID = 2;
  tag->ParentGroup = 1;
  auto link = std::make_shared<Link>();
  link->ID = 7;
  link->group = tag;
  tag->links.push_back(link);
  group->tags.push_back(tag);
  store.topGroups.push_back(group);
  store.groupsById[1] = group;
  store.groupsById[2] = tag;
  store.linksById[7] = link;
  std::weak_ptr<Link> watch = link;
  link.reset();

  ASSERT_EQ(store.FindLink(7), watch.lock());
  EXPECT_EQ(store.FindLink(7)->group.lock(), tag);
  EXPECT_EQ(store.FindGroup(2), tag);
  EXPECT_EQ(store.FindGroup(99), nullptr);

  tag->links.clear();
  EXPECT_TRUE(watch.expired());
  EXPECT_EQ(store.FindLink(7), nullptr);  // no stale record

  tag.reset();
  group->tags.clear();
  EXPECT_EQ(store.FindGroup(2), nullptr);
  store.topGroups.clear();
  group.reset();
  EXPECT_EQ(store.FindGroup(1), nullptr);
  EXPECT_FALSE(store.IsOpen());
  EXPECT_FALSE(store.Vacuum());
}

}  // namespace
