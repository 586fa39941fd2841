#include "data/icon_database.h"

#include <windows.h>

#include <cstdio>

#include "data/cached_statement.h"
#include "data/database_file.h"
#include "data/sqlite_support.h"

namespace {

const char kCreateVersionTable[] = "CREATE TABLE IF NOT EXISTS Version(ID INTEGER PRIMARY KEY, Ver INTEGER)";
const char kCreateCacheTable[] =
    "CREATE TABLE IF NOT EXISTS Cache(ID INTEGER PRIMARY KEY,Invalid TINYINT DEFAULT 0,Icon16 BLOB,Icon32 "
    "BLOB,Icon48 BLOB)";
const char kSelectVersion[] = "select Ver from Version where id=1";
const char kSelectIds[] = "select ID,Invalid from Cache";
const char kSelectRow[] = "select Invalid,Icon16,Icon32,Icon48 from Cache where ID=?";
const char kReplaceRow[] = "REPLACE INTO Cache(ID,Invalid,Icon16,Icon32,Icon48) VALUES (?,0,?,?,?)";
const char kDeleteRow[] = "DELETE FROM Cache WHERE ID = ?";
const char kInvalidateRow[] = "UPDATE Cache SET Invalid=1 WHERE ID=?";

// The statements kept for the life of the process, prepared on first use.
CachedStatement& ReplaceStatement(IconDatabase::Writer writer) {
  static CachedStatement images;
  static CachedStatement bitmaps;
  return writer == IconDatabase::Writer::kImages ? images : bitmaps;
}
CachedStatement& SelectRowStatement() {
  static CachedStatement statement;
  return statement;
}
CachedStatement& DeleteStatement() {
  static CachedStatement statement;
  return statement;
}
CachedStatement& InvalidateStatement() {
  static CachedStatement statement;
  return statement;
}

std::string ColumnBlob(sqlite3_stmt* statement, int column) {
  const void* data = sqlite3_column_blob(statement, column);
  int size = sqlite3_column_bytes(statement, column);
  return data && size > 0 ? std::string(static_cast<const char*>(data), size) : std::string();
}

// Binds without copying: the caller's vector outlives the step.
bool BindBlob(sqlite3_stmt* statement, int index, const std::vector<uint8_t>& bytes) {
  return sqlite3_bind_blob(statement, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_STATIC) ==
         SQLITE_OK;
}

// SQLite creates a missing file but not its folder: on a first start the "db"
// folder does not exist yet, and the cache must still open.
void CreateParentFolder(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos || slash == 0) return;
  const std::wstring folder = path.substr(0, slash);
  if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) CreateDirectoryW(folder.c_str(), nullptr);
}

}  // namespace

bool IconDatabase::Open(const std::wstring& path) {
  Close();
  bool existed = IsExistingFile(path);
  if (existed) {
    WarmFileCache(path);
    std::printf("%d", 0);
  } else {
    CreateParentFolder(path);
  }
  sqlite3* db = nullptr;
  if (sqlite3_open(ToUtf8(path).c_str(), &db) != SQLITE_OK) {
    PrintOpenError(db ? sqlite3_errmsg(db) : "out of memory");
    sqlite3_close(db);
    return false;
  }
  db_ = db;
  version_ = 0;
  // Opening reads the IDs of every row, rows are later read one at a time: a page
  // cache that would grow to hold the whole file serves neither.
  ExecSql(db_, "PRAGMA cache_size=-256");
  if (existed) {
    // A file without a single table (left empty by an interrupted first start) holds
    // no icons yet: it is set up like a missing one. Reading the table list also
    // proves the file is a readable database before anything is written.
    SqlStatement tables;
    if (!tables.Prepare(db_, "select count(*) from sqlite_master where type='table'") ||
        sqlite3_step(tables.get()) != SQLITE_ROW) {
      return false;
    }
    existed = sqlite3_column_int(tables.get(), 0) > 0;
  }
  if (!existed) {
    if (!CreateVersion(kCurrentVersion)) return false;
    return ExecSql(db_, kCreateCacheTable);
  }
  SqlStatement select;
  if (select.Prepare(db_, kSelectVersion) && sqlite3_step(select.get()) == SQLITE_ROW) {
    version_ = sqlite3_column_int(select.get(), 0);
  }
  // An older file without a version gets one; its Cache table is left as it is.
  if (version_ == 0 && !CreateVersion(kUnversionedVersion)) return false;
  // A file that an interrupted first start left with a version but no Cache table
  // gets the table, instead of failing every start from then on.
  return ExecSql(db_, kCreateCacheTable);
}

bool IconDatabase::CreateVersion(int version) {
  if (!ExecSql(db_, kCreateVersionTable)) return false;
  char replace[64];
  std::snprintf(replace, sizeof(replace), "REPLACE INTO Version(ID,Ver) VALUES (1,%d);", version);
  if (!ExecSql(db_, replace)) return false;
  version_ = version;
  return true;
}

void IconDatabase::Close() {
  if (!db_) return;
  CachedStatement::FinalizeAllOn(db_);
  sqlite3_close(db_);
  db_ = nullptr;
  version_ = 0;
}

bool IconDatabase::ForEachValidId(const std::function<void(int32_t id)>& visitor) {
  SqlStatement select;
  if (!select.Prepare(db_, kSelectIds)) {
    // Reported so that a file without a Cache table is not a silent failure.
    PrintSqlError(db_ ? sqlite3_errmsg(db_) : "database not open");
    return false;
  }
  // The walk touches every page of the file once: read straight from a view of the
  // file rather than one read call per page into the small page cache. The view
  // is dropped again afterwards.
  ExecSql(db_, "PRAGMA mmap_size=268435456");
  sqlite3_stmt* statement = select.get();
  while (sqlite3_step(statement) == SQLITE_ROW) {
    if (sqlite3_column_int(statement, 1) != 0) continue;
    visitor(sqlite3_column_int(statement, 0));
  }
  sqlite3_reset(statement);
  ExecSql(db_, "PRAGMA mmap_size=0");
  return true;
}

bool IconDatabase::ReadValidRow(int32_t id, std::string& png16, std::string& png32, std::string& png48) {
  sqlite3_stmt* statement = SelectRowStatement().Use(db_, kSelectRow);
  if (!statement || sqlite3_bind_int(statement, 1, id) != SQLITE_OK) return false;
  const bool found = sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_int(statement, 0) == 0;
  if (found) {
    png16 = ColumnBlob(statement, 1);
    png32 = ColumnBlob(statement, 2);
    png48 = ColumnBlob(statement, 3);
  }
  sqlite3_reset(statement);
  return found;
}

bool IconDatabase::WriteRow(Writer writer, int32_t id, const std::vector<uint8_t>& png16,
                            const std::vector<uint8_t>& png32, const std::vector<uint8_t>& png48) {
  sqlite3_stmt* statement = ReplaceStatement(writer).Use(db_, kReplaceRow);
  if (!statement) return false;
  bool done = sqlite3_bind_int(statement, 1, id) == SQLITE_OK && BindBlob(statement, 2, png16) &&
              BindBlob(statement, 3, png32) && BindBlob(statement, 4, png48) &&
              sqlite3_step(statement) == SQLITE_DONE;
  // The blobs were bound without copying: let go of them before the caller does.
  sqlite3_reset(statement);
  sqlite3_clear_bindings(statement);
  return done;
}

bool IconDatabase::RemoveRow(int32_t id, bool hard) {
  CachedStatement& holder = hard ? DeleteStatement() : InvalidateStatement();
  sqlite3_stmt* statement = holder.Use(db_, hard ? kDeleteRow : kInvalidateRow);
  if (!statement) return false;
  bool done = sqlite3_bind_int(statement, 1, id) == SQLITE_OK && sqlite3_step(statement) == SQLITE_DONE;
  sqlite3_reset(statement);
  return done;
}

bool IconDatabase::PurgeInvalid() {
  if (!db_) return false;
  return ExecSql(db_, "DELETE FROM Cache WHERE Invalid != 0") && ExecSql(db_, "VACUUM");
}
