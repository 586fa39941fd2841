#include "app/launching/launch_targets.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "data/link.h"
#include "data/program_dir.h"
#include "tests/support/test_support.h"

namespace {

TEST(LaunchTargetsTest, WorkingFolderComesFromWorkDirThenPathThenTheResolvedPath) {
  const std::wstring programDir = GetProgramDir();  // with its trailing backslash
  Link link;
  link.PATH = L"C:\\Tools\\app.exe";
  link.WorkDir = L"D:\\Work";
  EXPECT_EQ(LaunchWorkingDirectory(link), L"D:\\Work");
  link.WorkDir.clear();
  EXPECT_EQ(LaunchWorkingDirectory(link), L"C:\\Tools\\");
  // A program-relative path with no further folder starts in the program folder.
  link.PATH = L".\\app.exe";
  EXPECT_EQ(LaunchWorkingDirectory(link), programDir);
  link.WorkDir = L".\\data";
  EXPECT_EQ(LaunchWorkingDirectory(link), programDir + L"data");
  // A bare name is found on the search path and starts where it lies.
  link.WorkDir.clear();
  link.PATH = L"notepad.exe";
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  std::wstring folder = LaunchWorkingDirectory(link);
  EXPECT_TRUE(_wcsicmp(folder.c_str(), system) == 0 || folder.find(L'\\') != std::wstring::npos) << folder;
}

TEST(LaunchTargetsTest, FolderCommandReplacesEveryPlaceholder) {
  EXPECT_EQ(ExpandFolderCommand(L"tc.exe /O \"%1\" /T %1", L"C:\\A B"), L"tc.exe /O \"C:\\A B\" /T C:\\A B");
  EXPECT_EQ(ExpandFolderCommand(L"C:\\tc.exe /fixed", L"C:\\A"), L"C:\\tc.exe /fixed");
  EXPECT_EQ(ExpandFolderCommand(L".\\tc.exe %1", L"C:\\A"), GetProgramDir() + L"tc.exe C:\\A");
}

TEST(LaunchTargetsTest, PrivateSwitchFollowsTheStartOfTheProgId) {
  struct Case {
    const wchar_t* progId;
    const wchar_t* expected;
  } cases[] = {
      {L"MSEdgeHTM", L"-inprivate "},          {L"FirefoxURL-308046B0AF4A39CB", L"-private-window "},
      {L"ChromeHTML", L"--incognito "},        {L"OperaStable", L"--private "},
      {L"IE.HTTP", L"-private "},              {L"BraveHTML", L"-private "},
      {L"MyChromeHTML", L"-private "},  // a name further in does not count
      {L"", L"-private "},
  };
  for (const Case& c : cases) EXPECT_EQ(PrivateModeSwitch(c.progId), c.expected) << c.progId;
}

TEST(LaunchTargetsTest, BrowserProgramIsTheQuotedTextOrTheFirstWord) {
  EXPECT_EQ(BrowserProgramFromCommand(L"\"C:\\Program Files\\b\\br.exe\" --single -- \"%1\""),
            L"C:\\Program Files\\b\\br.exe");
  EXPECT_EQ(BrowserProgramFromCommand(L"\"C:\\b\\br.exe"), L"C:\\b\\br.exe");
  EXPECT_EQ(BrowserProgramFromCommand(L"C:\\b\\br.exe %1"), L"C:\\b\\br.exe");
  EXPECT_EQ(BrowserProgramFromCommand(L"C:\\b\\br.exe"), L"C:\\b\\br.exe");
  EXPECT_EQ(BrowserProgramFromCommand(L""), L"");
  // An unquoted path with a blank is read as far as it names an existing file.
  pexo_test::TempDir dir;
  std::wstring program = dir.File(L"my browser.exe");
  ASSERT_TRUE(pexo_test::WriteFileBytes(program, "MZ"));
  EXPECT_EQ(BrowserProgramFromCommand(program + L" -url %1"), program);
}

TEST(LaunchTargetsTest, AddressWithABlankIsQuoted) {
  EXPECT_EQ(QuoteAddressArgument(L"https://a.com/x"), L"https://a.com/x");
  EXPECT_EQ(QuoteAddressArgument(L"https://a.com/a b"), L"\"https://a.com/a b\"");
}

}  // namespace
