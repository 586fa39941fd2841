// The real Pexo.exe over damaged, locked and absurd files, and killed while it
// saves: it says clearly what is wrong or starts and works, never crashes and
// never writes over the user's files; a killed run leaves state the next start loads.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/link_store.h"
#include "data/settings.h"
#include "sqlite3.h"
#include "tests/support/pexo_program.h"
#include "tests/support/test_support.h"

namespace {

using pexo_test::PexoProgram;

// Hidden at start, no tray icon, no docking, no theme: the window is shown by
// message 1125 when a test needs it.
const char kQuietConf[] =
    "[main]\r\nbHideOnStart=1\r\nbAutoDock=0\r\nbHideNotify=1\r\nbTopMost=0\r\nbShowDate=0\r\nTheme=\r\n";

// A link store with `count` links in the first tag; their ids in order.
std::vector<int> MakeStore(const std::wstring& path, int count) {
  std::vector<int> ids;
  LinkStore store;
  if (!store.Open(path)) return ids;
  auto tag = store.topGroups[0]->tags[0];
  for (int i = 0; i < count; ++i) {
    auto link = std::make_shared<Link>();
    link->NAME = L"链接" + std::to_wstring(i);
    link->TYPE = kLinkProgram;
    link->PATH = L"C:\\windows\\notepad.exe";
    if (!store.AddLink(tag, link)) return {};
    ids.push_back(link->ID);
  }
  return ids;
}

std::string IntegrityCheck(const std::wstring& path) {
  sqlite3* db = nullptr;
  std::string result = "cannot open";
  std::string utf8(path.begin(), path.end());  // temporary folders are ASCII
  if (sqlite3_open_v2(utf8.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
      result = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    }
    sqlite3_finalize(statement);
  }
  sqlite3_close(db);
  return result;
}

// Whether the settings file is one a save wrote whole: loaded and saved again
// elsewhere it comes out byte for byte the same. A file cut or left with only part
// of the keys of a save comes out longer.
bool IsWholeSavedSettingsFile(const std::wstring& path) {
  const std::string bytes = pexo_test::ReadFileBytes(path);
  pexo_test::TempDir copy;
  if (!pexo_test::WriteFileBytes(copy.File(L"conf.ini"), bytes)) return false;
  Settings settings(copy.path());
  settings.Load();
  const bool saved = settings.Save();
  // Loading and saving made the copy's folder current; leave it so it can go.
  SetCurrentDirectoryW(pexo_test::ExeFolder().c_str());
  return saved && pexo_test::ReadFileBytes(copy.File(L"conf.ini")) == bytes;
}

// Starts the program, expects either its error box with `message` (answered, the
// program then ends with 0) or a main window that answers and closes with 0.
// Gives true when the error box came.
bool StartExpectingErrorOrWorkingWindow(PexoProgram& program, const wchar_t* message) {
  EXPECT_TRUE(program.Start());
  HWND main = nullptr;
  HWND error = nullptr;
  program.WaitMainWindowOrError(&main, &error);
  if (error) {
    EXPECT_EQ(pexo_test::MessageBoxText(error), message);
    PostMessageW(error, WM_COMMAND, IDOK, 0);
    DWORD code = 1;
    EXPECT_TRUE(program.WaitExit(20000, &code)) << "still running after the error was answered";
    EXPECT_EQ(code, 0u);
    return true;
  }
  EXPECT_NE(main, nullptr) << "neither an error nor a main window; the program ended or hung";
  if (!main) return false;
  EXPECT_TRUE(PexoProgram::Answers(main, 5000));
  EXPECT_EQ(program.CloseAndWait(main), 0u);
  return false;
}

TEST(DamagedDataFilesTest, ATruncatedOrGarbageFileIsReportedAndLeftAsItWas) {
  struct Case {
    const char* name;
    const wchar_t* file;
    const wchar_t* message;
    bool truncate;  // else garbage
  };
  const Case cases[] = {
      {"link.db truncated", L"db\\link.db", L"链接数据库加载失败!", true},
      {"icon.db garbage", L"db\\icon.db", L"图标缓存加载失败!", false},
      {"icon.db truncated", L"db\\icon.db", L"图标缓存加载失败!", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PexoProgram program(kQuietConf);
    ASSERT_TRUE(program.copied());
    // A working start makes both files; then one of them is damaged.
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(program.CloseAndWait(main), 0u);
    const std::wstring path = program.File(c.file);
    std::string bytes = pexo_test::ReadFileBytes(path);
    ASSERT_GT(bytes.size(), 2048u);
    if (c.truncate) {
      bytes.resize(bytes.size() / 2 + 100);
    } else {
      bytes.assign(bytes.size(), '\x5A');
      bytes.replace(0, 16, "not a database!!");
    }
    ASSERT_TRUE(pexo_test::WriteFileBytes(path, bytes));

    const bool reported = StartExpectingErrorOrWorkingWindow(program, c.message);
    if (reported) EXPECT_EQ(pexo_test::ReadFileBytes(path), bytes) << "the damaged file was written over";
  }
}

// The start opens both files on a worker thread, the link store only after the
// icon cache: a start that ends on the icon cache's message has made no link.db.
TEST(DamagedDataFilesTest, ADamagedIconCacheEndsTheStartBeforeALinkStoreIsMade) {
  PexoProgram program(kQuietConf);
  ASSERT_TRUE(program.copied());
  std::string garbage(8192, '\x5A');
  garbage.replace(0, 16, "not a database!!");
  ASSERT_TRUE(pexo_test::WriteFileBytes(program.File(L"db\\icon.db"), garbage));
  ASSERT_TRUE(program.Start());
  HWND box = program.WaitWindowTitled(PexoProgram::kErrorCaption, 20000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(pexo_test::MessageBoxText(box), L"图标缓存加载失败!");
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  DWORD code = 1;
  EXPECT_TRUE(program.WaitExit(20000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(pexo_test::ReadFileBytes(program.File(L"db\\icon.db")), garbage);
  EXPECT_EQ(GetFileAttributesW(program.File(L"db\\link.db").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(DamagedDataFilesTest, ALockedOrReadOnlyLinkStoreIsReportedOrOpenedWithoutLosingIt) {
  PexoProgram program(kQuietConf);
  ASSERT_TRUE(program.copied());
  const std::wstring path = program.File(L"db\\link.db");
  ASSERT_EQ(MakeStore(path, 3).size(), 3u);
  const std::string before = pexo_test::ReadFileBytes(path);
  {
    SCOPED_TRACE("locked by another process");
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    StartExpectingErrorOrWorkingWindow(program, L"链接数据库加载失败!");
    CloseHandle(lock);
    EXPECT_EQ(pexo_test::ReadFileBytes(path), before);
  }
  {
    SCOPED_TRACE("read-only");
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    StartExpectingErrorOrWorkingWindow(program, L"链接数据库加载失败!");
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(pexo_test::ReadFileBytes(path), before);
  }
  // Still whole for a normal start.
  LinkStore store;
  ASSERT_TRUE(store.Open(path));
  EXPECT_EQ(store.topGroups[0]->tags[0]->links.size(), 3u);
}

TEST(AbsurdSettingsTest, TheWindowStillComesOnScreenUsableAndVisible) {
  const std::string longText(10000, 'x');
  const std::string conf = "[main]\r\nbHideOnStart=0\r\nbAutoDock=0\r\nbHideNotify=1\r\nbTopMost=0\r\n"
                           "nWidth=-500\r\nnHeight=-40\r\nnPosX=-99999\r\nnPosY=99999\r\nnAlpha=0\r\n"
                           "nGroupWidth=-7\r\nnTagWidth=-9999\r\nnAttrWidth=-5\r\nnAttrHeight=-5\r\nnSearchX=-99999\r\nnSearchCount=-4\r\nnCurGroup=-3\r\nnCurTag=99999\r\n"
                           "Theme=" + longText + "\r\nOpenDirCmd=" + longText + "\r\nTagAlign=" + longText +
                           "\r\n";
  PexoProgram program(conf);
  ASSERT_TRUE(program.copied());
  ASSERT_TRUE(program.Start());
  HWND main = nullptr;
  HWND error = nullptr;
  std::wstring warnings;
  program.WaitMainWindowOrError(&main, &error, 30000, &warnings);
  ASSERT_EQ(error, nullptr) << pexo_test::MessageBoxText(error);
  ASSERT_NE(main, nullptr) << "no main window";
  // The theme that does not exist is reported, its name shortened or not.
  EXPECT_NE(warnings.find(L"主题["), std::wstring::npos);
  ASSERT_TRUE(pexo_test::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 10000)) << "never shown";
  ASSERT_TRUE(PexoProgram::Answers(main, 5000));
  Sleep(300);
  RECT rect = {};
  GetWindowRect(main, &rect);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_GE(rect.right - rect.left, 100) << "too narrow to use";
  EXPECT_GE(rect.bottom - rect.top, 100) << "too low to use";
  EXPECT_GE(rect.left, 0);
  EXPECT_GE(rect.top, 0);
  EXPECT_LE(rect.right, screenWidth);
  EXPECT_LE(rect.bottom, screenHeight);
  BYTE alpha = 0;
  DWORD flags = 0;
  if ((GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_LAYERED) &&
      GetLayeredWindowAttributes(main, nullptr, &alpha, &flags) && (flags & LWA_ALPHA)) {
    EXPECT_GE(alpha, 128) << "nearly invisible";
  }
  EXPECT_EQ(program.CloseAndWait(main), 0u);
  // The saved file reads back as settings again.
  EXPECT_GT(GetPrivateProfileIntW(L"main", L"nWidth", -1, program.File(L"conf.ini").c_str()), 0);
}

TEST(KilledWhileSavingTest, TheNextStartLoadsAWholeStoreWithEveryLink) {
  PexoProgram program(kQuietConf);
  ASSERT_TRUE(program.copied());
  const std::wstring path = program.File(L"db\\link.db");
  const std::vector<int> ids = MakeStore(path, 40);
  ASSERT_EQ(ids.size(), 40u);
  // Each round: start, let it save run counts and settings on a busy schedule
  // (a card click saves the count at once; close saves the settings), and kill
  // it at a different moment each time.
  for (int round = 0; round < 6; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitMainWindow();
    ASSERT_NE(main, nullptr);
    PostMessageW(main, 1125, 0, 0);
    for (int i = 0; i < 20; ++i) {
      // Position changes make the program save its settings.
      PostMessageW(main, WM_MOVE, 0, MAKELPARAM(10 + i, 10 + i));
    }
    PostMessageW(main, WM_CLOSE, 0, 0);
    Sleep(static_cast<DWORD>(round * 40));
    program.Kill();

    // The settings are all old (the file as written before the first start) or all new.
    const std::wstring conf = program.File(L"conf.ini");
    if (pexo_test::ReadFileBytes(conf) != kQuietConf) {
      EXPECT_TRUE(IsWholeSavedSettingsFile(conf)) << "conf.ini holds part of a save";
    }
    EXPECT_EQ(IntegrityCheck(path), "ok");
    LinkStore store;
    ASSERT_TRUE(store.Open(path));
    ASSERT_EQ(store.topGroups[0]->tags[0]->links.size(), ids.size());
    for (size_t i = 0; i < ids.size(); ++i) EXPECT_EQ(store.topGroups[0]->tags[0]->links[i]->ID, ids[i]);
    store.Close();
  }
  // After all of that a normal start works.
  EXPECT_FALSE(StartExpectingErrorOrWorkingWindow(program, L""));
  EXPECT_GE(GetPrivateProfileIntW(L"main", L"nWidth", -1, program.File(L"conf.ini").c_str()), 1);
}

}  // namespace
