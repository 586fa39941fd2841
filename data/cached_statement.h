// A prepared statement kept for the life of the process by a frequent single-statement
// operation of the link store: prepared on first use, reset before every later use,
// finalized at exit or when its connection is closed.
#pragma once

#include "sqlite3.h"

class CachedStatement {
 public:
  CachedStatement();
  ~CachedStatement();
  CachedStatement(const CachedStatement&) = delete;
  CachedStatement& operator=(const CachedStatement&) = delete;

  // Finalizes the statement held, remembers the connection and prepares the text.
  bool Prepare(sqlite3* db, const char* sql);

  // The statement ready to be bound and stepped against db: prepared on the first call
  // (or when the connection changed since), otherwise reset with its bindings
  // cleared. Null when it cannot be prepared.
  sqlite3_stmt* Use(sqlite3* db, const char* sql);

  void Finalize();

  sqlite3* connection() const { return connection_; }
  sqlite3_stmt* statement() const { return statement_; }

  // Finalizes every cached statement prepared against db; run before db is closed,
  // since SQLite refuses to close a connection with live statements.
  static void FinalizeAllOn(sqlite3* db);

 private:
  sqlite3* connection_ = nullptr;
  sqlite3_stmt* statement_ = nullptr;
  // Every live CachedStatement is on one list, so a closing connection finds its own.
  CachedStatement* previous_ = nullptr;
  CachedStatement* next_ = nullptr;
};
