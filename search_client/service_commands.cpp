// Numbered service commands and the run-count records. None of these takes the
// client lock: they only read the service window afresh and write the last error.
#include <cstring>
#include <cwchar>

#include "search_client/file_search.h"
#include "search_client/search_client_state.h"
#include "search_client/service_link.h"
#include "search_client/service_protocol.h"

using namespace search_client;

namespace {

LRESULT SendCommand(ServiceCommand command) {
  HWND service = SearchClient_FindService();
  if (!service) {
    SearchClient_SetError(kSearchClientNoService);
    return 0;
  }
  SearchClient_SetError(kSearchClientOk);
  return SendMessageW(service, WM_USER, command, 0);
}

DWORD AskNumber(ServiceCommand command) { return static_cast<DWORD>(SendCommand(command)); }
BOOL AskYesNo(ServiceCommand command) { return SendCommand(command) != 0 ? TRUE : FALSE; }

// A null file name is sent as the empty name rather than read through.
LPCSTR OrEmpty(LPCSTR text) { return text ? text : ""; }
LPCWSTR OrEmpty(LPCWSTR text) { return text ? text : L""; }

DWORD AnsiNameBytes(LPCSTR name) { return static_cast<DWORD>(std::strlen(name) + 1); }
DWORD WideNameBytes(LPCWSTR name) { return static_cast<DWORD>((std::wcslen(name) + 1) * sizeof(wchar_t)); }

// The set-run-count record: the count, then the terminated name.
BOOL SendSetRunCount(RecordKind kind, const void* name, DWORD name_bytes, DWORD run_count) {
  const DWORD size = 4 + name_bytes;
  auto* record = static_cast<BYTE*>(SearchClient_Alloc(size));
  if (!record) {
    SearchClient_SetError(kSearchClientNoMemory);
    return FALSE;
  }
  std::memcpy(record, &run_count, 4);
  std::memcpy(record + 4, name, name_bytes);
  const LRESULT answer = SearchClient_SendCopyData(kind, record, size);
  SearchClient_Free(record);
  if (answer == 0) {
    SearchClient_SetError(kSearchClientInvalidCall);
    return FALSE;
  }
  return TRUE;
}

}  // namespace

DWORD FileSearch_GetMajorVersion(void) { return AskNumber(kCommandMajorVersion); }
DWORD FileSearch_GetMinorVersion(void) { return AskNumber(kCommandMinorVersion); }
DWORD FileSearch_GetRevision(void) { return AskNumber(kCommandRevision); }
DWORD FileSearch_GetBuildNumber(void) { return AskNumber(kCommandBuildNumber); }
DWORD FileSearch_GetTargetMachine(void) { return AskNumber(kCommandTargetMachine); }
BOOL FileSearch_Exit(void) { return AskYesNo(kCommandExit); }
BOOL FileSearch_IsDBLoaded(void) { return AskYesNo(kCommandIsDbLoaded); }
BOOL FileSearch_IsAdmin(void) { return AskYesNo(kCommandIsAdmin); }
BOOL FileSearch_IsAppData(void) { return AskYesNo(kCommandIsAppData); }
BOOL FileSearch_RebuildDB(void) { return AskYesNo(kCommandRebuildDb); }
BOOL FileSearch_UpdateAllFolderIndexes(void) { return AskYesNo(kCommandUpdateAllFolderIndexes); }
BOOL FileSearch_SaveDB(void) { return AskYesNo(kCommandSaveDb); }
BOOL FileSearch_SaveRunHistory(void) { return AskYesNo(kCommandSaveRunHistory); }
BOOL FileSearch_DeleteRunHistory(void) { return AskYesNo(kCommandDeleteRunHistory); }

DWORD FileSearch_GetRunCountFromFileNameA(LPCSTR file_name) {
  file_name = OrEmpty(file_name);
  return static_cast<DWORD>(SearchClient_SendCopyData(kGetRunCountAnsi, file_name, AnsiNameBytes(file_name)));
}

DWORD FileSearch_GetRunCountFromFileNameW(LPCWSTR file_name) {
  file_name = OrEmpty(file_name);
  return static_cast<DWORD>(SearchClient_SendCopyData(kGetRunCountUtf16, file_name, WideNameBytes(file_name)));
}

DWORD FileSearch_IncRunCountFromFileNameA(LPCSTR file_name) {
  file_name = OrEmpty(file_name);
  return static_cast<DWORD>(SearchClient_SendCopyData(kIncRunCountAnsi, file_name, AnsiNameBytes(file_name)));
}

DWORD FileSearch_IncRunCountFromFileNameW(LPCWSTR file_name) {
  file_name = OrEmpty(file_name);
  return static_cast<DWORD>(SearchClient_SendCopyData(kIncRunCountUtf16, file_name, WideNameBytes(file_name)));
}

BOOL FileSearch_SetRunCountFromFileNameA(LPCSTR file_name, DWORD run_count) {
  file_name = OrEmpty(file_name);
  return SendSetRunCount(kSetRunCountAnsi, file_name, AnsiNameBytes(file_name), run_count);
}

BOOL FileSearch_SetRunCountFromFileNameW(LPCWSTR file_name, DWORD run_count) {
  file_name = OrEmpty(file_name);
  return SendSetRunCount(kSetRunCountUtf16, file_name, WideNameBytes(file_name), run_count);
}
