#include "app/new_links/drop_integrity.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include "ui/base/scoped_handles.h"

bool IsProcessElevated(HANDLE process) {
  HANDLE raw = nullptr;
  if (!process || !OpenProcessToken(process, TOKEN_QUERY, &raw)) return false;
  ui::UniqueHandle token(raw);
  TOKEN_ELEVATION elevation = {};
  DWORD size = 0;
  if (!GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof(elevation), &size)) return false;
  return size == sizeof(elevation) && elevation.TokenIsElevated != 0;
}

bool IsShellElevated() {
  ui::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.valid()) return false;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
    if (lstrcmpiW(entry.szExeFile, L"explorer.exe") != 0) continue;
    ui::UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, entry.th32ProcessID));
    return process.valid() && IsProcessElevated(process.get());
  }
  return false;
}

bool LowerToMediumIntegrity() {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(),
                        TOKEN_QUERY | TOKEN_ADJUST_DEFAULT | TOKEN_DUPLICATE | TOKEN_ASSIGN_PRIMARY, &raw)) {
    return false;
  }
  ui::UniqueHandle token(raw);
  SID_IDENTIFIER_AUTHORITY authority = SECURITY_MANDATORY_LABEL_AUTHORITY;
  PSID sid = nullptr;
  if (!AllocateAndInitializeSid(&authority, 1, SECURITY_MANDATORY_MEDIUM_RID, 0, 0, 0, 0, 0, 0, 0, &sid)) {
    return false;
  }
  TOKEN_MANDATORY_LABEL label = {};
  label.Label.Attributes = SE_GROUP_INTEGRITY;
  label.Label.Sid = sid;
  const BOOL set = SetTokenInformation(token.get(), TokenIntegrityLevel, &label,
                                       sizeof(label) + GetLengthSid(sid));
  FreeSid(sid);
  return set != FALSE;
}

void AcceptShellFileDrops(HWND window) {
  DragAcceptFiles(window, TRUE);
  // Looked up at run time: older systems lack it.
  using FilterFn = BOOL(WINAPI*)(UINT, DWORD);
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  auto filter = user32 ? reinterpret_cast<FilterFn>(
                             reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilter")))
                       : nullptr;
  if (!filter) return;
  constexpr DWORD kAllow = 1;  // MSGFLT_ADD
  for (UINT message : {static_cast<UINT>(WM_DROPFILES), 0x49u /* WM_COPYGLOBALDATA */,
                       static_cast<UINT>(WM_COPYDATA)}) {
    filter(message, kAllow);
  }
}

DropRoute ChooseDropRoute(bool selfElevated, bool shellElevated, bool (*lowerIntegrity)()) {
  if (!selfElevated || shellElevated) return DropRoute::kOleTarget;
  return lowerIntegrity() ? DropRoute::kOleTarget : DropRoute::kShellFiles;
}
