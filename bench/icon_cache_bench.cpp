// Loads the cached icons of 10 000 links from an icon database and prints the time.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <string>
#include <vector>

#include "data/icon_cache.h"
#include "data/png_codec.h"
#include "sqlite3.h"
#include "ui/base/string_util.h"

namespace {

namespace gp = Gdiplus::DllExports;

// One icon for each link of a 10 000-link collection.
constexpr int kIcons = 10000;

std::vector<uint8_t> GradientPng(int size, int seed) {
  Gdiplus::GpBitmap* bitmap = nullptr;
  gp::GdipCreateBitmapFromScan0(size, size, 0, PixelFormat32bppARGB, nullptr, &bitmap);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      gp::GdipBitmapSetPixel(bitmap, x, y, 0xFF000000u | ((x * 255 / size) << 16) | ((y * 255 / size) << 8) | seed);
  std::vector<uint8_t> png;
  EncodePng(bitmap, png);
  gp::GdipDisposeImage(bitmap);
  return png;
}

bool WriteDatabase(const std::wstring& path) {
  std::string utf8;
  NarrowString(path.c_str(), utf8, kCodePageUtf8);
  sqlite3* db = nullptr;
  if (sqlite3_open(utf8.c_str(), &db) != SQLITE_OK) return false;
  sqlite3_exec(db,
               "CREATE TABLE Version(ID INTEGER PRIMARY KEY, Ver INTEGER);"
               "REPLACE INTO Version(ID,Ver) VALUES (1,10805);"
               "CREATE TABLE Cache(ID INTEGER PRIMARY KEY,Invalid TINYINT DEFAULT 0,Icon16 BLOB,Icon32 BLOB,"
               "Icon48 BLOB);BEGIN;",
               nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO Cache(ID,Invalid,Icon16,Icon32,Icon48) VALUES (?,0,?,?,?)", -1, &insert,
                     nullptr);
  for (int id = 1; id <= kIcons; ++id) {
    const int seed = id % 256;
    const std::vector<uint8_t> pngs[3] = {GradientPng(16, seed), GradientPng(32, seed), GradientPng(48, seed)};
    sqlite3_reset(insert);
    sqlite3_bind_int(insert, 1, id);
    for (int i = 0; i < 3; ++i)
      sqlite3_bind_blob(insert, i + 2, pngs[i].data(), static_cast<int>(pngs[i].size()), SQLITE_TRANSIENT);
    sqlite3_step(insert);
  }
  sqlite3_finalize(insert);
  bool committed = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return committed;
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to, const LARGE_INTEGER& frequency) {
  return static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

}  // namespace

int main() {
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring path = std::wstring(temp) + L"pexo_icon_cache_bench_" + std::to_wstring(GetCurrentProcessId()) + L".db";
  DeleteFileW(path.c_str());
  if (!WriteDatabase(path)) {
    std::fprintf(stderr, "could not write the benchmark database\n");
    return 1;
  }

  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  LARGE_INTEGER decodeEnd;
  size_t loaded = 0;
  {
    IconCache cache(path);
    QueryPerformanceCounter(&start);
    const bool opened = cache.Open();
    QueryPerformanceCounter(&end);
    // Stored icons are decoded when first asked for: ask for each one.
    for (int id = 1; id <= kIcons; ++id) loaded += IconCache::IsCached(L"?l:lnk" + std::to_wstring(id));
    QueryPerformanceCounter(&decodeEnd);
    if (!opened) std::fprintf(stderr, "the icon cache did not open\n");
  }
  std::fprintf(stderr, "\n");
  std::printf("icon cache: opened with %d stored icons in %.1f ms; decoded %zu of them (3 sizes each) in %.1f ms\n",
              kIcons, Seconds(start, end, frequency) * 1000.0, loaded,
              Seconds(end, decodeEnd, frequency) * 1000.0);
  DeleteFileW(path.c_str());
  CoUninitialize();
  Gdiplus::GdiplusShutdown(token);
  return loaded == static_cast<size_t>(kIcons) ? 0 : 1;
}
