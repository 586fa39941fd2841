// Writing the positions of a tag's links or of a list of groups inside a transaction
// the caller runs. The writes leave memory alone; the caller applies the new values
// once the transaction is committed, so a failed change leaves memory as the file.
#pragma once

#include <memory>
#include <vector>

#include "data/cached_statement.h"
#include "data/group.h"

// Whether any link of the tag is stored at another POS or under another ParentGroup
// than its place in the tag's list.
bool LinkPositionsDiffer(const Group& tag);
// "UPDATE Links SET ParentGroup=?,POS=? WHERE ID = ?" for each such link. Prints the
// SQL error and returns false at the first failure.
bool WriteLinkPositions(sqlite3* db, const Group& tag);
// Sets POS to the index and ParentGroup to the tag on every link of the tag.
void ApplyLinkPositions(Group& tag);

// The same for groups or tags: POS against the index in the list.
bool GroupPositionsDiffer(const std::vector<std::shared_ptr<Group>>& groups);
// "UPDATE Groups SET POS=? WHERE ID = ?" through the given kept statement.
bool WriteGroupPositions(sqlite3* db, const std::vector<std::shared_ptr<Group>>& groups, CachedStatement& holder);
void ApplyGroupPositions(std::vector<std::shared_ptr<Group>>& groups);
