// The skin archive embedded in this test executable's resources, as the program
// opens it, and the path rules of the resource readers.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_support.h"
#include "ui/base/ui_globals.h"
#include "ui/base/zip_archive.h"

using ui::UiGlobals;

namespace {

std::string EntryText(const std::wstring& path) {
  ui::UniqueGlobal block = UiGlobals::ReadZipEntry(path);
  if (!block) return {};
  ui::GlobalLockGuard lock(static_cast<HGLOBAL>(block.get()));
  return std::string(static_cast<const char*>(lock.data()), lock.size());
}

class SkinArchiveTest : public ::testing::Test {
 protected:
  void TearDown() override {
    UiGlobals::CloseSkinZip();
    UiGlobals::SetResourcePath(L"");
  }
};

TEST_F(SkinArchiveTest, EmbeddedSkinHoldsTheSkinFolder) {
  ASSERT_TRUE(UiGlobals::OpenSkinZip(201, L"SKIN", PEXO_SKIN_PASSWORD));
  ASSERT_NE(UiGlobals::GetSkinZip(), nullptr);
  const std::string global = EntryText(L"skin\\gray\\global.xml");
  EXPECT_EQ(global, pexo_test::ReadFileBytes(pexo_test::DataFile(L"..\\..\\skin\\gray\\global.xml")));
  EXPECT_NE(global.find("<Global"), std::string::npos);
  // Case of ASCII letters does not matter, "." and ".." segments are resolved.
  EXPECT_EQ(EntryText(L"SKIN\\Lang\\zh_CN\\.\\..\\zh_CN\\GDSTRINGS.INI"),
            pexo_test::ReadFileBytes(pexo_test::DataFile(L"..\\..\\skin\\lang\\zh_CN\\gdstrings.ini")));
}

TEST_F(SkinArchiveTest, MissingOrUnsafeEntriesGiveNothing) {
  ASSERT_TRUE(UiGlobals::OpenSkinZip(201, L"SKIN", PEXO_SKIN_PASSWORD));
  EXPECT_EQ(UiGlobals::ReadZipEntry(L"skin\\gray\\missing.xml"), nullptr);
  EXPECT_EQ(ui::ZipArchive::GetLastResult(), ui::kZipNotFound);
  EXPECT_EQ(UiGlobals::ReadZipEntry(L"..\\skin\\gray\\global.xml"), nullptr);
  EXPECT_EQ(UiGlobals::ReadZipEntry(L"skin\\..\\..\\skin\\gray\\global.xml"), nullptr);
  EXPECT_EQ(UiGlobals::ReadZipEntry(L"C:\\skin\\gray\\global.xml"), nullptr);
  EXPECT_EQ(UiGlobals::ReadZipEntry(L""), nullptr);
}

TEST_F(SkinArchiveTest, WrongPasswordReadsNothing) {
  ASSERT_TRUE(UiGlobals::OpenSkinZip(201, L"SKIN", "PexoSkin7q2XwR4n"));
  EXPECT_EQ(UiGlobals::ReadZipEntry(L"skin\\gray\\global.xml"), nullptr);
  EXPECT_EQ(ui::ZipArchive::GetLastResult(), ui::kZipWrongPassword);
  // The right password afterwards works on a fresh open.
  ASSERT_TRUE(UiGlobals::OpenSkinZip(201, L"SKIN", PEXO_SKIN_PASSWORD));
  EXPECT_FALSE(EntryText(L"skin\\gray\\global.xml").empty());
}

TEST_F(SkinArchiveTest, MissingResourceLeavesNoArchiveOpen) {
  ASSERT_TRUE(UiGlobals::OpenSkinZip(201, L"SKIN", PEXO_SKIN_PASSWORD));
  EXPECT_FALSE(UiGlobals::OpenSkinZip(999, L"SKIN", PEXO_SKIN_PASSWORD));
  EXPECT_EQ(UiGlobals::GetSkinZip(), nullptr);
  EXPECT_EQ(ui::ZipArchive::GetLastResult(), ui::kZipCannotOpen);
  EXPECT_EQ(UiGlobals::ReadZipEntry(L"skin\\gray\\global.xml"), nullptr);
  EXPECT_EQ(UiGlobals::CloseSkinZip(), ui::kZipBadArgument);
}

TEST(ZipPathTest, ArchivePathsOfFrameworkPaths) {
  EXPECT_EQ(UiGlobals::ToZipPath(L"skin\\gray\\..\\lang\\a.ini"), L"skin/lang/a.ini");
  EXPECT_EQ(UiGlobals::ToZipPath(L"skin\\\\gray//x.xml"), L"skin/gray/x.xml");
  EXPECT_EQ(UiGlobals::ToZipPath(L".\\skin\\.\\Gray\\\\\\x.xml"), L"skin/Gray/x.xml");
  EXPECT_EQ(UiGlobals::ToZipPath(L"a\\b\\..\\..\\c"), L"c");
  EXPECT_EQ(UiGlobals::ToZipPath(L"a\\..\\..\\c"), L"");
  EXPECT_EQ(UiGlobals::ToZipPath(L"..\\c"), L"");
  EXPECT_EQ(UiGlobals::ToZipPath(L"C:\\skin\\x.xml"), L"");
  EXPECT_EQ(UiGlobals::ToZipPath(L"\\\\server\\share\\x.xml"), L"");
}

TEST_F(SkinArchiveTest, ResourceFullPathPrefersTheWindowFolderThenTheRoot) {
  UiGlobals::SetResourcePath(L"skin\\gray");
  EXPECT_EQ(UiGlobals::GetResourcePath(), L"skin\\gray\\");
  EXPECT_EQ(UiGlobals::GetResourceFullPath(L"C:\\abs\\file.png", L"main\\"), L"C:\\abs\\file.png");
  // Without an archive the disk decides.
  EXPECT_EQ(UiGlobals::GetResourceFullPath(L"global.xml", L"main\\"), L"skin\\gray\\global.xml");

  ASSERT_TRUE(UiGlobals::OpenSkinZip(201, L"SKIN", PEXO_SKIN_PASSWORD));
  EXPECT_EQ(UiGlobals::GetResourceFullPath(L"global.xml", L""), L"skin\\gray\\global.xml");
  EXPECT_EQ(UiGlobals::GetResourceFullPath(L"global.xml", L""), L"skin\\gray\\global.xml");  // known path
  EXPECT_EQ(UiGlobals::GetResourceFullPath(L"..//lang/zh_CN/gdstrings.ini", L""),
            L"skin\\gray\\..\\lang\\zh_CN\\gdstrings.ini");
  EXPECT_EQ(UiGlobals::GetResourceFullPath(L"global.xml", L"main\\"), L"skin\\gray\\global.xml");
}

TEST(ResourcePathTest, TrailingSeparatorRule) {
  UiGlobals::SetResourcePath(L"skin/gray/");
  EXPECT_EQ(UiGlobals::GetResourcePath(), L"skin/gray/");
  UiGlobals::SetResourcePath(L"");
  EXPECT_EQ(UiGlobals::GetResourcePath(), L"");
}

}  // namespace
