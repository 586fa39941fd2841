#include "search_client/result_access.h"

#include "search_client/file_search.h"
#include "search_client/search_client_state.h"

namespace search_client {

namespace {

bool EncodingFits(const ReplyList& list, TextUse text) {
  return text == TextUse::kAny || list.utf16 == (text == TextUse::kUtf16);
}

DWORD ItemCount(const ReplyList& list, bool version2) {
  return version2 ? ItemCountV2(list) : ItemCountV1(list);
}

}  // namespace

const ReplyList* ListForItem(DWORD index, ListUse lists, TextUse text) {
  SearchClientState& s = g_search_client;
  const ReplyList* list = nullptr;
  bool version2 = false;
  if (lists == ListUse::kAny && s.list_v1 && EncodingFits(s.list_v1, text)) {
    list = &s.list_v1;
  } else if (s.list_v2 && EncodingFits(s.list_v2, text)) {
    list = &s.list_v2;
    version2 = true;
  }
  if (!list) {
    SearchClient_SetError(kSearchClientInvalidCall);
    return nullptr;
  }
  if (index >= ItemCount(*list, version2)) {
    SearchClient_SetError(kSearchClientBadIndex);
    return nullptr;
  }
  return list;
}

const BYTE* FieldForItem(DWORD index, DWORD bit, TextUse text) {
  const ReplyList* list = ListForItem(index, ListUse::kV2Only, text);
  if (!list) return nullptr;
  const BYTE* field = FindItemFieldV2(*list, index, bit);
  if (!field) SearchClient_SetError(kSearchClientNoField);
  return field;
}

}  // namespace search_client
