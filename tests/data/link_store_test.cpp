#include "data/link_store.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "data/cached_statement.h"
#include "data/hot_key_table.h"
#include "data/sqlite_support.h"
#include "sqlite3.h"
#include "tests/data/link_db_fixture.h"
#include "tests/support/test_support.h"
#include "ui/base/ui_globals.h"

namespace {

using pexo_test::ReadFileBytes;
using pexo_test::TempDir;
using pexo_test::WriteFileBytes;

// Direct access to a database file, for building old layouts by hand and for
// reading back what the store wrote.
class RawDb : public pexo_test::RawLinkDb {
 public:
  using RawLinkDb::RawLinkDb;
  std::set<std::string> Columns(const std::string& table) {
    std::set<std::string> names;
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(get(), ("pragma table_info(" + table + ")").c_str(), -1, &statement, nullptr);
    while (statement && sqlite3_step(statement) == SQLITE_ROW) {
      names.insert(reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)));
    }
    sqlite3_finalize(statement);
    return names;
  }
};

// The tables as an early release wrote them, before TYPE, SORT, Content, FLAG and Pidl.
const char kGroups10600[] =
    "CREATE TABLE Groups(ID INTEGER PRIMARY KEY AUTOINCREMENT,NAME CHARACTER(16) NOT NULL,"
    "POS INTEGER DEFAULT 0,ParentGroup INTEGER DEFAULT 0,ICON TEXT,LAYOUT INTEGER DEFAULT 0,"
    "ICONSIZE INTEGER DEFAULT 0);";
const char kLinks10600[] =
    "CREATE TABLE Links(ID INTEGER PRIMARY KEY AUTOINCREMENT,NAME TEXT NOT NULL,POS INTEGER "
    "DEFAULT 0,RunCount INTEGER DEFAULT 0,ParentGroup INTEGER DEFAULT 0,TYPE INTEGER DEFAULT 0,"
    "ICON TEXT NOT NULL,PATH TEXT NOT NULL,Parameter TEXT NOT NULL,WorkDir TEXT NOT NULL,HotKey "
    "INTEGER DEFAULT 0,ShowCmd INTEGER DEFAULT 0,IsAdmin INTEGER DEFAULT 0,IsCustomColor INTEGER "
    "DEFAULT 0,CustomColor CHARACTER(10),Remark TEXT);";
const char kVersionTable[] = "CREATE TABLE Version(ID INTEGER PRIMARY KEY, Ver INTEGER);";
const char kSampleRows[] =
    "INSERT INTO Groups(ID,NAME,POS,ParentGroup) VALUES (1,'工作',0,0);"
    "INSERT INTO Groups(ID,NAME,POS,ParentGroup) VALUES (2,'工具',0,1);"
    "INSERT INTO Links(ID,NAME,POS,RunCount,ParentGroup,TYPE,ICON,PATH,Parameter,WorkDir,Remark) "
    "VALUES (5,'记事本',0,4,2,0,'#.txt','notepad.exe','','','编辑');";

std::string VersionRow(int version) {
  return "INSERT INTO Version(ID,Ver) VALUES (1," + std::to_string(version) + ");";
}

class LinkStoreTest : public ::testing::Test {
 protected:
  std::wstring DbPath() const { return dir_.File(L"link.db"); }

  // Opens a store on the file and returns what Open said; stderr is kept in errors_.
  bool OpenStore() {
    ::testing::internal::CaptureStderr();
    const bool opened = store_.Open(DbPath());
    errors_ = ::testing::internal::GetCapturedStderr();
    return opened;
  }

  TempDir dir_;
  LinkStore store_;
  std::string errors_;
};

TEST_F(LinkStoreTest, AMissingFileIsCreatedWithTheDefaultGroupAndTag) {
  ASSERT_TRUE(OpenStore()) << errors_;
  EXPECT_TRUE(store_.IsOpen());
  EXPECT_EQ(store_.version, kLinkDbVersion);
  ASSERT_EQ(store_.topGroups.size(), 1u);
  const auto& group = store_.topGroups[0];
  EXPECT_EQ(group->ID, 1);
  EXPECT_EQ(group->NAME, L"新的分组");
  ASSERT_EQ(group->tags.size(), 1u);
  EXPECT_EQ(group->tags[0]->NAME, L"新的标签");
  EXPECT_EQ(group->tags[0]->TYPE, kGroupOrdinary);
  EXPECT_EQ(group->tags[0]->ParentGroup, 1);
  EXPECT_EQ(store_.groupsById.size(), 2u);
  EXPECT_EQ(store_.maxGroupId, group->tags[0]->ID);
  EXPECT_TRUE(store_.linksById.empty());
  store_.Close();

  RawDb raw(DbPath());
  EXPECT_EQ(raw.Value("select Ver from Version where ID=1"), "10805");
  EXPECT_EQ(raw.Value("select count(*) from Groups"), "2");
  EXPECT_TRUE(raw.Columns("Links").count("Pidl"));
}

TEST_F(LinkStoreTest, AFileLeftEmptyIsSetUpLikeAMissingOne) {
  ASSERT_TRUE(WriteFileBytes(DbPath(), ""));
  ASSERT_TRUE(OpenStore()) << errors_;
  ASSERT_EQ(store_.topGroups.size(), 1u);
  EXPECT_EQ(store_.topGroups[0]->tags.size(), 1u);
  EXPECT_EQ(store_.version, kLinkDbVersion);
}

// One older layout and the steps it needs.
struct OldSchema {
  const char* name;
  std::vector<std::string> statements;
};

class LinkStoreUpgradeTest : public LinkStoreTest, public ::testing::WithParamInterface<OldSchema> {};

TEST_P(LinkStoreUpgradeTest, OldFilesAreUpgradedStepByStepAndLoaded) {
  {
    RawDb raw(DbPath());
    for (const std::string& sql : GetParam().statements) ASSERT_TRUE(raw.Exec(sql)) << sql;
    ASSERT_TRUE(raw.Exec(kSampleRows));
  }
  ::testing::internal::CaptureStdout();
  ASSERT_TRUE(OpenStore()) << errors_;
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(store_.version, 10804);  // upgrades never write the current layout's number

  ASSERT_EQ(store_.topGroups.size(), 1u);
  ASSERT_EQ(store_.topGroups[0]->tags.size(), 1u);
  auto tag = store_.topGroups[0]->tags[0];
  EXPECT_EQ(tag->NAME, L"工具");
  EXPECT_EQ(tag->TYPE, 0);
  EXPECT_EQ(tag->SORT, 0);
  ASSERT_EQ(tag->links.size(), 1u);
  const auto& link = tag->links[0];
  EXPECT_EQ(link->NAME, L"记事本");
  EXPECT_EQ(link->nameInitials, L"jsb");
  EXPECT_EQ(link->remarkInitials, L"bj");
  EXPECT_EQ(link->RunCount, 4);
  EXPECT_EQ(link->ICON, L"*.txt");  // old "#.ext" icons are read as "*.ext"
  EXPECT_EQ(link->GetIconKey(), L"*.txt");
  EXPECT_EQ(store_.maxLinkId, 5);
  store_.Close();

  RawDb raw(DbPath());
  EXPECT_EQ(raw.Value("select Ver from Version where ID=1"), "10804");
  const auto groups = raw.Columns("Groups");
  for (const char* column : {"TYPE", "SORT", "Content", "FLAG"}) EXPECT_TRUE(groups.count(column)) << column;
  EXPECT_TRUE(raw.Columns("Links").count("Pidl"));
  EXPECT_EQ(raw.Value("select ICON from Links where ID=5"), "#.txt");  // kept until saved
  EXPECT_EQ(raw.Value("select count(*) from Groups"), "2");
}

INSTANTIATE_TEST_SUITE_P(
    EveryOlderVersion, LinkStoreUpgradeTest,
    ::testing::Values(
        OldSchema{"NoVersionTable", {kGroups10600, kLinks10600}},
        OldSchema{"V10600", {kVersionTable, VersionRow(10600), kGroups10600, kLinks10600}},
        OldSchema{"V10708",
                  {kVersionTable, VersionRow(10708), kGroups10600, kLinks10600,
                   "ALTER TABLE Groups ADD TYPE INTEGER Default 0;",
                   "ALTER TABLE Groups ADD SORT INTEGER Default 0;"}},
        // A 10708 file that already has Pidl: that step is skipped, the others run.
        OldSchema{"V10708WithPidl",
                  {kVersionTable, VersionRow(10708), kGroups10600, kLinks10600,
                   "ALTER TABLE Groups ADD TYPE INTEGER Default 0;",
                   "ALTER TABLE Groups ADD SORT INTEGER Default 0;", "ALTER TABLE Links ADD Pidl BLOB;"}},
        OldSchema{"V10800",
                  {kVersionTable, VersionRow(10800), kGroups10600, kLinks10600,
                   "ALTER TABLE Groups ADD TYPE INTEGER Default 0;",
                   "ALTER TABLE Groups ADD SORT INTEGER Default 0;", "ALTER TABLE Groups ADD Content TEXT;",
                   "ALTER TABLE Links ADD Pidl BLOB;"}},
        OldSchema{"V10804",
                  {kVersionTable, VersionRow(10804), kGroups10600, kLinks10600,
                   "ALTER TABLE Groups ADD TYPE INTEGER Default 0;",
                   "ALTER TABLE Groups ADD SORT INTEGER Default 0;", "ALTER TABLE Groups ADD Content TEXT;",
                   "ALTER TABLE Links ADD Pidl BLOB;", "ALTER TABLE Groups ADD FLAG INTEGER Default 0;"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LinkStoreTest, AFailingUpgradeStepLeavesTheFileAsItWas) {
  // Version 10600 but SORT already there: adding TYPE works, adding SORT fails, and
  // the whole step must be undone.
  {
    RawDb raw(DbPath());
    ASSERT_TRUE(raw.Exec(kVersionTable) && raw.Exec(VersionRow(10600)) && raw.Exec(kGroups10600) &&
                raw.Exec(kLinks10600) && raw.Exec("ALTER TABLE Groups ADD SORT INTEGER Default 0;") &&
                raw.Exec(kSampleRows));
  }
  const std::string before = ReadFileBytes(DbPath());
  EXPECT_FALSE(OpenStore());
  EXPECT_NE(errors_.find("SQL error: duplicate column name"), std::string::npos) << errors_;
  store_.Close();
  EXPECT_EQ(ReadFileBytes(DbPath()), before);
  RawDb raw(DbPath());
  EXPECT_FALSE(raw.Columns("Groups").count("TYPE"));
  EXPECT_EQ(raw.Value("select Ver from Version"), "10600");
}

TEST_F(LinkStoreTest, AVersion10600FileThatAlreadyHasTypeButNoSortIsRefusedUntouched) {
  // TYPE is there, so its step adds nothing (SORT included), and loading then
  // finds no SORT: the file is refused, and neither its Version row nor the
  // later steps' columns are left behind.
  {
    RawDb raw(DbPath());
    ASSERT_TRUE(raw.Exec(kVersionTable) && raw.Exec(VersionRow(10600)) && raw.Exec(kGroups10600) &&
                raw.Exec(kLinks10600) && raw.Exec("ALTER TABLE Groups ADD TYPE INTEGER Default 0;"));
  }
  const std::string before = ReadFileBytes(DbPath());
  EXPECT_FALSE(OpenStore());
  EXPECT_NE(errors_.find("SQL error: "), std::string::npos);
  store_.Close();
  EXPECT_EQ(ReadFileBytes(DbPath()), before);
}

// A file with today's columns whose Version row is gone, holds text, or whose
// Version table is gone: it opens as it is (no column added a second time) and
// keeps its rows; its version is the newest an upgrade writes.
TEST_F(LinkStoreTest, ACurrentFileWithoutAUsableVersionRowOpens) {
  for (const char* damage : {"DELETE FROM Version;", "UPDATE Version SET Ver='neu';", "DROP TABLE Version;"}) {
    SCOPED_TRACE(damage);
    DeleteFileW(DbPath().c_str());
    ASSERT_TRUE(OpenStore());
    const size_t groups = store_.topGroups.size();
    store_.Close();
    ASSERT_TRUE(RawDb(DbPath()).Exec(damage));
    EXPECT_TRUE(OpenStore()) << errors_;
    EXPECT_EQ(errors_, "");
    EXPECT_EQ(store_.topGroups.size(), groups);
    EXPECT_EQ(store_.version, 10804);
    store_.Close();
    EXPECT_EQ(RawDb(DbPath()).Value("select Ver from Version where ID=1"), "10804");
    // Opened again, nothing more happens.
    EXPECT_TRUE(OpenStore()) << errors_;
    store_.Close();
  }
}

// A file without a Version row that fails later in the opening (here: its Groups
// table lacks a column no step adds) is refused byte for byte as it was: the row
// the opening wrote first is undone with the rest.
TEST_F(LinkStoreTest, ARefusedFileWithoutAVersionRowIsLeftByteForByte) {
  {
    RawDb raw(DbPath());
    ASSERT_TRUE(raw.Exec(
        "CREATE TABLE Groups(ID INTEGER PRIMARY KEY AUTOINCREMENT,NAME CHARACTER(16) NOT NULL,POS INTEGER DEFAULT 0,"
        "ParentGroup INTEGER DEFAULT 0,LAYOUT INTEGER DEFAULT 0,ICONSIZE INTEGER DEFAULT 0);"));
    ASSERT_TRUE(raw.Exec(kLinks10600) && raw.Exec("INSERT INTO Groups(ID,NAME) VALUES (1,'a');"));
  }
  const std::string before = ReadFileBytes(DbPath());
  EXPECT_FALSE(OpenStore());
  EXPECT_NE(errors_.find("SQL error: "), std::string::npos);
  store_.Close();
  EXPECT_EQ(ReadFileBytes(DbPath()), before);
  RawDb raw(DbPath());
  EXPECT_FALSE(raw.Columns("Groups").count("TYPE"));
  EXPECT_EQ(raw.Value("select count(*) from sqlite_master where name='Version'"), "0");
}

TEST_F(LinkStoreTest, AFileFromALaterVersionIsLoadedButNeverRewritten) {
  {
    RawDb raw(DbPath());
    ASSERT_TRUE(raw.Exec(kVersionTable) && raw.Exec(VersionRow(20000)) && raw.Exec(kGroups10600) &&
                raw.Exec(kLinks10600) && raw.Exec("ALTER TABLE Groups ADD TYPE INTEGER Default 0;") &&
                raw.Exec("ALTER TABLE Groups ADD SORT INTEGER Default 0;") &&
                raw.Exec("ALTER TABLE Groups ADD Content TEXT;") &&
                raw.Exec("ALTER TABLE Groups ADD FLAG INTEGER Default 0;") &&
                raw.Exec("ALTER TABLE Links ADD Pidl BLOB;") && raw.Exec(kSampleRows));
  }
  ASSERT_TRUE(OpenStore()) << errors_;
  EXPECT_EQ(store_.version, 20000);
  EXPECT_EQ(store_.linksById.size(), 1u);
  store_.Close();

  // A later layout without a column we read: nothing is added, the load fails.
  {
    RawDb raw(DbPath());
    ASSERT_TRUE(raw.Exec("ALTER TABLE Groups DROP COLUMN FLAG;"));
  }
  const std::string before = ReadFileBytes(DbPath());
  EXPECT_FALSE(OpenStore());
  EXPECT_NE(errors_.find("SQL error: no such column: FLAG"), std::string::npos) << errors_;
  store_.Close();
  EXPECT_EQ(ReadFileBytes(DbPath()), before);
  EXPECT_EQ(RawDb(DbPath()).Value("select Ver from Version"), "20000");
}

TEST_F(LinkStoreTest, DamagedFilesFailWithoutBeingTouched) {
  // Not a database at all.
  std::string garbage(16384, '\0');
  for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>((i * 7919 + 13) % 251);
  ASSERT_TRUE(WriteFileBytes(DbPath(), garbage));
  EXPECT_FALSE(OpenStore());
  EXPECT_NE(errors_.find("SQL error: file is not a database"), std::string::npos) << errors_;
  store_.Close();
  EXPECT_EQ(ReadFileBytes(DbPath()), garbage);

  // A real database cut short.
  ASSERT_TRUE(DeleteFileW(DbPath().c_str()));
  ASSERT_TRUE(OpenStore());
  auto tag = store_.topGroups[0]->tags[0];
  {
    RawDb raw(DbPath());
    std::string rows = "BEGIN;";
    for (int i = 1; i <= 2000; ++i) {
      rows += "INSERT INTO Links(ID,NAME,POS,ParentGroup,ICON,PATH,Parameter,WorkDir,Remark) VALUES (" +
              std::to_string(i) + ",'link " + std::to_string(i) + " with a longer name'," + std::to_string(i) +
              "," + std::to_string(tag->ID) + ",'','C:\\\\x.exe','','','');";
    }
    ASSERT_TRUE(raw.Exec(rows + "COMMIT;"));
  }
  store_.Close();
  const std::string whole = ReadFileBytes(DbPath());
  ASSERT_GT(whole.size(), 32768u);
  const std::string truncated = whole.substr(0, whole.size() / 2);
  ASSERT_TRUE(WriteFileBytes(DbPath(), truncated));
  EXPECT_FALSE(OpenStore());
  EXPECT_NE(errors_.find("SQL error: "), std::string::npos);
  store_.Close();
  EXPECT_EQ(ReadFileBytes(DbPath()), truncated);
}

TEST_F(LinkStoreTest, AFileLockedByAnotherConnectionIsReportedNotOverwritten) {
  ASSERT_TRUE(OpenStore());
  store_.Close();
  RawDb other(DbPath());
  ASSERT_TRUE(other.Exec("BEGIN EXCLUSIVE; UPDATE Groups SET NAME='x' WHERE ID=1;"));
  EXPECT_FALSE(OpenStore());
  EXPECT_NE(errors_.find("SQL error: database is locked"), std::string::npos) << errors_;
  store_.Close();
  ASSERT_TRUE(other.Exec("ROLLBACK;"));
  ASSERT_TRUE(OpenStore()) << errors_;
  EXPECT_EQ(store_.topGroups[0]->NAME, L"新的分组");
}

// Makes a file unwritable for this process while it lives: the read-only attribute,
// or, where that does not stop the process (Wine running as root), a handle that
// denies others write access, which is what SQLite meets then.
class UnwritableFile {
 public:
  explicit UnwritableFile(const std::wstring& path) : path_(path) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE probe = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe == INVALID_HANDLE_VALUE) return;
    CloseHandle(probe);
    deny_writes_ = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  }
  ~UnwritableFile() {
    if (deny_writes_ != INVALID_HANDLE_VALUE) CloseHandle(deny_writes_);
    SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
  }

 private:
  std::wstring path_;
  HANDLE deny_writes_ = INVALID_HANDLE_VALUE;
};

TEST_F(LinkStoreTest, AReadOnlyFileLoadsWhenCurrentAndIsNotUpgraded) {
  ASSERT_TRUE(OpenStore());
  store_.Close();
  {
    UnwritableFile read_only(DbPath());
    EXPECT_TRUE(OpenStore()) << errors_;
    EXPECT_EQ(store_.topGroups.size(), 1u);
    store_.Close();
  }

  // An old read-only file cannot be upgraded: failure, file unchanged.
  {
    RawDb raw(DbPath());
    ASSERT_TRUE(raw.Exec("UPDATE Version SET Ver=10800; ALTER TABLE Groups DROP COLUMN FLAG;"));
  }
  const std::string before = ReadFileBytes(DbPath());
  {
    UnwritableFile read_only(DbPath());
    EXPECT_FALSE(OpenStore());
    EXPECT_NE(errors_.find("SQL error: attempt to write a readonly database"), std::string::npos) << errors_;
    store_.Close();
  }
  EXPECT_EQ(ReadFileBytes(DbPath()), before);
}

TEST_F(LinkStoreTest, AFileThatCannotBeOpenedReportsOnce) {
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(store_.Open(dir_.File(L"missing\\folder\\link.db")));
  const std::string errors = ::testing::internal::GetCapturedStderr();
  EXPECT_FALSE(store_.IsOpen());
  EXPECT_TRUE(store_.topGroups.empty());
  const auto first = errors.find("unable to open database file");
  ASSERT_NE(first, std::string::npos) << errors;
  EXPECT_EQ(errors.find("unable to open database file", first + 1), std::string::npos);
  EXPECT_NE(errors.back(), '\n');
}

TEST_F(LinkStoreTest, UnusualRowsAreLoadedSafelyOrLeftOut) {
  {
    // A hand-made file without NOT NULL constraints, holding rows the program would
    // never write itself.
    RawDb raw(DbPath());
    ASSERT_TRUE(raw.Exec(
        "CREATE TABLE Version(ID INTEGER PRIMARY KEY, Ver INTEGER);"
        "INSERT INTO Version VALUES (1,10805);"
        "CREATE TABLE Groups(ID INTEGER PRIMARY KEY,NAME TEXT,TYPE INTEGER,SORT INTEGER,POS INTEGER,"
        "ParentGroup INTEGER,ICON TEXT,LAYOUT INTEGER,ICONSIZE INTEGER,FLAG INTEGER,Content TEXT);"
        "CREATE TABLE Links(ID INTEGER PRIMARY KEY,NAME TEXT,POS INTEGER,RunCount INTEGER,ParentGroup "
        "INTEGER,TYPE INTEGER,ICON TEXT,PATH TEXT,Parameter TEXT,WorkDir TEXT,HotKey INTEGER,ShowCmd "
        "INTEGER,IsAdmin INTEGER,IsCustomColor INTEGER,CustomColor TEXT,Remark TEXT,Pidl BLOB);"
        "INSERT INTO Groups VALUES (1,NULL,0,0,0,0,NULL,NULL,NULL,NULL,NULL);"
        "INSERT INTO Groups VALUES (2,'tag',0,1,0,1,NULL,1,2,7,'note');"
        "INSERT INTO Groups VALUES (3,'under a tag',0,0,0,2,NULL,0,0,0,NULL);"
        "INSERT INTO Groups VALUES (40,'no parent',0,0,1,30,NULL,0,0,0,NULL);"
        "INSERT INTO Links VALUES (7,NULL,0,NULL,2,3,NULL,NULL,NULL,NULL,0,0,2,0,NULL,NULL,x'0102');"
        "INSERT INTO Links VALUES (4,'same pos',0,0,2,0,'#.pdf','a.pdf','','',0,0,0,0,'#ff112233',"
        "'',NULL);"
        "INSERT INTO Links VALUES (9,'dangling',0,0,99,0,'','','','',0,0,0,0,NULL,NULL,NULL);"
        "INSERT INTO Links VALUES (8,'in a group',1,0,1,0,'','','','',0,0,0,0,NULL,NULL,NULL);"
        "INSERT INTO Links VALUES (11,'in an orphan tag',1,0,3,0,'','','','',0,0,0,0,NULL,NULL,NULL);"));
  }
  ASSERT_TRUE(OpenStore()) << errors_;
  EXPECT_EQ(store_.maxGroupId, 40);
  EXPECT_EQ(store_.maxLinkId, 11);  // dropped rows still count: their IDs stay taken
  ASSERT_EQ(store_.topGroups.size(), 1u);
  EXPECT_EQ(store_.topGroups[0]->NAME, L"");
  ASSERT_EQ(store_.topGroups[0]->tags.size(), 1u);
  auto tag = store_.topGroups[0]->tags[0];
  EXPECT_EQ(tag->SORT, 1);
  EXPECT_EQ(tag->LAYOUT, 1);
  EXPECT_EQ(tag->ICONSIZE, 2);
  EXPECT_EQ(tag->FLAG, 7);
  EXPECT_EQ(tag->Content, L"note");
  // Tags under a tag or under a missing group are listed nowhere.
  EXPECT_EQ(store_.FindGroup(3), nullptr);
  EXPECT_EQ(store_.FindGroup(40), nullptr);

  // Equal positions load in ID order, every time.
  ASSERT_EQ(tag->links.size(), 2u);
  EXPECT_EQ(tag->links[0]->ID, 4);
  EXPECT_EQ(tag->links[1]->ID, 7);
  const auto& nulls = tag->links[1];
  EXPECT_EQ(nulls->NAME, L"");
  EXPECT_EQ(nulls->PATH, L"");
  EXPECT_EQ(nulls->ICON, L"");
  EXPECT_EQ(nulls->Remark, L"");
  EXPECT_TRUE(nulls->IsAdmin);
  EXPECT_EQ(nulls->Pidl, (std::vector<uint8_t>{1, 2}));
  EXPECT_EQ(nulls->group.lock(), tag);
  EXPECT_EQ(tag->links[0]->ICON, L"*.pdf");
  EXPECT_EQ(tag->links[0]->GetIconKey(), L"*.pdf");
  EXPECT_EQ(tag->links[0]->CustomColor, L"#ff112233");
  // Card colours are registered under their own text, beside the default link colour.
  EXPECT_EQ(ui::UiGlobals::GetColor(L"#ff112233"), 0xff112233u);
  EXPECT_EQ(ui::UiGlobals::GetColor(L"#ffff8000"), 0xffff8000u);
  EXPECT_TRUE(tag->links[0]->Pidl.empty());

  // Links outside a tag are not kept.
  for (int32_t id : {8, 9, 11}) EXPECT_EQ(store_.FindLink(id), nullptr) << id;
  EXPECT_EQ(store_.linksById.size(), 2u);
  std::vector<std::weak_ptr<Link>> found;
  store_.Search(L"in", found, 0);
  EXPECT_TRUE(found.empty());
}

TEST_F(LinkStoreTest, CloseDropsTheTreeAndReopenReadsTheFileAgain) {
  ASSERT_TRUE(OpenStore());
  std::weak_ptr<Group> group = store_.topGroups[0];
  EXPECT_TRUE(store_.Vacuum());
  store_.Close();
  EXPECT_FALSE(store_.IsOpen());
  EXPECT_TRUE(group.expired());
  EXPECT_TRUE(store_.groupsById.empty());
  EXPECT_FALSE(store_.Vacuum());
  ASSERT_TRUE(OpenStore());
  EXPECT_EQ(store_.topGroups.size(), 1u);
  EXPECT_EQ(store_.groupsById.size(), 2u);
}

TEST_F(LinkStoreTest, AFailingVacuumPrintsTheErrorAndSaysSo) {
  ASSERT_TRUE(OpenStore());
  ASSERT_TRUE(ExecSql(store_.connection, "BEGIN"));
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(store_.Vacuum());  // not allowed inside a transaction
  const std::string printed = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(printed.rfind("SQL error: ", 0), 0u) << printed;
  EXPECT_EQ(printed.back(), '\n');
  ASSERT_TRUE(ExecSql(store_.connection, "ROLLBACK"));
  EXPECT_TRUE(store_.Vacuum());
}

TEST_F(LinkStoreTest, NewIdsFollowTheHighestIdLoaded) {
  ASSERT_TRUE(OpenStore());
  auto tag = store_.topGroups[0]->tags[0];
  auto add = [&](const wchar_t* name) {
    auto link = std::make_shared<Link>();
    link->NAME = name;
    link->ICON = L"#err";  // a shared icon: deleting the link leaves the icon cache alone
    return store_.AddLink(tag, link) ? link : nullptr;
  };
  auto first = add(L"first");
  ASSERT_NE(first, nullptr);
  auto highest = add(L"second");
  ASSERT_NE(highest, nullptr);
  const int32_t deletedId = highest->ID;
  EXPECT_EQ(deletedId, first->ID + 1);
  ASSERT_TRUE(store_.DeleteLink(tag, highest));
  EXPECT_EQ(store_.FindLink(deletedId), nullptr);
  // In the same run the deleted number stays used up...
  auto third = add(L"third");
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(third->ID, deletedId + 1);
  ASSERT_TRUE(store_.DeleteLink(store_.topGroups[0]->tags[0], third));
  store_.Close();

  // ...but after a restart the highest ID loaded is that of the first link again.
  ASSERT_TRUE(OpenStore());
  EXPECT_EQ(store_.maxLinkId, first->ID);
  tag = store_.topGroups[0]->tags[0];
  auto again = add(L"again");
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->ID, deletedId);
  // The group IDs follow the same rule: the default tag is the highest one.
  EXPECT_EQ(store_.maxGroupId, tag->ID);
}

TEST_F(LinkStoreTest, CachedStatementsArePreparedOnceAndReleasedWithTheConnection) {
  CachedStatement cached;
  ASSERT_TRUE(OpenStore());
  const char* sql = "UPDATE Groups SET NAME=? WHERE ID = ?";
  sqlite3_stmt* first = cached.Use(store_.connection, sql);
  ASSERT_NE(first, nullptr);
  sqlite3_bind_text(first, 1, "renamed", -1, SQLITE_TRANSIENT);
  sqlite3_bind_int(first, 2, 1);
  EXPECT_EQ(sqlite3_step(first), SQLITE_DONE);
  sqlite3_stmt* second = cached.Use(store_.connection, sql);
  EXPECT_EQ(second, first);  // reset, not prepared again
  EXPECT_EQ(sqlite3_bind_parameter_count(second), 2);
  EXPECT_EQ(cached.connection(), store_.connection);

  // Closing finalizes it, so the file is really closed and can go.
  store_.Close();
  EXPECT_EQ(cached.statement(), nullptr);
  EXPECT_TRUE(DeleteFileW(DbPath().c_str()));
  ASSERT_TRUE(OpenStore());
  EXPECT_NE(cached.Use(store_.connection, sql), nullptr);
  EXPECT_EQ(cached.Use(nullptr, sql), nullptr);
  EXPECT_FALSE(cached.Prepare(store_.connection, "not sql"));
  EXPECT_EQ(cached.statement(), nullptr);
}

TEST(SqlSupport, ErrorsArePrintedAndTransactionsRolledBack) {
  TempDir dir;
  RawDb raw(dir.File(L"t.db"));
  ASSERT_TRUE(raw.Exec("CREATE TABLE T(A INTEGER)"));
  ::testing::internal::CaptureStderr();
  {
    SqlTransaction transaction(raw.get());
    ASSERT_TRUE(transaction.Begin());
    EXPECT_TRUE(ExecSql(raw.get(), "INSERT INTO T VALUES (1)"));
    EXPECT_FALSE(ExecSql(raw.get(), "INSERT INTO Missing VALUES (1)"));
  }  // not committed: rolled back
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "SQL error: no such table: Missing\n");
  EXPECT_EQ(raw.Value("select count(*) from T"), "0");
  {
    SqlTransaction transaction(raw.get());
    ASSERT_TRUE(transaction.Begin());
    EXPECT_TRUE(ExecSql(raw.get(), "INSERT INTO T VALUES (2)"));
    EXPECT_TRUE(transaction.Commit());
  }
  EXPECT_EQ(raw.Value("select count(*) from T"), "1");

  ::testing::internal::CaptureStdout();
  EXPECT_TRUE(ExecSql(raw.get(), "select 5 as five, NULL as empty", PrintSqlRow));
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "five = 5\nempty = NULL\n\n");
}

}  // namespace
