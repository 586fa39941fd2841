// Adding, copying, saving, moving and deleting links, and saving run counts. Every
// change is written to db\link.db first; memory follows only what was stored, so a
// failed change leaves the tree as it is in the file.
#include <algorithm>

#include "data/cached_statement.h"
#include "data/icon_cache.h"
#include "data/link_store.h"
#include "data/link_store_positions.h"
#include "data/program_dir.h"
#include "data/program_relative_path.h"
#include "data/sql_binding.h"
#include "data/sqlite_support.h"
#include "ui/base/ui_globals.h"

namespace {

const char kInsertLink[] =
    "INSERT INTO Links(ID,NAME,ParentGroup,TYPE,POS,ICON,PATH,Parameter,WorkDir,IsAdmin,CustomColor,Remark,"
    "HotKey,ShowCmd,Pidl) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)";
const char kUpdateLink[] =
    "UPDATE Links SET NAME=?,ICON=?,PATH=?,Parameter=?,WorkDir=?,HotKey=?,IsAdmin=?,CustomColor=?,Remark=?,"
    "RunCount=? WHERE ID = ?";
const char kUpdateLinkIcon[] = "UPDATE Links SET ICON=? WHERE ID=?";
const char kUpdateRunCount[] = "UPDATE Links SET RunCount=? WHERE ID = ?";
const char kDeleteLink[] = "DELETE FROM Links WHERE ID = ?";

bool CanTakeLinks(const std::shared_ptr<Group>& tag) { return tag && !tag->IsTopLevel() && !tag->IsSpecialTag(); }

// Index of the link in the tag's list, or -1.
int IndexOfLink(const Group& tag, const std::shared_ptr<Link>& link) {
  auto found = std::find(tag.links.begin(), tag.links.end(), link);
  return found == tag.links.end() ? -1 : static_cast<int>(found - tag.links.begin());
}

// Moves the element at `from` so that it ends at `to`.
template <typename T>
void MoveWithin(std::vector<T>& list, int from, int to) {
  if (from < to) {
    std::rotate(list.begin() + from, list.begin() + from + 1, list.begin() + to + 1);
  } else {
    std::rotate(list.begin() + to, list.begin() + from, list.begin() + from + 1);
  }
}

}  // namespace

bool LinkStore::AddLink(const std::shared_ptr<Group>& tag, const std::shared_ptr<Link>& link) {
  if (!connection || !link || !CanTakeLinks(tag)) return false;
  // The new ID is taken before the insert and not given back when it fails, so a
  // row that was half written by someone else can never be mistaken for this one.
  link->ID = ++maxLinkId;
  link->ParentGroup = tag->ID;
  link->group = tag;
  link->POS = static_cast<int32_t>(tag->links.size());
  MakeNewLinkPathsRelative(link->PATH, link->WorkDir, ProgramFolderForms::FromProgramDir(GetProgramDir()));

  static CachedStatement holder;
  sqlite3_stmt* insert = holder.Use(connection, kInsertLink);
  if (!insert) return false;
  sqlite3_bind_int(insert, 1, link->ID);
  BindText(insert, 2, link->NAME);
  sqlite3_bind_int(insert, 3, link->ParentGroup);
  sqlite3_bind_int(insert, 4, link->TYPE);
  sqlite3_bind_int(insert, 5, link->POS);
  BindText(insert, 6, link->ICON);
  BindText(insert, 7, link->PATH);
  BindText(insert, 8, link->Parameter);
  BindText(insert, 9, link->WorkDir);
  sqlite3_bind_int(insert, 10, link->IsAdmin ? 1 : 0);
  BindText(insert, 11, link->CustomColor);
  BindText(insert, 12, link->Remark);
  sqlite3_bind_int(insert, 13, link->HotKey);
  sqlite3_bind_int(insert, 14, link->ShowCmd);
  BindBlobOrNull(insert, 15, link->Pidl);
  if (!StepToDone(insert)) return false;

  tag->links.push_back(link);
  linksById[link->ID] = link;
  return true;
}

bool LinkStore::CopyLink(const std::shared_ptr<Link>& link, int32_t targetTagId) {
  if (!connection || !link) return false;
  // Every field is copied; AddLink gives the copy its own ID, tag and place. The copy
  // keeps the hot-key code in its row but is not registered for it.
  auto copy = std::make_shared<Link>(*link);
  copy->RunCount = 0;
  copy->hotKeyId = 0;
  return AddLink(FindGroup(targetTagId), copy);
}

bool LinkStore::SaveLink(const std::shared_ptr<Link>& link) {
  if (!connection || !link) return false;
  if (!link->CustomColor.empty() && link->CustomColor[0] == L'#') {
    ui::UiGlobals::AddColor(link->CustomColor, link->CustomColor);
  }
  static CachedStatement holder;
  sqlite3_stmt* update = holder.Use(connection, kUpdateLink);
  if (!update) return false;
  BindText(update, 1, link->NAME);
  BindText(update, 2, link->ICON);
  BindText(update, 3, link->PATH);
  BindText(update, 4, link->Parameter);
  BindText(update, 5, link->WorkDir);
  sqlite3_bind_int(update, 6, link->HotKey);
  sqlite3_bind_int(update, 7, link->IsAdmin ? 1 : 0);
  BindText(update, 8, link->CustomColor);
  BindText(update, 9, link->Remark);
  sqlite3_bind_int(update, 10, link->RunCount);
  sqlite3_bind_int(update, 11, link->ID);
  return StepToDone(update);
}

bool LinkStore::SaveLinkIcon(const std::shared_ptr<Link>& link) {
  if (!connection || !link) return false;
  static CachedStatement holder;
  sqlite3_stmt* update = holder.Use(connection, kUpdateLinkIcon);
  if (!update) return false;
  BindText(update, 1, link->ICON);
  sqlite3_bind_int(update, 2, link->ID);
  return StepToDone(update);
}

bool LinkStore::SaveRunCount(const std::shared_ptr<Link>& link) {
  if (!connection || !link) return false;
  static CachedStatement holder;
  sqlite3_stmt* update = holder.Use(connection, kUpdateRunCount);
  if (!update) return false;
  sqlite3_bind_int(update, 1, link->RunCount);
  sqlite3_bind_int(update, 2, link->ID);
  return StepToDone(update);
}

bool LinkStore::SaveLinkPositions(const std::shared_ptr<Group>& tag, bool inTransaction) {
  if (!connection || !tag) return false;
  if (!LinkPositionsDiffer(*tag)) return true;
  SqlTransaction transaction(connection);
  if (inTransaction && !transaction.Begin()) return false;
  if (!WriteLinkPositions(connection, *tag)) return false;
  if (inTransaction && !transaction.Commit()) return false;
  ApplyLinkPositions(*tag);
  return true;
}

bool LinkStore::MoveLink(const std::shared_ptr<Group>& tag, int from, int to) {
  if (!connection || !tag) return false;
  if (from == to) return true;
  if (!CanTakeLinks(tag)) return false;
  const int count = static_cast<int>(tag->links.size());
  if (from < 0 || to < 0 || from >= count || to >= count) return false;
  MoveWithin(tag->links, from, to);
  if (SaveLinkPositions(tag, true)) return true;
  // The file keeps the old order, and so does the tag.
  MoveWithin(tag->links, to, from);
  return false;
}

bool LinkStore::MoveLinkToTag(const std::shared_ptr<Group>& sourceTag, const std::shared_ptr<Link>& movedLink,
                              int32_t targetTagId) {
  // A caller may pass an element of the source list itself, which the move shifts.
  const std::shared_ptr<Link> link = movedLink;
  if (!connection || !link || !CanTakeLinks(sourceTag)) return false;
  auto target = FindGroup(targetTagId);
  if (!CanTakeLinks(target)) return false;
  const int index = IndexOfLink(*sourceTag, link);
  if (index < 0) return false;

  const int32_t oldPos = link->POS;
  const int32_t oldParent = link->ParentGroup;
  sourceTag->links.erase(sourceTag->links.begin() + index);
  // POS -1 makes sure the moved link's row is written with its new place.
  link->POS = -1;
  link->ParentGroup = target->ID;
  link->group = target;
  target->links.push_back(link);

  // Both tags are renumbered in one transaction: the link is in exactly one of them
  // in the file whatever happens.
  bool stored = false;
  {
    SqlTransaction transaction(connection);
    stored = transaction.Begin() && WriteLinkPositions(connection, *sourceTag) &&
             WriteLinkPositions(connection, *target) && transaction.Commit();
  }
  if (!stored) {
    target->links.pop_back();
    link->POS = oldPos;
    link->ParentGroup = oldParent;
    link->group = sourceTag;
    sourceTag->links.insert(sourceTag->links.begin() + index, link);
    return false;
  }
  ApplyLinkPositions(*sourceTag);
  if (target != sourceTag) ApplyLinkPositions(*target);
  return true;
}

bool LinkStore::DeleteLink(const std::shared_ptr<Group>& tag, const std::shared_ptr<Link>& deletedLink) {
  // Held here: a caller may pass an element of the tag's list, which the delete shifts.
  const std::shared_ptr<Link> link = deletedLink;
  if (!connection || !link) return false;
  const std::wstring iconKey = link->GetIconKey();
  const int index = tag ? IndexOfLink(*tag, link) : -1;

  {
    // The row goes together with the renumbering of the links after it.
    SqlTransaction transaction(connection);
    if (!transaction.Begin()) return false;
    SqlStatement remove;
    if (!remove.Prepare(connection, kDeleteLink)) return false;
    sqlite3_bind_int(remove.get(), 1, link->ID);
    if (!StepToDone(remove.get())) return false;
    if (index >= 0) {
      tag->links.erase(tag->links.begin() + index);
      if (!WriteLinkPositions(connection, *tag) || !transaction.Commit()) {
        tag->links.insert(tag->links.begin() + index, link);
        return false;
      }
    } else if (!transaction.Commit()) {
      return false;
    }
  }
  if (index >= 0) {
    linksById.erase(link->ID);
    ApplyLinkPositions(*tag);
  }
  // Shared built-in ("#") and file-type ("*") icons stay for the other links.
  if (!iconKey.empty() && iconKey[0] != L'#' && iconKey[0] != L'*') GetIconCache().RemoveCache(iconKey, true);
  return true;
}
