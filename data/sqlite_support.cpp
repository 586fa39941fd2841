#include "data/sqlite_support.h"

#include <windows.h>

#include <cstdio>

#include "data/utf8_text.h"
#include "ui/base/string_util.h"

void PrintSqlError(const char* message) {
  std::fprintf(stderr, "SQL error: %s\n", message ? message : "");
}

bool ExecSql(sqlite3* db, const char* sql, sqlite3_callback row_callback) {
  char* message = nullptr;
  if (sqlite3_exec(db, sql, row_callback, nullptr, &message) == SQLITE_OK) return true;
  PrintSqlError(message ? message : sqlite3_errmsg(db));
  sqlite3_free(message);
  return false;
}

int PrintSqlRow(void*, int column_count, char** values, char** names) {
  for (int i = 0; i < column_count; ++i) {
    std::printf("%s = %s\n", names[i], values[i] ? values[i] : "NULL");
  }
  std::printf("\n");
  return 0;
}

SqlTransaction::~SqlTransaction() {
  if (open_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

bool SqlTransaction::Begin() {
  open_ = ExecSql(db_, "BEGIN");
  return open_;
}

bool SqlTransaction::Commit() {
  if (!open_ || !ExecSql(db_, "COMMIT")) return false;
  open_ = false;
  return true;
}

bool SqlStatement::Prepare(sqlite3* db, const char* sql) {
  sqlite3_finalize(statement_);
  statement_ = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) == SQLITE_OK) return true;
  sqlite3_finalize(statement_);
  statement_ = nullptr;
  return false;
}

std::string ToUtf8(const std::wstring& text) {
  std::string out;
  NarrowStringCounted(text, out, CP_UTF8);
  return out;
}

std::wstring FromUtf8(const char* text) {
  std::wstring out;
  if (text) WidenString(text, out, CP_UTF8);
  return out;
}

std::wstring ColumnText(sqlite3_stmt* statement, int column) {
  std::wstring out;
  ReadColumnText(statement, column, out);
  return out;
}

void ReadColumnText(sqlite3_stmt* statement, int column, std::wstring& out) {
  // The length is asked after the text: asked first, it could convert the value twice.
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  const int length = text ? sqlite3_column_bytes(statement, column) : 0;
  AssignUtf8(std::string_view(text ? text : "", static_cast<size_t>(length > 0 ? length : 0)), out);
}
