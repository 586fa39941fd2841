// Opens a link database, starts one edit and stops inside its transaction: a SQL
// function called from a temporary trigger signals the named event and sleeps until
// the test kills the process.
//   link_store_crash_helper <db path> <event name> <edit>
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "data/link_store.h"
#include "sqlite3.h"
#include "tests/data/link_db_fixture.h"

namespace {

std::wstring g_event_name;

void PauseHere(sqlite3_context* context, int, sqlite3_value**) {
  if (HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, g_event_name.c_str())) SetEvent(event);
  Sleep(INFINITE);
  sqlite3_result_null(context);
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc != 4) return 2;
  g_event_name = argv[2];
  const std::wstring edit = argv[3];
  LinkStore store;
  if (!store.Open(argv[1])) return 3;
  sqlite3* db = store.connection;
  // A small page cache makes SQLite write changed pages into the file before the
  // commit, which is what a rollback must then undo.
  sqlite3_exec(db, "PRAGMA cache_size=10", nullptr, nullptr, nullptr);
  sqlite3_create_function(db, "pause_here", 0, SQLITE_UTF8, nullptr, PauseHere, nullptr, nullptr);

  const int32_t tag11 = pexo_test::SampleTagId(1, 1);
  const int32_t tag12 = pexo_test::SampleTagId(1, 2);
  std::string pausePoint;
  bool result = false;
  auto pauseAt = [&](const std::string& when) {
    return sqlite3_exec(db, ("CREATE TEMP TRIGGER pause_point " + when + " BEGIN SELECT pause_here(); END;").c_str(),
                        nullptr, nullptr, nullptr) == SQLITE_OK;
  };
  if (edit == L"move-link") {
    auto tag = store.FindGroup(tag11);
    const int last = static_cast<int>(tag->links.size()) - 1;
    if (!pauseAt("BEFORE UPDATE OF POS ON Links WHEN NEW.ID = " +
                 std::to_string(pexo_test::SampleLinkId(tag11, last - 10)))) {
      return 4;
    }
    result = store.MoveLink(tag, 0, last);
  } else if (edit == L"move-link-to-tag") {
    if (!pauseAt("BEFORE UPDATE ON Links WHEN NEW.ParentGroup = " + std::to_string(tag12))) return 4;
    auto tag = store.FindGroup(tag11);
    result = store.MoveLinkToTag(tag, tag->links[0], tag12);
  } else if (edit == L"delete-group") {
    if (!pauseAt("BEFORE DELETE ON Groups WHEN OLD.ID = 1")) return 4;
    result = store.DeleteGroup(0);
  } else if (edit == L"move-group") {
    if (!pauseAt("BEFORE UPDATE OF POS ON Groups WHEN NEW.ID = 1")) return 4;
    result = store.MoveGroupDown(0);
  } else {
    return 2;
  }
  // Reaching this point means the pause never came.
  std::printf("edit finished: %d\n", result ? 1 : 0);
  return 5;
}
