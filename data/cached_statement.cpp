#include "data/cached_statement.h"

namespace {

// Head of the list of live cached statements. A plain pointer: it needs no destructor,
// so the list stays usable while function-local holders are destroyed at exit.
constinit CachedStatement* g_first_cached_statement = nullptr;

}  // namespace

CachedStatement::CachedStatement() : next_(g_first_cached_statement) {
  if (next_) next_->previous_ = this;
  g_first_cached_statement = this;
}

CachedStatement::~CachedStatement() {
  Finalize();
  if (previous_) previous_->next_ = next_;
  else g_first_cached_statement = next_;
  if (next_) next_->previous_ = previous_;
}

bool CachedStatement::Prepare(sqlite3* db, const char* sql) {
  Finalize();
  connection_ = db;
  if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) == SQLITE_OK && statement_) return true;
  sqlite3_finalize(statement_);
  statement_ = nullptr;
  return false;
}

sqlite3_stmt* CachedStatement::Use(sqlite3* db, const char* sql) {
  if (!db) return nullptr;
  if (statement_ && connection_ == db) {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
    return statement_;
  }
  return Prepare(db, sql) ? statement_ : nullptr;
}

void CachedStatement::Finalize() {
  sqlite3_finalize(statement_);
  statement_ = nullptr;
}

void CachedStatement::FinalizeAllOn(sqlite3* db) {
  for (CachedStatement* holder = g_first_cached_statement; holder; holder = holder->next_) {
    if (holder->connection_ == db) holder->Finalize();
  }
}
