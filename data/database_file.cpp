#include "data/database_file.h"

#include <windows.h>

#include <cstdio>

#include "ui/base/scoped_handles.h"
#include "ui/base/string_util.h"

void WarmFileCache(const std::wstring& path) {
  // Large sequential reads let the system read ahead; a mapping touched page by page
  // costs a fault per page even when the file is already cached.
  ui::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return;
  // On the stack, whose pages stay in place between calls, unlike a fresh allocation.
  char buffer[64 * 1024];
  DWORD read = 0;
  while (ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
  }
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
