// Client of the external file-search service, exported by the executable as plain
// C functions with undecorated names. Any thread may call any function; the client's
// state is guarded by one process-wide lock. Texts come in ANSI (the system code
// page) and UTF-16 forms, named with the suffixes A and W.
#pragma once

#include <windows.h>

#ifdef __cplusplus
#define FILESEARCH_API extern "C" __declspec(dllexport)
#else
#define FILESEARCH_API __declspec(dllexport)
#endif

// Values of FileSearch_GetLastError.
enum SearchClientError : DWORD {
  kSearchClientOk = 0,
  kSearchClientNoMemory = 1,
  kSearchClientNoService = 2,          // no service window, or the service refused the query
  kSearchClientRegisterClassFailed = 3,
  kSearchClientCreateWindowFailed = 4,
  kSearchClientCreateThreadFailed = 5,
  kSearchClientBadIndex = 6,
  kSearchClientInvalidCall = 7,        // no usable list, wrong encoding, run count refused
  kSearchClientNoField = 8,            // the reply does not carry the requested field
  kSearchClientBadReply = 9,           // the service's reply list is malformed and was dropped
};

// Search flags of a query record.
enum : DWORD {
  kSearchFlagMatchCase = 0x1,
  kSearchFlagMatchWholeWord = 0x2,
  kSearchFlagMatchPath = 0x4,
  kSearchFlagRegex = 0x8,
};

// Request flags: the fields a version-2 reply carries for every item, in this order.
enum : DWORD {
  kRequestFileName = 0x1,
  kRequestPath = 0x2,
  kRequestFullPathAndFileName = 0x4,
  kRequestExtension = 0x8,
  kRequestSize = 0x10,
  kRequestDateCreated = 0x20,
  kRequestDateModified = 0x40,
  kRequestDateAccessed = 0x80,
  kRequestAttributes = 0x100,
  kRequestFileListFileName = 0x200,
  kRequestRunCount = 0x400,
  kRequestDateRun = 0x800,
  kRequestDateRecentlyChanged = 0x1000,
  kRequestHighlightedFileName = 0x2000,
  kRequestHighlightedPath = 0x4000,
  kRequestHighlightedFullPathAndFileName = 0x8000,
};

// Options and search text.
FILESEARCH_API void FileSearch_SetMatchPath(BOOL enable);
FILESEARCH_API void FileSearch_SetMatchCase(BOOL enable);
FILESEARCH_API void FileSearch_SetMatchWholeWord(BOOL enable);
FILESEARCH_API void FileSearch_SetRegex(BOOL enable);
FILESEARCH_API void FileSearch_SetMax(DWORD max_results);
FILESEARCH_API void FileSearch_SetOffset(DWORD offset);
FILESEARCH_API void FileSearch_SetSort(DWORD sort);
FILESEARCH_API void FileSearch_SetRequestFlags(DWORD request_flags);
FILESEARCH_API void FileSearch_SetReplyID(DWORD id);
FILESEARCH_API void FileSearch_SetReplyWindow(HWND window);
FILESEARCH_API void FileSearch_SetSearchA(LPCSTR text);
FILESEARCH_API void FileSearch_SetSearchW(LPCWSTR text);
FILESEARCH_API BOOL FileSearch_GetMatchPath(void);
FILESEARCH_API BOOL FileSearch_GetMatchCase(void);
FILESEARCH_API BOOL FileSearch_GetMatchWholeWord(void);
FILESEARCH_API BOOL FileSearch_GetRegex(void);
FILESEARCH_API DWORD FileSearch_GetMax(void);
FILESEARCH_API DWORD FileSearch_GetOffset(void);
FILESEARCH_API DWORD FileSearch_GetSort(void);
FILESEARCH_API DWORD FileSearch_GetRequestFlags(void);
FILESEARCH_API DWORD FileSearch_GetReplyID(void);
FILESEARCH_API HWND FileSearch_GetReplyWindow(void);
FILESEARCH_API LPCSTR FileSearch_GetSearchA(void);
FILESEARCH_API LPCWSTR FileSearch_GetSearchW(void);

// State.
FILESEARCH_API DWORD FileSearch_GetLastError(void);
FILESEARCH_API void FileSearch_Reset(void);
FILESEARCH_API void FileSearch_CleanUp(void);

// Service commands.
FILESEARCH_API DWORD FileSearch_GetMajorVersion(void);
FILESEARCH_API DWORD FileSearch_GetMinorVersion(void);
FILESEARCH_API DWORD FileSearch_GetRevision(void);
FILESEARCH_API DWORD FileSearch_GetBuildNumber(void);
FILESEARCH_API DWORD FileSearch_GetTargetMachine(void);
FILESEARCH_API BOOL FileSearch_Exit(void);
FILESEARCH_API BOOL FileSearch_IsDBLoaded(void);
FILESEARCH_API BOOL FileSearch_IsAdmin(void);
FILESEARCH_API BOOL FileSearch_IsAppData(void);
FILESEARCH_API BOOL FileSearch_RebuildDB(void);
FILESEARCH_API BOOL FileSearch_UpdateAllFolderIndexes(void);
FILESEARCH_API BOOL FileSearch_SaveDB(void);
FILESEARCH_API BOOL FileSearch_SaveRunHistory(void);
FILESEARCH_API BOOL FileSearch_DeleteRunHistory(void);

// Run counts kept by the service.
FILESEARCH_API DWORD FileSearch_GetRunCountFromFileNameA(LPCSTR file_name);
FILESEARCH_API DWORD FileSearch_GetRunCountFromFileNameW(LPCWSTR file_name);
FILESEARCH_API BOOL FileSearch_SetRunCountFromFileNameA(LPCSTR file_name, DWORD run_count);
FILESEARCH_API BOOL FileSearch_SetRunCountFromFileNameW(LPCWSTR file_name, DWORD run_count);
FILESEARCH_API DWORD FileSearch_IncRunCountFromFileNameA(LPCSTR file_name);
FILESEARCH_API DWORD FileSearch_IncRunCountFromFileNameW(LPCWSTR file_name);

// Queries. With wait non-zero the call returns once the reply is stored; with wait 0
// the reply goes to the window set by FileSearch_SetReplyWindow, whose window
// procedure hands every message to FileSearch_IsQueryReply.
FILESEARCH_API BOOL FileSearch_QueryA(BOOL wait);
FILESEARCH_API BOOL FileSearch_QueryW(BOOL wait);
FILESEARCH_API BOOL FileSearch_IsQueryReply(UINT message, WPARAM wparam, LPARAM lparam, DWORD id);

// Counts and list header.
FILESEARCH_API DWORD FileSearch_GetNumResults(void);
FILESEARCH_API DWORD FileSearch_GetTotResults(void);
FILESEARCH_API DWORD FileSearch_GetNumFileResults(void);
FILESEARCH_API DWORD FileSearch_GetNumFolderResults(void);
FILESEARCH_API DWORD FileSearch_GetTotFileResults(void);
FILESEARCH_API DWORD FileSearch_GetTotFolderResults(void);
FILESEARCH_API DWORD FileSearch_GetResultListRequestFlags(void);
FILESEARCH_API DWORD FileSearch_GetResultListSort(void);

// Per-item accessors. Returned strings point into the stored reply and stay valid
// until the next reply is stored, FileSearch_Reset or FileSearch_CleanUp.
FILESEARCH_API BOOL FileSearch_IsFileResult(DWORD index);
FILESEARCH_API BOOL FileSearch_IsFolderResult(DWORD index);
FILESEARCH_API BOOL FileSearch_IsVolumeResult(DWORD index);
FILESEARCH_API LPCSTR FileSearch_GetResultFileNameA(DWORD index);
FILESEARCH_API LPCWSTR FileSearch_GetResultFileNameW(DWORD index);
FILESEARCH_API LPCSTR FileSearch_GetResultPathA(DWORD index);
FILESEARCH_API LPCWSTR FileSearch_GetResultPathW(DWORD index);
FILESEARCH_API LPCSTR FileSearch_GetResultExtensionA(DWORD index);
FILESEARCH_API LPCWSTR FileSearch_GetResultExtensionW(DWORD index);
FILESEARCH_API LPCSTR FileSearch_GetResultFileListFileNameA(DWORD index);
FILESEARCH_API LPCWSTR FileSearch_GetResultFileListFileNameW(DWORD index);
FILESEARCH_API LPCSTR FileSearch_GetResultHighlightedFileNameA(DWORD index);
FILESEARCH_API LPCWSTR FileSearch_GetResultHighlightedFileNameW(DWORD index);
FILESEARCH_API LPCSTR FileSearch_GetResultHighlightedPathA(DWORD index);
FILESEARCH_API LPCWSTR FileSearch_GetResultHighlightedPathW(DWORD index);
FILESEARCH_API LPCSTR FileSearch_GetResultHighlightedFullPathAndFileNameA(DWORD index);
FILESEARCH_API LPCWSTR FileSearch_GetResultHighlightedFullPathAndFileNameW(DWORD index);
FILESEARCH_API BOOL FileSearch_GetResultSize(DWORD index, LARGE_INTEGER* size);
FILESEARCH_API BOOL FileSearch_GetResultDateCreated(DWORD index, FILETIME* date);
FILESEARCH_API BOOL FileSearch_GetResultDateModified(DWORD index, FILETIME* date);
FILESEARCH_API BOOL FileSearch_GetResultDateAccessed(DWORD index, FILETIME* date);
FILESEARCH_API BOOL FileSearch_GetResultDateRun(DWORD index, FILETIME* date);
FILESEARCH_API BOOL FileSearch_GetResultDateRecentlyChanged(DWORD index, FILETIME* date);
FILESEARCH_API DWORD FileSearch_GetResultAttributes(DWORD index);
FILESEARCH_API DWORD FileSearch_GetResultRunCount(DWORD index);
// Writes "path\name" into buffer (size in characters, terminator included) and returns
// the characters written without terminator; with a null buffer and size 0 it returns
// the full length.
FILESEARCH_API DWORD FileSearch_GetResultFullPathNameA(DWORD index, LPSTR buffer, DWORD size);
FILESEARCH_API DWORD FileSearch_GetResultFullPathNameW(DWORD index, LPWSTR buffer, DWORD size);
FILESEARCH_API void FileSearch_SortResultsByPath(void);
