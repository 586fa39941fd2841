#include "data/icon_cache.h"

#include <objbase.h>

#include <cwchar>

#include <gtest/gtest.h>

#include "tests/data/icon_test_util.h"
#include "tests/support/gdiplus_test_env.h"
#include "tests/support/test_support.h"
#include "ui/base/ui_globals.h"

namespace {

using icon_test::Db;
using icon_test::PixelAt;
using icon_test::SolidBitmap;
using icon_test::SolidPng;

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;

class IconCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryW((dir_.path() + L"\\db").c_str(), nullptr);
    path_ = dir_.path() + L"\\db\\icon.db";
  }
  // Adds a solid icon of one colour under the key.
  bool AddSolid(IconCache& cache, const std::wstring& key, uint32_t argb) {
    return cache.AddBitmapToCache(key, SolidBitmap(16, argb), SolidBitmap(32, argb), SolidBitmap(48, argb));
  }
  static std::shared_ptr<ui::ImageInfo> Image(const std::wstring& key, int sizeIndex) {
    return ui::UiGlobals::FindCachedImage(IconCache::MakeImageKey(key, sizeIndex));
  }

  pexo_test::TempDir dir_;
  std::wstring path_;
};

TEST(IconCacheKeyTest, ImageKeysCarryTheSizePrefixAndAreLowered) {
  EXPECT_EQ(IconCache::MakeImageKey(L"#Lock", IconCache::kSize16), L"?s:#lock");
  EXPECT_EQ(IconCache::MakeImageKey(L"#LOCK", IconCache::kSize16), L"?s:#lock");
  EXPECT_EQ(IconCache::MakeImageKey(L"lnk12", IconCache::kSize32), L"?n:lnk12");
  EXPECT_EQ(IconCache::MakeImageKey(L"C:\\Tools\\App.ICO", IconCache::kSize48), L"?l:c:\\tools\\app.ico");
}

TEST_F(IconCacheTest, FreshFolderGetsCurrentVersionEmptyCacheAndBuiltinKeys) {
  IconCache cache(path_);
  ASSERT_TRUE(cache.Open());
  Db db(path_);
  EXPECT_EQ(db.Number("select Ver from Version where id=1"), 10805);
  EXPECT_EQ(db.Number("select count(*) from Cache"), 0);
  for (const auto& [key, entry] : cache.entries()) EXPECT_EQ(key[0], L'#') << std::string(key.begin(), key.end());
  // The program's own resources are deterministic on every platform.
  for (const wchar_t* key : {L"#url", L"#err", L"#uwp", L"#Sys", L"#AdminTools", L"#MonitorOff", L"#Shutdown",
                             L"#Restart", L"#LOCK", L"#SLEEP", L"#VolumeUp", L"#VolumeDown", L"#Mute"}) {
    EXPECT_TRUE(IconCache::IsCached(IconCache::MakeImageKey(key, IconCache::kSize16))) << key;
    auto large = Image(key, IconCache::kSize48);
    ASSERT_TRUE(large) << key;
    EXPECT_EQ(large->width, 48);
  }
  // "#Lock" names the images seeded under "#LOCK".
  EXPECT_TRUE(IconCache::IsCached(IconCache::MakeImageKey(L"#Lock", IconCache::kSize32)));
}

TEST_F(IconCacheTest, FirstStartCreatesTheMissingDbFolder) {
  const std::wstring path = dir_.path() + L"\\fresh\\db\\icon.db";
  CreateDirectoryW((dir_.path() + L"\\fresh").c_str(), nullptr);
  {
    IconCache cache(path);
    ASSERT_TRUE(cache.Open());
    cache.Close();
  }
  Db db(path);
  EXPECT_EQ(db.Number("select Ver from Version where id=1"), 10805);
  EXPECT_EQ(db.Number("select count(*) from Cache"), 0);
}

TEST_F(IconCacheTest, ShellFolderKeysAreSeededFromTheSystemImageLists) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IconCache cache(path_);
  ASSERT_TRUE(cache.Open());
  std::string missing;
  for (const wchar_t* key : {L"#dir", L"#ControlPanel", L"#Computer", L"#Document", L"#Network", L"#Recycle",
                             L"#Recent"}) {
    if (!IconCache::IsCached(IconCache::MakeImageKey(key, IconCache::kSize32)))
      missing += " " + std::string(key, key + wcslen(key));
  }
  CoUninitialize();
  if (!missing.empty()) {
    ASSERT_TRUE(pexo_test::RunningUnderWine()) << "no shell icon for" << missing;
    GTEST_SKIP() << "Wine's shell gives no system image-list icon for" << missing;
  }
}

TEST_F(IconCacheTest, ExistingEmptyFileIsSetUpLikeAMissingOneAndKeepsWorking) {
  ASSERT_TRUE(pexo_test::WriteFileBytes(path_, ""));
  {
    IconCache cache(path_);
    ASSERT_TRUE(cache.Open()) << "an interrupted first start must not stop every later start";
    EXPECT_TRUE(AddSolid(cache, L"lnk5", kRed));
    cache.Close();
  }
  Db db(path_);
  EXPECT_EQ(db.Number("select Ver from Version where id=1"), 10805);
  EXPECT_EQ(db.Number("select count(*) from Cache"), 1);
  IconCache again(path_);
  ASSERT_TRUE(again.Open());
  EXPECT_TRUE(Image(L"lnk5", IconCache::kSize32));
}

TEST_F(IconCacheTest, FileWithAVersionButNoCacheTableGetsTheTable) {
  {
    Db db(path_);  // what an interrupted start of an older build left behind
    ASSERT_TRUE(db.Exec("CREATE TABLE Version(ID INTEGER PRIMARY KEY, Ver INTEGER)"));
    ASSERT_TRUE(db.Exec("REPLACE INTO Version(ID,Ver) VALUES (1,10600)"));
  }
  IconCache cache(path_);
  ASSERT_TRUE(cache.Open());
  Db db(path_);
  EXPECT_EQ(db.Number("select Ver from Version where id=1"), 10600) << "the version is left as found";
  EXPECT_EQ(db.Number("select count(*) from Cache"), 0);
}

TEST_F(IconCacheTest, CorruptFileIsReportedAndLeftUntouched) {
  const std::string garbage(8192, '\x5A');
  ASSERT_TRUE(pexo_test::WriteFileBytes(path_, garbage));
  IconCache cache(path_);
  EXPECT_FALSE(cache.Open());
  EXPECT_EQ(pexo_test::ReadFileBytes(path_), garbage);
}

TEST_F(IconCacheTest, OlderFileWithoutVersionKeepsItsRows) {
  {
    Db db(path_);
    ASSERT_TRUE(db.Exec("CREATE TABLE Cache(ID INTEGER PRIMARY KEY,Invalid TINYINT DEFAULT 0,Icon16 BLOB,"
                        "Icon32 BLOB,Icon48 BLOB)"));
    ASSERT_TRUE(db.PutRow(3, 0, SolidPng(16, kRed), SolidPng(32, kRed), SolidPng(48, kRed)));
  }
  IconCache cache(path_);
  ASSERT_TRUE(cache.Open());
  EXPECT_TRUE(IconCache::IsCached(L"?l:lnk3"));
  Db db(path_);
  EXPECT_EQ(db.Number("select Ver from Version where id=1"), 10600);
}

TEST_F(IconCacheTest, LinkIconsAreStoredAndLoadedAgain) {
  {
    IconCache cache(path_);
    ASSERT_TRUE(cache.Open());
    ASSERT_TRUE(AddSolid(cache, L"lnk12", kRed));
    EXPECT_EQ(PixelAt(Image(L"lnk12", IconCache::kSize32), 5, 5) & 0x00FFFFFF, 0xFF0000u);
    Db db(path_);
    EXPECT_EQ(db.Number("select count(*) from Cache where ID=12 and Invalid=0"), 1);
    EXPECT_EQ(db.Blob("select Icon48 from Cache where ID=12").substr(1, 3), "PNG");
  }
  EXPECT_FALSE(IconCache::IsCached(L"?n:lnk12")) << "closing drops the images";
  IconCache cache(path_);
  ASSERT_TRUE(cache.Open());
  auto image = Image(L"lnk12", IconCache::kSize48);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 48);
  EXPECT_EQ(PixelAt(image, 40, 40) & 0x00FFFFFF, 0xFF0000u);
  EXPECT_EQ(cache.entries().count(L"lnk12"), 1u);
}

TEST_F(IconCacheTest, OnlyCompleteIconsOfNumberedLinkKeysReachTheDatabase) {
  IconCache cache(path_);
  ASSERT_TRUE(cache.Open());
  EXPECT_TRUE(AddSolid(cache, L"lnk0", kRed));
  EXPECT_TRUE(AddSolid(cache, L"lnkx", kRed));
  EXPECT_TRUE(AddSolid(cache, L"*.txt", kRed));
  EXPECT_TRUE(cache.AddBitmapToCache(L"lnk12", SolidBitmap(16, kRed), nullptr, SolidBitmap(48, kRed)));
  Db db(path_);
  EXPECT_EQ(db.Number("select count(*) from Cache"), 0);
  ASSERT_EQ(cache.entries().count(L"lnk12"), 1u);
  const IconCacheEntry& entry = cache.entries().at(L"lnk12");
  EXPECT_TRUE(entry.image16);
  EXPECT_FALSE(entry.image32);
  EXPECT_TRUE(entry.image48);
  EXPECT_EQ(cache.entries().count(L"lnkx"), 1u);
  // No image at all adds nothing and is no success.
  EXPECT_FALSE(cache.AddBitmapToCache(L"lnk13", nullptr, nullptr, nullptr));
  EXPECT_EQ(cache.entries().count(L"lnk13"), 0u);
}

TEST_F(IconCacheTest, AddingUnderALiveKeyKeepsTheShownImageButRewritesTheRow) {
  IconCache cache(path_);
  ASSERT_TRUE(cache.Open());
  ASSERT_TRUE(AddSolid(cache, L"lnk5", kRed));
  Db db(path_);
  const std::string firstRow = db.Blob("select Icon32 from Cache where ID=5");
  ASSERT_TRUE(AddSolid(cache, L"lnk5", kBlue));
  EXPECT_EQ(PixelAt(Image(L"lnk5", IconCache::kSize32), 1, 1) & 0x00FFFFFF, 0xFF0000u);
  EXPECT_NE(db.Blob("select Icon32 from Cache where ID=5"), firstRow);
  // A refresh removes the key first; then the new icon shows.
  ASSERT_TRUE(cache.RemoveCache(L"lnk5", false));
  ASSERT_TRUE(AddSolid(cache, L"lnk5", kBlue));
  EXPECT_EQ(PixelAt(Image(L"lnk5", IconCache::kSize32), 1, 1) & 0x00FFFFFF, 0x0000FFu);
}

TEST_F(IconCacheTest, RemovalKeepsBuiltinKeysAndMarksOrDeletesRows) {
  IconCache cache(path_);
  ASSERT_TRUE(cache.Open());
  ASSERT_TRUE(IconCache::IsCached(L"?s:#err"));
  EXPECT_TRUE(cache.RemoveCache(L"#err", true));
  EXPECT_TRUE(IconCache::IsCached(L"?s:#err"));

  ASSERT_TRUE(AddSolid(cache, L"*.txt", kRed));
  EXPECT_TRUE(cache.RemoveCache(L"*.txt", true));
  EXPECT_FALSE(IconCache::IsCached(L"?s:*.txt"));
  EXPECT_EQ(cache.entries().count(L"*.txt"), 0u);

  ASSERT_TRUE(AddSolid(cache, L"C:\\x.exe", kRed));
  EXPECT_FALSE(cache.RemoveCache(L"C:\\x.exe", true)) << "a path key has no row";
  EXPECT_FALSE(IconCache::IsCached(IconCache::MakeImageKey(L"C:\\x.exe", IconCache::kSize16)));

  ASSERT_TRUE(AddSolid(cache, L"lnk12", kRed));
  ASSERT_TRUE(AddSolid(cache, L"lnk13", kRed));
  EXPECT_TRUE(cache.RemoveCache(L"lnk12", false));
  EXPECT_TRUE(cache.RemoveCache(L"lnk13", true));
  Db db(path_);
  EXPECT_EQ(db.Number("select Invalid from Cache where ID=12"), 1);
  EXPECT_EQ(db.Number("select count(*) from Cache where ID=13"), 0);
  EXPECT_FALSE(IconCache::IsCached(L"?l:lnk12"));

  // An invalid row is not loaded, and purging removes it.
  ASSERT_TRUE(cache.Open());
  EXPECT_FALSE(IconCache::IsCached(L"?l:lnk12"));
  EXPECT_TRUE(cache.PurgeInvalid());
  EXPECT_EQ(db.Number("select count(*) from Cache"), 0);
}

TEST_F(IconCacheTest, UndecodableRowsAreSkippedAtLoad) {
  {
    IconCache cache(path_);
    ASSERT_TRUE(cache.Open());
  }
  {
    Db db(path_);
    const std::string good = SolidPng(16, kRed);
    ASSERT_TRUE(db.PutRow(1, 0, good, SolidPng(32, kRed), SolidPng(48, kRed)));
    ASSERT_TRUE(db.PutRow(2, 0, good, "not a picture", SolidPng(48, kRed)));
    ASSERT_TRUE(db.PutRow(3, 0, good.substr(0, good.size() / 2), good, good));
    ASSERT_TRUE(db.PutRow(4, 0, "", "", ""));
  }
  IconCache cache(path_);
  ASSERT_TRUE(cache.Open());
  EXPECT_TRUE(IconCache::IsCached(L"?s:lnk1"));
  for (const wchar_t* key : {L"lnk2", L"lnk3", L"lnk4"}) {
    EXPECT_EQ(cache.entries().count(key), 0u) << key;
    EXPECT_FALSE(IconCache::IsCached(IconCache::MakeImageKey(key, IconCache::kSize16))) << key;
  }
}

TEST_F(IconCacheTest, BatchRemovalIsAllOrNothing) {
  IconCache cache(path_);
  ASSERT_TRUE(cache.Open());
  for (const wchar_t* key : {L"lnk5", L"lnk7", L"lnk9"}) ASSERT_TRUE(AddSolid(cache, key, kRed));
  {
    Db db(path_);
    ASSERT_TRUE(db.Exec("CREATE TRIGGER refuse BEFORE DELETE ON Cache WHEN old.ID=7 "
                        "BEGIN SELECT RAISE(ABORT,'refused'); END"));
  }
  EXPECT_FALSE(cache.RemoveCacheBatch({L"lnk5", L"lnk7", L"lnk9"}, true));
  Db db(path_);
  EXPECT_EQ(db.Number("select count(*) from Cache"), 3) << "the rows deleted before the failure come back";
  EXPECT_FALSE(IconCache::IsCached(L"?s:lnk5"));

  ASSERT_TRUE(db.Exec("DROP TRIGGER refuse"));
  EXPECT_TRUE(cache.RemoveCacheBatch({L"lnk5", L"#dir", L"*.txt", L"lnk9"}, false));
  EXPECT_EQ(db.Number("select count(*) from Cache where Invalid=1"), 2);
  EXPECT_TRUE(cache.RemoveCacheBatch({L"lnk5", L"lnk7", L"lnk9"}, true));
  EXPECT_EQ(db.Number("select count(*) from Cache"), 0);
}

TEST_F(IconCacheTest, ClosedCacheRefusesDatabaseWork) {
  IconCache cache(path_);
  EXPECT_FALSE(cache.PurgeInvalid());
  EXPECT_FALSE(cache.RemoveCacheBatch({L"lnk1"}, true));
  EXPECT_FALSE(cache.RemoveCache(L"lnk1", true));
  // Icons of link keys cannot be stored, so they are not shown either.
  EXPECT_FALSE(AddSolid(cache, L"lnk1", kRed));
  EXPECT_FALSE(IconCache::IsCached(L"?s:lnk1"));
  EXPECT_TRUE(AddSolid(cache, L"*.pdf", kRed));
}

TEST_F(IconCacheTest, EntryInsertsAnEmptyEntry) {
  IconCache cache(path_);
  IconCacheEntry& entry = cache.Entry(L"C:\\found.txt");
  EXPECT_EQ(entry.key, L"C:\\found.txt");
  EXPECT_FALSE(entry.image16);
  EXPECT_EQ(&cache.Entry(L"C:\\found.txt"), &entry);
}

}  // namespace

TEST_F(IconCacheTest, StoredIconsAreDecodedOnlyWhenFirstAskedFor) {
  constexpr int kStored = 60;
  {
    IconCache cache(path_);
    ASSERT_TRUE(cache.Open());
  }
  {
    Db db(path_);
    const std::string red16 = SolidPng(16, kRed), red32 = SolidPng(32, kRed), red48 = SolidPng(48, kRed);
    for (int id = 1; id <= kStored; ++id) {
      if (id == 7) {
        ASSERT_TRUE(db.PutRow(id, 0, SolidPng(16, kBlue), SolidPng(32, kBlue), SolidPng(48, kBlue)));
      } else {
        ASSERT_TRUE(db.PutRow(id, 0, red16, red32, red48));
      }
    }
    ASSERT_TRUE(db.PutRow(kStored + 1, 1, red16, red32, red48));  // invalid rows are never loaded
  }
  IconCache cache(path_);
  ASSERT_TRUE(cache.Open());
  EXPECT_EQ(cache.undecodedCount(), static_cast<size_t>(kStored));
  for (const auto& [key, entry] : cache.entries()) EXPECT_EQ(key[0], L'#') << std::string(key.begin(), key.end());

  // Asking for one size decodes the row once and registers all three sizes.
  auto image = Image(L"lnk7", IconCache::kSize32);
  ASSERT_TRUE(image);
  EXPECT_EQ(PixelAt(image, 16, 16) & 0x00FFFFFF, 0x0000FFu);
  EXPECT_EQ(cache.undecodedCount(), static_cast<size_t>(kStored - 1));
  ASSERT_EQ(cache.entries().count(L"lnk7"), 1u);
  const IconCacheEntry& entry = cache.entries().at(L"lnk7");
  EXPECT_EQ(entry.image32, image);
  ASSERT_TRUE(entry.image16 && entry.image48);
  EXPECT_EQ(entry.image16->width, 16);
  EXPECT_EQ(entry.image48->width, 48);
  EXPECT_EQ(Image(L"lnk7", IconCache::kSize48), entry.image48);
  EXPECT_EQ(cache.undecodedCount(), static_cast<size_t>(kStored - 1));

  // A control drawing its image asks the framework by image key.
  auto drawn = ui::UiGlobals::GetImage(L"?l:lnk8");
  ASSERT_TRUE(drawn);
  EXPECT_EQ(drawn->width, 48);
  EXPECT_EQ(cache.undecodedCount(), static_cast<size_t>(kStored - 2));
  // Keys that only look like a stored row's are not it.
  EXPECT_FALSE(IconCache::IsCached(L"?s:lnk09"));
  EXPECT_FALSE(IconCache::IsCached(L"?s:lnk999"));
  EXPECT_EQ(cache.undecodedCount(), static_cast<size_t>(kStored - 2));

  // Adding under a stored key keeps the stored image shown, as for any live key.
  ASSERT_TRUE(AddSolid(cache, L"lnk10", kBlue));
  EXPECT_EQ(PixelAt(Image(L"lnk10", IconCache::kSize32), 1, 1) & 0x00FFFFFF, 0xFF0000u);

  // Removal forgets an undecoded icon without decoding it and still marks its row.
  ASSERT_TRUE(cache.RemoveCache(L"lnk11", false));
  EXPECT_FALSE(IconCache::IsCached(L"?s:lnk11"));
  EXPECT_EQ(Db(path_).Number("select Invalid from Cache where ID=11"), 1);
  ASSERT_TRUE(cache.RemoveMemoryEntry(L"LNK12"));
  EXPECT_FALSE(IconCache::IsCached(L"?s:lnk12"));
  EXPECT_EQ(cache.undecodedCount(), static_cast<size_t>(kStored - 5));

  cache.Close();
  EXPECT_EQ(cache.undecodedCount(), 0u);
  EXPECT_FALSE(IconCache::IsCached(L"?n:lnk13")) << "a closed cache decodes nothing";
}

TEST_F(IconCacheTest, CorruptStoredIconFallsBackWhenFirstDrawnAndCanBeReplaced) {
  {
    IconCache cache(path_);
    ASSERT_TRUE(cache.Open());
  }
  {
    Db db(path_);
    ASSERT_TRUE(db.PutRow(1, 0, SolidPng(16, kRed), SolidPng(32, kRed), SolidPng(48, kRed)));
    ASSERT_TRUE(db.PutRow(2, 0, SolidPng(16, kRed), "not a picture", SolidPng(48, kRed)));
  }
  IconCache cache(path_);
  ASSERT_TRUE(cache.Open());
  EXPECT_EQ(cache.undecodedCount(), 2u);

  // What a card does: its own image when cached, else the error icon.
  auto shown = [](const std::wstring& key) {
    const std::wstring own = IconCache::MakeImageKey(key, IconCache::kSize16);
    return IconCache::IsCached(own) ? own : IconCache::MakeImageKey(L"#err", IconCache::kSize16);
  };
  EXPECT_EQ(shown(L"lnk1"), L"?s:lnk1");
  EXPECT_EQ(shown(L"lnk2"), L"?s:#err");
  EXPECT_TRUE(ui::UiGlobals::GetImage(shown(L"lnk2")));
  for (int size : {IconCache::kSize16, IconCache::kSize32, IconCache::kSize48}) {
    EXPECT_FALSE(ui::UiGlobals::GetImage(IconCache::MakeImageKey(L"lnk2", size))) << size;
  }
  EXPECT_EQ(cache.entries().count(L"lnk2"), 0u);
  EXPECT_EQ(cache.undecodedCount(), 0u) << "a broken row is tried once";

  // The icon extracted again from its source replaces the broken row and is shown.
  ASSERT_TRUE(AddSolid(cache, L"lnk2", kBlue));
  EXPECT_EQ(shown(L"lnk2"), L"?s:lnk2");
  EXPECT_EQ(PixelAt(Image(L"lnk2", IconCache::kSize32), 3, 3) & 0x00FFFFFF, 0x0000FFu);
  EXPECT_EQ(Db(path_).Blob("select Icon32 from Cache where ID=2").substr(1, 3), "PNG");
}

TEST_F(IconCacheTest, StoredFilesAreReadFromTheDatabaseOnlyWhenFirstAskedFor) {
  {
    IconCache cache(path_);
    ASSERT_TRUE(cache.Open());
  }
  {
    Db db(path_);
    for (int id = 1; id <= 3; ++id) {
      ASSERT_TRUE(db.PutRow(id, 0, SolidPng(16, kRed), SolidPng(32, kRed), SolidPng(48, kRed)));
    }
  }
  IconCache cache(path_);
  ASSERT_TRUE(cache.Open());
  ASSERT_EQ(cache.undecodedCount(), 3u);
  {
    // Changed in the file after the open: the files were not held in memory.
    Db db(path_);
    ASSERT_TRUE(db.PutRow(1, 0, SolidPng(16, kBlue), SolidPng(32, kBlue), SolidPng(48, kBlue)));
    ASSERT_TRUE(db.PutRow(2, 1, SolidPng(16, kBlue), SolidPng(32, kBlue), SolidPng(48, kBlue)));
    ASSERT_TRUE(db.Exec("delete from Cache where ID=3"));
  }
  EXPECT_EQ(PixelAt(Image(L"lnk1", IconCache::kSize48), 5, 5) & 0x00FFFFFF, 0x0000FFu);
  // A row marked invalid or deleted since the open has no icon: the caller extracts
  // it again or falls back, as for a broken row, and nothing crashes.
  EXPECT_FALSE(IconCache::IsCached(L"?n:lnk2"));
  EXPECT_FALSE(IconCache::IsCached(L"?n:lnk3"));
  EXPECT_EQ(cache.undecodedCount(), 0u);
  ASSERT_TRUE(AddSolid(cache, L"lnk3", kRed));
  EXPECT_TRUE(IconCache::IsCached(L"?s:lnk3"));
}

TEST_F(IconCacheTest, BuiltInAndDeferredIconsAreMadeWhenFirstLookedUpAndOnlyOnce) {
  IconCache cache(path_);
  ASSERT_TRUE(cache.Open());
  EXPECT_TRUE(cache.entries().empty()) << "no built-in icon is made at open";
  EXPECT_TRUE(cache.IsDeferred(L"#ERR"));
  EXPECT_TRUE(IconCache::IsCached(L"?l:#err"));
  EXPECT_EQ(cache.entries().count(L"#err"), 1u);
  EXPECT_FALSE(cache.IsDeferred(L"#err"));
  EXPECT_EQ(cache.entries().size(), 1u) << "the other built-in keys wait for their own lookup";

  // A deferred source that gives nothing is followed by a path deferred after it,
  // as the built-in functions fall back to their program's icon.
  const std::wstring picture = dir_.path() + L"\\blue.png";
  ASSERT_TRUE(pexo_test::WriteFileBytes(picture, SolidPng(48, kBlue)));
  int made = 0;
  cache.DeferIcon(L"#Probe", [&made](IconCache&) {
    ++made;
    return false;
  });
  cache.DeferPathIcon(L"#Probe", picture);
  cache.DeferIcon(L"#probe", [&made](IconCache&) { return ++made > 0; });  // already deferred: ignored
  EXPECT_EQ(made, 0);
  EXPECT_EQ(PixelAt(Image(L"#probe", IconCache::kSize32), 4, 4) & 0x00FFFFFF, 0x0000FFu);
  EXPECT_TRUE(IconCache::IsCached(L"?s:#probe"));
  EXPECT_EQ(made, 1);

  // A live key is not deferred again; a removed deferred key is not made later.
  cache.DeferPathIcon(L"#probe", picture);
  EXPECT_FALSE(cache.IsDeferred(L"#probe"));
  cache.DeferPathIcon(L"c:\\tools\\gone.png", picture);
  ASSERT_TRUE(cache.IsDeferred(L"C:\\Tools\\gone.png"));
  ASSERT_TRUE(cache.RemoveMemoryEntry(L"C:\\Tools\\gone.png"));
  EXPECT_FALSE(IconCache::IsCached(L"?s:c:\\tools\\gone.png"));
  cache.Close();
  EXPECT_FALSE(cache.IsDeferred(L"#url"));
}
