// The link database with every group, tag and link in memory.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "data/group.h"
#include "data/link.h"

struct sqlite3;

// Schema versions of db\link.db.
constexpr int kLinkDbVersion = 10805;        // written into a new file
constexpr int kLinkDbVersionUnknown = 10600;  // a file without a Version row

// Owns the top-level groups; each group owns its tags and each tag its links. The ID
// maps hold weak references, so whatever leaves its owning list is gone.
class LinkStore {
 public:
  LinkStore() = default;
  ~LinkStore();
  LinkStore(const LinkStore&) = delete;
  LinkStore& operator=(const LinkStore&) = delete;

  // Opens "db\link.db" under the program folder: creates it with a default group and
  // tag, or upgrades an older file, then loads the whole tree and registers the links'
  // hot keys. True when the file is open, current and fully loaded.
  bool Open();
  // The same for a database file at the given path.
  bool Open(const std::wstring& path);
  // Closes the connection and drops the tree.
  void Close();
  // "VACUUM"; false without a connection or when it fails.
  bool Vacuum();

  bool IsOpen() const { return connection != nullptr; }

  // The group or tag with this ID, or null when absent or deleted.
  std::shared_ptr<Group> FindGroup(int32_t id) const;
  // The link with this ID, or null when absent or deleted.
  std::shared_ptr<Link> FindLink(int32_t id) const;

  // Fills `out` with the links whose names or remarks (or their initials forms) hold
  // every space-separated word of `text`, ASCII case ignored; by run count, highest
  // first. With a positive limit the walk stops after that many matches.
  void Search(const std::wstring& text, std::vector<std::weak_ptr<Link>>& out, int limit) const;

  // Fills `out` with the links the tag shows, in the order its SORT asks for.
  bool GetTagLinks(const std::shared_ptr<Group>& tag, std::vector<std::weak_ptr<Link>>& out) const;

  int32_t maxGroupId = 0;
  int32_t maxLinkId = 0;
  sqlite3* connection = nullptr;
  int32_t version = 0;
  std::vector<std::shared_ptr<Group>> topGroups;
  std::map<int32_t, std::weak_ptr<Group>> groupsById;
  std::map<int32_t, std::weak_ptr<Link>> linksById;

 private:
  bool CreateSchema();
  bool ReadVersion(bool& failed);
  bool Upgrade();
  bool LoadGroups();
  bool LoadLinks();
  bool AttachLink(const std::shared_ptr<Link>& link);
};

// The process-wide store, created empty on first use.
LinkStore& GetLinkStore();

// Path of the link database under the program folder.
std::wstring DefaultLinkDbPath();
