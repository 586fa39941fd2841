// Times 1 000 run-count updates over a store of 10 000 links, each stored on its own as a launch stores it.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "data/link_store.h"
#include "data/sqlite_support.h"

namespace {

constexpr int kLinks = 10000;
constexpr int kUpdates = 1000;

double Milliseconds(LARGE_INTEGER start, LARGE_INTEGER end) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool CreateDatabase(const std::wstring& path) {
  DeleteFileW(path.c_str());
  LinkStore store;
  if (!store.Open(path)) return false;
  std::string sql = "BEGIN;";
  for (int id = 1; id <= kLinks; ++id) {
    sql += "INSERT INTO Links(ID,NAME,POS,ParentGroup,ICON,PATH,Parameter,WorkDir) VALUES (" + std::to_string(id) +
           ",'app" + std::to_string(id) + "'," + std::to_string(id - 1) + ",2,'','C:\\apps\\app" + std::to_string(id) +
           ".exe','','');";
  }
  return ExecSql(store.connection, (sql + "COMMIT;").c_str());
}

}  // namespace

int main() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring path = std::wstring(temp) + L"pexo_run_count_bench.db";
  if (!CreateDatabase(path)) {
    std::fprintf(stderr, "could not create the benchmark database\n");
    return 1;
  }
  LinkStore store;
  if (!store.Open(path) || store.linksById.size() != kLinks) {
    std::fprintf(stderr, "open failed\n");
    return 1;
  }
  std::vector<std::shared_ptr<Link>> links;
  for (const auto& [id, link] : store.linksById) links.push_back(link.lock());

  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  int failures = 0;
  for (int i = 0; i < kUpdates; ++i) {
    const auto& link = links[(i * 37) % links.size()];
    ++link->RunCount;
    if (!store.SaveRunCount(link)) ++failures;
  }
  QueryPerformanceCounter(&end);
  store.Close();
  DeleteFileW(path.c_str());

  const double total = Milliseconds(start, end);
  std::printf("%d run-count updates over %d links: %.1f ms total, %.3f ms each, %d failed\n", kUpdates, kLinks, total,
              total / kUpdates, failures);
  return failures == 0 ? 0 : 1;
}
