// The service's reply lists: their two layouts, the check that a received list stays
// inside its own bytes, and the reads of validated lists.
//
// Version 1: a 28-byte header (total folders, total files, total items, folders in
// list, files in list, items in list, result offset) and 12-byte items (flags, offset
// of the file name, offset of the path), each offset pointing at a terminated string.
// Version 2: a 20-byte header (total items, items in list, result offset, request
// flags, sort) and 8-byte items (flags, offset of a data block). A data block holds the
// fields named by the request flags in ascending bit order; a string field is a 32-bit
// length, the characters and a terminator. All numbers are little-endian, all offsets
// count from the list's first byte, and strings are bytes or UTF-16 units.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace search_client {

inline constexpr DWORD kListV1HeaderSize = 28;
inline constexpr DWORD kItemV1Size = 12;
inline constexpr DWORD kListV2HeaderSize = 20;
inline constexpr DWORD kItemV2Size = 8;

// Byte offsets of the header words.
inline constexpr DWORD kV1TotalFolders = 0;
inline constexpr DWORD kV1TotalFiles = 4;
inline constexpr DWORD kV1TotalItems = 8;
inline constexpr DWORD kV1ListFolders = 12;
inline constexpr DWORD kV1ListFiles = 16;
inline constexpr DWORD kV1ListItems = 20;
inline constexpr DWORD kV2TotalItems = 0;
inline constexpr DWORD kV2ListItems = 4;
inline constexpr DWORD kV2RequestFlags = 12;
inline constexpr DWORD kV2Sort = 16;

// Item flags.
inline constexpr DWORD kItemFolder = 0x1;
inline constexpr DWORD kItemVolume = 0x2;

// Highest request-flag bit a data block can hold.
inline constexpr DWORD kLastFieldBit = 0x8000;

// Little-endian 32-bit value at any alignment.
inline DWORD ReadU32(const BYTE* at) {
  return static_cast<DWORD>(at[0]) | static_cast<DWORD>(at[1]) << 8 |
         static_cast<DWORD>(at[2]) << 16 | static_cast<DWORD>(at[3]) << 24;
}

}  // namespace search_client

// A stored reply: the private copy of the bytes and the encoding of its strings, which
// is the encoding of the query it answers. Empty when data is null.
struct ReplyList {
  BYTE* data = nullptr;
  DWORD size = 0;
  bool utf16 = false;

  explicit operator bool() const { return data != nullptr; }
  DWORD Header(DWORD offset) const { return search_client::ReadU32(data + offset); }
};

namespace search_client {

// True when every count, offset and string of the list lies inside its size bytes and
// every string ends in a terminator there; UTF-16 strings must also start on an even
// offset. Only lists that pass are ever stored, so the reads below need no checks.
bool IsValidListV1(const BYTE* data, size_t size, bool utf16);
bool IsValidListV2(const BYTE* data, size_t size, bool utf16);

// Items in the list (the count every index is checked against).
DWORD ItemCountV1(const ReplyList& list);
DWORD ItemCountV2(const ReplyList& list);

DWORD ItemFlagsV1(const ReplyList& list, DWORD index);
DWORD ItemFlagsV2(const ReplyList& list, DWORD index);
// The terminated file name and path of a version-1 item.
const BYTE* FileNameV1(const ReplyList& list, DWORD index);
const BYTE* PathV1(const ReplyList& list, DWORD index);

// Address of the field `bit` in the data block of a version-2 item, or null when the
// list's request flags lack the bit or the bit is not a field. String fields point at
// their length word; StringOfField skips it.
const BYTE* FindItemFieldV2(const ReplyList& list, DWORD index, DWORD bit);
inline const BYTE* StringOfField(const BYTE* field) { return field ? field + 4 : nullptr; }

// Sorts a version-1 list's items in place by path, then file name, both compared
// without regard to case. The header and the strings stay where they are.
void SortItemsByPathV1(ReplyList& list);

}  // namespace search_client
