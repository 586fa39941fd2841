// One launcher per installation folder: the folder hash, the relaunch as a "main"
// process, a second start that shows the first, the hidden owner window, the
// manifest and the theme warning, run on copies of the real executable.
#include "app/single_instance.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "tests/app/launcher_test_support.h"
#include "tests/support/test_support.h"

namespace {

using launcher_test::WaitFor;

TEST(FolderHashTest, GivesTheKnownValuesAndNamesBothObjectsFromThem) {
  EXPECT_EQ(HashProgramFolder(L"C:\\abc\\"), 0x53898816u);
  EXPECT_EQ(HashProgramFolder(L"C:\\"), 0x6D0B4D36u);
  EXPECT_EQ(HashProgramFolder(L""), 1u);
  EXPECT_NE(HashProgramFolder(L"C:\\abc\\"), HashProgramFolder(L"C:\\abd\\"));
  EXPECT_EQ(InstanceMutexName(0x53898816u), L"PexoMutex_53898816");
  EXPECT_EQ(SharedBlockName(0x0000ABCDu), L"PexoShareMemory_0000ABCD");
}

TEST(FolderHashTest, OnlyTheExactArgumentMainMakesTheMainProcess) {
  EXPECT_TRUE(IsMainProcessCommandLine(L"main"));
  for (const wchar_t* other : {L"", L"Main", L"main ", L" main", L"mainx", L"\"main\""}) {
    EXPECT_FALSE(IsMainProcessCommandLine(other)) << other;
  }
  EXPECT_FALSE(IsMainProcessCommandLine(nullptr));
  const std::wstring verb = RelaunchVerb();
  EXPECT_TRUE(verb == L"open" || verb == L"runas");
}

TEST(SharedBlockTest, ASecondStartPostsTheShowMessageToThePublishedWindow) {
  const std::wstring name = SharedBlockName(GetCurrentProcessId());
  EXPECT_FALSE(NotifyRunningInstance(name)) << "no block yet: the first is still starting";

  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(window);
  SharedBlock block;
  ASSERT_TRUE(block.Publish(name, window));
  EXPECT_TRUE(NotifyRunningInstance(name));
  MSG message = {};
  ASSERT_TRUE(PeekMessageW(&message, window, kShowRunningInstanceMessage, kShowRunningInstanceMessage, PM_REMOVE));
  EXPECT_EQ(message.wParam, 0u);
  EXPECT_EQ(message.lParam, 0);

  block.Close();
  EXPECT_FALSE(NotifyRunningInstance(name)) << "the block goes with its instance";
  DestroyWindow(window);
}

// The running instance's main window as its shared block tells it; null when absent.
HWND PublishedMainWindow(const std::wstring& folder) {
  const std::wstring name = SharedBlockName(HashProgramFolder(folder));
  ui::UniqueHandle mapping(OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str()));
  if (!mapping) return nullptr;
  ui::UniqueMappedView view(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
  if (!view) return nullptr;
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(*static_cast<const uint64_t*>(view.get())));
}

bool MutexExists(const std::wstring& folder) {
  ui::UniqueHandle mutex(OpenMutexW(SYNCHRONIZE, FALSE, InstanceMutexName(HashProgramFolder(folder)).c_str()));
  return static_cast<bool>(mutex);
}

// A copy of Pexo.exe in a temporary folder with a settings file that starts it
// hidden, without tray icon or theme; `settings` adds or replaces keys.
using SettingList = std::vector<std::pair<const wchar_t*, const wchar_t*>>;

class ProgramFolder {
 public:
  explicit ProgramFolder(const SettingList& settings = {}) {
    exe_ = dir_.File(L"Pexo.exe");
    copied_ = CopyFileW((pexo_test::ExeFolder() + L"\\..\\..\\app\\Pexo.exe").c_str(), exe_.c_str(), FALSE) != FALSE;
    SettingList all = {
        {L"bHideOnStart", L"1"}, {L"bAutoDock", L"0"}, {L"bHideNotify", L"1"}, {L"bTopMost", L"0"}, {L"Theme", L""}};
    all.insert(all.end(), settings.begin(), settings.end());
    for (const auto& [key, value] : all) WritePrivateProfileStringW(L"main", key, value, dir_.File(L"conf.ini").c_str());
  }
  ~ProgramFolder() {
    // Close what still runs from this folder before the folder is removed.
    if (HWND main = PublishedMainWindow(folder())) PostMessageW(main, WM_CLOSE, 0, 0);
    WaitFor([&] { return !MutexExists(folder()); }, 20000);
    for (PROCESS_INFORMATION& info : runs_) {
      if (WaitForSingleObject(info.hProcess, 5000) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 99);
      CloseHandle(info.hThread);
      CloseHandle(info.hProcess);
    }
  }

  bool copied() const { return copied_; }
  std::wstring folder() const { return dir_.path() + L"\\"; }

  // Starts the program with the given argument text; the index of the run, -1 on failure.
  int Start(const std::wstring& argument) {
    std::wstring commandLine = L"\"" + exe_ + L"\"" + (argument.empty() ? L"" : L" " + argument);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(exe_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, dir_.path().c_str(),
                        &startup, &info)) {
      return -1;
    }
    runs_.push_back(info);
    return static_cast<int>(runs_.size()) - 1;
  }
  // The run's exit code, or false when it is still running after the wait.
  bool WaitExit(int run, DWORD timeoutMs, DWORD* code) {
    if (run < 0 || WaitForSingleObject(runs_[run].hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    return GetExitCodeProcess(runs_[run].hProcess, code) != FALSE;
  }
  DWORD ProcessId(int run) const { return runs_[run].dwProcessId; }
  HWND WaitMainWindow() {
    HWND main = nullptr;
    WaitFor([&] { return (main = PublishedMainWindow(folder())) != nullptr; }, 30000);
    return main;
  }

 private:
  pexo_test::TempDir dir_;
  std::wstring exe_;
  bool copied_ = false;
  std::vector<PROCESS_INFORMATION> runs_;
};

struct WindowQuery {
  DWORD processId;
  std::wstring className;
  std::wstring title;
  HWND found = nullptr;
};

BOOL CALLBACK FindProcessWindow(HWND hwnd, LPARAM lParam) {
  auto* query = reinterpret_cast<WindowQuery*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t className[64] = {};
  wchar_t title[64] = {};
  GetClassNameW(hwnd, className, 64);
  GetWindowTextW(hwnd, title, 64);
  if (pid == query->processId && query->className == className && (query->title.empty() || query->title == title)) {
    query->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND FindWindowOf(DWORD processId, const wchar_t* className, const wchar_t* title = L"") {
  WindowQuery query = {processId, className, title};
  EnumWindows(&FindProcessWindow, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

TEST(ProgramStartTest, AStartWithoutMainStartsTheMainProcessAndEndsWithZero) {
  ProgramFolder program;
  ASSERT_TRUE(program.copied());
  const int run = program.Start(L"");
  ASSERT_GE(run, 0);
  DWORD code = 1;
  ASSERT_TRUE(program.WaitExit(run, 20000, &code));
  EXPECT_EQ(code, 0u);
  // The relaunched process holds the folder's mutex and publishes its window.
  EXPECT_TRUE(WaitFor([&] { return MutexExists(program.folder()); }, 20000));
  EXPECT_NE(program.WaitMainWindow(), nullptr);
}

TEST(ProgramStartTest, ASecondStartFromTheSameFolderShowsTheFirstAndEnds) {
  ProgramFolder program;
  ASSERT_TRUE(program.copied());
  const int first = program.Start(L"main");
  HWND main = program.WaitMainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(MutexExists(program.folder()));
  EXPECT_FALSE(IsWindowVisible(main)) << "started hidden";
  HWND hidden = FindWindowOf(program.ProcessId(first), L"PexoTopWnd");
  ASSERT_NE(hidden, nullptr);
  EXPECT_FALSE(IsWindowVisible(hidden));
  EXPECT_EQ(GetWindow(main, GW_OWNER), hidden) << "the hidden window owns the main window";

  const int second = program.Start(L"main");
  DWORD code = 1;
  // Generous: a Wine process on a busy machine can take seconds just to start.
  ASSERT_TRUE(program.WaitExit(second, 30000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_FALSE(program.WaitExit(first, 0, &code)) << "the first keeps running";
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }, 20000)) << "the first was shown";
  EXPECT_FALSE(IsWindowVisible(hidden));

  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.WaitExit(first, 20000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_FALSE(MutexExists(program.folder()));
  EXPECT_EQ(PublishedMainWindow(program.folder()), nullptr);
}

TEST(ProgramStartTest, StartsFromTwoFoldersRunSideBySide) {
  ProgramFolder one;
  ProgramFolder two;
  ASSERT_TRUE(one.copied() && two.copied());
  const int runOne = one.Start(L"main");
  ASSERT_NE(one.WaitMainWindow(), nullptr);
  const int runTwo = two.Start(L"main");
  HWND mainTwo = two.WaitMainWindow();
  ASSERT_NE(mainTwo, nullptr);
  EXPECT_NE(mainTwo, one.WaitMainWindow());
  DWORD code = 0;
  EXPECT_FALSE(one.WaitExit(runOne, 0, &code));
  EXPECT_FALSE(two.WaitExit(runTwo, 0, &code));
}

std::wstring WindowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

TEST(ProgramStartTest, AThemeThatFailsToLoadIsReportedAndTheProgramGoesOn) {
  ProgramFolder program(SettingList{{L"Theme", L"no_such_theme"}});
  ASSERT_TRUE(program.copied());
  const int run = program.Start(L"main");
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindWindowOf(program.ProcessId(run), L"#32770", L"警告")) != nullptr; },
                      20000));
  std::wstring text;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) text += WindowText(child);
  EXPECT_NE(text.find(L"主题[no_such_theme]加载失败！将使用默认主题！"), std::wstring::npos) << text;
  EXPECT_EQ(PublishedMainWindow(program.folder()), nullptr) << "the start waits for the answer";
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_NE(program.WaitMainWindow(), nullptr);
}

TEST(ProgramManifestTest, NamesCommonControlsSixAsInvokerAndWindowsTen) {
  const std::wstring exe = pexo_test::ExeFolder() + L"\\..\\..\\app\\Pexo.exe";
  ui::UniqueModule module(LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(module);
  HRSRC resource = FindResourceW(module.get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_TRUE(resource);
  HGLOBAL loaded = LoadResource(module.get(), resource);
  const std::string manifest(static_cast<const char*>(LockResource(loaded)), SizeofResource(module.get(), resource));
  for (const char* expected : {"Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"", "level=\"asInvoker\"",
                               "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
    EXPECT_NE(manifest.find(expected), std::string::npos) << expected;
  }
}

}  // namespace
