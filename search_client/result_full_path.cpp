// Joining a result's path and file name into a caller's buffer.
#include "search_client/file_search.h"
#include "search_client/reply_list.h"
#include "search_client/result_access.h"
#include "search_client/search_client_state.h"
#include "search_client/text_append.h"

using namespace search_client;

namespace {

// "/" after a path whose first ':' is followed by "//" (an address such as
// "ftp://host"), otherwise a backslash.
template <typename Char>
const Char* SeparatorAfter(const Char* path) {
  static constexpr Char kSlash[] = {'/', 0};
  static constexpr Char kBackslash[] = {'\\', 0};
  const Char* at = path;
  while (*at && *at != ':') ++at;
  return (*at == ':' && at[1] == '/' && at[2] == '/') ? kSlash : kBackslash;
}

// The path, a separator and the name, in the list's character type; name is null when
// the path already is the full path.
template <typename Out, typename In>
DWORD Join(Out* buffer, DWORD size, const In* path, const In* name) {
  DWORD position = AppendPiece(buffer, size, 0, path);
  if (!name) return position;
  if (position != 0) position = AppendPiece(buffer, size, position, SeparatorAfter(path));
  return AppendPiece(buffer, size, position, name);
}

// The pieces of item `index`'s full path, or false with the error set.
bool FullPathPieces(DWORD index, const BYTE** path, const BYTE** name, bool* utf16) {
  const ReplyList* list = ListForItem(index, ListUse::kAny, TextUse::kAny);
  if (!list) return false;
  *utf16 = list->utf16;
  if (list == &g_search_client.list_v1) {
    *path = PathV1(*list, index);
    *name = FileNameV1(*list, index);
    return true;
  }
  if (const BYTE* full = FindItemFieldV2(*list, index, kRequestFullPathAndFileName)) {
    *path = StringOfField(full);
    *name = nullptr;
    return true;
  }
  *path = StringOfField(FindItemFieldV2(*list, index, kRequestPath));
  *name = StringOfField(FindItemFieldV2(*list, index, kRequestFileName));
  if (*path && *name) return true;
  SearchClient_SetError(kSearchClientNoField);
  return false;
}

template <typename Out>
DWORD FullPathName(DWORD index, Out* buffer, DWORD size) {
  SearchClientLockGuard guard;
  // Without room for even a terminator nothing may be written.
  if (buffer && size == 0) return 0;
  const BYTE* path = nullptr;
  const BYTE* name = nullptr;
  bool utf16 = false;
  if (!FullPathPieces(index, &path, &name, &utf16)) {
    if (buffer) buffer[0] = 0;
    return 0;
  }
  if (utf16) {
    return Join(buffer, size, reinterpret_cast<const wchar_t*>(path), reinterpret_cast<const wchar_t*>(name));
  }
  return Join(buffer, size, reinterpret_cast<const char*>(path), reinterpret_cast<const char*>(name));
}

}  // namespace

DWORD FileSearch_GetResultFullPathNameA(DWORD index, LPSTR buffer, DWORD size) {
  return FullPathName(index, buffer, size);
}

DWORD FileSearch_GetResultFullPathNameW(DWORD index, LPWSTR buffer, DWORD size) {
  return FullPathName(index, buffer, size);
}
