#include "data/program_relative_path.h"

#include <gtest/gtest.h>

namespace {

const ProgramFolderForms kForms = ProgramFolderForms::FromProgramDir(L"D:\\Apps\\Launcher\\");

TEST(ProgramFolderFormsTest, DerivesLoweredFolderParentAndDrive) {
  EXPECT_EQ(kForms.folder, L"d:\\apps\\launcher\\");
  EXPECT_EQ(kForms.parent, L"d:\\apps\\");
  EXPECT_EQ(kForms.drive, L"d:\\");
  ProgramFolderForms root = ProgramFolderForms::FromProgramDir(L"D:\\");
  EXPECT_EQ(root.parent, L"");
  EXPECT_EQ(root.drive, L"d:\\");
}

TEST(MakeProgramRelativePathTest, TakesTheFirstMatchingForm) {
  EXPECT_EQ(MakeProgramRelativePath(L"D:\\Apps\\Launcher\\tools\\a.exe", kForms), L".\\tools\\a.exe");
  EXPECT_EQ(MakeProgramRelativePath(L"D:\\Apps\\Other\\b.exe", kForms), L"..\\Other\\b.exe");
  EXPECT_EQ(MakeProgramRelativePath(L"D:\\Games\\c.exe", kForms), L":\\Games\\c.exe");
  EXPECT_EQ(MakeProgramRelativePath(L"C:\\Windows\\notepad.exe", kForms), L"C:\\Windows\\notepad.exe");
  // A sibling folder whose name merely starts like the program folder is a parent form.
  EXPECT_EQ(MakeProgramRelativePath(L"D:\\Apps\\Launcher2\\x.exe", kForms), L"..\\Launcher2\\x.exe");
}

TEST(MakeProgramRelativePathTest, IgnoresCaseOfPrefixButKeepsCaseOfRest) {
  EXPECT_EQ(MakeProgramRelativePath(L"d:\\apps\\launcher\\X.exe", kForms), L".\\X.exe");
  EXPECT_EQ(MakeProgramRelativePath(L"D:\\APPS\\Mixed\\Case.EXE", kForms), L"..\\Mixed\\Case.EXE");
}

TEST(MakeProgramRelativePathTest, LeavesAddressesKeysAndStoredFormsAlone) {
  for (const wchar_t* value : {L"https://example.org/", L"#MonitorOff", L"#dir", L"*.txt",
                               L"shell:MyComputerFolder", L".\\tools\\a.exe", L"..\\Other\\b.exe",
                               L":\\Games\\c.exe", L""}) {
    EXPECT_EQ(MakeProgramRelativePath(value, kForms), value) << value;
  }
}

TEST(MakeProgramRelativePathTest, DriveRootProgramFolderNeverUsesTheEmptyParent) {
  ProgramFolderForms root = ProgramFolderForms::FromProgramDir(L"D:\\");
  EXPECT_EQ(MakeProgramRelativePath(L"D:\\tools\\a.exe", root), L".\\tools\\a.exe");
  // Matching the empty parent would prefix every path, again at every conversion,
  // and turn icon keys into paths.
  EXPECT_EQ(MakeProgramRelativePath(L"C:\\x.exe", root), L"C:\\x.exe");
  EXPECT_EQ(MakeProgramRelativePath(L"#dir", root), L"#dir");
  EXPECT_EQ(MakeProgramRelativePath(MakeProgramRelativePath(L"C:\\x.exe", root), root), L"C:\\x.exe");
  // A form written that way earlier still expands to the original path.
  EXPECT_EQ(ExpandParentAndDriveForms(L"..\\C:\\x.exe", root), L"C:\\x.exe");
}

TEST(MakeProgramRelativeWorkDirTest, DropsTheTargetsOwnFolder) {
  EXPECT_EQ(MakeProgramRelativeWorkDir(L"D:\\Tools", L"D:\\Tools\\app.exe", kForms), L"");
  EXPECT_EQ(MakeProgramRelativeWorkDir(L"d:\\TOOLS", L"D:\\Tools\\app.exe", kForms), L"");
  // With a trailing backslash it is not the folder as cut from the target.
  EXPECT_EQ(MakeProgramRelativeWorkDir(L"D:\\Tools\\", L"D:\\Tools\\app.exe", kForms), L":\\Tools\\");
  EXPECT_EQ(MakeProgramRelativeWorkDir(L"D:\\Apps\\Launcher\\data", L"C:\\x.exe", kForms), L".\\data");
  EXPECT_EQ(MakeProgramRelativeWorkDir(L"", L"D:\\Tools\\app.exe", kForms), L"");
  // A target without a backslash is its own folder.
  EXPECT_EQ(MakeProgramRelativeWorkDir(L"notepad", L"NOTEPAD", kForms), L"");
}

TEST(MakeNewLinkPathsRelativeTest, ComparesWorkDirWithTheUnrewrittenTarget) {
  std::wstring path = L"D:\\Apps\\Launcher\\tools\\a.exe";
  std::wstring workDir = L"D:\\Apps\\Launcher\\tools";
  MakeNewLinkPathsRelative(path, workDir, kForms);
  EXPECT_EQ(path, L".\\tools\\a.exe");
  EXPECT_EQ(workDir, L"");
  path = L"D:\\Apps\\Launcher\\tools\\a.exe";
  workDir = L"D:\\Apps\\Other";
  MakeNewLinkPathsRelative(path, workDir, kForms);
  EXPECT_EQ(workDir, L"..\\Other");
}

TEST(ExpandParentAndDriveFormsTest, UsesLoweredParentAndDrive) {
  EXPECT_EQ(ExpandParentAndDriveForms(L".\\tools\\a.exe", kForms), L".\\tools\\a.exe");
  EXPECT_EQ(ExpandParentAndDriveForms(L"..\\Other\\b.exe", kForms), L"d:\\apps\\Other\\b.exe");
  EXPECT_EQ(ExpandParentAndDriveForms(L":\\Games\\c.exe", kForms), L"d:\\Games\\c.exe");
  EXPECT_EQ(ExpandParentAndDriveForms(L"C:\\x.exe", kForms), L"C:\\x.exe");
  EXPECT_EQ(ExpandParentAndDriveForms(L"#url", kForms), L"#url");
}

}  // namespace
