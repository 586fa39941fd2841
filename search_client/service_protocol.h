// The window-message protocol of the file-search service: its window, the record kinds
// carried in WM_COPYDATA and the commands sent with WM_USER.
#pragma once

#include <windows.h>

namespace search_client {

inline constexpr wchar_t kServiceWindowClass[] = L"FILESEARCH_TASKBAR_NOTIFICATION";
inline constexpr wchar_t kReplyWindowClass[] = L"FILESEARCH_CLIENT";

// dwData of the records the client sends.
enum RecordKind : ULONG_PTR {
  kQueryV1Ansi = 1,
  kQueryV1Utf16 = 2,
  kQueryV2Ansi = 17,
  kQueryV2Utf16 = 18,
  kGetRunCountAnsi = 19,
  kGetRunCountUtf16 = 20,
  kSetRunCountAnsi = 21,
  kSetRunCountUtf16 = 22,
  kIncRunCountAnsi = 23,
  kIncRunCountUtf16 = 24,
};

// wParam of a WM_USER command.
enum ServiceCommand : WPARAM {
  kCommandMajorVersion = 0,
  kCommandMinorVersion = 1,
  kCommandRevision = 2,
  kCommandBuildNumber = 3,
  kCommandExit = 4,
  kCommandTargetMachine = 5,
  kCommandIsDbLoaded = 401,
  kCommandIsAdmin = 403,
  kCommandIsAppData = 404,
  kCommandRebuildDb = 405,
  kCommandUpdateAllFolderIndexes = 406,
  kCommandSaveDb = 407,
  kCommandSaveRunHistory = 408,
  kCommandDeleteRunHistory = 409,
};

// Query record headers: reply window (low 32 bits), reply id, search flags, offset and
// max results; version 2 adds request flags and sort. The terminated text follows.
inline constexpr DWORD kQueryV1HeaderSize = 20;
inline constexpr DWORD kQueryV2HeaderSize = 28;

}  // namespace search_client
