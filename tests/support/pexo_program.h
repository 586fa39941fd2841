// The real Pexo.exe copied into a fresh temporary folder and started from there,
// watched only from outside: its windows by process, its message boxes, its exit.
#pragma once

#include <windows.h>

#include <string>

#include "tests/support/test_support.h"

namespace pexo_test {

template <typename Condition>
bool WaitUntil(Condition done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

// A top-level window of the process with the given class and/or title (null
// matches any); only visible ones when asked.
inline HWND FindProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* title, bool visibleOnly) {
  struct Query {
    DWORD processId;
    const wchar_t* className;
    const wchar_t* title;
    bool visibleOnly;
    HWND found;
  } query = {processId, className, title, visibleOnly, nullptr};
  EnumWindows(
      [](HWND hwnd, LPARAM data) -> BOOL {
        auto* q = reinterpret_cast<Query*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner != q->processId || (q->visibleOnly && !IsWindowVisible(hwnd))) return TRUE;
        wchar_t text[256] = {};
        if (q->className) {
          GetClassNameW(hwnd, text, 256);
          if (std::wstring(text) != q->className) return TRUE;
        }
        if (q->title) {
          GetWindowTextW(hwnd, text, 256);
          if (std::wstring(text) != q->title) return TRUE;
        }
        q->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&query));
  return query.found;
}

// The first non-empty static text of a message box.
inline std::wstring MessageBoxText(HWND box) {
  for (HWND label = FindWindowExW(box, nullptr, L"Static", nullptr); label;
       label = FindWindowExW(box, label, L"Static", nullptr)) {
    wchar_t text[512] = {};
    if (GetWindowTextW(label, text, 512) > 0) return text;
  }
  return {};
}

// A folder holding a copy of the built Pexo.exe and, when given, a conf.ini; one
// run of the program at a time. A run still going when the object ends is killed.
class PexoProgram {
 public:
  static constexpr wchar_t kErrorCaption[] = L"Pexo - 错误";
  // The main window's warnings, and the start-up ones (a theme that cannot be loaded).
  static constexpr wchar_t kWarningCaption[] = L"Pexo - 警告";
  static constexpr wchar_t kStartWarningCaption[] = L"警告";

  // `conf` is written as conf.ini when not empty.
  explicit PexoProgram(const std::string& conf = {}) {
    folder_ = dir_.path() + L"\\";
    copied_ = CopyFileW((ExeFolder() + L"\\..\\..\\app\\Pexo.exe").c_str(), File(L"Pexo.exe").c_str(), FALSE) != FALSE;
    if (!conf.empty()) WriteFileBytes(File(L"conf.ini"), conf);
    CreateDirectoryW(File(L"db").c_str(), nullptr);
  }
  ~PexoProgram() { Kill(); }
  PexoProgram(const PexoProgram&) = delete;
  PexoProgram& operator=(const PexoProgram&) = delete;

  bool copied() const { return copied_; }
  const std::wstring& folder() const { return folder_; }
  std::wstring File(const std::wstring& name) const { return folder_ + name; }
  DWORD processId() const { return info_.dwProcessId; }
  HANDLE process() const { return info_.hProcess; }

  // Starts the program with the argument as the relaunched main process gets it.
  // Right after a process of the same program ended, Wine now and then refuses a
  // new one for a moment: a refused start is tried again for up to two seconds.
  bool Start(const std::wstring& argument = L"main") {
    Kill();
    std::wstring commandLine = L"\"" + File(L"Pexo.exe") + L"\"" + (argument.empty() ? L"" : L" " + argument);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    for (int attempt = 0; attempt < 10; ++attempt) {
      info_ = {};
      if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &startup,
                         &info_)) {
        return true;
      }
      startError_ = GetLastError();
      Sleep(200);
    }
    return false;
  }
  // Why the last refused start was refused (GetLastError of CreateProcessW).
  DWORD startError() const { return startError_; }
  bool Running() const { return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

  // The main window (class "PexoWnd"), shown or not; null after the wait.
  HWND WaitMainWindow(DWORD timeoutMs = 30000) const {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindProcessWindow(processId(), L"PexoWnd", nullptr, false)) != nullptr; },
              timeoutMs);
    return found;
  }
  // A visible window with this title (a message box by its caption); null after the wait
  // or as soon as the process has ended.
  HWND WaitWindowTitled(const wchar_t* title, DWORD timeoutMs = 30000) const {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindProcessWindow(processId(), nullptr, title, true)) != nullptr || !Running(); },
              timeoutMs);
    return found;
  }
  // Whichever comes first: the main window or an error box; warning boxes on the
  // way are answered and their texts added to `warnings` when given. Both null when
  // the process ended (or hung) without either.
  void WaitMainWindowOrError(HWND* main, HWND* error, DWORD timeoutMs = 30000,
                             std::wstring* warnings = nullptr) const {
    *main = *error = nullptr;
    WaitUntil(
        [&] {
          HWND warning = FindProcessWindow(processId(), nullptr, kWarningCaption, true);
          if (!warning) warning = FindProcessWindow(processId(), nullptr, kStartWarningCaption, true);
          if (warning) {
            if (warnings) *warnings += MessageBoxText(warning) + L"\n";
            SendMessageTimeoutW(warning, WM_COMMAND, IDOK, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
            return false;
          }
          *error = FindProcessWindow(processId(), nullptr, kErrorCaption, true);
          if (!*error) *main = FindProcessWindow(processId(), L"PexoWnd", nullptr, false);
          return *error || *main || !Running();
        },
        timeoutMs);
  }
  // True when the window answers a message within the time.
  static bool Answers(HWND hwnd, UINT timeoutMs = 1000) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
  }

  // The exit code; false when the process still runs after the wait.
  bool WaitExit(DWORD timeoutMs, DWORD* code) const {
    if (!info_.hProcess || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    return GetExitCodeProcess(info_.hProcess, code) != FALSE;
  }
  // Closes the main window and gives the exit code (0xFFFFFFFF when it did not end).
  DWORD CloseAndWait(HWND main, DWORD timeoutMs = 20000) const {
    PostMessageW(main, WM_CLOSE, 0, 0);
    DWORD code = 0xFFFFFFFF;
    WaitExit(timeoutMs, &code);
    return code;
  }
  // Ends the run by force, as a crash or a power cut would.
  void Kill() {
    if (!info_.hProcess) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 5000);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
    info_ = {};
  }

 private:
  TempDir dir_;
  std::wstring folder_;
  bool copied_ = false;
  PROCESS_INFORMATION info_ = {};
  DWORD startError_ = 0;
};

}  // namespace pexo_test
