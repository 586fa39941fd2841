// The launch probe appends each start's command line to "probe_log.txt" beside
// itself. Test programs run side by side, so each starts its own copy, in a folder
// named after the test program: no program reads, or deletes, a line that
// another program's starts wrote.
#pragma once

#include <windows.h>

#include <string>

#include "tests/support/test_support.h"

namespace pexo_test {

// "<test folder>\probe.<test program>", holding the copy; made on first use. The
// path stays ASCII, as the build folder is.
inline const std::wstring& OwnProbeFolder() {
  static const std::wstring folder = [] {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring name = self;
    name = name.substr(name.find_last_of(L"\\/") + 1);
    name = name.substr(0, name.find_last_of(L'.'));
    const std::wstring made = ExeFolder() + L"\\probe." + name;
    CreateDirectoryW(made.c_str(), nullptr);
    // A copy left by an earlier run is as good as a fresh one.
    CopyFileW((ExeFolder() + L"\\launch_probe.exe").c_str(), (made + L"\\launch_probe.exe").c_str(), FALSE);
    return made;
  }();
  return folder;
}

inline std::wstring ProbePath() { return OwnProbeFolder() + L"\\launch_probe.exe"; }
inline std::wstring ProbeLog() { return OwnProbeFolder() + L"\\probe_log.txt"; }

}  // namespace pexo_test
