#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "data/icon_cache.h"
#include "data/icon_resource_ids.h"
#include "tests/data/icon_test_util.h"
#include "tests/support/gdiplus_test_env.h"
#include "tests/support/test_support.h"
#include "ui/base/ui_globals.h"

namespace {

using icon_test::Db;
using icon_test::PixelAt;
using icon_test::SolidPng;

constexpr uint32_t kRed = 0xFFFF0000;

// The shell's item and image-list calls want COM on the thread.
class ComEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  void TearDown() override { CoUninitialize(); }
};
::testing::Environment* const kComEnvironment = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

std::shared_ptr<ui::ImageInfo> Image(const std::wstring& key, int sizeIndex) {
  return ui::UiGlobals::FindCachedImage(IconCache::MakeImageKey(key, sizeIndex));
}

std::wstring ExePath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

class IconSourcesTest : public ::testing::Test {
 protected:
  IconSourcesTest() : cache_(dir_.File(L"icon.db")) {}
  void SetUp() override { ASSERT_TRUE(cache_.Open()); }

  // Each test uses its own keys: the framework's image cache is process-wide.
  std::wstring Key(const std::wstring& name) const {
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    return name + L"." + std::wstring(test.begin(), test.end());
  }
  void ExpectAllSizes(const std::wstring& key) {
    const int sizes[3][2] = {{IconCache::kSize16, 16}, {IconCache::kSize32, 32}, {IconCache::kSize48, 48}};
    for (const auto& [index, pixels] : sizes) {
      auto image = Image(key, index);
      ASSERT_TRUE(image) << "size " << pixels;
      EXPECT_EQ(image->width, pixels);
      EXPECT_EQ(image->height, pixels);
    }
  }
  void ExpectNothingUnder(const std::wstring& key) {
    EXPECT_EQ(cache_.entries().count(key), 0u);
    EXPECT_FALSE(IconCache::IsCached(IconCache::MakeImageKey(key, IconCache::kSize16)));
  }

  pexo_test::TempDir dir_;
  IconCache cache_;
};

TEST_F(IconSourcesTest, ProgramResourcesGiveIconsAndSvgImages) {
  EXPECT_TRUE(cache_.AddResIcoToCache(PEXO_ICON_URL, Key(L"res")));
  ExpectAllSizes(Key(L"res"));
  EXPECT_TRUE(cache_.AddSkinImageToCache(PEXO_SVG_SHUTDOWN, Key(L"svg")));
  ExpectAllSizes(Key(L"svg"));
  EXPECT_TRUE(Image(Key(L"svg"), IconCache::kSize48)->alpha);

  EXPECT_FALSE(cache_.AddResIcoToCache(999, Key(L"missing-icon")));
  ExpectNothingUnder(Key(L"missing-icon"));
  EXPECT_FALSE(cache_.AddSkinImageToCache(999, Key(L"missing-svg")));
  ExpectNothingUnder(Key(L"missing-svg"));
}

TEST_F(IconSourcesTest, IconIndexAfterTheLastCommaCountsFromZeroAndIgnoresSign) {
  const std::wstring exe = ExePath();
  // The executable's icons in resource order: 128 (the program's own, which the
  // shell shows for the file), 203, 204, 205, 206, 207, 210.
  ASSERT_TRUE(cache_.AddPathToCache(Key(L"fourth"), exe + L",4"));
  ASSERT_TRUE(cache_.AddPathToCache(Key(L"negative"), exe + L",-4"));
  ASSERT_TRUE(cache_.AddPathToCache(Key(L"first"), exe));
  ASSERT_TRUE(cache_.AddResIcoToCache(PEXO_ICON_URL, Key(L"url")));
  ASSERT_TRUE(cache_.AddResIcoToCache(PEXO_ICON_PROGRAM, Key(L"program")));
  ExpectAllSizes(Key(L"fourth"));
  for (int size : {IconCache::kSize16, IconCache::kSize32, IconCache::kSize48}) {
    const int middle = size == IconCache::kSize16 ? 8 : size == IconCache::kSize32 ? 16 : 24;
    for (int offset : {0, 5}) {
      EXPECT_EQ(PixelAt(Image(Key(L"fourth"), size), middle + offset, middle),
                PixelAt(Image(Key(L"url"), size), middle + offset, middle));
      EXPECT_EQ(PixelAt(Image(Key(L"negative"), size), middle + offset, middle),
                PixelAt(Image(Key(L"url"), size), middle + offset, middle));
      EXPECT_EQ(PixelAt(Image(Key(L"first"), size), middle, middle + offset),
                PixelAt(Image(Key(L"program"), size), middle, middle + offset));
    }
  }
}

TEST_F(IconSourcesTest, PicturesAreStretchedToTheThreeSquares) {
  const std::wstring png = dir_.File(L"logo.png");
  ASSERT_TRUE(pexo_test::WriteFileBytes(png, SolidPng(100, kRed)));
  ASSERT_TRUE(cache_.AddPathToCache(Key(L"png"), png));
  ExpectAllSizes(Key(L"png"));
  EXPECT_EQ(PixelAt(Image(Key(L"png"), IconCache::kSize48), 24, 24) & 0x00FFFFFF, 0xFF0000u);

  // An .ico file the icon loader cannot read is read as a picture.
  const std::wstring ico = dir_.File(L"actually-png.ico");
  ASSERT_TRUE(pexo_test::WriteFileBytes(ico, SolidPng(64, kRed)));
  ASSERT_TRUE(cache_.AddPathToCache(Key(L"ico"), ico));
  ExpectAllSizes(Key(L"ico"));
}

TEST_F(IconSourcesTest, LinkKeysFromFilesAreStored) {
  const std::wstring png = dir_.File(L"logo.png");
  ASSERT_TRUE(pexo_test::WriteFileBytes(png, SolidPng(48, kRed)));
  ASSERT_TRUE(cache_.AddPathToCache(L"lnk21", png));
  ASSERT_TRUE(cache_.AddSkinImageToCache(PEXO_SVG_MUTE, L"lnk22"));
  Db db(dir_.File(L"icon.db"));
  EXPECT_EQ(db.Number("select count(*) from Cache where ID in (21,22) and Invalid=0"), 2);
  EXPECT_EQ(db.Blob("select Icon16 from Cache where ID=22").substr(1, 3), "PNG");
}

TEST_F(IconSourcesTest, WebpMustBeASquarePicture) {
  EXPECT_TRUE(cache_.AddWebpToCache(pexo_test::DataFile(L"icons/square_256.webp"), Key(L"square")));
  ExpectAllSizes(Key(L"square"));
  EXPECT_FALSE(cache_.AddPathToCache(Key(L"wide"), pexo_test::DataFile(L"icons/wide_64x32.webp")));
  ExpectNothingUnder(Key(L"wide"));
}

TEST_F(IconSourcesTest, SvgMustBeSquare) {
  const std::wstring square = dir_.File(L"square.svg");
  ASSERT_TRUE(pexo_test::WriteFileBytes(
      square, "<svg xmlns='http://www.w3.org/2000/svg' width='24' height='24'><rect x='0' y='0' width='24' "
              "height='24' fill='#ff0000'/></svg>"));
  ASSERT_TRUE(cache_.AddPathToCache(Key(L"square"), square));
  ExpectAllSizes(Key(L"square"));
  EXPECT_EQ(PixelAt(Image(Key(L"square"), IconCache::kSize32), 16, 16) & 0x00FFFFFF, 0xFF0000u);

  const std::wstring wide = dir_.File(L"wide.svg");
  ASSERT_TRUE(pexo_test::WriteFileBytes(
      wide, "<svg xmlns='http://www.w3.org/2000/svg' width='24' height='16'><rect width='24' height='16'/></svg>"));
  EXPECT_FALSE(cache_.AddPathToCache(Key(L"wide"), wide));
  ExpectNothingUnder(Key(L"wide"));
}

TEST_F(IconSourcesTest, BrokenOrMissingFilesAddNothing) {
  const std::string junk = "this is not a picture at all";
  for (const wchar_t* name : {L"junk.png", L"junk.webp", L"junk.svg", L"junk.ico", L"empty.webp", L"empty.png"}) {
    const std::wstring path = dir_.File(name);
    ASSERT_TRUE(pexo_test::WriteFileBytes(path, std::wstring(name).find(L"empty") == 0 ? "" : junk));
    EXPECT_FALSE(cache_.AddPathToCache(Key(name), path)) << name;
    ExpectNothingUnder(Key(name));
  }
  EXPECT_FALSE(cache_.AddPngToCache(dir_.File(L"none.png"), Key(L"none-png")));
  EXPECT_FALSE(cache_.AddWebpToCache(dir_.File(L"none.webp"), Key(L"none-webp")));
  EXPECT_FALSE(cache_.AddSvgFileToCache(dir_.File(L"none.svg"), Key(L"none-svg")));
  EXPECT_FALSE(cache_.AddIcoToCache(dir_.File(L"none.ico"), Key(L"none-ico")));
  EXPECT_FALSE(cache_.AddSvgToCache(nullptr, Key(L"null-svg")));
  EXPECT_FALSE(cache_.AddSysIconToCache(Key(L"negative-index"), -1));
  EXPECT_FALSE(cache_.AddPathToCache(L"", ExePath()));
  EXPECT_FALSE(cache_.AddPathToCache(Key(L"only-index"), L",3"));
}

TEST_F(IconSourcesTest, AnIconAlreadyShownIsNotMadeAgain) {
  ASSERT_TRUE(cache_.AddResIcoToCache(PEXO_ICON_ERROR, Key(L"shown")));
  auto before = Image(Key(L"shown"), IconCache::kSize32);
  EXPECT_TRUE(cache_.AddPathToCache(Key(L"shown"), dir_.File(L"does-not-exist.png")));
  EXPECT_EQ(Image(Key(L"shown"), IconCache::kSize32), before);
}

TEST_F(IconSourcesTest, FileTypeIconsNeedNoFile) {
  if (!cache_.AddPathToCache(L"*.txt", L"*.txt")) {
    ASSERT_TRUE(pexo_test::RunningUnderWine()) << "the shell gave no icon for *.txt";
    GTEST_SKIP() << "Wine's shell gives no system image list icon for a file type here";
  }
  ExpectAllSizes(L"*.txt");
}

TEST_F(IconSourcesTest, ShellIconsOfExistingFolders) {
  if (!cache_.AddPathToCache(Key(L"folder"), dir_.path())) {
    ASSERT_TRUE(pexo_test::RunningUnderWine()) << "the shell gave no icon for a folder";
    GTEST_SKIP() << "Wine's shell gives no system image list icon for a folder here";
  }
  EXPECT_TRUE(IconCache::IsCached(IconCache::MakeImageKey(Key(L"folder"), IconCache::kSize16)));
}

}  // namespace
