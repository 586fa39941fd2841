// Small helpers that give every link-database operation the same failure handling:
// the first failing call ends the operation, exec failures print "SQL error: %s\n"
// on stderr, and a transaction that was begun is rolled back.
#pragma once

#include <string>

#include "sqlite3.h"

// Prints "SQL error: <message>\n" on the standard error stream.
void PrintSqlError(const char* message);

// Runs one or more statements through the exec interface. On failure prints the
// SQL error, frees SQLite's message and returns false.
bool ExecSql(sqlite3* db, const char* sql, sqlite3_callback row_callback = nullptr);

// Row callback for schema statements: prints "name = value\n" per column ("NULL" for
// a null value), then "\n"; returns 0 to go on.
int PrintSqlRow(void* unused, int column_count, char** values, char** names);

// BEGIN on Begin(), COMMIT on Commit(); a transaction that was begun but not
// committed is rolled back when the object goes away.
class SqlTransaction {
 public:
  explicit SqlTransaction(sqlite3* db) : db_(db) {}
  ~SqlTransaction();
  SqlTransaction(const SqlTransaction&) = delete;
  SqlTransaction& operator=(const SqlTransaction&) = delete;

  bool Begin();
  bool Commit();

 private:
  sqlite3* db_;
  bool open_ = false;
};

// A statement prepared, used and finalized within one operation.
class SqlStatement {
 public:
  SqlStatement() = default;
  ~SqlStatement() { sqlite3_finalize(statement_); }
  SqlStatement(const SqlStatement&) = delete;
  SqlStatement& operator=(const SqlStatement&) = delete;

  // Prepares the text; on failure the statement stays empty and false is returned.
  bool Prepare(sqlite3* db, const char* sql);
  sqlite3_stmt* get() const { return statement_; }

 private:
  sqlite3_stmt* statement_ = nullptr;
};

// UTF-8 conversions for text bound to or read from SQLite.
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const char* text);  // null gives an empty string
// A text column of the current row; NULL gives an empty string.
std::wstring ColumnText(sqlite3_stmt* statement, int column);
// The same written into `out`, for loops that fill records in place.
void ReadColumnText(sqlite3_stmt* statement, int column, std::wstring& out);
