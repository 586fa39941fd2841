// A link database built row by row for the edit tests, and a text form of a store's
// tree so that memory and the file can be compared after every change.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "data/link_store.h"
#include "sqlite3.h"

namespace pexo_test {

// A second connection to a database file, for building rows and reading back what
// the store wrote.
class RawLinkDb {
 public:
  explicit RawLinkDb(const std::wstring& path);
  ~RawLinkDb();
  RawLinkDb(const RawLinkDb&) = delete;
  RawLinkDb& operator=(const RawLinkDb&) = delete;

  bool Exec(const std::string& sql);
  // First column of the first row as text; "<none>" without a row, "<error>" on failure.
  std::string Value(const std::string& sql);
  sqlite3* get() { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

// Rows of a sample tree: `groups` top-level groups (IDs 1..groups), each with
// `tagsPerGroup` ordinary tags, each tag with `linksPerTag` links. Tag IDs follow
// the groups' (100 + 10 * group + tag), link IDs are 1000 * tag + index. Link names
// are "link<ID>", paths "C:\apps\app<ID>.exe".
std::string SampleTreeSql(int groups, int tagsPerGroup, int linksPerTag);
inline int32_t SampleTagId(int group, int tag) { return 100 + 10 * group + tag; }  // both 1-based
inline int32_t SampleLinkId(int32_t tagId, int index) { return 1000 * tagId + index; }

// Creates a database file with the current schema holding exactly the given rows.
bool CreateLinkDb(const std::wstring& path, const std::string& rowsSql);

// Every group, tag and link of the store in list order with its stored fields, and
// the live entries of the ID maps: two stores with equal dumps hold the same tree.
std::string DumpTree(const LinkStore& store);

// The dump of a fresh store opened on the file (an empty text when it cannot open).
std::string DumpFile(const std::wstring& path);

}  // namespace pexo_test
