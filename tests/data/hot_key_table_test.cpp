#include "data/hot_key_table.h"

#include <gtest/gtest.h>

#include "data/link_store.h"
#include "data/settings.h"
#include "data/sqlite_support.h"
#include "sqlite3.h"
#include "tests/support/test_support.h"

namespace {

constexpr uint8_t kCtrlAlt = kHotKeyCtrl | kHotKeyAlt;
constexpr uint8_t kCtrlAltShift = kHotKeyCtrl | kHotKeyAlt | kHotKeyShift;

std::shared_ptr<Link> MakeLink(const std::wstring& name, uint16_t code) {
  auto link = std::make_shared<Link>();
  link->NAME = name;
  link->HotKey = code;
  return link;
}

// True when nobody holds the combination: this thread can register it itself.
bool CombinationFree(uint8_t modifiers, uint8_t key) {
  constexpr int kProbeId = 0xB000;  // outside the ids made from atoms
  if (!RegisterHotKey(nullptr, kProbeId, modifiers, key)) return false;
  UnregisterHotKey(nullptr, kProbeId);
  return true;
}

// Skips the test when this desktop takes no global hot keys at all.
#define REQUIRE_HOT_KEYS()                                                       \
  if (!CombinationFree(kCtrlAltShift, VK_F12))                                   \
  GTEST_SKIP() << "this desktop refuses global hot keys (no usable display?)"

TEST(HotKeyTable, UnusableCodesAreRefusedWithoutRegistering) {
  HotKeyTable table;
  auto none = MakeLink(L"none", 0);
  EXPECT_FALSE(table.RegisterLink(none));
  EXPECT_TRUE(table.entries().empty());  // a link without a key is not listed

  auto bare_key = MakeLink(L"bare key", MakeHotKeyCode(0, 'K'));
  auto bare_modifier = MakeLink(L"bare modifier", MakeHotKeyCode(kHotKeyCtrl, 0));
  for (const auto& link : {bare_key, bare_modifier}) {
    EXPECT_FALSE(table.RegisterLink(link)) << link->NAME;
    EXPECT_EQ(link->hotKeyId, 0);
    EXPECT_NE(link->HotKey, 0);  // the code itself is kept
  }
  EXPECT_EQ(table.entries().size(), 2u);  // listed, whether registered or not
  EXPECT_FALSE(table.RegisterLink(nullptr));
  EXPECT_FALSE(table.UnregisterLink(nullptr));
  // Unregistering a link that holds no key only takes its entry out.
  EXPECT_FALSE(table.UnregisterLink(bare_key));
  ASSERT_EQ(table.entries().size(), 1u);
  EXPECT_EQ(table.entries()[0].link.lock(), bare_modifier);
}

TEST(HotKeyTable, NamesThatGiveNoAtomStillRegister) {
  REQUIRE_HOT_KEYS();
  HotKeyTable table;
  // The id no longer comes from the name: integer-atom and empty names work too.
  auto integer_name = MakeLink(L"#12", MakeHotKeyCode(kCtrlAltShift, VK_F7));
  auto empty_name = MakeLink(L"", MakeHotKeyCode(kCtrlAltShift, VK_F8));
  EXPECT_TRUE(table.RegisterLink(integer_name));
  EXPECT_TRUE(table.RegisterLink(empty_name));
  EXPECT_FALSE(CombinationFree(kCtrlAltShift, VK_F7));
  table.UnregisterAll();
  EXPECT_TRUE(CombinationFree(kCtrlAltShift, VK_F7));
  EXPECT_TRUE(CombinationFree(kCtrlAltShift, VK_F8));
}

TEST(HotKeyTable, RegistrationsFollowTheLinksCodeAndAreUndoneAtExit) {
  REQUIRE_HOT_KEYS();
  HotKeyTable table;
  auto link = MakeLink(L"hot key test link", MakeHotKeyCode(kCtrlAltShift, VK_F9));
  ASSERT_TRUE(table.RegisterLink(link));
  // Link ids stay clear of the application chords' atom ids (0 to 0x3FFF).
  EXPECT_GE(link->hotKeyId, HotKeyTable::kFirstLinkId);
  EXPECT_LE(link->hotKeyId, HotKeyTable::kLastLinkId);
  EXPECT_FALSE(CombinationFree(kCtrlAltShift, VK_F9));
  EXPECT_EQ(table.FindLink(MakeHotKeyCode(kCtrlAltShift, VK_F9)), link);

  // A new code releases the old combination first.
  link->HotKey = MakeHotKeyCode(kCtrlAltShift, VK_F10);
  ASSERT_TRUE(table.RegisterLink(link));
  EXPECT_TRUE(CombinationFree(kCtrlAltShift, VK_F9));
  EXPECT_FALSE(CombinationFree(kCtrlAltShift, VK_F10));
  EXPECT_EQ(table.FindLink(MakeHotKeyCode(kCtrlAltShift, VK_F9)), nullptr);

  // Code 0 only releases.
  link->HotKey = 0;
  EXPECT_FALSE(table.RegisterLink(link));
  EXPECT_EQ(link->hotKeyId, 0);
  EXPECT_TRUE(CombinationFree(kCtrlAltShift, VK_F10));

  // At exit every registration goes, also that of a link deleted meanwhile.
  auto kept = MakeLink(L"kept link", MakeHotKeyCode(kCtrlAlt, VK_F11));
  auto deleted = MakeLink(L"deleted link", MakeHotKeyCode(kCtrlAltShift, VK_F11));
  ASSERT_TRUE(table.RegisterLink(kept));
  ASSERT_TRUE(table.RegisterLink(deleted));
  deleted.reset();
  table.UnregisterAll();
  EXPECT_TRUE(table.entries().empty());
  EXPECT_EQ(kept->hotKeyId, 0);
  EXPECT_TRUE(CombinationFree(kCtrlAlt, VK_F11));
  EXPECT_TRUE(CombinationFree(kCtrlAltShift, VK_F11));
}

TEST(HotKeyTable, LinksOfOneNameKeepTheirOwnRegistrations) {
  REQUIRE_HOT_KEYS();
  HotKeyTable table;
  auto first = MakeLink(L"same name", MakeHotKeyCode(kCtrlAltShift, 'J'));
  auto second = MakeLink(L"same name", MakeHotKeyCode(kCtrlAltShift, 'K'));
  // Names of the application's own chords are ordinary link names.
  auto app_named = MakeLink(L"PexoHotKey", MakeHotKeyCode(kCtrlAltShift, 'M'));
  ASSERT_TRUE(table.RegisterLink(first));
  ASSERT_TRUE(table.RegisterLink(second));
  ASSERT_TRUE(table.RegisterLink(app_named));
  ASSERT_EQ(table.entries().size(), 3u);
  EXPECT_NE(first->hotKeyId, second->hotKeyId);
  EXPECT_NE(app_named->hotKeyId, GlobalAddAtomW(L"PexoHotKey") - 0xC000);
  EXPECT_EQ(table.FindLink(MakeHotKeyCode(kCtrlAltShift, 'K')), second);
  EXPECT_EQ(table.FindLink(MakeHotKeyCode(kCtrlAltShift, 'L')), nullptr);

  // The link editor's step: unregister one, register its new chord. The other
  // link of that name keeps its chord.
  EXPECT_TRUE(table.UnregisterLink(first));
  EXPECT_EQ(first->hotKeyId, 0);
  EXPECT_TRUE(CombinationFree(kCtrlAltShift, 'J'));
  EXPECT_FALSE(CombinationFree(kCtrlAltShift, 'K'));
  EXPECT_EQ(table.FindLink(MakeHotKeyCode(kCtrlAltShift, 'J')), nullptr);
  EXPECT_FALSE(table.UnregisterLink(first));  // nothing left to undo
  first->HotKey = MakeHotKeyCode(kCtrlAltShift, 'N');
  ASSERT_TRUE(table.RegisterLink(first));
  EXPECT_NE(first->hotKeyId, second->hotKeyId);
  EXPECT_FALSE(CombinationFree(kCtrlAltShift, 'K'));
  EXPECT_EQ(table.FindLink(MakeHotKeyCode(kCtrlAltShift, 'N')), first);
  EXPECT_EQ(table.FindLink(MakeHotKeyCode(kCtrlAltShift, 'K')), second);

  second.reset();  // an expired entry is never found
  EXPECT_EQ(table.FindLink(MakeHotKeyCode(kCtrlAltShift, 'K')), nullptr);
  table.UnregisterAll();
  EXPECT_TRUE(CombinationFree(kCtrlAltShift, 'K'));
  EXPECT_TRUE(CombinationFree(kCtrlAltShift, 'N'));
}

TEST(HotKeyTable, LoadingRegistersTheKeysOfKeptLinksOnly) {
  REQUIRE_HOT_KEYS();
  pexo_test::TempDir dir;
  const std::wstring path = dir.File(L"link.db");
  LinkStore store;
  ASSERT_TRUE(store.Open(path));
  const int32_t tag_id = store.topGroups[0]->tags[0]->ID;
  store.Close();
  {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(ToUtf8(path).c_str(), &db), SQLITE_OK);
    const std::string rows =
        "INSERT INTO Links(ID,NAME,ParentGroup,ICON,PATH,Parameter,WorkDir,HotKey) VALUES "
        "(1,'loaded hot key'," + std::to_string(tag_id) + ",'','','',''," +
        std::to_string(MakeHotKeyCode(kCtrlAltShift, VK_F6)) + "),"
        "(2,'dropped hot key',999,'','','',''," + std::to_string(MakeHotKeyCode(kCtrlAltShift, VK_F5)) + "),"
        "(3,'dropped side button',999,'','','',''," + std::to_string(MakeHotKeyCode(kHotKeyCtrl, 6)) + "),"
        // Unusable codes, met before the good one: refused, and the load goes on.
        "(4,'bare key'," + std::to_string(tag_id) + ",'','','',''," + std::to_string(MakeHotKeyCode(0, 'K')) + "),"
        "(5,'bare modifier'," + std::to_string(tag_id) + ",'','','',''," +
        std::to_string(MakeHotKeyCode(kCtrlAltShift, 0)) + ");"
        "UPDATE Links SET POS = 1 WHERE ID = 1;";
    EXPECT_EQ(sqlite3_exec(db, rows.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
  }
  ASSERT_TRUE(store.Open(path));
  auto loaded = store.FindLink(1);
  ASSERT_NE(loaded, nullptr);
  EXPECT_NE(loaded->hotKeyId, 0);
  EXPECT_EQ(GetHotKeyTable().FindLink(MakeHotKeyCode(kCtrlAltShift, VK_F6)), loaded);
  for (int32_t id : {4, 5}) {
    auto refused = store.FindLink(id);
    ASSERT_NE(refused, nullptr) << id;
    EXPECT_EQ(refused->hotKeyId, 0) << id;
    EXPECT_NE(refused->HotKey, 0) << id;  // the stored code is kept
  }
  EXPECT_EQ(store.topGroups[0]->tags[0]->links.size(), 3u);
  EXPECT_FALSE(CombinationFree(kCtrlAltShift, VK_F6));
  EXPECT_TRUE(CombinationFree(kCtrlAltShift, VK_F5));  // its link was not kept
  EXPECT_FALSE(GetSettings().mouseButtonHotKeyInUse);   // nor was the side button's
  GetHotKeyTable().UnregisterAll();
  EXPECT_TRUE(CombinationFree(kCtrlAltShift, VK_F6));
}

TEST(HotKeyTable, AMouseSideButtonHotKeyAsksForTheMouseHook) {
  if (!CombinationFree(kHotKeyCtrl, VK_XBUTTON2)) {
    GTEST_SKIP() << "this desktop refuses a hot key on the second extra mouse button";
  }
  pexo_test::TempDir dir;
  const std::wstring path = dir.File(L"link.db");
  LinkStore store;
  ASSERT_TRUE(store.Open(path));
  const int32_t tag_id = store.topGroups[0]->tags[0]->ID;
  ASSERT_TRUE(ExecSql(store.connection,
                      ("INSERT INTO Links(ID,NAME,ParentGroup,ICON,PATH,Parameter,WorkDir,HotKey) VALUES "
                       "(1,'side button'," + std::to_string(tag_id) + ",'','','',''," +
                       std::to_string(MakeHotKeyCode(kHotKeyCtrl, VK_XBUTTON2)) + ");").c_str()));
  store.Close();
  GetSettings().mouseButtonHotKeyInUse = false;
  ASSERT_TRUE(store.Open(path));
  EXPECT_NE(store.FindLink(1)->hotKeyId, 0);
  EXPECT_TRUE(GetSettings().mouseButtonHotKeyInUse);
  GetHotKeyTable().UnregisterAll();
}

}  // namespace
