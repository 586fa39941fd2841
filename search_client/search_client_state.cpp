#include "search_client/search_client_state.h"

constinit SearchClientState g_search_client;

void SearchClient_Lock() {
  SearchClientState& s = g_search_client;
  if (!s.lock_ready.load(std::memory_order_acquire)) {
    // The first caller to raise the counter initialises the lock; everybody else
    // yields until it is ready.
    if (s.lock_election.fetch_add(1) + 1 == 1) {
      InitializeCriticalSection(&s.lock);
      s.lock_ready.store(1, std::memory_order_release);
    } else {
      while (!s.lock_ready.load(std::memory_order_acquire)) Sleep(0);
    }
  }
  EnterCriticalSection(&s.lock);
}

void SearchClient_Unlock() { LeaveCriticalSection(&g_search_client.lock); }

void SearchClient_DestroyLock() {
  SearchClientState& s = g_search_client;
  if (!s.lock_ready.load(std::memory_order_acquire)) return;
  DeleteCriticalSection(&s.lock);
  s.lock_ready.store(0, std::memory_order_release);
  // Reopen the election so that a call made after clean-up initialises the lock
  // again instead of waiting for ever for a lock nobody will create.
  s.lock_election.store(0);
}

void* SearchClient_Alloc(size_t size) { return HeapAlloc(GetProcessHeap(), 0, size); }

void SearchClient_Free(void* block) {
  if (block) HeapFree(GetProcessHeap(), 0, block);
}

void SearchClient_FreeLists() {
  SearchClientState& s = g_search_client;
  SearchClient_Free(s.list_v1.data);
  SearchClient_Free(s.list_v2.data);
  s.list_v1 = {};
  s.list_v2 = {};
}
