// Talking to the service window: finding it and sending records and queries.
#pragma once

#include <windows.h>

// The service's window, looked up afresh on every call; null when the service is not
// running.
HWND SearchClient_FindService();

// Sends one record by WM_COPYDATA (wParam 0) and returns the service's answer; 0 with
// error 2 when there is no service window.
LRESULT SearchClient_SendCopyData(ULONG_PTR kind, const void* data, DWORD size);

// Sends the query record for the current options, a version-2 record first when the
// options need one and a version-1 record when that is refused. The caller holds the
// lock. `service` receives the window the query went to.
BOOL SearchClient_SendQuery(HWND* service = nullptr);

// What became of a reply handed to SearchClient_StoreReply.
enum class ReplyOutcome {
  kNotExpected,  // no reply is pending; nothing changed
  kStored,       // the reply is the new list
  kDropped,      // both lists freed and nothing stored: error 1 (no memory) or 9 (malformed)
};

// Stores a reply as the list that `pending_kind` announces, freeing the previous lists.
ReplyOutcome SearchClient_StoreReply(DWORD pending_kind, const COPYDATASTRUCT& reply);
