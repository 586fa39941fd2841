#include "search_client/reply_list.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace search_client {

namespace {

constexpr DWORD kStringFields = 0x1 | 0x2 | 0x4 | 0x8 | 0x200 | 0x2000 | 0x4000 | 0x8000;
constexpr DWORD kFourByteFields = 0x100 | 0x400;

uint64_t CharSize(bool utf16) { return utf16 ? 2 : 1; }

bool IsTerminator(const BYTE* at, bool utf16) { return at[0] == 0 && (!utf16 || at[1] == 0); }

// Bytes the field `bit` takes when it starts at `at`; for a string the length word
// must be readable there. 64-bit so that an absurd length cannot wrap around.
uint64_t FieldBytes(const BYTE* at, DWORD bit, bool utf16) {
  if (bit & kStringFields) return 4 + (uint64_t{ReadU32(at)} + 1) * CharSize(utf16);
  return (bit & kFourByteFields) ? 4 : 8;
}

// Offset of the last terminator in the list (UTF-16 terminators sit on even
// offsets), or -1 when there is none. A string that starts at `offset` ends inside
// the list exactly when this terminator lies at or after its start; knowing it once
// checks every string in constant time, so a reply whose many items share one long
// string cannot make the check quadratic.
int64_t LastTerminator(const BYTE* data, uint64_t size, bool utf16) {
  const uint64_t step = CharSize(utf16);
  for (uint64_t end = size - size % step; end >= step; end -= step) {
    if (IsTerminator(data + end - step, utf16)) return static_cast<int64_t>(end - step);
  }
  return -1;
}

// Whether a terminated string starts at `offset` and ends inside the list.
bool HasTerminatedString(uint64_t offset, int64_t last_terminator, bool utf16) {
  if (utf16 && offset % 2 != 0) return false;
  return last_terminator >= 0 && offset <= static_cast<uint64_t>(last_terminator);
}

// Whether every field of the data block at `offset` lies inside the list and every
// string field ends in its terminator.
bool IsValidDataBlock(const BYTE* data, uint64_t size, uint64_t offset, DWORD flags, bool utf16) {
  uint64_t at = offset;
  for (DWORD bit = 1; bit <= kLastFieldBit; bit <<= 1) {
    if (!(flags & bit)) continue;
    const bool is_string = (bit & kStringFields) != 0;
    if (at + 4 > size) return false;
    if (is_string && utf16 && at % 2 != 0) return false;
    const uint64_t bytes = FieldBytes(data + at, bit, utf16);
    if (at + bytes > size) return false;
    if (is_string && !IsTerminator(data + at + bytes - CharSize(utf16), utf16)) return false;
    at += bytes;
  }
  return true;
}

const BYTE* ItemV1(const ReplyList& list, DWORD index) {
  return list.data + kListV1HeaderSize + uint64_t{index} * kItemV1Size;
}

const BYTE* ItemV2(const ReplyList& list, DWORD index) {
  return list.data + kListV2HeaderSize + uint64_t{index} * kItemV2Size;
}

int CompareIgnoringCase(const BYTE* a, const BYTE* b, bool utf16) {
  return utf16 ? _wcsicmp(reinterpret_cast<const wchar_t*>(a), reinterpret_cast<const wchar_t*>(b))
               : _stricmp(reinterpret_cast<const char*>(a), reinterpret_cast<const char*>(b));
}

struct RawItemV1 {
  DWORD flags;
  DWORD file_name;
  DWORD path;
};
static_assert(sizeof(RawItemV1) == kItemV1Size);

}  // namespace

bool IsValidListV1(const BYTE* data, size_t size, bool utf16) {
  if (!data || size < kListV1HeaderSize) return false;
  const uint64_t count = ReadU32(data + kV1ListItems);
  if (kListV1HeaderSize + count * kItemV1Size > size) return false;
  const int64_t last_terminator = LastTerminator(data, size, utf16);
  for (uint64_t i = 0; i < count; ++i) {
    const BYTE* item = data + kListV1HeaderSize + i * kItemV1Size;
    if (!HasTerminatedString(ReadU32(item + 4), last_terminator, utf16) ||
        !HasTerminatedString(ReadU32(item + 8), last_terminator, utf16)) {
      return false;
    }
  }
  return true;
}

bool IsValidListV2(const BYTE* data, size_t size, bool utf16) {
  if (!data || size < kListV2HeaderSize) return false;
  const uint64_t count = ReadU32(data + kV2ListItems);
  if (kListV2HeaderSize + count * kItemV2Size > size) return false;
  const DWORD flags = ReadU32(data + kV2RequestFlags);
  for (uint64_t i = 0; i < count; ++i) {
    const BYTE* item = data + kListV2HeaderSize + i * kItemV2Size;
    if (!IsValidDataBlock(data, size, ReadU32(item + 4), flags, utf16)) return false;
  }
  return true;
}

DWORD ItemCountV1(const ReplyList& list) { return list.Header(kV1ListItems); }
DWORD ItemCountV2(const ReplyList& list) { return list.Header(kV2ListItems); }

DWORD ItemFlagsV1(const ReplyList& list, DWORD index) { return ReadU32(ItemV1(list, index)); }
DWORD ItemFlagsV2(const ReplyList& list, DWORD index) { return ReadU32(ItemV2(list, index)); }

const BYTE* FileNameV1(const ReplyList& list, DWORD index) {
  return list.data + ReadU32(ItemV1(list, index) + 4);
}

const BYTE* PathV1(const ReplyList& list, DWORD index) {
  return list.data + ReadU32(ItemV1(list, index) + 8);
}

const BYTE* FindItemFieldV2(const ReplyList& list, DWORD index, DWORD bit) {
  const DWORD flags = list.Header(kV2RequestFlags);
  const bool single_known_bit = bit != 0 && (bit & (bit - 1)) == 0 && bit <= kLastFieldBit;
  if (!single_known_bit || !(flags & bit)) return nullptr;
  const BYTE* at = list.data + ReadU32(ItemV2(list, index) + 4);
  for (DWORD b = 1; b != bit; b <<= 1) {
    if (flags & b) at += FieldBytes(at, b, list.utf16);
  }
  return at;
}

void SortItemsByPathV1(ReplyList& list) {
  auto* items = reinterpret_cast<RawItemV1*>(list.data + kListV1HeaderSize);
  const bool utf16 = list.utf16;
  const BYTE* base = list.data;
  std::sort(items, items + ItemCountV1(list), [base, utf16](const RawItemV1& a, const RawItemV1& b) {
    int order = CompareIgnoringCase(base + a.path, base + b.path, utf16);
    if (order == 0) order = CompareIgnoringCase(base + a.file_name, base + b.file_name, utf16);
    return order < 0;
  });
}

}  // namespace search_client
