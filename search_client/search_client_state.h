// The client's one process-wide state and its lock.
#pragma once

#include <windows.h>

#include <atomic>

#include "search_client/reply_list.h"

// Which reply the client expects from the service for the query it sent last.
enum PendingReplyKind : DWORD {
  kPendingNone = 0,
  kPendingListV1 = 1,
  kPendingListV2 = 2,
};

// Plain statics with constant initialisation: no constructor runs at load time, so the
// client works from the first call in any thread, even during start-up.
struct SearchClientState {
  BOOL match_path = 0;
  BOOL match_case = 0;
  BOOL match_whole_word = 0;
  BOOL regex = 0;
  DWORD last_error = 0;
  DWORD offset = 0;
  BOOL query_is_utf16 = 0;
  DWORD pending_reply_kind = kPendingNone;
  BOOL search_is_utf16 = 0;
  std::atomic<LONG> lock_ready{0};
  void* search_text = nullptr;  // terminated, in the encoding of search_is_utf16
  // At most one of the two lists is set; each is a validated private copy.
  ReplyList list_v2{};
  ReplyList list_v1{};
  std::atomic<LONG> lock_election{0};
  DWORD reply_id = 0;
  CRITICAL_SECTION lock{};
  HWND reply_window = nullptr;
  using MessageFilterFn = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
  MessageFilterFn message_filter = nullptr;
  HMODULE user32 = nullptr;
  BOOL filter_looked_up = 0;
  DWORD max_results = 0xFFFFFFFF;
  DWORD sort = 1;
  DWORD request_flags = 3;
};

extern SearchClientState g_search_client;

// Enters the client lock, initialising it on first use; exactly one thread initialises.
void SearchClient_Lock();
void SearchClient_Unlock();

// Holds the client lock for a scope.
class SearchClientLockGuard {
 public:
  SearchClientLockGuard() { SearchClient_Lock(); }
  ~SearchClientLockGuard() { SearchClient_Unlock(); }
  SearchClientLockGuard(const SearchClientLockGuard&) = delete;
  SearchClientLockGuard& operator=(const SearchClientLockGuard&) = delete;
};

// Tears the lock down so that the next call initialises it again.
void SearchClient_DestroyLock();

// Process-heap blocks, the client's only allocator.
void* SearchClient_Alloc(size_t size);
void SearchClient_Free(void* block);

// Frees both reply lists.
void SearchClient_FreeLists();

inline void SearchClient_SetError(DWORD error) { g_search_client.last_error = error; }
