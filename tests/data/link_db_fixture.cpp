#include "tests/data/link_db_fixture.h"

#include <sstream>

#include "data/sqlite_support.h"

namespace pexo_test {

RawLinkDb::RawLinkDb(const std::wstring& path) {
  sqlite3_open_v2(ToUtf8(path).c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
}

RawLinkDb::~RawLinkDb() { sqlite3_close_v2(db_); }

bool RawLinkDb::Exec(const std::string& sql) {
  return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::string RawLinkDb::Value(const std::string& sql) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) return "<error>";
  std::string value = "<none>";
  const int step = sqlite3_step(statement);
  if (step == SQLITE_ROW) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    value = text ? text : "NULL";
  } else if (step != SQLITE_DONE) {
    value = "<error>";
  }
  sqlite3_finalize(statement);
  return value;
}

std::string SampleTreeSql(int groups, int tagsPerGroup, int linksPerTag) {
  std::string sql;
  for (int g = 1; g <= groups; ++g) {
    sql += "INSERT INTO Groups(ID,NAME,POS,ParentGroup) VALUES (" + std::to_string(g) + ",'group" +
           std::to_string(g) + "'," + std::to_string(g - 1) + ",0);";
    for (int t = 1; t <= tagsPerGroup; ++t) {
      const int32_t tag = SampleTagId(g, t);
      sql += "INSERT INTO Groups(ID,NAME,POS,ParentGroup) VALUES (" + std::to_string(tag) + ",'tag" +
             std::to_string(tag) + "'," + std::to_string(t - 1) + "," + std::to_string(g) + ");";
      for (int l = 0; l < linksPerTag; ++l) {
        const std::string id = std::to_string(SampleLinkId(tag, l));
        sql += "INSERT INTO Links(ID,NAME,POS,RunCount,ParentGroup,TYPE,ICON,PATH,Parameter,WorkDir) VALUES (" +
               id + ",'link" + id + "'," + std::to_string(l) + ",0," + std::to_string(tag) + ",0,'','C:\\apps\\app" +
               id + ".exe','','');";
      }
    }
  }
  return sql;
}

bool CreateLinkDb(const std::wstring& path, const std::string& rowsSql) {
  DeleteFileW(path.c_str());
  {
    LinkStore store;
    if (!store.Open(path)) return false;
  }
  RawLinkDb raw(path);
  return raw.Exec("BEGIN;DELETE FROM Groups;DELETE FROM Links;" + rowsSql + "COMMIT;");
}

std::string DumpTree(const LinkStore& store) {
  std::wostringstream out;
  for (const auto& group : store.topGroups) {
    out << L"G " << group->ID << L" pos " << group->POS << L" parent " << group->ParentGroup << L" type "
        << group->TYPE << L" sort " << group->SORT << L" layout " << group->LAYOUT << L" size " << group->ICONSIZE
        << L" flag " << group->FLAG << L" [" << group->NAME << L"] [" << group->Content << L"]\n";
    for (const auto& tag : group->tags) {
      out << L"  T " << tag->ID << L" pos " << tag->POS << L" parent " << tag->ParentGroup << L" type " << tag->TYPE
          << L" sort " << tag->SORT << L" layout " << tag->LAYOUT << L" size " << tag->ICONSIZE << L" flag "
          << tag->FLAG << L" [" << tag->NAME << L"] [" << tag->Content << L"]\n";
      for (const auto& link : tag->links) {
        const auto owner = link->group.lock();
        out << L"    L " << link->ID << L" pos " << link->POS << L" parent " << link->ParentGroup << L" owner "
            << (owner ? owner->ID : -1) << L" type " << link->TYPE << L" runs " << link->RunCount << L" hotkey "
            << link->HotKey << L" admin " << link->IsAdmin << L" [" << link->NAME << L"] [" << link->PATH << L"] ["
            << link->ICON << L"] [" << link->Parameter << L"] [" << link->WorkDir << L"] [" << link->CustomColor
            << L"] [" << link->Remark << L"] pidl " << link->Pidl.size() << L"\n";
      }
    }
  }
  out << L"groups by id:";
  for (const auto& [id, group] : store.groupsById) {
    if (!group.expired()) out << L" " << id;
  }
  out << L"\nlinks by id:";
  for (const auto& [id, link] : store.linksById) {
    if (!link.expired()) out << L" " << id;
  }
  out << L"\n";
  return ToUtf8(out.str());
}

std::string DumpFile(const std::wstring& path) {
  LinkStore store;
  if (!store.Open(path)) return {};
  return DumpTree(store);
}

}  // namespace pexo_test
