// A table of paths of every kind and the links they become.
#include "app/new_links/link_from_path.h"

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "app/new_links/link_record.h"
#include "ui/base/scoped_handles.h"
#include "ui/base/windows_version.h"
#include "tests/support/test_support.h"

namespace {

struct ShortcutFields {
  std::wstring target;
  std::wstring arguments;
  std::wstring workDir;
  std::wstring description;
  std::wstring iconFile;
  int iconIndex = 0;
};

bool SaveShortcut(const std::wstring& file, const ShortcutFields& fields) {
  ui::ComPtr<IShellLinkW> shortcut;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              shortcut.put_void()))) {
    return false;
  }
  shortcut->SetPath(fields.target.c_str());
  if (!fields.arguments.empty()) shortcut->SetArguments(fields.arguments.c_str());
  if (!fields.workDir.empty()) shortcut->SetWorkingDirectory(fields.workDir.c_str());
  if (!fields.description.empty()) shortcut->SetDescription(fields.description.c_str());
  if (!fields.iconFile.empty()) shortcut->SetIconLocation(fields.iconFile.c_str(), fields.iconIndex);
  ui::ComPtr<IPersistFile> persist = shortcut.As<IPersistFile>();
  return persist && SUCCEEDED(persist->Save(file.c_str(), TRUE));
}

class LinkFromPathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(com_.succeeded());
    ASSERT_TRUE(pexo_test::WriteFileBytes(dir_.File(L"app.EXE"), "MZ"));
    ASSERT_TRUE(pexo_test::WriteFileBytes(dir_.File(L"notes.txt"), "text"));
    ASSERT_TRUE(pexo_test::WriteFileBytes(dir_.File(L"picture.png"), "png"));
    ASSERT_TRUE(CreateDirectoryW(dir_.File(L"Folder").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(dir_.File(L"my.dir").c_str(), nullptr));
    ASSERT_TRUE(pexo_test::WriteFileBytes(dir_.File(L"my.dir\\readme"), "text"));
  }

  ui::ScopedComInit com_;
  pexo_test::TempDir dir_;
};

TEST_F(LinkFromPathTest, PathsOfEveryKindGiveTheirKindNameTargetAndIcon) {
  ShortcutFields toProgram;
  toProgram.target = dir_.File(L"app.EXE");
  toProgram.arguments = L"--fast";
  toProgram.workDir = dir_.File(L"Folder");
  toProgram.description = L"My tool";
  ASSERT_TRUE(SaveShortcut(dir_.File(L"Tool.lnk"), toProgram));
  ShortcutFields withIcon;
  withIcon.target = dir_.File(L"notes.txt");
  withIcon.iconFile = L"C:\\icons\\n.ico";
  withIcon.iconIndex = 3;
  ASSERT_TRUE(SaveShortcut(dir_.File(L"Notes shortcut.lnk"), withIcon));
  // Shift+Ctrl+K in the shortcut's own modifier bits (Shift 1, Ctrl 2).
  ASSERT_TRUE(pexo_test::WriteFileBytes(dir_.File(L"Site.url"),
                                        "[InternetShortcut]\r\nURL=https://example.com/\r\n"
                                        "IconFile=file:///C:/icons/site.ico\r\nIconIndex=0\r\nHotKey=843\r\n"));

  struct Case {
    std::wstring path;
    int32_t type;
    std::wstring name;
    std::wstring target;
    std::wstring icon;
  } cases[] = {
      {L"C:\\", kLinkDriveRoot, L"C:\\", L"C:\\", L""},
      {dir_.File(L"app.EXE"), kLinkProgram, L"app", dir_.File(L"app.EXE"), L""},
      {dir_.File(L"notes.txt"), kLinkFile, L"notes", dir_.File(L"notes.txt"), L"*.txt"},
      {dir_.File(L"picture.png"), kLinkFile, L"picture", dir_.File(L"picture.png"), L""},
      // A dot in a folder's name is no extension.
      {dir_.File(L"my.dir\\readme"), kLinkFile, L"readme", dir_.File(L"my.dir\\readme"), L"#unknown"},
      {dir_.File(L"Tool.lnk"), kLinkProgram, L"", dir_.File(L"app.EXE"), L""},
      {dir_.File(L"Notes shortcut.lnk"), kLinkFile, L"", dir_.File(L"notes.txt"), L"C:\\icons\\n.ico,3"},
      {dir_.File(L"Site.url"), kLinkWebAddress, L"Site", L"https://example.com/", L"C:\\icons\\site.ico"},
  };
  for (const Case& c : cases) {
    std::shared_ptr<Link> link = MakeLinkFromPath(c.path);
    ASSERT_TRUE(link) << c.path;
    EXPECT_EQ(link->TYPE, c.type) << c.path;
    if (!c.name.empty()) {
      EXPECT_EQ(link->NAME, c.name) << c.path;
    }
    EXPECT_EQ(link->PATH, c.target) << c.path;
    EXPECT_EQ(link->ICON, c.icon) << c.path;
    EXPECT_EQ(link->ID, 0) << c.path;
  }

  // A shortcut is named after itself and carries its own fields.
  std::shared_ptr<Link> tool = MakeLinkFromPath(dir_.File(L"Tool.lnk"));
  ASSERT_TRUE(tool);
  EXPECT_TRUE(tool->NAME == L"Tool" || tool->NAME == L"Tool.lnk") << tool->NAME;
  EXPECT_EQ(tool->Parameter, L"--fast");
  EXPECT_EQ(tool->WorkDir, dir_.File(L"Folder"));
  EXPECT_EQ(tool->Remark, L"My tool");

  // The web shortcut's chord is stored with the launcher's modifier bits.
  std::shared_ptr<Link> site = MakeLinkFromPath(dir_.File(L"Site.url"));
  ASSERT_TRUE(site);
  EXPECT_EQ(site->HotKey, MakeHotKeyCode(kHotKeyCtrl | kHotKeyShift, 'K'));
}

TEST_F(LinkFromPathTest, FolderGetsItsDisplayNameAndTheSharedFolderIcon) {
  std::shared_ptr<Link> folder = MakeLinkFromPath(dir_.File(L"Folder"));
  ASSERT_TRUE(folder);
  EXPECT_EQ(folder->TYPE, kLinkFolder);
  EXPECT_EQ(folder->NAME, L"Folder");
  EXPECT_EQ(folder->PATH, dir_.File(L"Folder"));
  EXPECT_EQ(folder->ICON, L"#dir");
}

TEST_F(LinkFromPathTest, UnusablePathsGiveNoLink) {
  ASSERT_TRUE(pexo_test::WriteFileBytes(dir_.File(L"broken.lnk"), "not a shortcut"));
  ASSERT_TRUE(pexo_test::WriteFileBytes(dir_.File(L"empty.url"), "[InternetShortcut]\r\n"));
  for (const std::wstring& path : {std::wstring(L"C:"), std::wstring(L"ab"), std::wstring(L"C:\\Data\\"),
                                   std::wstring(L"C:x"), dir_.File(L"missing.txt"), dir_.File(L"Folder\\"),
                                   dir_.File(L"broken.lnk"), dir_.File(L"empty.url")}) {
    EXPECT_FALSE(MakeLinkFromPath(path)) << path;
  }
}

// A shortcut to itself or a ring of shortcuts used to recurse until the stack ran out.
TEST_F(LinkFromPathTest, ShortcutChainsStopAfterEightShortcuts) {
  ShortcutFields self;
  self.target = dir_.File(L"self.lnk");
  ASSERT_TRUE(SaveShortcut(dir_.File(L"self.lnk"), self));
  EXPECT_FALSE(MakeLinkFromPath(dir_.File(L"self.lnk")));

  ShortcutFields toB, toA;
  toB.target = dir_.File(L"b.lnk");
  toA.target = dir_.File(L"a.lnk");
  ASSERT_TRUE(SaveShortcut(dir_.File(L"a.lnk"), toB));
  ASSERT_TRUE(SaveShortcut(dir_.File(L"b.lnk"), toA));
  EXPECT_FALSE(MakeLinkFromPath(dir_.File(L"a.lnk")));

  // Eight shortcuts in a row still lead to their program; a ninth is one too many.
  std::wstring target = dir_.File(L"app.EXE");
  for (int i = 1; i <= 9; ++i) {
    ShortcutFields next;
    next.target = target;
    target = dir_.File(L"chain" + std::to_wstring(i) + L".lnk");
    ASSERT_TRUE(SaveShortcut(target, next));
  }
  std::shared_ptr<Link> eight = MakeLinkFromPath(dir_.File(L"chain8.lnk"));
  ASSERT_TRUE(eight);
  EXPECT_EQ(eight->TYPE, kLinkProgram);
  EXPECT_EQ(eight->PATH, dir_.File(L"app.EXE"));
  EXPECT_FALSE(MakeLinkFromPath(dir_.File(L"chain9.lnk")));
}

TEST_F(LinkFromPathTest, ShortcutWithoutAFileTargetIsAStoreAppOnlyFromWindows10) {
  // A shortcut to the control panel names no file.
  ui::ComPtr<IShellLinkW> shortcut;
  ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                         shortcut.put_void())));
  ITEMIDLIST* raw = nullptr;
  ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_CONTROLS, &raw)));
  ui::AbsoluteItemIdList controls = ui::AbsoluteItemIdList::TakeOwnership(raw);
  shortcut->SetIDList(controls.get());
  ASSERT_TRUE(SUCCEEDED(shortcut.As<IPersistFile>()->Save(dir_.File(L"panel.lnk").c_str(), TRUE)));

  OverrideWindowsVersion(WindowsVersion{6, 3, 0});
  EXPECT_FALSE(MakeLinkFromPath(dir_.File(L"panel.lnk")));
  // On Windows 10 the item must also tell its application id, which the control
  // panel has not: still no link, and no crash on the way.
  OverrideWindowsVersion(WindowsVersion{10, 0, 0});
  std::shared_ptr<Link> link = MakeLinkFromPath(dir_.File(L"panel.lnk"));
  OverrideWindowsVersion(std::nullopt);
  if (link) {
    EXPECT_EQ(link->TYPE, kLinkShellItem);
    EXPECT_TRUE(link->PATH.starts_with(L"shell:AppsFolder\\")) << link->PATH;
  }
}

TEST(LinkRecordTest, NewLinkHasEveryFieldItWasGivenAndNothingElse) {
  std::shared_ptr<Link> link =
      MakeLinkRecord(kLinkWebAddress, L"微信 Web", L"https://wx.qq.com", L"#url", L"-a", L"C:\\w", true,
                     L"#FF00FF00", L"备注");
  EXPECT_EQ(link->TYPE, kLinkWebAddress);
  EXPECT_EQ(link->NAME, L"微信 Web");
  EXPECT_EQ(link->nameInitials, L"wx web");
  EXPECT_EQ(link->remarkInitials, L"bz");
  EXPECT_EQ(link->PATH, L"https://wx.qq.com");
  EXPECT_EQ(link->Parameter, L"-a");
  EXPECT_EQ(link->WorkDir, L"C:\\w");
  EXPECT_TRUE(link->IsAdmin);
  EXPECT_EQ(link->CustomColor, L"#FF00FF00");
  EXPECT_EQ(link->ID, 0);
  EXPECT_EQ(link->HotKey, 0);
  EXPECT_EQ(link->RunCount, 0);
  EXPECT_TRUE(link->Pidl.empty());
  EXPECT_TRUE(link->group.expired());
}

TEST(LinkFromPathRulesTest, ExtensionComesFromTheFileNameAndChordBitsAreTranslated) {
  EXPECT_EQ(FileNameExtension(L"c:\\my.dir\\readme"), L"");
  EXPECT_EQ(FileNameExtension(L"c:\\my.dir\\read.me.txt"), L".txt");
  EXPECT_EQ(FileNameExtension(L"archive.tar.gz"), L".gz");
  // Shift 1, Ctrl 2, Alt 4 (extended 8 dropped) become Alt 1, Ctrl 2, Shift 4.
  EXPECT_EQ(HotKeyFromShortcutHotKey(MAKEWORD('A', HOTKEYF_SHIFT)), MakeHotKeyCode(kHotKeyShift, 'A'));
  EXPECT_EQ(HotKeyFromShortcutHotKey(MAKEWORD('A', HOTKEYF_ALT)), MakeHotKeyCode(kHotKeyAlt, 'A'));
  EXPECT_EQ(HotKeyFromShortcutHotKey(MAKEWORD('A', HOTKEYF_CONTROL | HOTKEYF_EXT)), MakeHotKeyCode(kHotKeyCtrl, 'A'));
  EXPECT_EQ(HotKeyFromShortcutHotKey(MAKEWORD(VK_F5, HOTKEYF_ALT | HOTKEYF_SHIFT)),
            MakeHotKeyCode(kHotKeyAlt | kHotKeyShift, VK_F5));
  EXPECT_EQ(HotKeyFromShortcutHotKey(0), 0);
}

}  // namespace
