// Options, search text and the client's state calls.
#include <cstring>
#include <cwchar>

#include "search_client/file_search.h"
#include "search_client/search_client_state.h"

namespace {

template <typename T>
void SetLocked(T SearchClientState::*field, T value) {
  SearchClientLockGuard guard;
  g_search_client.*field = value;
}

template <typename T>
T GetLocked(T SearchClientState::*field) {
  SearchClientLockGuard guard;
  return g_search_client.*field;
}

// Replaces the stored search text by a copy of `bytes` bytes (terminator included).
void StoreSearchText(const void* text, size_t bytes, BOOL utf16) {
  SearchClientLockGuard guard;
  SearchClientState& s = g_search_client;
  SearchClient_Free(s.search_text);
  s.search_text = SearchClient_Alloc(bytes);
  if (s.search_text) {
    std::memcpy(s.search_text, text, bytes);
  } else {
    SearchClient_SetError(kSearchClientNoMemory);
  }
  s.search_is_utf16 = utf16;
}

}  // namespace

void FileSearch_SetMatchPath(BOOL enable) { SetLocked(&SearchClientState::match_path, enable); }
void FileSearch_SetMatchCase(BOOL enable) { SetLocked(&SearchClientState::match_case, enable); }
void FileSearch_SetMatchWholeWord(BOOL enable) { SetLocked(&SearchClientState::match_whole_word, enable); }
void FileSearch_SetRegex(BOOL enable) { SetLocked(&SearchClientState::regex, enable); }
void FileSearch_SetMax(DWORD max_results) { SetLocked(&SearchClientState::max_results, max_results); }
void FileSearch_SetOffset(DWORD offset) { SetLocked(&SearchClientState::offset, offset); }
void FileSearch_SetSort(DWORD sort) { SetLocked(&SearchClientState::sort, sort); }
void FileSearch_SetRequestFlags(DWORD flags) { SetLocked(&SearchClientState::request_flags, flags); }
void FileSearch_SetReplyID(DWORD id) { SetLocked(&SearchClientState::reply_id, id); }
void FileSearch_SetReplyWindow(HWND window) { SetLocked(&SearchClientState::reply_window, window); }

BOOL FileSearch_GetMatchPath(void) { return GetLocked(&SearchClientState::match_path); }
BOOL FileSearch_GetMatchCase(void) { return GetLocked(&SearchClientState::match_case); }
BOOL FileSearch_GetMatchWholeWord(void) { return GetLocked(&SearchClientState::match_whole_word); }
BOOL FileSearch_GetRegex(void) { return GetLocked(&SearchClientState::regex); }
DWORD FileSearch_GetMax(void) { return GetLocked(&SearchClientState::max_results); }
DWORD FileSearch_GetOffset(void) { return GetLocked(&SearchClientState::offset); }
DWORD FileSearch_GetSort(void) { return GetLocked(&SearchClientState::sort); }
DWORD FileSearch_GetRequestFlags(void) { return GetLocked(&SearchClientState::request_flags); }
DWORD FileSearch_GetReplyID(void) { return GetLocked(&SearchClientState::reply_id); }
HWND FileSearch_GetReplyWindow(void) { return GetLocked(&SearchClientState::reply_window); }
DWORD FileSearch_GetLastError(void) { return GetLocked(&SearchClientState::last_error); }

// A null text is taken as the empty text rather than read through.
void FileSearch_SetSearchA(LPCSTR text) {
  if (!text) text = "";
  StoreSearchText(text, std::strlen(text) + 1, FALSE);
}

void FileSearch_SetSearchW(LPCWSTR text) {
  if (!text) text = L"";
  StoreSearchText(text, (std::wcslen(text) + 1) * sizeof(wchar_t), TRUE);
}

LPCSTR FileSearch_GetSearchA(void) {
  SearchClientLockGuard guard;
  const SearchClientState& s = g_search_client;
  if (!s.search_text) return "";
  if (s.search_is_utf16) {
    SearchClient_SetError(kSearchClientInvalidCall);
    return nullptr;
  }
  return static_cast<LPCSTR>(s.search_text);
}

LPCWSTR FileSearch_GetSearchW(void) {
  SearchClientLockGuard guard;
  const SearchClientState& s = g_search_client;
  if (!s.search_text) return L"";
  if (!s.search_is_utf16) {
    SearchClient_SetError(kSearchClientInvalidCall);
    return nullptr;
  }
  return static_cast<LPCWSTR>(s.search_text);
}

void FileSearch_Reset(void) {
  SearchClientLockGuard guard;
  SearchClientState& s = g_search_client;
  SearchClient_Free(s.search_text);
  s.search_text = nullptr;
  SearchClient_FreeLists();
  s.match_path = 0;
  s.match_case = 0;
  s.match_whole_word = 0;
  s.regex = 0;
  s.last_error = kSearchClientOk;
  s.max_results = 0xFFFFFFFF;
  s.offset = 0;
  s.sort = 1;
  s.request_flags = 3;
  s.query_is_utf16 = 0;
  s.search_is_utf16 = 0;
}

void FileSearch_CleanUp(void) {
  FileSearch_Reset();
  SearchClient_DestroyLock();
}
