#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "data/link_store.h"
#include "data/sqlite_support.h"
#include "tests/data/link_db_fixture.h"
#include "tests/support/test_support.h"
#include "ui/base/ui_globals.h"

namespace {

using pexo_test::CreateLinkDb;
using pexo_test::DumpFile;
using pexo_test::DumpTree;
using pexo_test::RawLinkDb;
using pexo_test::SampleLinkId;
using pexo_test::SampleTagId;
using pexo_test::SampleTreeSql;
using pexo_test::TempDir;

class LinkEditsTest : public ::testing::Test {
 protected:
  // Two groups of two tags; tag (1,1) holds five links, (1,2) three, group 2's none,
  // plus an all-links tag and a note tag in group 2.
  void SetUp() override {
    std::string rows = SampleTreeSql(1, 1, 5);
    rows += "INSERT INTO Groups(ID,NAME,POS,ParentGroup) VALUES (112,'tag112',1,1);";
    for (int i = 0; i < 3; ++i) {
      const std::string id = std::to_string(SampleLinkId(112, i));
      rows += "INSERT INTO Links(ID,NAME,POS,ParentGroup,ICON,PATH,Parameter,WorkDir) VALUES (" + id + ",'link" + id +
              "'," + std::to_string(i) + ",112,'','C:\\apps\\app" + id + ".exe','','');";
    }
    rows +=
        "INSERT INTO Groups(ID,NAME,POS,ParentGroup) VALUES (2,'group2',1,0);"
        "INSERT INTO Groups(ID,NAME,POS,ParentGroup) VALUES (121,'tag121',0,2);"
        "INSERT INTO Groups(ID,NAME,POS,ParentGroup,TYPE) VALUES (122,'全部',1,2,1);"
        "INSERT INTO Groups(ID,NAME,POS,ParentGroup,TYPE) VALUES (123,'便签',2,2,2);";
    ASSERT_TRUE(CreateLinkDb(path_, rows));
    ASSERT_TRUE(store_.Open(path_));
  }

  std::shared_ptr<Group> Tag(int32_t id) { return store_.FindGroup(id); }

  static std::vector<int32_t> Ids(const Group& tag) {
    std::vector<int32_t> ids;
    for (const auto& link : tag.links) ids.push_back(link->ID);
    return ids;
  }

  std::string Column(int32_t linkId, const std::string& column) {
    return raw_.Value("select " + column + " from Links where ID=" + std::to_string(linkId));
  }

  int Changes() { return sqlite3_total_changes(store_.connection); }

  // Memory and a fresh load of the file show the same tree.
  void ExpectMemoryMatchesFile() { EXPECT_EQ(DumpTree(store_), DumpFile(path_)); }

  TempDir dir_;
  std::wstring path_ = dir_.File(L"link.db");
  LinkStore store_;
  RawLinkDb raw_{path_};
};

std::shared_ptr<Link> NewLink(const std::wstring& name, const std::wstring& path) {
  auto link = std::make_shared<Link>();
  link->NAME = name;
  link->PATH = path;
  return link;
}

TEST_F(LinkEditsTest, AddedLinksGetTheNextIdTheLastPlaceAndEveryField) {
  auto tag = Tag(121);
  auto first = NewLink(L"记事本", L"C:\\Windows\\notepad.exe");
  first->TYPE = kLinkProgram;
  first->ICON = L"C:\\Windows\\notepad.exe,1";
  first->Parameter = L"/a \"b\"";
  first->WorkDir = L"D:\\work";
  first->IsAdmin = true;
  first->CustomColor = L"#ff102030";
  first->Remark = L"编辑 'quoted'";
  first->HotKey = MakeHotKeyCode(kHotKeyCtrl, 'N');
  first->ShowCmd = 3;
  first->Pidl = {1, 0, 2, 0};
  const int32_t expectedId = store_.maxLinkId + 1;
  ASSERT_TRUE(store_.AddLink(tag, first));
  EXPECT_EQ(first->ID, expectedId);
  EXPECT_EQ(first->POS, 0);
  EXPECT_EQ(first->ParentGroup, 121);
  EXPECT_EQ(first->group.lock(), tag);
  EXPECT_EQ(store_.FindLink(first->ID), first);

  ASSERT_TRUE(store_.AddLink(tag, NewLink(L"b", L"b.exe")));
  auto third = NewLink(L"c", L"c.exe");
  ASSERT_TRUE(store_.AddLink(tag, third));
  EXPECT_EQ(third->POS, 2);
  EXPECT_EQ(third->ID, expectedId + 2);

  const int32_t id = first->ID;
  EXPECT_EQ(Column(id, "NAME"), "记事本");
  EXPECT_EQ(Column(id, "Parameter"), "/a \"b\"");
  EXPECT_EQ(Column(id, "IsAdmin"), "1");
  EXPECT_EQ(Column(id, "CustomColor"), "#ff102030");
  EXPECT_EQ(Column(id, "Remark"), "编辑 'quoted'");
  EXPECT_EQ(Column(id, "HotKey"), std::to_string(MakeHotKeyCode(kHotKeyCtrl, 'N')));
  EXPECT_EQ(Column(id, "ShowCmd"), "3");
  EXPECT_EQ(Column(id, "length(Pidl)"), "4");
  EXPECT_EQ(Column(third->ID, "Pidl"), "NULL");
  EXPECT_EQ(Column(third->ID, "RunCount"), "0");
  ExpectMemoryMatchesFile();
}

TEST_F(LinkEditsTest, NewLinkPathsAreStoredInProgramRelativeForms) {
  const std::wstring programDir = pexo_test::ExeFolder() + L"\\";
  auto inside = NewLink(L"tool", programDir + L"Tools\\Tool.exe");
  inside->WorkDir = programDir + L"Tools";
  ASSERT_TRUE(store_.AddLink(Tag(121), inside));
  EXPECT_EQ(inside->PATH, L".\\Tools\\Tool.exe");
  EXPECT_EQ(inside->WorkDir, L"");  // the target's own folder is not stored
  EXPECT_EQ(Column(inside->ID, "PATH"), ".\\Tools\\Tool.exe");

  auto web = NewLink(L"web", L"https://example.com/");
  web->TYPE = kLinkWebAddress;
  ASSERT_TRUE(store_.AddLink(Tag(121), web));
  EXPECT_EQ(Column(web->ID, "PATH"), "https://example.com/");
}

TEST_F(LinkEditsTest, SpecialTagsAndGroupsTakeNoLinks) {
  const int32_t maxId = store_.maxLinkId;
  const int before = Changes();
  for (int32_t id : {122, 123, 1}) {
    auto link = NewLink(L"x", L"x.exe");
    EXPECT_FALSE(store_.AddLink(Tag(id), link)) << id;
    EXPECT_EQ(link->ID, 0) << id;
  }
  EXPECT_FALSE(store_.AddLink(nullptr, NewLink(L"x", L"x.exe")));
  auto source = Tag(SampleTagId(1, 1))->links[0];
  EXPECT_FALSE(store_.CopyLink(source, 122));
  EXPECT_FALSE(store_.CopyLink(source, 999));
  EXPECT_FALSE(store_.MoveLinkToTag(Tag(SampleTagId(1, 1)), source, 123));
  EXPECT_EQ(store_.maxLinkId, maxId);
  EXPECT_EQ(Changes(), before);
  ExpectMemoryMatchesFile();
}

TEST_F(LinkEditsTest, AFailedInsertKeepsTheLinkOutButUsesUpItsId) {
  ASSERT_TRUE(raw_.Exec("CREATE TRIGGER refuse BEFORE INSERT ON Links WHEN NEW.NAME = 'bad' "
                        "BEGIN SELECT RAISE(ABORT, 'refused'); END;"));
  auto tag = Tag(121);
  auto bad = NewLink(L"bad", L"bad.exe");
  const int32_t id = store_.maxLinkId + 1;
  EXPECT_FALSE(store_.AddLink(tag, bad));
  EXPECT_EQ(bad->ID, id);
  EXPECT_TRUE(tag->links.empty());
  EXPECT_EQ(store_.FindLink(id), nullptr);
  ExpectMemoryMatchesFile();

  auto good = NewLink(L"good", L"good.exe");
  ASSERT_TRUE(store_.AddLink(tag, good));
  EXPECT_EQ(good->ID, id + 1);
  EXPECT_EQ(good->POS, 0);
}

TEST_F(LinkEditsTest, CopiesStartUncountedAtTheEndOfTheTarget) {
  auto source = Tag(SampleTagId(1, 1))->links[1];
  source->RunCount = 7;
  source->HotKey = MakeHotKeyCode(kHotKeyAlt, 'Q');
  source->hotKeyId = 42;  // as if registered
  source->Remark = L"备注";
  ASSERT_TRUE(store_.SaveLink(source));
  ASSERT_TRUE(store_.CopyLink(source, 112));

  auto target = Tag(112);
  ASSERT_EQ(target->links.size(), 4u);
  auto copy = target->links.back();
  EXPECT_NE(copy, source);
  EXPECT_EQ(copy->ID, store_.maxLinkId);
  EXPECT_EQ(copy->POS, 3);
  EXPECT_EQ(copy->RunCount, 0);
  EXPECT_EQ(copy->NAME, source->NAME);
  EXPECT_EQ(copy->Remark, L"备注");
  EXPECT_EQ(copy->hotKeyId, 0);  // the copy owns no registration
  EXPECT_EQ(Column(copy->ID, "HotKey"), std::to_string(source->HotKey));
  EXPECT_EQ(source->ID, SampleLinkId(SampleTagId(1, 1), 1));
  EXPECT_EQ(source->RunCount, 7);
  source->hotKeyId = 0;
  ExpectMemoryMatchesFile();
}

TEST_F(LinkEditsTest, SavesWriteOnlyTheirColumns) {
  auto link = Tag(SampleTagId(1, 1))->links[2];
  link->NAME = L"新名字";
  link->CustomColor = L"#ff112233";
  link->RunCount = 9;
  // Not written by a save: these change only through inserts and position saves.
  link->TYPE = kLinkFolder;
  link->POS = 4;
  ASSERT_TRUE(store_.SaveLink(link));
  EXPECT_EQ(Column(link->ID, "NAME"), "新名字");
  EXPECT_EQ(Column(link->ID, "RunCount"), "9");
  EXPECT_EQ(Column(link->ID, "TYPE"), "0");
  EXPECT_EQ(Column(link->ID, "POS"), "2");
  EXPECT_EQ(ui::UiGlobals::GetColor(L"#ff112233"), 0xff112233u);

  link->ICON = L"*.txt";
  link->NAME = L"not saved";
  ASSERT_TRUE(store_.SaveLinkIcon(link));
  EXPECT_EQ(Column(link->ID, "ICON"), "*.txt");
  EXPECT_EQ(Column(link->ID, "NAME"), "新名字");

  link->RunCount = 10;
  link->ICON = L"not saved";
  ASSERT_TRUE(store_.SaveRunCount(link));
  EXPECT_EQ(Column(link->ID, "RunCount"), "10");
  EXPECT_EQ(Column(link->ID, "ICON"), "*.txt");
}

TEST_F(LinkEditsTest, RunCountsSurviveAReload) {
  auto link = Tag(112)->links[0];
  for (int i = 0; i < 25; ++i) {
    ++link->RunCount;
    ASSERT_TRUE(store_.SaveRunCount(link));
  }
  ExpectMemoryMatchesFile();
  LinkStore reloaded;
  ASSERT_TRUE(reloaded.Open(path_));
  EXPECT_EQ(reloaded.FindLink(link->ID)->RunCount, 25);

  store_.Close();
  EXPECT_FALSE(store_.SaveRunCount(link));
  EXPECT_FALSE(store_.SaveLink(link));
}

TEST_F(LinkEditsTest, MovingWithinATagRewritesOnlyTheLinksThatMoved) {
  auto tag = Tag(SampleTagId(1, 1));
  const std::vector<int32_t> before = Ids(*tag);
  int changes = Changes();
  ASSERT_TRUE(store_.MoveLink(tag, 0, 2));
  EXPECT_EQ(Ids(*tag), (std::vector<int32_t>{before[1], before[2], before[0], before[3], before[4]}));
  EXPECT_EQ(Changes() - changes, 3);
  ExpectMemoryMatchesFile();

  ASSERT_TRUE(store_.MoveLink(tag, 4, 0));
  EXPECT_EQ(Ids(*tag), (std::vector<int32_t>{before[4], before[1], before[2], before[0], before[3]}));
  ExpectMemoryMatchesFile();

  changes = Changes();
  EXPECT_TRUE(store_.MoveLink(tag, 3, 3));
  EXPECT_FALSE(store_.MoveLink(tag, 0, 5));
  EXPECT_FALSE(store_.MoveLink(tag, -1, 0));
  EXPECT_FALSE(store_.MoveLink(Tag(122), 0, 1));
  EXPECT_EQ(Changes(), changes);
}

TEST_F(LinkEditsTest, MovingToAnotherTagAppendsAndKeepsBothTagsDense) {
  auto source = Tag(SampleTagId(1, 1));
  auto target = Tag(112);
  auto link = source->links[1];
  ASSERT_TRUE(store_.MoveLinkToTag(source, link, 112));
  EXPECT_EQ(source->links.size(), 4u);
  ASSERT_EQ(target->links.size(), 4u);
  EXPECT_EQ(target->links.back(), link);
  EXPECT_EQ(link->POS, 3);
  EXPECT_EQ(link->ParentGroup, 112);
  EXPECT_EQ(link->group.lock(), target);
  for (size_t i = 0; i < source->links.size(); ++i) EXPECT_EQ(source->links[i]->POS, static_cast<int32_t>(i));
  EXPECT_EQ(Column(link->ID, "ParentGroup"), "112");
  ExpectMemoryMatchesFile();

  // A link that is not in the source tag, or a missing target, changes nothing.
  EXPECT_FALSE(store_.MoveLinkToTag(source, link, 121));
  EXPECT_FALSE(store_.MoveLinkToTag(target, link, 999));
  EXPECT_EQ(target->links.back(), link);
}

TEST_F(LinkEditsTest, DeletingRenumbersTheLinksAfterIt) {
  auto tag = Tag(112);
  auto middle = tag->links[1];
  const int32_t last = tag->links[2]->ID;
  ASSERT_TRUE(store_.DeleteLink(tag, middle));
  EXPECT_EQ(raw_.Value("select count(*) from Links where ID=" + std::to_string(middle->ID)), "0");
  EXPECT_EQ(Column(last, "POS"), "1");
  EXPECT_EQ(tag->links[1]->POS, 1);
  EXPECT_EQ(store_.FindLink(middle->ID), nullptr);
  ExpectMemoryMatchesFile();

  // A link that is not in the given tag still loses its row.
  auto elsewhere = Tag(SampleTagId(1, 1))->links[0];
  ASSERT_TRUE(store_.DeleteLink(tag, elsewhere));
  EXPECT_EQ(raw_.Value("select count(*) from Links where ID=" + std::to_string(elsewhere->ID)), "0");
}

TEST_F(LinkEditsTest, EditsNeedAnOpenStore) {
  auto tag = Tag(121);
  auto link = Tag(112)->links[0];
  store_.Close();
  EXPECT_FALSE(store_.AddLink(tag, NewLink(L"x", L"x.exe")));
  EXPECT_FALSE(store_.CopyLink(link, 121));
  EXPECT_FALSE(store_.MoveLink(tag, 0, 1));
  EXPECT_FALSE(store_.DeleteLink(tag, link));
  EXPECT_FALSE(store_.SaveLinkIcon(link));
}

}  // namespace
