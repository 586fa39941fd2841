// Starts a stand-in program through every kind of link and checks, from what it
// recorded, how the launcher started it.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "app/launching/launch_thread.h"
#include "app/launching/link_launcher.h"
#include "tests/support/test_support.h"

namespace {

// Registry keys the tests add for themselves; removed again at the end.
const wchar_t kTestScheme[] = L"pexotest";
const wchar_t kTestFileType[] = L".pexorecord";
const wchar_t kTestFileClass[] = L"Pexo.TestRecord";
const wchar_t kUserChoiceKey[] = L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\Http\\UserChoice";

bool SetRegistryText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  LONG result = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
  return result == ERROR_SUCCESS;
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

class LinkLaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    recorder_ = pexo_test::ExeFolder() + L"\\record_launch.exe";
    record_ = dir_.File(L"record.txt");
    SetEnvironmentVariableW(L"PEXO_LAUNCH_RECORD", record_.c_str());
    ASSERT_NE(GetFileAttributesW(recorder_.c_str()), INVALID_FILE_ATTRIBUTES);
  }
  void TearDown() override {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kTestScheme);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kTestFileType);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kTestFileClass);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"chrome.pexotest");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"firefox.pexotest");
    RegDeleteTreeW(HKEY_CURRENT_USER, kUserChoiceKey);
    SetEnvironmentVariableW(L"PEXO_LAUNCH_RECORD", nullptr);
  }

  // The stand-in's command line and working folder, once it has written them;
  // empty when it did not start within the time.
  struct Record {
    std::wstring commandLine;
    std::wstring folder;
  };
  Record WaitForRecord(DWORD timeoutMs = 15000) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
      std::string bytes = pexo_test::ReadFileBytes(record_);
      if (!bytes.empty()) {
        DeleteFileW(record_.c_str());
        std::wstring text(bytes.size(), L'\0');
        text.resize(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                                        static_cast<int>(text.size())));
        size_t newline = text.find(L'\n');
        return {text.substr(0, newline), text.substr(newline + 1, text.size() - newline - 2)};
      }
      Sleep(50);
    }
    return {};
  }

  void RegisterTestScheme() {
    ASSERT_TRUE(SetRegistryText(HKEY_CLASSES_ROOT, kTestScheme, L"URL Protocol", L""));
    ASSERT_TRUE(SetRegistryText(HKEY_CLASSES_ROOT, std::wstring(kTestScheme) + L"\\shell\\open\\command", nullptr,
                                Quoted(recorder_) + L" \"%1\""));
  }
  void SetDefaultBrowser(const std::wstring& progId, const std::wstring& openCommand) {
    ASSERT_TRUE(SetRegistryText(HKEY_CURRENT_USER, kUserChoiceKey, L"Progid", progId));
    ASSERT_TRUE(SetRegistryText(HKEY_CLASSES_ROOT, progId + L"\\shell\\open\\command", nullptr, openCommand));
  }

  static Link MakeLink(LinkType type, const std::wstring& path) {
    Link link;
    link.TYPE = type;
    link.PATH = path;
    return link;
  }

  pexo_test::TempDir dir_;
  std::wstring recorder_;
  std::wstring record_;
};

TEST_F(LinkLaunchTest, ProgramStartsOnItsOwnThreadWithParametersAndWorkingFolder) {
  Link link = MakeLink(kLinkProgram, recorder_);
  link.Parameter = L"first \"second arg\"";
  link.WorkDir = dir_.path();
  ASSERT_TRUE(StartLinkThread(link, false, L""));
  Record record = WaitForRecord();
  EXPECT_NE(record.commandLine.find(L"first \"second arg\""), std::wstring::npos) << record.commandLine;
  EXPECT_EQ(_wcsicmp(record.folder.c_str(), dir_.path().c_str()), 0) << record.folder;

  // Without a working folder it starts where the program lies.
  link.WorkDir.clear();
  ASSERT_TRUE(StartLinkThread(link, false, L""));
  record = WaitForRecord();
  EXPECT_EQ(_wcsicmp(record.folder.c_str(), pexo_test::ExeFolder().c_str()), 0) << record.folder;

  // A shell item with a file-system path opens the same way.
  ASSERT_TRUE(StartLinkThread(MakeLink(kLinkShellItem, recorder_), false, L""));
  EXPECT_FALSE(WaitForRecord().commandLine.empty());
}

TEST_F(LinkLaunchTest, FileOpensWithTheProgramRegisteredForItsType) {
  ASSERT_TRUE(SetRegistryText(HKEY_CLASSES_ROOT, kTestFileType, nullptr, kTestFileClass));
  ASSERT_TRUE(SetRegistryText(HKEY_CLASSES_ROOT, std::wstring(kTestFileClass) + L"\\shell\\open\\command", nullptr,
                              Quoted(recorder_) + L" \"%1\""));
  std::wstring document = dir_.File(L"notes.pexorecord");
  ASSERT_TRUE(pexo_test::WriteFileBytes(document, "x"));
  ASSERT_TRUE(StartLinkThread(MakeLink(kLinkFile, document), false, L""));
  Record record = WaitForRecord();
  EXPECT_NE(record.commandLine.find(L"notes.pexorecord"), std::wstring::npos) << record.commandLine;
}

// The folder command goes to CreateProcessW whole: a folder name outside the ANSI
// code page arrives intact, every "%1" is replaced, a command without one runs as it is.
TEST_F(LinkLaunchTest, FolderCommandReceivesTheFolderNameIntact) {
  std::wstring folder = dir_.File(L"文件夹 ü");
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  Link link = MakeLink(kLinkFolder, folder);
  ASSERT_TRUE(StartLinkThread(link, false, Quoted(recorder_) + L" \"%1\" again=\"%1\""));
  Record record = WaitForRecord();
  EXPECT_NE(record.commandLine.find(L"\"" + folder + L"\" again=\"" + folder + L"\""), std::wstring::npos)
      << record.commandLine;

  link.IsAdmin = true;  // an elevated folder launch also uses the folder command
  ASSERT_TRUE(StartLinkThread(link, false, Quoted(recorder_) + L" fixed"));
  record = WaitForRecord();
  EXPECT_NE(record.commandLine.find(L" fixed"), std::wstring::npos) << record.commandLine;
  EXPECT_EQ(record.commandLine.find(L"文件夹"), std::wstring::npos);

  EXPECT_FALSE(RunFolderCommand(L"\"" + dir_.File(L"missing.exe") + L"\" %1", folder));
}

TEST_F(LinkLaunchTest, WebAddressOpensWithTheSchemesHandler) {
  RegisterTestScheme();
  SetDefaultBrowser(L"chrome.pexotest", Quoted(recorder_) + L" \"%1\"");
  ASSERT_TRUE(StartLinkThread(MakeLink(kLinkWebAddress, L"pexotest://example/page"), false, L""));
  Record record = WaitForRecord();
  EXPECT_NE(record.commandLine.find(L"pexotest://example/page"), std::wstring::npos) << record.commandLine;
  EXPECT_EQ(record.commandLine.find(L"--incognito"), std::wstring::npos) << record.commandLine;
}

TEST_F(LinkLaunchTest, ElevatedWebAddressOpensInTheDefaultBrowsersPrivateMode) {
  SetDefaultBrowser(L"chrome.pexotest", Quoted(recorder_) + L" -- \"%1\"");
  ASSERT_TRUE(StartLinkThread(MakeLink(kLinkWebAddress, L"https://example.com/a b"), true, L""));
  Record record = WaitForRecord();
  EXPECT_NE(record.commandLine.find(L"--incognito \"https://example.com/a b\""), std::wstring::npos)
      << record.commandLine;

  // A link marked IsAdmin opens privately from the ordinary launch too, and an
  // unquoted open command names its program by its first word.
  SetDefaultBrowser(L"firefox.pexotest", recorder_ + L" %1");
  Link link = MakeLink(kLinkWebAddress, L"https://example.com/");
  link.IsAdmin = true;
  ASSERT_TRUE(StartLinkThread(link, false, L""));
  record = WaitForRecord();
  EXPECT_NE(record.commandLine.find(L"-private-window https://example.com/"), std::wstring::npos)
      << record.commandLine;
}

TEST_F(LinkLaunchTest, PrivateLaunchFallsBackToANormalOpen) {
  RegisterTestScheme();
  // The browser's program does not exist.
  SetDefaultBrowser(L"firefox.pexotest", L"C:\\nowhere\\browser.exe %1");
  ASSERT_TRUE(StartLinkThread(MakeLink(kLinkWebAddress, L"pexotest://fallback"), true, L""));
  Record record = WaitForRecord();
  EXPECT_NE(record.commandLine.find(L"pexotest://fallback"), std::wstring::npos) << record.commandLine;
  EXPECT_EQ(record.commandLine.find(L"-private"), std::wstring::npos) << record.commandLine;

  // No default browser at all.
  RegDeleteTreeW(HKEY_CURRENT_USER, kUserChoiceKey);
  ASSERT_TRUE(StartLinkThread(MakeLink(kLinkWebAddress, L"pexotest://nobrowser"), true, L""));
  record = WaitForRecord();
  EXPECT_NE(record.commandLine.find(L"pexotest://nobrowser"), std::wstring::npos) << record.commandLine;
}

TEST_F(LinkLaunchTest, ItemIdListOpensThroughTheShell) {
  PIDLIST_ABSOLUTE list = nullptr;
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  HRESULT parsed = SHParseDisplayName(recorder_.c_str(), nullptr, &list, 0, nullptr);
  ASSERT_TRUE(SUCCEEDED(parsed) && list);
  Link link = MakeLink(kLinkItemIdList, L"");
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(list);
  link.Pidl.assign(bytes, bytes + ILGetSize(list));
  CoTaskMemFree(list);
  CoUninitialize();
  ASSERT_TRUE(StartLinkThread(link, false, L""));
  EXPECT_FALSE(WaitForRecord().commandLine.empty());

  // An empty list, or a damaged one (an item running past the end), is not handed
  // to the shell at all.
  link.Pidl.resize(link.Pidl.size() - 2);
  EXPECT_FALSE(OpenItemIdList(link.Pidl));
  EXPECT_FALSE(OpenItemIdList({}));
}

TEST_F(LinkLaunchTest, ProgramStartsAsAdministratorThroughRunas) {
  Link link = MakeLink(kLinkProgram, recorder_);
  link.Parameter = L"elevated";
  ASSERT_TRUE(StartLinkThread(link, true, L""));
  Record record = WaitForRecord(8000);
  if (record.commandLine.empty() && pexo_test::RunningUnderWine()) {
    GTEST_SKIP() << "this Wine does not start programs for the \"runas\" verb";
  }
  EXPECT_NE(record.commandLine.find(L"elevated"), std::wstring::npos) << record.commandLine;
}

}  // namespace
