#include "data/link_store.h"

#include <windows.h>

#include "data/cached_statement.h"
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

std::wstring DefaultLinkDbPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  path.erase(path.find_last_of(L'\\') + 1);
  return path + L"db\\link.db";
}
