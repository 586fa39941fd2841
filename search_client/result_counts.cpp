// Counts and header values of the stored reply list.
#include "search_client/file_search.h"
#include "search_client/reply_list.h"
#include "search_client/search_client_state.h"

using namespace search_client;

namespace {

constexpr DWORD kNotInV2 = 0xFFFFFFFF;

// A header word: of the version-1 list at v1_offset, else of the version-2 list at
// v2_offset when version-2 lists have that word, else 0 with error 7.
DWORD HeaderWord(DWORD v1_offset, DWORD v2_offset) {
  SearchClientLockGuard guard;
  const SearchClientState& s = g_search_client;
  if (s.list_v1) return s.list_v1.Header(v1_offset);
  if (s.list_v2 && v2_offset != kNotInV2) return s.list_v2.Header(v2_offset);
  SearchClient_SetError(kSearchClientInvalidCall);
  return 0;
}

}  // namespace

DWORD FileSearch_GetNumResults(void) { return HeaderWord(kV1ListItems, kV2ListItems); }
DWORD FileSearch_GetTotResults(void) { return HeaderWord(kV1TotalItems, kV2TotalItems); }
DWORD FileSearch_GetNumFileResults(void) { return HeaderWord(kV1ListFiles, kNotInV2); }
DWORD FileSearch_GetNumFolderResults(void) { return HeaderWord(kV1ListFolders, kNotInV2); }
DWORD FileSearch_GetTotFileResults(void) { return HeaderWord(kV1TotalFiles, kNotInV2); }
DWORD FileSearch_GetTotFolderResults(void) { return HeaderWord(kV1TotalFolders, kNotInV2); }

// A version-1 list answers with what its query implied: file name and path, sort 1.
DWORD FileSearch_GetResultListRequestFlags(void) {
  SearchClientLockGuard guard;
  const SearchClientState& s = g_search_client;
  return !s.list_v1 && s.list_v2 ? s.list_v2.Header(kV2RequestFlags) : kRequestFileName | kRequestPath;
}

DWORD FileSearch_GetResultListSort(void) {
  SearchClientLockGuard guard;
  const SearchClientState& s = g_search_client;
  return !s.list_v1 && s.list_v2 ? s.list_v2.Header(kV2Sort) : 1;
}
