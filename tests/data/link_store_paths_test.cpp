#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/link_store.h"
#include "tests/data/link_db_fixture.h"
#include "tests/support/test_support.h"

namespace {

using pexo_test::CreateLinkDb;
using pexo_test::DumpFile;
using pexo_test::DumpTree;
using pexo_test::RawLinkDb;
using pexo_test::TempDir;

const std::wstring kProgramDir = L"D:\\Apps\\Launcher\\";

// One tag holding links into, beside and outside the program folder D:\Apps\Launcher\.
class LinkStorePathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string rows =
        "INSERT INTO Groups(ID,NAME,POS,ParentGroup) VALUES (1,'group',0,0);"
        "INSERT INTO Groups(ID,NAME,POS,ParentGroup) VALUES (11,'tag',0,1);";
    const char* links[][4] = {
        // PATH, ICON, WorkDir
        {"1", "D:\\Apps\\Launcher\\tools\\a.exe", "", "D:\\Apps\\Launcher\\tools"},
        {"2", "D:\\Apps\\Other\\b.exe", "D:\\Apps\\Other\\b.ico", ""},
        {"3", "d:\\Games\\c.exe", "#dir", "D:\\Games\\"},
        {"4", "C:\\Windows\\notepad.exe", "*.txt", "C:\\Windows"},
        {"5", "https://example.org/", "#url", ""},
    };
    int pos = 0;
    for (const auto& link : links) {
      rows += std::string("INSERT INTO Links(ID,NAME,POS,ParentGroup,PATH,ICON,Parameter,WorkDir) VALUES (") +
              link[0] + ",'link" + link[0] + "'," + std::to_string(pos++) + ",11,'" + link[1] + "','" + link[2] +
              "','','" + link[3] + "');";
    }
    ASSERT_TRUE(CreateLinkDb(path_, rows));
    ASSERT_TRUE(store_.Open(path_));
  }

  std::shared_ptr<Link> LinkOf(int32_t id) { return store_.FindLink(id); }
  void ExpectMemoryMatchesFile() { EXPECT_EQ(DumpTree(store_), DumpFile(path_)); }

  TempDir dir_;
  std::wstring path_ = dir_.File(L"link.db");
  LinkStore store_;
};

TEST_F(LinkStorePathsTest, ConvertsEveryFieldToItsFirstMatchingForm) {
  ASSERT_TRUE(store_.ConvertPathsToRelative(kProgramDir));
  EXPECT_EQ(LinkOf(1)->PATH, L".\\tools\\a.exe");
  // The bulk conversion keeps a working directory equal to the target's folder.
  EXPECT_EQ(LinkOf(1)->WorkDir, L".\\tools");
  EXPECT_EQ(LinkOf(2)->PATH, L"..\\Other\\b.exe");
  EXPECT_EQ(LinkOf(2)->ICON, L"..\\Other\\b.ico");
  EXPECT_EQ(LinkOf(3)->PATH, L":\\Games\\c.exe");
  EXPECT_EQ(LinkOf(3)->WorkDir, L":\\Games\\");
  EXPECT_EQ(LinkOf(3)->ICON, L"#dir");
  EXPECT_EQ(LinkOf(4)->PATH, L"C:\\Windows\\notepad.exe");
  EXPECT_EQ(LinkOf(5)->PATH, L"https://example.org/");
  ExpectMemoryMatchesFile();

  // Converting again changes nothing.
  const std::string once = DumpTree(store_);
  ASSERT_TRUE(store_.ConvertPathsToRelative(kProgramDir));
  EXPECT_EQ(DumpTree(store_), once);
}

TEST_F(LinkStorePathsTest, ConvertsParentAndDriveFormsBackInLowerCase) {
  ASSERT_TRUE(store_.ConvertPathsToRelative(kProgramDir));
  ASSERT_TRUE(store_.ConvertPathsToAbsolute(kProgramDir));
  EXPECT_EQ(LinkOf(1)->PATH, L".\\tools\\a.exe");
  EXPECT_EQ(LinkOf(2)->PATH, L"d:\\apps\\Other\\b.exe");
  EXPECT_EQ(LinkOf(2)->ICON, L"d:\\apps\\Other\\b.ico");
  EXPECT_EQ(LinkOf(3)->PATH, L"d:\\Games\\c.exe");
  EXPECT_EQ(LinkOf(3)->ICON, L"#dir");
  ExpectMemoryMatchesFile();
}

TEST_F(LinkStorePathsTest, AFailedSaveLeavesFileAndMemoryAsTheyWere) {
  const std::string before = DumpTree(store_);
  {
    RawLinkDb raw(path_);
    ASSERT_TRUE(raw.Exec("CREATE TRIGGER refuse BEFORE UPDATE ON Links WHEN old.ID=3 "
                         "BEGIN SELECT RAISE(ABORT,'refused'); END"));
  }
  EXPECT_FALSE(store_.ConvertPathsToRelative(kProgramDir));
  EXPECT_EQ(DumpTree(store_), before) << "links rewritten before the failure get their old paths back";
  ExpectMemoryMatchesFile();

  {
    RawLinkDb raw(path_);
    ASSERT_TRUE(raw.Exec("DROP TRIGGER refuse"));
  }
  ASSERT_TRUE(store_.ConvertPathsToRelative(kProgramDir));
  {
    RawLinkDb raw(path_);
    ASSERT_TRUE(raw.Exec("CREATE TRIGGER refuse BEFORE UPDATE ON Links WHEN old.ID=3 "
                         "BEGIN SELECT RAISE(ABORT,'refused'); END"));
  }
  const std::string relative = DumpTree(store_);
  EXPECT_FALSE(store_.ConvertPathsToAbsolute(kProgramDir));
  EXPECT_EQ(DumpTree(store_), relative);
  ExpectMemoryMatchesFile();
}

TEST(LinkStorePathsClosedTest, AClosedStoreConvertsNothing) {
  LinkStore store;
  EXPECT_FALSE(store.ConvertPathsToRelative(kProgramDir));
  EXPECT_FALSE(store.ConvertPathsToAbsolute(kProgramDir));
}

}  // namespace
