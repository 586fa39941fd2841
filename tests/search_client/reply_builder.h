// Builds the service's reply lists byte by byte, for the fake service and for tests
// that feed the client hand-made (and hand-broken) replies.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace search_test {

// One file, folder or volume as the fake service knows it.
struct FakeEntry {
  std::wstring name;
  std::wstring path;
  DWORD flags = 0;  // 0x1 folder, 0x2 volume
  ULONGLONG size = 0;
  ULONGLONG date_created = 0;
  ULONGLONG date_modified = 0;
  ULONGLONG date_accessed = 0;
  DWORD attributes = 0;
  std::wstring file_list_name;
  DWORD run_count = 0;
  ULONGLONG date_run = 0;
  ULONGLONG date_recently_changed = 0;
};

// What one reply carries: the items in this list and the totals of the whole search.
struct ReplyContent {
  std::vector<FakeEntry> items;
  DWORD total_folders = 0;
  DWORD total_files = 0;
  DWORD total_items = 0;
  DWORD offset = 0;
};

// Totals counted over `items` themselves.
ReplyContent ContentOf(const std::vector<FakeEntry>& items);

// A version-1 list: header, 12-byte items, then each item's name and path strings.
std::string BuildListV1(const ReplyContent& content, bool utf16);
// A version-2 list: header, 8-byte items, then each item's data block holding the
// fields of request_flags.
std::string BuildListV2(const ReplyContent& content, DWORD request_flags, DWORD sort, bool utf16);

// Text in the wire encoding: UTF-16 units or the ANSI code page, without terminator.
std::string Encode(const std::wstring& text, bool utf16);

// Little-endian 32-bit value at `offset` of a byte string.
DWORD WordAt(const std::string& bytes, size_t offset);
void SetWordAt(std::string& bytes, size_t offset, DWORD value);

}  // namespace search_test
