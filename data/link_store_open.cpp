// Opening db\link.db: creating a new file, upgrading an older one step by step, and
// loading the whole tree into memory.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "data/database_file.h"
#include "data/hot_key_table.h"
#include "data/initials.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "data/sqlite_support.h"
#include "data/utf8_text.h"
#include "ui/base/string_util.h"
#include "ui/base/ui_globals.h"

namespace {

const char kCreateVersionTable[] =
    "CREATE TABLE IF NOT EXISTS Version(ID INTEGER PRIMARY KEY, Ver INTEGER)";
const char kCreateGroupsTable[] =
    "CREATE TABLE IF NOT EXISTS Groups(ID INTEGER PRIMARY KEY AUTOINCREMENT,NAME CHARACTER(16) "
    "NOT NULL,TYPE INTEGER DEFAULT 0,SORT INTEGER DEFAULT 0,POS INTEGER DEFAULT 0,ParentGroup "
    "INTEGER DEFAULT 0,ICON TEXT,LAYOUT INTEGER DEFAULT 0,ICONSIZE INTEGER DEFAULT 0,FLAG INTEGER "
    "DEFAULT 0,Content TEXT);";
const char kCreateLinksTable[] =
    "CREATE TABLE IF NOT EXISTS Links(ID INTEGER PRIMARY KEY AUTOINCREMENT,NAME TEXT NOT "
    "NULL,POS INTEGER DEFAULT 0,RunCount INTEGER DEFAULT 0,ParentGroup INTEGER DEFAULT 0,TYPE "
    "INTEGER DEFAULT 0,ICON TEXT NOT NULL,PATH TEXT NOT NULL,Parameter TEXT NOT NULL,WorkDir "
    "TEXT NOT NULL,HotKey INTEGER DEFAULT 0,ShowCmd INTEGER DEFAULT 0,IsAdmin INTEGER DEFAULT "
    "0,IsCustomColor INTEGER DEFAULT 0,CustomColor CHARACTER(10),Remark TEXT,Pidl BLOB);";
const wchar_t kReplaceVersion[] = L"REPLACE INTO Version(ID,Ver) VALUES (1,%d);";
const wchar_t kDefaultRows[] =
    L"INSERT INTO Groups(ID,NAME) VALUES (1,'新的分组');"
    L"INSERT INTO Groups(NAME,ParentGroup) VALUES ('新的标签',1);";

const char kSelectGroups[] =
    "select ID,NAME,ParentGroup,ICON,LAYOUT,ICONSIZE,POS,TYPE,SORT,Content,FLAG from Groups "
    "ORDER BY ParentGroup,POS";
const char kCountLinks[] = "select count(*) from Links";
// Rows come in table order and every tag's list is put in POS order afterwards:
// SQLite's sorter over the whole table would cost more than the rest of the load.
const char kSelectLinks[] =
    "select ID,NAME,ParentGroup,TYPE,POS,ICON,PATH,Parameter,WorkDir,IsAdmin,CustomColor,Remark,"
    "RunCount,HotKey,Pidl from Links";

// One upgrade: when the test query finds nothing the statements add the missing
// columns; a file below `version` takes `version`.
struct UpgradeStep {
  const char* test_query;
  int version;
  const char* statements;
  const char* write_version;
};
constexpr UpgradeStep kUpgradeSteps[] = {
    {"select * from sqlite_master where name = 'Groups' and sql like '%TYPE%'", 10708,
     "ALTER TABLE Groups ADD TYPE INTEGER Default 0;ALTER TABLE Groups ADD SORT INTEGER Default 0;",
     "REPLACE INTO Version(ID,Ver) VALUES (1,10708)"},
    {"select * from sqlite_master where name = 'Groups' and sql like '%Content%'", 10800,
     "ALTER TABLE Groups ADD Content TEXT", "REPLACE INTO Version(ID,Ver) VALUES (1,10800)"},
    {"select * from sqlite_master where name = 'Links' and sql like '%Pidl%'", 10800,
     "ALTER TABLE Links ADD Pidl BLOB;", "REPLACE INTO Version(ID,Ver) VALUES (1,10800)"},
    {"select * from sqlite_master where name = 'Groups' and sql like '%FLAG%'", 10804,
     "ALTER TABLE Groups ADD FLAG INTEGER Default 0;",
     "REPLACE INTO Version(ID,Ver) VALUES (1,10804)"},
};

int32_t ParseInt(const char* text) {
  return text ? static_cast<int32_t>(std::strtoll(text, nullptr, 10)) : 0;
}

// A number of the Groups table cut to 32 bits. A value stored as something other
// than an integer is read from its text, as far as that spells a number.
int32_t GroupInt(sqlite3_stmt* row, int column) {
  if (sqlite3_column_type(row, column) == SQLITE_INTEGER) {
    return static_cast<int32_t>(sqlite3_column_int64(row, column));
  }
  return ParseInt(reinterpret_cast<const char*>(sqlite3_column_text(row, column)));
}

// A text of the Groups table; it ends at a zero inside the stored value.
void ReadGroupText(sqlite3_stmt* row, int column, std::wstring& out) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(row, column));
  AssignUtf8(text ? std::string_view(text) : std::string_view(), out);
}

// Runs a query through the table interface; true with the row count when it ran.
bool CountRows(sqlite3* db, const char* query, int& rows) {
  char** table = nullptr;
  int columns = 0;
  char* message = nullptr;
  rows = 0;
  if (sqlite3_get_table(db, query, &table, &rows, &columns, &message) != SQLITE_OK) {
    PrintSqlError(message ? message : sqlite3_errmsg(db));
    sqlite3_free(message);
    return false;
  }
  sqlite3_free_table(table);
  return true;
}

// Rows of the Links table. The statement is done with before the caller goes on: a
// statement left open on a page would keep the file's view from being given back.
bool CountLinks(sqlite3* db, sqlite3_int64& rows) {
  SqlStatement count;
  if (!count.Prepare(db, kCountLinks) || sqlite3_step(count.get()) != SQLITE_ROW) {
    PrintSqlError(sqlite3_errmsg(db));
    return false;
  }
  rows = std::max<sqlite3_int64>(0, sqlite3_column_int64(count.get(), 0));
  return true;
}

// Stored positions may repeat or leave gaps in a hand-edited or damaged file: the
// lists are kept in (POS, ID) order so that such files load the same way every time.
template <typename T>
void SortByPosition(std::vector<std::shared_ptr<T>>& list) {
  auto before = [](const std::shared_ptr<T>& a, const std::shared_ptr<T>& b) {
    return a->POS != b->POS ? a->POS < b->POS : a->ID < b->ID;
  };
  if (!std::is_sorted(list.begin(), list.end(), before)) std::sort(list.begin(), list.end(), before);
}

// Colour every loaded store registers under its own text as name.
const wchar_t kDefaultLinkColor[] = L"#ffff8000";

}  // namespace

bool LinkStore::Open() { return Open(DefaultLinkDbPath()); }

bool LinkStore::Open(const std::wstring& path) {
  if (!Load(path)) return false;
  RegisterLoadedLinks();
  return true;
}

bool LinkStore::Load(const std::wstring& path) {
  Close();
  version = 0;
  maxGroupId = 0;
  maxLinkId = 0;

  bool is_new = !IsExistingFile(path);
  if (!is_new) WarmFileCache(path);

  // One thread at a time uses the store (a worker loads it at start, the
  // user-interface thread has it afterwards), so its connection goes without SQLite's
  // own mutex, which every one of the load's many column reads would take and leave.
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(ToUtf8(path).c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                      nullptr) != SQLITE_OK) {
    PrintOpenError(db ? sqlite3_errmsg(db) : "out of memory");
    sqlite3_close_v2(db);
    return false;
  }
  connection = db;
  // Another program that reads the file for a moment (a backup, a sync client, a
  // second look with sqlite3) holds a shared lock meanwhile: a write waits that
  // long instead of being refused at once and told as a failed save.
  sqlite3_busy_timeout(db, 250);
  // SQLite reads the pages straight from a view of the file instead of copying them
  // into its page cache: half the cost of loading a large collection.
  sqlite3_exec(db, "PRAGMA mmap_size=268435456", nullptr, nullptr, nullptr);

  if (!is_new) {
    // A file without a single table (left empty by a failed first start, or cut to
    // nothing) holds no links yet: it is set up like a missing one. Reading the table
    // list also proves the file is a readable database before anything is written.
    int tables = 0;
    if (!CountRows(db, "select name from sqlite_master where type='table'", tables)) return false;
    is_new = tables == 0;
  }

  if (is_new) {
    if (!CreateSchema()) return false;
    return LoadGroups() && LoadLinks();
  }
  // The version row, the upgrade steps and the load are one transaction: a file
  // that is refused at any point is left exactly as it was.
  SqlTransaction transaction(connection);
  if (!transaction.Begin()) return false;
  if (!ReadVersion() || !Upgrade() || !LoadGroups() || !LoadLinks()) return false;
  return transaction.Commit();
}

bool LinkStore::CreateSchema() {
  SqlTransaction transaction(connection);
  if (!transaction.Begin()) return false;
  if (!ExecSql(connection, kCreateVersionTable, PrintSqlRow)) return false;
  if (!ExecSql(connection, ToUtf8(FormatText(kReplaceVersion, kLinkDbVersion)).c_str())) return false;
  if (!ExecSql(connection, kCreateGroupsTable, PrintSqlRow)) return false;
  if (!ExecSql(connection, kCreateLinksTable, PrintSqlRow)) return false;
  if (!ExecSql(connection, ToUtf8(kDefaultRows).c_str())) return false;
  if (!transaction.Commit()) return false;
  version = kLinkDbVersion;
  return true;
}

// Reads Ver from the Version row. A file without the table or the row (or with a
// row that holds no number) predates it: it gets the row with the oldest version.
// False, after printing the SQL error, when the file cannot be read (damaged,
// locked, not a database) or written. Runs inside the opening's transaction.
bool LinkStore::ReadVersion() {
  SqlStatement statement;
  if (statement.Prepare(connection, "select Ver from Version where id=1")) {
    const int step = sqlite3_step(statement.get());
    if (step == SQLITE_ROW) {
      version = sqlite3_column_int(statement.get(), 0);
    } else if (step != SQLITE_DONE) {
      PrintSqlError(sqlite3_errmsg(connection));
      return false;
    }
  } else {
    // Only a missing table is expected here; any other reason is a damaged file.
    const std::string error = sqlite3_errmsg(connection);
    int tables = 0;
    if (!CountRows(connection, "select name from sqlite_master where type='table' and name='Version'", tables)) {
      return false;
    }
    if (tables != 0) {
      PrintSqlError(error.c_str());
      return false;
    }
  }
  if (version != 0) return true;

  if (!ExecSql(connection, kCreateVersionTable, PrintSqlRow) ||
      !ExecSql(connection, ToUtf8(FormatText(kReplaceVersion, kLinkDbVersionUnknown)).c_str())) {
    return false;
  }
  version = kLinkDbVersionUnknown;
  return true;
}

bool LinkStore::Upgrade() {
  // A file written by a later version is never rewritten: its Version row would be
  // lowered and the later program would take it for an old file.
  if (version > kLinkDbVersion) return true;
  for (const UpgradeStep& step : kUpgradeSteps) {
    int rows = 0;
    if (!CountRows(connection, step.test_query, rows)) return false;
    if (version >= step.version && rows != 0) continue;
    // The columns are added only when the check finds them missing: a file that
    // lost its Version row but has today's columns would otherwise be refused by
    // an ALTER adding a column it already has. The version only ever moves up (a
    // lower one would make a later step add its column a second time).
    if (rows == 0 && !ExecSql(connection, step.statements, PrintSqlRow)) return false;
    if (version < step.version) {
      if (!ExecSql(connection, step.write_version)) return false;
      version = step.version;
    }
  }
  return true;
}

bool LinkStore::LoadGroups() {
  SqlStatement statement;
  if (!statement.Prepare(connection, kSelectGroups)) {
    PrintSqlError(sqlite3_errmsg(connection));
    return false;
  }
  sqlite3_stmt* row = statement.get();
  int step;
  while ((step = sqlite3_step(row)) == SQLITE_ROW) {
    auto group = std::make_shared<Group>();
    group->ID = GroupInt(row, 0);
    ReadGroupText(row, 1, group->NAME);
    group->ParentGroup = GroupInt(row, 2);
    ReadGroupText(row, 3, group->ICON);
    group->LAYOUT = GroupInt(row, 4);
    group->ICONSIZE = GroupInt(row, 5);
    group->POS = GroupInt(row, 6);
    group->TYPE = GroupInt(row, 7);
    group->SORT = GroupInt(row, 8);
    ReadGroupText(row, 9, group->Content);
    group->FLAG = GroupInt(row, 10);
    maxGroupId = std::max(maxGroupId, group->ID);

    if (group->ParentGroup == 0) {
      topGroups.push_back(group);
    } else {
      // Tags hang under top-level groups only; a row naming a tag or a missing group
      // is listed nowhere.
      auto parent = FindGroup(group->ParentGroup);
      if (parent && parent->IsTopLevel()) parent->tags.push_back(group);
    }
    groupsById[group->ID] = group;
  }
  if (step != SQLITE_DONE) {
    PrintSqlError(sqlite3_errmsg(connection));
    return false;
  }

  SortByPosition(topGroups);
  for (auto& group : topGroups) SortByPosition(group->tags);
  return true;
}

bool LinkStore::LoadLinks() {
  // The row count sizes the ID index, which the rows then fill in ID order without
  // ever moving it.
  sqlite3_int64 rows = 0;
  if (!CountLinks(connection, rows)) return false;
  linksById.reserve(static_cast<size_t>(rows));

  SqlStatement statement;
  if (!statement.Prepare(connection, kSelectLinks)) {
    PrintSqlError(sqlite3_errmsg(connection));
    return false;
  }
  sqlite3_stmt* row = statement.get();
  // Rows of one tag mostly follow each other: the tag found for the last row is
  // kept for the next.
  bool tagLookedUp = false;
  int32_t tagId = 0;
  std::shared_ptr<Group> tag;
  int step;
  while ((step = sqlite3_step(row)) == SQLITE_ROW) {
    auto link = std::make_shared<Link>();
    // Every field is read straight into the record: no temporary strings per row.
    link->ID = sqlite3_column_int(row, 0);
    ReadColumnText(row, 1, link->NAME);
    link->ParentGroup = sqlite3_column_int(row, 2);
    link->TYPE = sqlite3_column_int(row, 3);
    link->POS = sqlite3_column_int(row, 4);
    ReadColumnText(row, 5, link->ICON);
    ReadColumnText(row, 6, link->PATH);
    ReadColumnText(row, 7, link->Parameter);
    ReadColumnText(row, 8, link->WorkDir);
    link->IsAdmin = sqlite3_column_int(row, 9) > 0;
    ReadColumnText(row, 10, link->CustomColor);
    ReadColumnText(row, 11, link->Remark);
    link->RunCount = sqlite3_column_int(row, 12);
    link->HotKey = static_cast<uint16_t>(sqlite3_column_int(row, 13));
    const auto* pidl = static_cast<const uint8_t*>(sqlite3_column_blob(row, 14));
    const int pidl_size = sqlite3_column_bytes(row, 14);
    if (pidl && pidl_size > 0) link->Pidl.assign(pidl, pidl + pidl_size);
    maxLinkId = std::max(maxLinkId, link->ID);

    // Links belong to tags. A row whose tag is gone (or that names a top-level group)
    // is not kept; its hot key is not registered either, since nothing could show,
    // change or release it.
    if (!tagLookedUp || link->ParentGroup != tagId) {
      tagLookedUp = true;
      tagId = link->ParentGroup;
      tag = FindGroup(tagId);
      if (tag && tag->IsTopLevel()) tag.reset();
    }
    if (!tag) continue;

    link->nameInitials = MakeCompactInitialsKey(link->NAME);
    link->remarkInitials = MakeCompactInitialsKey(link->Remark);
    // Old files name file-type icons "#.ext"; they are "*.ext" now.
    if (link->ICON.size() > 2 && link->ICON.compare(0, 2, L"#.") == 0) link->ICON[0] = L'*';
    link->group = tag;
    linksById.insert_or_assign(link->ID, link);
    tag->links.push_back(std::move(link));
  }
  if (step != SQLITE_DONE) {
    PrintSqlError(sqlite3_errmsg(connection));
    return false;
  }
  for (auto& group : topGroups) {
    for (auto& each : group->tags) SortByPosition(each->links);
  }
  // Every record is in memory now: the file's view and the pages cached for the
  // load are given back. Later statements read and write a few pages each.
  sqlite3_exec(connection, "PRAGMA mmap_size=0", nullptr, nullptr, nullptr);
  sqlite3_db_release_memory(connection);
  return true;
}

void LinkStore::RegisterLoadedLinks() {
  std::vector<std::shared_ptr<Link>> with_hot_keys;
  for (const auto& [id, weak] : linksById) {
    const auto link = weak.lock();
    if (!link) continue;
    if (link->HotKey != 0) with_hot_keys.push_back(link);
    // A card's own colour is named by its text in the framework's colour table.
    if (!link->CustomColor.empty() && link->CustomColor[0] == L'#') {
      ui::UiGlobals::AddColor(link->CustomColor, link->CustomColor);
    }
  }
  // Registration order decides which link a shared combination starts: position
  // order over the whole table.
  SortByPosition(with_hot_keys);
  for (const auto& link : with_hot_keys) {
    // A mouse side button as hot key needs the launcher's mouse hook.
    if (GetHotKeyTable().RegisterLink(link) && IsMouseButtonHotKey(link->HotKey)) {
      GetSettings().mouseButtonHotKeyInUse = true;
    }
  }
  ui::UiGlobals::AddColor(kDefaultLinkColor, kDefaultLinkColor);
}
