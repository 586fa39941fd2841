#include "data/sql_binding.h"

#include "data/sqlite_support.h"

bool BindText(sqlite3_stmt* statement, int index, const std::wstring& text) {
  const std::string utf8 = ToUtf8(text);
  return sqlite3_bind_text(statement, index, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT) ==
         SQLITE_OK;
}

bool BindBlobOrNull(sqlite3_stmt* statement, int index, const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) return sqlite3_bind_null(statement, index) == SQLITE_OK;
  return sqlite3_bind_blob(statement, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT) ==
         SQLITE_OK;
}

bool StepToDone(sqlite3_stmt* statement) {
  if (sqlite3_step(statement) == SQLITE_DONE) return true;
  // A statement left where it failed still counts as running: a kept one would
  // make every later COMMIT of the connection fail ("SQL statements in
  // progress") until it is used again, long after the file is free. The
  // connection keeps the error's message for the caller to print.
  sqlite3_reset(statement);
  return false;
}
