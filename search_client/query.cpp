// The exported query calls.
#include "search_client/blocking_query.h"
#include "search_client/file_search.h"
#include "search_client/search_client_state.h"
#include "search_client/service_link.h"

namespace {

BOOL RunQuery(BOOL utf16, BOOL wait) {
  SearchClientLockGuard guard;
  g_search_client.query_is_utf16 = utf16;
  return wait ? SearchClient_QueryAndWait() : SearchClient_SendQuery();
}

}  // namespace

BOOL FileSearch_QueryA(BOOL wait) { return RunQuery(FALSE, wait); }
BOOL FileSearch_QueryW(BOOL wait) { return RunQuery(TRUE, wait); }

// Runs on the thread of the caller's window without the lock: the service may deliver
// the reply while the querying thread, holding the lock, is still sending the query.
BOOL FileSearch_IsQueryReply(UINT message, WPARAM, LPARAM lparam, DWORD id) {
  if (message != WM_COPYDATA || !lparam) return FALSE;
  const auto& reply = *reinterpret_cast<const COPYDATASTRUCT*>(lparam);
  SearchClientState& s = g_search_client;
  if (reply.dwData != ULONG_PTR{s.reply_id} || reply.dwData != ULONG_PTR{id}) return FALSE;
  switch (SearchClient_StoreReply(s.pending_reply_kind, reply)) {
    case ReplyOutcome::kNotExpected:
      return FALSE;
    case ReplyOutcome::kStored:
      SearchClient_SetError(kSearchClientOk);
      return TRUE;
    case ReplyOutcome::kDropped:
      return TRUE;
  }
  return FALSE;
}
