// Deleting, clearing and refreshing links tells the process-wide icon cache which
// stored icons to drop: a link's own "lnk" icon goes with it, shared icons stay.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/icon_cache.h"
#include "data/link_store.h"
#include "tests/data/link_db_fixture.h"
#include "tests/support/gdiplus_test_env.h"
#include "tests/support/test_support.h"

namespace {

using pexo_test::CreateLinkDb;
using pexo_test::RawLinkDb;
using pexo_test::SampleLinkId;
using pexo_test::SampleTagId;
using pexo_test::SampleTreeSql;

const int32_t kTag11 = SampleTagId(1, 1);
const int32_t kTag12 = SampleTagId(1, 2);

class LinkIconEditsTest : public ::testing::Test {
 protected:
  // Two groups of two tags of three program links each; every link has a stored icon
  // row. Link 0 of tag (1,1) is a web address showing the shared "#url" icon.
  void SetUp() override {
    const std::wstring dbFolder = pexo_test::ExeFolder() + L"\\db";
    CreateDirectoryW(dbFolder.c_str(), nullptr);
    iconPath_ = dbFolder + L"\\icon.db";
    DeleteFileW(iconPath_.c_str());
    ASSERT_TRUE(GetIconCache().Open());
    icons_ = std::make_unique<RawLinkDb>(iconPath_);
    std::string rows;
    for (int tag : {kTag11, kTag12, SampleTagId(2, 1), SampleTagId(2, 2)}) {
      for (int i = 0; i < 3; ++i) rows += "INSERT INTO Cache(ID,Invalid) VALUES (" + std::to_string(SampleLinkId(tag, i)) + ",0);";
    }
    ASSERT_TRUE(icons_->Exec(rows));

    ASSERT_TRUE(CreateLinkDb(path_, SampleTreeSql(2, 2, 3) + "UPDATE Links SET TYPE=4,PATH='https://example.com/' WHERE ID=" +
                                        std::to_string(SampleLinkId(kTag11, 0)) + ";"));
    ASSERT_TRUE(store_.Open(path_));
  }

  void TearDown() override {
    icons_.reset();
    GetIconCache().Close();
    DeleteFileW(iconPath_.c_str());
  }

  // "<none>" when the link has no icon row, else its Invalid flag.
  std::string IconRow(int32_t linkId) {
    return icons_->Value("select Invalid from Cache where ID=" + std::to_string(linkId));
  }

  pexo_test::TempDir dir_;
  std::wstring path_ = dir_.File(L"link.db");
  std::wstring iconPath_;
  std::unique_ptr<RawLinkDb> icons_;
  LinkStore store_;
};

TEST_F(LinkIconEditsTest, DeletingALinkDropsItsOwnStoredIconOnly) {
  auto tag = store_.FindGroup(kTag11);
  auto web = tag->links[0];
  auto program = tag->links[1];
  ::testing::internal::CaptureStdout();
  ASSERT_TRUE(store_.DeleteLink(tag, program));
  ASSERT_TRUE(store_.DeleteLink(tag, web));
  ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(IconRow(program->ID), "<none>");
  EXPECT_EQ(web->ICON, L"#url");
  EXPECT_EQ(IconRow(web->ID), "0");  // a shared icon has no row of its own to drop
}

TEST_F(LinkIconEditsTest, RefreshingMarksStoredIconsInvalidAndKeepsTheLinks) {
  auto tag = store_.FindGroup(kTag12);
  ::testing::internal::CaptureStdout();
  EXPECT_TRUE(store_.RemoveLinkIcon(tag->links[0]));
  EXPECT_TRUE(store_.RemoveLinkIcon(store_.FindGroup(kTag11)->links[0]));  // "#url": nothing to drop
  const std::string trace = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(trace.find("#url"), std::string::npos);
  EXPECT_EQ(IconRow(tag->links[0]->ID), "1");
  EXPECT_EQ(IconRow(tag->links[1]->ID), "0");
  EXPECT_EQ(IconRow(SampleLinkId(kTag11, 0)), "0");

  ::testing::internal::CaptureStdout();
  EXPECT_TRUE(store_.RefreshTagIcons(tag));
  EXPECT_NE(::testing::internal::GetCapturedStdout().find("RefreshIconGroup " + std::to_string(kTag12) + ",tag"),
            std::string::npos);
  for (const auto& link : tag->links) {
    EXPECT_EQ(IconRow(link->ID), "1");
    EXPECT_EQ(store_.FindLink(link->ID), link);
  }

  ::testing::internal::CaptureStdout();
  EXPECT_TRUE(store_.RefreshAllIcons());
  ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(icons_->Value("select count(*) from Cache where Invalid=0"), "1");  // the web link's row
  EXPECT_TRUE(store_.RefreshLinkIcons({}, true));
}

TEST_F(LinkIconEditsTest, ClearingATagAndDeletingAGroupDropTheirLinksStoredIcons) {
  ::testing::internal::CaptureStdout();
  ASSERT_TRUE(store_.ClearTag(store_.FindGroup(kTag12)));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(IconRow(SampleLinkId(kTag12, i)), "<none>");
  EXPECT_EQ(IconRow(SampleLinkId(kTag11, 1)), "0");

  ASSERT_TRUE(store_.DeleteGroup(1));
  ::testing::internal::GetCapturedStdout();
  for (int tag : {SampleTagId(2, 1), SampleTagId(2, 2)}) {
    for (int i = 0; i < 3; ++i) EXPECT_EQ(IconRow(SampleLinkId(tag, i)), "<none>");
  }
  EXPECT_EQ(icons_->Value("select count(*) from Cache"), "3");
}

TEST_F(LinkIconEditsTest, AFailedDeleteKeepsTheStoredIcons) {
  {
    RawLinkDb links(path_);
    ASSERT_TRUE(links.Exec("CREATE TRIGGER refuse BEFORE DELETE ON Groups BEGIN SELECT RAISE(ABORT, 'no'); END;"));
  }
  ::testing::internal::CaptureStderr();
  ::testing::internal::CaptureStdout();
  EXPECT_FALSE(store_.DeleteGroup(0));
  EXPECT_FALSE(store_.DeleteTag(store_.FindGroup(1), 1));
  ::testing::internal::GetCapturedStdout();
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(icons_->Value("select count(*) from Cache"), "12");
  EXPECT_EQ(store_.FindLink(SampleLinkId(kTag12, 2))->ParentGroup, kTag12);
}

}  // namespace
