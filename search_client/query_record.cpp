#include "search_client/query_record.h"

#include <cstring>
#include <cwchar>

#include "search_client/file_search.h"
#include "search_client/search_client_state.h"
#include "search_client/service_protocol.h"

namespace search_client {

namespace {

// Characters the search text takes in the query's encoding, terminator included.
size_t QueryTextChars(const SearchClientState& s, bool utf16) {
  if (!s.search_text) return 1;
  if (s.search_is_utf16) {
    const auto* text = static_cast<const wchar_t*>(s.search_text);
    if (utf16) return std::wcslen(text) + 1;
    const int chars = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    return chars > 0 ? chars : 1;
  }
  const auto* text = static_cast<const char*>(s.search_text);
  if (!utf16) return std::strlen(text) + 1;
  const int chars = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  return chars > 0 ? chars : 1;
}

// Writes the search text and its terminator, `chars` characters in all.
void WriteQueryText(const SearchClientState& s, bool utf16, BYTE* out, size_t chars) {
  const size_t bytes = chars * (utf16 ? 2 : 1);
  std::memset(out, 0, bytes);
  if (!s.search_text || chars <= 1) return;
  if (s.search_is_utf16 == static_cast<BOOL>(utf16)) {
    std::memcpy(out, s.search_text, bytes);
  } else if (utf16) {
    MultiByteToWideChar(CP_ACP, 0, static_cast<const char*>(s.search_text), -1,
                        reinterpret_cast<wchar_t*>(out), static_cast<int>(chars));
  } else {
    WideCharToMultiByte(CP_ACP, 0, static_cast<const wchar_t*>(s.search_text), -1,
                        reinterpret_cast<char*>(out), static_cast<int>(chars), nullptr, nullptr);
  }
}

void WriteU32(BYTE*& at, DWORD value) {
  std::memcpy(at, &value, 4);
  at += 4;
}

}  // namespace

DWORD SearchFlagsOf(const SearchClientState& s) {
  DWORD flags = 0;
  if (s.match_case) flags |= kSearchFlagMatchCase;
  if (s.match_whole_word) flags |= kSearchFlagMatchWholeWord;
  if (s.match_path) flags |= kSearchFlagMatchPath;
  if (s.regex) flags |= kSearchFlagRegex;
  return flags;
}

QueryRecord BuildQueryRecord(const SearchClientState& s, bool version2) {
  const bool utf16 = s.query_is_utf16 != 0;
  const size_t chars = QueryTextChars(s, utf16);
  const size_t header = version2 ? kQueryV2HeaderSize : kQueryV1HeaderSize;
  const size_t size = header + chars * (utf16 ? 2 : 1);
  QueryRecord record;
  record.data = static_cast<BYTE*>(SearchClient_Alloc(size));
  if (!record.data) return record;
  record.size = static_cast<DWORD>(size);
  BYTE* at = record.data;
  // The service takes the reply window's low 32 bits: window handles are 32-bit values.
  WriteU32(at, static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(s.reply_window)));
  WriteU32(at, s.reply_id);
  WriteU32(at, SearchFlagsOf(s));
  WriteU32(at, s.offset);
  WriteU32(at, s.max_results);
  if (version2) {
    WriteU32(at, s.request_flags);
    WriteU32(at, s.sort);
  }
  WriteQueryText(s, utf16, at, chars);
  return record;
}

}  // namespace search_client
