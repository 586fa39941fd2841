// What the random drive expects link.db to hold, and link.db read back in the
// same shape: every group, its tags in order, each tag's links (names and run
// counts) or its note text.
#pragma once

#include <windows.h>

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace drive {

constexpr int kOrdinaryTag = 0;
constexpr int kNoteTag = 2;

struct LinkModel {
  std::wstring name;
  int runs = 0;
  bool operator==(const LinkModel& other) const { return name == other.name && runs == other.runs; }
  bool operator<(const LinkModel& other) const {
    return name != other.name ? name < other.name : runs < other.runs;
  }
};

struct TagModel {
  std::wstring name;
  int type = kOrdinaryTag;
  std::vector<LinkModel> links;  // in the order the cards show them (manual order)
  std::wstring note;             // a note tag's text
};

struct GroupModel {
  std::wstring name;
  std::vector<TagModel> tags;
};

inline std::wstring Widen(const std::string& utf8) {
  std::wstring wide(utf8.size(), L'\0');
  wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                                      wide.data(), static_cast<int>(wide.size()))));
  return wide;
}

inline std::string Utf8(const std::wstring& wide) {
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), bytes, nullptr, nullptr);
  return utf8;
}

// A name as a log line shows it: long ones by their start and length.
inline std::string Shown(const std::wstring& text) {
  if (text.size() <= 40) return Utf8(text);
  return Utf8(text.substr(0, 16)) + "…(" + std::to_string(text.size()) + " chars)";
}

// link.db opened to be read beside the running program (which may be writing
// it); null when it cannot be opened.
inline sqlite3* OpenStoreToRead(const std::wstring& path) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(Utf8(path).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, 2000);
  return db;
}

inline std::wstring ColumnText(sqlite3_stmt* row, int column) {
  const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(row, column));
  return Widen(bytes ? bytes : "");
}

// The whole of link.db in the model's shape, with what integrity_check says;
// false when the file could not be read.
inline bool ReadStore(const std::wstring& path, std::vector<GroupModel>* groups, std::string* integrity) {
  sqlite3* db = OpenStoreToRead(path);
  if (!db) return false;
  const auto text = ColumnText;
  bool ok = true;
  sqlite3_stmt* row = nullptr;
  if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &row, nullptr) == SQLITE_OK &&
      sqlite3_step(row) == SQLITE_ROW) {
    *integrity = Utf8(text(row, 0));
  } else {
    ok = false;
  }
  sqlite3_finalize(row);
  groups->clear();
  std::vector<int64_t> groupIds;
  if (ok && sqlite3_prepare_v2(db,
                               "SELECT ID,NAME FROM Groups WHERE ParentGroup=0 OR ParentGroup IS NULL "
                               "ORDER BY POS,ID",
                               -1, &row, nullptr) == SQLITE_OK) {
    while (sqlite3_step(row) == SQLITE_ROW) {
      groupIds.push_back(sqlite3_column_int64(row, 0));
      groups->push_back({text(row, 1), {}});
    }
  } else {
    ok = false;
  }
  sqlite3_finalize(row);
  for (size_t g = 0; ok && g < groupIds.size(); ++g) {
    std::vector<int64_t> tagIds;
    ok = sqlite3_prepare_v2(db, "SELECT ID,NAME,TYPE,Content FROM Groups WHERE ParentGroup=? ORDER BY POS,ID", -1,
                            &row, nullptr) == SQLITE_OK;
    if (!ok) break;
    sqlite3_bind_int64(row, 1, groupIds[g]);
    while (sqlite3_step(row) == SQLITE_ROW) {
      tagIds.push_back(sqlite3_column_int64(row, 0));
      (*groups)[g].tags.push_back({text(row, 1), sqlite3_column_int(row, 2), {}, text(row, 3)});
    }
    sqlite3_finalize(row);
    for (size_t t = 0; ok && t < tagIds.size(); ++t) {
      ok = sqlite3_prepare_v2(db, "SELECT NAME,RunCount FROM Links WHERE ParentGroup=? ORDER BY POS,ID", -1, &row,
                              nullptr) == SQLITE_OK;
      if (!ok) break;
      sqlite3_bind_int64(row, 1, tagIds[t]);
      while (sqlite3_step(row) == SQLITE_ROW) {
        (*groups)[g].tags[t].links.push_back({text(row, 0), sqlite3_column_int(row, 1)});
      }
      sqlite3_finalize(row);
    }
  }
  sqlite3_close(db);
  return ok;
}

inline std::string Describe(const std::vector<GroupModel>& groups) {
  std::ostringstream out;
  for (const GroupModel& group : groups) {
    out << "{" << Shown(group.name) << ": ";
    for (const TagModel& tag : group.tags) {
      out << Shown(tag.name);
      if (tag.type == kNoteTag) {
        out << "<note " << Shown(tag.note) << ">";
      } else if (tag.type != kOrdinaryTag) {
        out << "<type " << tag.type << ">";
      }
      out << "[";
      for (const LinkModel& link : tag.links) {
        out << Shown(link.name);
        if (link.runs) out << "*" << link.runs;
        out << " ";
      }
      out << "] ";
    }
    out << "} ";
  }
  return out.str();
}

// Whether what is stored is what the model says: groups and tags in order with
// their names, types and notes, and each tag's links as a set (a drop or a move
// may place a card anywhere).
inline bool SameStore(const std::vector<GroupModel>& stored, const std::vector<GroupModel>& model) {
  if (stored.size() != model.size()) return false;
  for (size_t g = 0; g < stored.size(); ++g) {
    if (stored[g].name != model[g].name || stored[g].tags.size() != model[g].tags.size()) return false;
    for (size_t t = 0; t < stored[g].tags.size(); ++t) {
      const TagModel& a = stored[g].tags[t];
      const TagModel& b = model[g].tags[t];
      if (a.name != b.name || a.type != b.type) return false;
      if (a.type == kNoteTag && a.note != b.note) return false;
      std::vector<LinkModel> left = a.links;
      std::vector<LinkModel> right = b.links;
      std::sort(left.begin(), left.end());
      std::sort(right.begin(), right.end());
      if (left != right) return false;
    }
  }
  return true;
}

}  // namespace drive
