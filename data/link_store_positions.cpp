#include "data/link_store_positions.h"

#include "data/sql_binding.h"
#include "data/sqlite_support.h"

namespace {

const char kUpdateLinkPosition[] = "UPDATE Links SET ParentGroup=?,POS=? WHERE ID = ?";
const char kUpdateGroupPosition[] = "UPDATE Groups SET POS=? WHERE ID = ?";

bool LinkIsInPlace(const Link& link, const Group& tag, size_t index) {
  return link.POS == static_cast<int32_t>(index) && link.ParentGroup == tag.ID;
}

bool FailWithSqlError(sqlite3* db) {
  PrintSqlError(sqlite3_errmsg(db));
  return false;
}

}  // namespace

bool LinkPositionsDiffer(const Group& tag) {
  for (size_t i = 0; i < tag.links.size(); ++i) {
    if (!LinkIsInPlace(*tag.links[i], tag, i)) return true;
  }
  return false;
}

bool WriteLinkPositions(sqlite3* db, const Group& tag) {
  static CachedStatement holder;
  for (size_t i = 0; i < tag.links.size(); ++i) {
    const Link& link = *tag.links[i];
    if (LinkIsInPlace(link, tag, i)) continue;
    sqlite3_stmt* update = holder.Use(db, kUpdateLinkPosition);
    if (!update) return FailWithSqlError(db);
    sqlite3_bind_int(update, 1, tag.ID);
    sqlite3_bind_int(update, 2, static_cast<int>(i));
    sqlite3_bind_int(update, 3, link.ID);
    if (!StepToDone(update)) return FailWithSqlError(db);
  }
  return true;
}

void ApplyLinkPositions(Group& tag) {
  for (size_t i = 0; i < tag.links.size(); ++i) {
    tag.links[i]->POS = static_cast<int32_t>(i);
    tag.links[i]->ParentGroup = tag.ID;
  }
}

bool GroupPositionsDiffer(const std::vector<std::shared_ptr<Group>>& groups) {
  for (size_t i = 0; i < groups.size(); ++i) {
    if (groups[i]->POS != static_cast<int32_t>(i)) return true;
  }
  return false;
}

bool WriteGroupPositions(sqlite3* db, const std::vector<std::shared_ptr<Group>>& groups, CachedStatement& holder) {
  for (size_t i = 0; i < groups.size(); ++i) {
    if (groups[i]->POS == static_cast<int32_t>(i)) continue;
    sqlite3_stmt* update = holder.Use(db, kUpdateGroupPosition);
    if (!update) return FailWithSqlError(db);
    sqlite3_bind_int(update, 1, static_cast<int>(i));
    sqlite3_bind_int(update, 2, groups[i]->ID);
    if (!StepToDone(update)) return FailWithSqlError(db);
  }
  return true;
}

void ApplyGroupPositions(std::vector<std::shared_ptr<Group>>& groups) {
  for (size_t i = 0; i < groups.size(); ++i) groups[i]->POS = static_cast<int32_t>(i);
}
