// The autorun shortcut in a test Startup folder: written for the program,
// replaced when it points elsewhere, kept when it points at the program in
// other letter case, and deleted when autorun is off.
#include <windows.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <string>

#include "app/autorun_shortcut.h"
#include "tests/support/test_support.h"
#include "ui/base/scoped_handles.h"

namespace {

std::wstring TargetOf(const std::wstring& path) {
  ui::ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void()))) {
    return L"(no shell link)";
  }
  ui::ComPtr<IPersistFile> persist = link.As<IPersistFile>();
  if (!persist || FAILED(persist->Load(path.c_str(), STGM_READ))) return L"(unreadable)";
  wchar_t target[MAX_PATH] = {};
  link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
  return target;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class AutorunShortcutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    folder_ = pexo_test::ExeFolder() + L"\\startup_test";
    CreateDirectoryW(folder_.c_str(), nullptr);
    shortcut_ = folder_ + L"\\Pexo.lnk";
    DeleteFileW(shortcut_.c_str());
    // A real file as the program, so the shell keeps the target as given.
    program_ = folder_ + L"\\Pexo.exe";
    other_ = folder_ + L"\\Other.exe";
    for (const std::wstring& file : {program_, other_}) {
      HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      ASSERT_NE(h, INVALID_HANDLE_VALUE);
      CloseHandle(h);
    }
  }
  void TearDown() override {
    DeleteFileW(shortcut_.c_str());
    CoUninitialize();
  }
  std::wstring folder_, shortcut_, program_, other_;
};

TEST_F(AutorunShortcutTest, OnWritesTheShortcutAndOffDeletesIt) {
  ASSERT_TRUE(SyncAutorunShortcut(shortcut_, program_, true));
  ASSERT_TRUE(Exists(shortcut_));
  EXPECT_EQ(TargetOf(shortcut_), program_);
  ASSERT_TRUE(SyncAutorunShortcut(shortcut_, program_, false));
  EXPECT_FALSE(Exists(shortcut_));
  EXPECT_TRUE(SyncAutorunShortcut(shortcut_, program_, false)) << "nothing to delete is no failure";
}

TEST_F(AutorunShortcutTest, AShortcutPointingElsewhereIsReplacedOneToTheProgramIsKept) {
  ASSERT_TRUE(SyncAutorunShortcut(shortcut_, other_, true));
  ASSERT_EQ(TargetOf(shortcut_), other_);
  ASSERT_TRUE(SyncAutorunShortcut(shortcut_, program_, true));
  EXPECT_EQ(TargetOf(shortcut_), program_);

  // The same program in other letter case is the same target: the file stays.
  FILETIME before = {}, after = {};
  {
    HANDLE h = CreateFileW(shortcut_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    GetFileTime(h, nullptr, nullptr, &before);
    CloseHandle(h);
  }
  Sleep(20);
  std::wstring upper = program_;
  for (wchar_t& c : upper) c = static_cast<wchar_t>(towupper(c));
  ASSERT_TRUE(SyncAutorunShortcut(shortcut_, upper, true));
  HANDLE h = CreateFileW(shortcut_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  GetFileTime(h, nullptr, nullptr, &after);
  CloseHandle(h);
  EXPECT_EQ(CompareFileTime(&before, &after), 0);
}

TEST(AutorunShortcutPathTest, FollowsTheWindowsVersionsStartupFolder) {
  SetEnvironmentVariableW(L"APPDATA", L"C:\\Users\\u\\AppData\\Roaming");
  SetEnvironmentVariableW(L"USERPROFILE", L"C:\\Documents and Settings\\u");
  EXPECT_EQ(AutorunShortcutPath(6), L"C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup\\Pexo.lnk");
  EXPECT_EQ(AutorunShortcutPath(5), L"C:\\Documents and Settings\\u\\「开始」菜单\\程序\\启动\\Pexo.lnk");
}

}  // namespace
