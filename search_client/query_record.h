// Building the query records the client sends to the service.
#pragma once

#include <windows.h>

struct SearchClientState;

namespace search_client {

// A record in a process-heap block; data is null when the allocation failed.
struct QueryRecord {
  BYTE* data = nullptr;
  DWORD size = 0;
};

// Search flags from the stored options: any non-zero option sets its bit.
DWORD SearchFlagsOf(const SearchClientState& state);

// The query record of the given version for the state's options, reply window, reply
// id and search text, in the query's encoding (query_is_utf16). A search text stored in
// the other encoding is converted through the ANSI code page; no stored text gives an
// empty one. The caller frees the block with SearchClient_Free.
QueryRecord BuildQueryRecord(const SearchClientState& state, bool version2);

}  // namespace search_client
