// The link database with every group, tag and link in memory.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "data/group.h"
#include "data/id_map.h"
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
  // Open in two halves, for a start that loads the file on a worker thread while
  // the windows are made. Load opens, creates or upgrades the file and loads the
  // tree; it touches nothing of the user interface (no hot key, no colour), so it
  // may run on another thread as long as nothing else uses this store meanwhile.
  // RegisterLoadedLinks, on the thread of the hot keys' window, then registers the
  // links' hot keys and their colours, as Open does.
  bool Load(const std::wstring& path);
  void RegisterLoadedLinks();
  // Closes the connection and drops the tree.
  void Close();
  // "VACUUM"; false without a connection or when it fails.
  bool Vacuum();

  bool IsOpen() const { return connection != nullptr; }

  // The top-level groups by position, the order the group list shows them in.
  int GetGroupCount() const { return static_cast<int>(topGroups.size()); }
  // Null for an index out of range.
  std::shared_ptr<Group> GetGroupAt(int index) const {
    return index >= 0 && index < GetGroupCount() ? topGroups[static_cast<size_t>(index)] : nullptr;
  }

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

  // ---- link edits (each change is written to the database before it is kept) ----
  // Stores a new link at the end of an ordinary tag: assigns ID, ParentGroup and POS
  // and rewrites PATH and WorkDir into their stored forms on the caller's record.
  bool AddLink(const std::shared_ptr<Group>& tag, const std::shared_ptr<Link>& link);
  // Stores a copy of the link (run count 0) at the end of the tag with that ID.
  bool CopyLink(const std::shared_ptr<Link>& link, int32_t targetTagId);
  // Writes NAME, ICON, PATH, Parameter, WorkDir, HotKey, IsAdmin, CustomColor,
  // Remark and RunCount.
  bool SaveLink(const std::shared_ptr<Link>& link);
  bool SaveLinkIcon(const std::shared_ptr<Link>& link);
  // Writes RunCount, which the caller has already counted up.
  bool SaveRunCount(const std::shared_ptr<Link>& link);
  // Writes ParentGroup and POS of every link of the tag that is not stored at its
  // place; memory takes the new values only once they are stored.
  bool SaveLinkPositions(const std::shared_ptr<Group>& tag, bool inTransaction);
  // Moves the link at `from` so that it ends at `to`; on failure the old order stays.
  bool MoveLink(const std::shared_ptr<Group>& tag, int from, int to);
  // Moves the link to the end of another ordinary tag, in one transaction.
  bool MoveLinkToTag(const std::shared_ptr<Group>& sourceTag, const std::shared_ptr<Link>& link,
                     int32_t targetTagId);
  // Deletes the link's row and renumbers the links after it, in one transaction, then
  // drops the link's own cached icon.
  bool DeleteLink(const std::shared_ptr<Group>& tag, const std::shared_ptr<Link>& link);
  // Drops the link's icon from the icon cache so that it is built again.
  bool RemoveLinkIcon(const std::shared_ptr<Link>& link);
  // Drops the icons of the links in one icon-database transaction; `hard` deletes their
  // cached rows and forgets the links by ID.
  bool RefreshLinkIcons(const std::vector<std::shared_ptr<Link>>& links, bool hard);
  bool RefreshTagIcons(const std::shared_ptr<Group>& tag);
  bool RefreshAllIcons();

  // ---- program-relative paths ----
  // Rewrites WorkDir, ICON and PATH of every link that lies in, beside or on the
  // drive of the program folder into the ".\", "..\" and ":\" forms, in one
  // transaction. On failure nothing is stored and every link keeps its old paths.
  bool ConvertPathsToRelative();
  bool ConvertPathsToRelative(const std::wstring& programDir);
  // Rewrites the "..\" and ":\" forms back into full paths (the folder part in
  // lower case); ".\" forms stay. Same transaction and failure rules.
  bool ConvertPathsToAbsolute();
  bool ConvertPathsToAbsolute(const std::wstring& programDir);

  // ---- group and tag edits ----
  // Stores a new top-level group at the end.
  bool AddGroup(const std::shared_ptr<Group>& group);
  // Stores a new tag at the end of a top-level group.
  bool AddTag(const std::shared_ptr<Group>& group, const std::shared_ptr<Group>& tag);
  // Writes NAME, ParentGroup, LAYOUT, ICONSIZE, SORT, TYPE, Content and FLAG.
  bool SaveGroup(const std::shared_ptr<Group>& group);
  // Sets and stores a tag's SORT; a value that cannot be stored is not kept.
  bool SetGroupSort(const std::shared_ptr<Group>& tag, int32_t sort);
  // One ICONSIZE or LAYOUT for every row; every tag takes it in memory.
  bool SetAllIconSize(int32_t size);
  bool SetAllLayout(int32_t layout);
  // Swap a top-level group or a tag with its neighbour; on failure nothing changes.
  bool MoveGroupUp(int index);
  bool MoveGroupDown(int index);
  bool MoveTagUp(const std::shared_ptr<Group>& group, int index);
  bool MoveTagDown(const std::shared_ptr<Group>& group, int index);
  // Moves the tag at `index` (with its links) to the end of another top-level group,
  // in one transaction.
  bool MoveTagToGroup(const std::shared_ptr<Group>& group, int index, int32_t targetGroupId);
  // Write POS where it differs from the index; memory follows once stored.
  bool SaveGroupPositions(bool inTransaction);
  bool SaveTagPositions(const std::shared_ptr<Group>& group, bool inTransaction);
  // Deletes every link of a tag.
  bool ClearTag(const std::shared_ptr<Group>& tag);
  // Deletes a tag with its links, in one transaction.
  bool DeleteTag(const std::shared_ptr<Group>& group, int index);
  // Deletes a top-level group with its tags and their links, in one transaction.
  bool DeleteGroup(int index);

  int32_t maxGroupId = 0;
  int32_t maxLinkId = 0;
  sqlite3* connection = nullptr;
  int32_t version = 0;
  std::vector<std::shared_ptr<Group>> topGroups;
  std::map<int32_t, std::weak_ptr<Group>> groupsById;
  IdMap<Link> linksById;

 private:
  bool CreateSchema();
  bool ReadVersion();
  bool Upgrade();
  bool LoadGroups();
  bool LoadLinks();
};

// The process-wide store, created empty on first use.
LinkStore& GetLinkStore();

// Path of the link database under the program folder.
std::wstring DefaultLinkDbPath();
