// Adding, saving, reordering, moving, clearing and deleting top-level groups and
// tags. Every change that touches more than one row runs in one transaction, and
// memory takes the change only once it is committed.
#include <string>
#include <utility>

#include "data/cached_statement.h"
#include "data/link_store.h"
#include "data/link_store_positions.h"
#include "data/sql_binding.h"
#include "data/sqlite_support.h"
#include "data/trace_line.h"

namespace {

const char kInsertGroup[] =
    "INSERT INTO Groups(ID,NAME,POS,ParentGroup,ICONSIZE,LAYOUT,SORT,TYPE) VALUES (?,?,?,?,?,?,?,?)";
const char kUpdateGroup[] =
    "UPDATE Groups SET NAME=?,ParentGroup=?,LAYOUT=?,ICONSIZE=?,SORT=?,TYPE=?,Content=?,FLAG=? WHERE ID = ?";
const char kUpdateAllIconSizes[] = "UPDATE Groups SET ICONSIZE = ?";
const char kUpdateAllLayouts[] = "UPDATE Groups SET LAYOUT=?";
const char kUpdateTagParent[] = "UPDATE Groups SET ParentGroup = ? WHERE ID=?";
const char kDeleteTagLinks[] = "DELETE FROM Links WHERE ParentGroup = ?";
const char kDeleteGroupTags[] = "DELETE FROM Groups WHERE ParentGroup = ?";
const char kDeleteGroupRow[] = "DELETE FROM Groups WHERE ID = ?";

// The positions of top-level groups and of tags keep separate statements.
CachedStatement& GroupPositionsStatement() {
  static CachedStatement holder;
  return holder;
}
CachedStatement& TagPositionsStatement() {
  static CachedStatement holder;
  return holder;
}

bool FailWithSqlError(sqlite3* db) {
  PrintSqlError(sqlite3_errmsg(db));
  return false;
}

// Prepares a statement that takes one ID, binds it and steps it; prints the SQL error
// on failure.
bool RunWithId(sqlite3* db, SqlStatement& statement, const char* sql, int32_t id) {
  if (!statement.get() && !statement.Prepare(db, sql)) return FailWithSqlError(db);
  sqlite3_reset(statement.get());
  sqlite3_bind_int(statement.get(), 1, id);
  return StepToDone(statement.get()) || FailWithSqlError(db);
}

bool StoreTagParent(sqlite3* db, int32_t tagId, int32_t parentId) {
  SqlStatement update;
  if (!update.Prepare(db, kUpdateTagParent)) return FailWithSqlError(db);
  sqlite3_bind_int(update.get(), 1, parentId);
  sqlite3_bind_int(update.get(), 2, tagId);
  return StepToDone(update.get()) || FailWithSqlError(db);
}

bool InsertGroupRow(sqlite3* db, const Group& group) {
  SqlStatement insert;
  if (!insert.Prepare(db, kInsertGroup)) return false;
  sqlite3_stmt* row = insert.get();
  sqlite3_bind_int(row, 1, group.ID);
  BindText(row, 2, group.NAME);
  sqlite3_bind_int(row, 3, group.POS);
  sqlite3_bind_int(row, 4, group.ParentGroup);
  sqlite3_bind_int(row, 5, group.ICONSIZE);
  sqlite3_bind_int(row, 6, group.LAYOUT);
  sqlite3_bind_int(row, 7, group.SORT);
  sqlite3_bind_int(row, 8, group.TYPE);
  return StepToDone(row);
}

void PrintClearTrace(const Group& tag) {
  PrintTrace("ClearGroup %s,%s\n", std::to_wstring(tag.ID), tag.NAME);
}

bool IsValidIndex(const std::vector<std::shared_ptr<Group>>& list, int index) {
  return index >= 0 && index < static_cast<int>(list.size()) && list[index];
}

// Writes the positions of a list of groups or tags; memory follows on success.
bool SavePositions(sqlite3* db, std::vector<std::shared_ptr<Group>>& list, CachedStatement& holder,
                   bool inTransaction) {
  if (!GroupPositionsDiffer(list)) return true;
  if (!db) return false;
  SqlTransaction transaction(db);
  if (inTransaction && !transaction.Begin()) return false;
  if (!WriteGroupPositions(db, list, holder)) return false;
  if (inTransaction && !transaction.Commit()) return false;
  ApplyGroupPositions(list);
  return true;
}

// Swaps the element at index with its neighbour and stores the new positions;
// swaps back when they cannot be stored.
bool SwapAndSave(sqlite3* db, std::vector<std::shared_ptr<Group>>& list, int index, int neighbour,
                 CachedStatement& holder) {
  std::swap(list[index], list[neighbour]);
  if (SavePositions(db, list, holder, true)) return true;
  std::swap(list[index], list[neighbour]);
  return false;
}

// One value for a column of every row, in one transaction.
bool UpdateEveryRow(sqlite3* db, CachedStatement& holder, const char* sql, int32_t value) {
  SqlTransaction transaction(db);
  if (!transaction.Begin()) return false;
  sqlite3_stmt* update = holder.Use(db, sql);
  if (!update) return FailWithSqlError(db);
  sqlite3_bind_int(update, 1, value);
  if (!StepToDone(update)) return FailWithSqlError(db);
  return transaction.Commit();
}

}  // namespace

bool LinkStore::AddGroup(const std::shared_ptr<Group>& group) {
  if (!connection || !group) return false;
  group->ParentGroup = 0;
  group->ID = ++maxGroupId;
  group->POS = static_cast<int32_t>(topGroups.size());
  if (!InsertGroupRow(connection, *group)) return false;
  topGroups.push_back(group);
  groupsById[group->ID] = group;
  return true;
}

bool LinkStore::AddTag(const std::shared_ptr<Group>& group, const std::shared_ptr<Group>& tag) {
  // Tags hang under top-level groups only: a tag stored under a tag would be listed
  // nowhere after the next start.
  if (!connection || !group || !tag || !group->IsTopLevel() || group == tag) return false;
  tag->ParentGroup = group->ID;
  tag->POS = static_cast<int32_t>(group->tags.size());
  tag->ID = ++maxGroupId;
  if (!InsertGroupRow(connection, *tag)) return false;
  group->tags.push_back(tag);
  groupsById[tag->ID] = tag;
  return true;
}

bool LinkStore::SaveGroup(const std::shared_ptr<Group>& group) {
  if (!connection || !group) return false;
  static CachedStatement holder;
  sqlite3_stmt* update = holder.Use(connection, kUpdateGroup);
  if (!update) return false;
  BindText(update, 1, group->NAME);
  sqlite3_bind_int(update, 2, group->ParentGroup);
  sqlite3_bind_int(update, 3, group->LAYOUT);
  sqlite3_bind_int(update, 4, group->ICONSIZE);
  sqlite3_bind_int(update, 5, group->SORT);
  sqlite3_bind_int(update, 6, group->TYPE);
  BindText(update, 7, group->Content);
  sqlite3_bind_int(update, 8, group->FLAG);
  sqlite3_bind_int(update, 9, group->ID);
  return StepToDone(update);
}

bool LinkStore::SetGroupSort(const std::shared_ptr<Group>& tag, int32_t sort) {
  if (!tag) return false;
  if (tag->SORT == sort) return true;
  const int32_t previous = tag->SORT;
  tag->SORT = sort;
  if (SaveGroup(tag)) return true;
  tag->SORT = previous;
  return false;
}

bool LinkStore::SetAllIconSize(int32_t size) {
  if (!connection) return false;
  static CachedStatement holder;
  if (!UpdateEveryRow(connection, holder, kUpdateAllIconSizes, size)) return false;
  for (const auto& group : topGroups) {
    for (const auto& tag : group->tags) tag->ICONSIZE = size;
  }
  return true;
}

bool LinkStore::SetAllLayout(int32_t layout) {
  if (!connection) return false;
  static CachedStatement holder;
  if (!UpdateEveryRow(connection, holder, kUpdateAllLayouts, layout)) return false;
  for (const auto& group : topGroups) {
    for (const auto& tag : group->tags) tag->LAYOUT = layout;
  }
  return true;
}

bool LinkStore::SaveGroupPositions(bool inTransaction) {
  return SavePositions(connection, topGroups, GroupPositionsStatement(), inTransaction);
}

bool LinkStore::SaveTagPositions(const std::shared_ptr<Group>& group, bool inTransaction) {
  if (!group) return false;
  return SavePositions(connection, group->tags, TagPositionsStatement(), inTransaction);
}

bool LinkStore::MoveGroupUp(int index) {
  const int count = static_cast<int>(topGroups.size());
  if (!connection || index < 1 || index >= count) return false;
  return SwapAndSave(connection, topGroups, index, index - 1, GroupPositionsStatement());
}

bool LinkStore::MoveGroupDown(int index) {
  const int count = static_cast<int>(topGroups.size());
  if (!connection || index < 0 || index >= count - 1) return false;
  return SwapAndSave(connection, topGroups, index, index + 1, GroupPositionsStatement());
}

bool LinkStore::MoveTagUp(const std::shared_ptr<Group>& group, int index) {
  if (!connection || !group) return false;
  const int count = static_cast<int>(group->tags.size());
  if (index < 1 || index >= count) return false;
  return SwapAndSave(connection, group->tags, index, index - 1, TagPositionsStatement());
}

bool LinkStore::MoveTagDown(const std::shared_ptr<Group>& group, int index) {
  if (!connection || !group) return false;
  const int count = static_cast<int>(group->tags.size());
  if (index < 0 || index >= count - 1) return false;
  return SwapAndSave(connection, group->tags, index, index + 1, TagPositionsStatement());
}

bool LinkStore::MoveTagToGroup(const std::shared_ptr<Group>& group, int index, int32_t targetGroupId) {
  if (!connection || !group || !IsValidIndex(group->tags, index)) return false;
  auto target = FindGroup(targetGroupId);
  // Only a top-level group can hold tags; a tag moved under a tag would vanish.
  if (!target || !target->IsTopLevel()) return false;
  auto tag = group->tags[index];
  const int32_t previousParent = tag->ParentGroup;

  group->tags.erase(group->tags.begin() + index);
  tag->ParentGroup = target->ID;
  target->tags.push_back(tag);

  // The new parent and both groups' positions are stored together.
  bool stored = false;
  {
    SqlTransaction transaction(connection);
    stored = transaction.Begin() && StoreTagParent(connection, tag->ID, target->ID) &&
             WriteGroupPositions(connection, group->tags, TagPositionsStatement()) &&
             WriteGroupPositions(connection, target->tags, TagPositionsStatement()) && transaction.Commit();
  }
  if (!stored) {
    target->tags.pop_back();
    tag->ParentGroup = previousParent;
    group->tags.insert(group->tags.begin() + index, tag);
    return false;
  }
  ApplyGroupPositions(group->tags);
  if (target != group) ApplyGroupPositions(target->tags);
  return true;
}

bool LinkStore::ClearTag(const std::shared_ptr<Group>& tag) {
  if (!tag) return false;
  PrintClearTrace(*tag);
  if (tag->links.empty()) return true;
  if (!connection) return false;
  {
    SqlTransaction transaction(connection);
    SqlStatement remove;
    if (!transaction.Begin() || !RunWithId(connection, remove, kDeleteTagLinks, tag->ID) ||
        !transaction.Commit()) {
      return false;
    }
  }
  const auto links = std::move(tag->links);
  tag->links.clear();
  RefreshLinkIcons(links, true);
  return true;
}

bool LinkStore::DeleteTag(const std::shared_ptr<Group>& group, int index) {
  if (!connection || !group || !IsValidIndex(group->tags, index)) return false;
  auto tag = group->tags[index];
  PrintClearTrace(*tag);

  // The tag's links, its row and the renumbering of the tags after it go together:
  // a failure leaves the tag whole, links included.
  group->tags.erase(group->tags.begin() + index);
  bool stored = false;
  {
    SqlTransaction transaction(connection);
    SqlStatement removeLinks;
    SqlStatement removeTag;
    stored = transaction.Begin() && RunWithId(connection, removeLinks, kDeleteTagLinks, tag->ID) &&
             RunWithId(connection, removeTag, kDeleteGroupRow, tag->ID) &&
             WriteGroupPositions(connection, group->tags, TagPositionsStatement()) && transaction.Commit();
  }
  if (!stored) {
    group->tags.insert(group->tags.begin() + index, tag);
    return false;
  }
  ApplyGroupPositions(group->tags);
  groupsById.erase(tag->ID);
  const auto links = std::move(tag->links);
  tag->links.clear();
  RefreshLinkIcons(links, true);
  return true;
}

bool LinkStore::DeleteGroup(int index) {
  if (!connection || !IsValidIndex(topGroups, index)) return false;
  auto group = topGroups[index];

  topGroups.erase(topGroups.begin() + index);
  bool stored = false;
  {
    SqlTransaction transaction(connection);
    stored = transaction.Begin();
    SqlStatement removeLinks;
    for (size_t i = 0; stored && i < group->tags.size(); ++i) {
      stored = RunWithId(connection, removeLinks, kDeleteTagLinks, group->tags[i]->ID);
    }
    SqlStatement removeTags;
    SqlStatement removeGroup;
    stored = stored && RunWithId(connection, removeTags, kDeleteGroupTags, group->ID) &&
             RunWithId(connection, removeGroup, kDeleteGroupRow, group->ID) &&
             WriteGroupPositions(connection, topGroups, GroupPositionsStatement()) && transaction.Commit();
  }
  if (!stored) {
    topGroups.insert(topGroups.begin() + index, group);
    return false;
  }
  ApplyGroupPositions(topGroups);

  std::vector<std::shared_ptr<Link>> links;
  for (const auto& tag : group->tags) {
    links.insert(links.end(), tag->links.begin(), tag->links.end());
    groupsById.erase(tag->ID);
    tag->links.clear();
  }
  groupsById.erase(group->ID);
  group->tags.clear();
  RefreshLinkIcons(links, true);
  return true;
}
