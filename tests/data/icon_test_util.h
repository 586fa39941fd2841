// Helpers for the icon cache tests: solid test pictures, pixels of cached images
// and direct looks into an icon database file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/png_codec.h"
#include "sqlite3.h"
#include "ui/base/image_info.h"
#include "ui/base/string_util.h"
#include "ui/render/gdiplus_handles.h"

namespace icon_test {

namespace gp = Gdiplus::DllExports;

// A square ARGB bitmap of one colour.
inline ui::GpBitmapPtr SolidBitmap(int size, uint32_t argb) {
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (gp::GdipCreateBitmapFromScan0(size, size, 0, PixelFormat32bppARGB, nullptr, &bitmap) != Gdiplus::Ok)
    return nullptr;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) gp::GdipBitmapSetPixel(bitmap, x, y, argb);
  return ui::GpBitmapPtr(bitmap);
}

inline std::string SolidPng(int size, uint32_t argb) {
  std::vector<uint8_t> bytes;
  ui::GpBitmapPtr bitmap = SolidBitmap(size, argb);
  if (!bitmap || !EncodePng(bitmap.get(), bytes)) return {};
  return std::string(bytes.begin(), bytes.end());
}

// The 32-bit pixel (0xAARRGGBB as stored) at x, y of the image's first frame.
inline uint32_t PixelAt(const std::shared_ptr<ui::ImageInfo>& image, int x, int y) {
  if (!image || image->GetFrameCount() == 0) return 0;
  HBITMAP frame = image->GetFrame(0);
  BITMAP info{};
  GetObjectW(frame, sizeof(info), &info);
  std::vector<uint32_t> pixels(static_cast<size_t>(info.bmWidth) * std::abs(info.bmHeight));
  BITMAPINFO request{};
  request.bmiHeader.biSize = sizeof(request.bmiHeader);
  request.bmiHeader.biWidth = info.bmWidth;
  request.bmiHeader.biHeight = -std::abs(info.bmHeight);
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, frame, 0, std::abs(info.bmHeight), pixels.data(), &request, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return pixels[static_cast<size_t>(y) * info.bmWidth + x];
}

// An independent connection to a database file, for looking at and changing rows
// behind the cache's back.
class Db {
 public:
  explicit Db(const std::wstring& path) {
    std::string utf8;
    NarrowString(path.c_str(), utf8, kCodePageUtf8);
    sqlite3_open(utf8.c_str(), &db_);
  }
  ~Db() { sqlite3_close(db_); }
  Db(const Db&) = delete;
  Db& operator=(const Db&) = delete;

  bool Exec(const std::string& sql) { return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK; }
  // The first column of the first row as an integer; -1 without a row or on error.
  int64_t Number(const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    int64_t value = -1;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
      value = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return value;
  }
  std::string Blob(const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    std::string value;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
      const void* data = sqlite3_column_blob(statement, 0);
      value.assign(static_cast<const char*>(data), sqlite3_column_bytes(statement, 0));
    }
    sqlite3_finalize(statement);
    return value;
  }
  // Stores a row with the given blobs.
  bool PutRow(int id, int invalid, const std::string& b16, const std::string& b32, const std::string& b48) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, "REPLACE INTO Cache(ID,Invalid,Icon16,Icon32,Icon48) VALUES (?,?,?,?,?)", -1,
                           &statement, nullptr) != SQLITE_OK)
      return false;
    sqlite3_bind_int(statement, 1, id);
    sqlite3_bind_int(statement, 2, invalid);
    sqlite3_bind_blob(statement, 3, b16.data(), static_cast<int>(b16.size()), SQLITE_TRANSIENT);
    sqlite3_bind_blob(statement, 4, b32.data(), static_cast<int>(b32.size()), SQLITE_TRANSIENT);
    sqlite3_bind_blob(statement, 5, b48.data(), static_cast<int>(b48.size()), SQLITE_TRANSIENT);
    bool done = sqlite3_step(statement) == SQLITE_DONE;
    sqlite3_finalize(statement);
    return done;
  }

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace icon_test
