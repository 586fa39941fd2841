#include "data/system_links.h"

#include <objbase.h>

#include <gtest/gtest.h>

#include "data/icon_cache.h"
#include "tests/support/gdiplus_test_env.h"
#include "tests/support/test_support.h"

namespace {

const NtVersion kWindows10{10, 0, 19045};
const NtVersion kWindows11{10, 0, 22000};

TEST(SystemLinkTableTest, HoldsTheThirtyFiveRowsInDialogOrder) {
  const auto& table = SystemLinkTable();
  ASSERT_EQ(table.size(), 35u);
  EXPECT_EQ(table[0].NAME, L"我的电脑");
  EXPECT_EQ(table[0].kind, 6);
  EXPECT_EQ(table[23].PATH, L"#MonitorOff");
  EXPECT_EQ(table[23].kind, 5);
  EXPECT_EQ(table[34].NAME, L"静音");
  EXPECT_EQ(table[34].Remark, L"音量=0");
  // Only the paint row has an alternate target.
  for (size_t i = 0; i < table.size(); ++i) EXPECT_EQ(table[i].alternatePath.empty(), i != 9) << i;
  // The hosts row opens notepad with the hosts file as its parameter.
  EXPECT_EQ(table[30].PATH, L"%windir%\\system32\\notepad.exe");
  EXPECT_EQ(table[30].Parameter, L"%windir%\\system32\\drivers\\etc\\hosts");
}

TEST(SystemLinkTableTest, RowsShareBuiltinIconKeys) {
  const auto& table = SystemLinkTable();
  EXPECT_EQ(SystemLinkIconKey(table[24]), L"#Shutdown");
  EXPECT_EQ(SystemLinkIconKey(table[27]), L"#Shutdown");
  EXPECT_EQ(SystemLinkIconKey(table[28]), SystemLinkIconKey(table[29]));
  for (int row : {13, 14, 15}) EXPECT_EQ(SystemLinkIconKey(table[row]), L"#dir");
  EXPECT_EQ(SystemLinkIconKey(table[6]), L"%windir%\\system32\\calc.exe");
  EXPECT_EQ(IconCache::MakeImageKey(SystemLinkIconKey(table[26]), IconCache::kSize16),
            IconCache::MakeImageKey(L"#LOCK", IconCache::kSize16));
}

TEST(NtVersionTest, Windows11StartsAfterBuild21999) {
  EXPECT_FALSE(IsWindows11(kWindows10));
  EXPECT_FALSE(IsWindows11({10, 0, 21999}));
  EXPECT_TRUE(IsWindows11(kWindows11));
  EXPECT_TRUE(IsWindows11({11, 0, 0}));
  EXPECT_FALSE(IsWindows11({6, 1, 7601}));
  EXPECT_GT(GetNtVersion().major, 0u);
}

class SystemLinkPreparationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ASSERT_TRUE(cache_.Open());
  }
  void TearDown() override {
    cache_.Close();
    CoUninitialize();
  }
  pexo_test::TempDir dir_;
  IconCache cache_{dir_.File(L"icon.db")};
};

TEST_F(SystemLinkPreparationTest, PaintMovesToItsAlternateTargetOnlyOnWindows11) {
  const SystemLink& paint = SystemLinkTable()[9];
  ASSERT_TRUE(PrepareSystemLinks(cache_, kWindows10));
  EXPECT_EQ(paint.PATH, L"%windir%\\system32\\mspaint.exe");
  ASSERT_TRUE(PrepareSystemLinks(cache_, kWindows11));
  EXPECT_EQ(paint.PATH, L"shell:AppsFolder\\Microsoft.WindowsStore_8wekyb3d8bbwe!App");
  EXPECT_EQ(paint.kind, 0);
}

TEST_F(SystemLinkPreparationTest, RowsShowSeededIconsOrTheirProgramsIcon) {
  ASSERT_TRUE(PrepareSystemLinks(cache_, kWindows10));
  for (const wchar_t* key : {L"#Lock", L"#Shutdown", L"#Restart", L"#SLEEP", L"#Sys", L"#AdminTools",
                             L"#MonitorOff", L"#VolumeUp", L"#VolumeDown", L"#Mute"}) {
    EXPECT_TRUE(IconCache::IsCached(IconCache::MakeImageKey(key, IconCache::kSize16))) << key;
  }
  // A program row keeps its icon under the unexpanded path.
  const std::wstring notepad = IconCache::MakeImageKey(L"%windir%\\system32\\notepad.exe", IconCache::kSize48);
  if (!IconCache::IsCached(notepad)) {
    ASSERT_TRUE(pexo_test::RunningUnderWine()) << "notepad's icon was not cached";
    GTEST_SKIP() << "this Wine prefix's notepad gives no icon";
  }
}

}  // namespace
