// Picking the stored list a result accessor may read. Every function here expects the
// client lock to be held.
#pragma once

#include <windows.h>

#include "search_client/reply_list.h"

namespace search_client {

// Which lists an accessor can use.
enum class ListUse {
  kAny,     // the version-1 list, else the version-2 list
  kV2Only,  // fields only version-2 lists carry
};

// Which string encoding an accessor returns.
enum class TextUse { kAny, kAnsi, kUtf16 };

// The stored list the accessor may read for item `index`, or null with the error set:
// 7 when no list of a usable version and encoding is stored, 6 when the index is not
// below the list's item count.
const ReplyList* ListForItem(DWORD index, ListUse lists, TextUse text);

// A version-2 field of item `index` (see FindItemFieldV2), or null with the error set
// as above or 8 when the list's request flags lack the field.
const BYTE* FieldForItem(DWORD index, DWORD bit, TextUse text);

}  // namespace search_client
