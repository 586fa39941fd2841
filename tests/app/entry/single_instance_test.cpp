// One launcher per installation folder: the folder hash, the relaunch as a "main"
// process, a second start that shows the first, the hidden owner window, the
// manifest and the theme warning, run on copies of the real executable.
#include "app/entry/single_instance.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/app/support/published_window.h"
#include "tests/support/pexo_program.h"
#include "tests/support/test_support.h"

namespace {

using pexo_test::PexoProgram;
using pexo_test::PublishedMainWindow;
using pexo_test::WaitUntil;

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

bool MutexExists(const std::wstring& folder) {
  ui::UniqueHandle mutex(OpenMutexW(SYNCHRONIZE, FALSE, InstanceMutexName(HashProgramFolder(folder)).c_str()));
  return static_cast<bool>(mutex);
}

// Keys of section "main" and their values.
using SettingList = std::vector<std::pair<std::string, std::string>>;

// A settings file that starts the program hidden, without tray icon or theme;
// `settings` adds or replaces keys.
std::string QuietConf(const SettingList& settings) {
  SettingList all = {{"bHideOnStart", "1"}, {"bAutoDock", "0"}, {"bHideNotify", "1"}, {"bTopMost", "0"}, {"Theme", ""}};
  for (const auto& setting : settings) {
    auto same = std::find_if(all.begin(), all.end(), [&](const auto& s) { return s.first == setting.first; });
    if (same != all.end()) {
      same->second = setting.second;
    } else {
      all.push_back(setting);
    }
  }
  std::string conf = "[main]\r\n";
  for (const auto& [key, value] : all) conf += key + "=" + value + "\r\n";
  return conf;
}

// A copy of Pexo.exe in a temporary folder with a quiet settings file. The run it
// watches is the first; whatever else runs from the folder (a relaunched main
// process) is closed through its published window before the folder goes.
class ProgramFolder : public PexoProgram {
 public:
  explicit ProgramFolder(const SettingList& settings = {}) : PexoProgram(QuietConf(settings)) {}
  ~ProgramFolder() {
    if (HWND main = PublishedMainWindow(folder())) PostMessageW(main, WM_CLOSE, 0, 0);
    WaitUntil([&] { return !MutexExists(folder()); }, 20000);
  }
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  // The main window the running instance publishes; null after the wait.
  HWND WaitPublishedMainWindow() const {
    HWND main = nullptr;
    WaitUntil([&] { return (main = PublishedMainWindow(folder())) != nullptr; }, 30000);
    return main;
  }
};

// Starts the program of the folder once more, beside the run it watches, and
// gives the exit code of that start; false when it could not start or still runs
// after the wait.
bool StartAgainAndWait(const ProgramFolder& program, DWORD timeoutMs, DWORD* code) {
  std::wstring commandLine = L"\"" + program.File(L"Pexo.exe") + L"\" main";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, program.folder().c_str(),
                      &startup, &info)) {
    return false;
  }
  ui::UniqueHandle process(info.hProcess);
  ui::UniqueHandle thread(info.hThread);
  const bool ended = WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(info.hProcess, 99);
  return ended && GetExitCodeProcess(info.hProcess, code) != FALSE;
}

TEST(ProgramStartTest, AStartWithoutMainStartsTheMainProcessAndEndsWithZero) {
  ProgramFolder program;
  ASSERT_TRUE(program.copied());
  ASSERT_TRUE(program.Start(L""));
  DWORD code = 1;
  ASSERT_TRUE(program.WaitExit(20000, &code));
  EXPECT_EQ(code, 0u);
  // The relaunched process holds the folder's mutex and publishes its window.
  EXPECT_TRUE(WaitUntil([&] { return MutexExists(program.folder()); }, 20000));
  EXPECT_NE(program.WaitPublishedMainWindow(), nullptr);
}

TEST(ProgramStartTest, ASecondStartFromTheSameFolderShowsTheFirstAndEnds) {
  ProgramFolder program;
  ASSERT_TRUE(program.copied());
  ASSERT_TRUE(program.Start());
  HWND main = program.WaitPublishedMainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(MutexExists(program.folder()));
  EXPECT_FALSE(IsWindowVisible(main)) << "started hidden";
  HWND hidden = pexo_test::FindProcessWindow(program.processId(), L"PexoTopWnd", nullptr, false);
  ASSERT_NE(hidden, nullptr);
  EXPECT_FALSE(IsWindowVisible(hidden));
  EXPECT_EQ(GetWindow(main, GW_OWNER), hidden) << "the hidden window owns the main window";

  DWORD code = 1;
  // Generous: a Wine process on a busy machine can take seconds just to start.
  ASSERT_TRUE(StartAgainAndWait(program, 30000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_FALSE(program.WaitExit(0, &code)) << "the first keeps running";
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 20000)) << "the first was shown";
  EXPECT_FALSE(IsWindowVisible(hidden));

  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.WaitExit(20000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_FALSE(MutexExists(program.folder()));
  EXPECT_EQ(PublishedMainWindow(program.folder()), nullptr);
}

TEST(ProgramStartTest, StartsFromTwoFoldersRunSideBySide) {
  ProgramFolder one;
  ProgramFolder two;
  ASSERT_TRUE(one.copied() && two.copied());
  ASSERT_TRUE(one.Start());
  ASSERT_NE(one.WaitPublishedMainWindow(), nullptr);
  ASSERT_TRUE(two.Start());
  HWND mainTwo = two.WaitPublishedMainWindow();
  ASSERT_NE(mainTwo, nullptr);
  EXPECT_NE(mainTwo, one.WaitPublishedMainWindow());
  DWORD code = 0;
  EXPECT_FALSE(one.WaitExit(0, &code));
  EXPECT_FALSE(two.WaitExit(0, &code));
}

std::wstring WindowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

TEST(ProgramStartTest, AThemeThatFailsToLoadIsReportedAndTheProgramGoesOn) {
  ProgramFolder program(SettingList{{"Theme", "no_such_theme"}});
  ASSERT_TRUE(program.copied());
  ASSERT_TRUE(program.Start());
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        // Only a shown box is read: the box is shown once its texts are set.
        return (box = pexo_test::FindProcessWindow(program.processId(), L"#32770", PexoProgram::kStartWarningCaption,
                                                   true)) != nullptr;
      },
      20000));
  std::wstring text;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) text += WindowText(child);
  EXPECT_NE(text.find(L"主题[no_such_theme]加载失败！将使用默认主题！"), std::wstring::npos) << text;
  EXPECT_EQ(PublishedMainWindow(program.folder()), nullptr) << "the start waits for the answer";
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_NE(program.WaitPublishedMainWindow(), nullptr);
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
