// The autorun shortcut in a test Startup folder: written for the program,
// replaced when it points elsewhere, kept when it points at the program in
// other letter case, and deleted when autorun is off.
#include <windows.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <string>

#include "app/desktop/autorun_shortcut.h"
#include "tests/support/test_support.h"
#include "ui/base/scoped_handles.h"

namespace {

// COM is set up once for the whole process, as the program does, and shut down
// only after every test has released its shell link objects.
class ComEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override { CoUninitialize(); }
};
const auto* const kCom = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

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

FILETIME WriteTime(const std::wstring& path) {
  FILETIME written = {};
  ui::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (file) GetFileTime(file.get(), nullptr, nullptr, &written);
  return written;
}

class AutorunShortcutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = pexo_test::ExeFolder() + L"\\startup_test";
    CreateDirectoryW(folder_.c_str(), nullptr);
    shortcut_ = folder_ + L"\\Pexo.lnk";
    DeleteFileW(shortcut_.c_str());
    // Real files as the targets, so the shell keeps them as given.
    program_ = folder_ + L"\\Pexo.exe";
    other_ = folder_ + L"\\Other.exe";
    for (const std::wstring& file : {program_, other_}) {
      ui::UniqueHandle h(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
      ASSERT_TRUE(h.valid());
    }
  }
  void TearDown() override { DeleteFileW(shortcut_.c_str()); }
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
  const FILETIME before = WriteTime(shortcut_);
  Sleep(20);
  std::wstring upper = program_;
  for (wchar_t& c : upper) c = static_cast<wchar_t>(towupper(c));
  ASSERT_TRUE(SyncAutorunShortcut(shortcut_, upper, true));
  const FILETIME after = WriteTime(shortcut_);
  EXPECT_EQ(CompareFileTime(&before, &after), 0);
}

TEST_F(AutorunShortcutTest, AFolderInThePlaceOfTheShortcutIsNeitherDeletedNorReported) {
  ASSERT_TRUE(CreateDirectoryW(shortcut_.c_str(), nullptr));
  EXPECT_FALSE(SyncAutorunShortcut(shortcut_, program_, true)) << "no shortcut can be saved over a folder";
  EXPECT_TRUE(GetFileAttributesW(shortcut_.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
  RemoveDirectoryW(shortcut_.c_str());
}

TEST(AutorunShortcutPathTest, FollowsTheWindowsVersionsStartupFolder) {
  SetEnvironmentVariableW(L"APPDATA", L"C:\\Users\\u\\AppData\\Roaming");
  SetEnvironmentVariableW(L"USERPROFILE", L"C:\\Documents and Settings\\u");
  EXPECT_EQ(AutorunShortcutPath(6),
            L"C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup\\Pexo.lnk");
  EXPECT_EQ(AutorunShortcutPath(5), L"C:\\Documents and Settings\\u\\「开始」菜单\\程序\\启动\\Pexo.lnk");
}

}  // namespace
