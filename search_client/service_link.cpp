#include "search_client/service_link.h"

#include <cstring>

#include "search_client/file_search.h"
#include "search_client/query_record.h"
#include "search_client/search_client_state.h"
#include "search_client/service_protocol.h"

using namespace search_client;

namespace {

LRESULT SendRecord(HWND service, WPARAM wparam, ULONG_PTR kind, const void* data, DWORD size) {
  COPYDATASTRUCT record{kind, size, const_cast<void*>(data)};
  return SendMessageW(service, WM_COPYDATA, wparam, reinterpret_cast<LPARAM>(&record));
}

// Sends one query record of the given version; 0 when it could not be built or the
// service refused it. `built` tells which.
LRESULT SendQueryRecord(HWND service, bool version2, bool* built) {
  SearchClientState& s = g_search_client;
  QueryRecord record = BuildQueryRecord(s, version2);
  *built = record.data != nullptr;
  if (!record.data) return 0;
  const bool utf16 = s.query_is_utf16 != 0;
  const ULONG_PTR kind = version2 ? (utf16 ? kQueryV2Utf16 : kQueryV2Ansi)
                                  : (utf16 ? kQueryV1Utf16 : kQueryV1Ansi);
  // The pending kind must be set before sending: the service may reply while the
  // record is still being delivered.
  s.pending_reply_kind = version2 ? kPendingListV2 : kPendingListV1;
  const LRESULT answer =
      SendRecord(service, reinterpret_cast<WPARAM>(s.reply_window), kind, record.data, record.size);
  SearchClient_Free(record.data);
  return answer;
}

}  // namespace

HWND SearchClient_FindService() { return FindWindowW(kServiceWindowClass, nullptr); }

LRESULT SearchClient_SendCopyData(ULONG_PTR kind, const void* data, DWORD size) {
  HWND service = SearchClient_FindService();
  if (!service) {
    SearchClient_SetError(kSearchClientNoService);
    return 0;
  }
  return SendRecord(service, 0, kind, data, size);
}

BOOL SearchClient_SendQuery(HWND* service_out) {
  SearchClientState& s = g_search_client;
  HWND service = SearchClient_FindService();
  if (service_out) *service_out = service;
  if (!service) {
    SearchClient_SetError(kSearchClientNoService);
    return FALSE;
  }
  s.pending_reply_kind = kPendingListV2;
  bool built = false;
  // Only the version-2 record carries request flags and sort; with the defaults the
  // version-1 record says the same. A refused or unbuildable version-2 record falls
  // back to version 1 and leaves no error behind.
  if (!(s.request_flags == 3 && s.sort == 1) && SendQueryRecord(service, true, &built) != 0) {
    return TRUE;
  }
  const LRESULT answer = SendQueryRecord(service, false, &built);
  if (!built) {
    SearchClient_SetError(kSearchClientNoMemory);
    return FALSE;
  }
  if (answer == 0) {
    SearchClient_SetError(kSearchClientNoService);
    return FALSE;
  }
  return TRUE;
}

ReplyOutcome SearchClient_StoreReply(DWORD pending_kind, const COPYDATASTRUCT& reply) {
  if (pending_kind != kPendingListV1 && pending_kind != kPendingListV2) return ReplyOutcome::kNotExpected;
  SearchClientState& s = g_search_client;
  SearchClient_FreeLists();
  // The reply's strings are in the encoding of the query it answers; the list keeps
  // that encoding so that a later query in the other encoding cannot make it misread.
  const bool utf16 = s.query_is_utf16 != 0;
  if (!reply.lpData || reply.cbData == 0) {
    SearchClient_SetError(kSearchClientBadReply);
    return ReplyOutcome::kDropped;
  }
  auto* copy = static_cast<BYTE*>(SearchClient_Alloc(reply.cbData));
  if (!copy) {
    SearchClient_SetError(kSearchClientNoMemory);
    return ReplyOutcome::kDropped;
  }
  std::memcpy(copy, reply.lpData, reply.cbData);
  // Checked on the private copy, so that what was checked is what the accessors read.
  const bool valid = pending_kind == kPendingListV2 ? IsValidListV2(copy, reply.cbData, utf16)
                                                    : IsValidListV1(copy, reply.cbData, utf16);
  if (!valid) {
    SearchClient_Free(copy);
    SearchClient_SetError(kSearchClientBadReply);
    return ReplyOutcome::kDropped;
  }
  ReplyList& list = pending_kind == kPendingListV2 ? s.list_v2 : s.list_v1;
  list = ReplyList{copy, reply.cbData, utf16};
  return ReplyOutcome::kStored;
}
