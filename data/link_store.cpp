#include "data/link_store.h"

#include "data/cached_statement.h"
#include "data/program_dir.h"
#include "data/sqlite_support.h"

LinkStore::~LinkStore() { Close(); }

void LinkStore::Close() {
  if (connection) {
    CachedStatement::FinalizeAllOn(connection);
    sqlite3_close_v2(connection);
    connection = nullptr;
  }
  topGroups.clear();
  groupsById.clear();
  linksById.clear();
}

bool LinkStore::Vacuum() {
  if (!connection) return false;
  return ExecSql(connection, "VACUUM");
}

std::shared_ptr<Group> LinkStore::FindGroup(int32_t id) const {
  auto found = groupsById.find(id);
  return found == groupsById.end() ? nullptr : found->second.lock();
}

std::shared_ptr<Link> LinkStore::FindLink(int32_t id) const {
  auto found = linksById.find(id);
  return found == linksById.end() ? nullptr : found->second.lock();
}

LinkStore& GetLinkStore() {
  static LinkStore store;
  return store;
}

std::wstring DefaultLinkDbPath() { return GetProgramDir() + L"db\\link.db"; }
