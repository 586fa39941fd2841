#include "data/link_path.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "data/program_dir.h"
#include "tests/support/test_support.h"
#include "ui/base/string_util.h"

namespace {

const std::wstring kProgramDir = L"D:\\Apps\\Launcher\\";

TEST(ResolveLinkPathTest, ExpandsProgramRelativeFormsInTheFoldersOwnCase) {
  EXPECT_EQ(ResolveLinkPath(L".\\tools\\a.exe", kProgramDir), L"D:\\Apps\\Launcher\\tools\\a.exe");
  EXPECT_EQ(ResolveLinkPath(L"..\\a.exe", kProgramDir), L"D:\\Apps\\a.exe");
  EXPECT_EQ(ResolveLinkPath(L":\\a.exe", kProgramDir), L"D:\\a.exe");
  EXPECT_EQ(ResolveLinkPath(L"..\\C:\\x.exe", L"D:\\"), L"C:\\x.exe");
}

TEST(ResolveLinkPathTest, LeavesKeysDrivePathsAndShellPathsUnchanged) {
  for (const wchar_t* value : {L"", L"x", L"#dir", L"*.txt", L"C:\\Windows\\notepad.exe", L"C:",
                               L"shell:Personal", L"https://example.org", L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"}) {
    EXPECT_EQ(ResolveLinkPath(value, kProgramDir), value) << value;
  }
}

TEST(ResolveLinkPathTest, ExpandsEnvironmentVariables) {
  ASSERT_TRUE(SetEnvironmentVariableW(L"PEXO_TEST_FOLDER", L"C:\\Somewhere"));
  EXPECT_EQ(ResolveLinkPath(L"%PEXO_TEST_FOLDER%\\app.exe", kProgramDir), L"C:\\Somewhere\\app.exe");
  // An expansion that would need 260 characters or more keeps the stored text.
  const std::wstring longValue(300, L'x');
  ASSERT_TRUE(SetEnvironmentVariableW(L"PEXO_TEST_LONG", longValue.c_str()));
  EXPECT_EQ(ResolveLinkPath(L"%PEXO_TEST_LONG%", kProgramDir), L"%PEXO_TEST_LONG%");
}

TEST(ResolveLinkPathTest, FindsBareNamesInIconFoldersFirst) {
  pexo_test::TempDir dir;
  const std::wstring programDir = dir.path() + L"\\";
  ASSERT_TRUE(CreateDirectoryW((programDir + L"icons").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((programDir + L"icons\\url").c_str(), nullptr));
  ASSERT_TRUE(pexo_test::WriteFileBytes(programDir + L"icons\\tool.png", "x"));
  ASSERT_TRUE(pexo_test::WriteFileBytes(programDir + L"icons\\url\\site.ico", "x"));
  ASSERT_TRUE(pexo_test::WriteFileBytes(programDir + L"icons\\url\\tool.png", "x"));

  EXPECT_EQ(ToLowerAscii(ResolveLinkPath(L"tool.png", programDir)), ToLowerAscii(programDir + L"icons\\tool.png"));
  EXPECT_EQ(ToLowerAscii(ResolveLinkPath(L"site.ico", programDir)),
            ToLowerAscii(programDir + L"icons\\url\\site.ico"));
  EXPECT_EQ(ResolveLinkPath(L"nothing-here.ico", programDir), L"nothing-here.ico");
}

TEST(ResolveLinkPathTest, SearchesTheSystemPathWithExeAddedToNamesWithoutDot) {
  pexo_test::TempDir dir;
  std::wstring found = ToLowerAscii(ResolveLinkPath(L"notepad", dir.path() + L"\\"));
  ASSERT_GE(found.size(), 12u);
  EXPECT_EQ(found.substr(found.size() - 12), L"\\notepad.exe");
  EXPECT_EQ(ResolveLinkPath(L"pexo-no-such-program", dir.path() + L"\\"), L"pexo-no-such-program");
}

TEST(GetProgramDirTest, IsTheExecutablesFolderWithTrailingBackslash) {
  EXPECT_EQ(ToLowerAscii(GetProgramDir()), ToLowerAscii(pexo_test::ExeFolder() + L"\\"));
  EXPECT_EQ(ResolveLinkPath(L".\\x.db"), GetProgramDir() + L"x.db");
}

}  // namespace
