// The real program in a folder of its own: a second start summons the first
// (message 1125) while it starts hidden; a close saves its placement and indexes
// and ends with 0; a start after that works again.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/app/support/published_window.h"
#include "tests/support/pexo_program.h"
#include "tests/support/test_support.h"

namespace {

using pexo_test::WaitUntil;

// One run of Pexo.exe copied into a temporary folder; ended by force only when a
// check failed before the program closed itself.
class ProgramRun {
 public:
  explicit ProgramRun(const std::wstring& exe) {
    std::wstring commandLine = L"\"" + exe + L"\" main";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    const std::wstring folder = exe.substr(0, exe.rfind(L'\\'));
    started_ = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              folder.c_str(), &startup, &info_) != FALSE;
  }
  ~ProgramRun() {
    if (!started_) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  bool started() const { return started_; }
  HWND MainWindow(DWORD timeoutMs = 20000) {
    HWND found = nullptr;
    WaitUntil([&] {
      return (found = pexo_test::FindProcessWindow(info_.dwProcessId, L"PexoWnd", nullptr, false)) != nullptr;
    }, timeoutMs);
    return found;
  }
  // The exit code, or nothing when the program is still running after the wait.
  bool WaitExit(DWORD timeoutMs, DWORD* code) {
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    return GetExitCodeProcess(info_.hProcess, code) != FALSE;
  }

 private:
  PROCESS_INFORMATION info_ = {};
  bool started_ = false;
};

int ReadInt(const std::wstring& ini, const wchar_t* key) {
  return static_cast<int>(GetPrivateProfileIntW(L"main", key, -12345, ini.c_str()));
}

TEST(ProgramLifecycleTest, SecondStartSummonsAndCloseSavesPlacementAndIndexesAndExitsWithZero) {
  pexo_test::TempDir dir;
  const std::wstring exe = dir.File(L"Pexo.exe");
  ASSERT_TRUE(CopyFileW((pexo_test::ExeFolder() + L"\\..\\..\\app\\Pexo.exe").c_str(), exe.c_str(), FALSE));
  const std::wstring ini = dir.File(L"conf.ini");
  const wchar_t* initial[][2] = {{L"nPosX", L"120"},      {L"nPosY", L"80"},       {L"nWidth", L"300"},
                                 {L"nHeight", L"420"},    {L"bHideOnStart", L"1"}, {L"bAutoDock", L"0"},
                                 {L"bHideNotify", L"1"},  {L"bTopMost", L"0"},     {L"Theme", L""},
                                 {L"nCurGroup", L"0"},    {L"nCurTag", L"0"}};
  for (const auto& entry : initial) {
    ASSERT_TRUE(WritePrivateProfileStringW(L"main", entry[0], entry[1], ini.c_str()));
  }

  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run == 0 ? "first start" : "start after a close");
    ProgramRun program(exe);
    ASSERT_TRUE(program.started());
    HWND main = program.MainWindow();
    ASSERT_NE(main, nullptr) << "no main window";
    EXPECT_FALSE(IsWindowVisible(main)) << "starts hidden";

    if (run == 0) {
      // A second start from the same folder posts 1125 to the running one and ends.
      // The first publishes its window once it is up; before that a second start
      // finds nobody to show, so it starts once the window is published.
      const std::wstring folder = exe.substr(0, exe.rfind(L'\\') + 1);
      ASSERT_TRUE(WaitUntil([&] { return pexo_test::PublishedMainWindow(folder) == main; }, 20000))
          << "the running program never published its window";
      ProgramRun second(exe);
      ASSERT_TRUE(second.started());
      DWORD secondCode = 1;
      ASSERT_TRUE(second.WaitExit(20000, &secondCode)) << "the second start did not end";
      EXPECT_EQ(secondCode, 0u);
    } else {
      // What a second start posts, sent directly.
      PostMessageW(main, 1125, 0, 0);
    }
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 10000));
    RECT rect = {};
    GetWindowRect(main, &rect);
    EXPECT_EQ(rect.left, run == 0 ? 120 : 500);
    EXPECT_EQ(rect.right - rect.left, 300);

    SetWindowPos(main, nullptr, 500, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageW(main, WM_CLOSE, 0, 0);
    DWORD code = 1;
    ASSERT_TRUE(program.WaitExit(20000, &code)) << "still running after the close";
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(ReadInt(ini, L"nPosX"), 500);
    EXPECT_EQ(ReadInt(ini, L"nPosY"), 300);
    EXPECT_EQ(ReadInt(ini, L"nWidth"), 300);
    EXPECT_EQ(ReadInt(ini, L"nHeight"), 420);
    EXPECT_EQ(ReadInt(ini, L"nCurGroup"), 0);
    EXPECT_EQ(ReadInt(ini, L"nCurTag"), 0);
    // The databases were made beside the program.
    EXPECT_NE(GetFileAttributesW(dir.File(L"db\\link.db").c_str()), INVALID_FILE_ATTRIBUTES);
  }
}

}  // namespace
