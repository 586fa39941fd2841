#include "app/launching/store_app.h"

#include <gtest/gtest.h>

#include "ui/base/windows_version.h"

namespace {

// The id used to be split with unbounded "%[^_]" reads into fixed buffers.
TEST(StoreAppTest, FamilyNameIsSplitWithinBounds) {
  EXPECT_EQ(StoreAppFamilyName(L"Microsoft.Paint_8wekyb3d8bbwe!App"), L"Microsoft.Paint_8wekyb3d8bbwe");
  EXPECT_EQ(StoreAppFamilyName(L"Name_pub"), L"Name_pub");
  for (const wchar_t* bad : {L"", L"NoUnderscore!App", L"_pub!App", L"Name_!App", L"Name_"}) {
    EXPECT_FALSE(StoreAppFamilyName(bad)) << bad;
  }
  std::wstring longName(259, L'n');
  EXPECT_TRUE(StoreAppFamilyName(longName + L"_p!a"));
  EXPECT_FALSE(StoreAppFamilyName(longName + L"n_p!a"));
  EXPECT_FALSE(StoreAppFamilyName(L"n_" + std::wstring(300, L'p') + L"!a"));
  EXPECT_FALSE(StoreAppFamilyName(std::wstring(100000, L'x')));
}

TEST(StoreAppTest, AppIdComesFromTheAppsFolderPathInAnyCase) {
  EXPECT_EQ(StoreAppIdFromPath(L"shell:AppsFolder\\Microsoft.Paint_8wekyb3d8bbwe!App"),
            L"Microsoft.Paint_8wekyb3d8bbwe!App");
  EXPECT_EQ(StoreAppIdFromPath(L"SHELL:APPSFOLDER\\a_b!c"), L"a_b!c");
  EXPECT_FALSE(StoreAppIdFromPath(L"shell:Programs"));
  EXPECT_FALSE(StoreAppIdFromPath(L"C:\\shell:appsfolder\\x"));
}

TEST(StoreAppTest, NothingOpensBeforeWindows8OrWithoutAnInstalledPackage) {
  OverrideWindowsVersion(WindowsVersion{6, 1, 0});
  EXPECT_FALSE(OpenStoreAppFolder(L"Microsoft.Paint_8wekyb3d8bbwe!App"));
  OverrideWindowsVersion(WindowsVersion{10, 0, 0});
  EXPECT_FALSE(OpenStoreAppFolder(L"Pexo.NotInstalled_0000000000000!App"));
  EXPECT_FALSE(OpenStoreAppFolder(L"no-family"));
  OverrideWindowsVersion(std::nullopt);
}

}  // namespace
