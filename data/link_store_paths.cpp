// Bulk conversion of every link's stored paths between full paths and the
// program-relative forms.
#include <functional>
#include <string>
#include <vector>

#include "data/link_store.h"
#include "data/program_dir.h"
#include "data/program_relative_path.h"
#include "data/sqlite_support.h"

namespace {

using PathRewrite = std::function<std::wstring(const std::wstring&)>;

struct OldPaths {
  std::shared_ptr<Link> link;
  std::wstring WorkDir;
  std::wstring ICON;
  std::wstring PATH;
};

// Rewrites WorkDir and ICON when they are set, and PATH; true when any changed.
bool RewriteLinkPaths(Link& link, const PathRewrite& rewrite) {
  bool changed = false;
  auto apply = [&](std::wstring& value, bool skipEmpty) {
    if (skipEmpty && value.empty()) return;
    std::wstring rewritten = rewrite(value);
    if (rewritten != value) {
      value = std::move(rewritten);
      changed = true;
    }
  };
  apply(link.WorkDir, true);
  apply(link.ICON, true);
  apply(link.PATH, false);
  return changed;
}

// Rewrites and saves every changed link in one transaction. A failure rolls the
// rows back and puts the old paths back in memory too, so that the tree keeps
// matching the file. `report` prints the SQL error.
bool RewriteAllLinkPaths(LinkStore& store, const PathRewrite& rewrite, bool report) {
  sqlite3* db = store.connection;
  if (!db) return false;
  if (sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK) {
    if (report) PrintSqlError(sqlite3_errmsg(db));
    return false;
  }
  std::vector<OldPaths> rewritten;
  auto undo = [&] {
    if (report) PrintSqlError(sqlite3_errmsg(db));
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    for (OldPaths& old : rewritten) {
      old.link->WorkDir = std::move(old.WorkDir);
      old.link->ICON = std::move(old.ICON);
      old.link->PATH = std::move(old.PATH);
    }
    return false;
  };
  for (const auto& group : store.topGroups) {
    for (const auto& tag : group->tags) {
      for (const auto& link : tag->links) {
        OldPaths old{link, link->WorkDir, link->ICON, link->PATH};
        if (!RewriteLinkPaths(*link, rewrite)) continue;
        rewritten.push_back(std::move(old));
        if (!store.SaveLink(link)) return undo();
      }
    }
  }
  if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) return undo();
  return true;
}

}  // namespace

bool LinkStore::ConvertPathsToRelative() { return ConvertPathsToRelative(GetProgramDir()); }

bool LinkStore::ConvertPathsToRelative(const std::wstring& programDir) {
  const ProgramFolderForms forms = ProgramFolderForms::FromProgramDir(programDir);
  return RewriteAllLinkPaths(
      *this, [&forms](const std::wstring& path) { return MakeProgramRelativePath(path, forms); }, false);
}

bool LinkStore::ConvertPathsToAbsolute() { return ConvertPathsToAbsolute(GetProgramDir()); }

bool LinkStore::ConvertPathsToAbsolute(const std::wstring& programDir) {
  const ProgramFolderForms forms = ProgramFolderForms::FromProgramDir(programDir);
  return RewriteAllLinkPaths(
      *this, [&forms](const std::wstring& path) { return ExpandParentAndDriveForms(path, forms); }, true);
}
