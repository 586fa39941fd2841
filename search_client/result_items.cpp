// Per-item accessors of the stored reply list.
#include <cstring>

#include "search_client/file_search.h"
#include "search_client/reply_list.h"
#include "search_client/result_access.h"
#include "search_client/search_client_state.h"

using namespace search_client;

namespace {

// Whether item `index` has all the bits of `flag`; false with the error set when the
// item does not exist.
bool ItemHas(DWORD index, DWORD flag, bool* has) {
  SearchClientLockGuard guard;
  const ReplyList* list = ListForItem(index, ListUse::kAny, TextUse::kAny);
  if (!list) return false;
  const DWORD flags = list == &g_search_client.list_v1 ? ItemFlagsV1(*list, index) : ItemFlagsV2(*list, index);
  *has = (flags & flag) == flag;
  return true;
}

// File name (field 0x1) or path (field 0x2) of either list version.
const BYTE* NameOrPath(DWORD index, DWORD bit, TextUse text) {
  SearchClientLockGuard guard;
  const ReplyList* list = ListForItem(index, ListUse::kAny, text);
  if (!list) return nullptr;
  if (list == &g_search_client.list_v1) {
    return bit == kRequestFileName ? FileNameV1(*list, index) : PathV1(*list, index);
  }
  const BYTE* field = FindItemFieldV2(*list, index, bit);
  if (!field) SearchClient_SetError(kSearchClientNoField);
  return StringOfField(field);
}

const BYTE* StringField(DWORD index, DWORD bit, TextUse text) {
  SearchClientLockGuard guard;
  return StringOfField(FieldForItem(index, bit, text));
}

LPCSTR AnsiField(DWORD index, DWORD bit) {
  return reinterpret_cast<LPCSTR>(StringField(index, bit, TextUse::kAnsi));
}

LPCWSTR WideField(DWORD index, DWORD bit) {
  return reinterpret_cast<LPCWSTR>(StringField(index, bit, TextUse::kUtf16));
}

// Copies a fixed-size version-2 field to `out`.
BOOL CopyField(DWORD index, DWORD bit, void* out, size_t bytes) {
  SearchClientLockGuard guard;
  const BYTE* field = FieldForItem(index, bit, TextUse::kAny);
  if (!field) return FALSE;
  if (out) std::memcpy(out, field, bytes);
  return TRUE;
}

}  // namespace

BOOL FileSearch_IsFolderResult(DWORD index) {
  bool folder = false;
  return ItemHas(index, kItemFolder, &folder) && folder;
}

BOOL FileSearch_IsFileResult(DWORD index) {
  bool folder = false;
  return ItemHas(index, kItemFolder, &folder) && !folder;
}

BOOL FileSearch_IsVolumeResult(DWORD index) {
  bool volume = false;
  return ItemHas(index, kItemVolume, &volume) && volume;
}

LPCSTR FileSearch_GetResultFileNameA(DWORD index) {
  return reinterpret_cast<LPCSTR>(NameOrPath(index, kRequestFileName, TextUse::kAnsi));
}
LPCWSTR FileSearch_GetResultFileNameW(DWORD index) {
  return reinterpret_cast<LPCWSTR>(NameOrPath(index, kRequestFileName, TextUse::kUtf16));
}
LPCSTR FileSearch_GetResultPathA(DWORD index) {
  return reinterpret_cast<LPCSTR>(NameOrPath(index, kRequestPath, TextUse::kAnsi));
}
LPCWSTR FileSearch_GetResultPathW(DWORD index) {
  return reinterpret_cast<LPCWSTR>(NameOrPath(index, kRequestPath, TextUse::kUtf16));
}

LPCSTR FileSearch_GetResultExtensionA(DWORD index) { return AnsiField(index, kRequestExtension); }
LPCWSTR FileSearch_GetResultExtensionW(DWORD index) { return WideField(index, kRequestExtension); }
LPCSTR FileSearch_GetResultFileListFileNameA(DWORD index) { return AnsiField(index, kRequestFileListFileName); }
LPCWSTR FileSearch_GetResultFileListFileNameW(DWORD index) { return WideField(index, kRequestFileListFileName); }
LPCSTR FileSearch_GetResultHighlightedFileNameA(DWORD index) {
  return AnsiField(index, kRequestHighlightedFileName);
}
LPCWSTR FileSearch_GetResultHighlightedFileNameW(DWORD index) {
  return WideField(index, kRequestHighlightedFileName);
}
LPCSTR FileSearch_GetResultHighlightedPathA(DWORD index) { return AnsiField(index, kRequestHighlightedPath); }
LPCWSTR FileSearch_GetResultHighlightedPathW(DWORD index) { return WideField(index, kRequestHighlightedPath); }
LPCSTR FileSearch_GetResultHighlightedFullPathAndFileNameA(DWORD index) {
  return AnsiField(index, kRequestHighlightedFullPathAndFileName);
}
LPCWSTR FileSearch_GetResultHighlightedFullPathAndFileNameW(DWORD index) {
  return WideField(index, kRequestHighlightedFullPathAndFileName);
}

BOOL FileSearch_GetResultSize(DWORD index, LARGE_INTEGER* size) {
  return CopyField(index, kRequestSize, size, 8);
}
BOOL FileSearch_GetResultDateCreated(DWORD index, FILETIME* date) {
  return CopyField(index, kRequestDateCreated, date, 8);
}
BOOL FileSearch_GetResultDateModified(DWORD index, FILETIME* date) {
  return CopyField(index, kRequestDateModified, date, 8);
}
BOOL FileSearch_GetResultDateAccessed(DWORD index, FILETIME* date) {
  return CopyField(index, kRequestDateAccessed, date, 8);
}
BOOL FileSearch_GetResultDateRun(DWORD index, FILETIME* date) {
  return CopyField(index, kRequestDateRun, date, 8);
}
BOOL FileSearch_GetResultDateRecentlyChanged(DWORD index, FILETIME* date) {
  return CopyField(index, kRequestDateRecentlyChanged, date, 8);
}

DWORD FileSearch_GetResultAttributes(DWORD index) {
  DWORD attributes = 0;
  return CopyField(index, kRequestAttributes, &attributes, 4) ? attributes : 0xFFFFFFFF;
}

DWORD FileSearch_GetResultRunCount(DWORD index) {
  DWORD run_count = 0;
  return CopyField(index, kRequestRunCount, &run_count, 4) ? run_count : 0;
}

void FileSearch_SortResultsByPath(void) {
  SearchClientLockGuard guard;
  SearchClientState& s = g_search_client;
  if (!s.list_v1) {
    SearchClient_SetError(kSearchClientInvalidCall);
    return;
  }
  SortItemsByPathV1(s.list_v1);
}
