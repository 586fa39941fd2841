#include "data/database_file.h"

#include <windows.h>

#include <cstdio>

#include "ui/base/string_util.h"

void WarmFileCache(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 40)) {
    if (HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr)) {
      if (const auto* view =
              static_cast<const volatile unsigned char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0))) {
        unsigned char sum = 0;
        for (LONGLONG offset = 0; offset < size.QuadPart; offset += 4096) sum ^= view[offset];
        (void)sum;
        UnmapViewOfFile(const_cast<const unsigned char*>(view));
      }
      CloseHandle(mapping);
    }
  }
  CloseHandle(file);
}

void PrintOpenError(const char* sqliteMessage) {
  std::wstring message;
  if (sqliteMessage) WidenString(sqliteMessage, message, kCodePageUtf8);
  std::string ansi;
  NarrowStringCounted(L"不能打开数据库: " + message, ansi, kCodePageAnsi);
  std::fputs(ansi.c_str(), stderr);
}

bool IsExistingFile(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
