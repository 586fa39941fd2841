// The real Pexo.exe started in a fresh folder: it makes its database and shows
// its main window; over a prepared database a card click counts the run and a
// dragged card keeps its place after a restart; a damaged database is reported
// and left as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "data/link_store.h"
#include "tests/support/pexo_program.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"

namespace {

using pexo_test::PexoProgram;
using pexo_test::WaitUntil;

// A window on the left of the screen, not docked, so clicks land where the test
// computes; folders open through the probe, which logs every start, as the folder
// command.
const char kConf[] =
    "[main]\r\nnWidth=388\r\nnHeight=600\r\nnPosX=10\r\nnPosY=10\r\nbAutoDock=0\r\nbHideNotify=1\r\n"
    "bShowDate=0\r\nOpenDirCmd=launch_probe.exe folder %1\r\n";

class LauncherProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(program_.copied());
    folder_ = program_.folder();
    // The colour themes are installed beside the program.
    CreateDirectoryW((folder_ + L"theme").c_str(), nullptr);
    const std::wstring themes = pexo_test::ExeFolder() + L"\\..\\..\\app\\theme\\";
    for (const wchar_t* theme : {L"gray.xml", L"blue.xml"}) {
      CopyFileW((themes + theme).c_str(), (folder_ + L"theme\\" + theme).c_str(), FALSE);
    }
    ASSERT_TRUE(CopyFileW((pexo_test::ExeFolder() + L"\\launch_probe.exe").c_str(),
                          (folder_ + L"launch_probe.exe").c_str(), FALSE));
  }

  void TearDown() override { program_.Kill(); }

  // The main window once it is shown.
  HWND WaitForMainWindow() {
    HWND hwnd = nullptr;
    WaitUntil(
        [&] {
          return (hwnd = pexo_test::FindProcessWindow(program_.processId(), L"PexoWnd", nullptr, true)) != nullptr;
        },
        20000);
    return hwnd;
  }

  DWORD WaitExit() {
    DWORD code = 0xFFFFFFFF;
    program_.WaitExit(20000, &code);
    return code;
  }

  // Posts a press at one client point and a release at another.
  static void Drag(HWND hwnd, POINT from, POINT to) {
    PostMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(from.x, from.y));
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    PostMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((from.x + to.x) / 2, (from.y + to.y) / 2));
    PostMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
  }

  // The window places its cards when it paints, and posted input comes before
  // painting: a click posted while a paint is still due would hit cards not yet
  // placed. A repaint asked for from here is sent, so it has happened once this
  // returns.
  static void PaintNow(HWND hwnd) { RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN); }

  // What the screen shows of the card centred at a client point.
  static std::vector<DWORD> CardPicture(HWND hwnd, POINT centre) {
    POINT screen = centre;
    ClientToScreen(hwnd, &screen);
    return window_test::GrabScreen({screen.x - 24, screen.y - 24, screen.x + 24, screen.y + 24});
  }

  // What the card at `centre` shows once it has stopped changing (the window
  // fades in, icons arrive), or, with `before`, once it shows something else: the
  // dragged cards were dropped and painted in their new order. Empty on time-out.
  static std::vector<DWORD> SettledCardPicture(HWND hwnd, POINT centre, const std::vector<DWORD>& before = {}) {
    std::vector<DWORD> last;
    int same = 0;
    WaitUntil(
        [&] {
          PaintNow(hwnd);
          std::vector<DWORD> now = CardPicture(hwnd, centre);
          same = !now.empty() && now != before && now == last ? same + 1 : 0;
          last = std::move(now);
          return same >= 5;
        },
        10000);
    return same >= 5 ? last : std::vector<DWORD>{};
  }

  // Waits until the probe has logged a start whose line holds `what`.
  bool WaitLogged(const char* what) const {
    const std::wstring log = folder_ + L"probe_log.txt";
    return WaitUntil([&] { return pexo_test::ReadFileBytes(log).find(what) != std::string::npos; }, 10000);
  }

  static void Click(HWND hwnd, POINT at) {
    PostMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  }

  std::wstring DbPath() const { return folder_ + L"db\\link.db"; }

  PexoProgram program_{kConf};
  std::wstring folder_;
};

TEST_F(LauncherProcessTest, AFreshFolderGetsItsDatabaseAndTheMainWindow) {
  ASSERT_TRUE(program_.Start());
  HWND hwnd = WaitForMainWindow();
  ASSERT_NE(hwnd, nullptr);
  RECT rc = {};
  GetWindowRect(hwnd, &rc);
  EXPECT_EQ(rc.left, 10);
  EXPECT_EQ(rc.right - rc.left, 388);
  // It answers messages.
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer), 0);
  EXPECT_EQ(program_.CloseAndWait(hwnd), 0u);
  LinkStore store;
  ASSERT_TRUE(store.Open(DbPath()));
  EXPECT_FALSE(store.topGroups.empty());
}

TEST_F(LauncherProcessTest, CardClicksStartEachKindAndADraggedCardKeepsItsPlaceAfterARestart) {
  // A program, a folder (through the folder command) and a batch file.
  ASSERT_TRUE(pexo_test::WriteFileBytes(folder_ + L"run.bat", "@launch_probe.exe file\r\n"));
  CreateDirectoryW((folder_ + L"docs").c_str(), nullptr);
  int ids[3] = {};
  {
    LinkStore store;
    ASSERT_TRUE(store.Open(DbPath()));
    auto tag = store.topGroups[0]->tags[0];
    const wchar_t* names[] = {L"程序", L"文件夹", L"文件"};
    const int types[] = {kLinkProgram, kLinkFolder, kLinkFile};
    const std::wstring paths[] = {folder_ + L"launch_probe.exe", folder_ + L"docs", folder_ + L"run.bat"};
    for (int i = 0; i < 3; ++i) {
      auto link = std::make_shared<Link>();
      link->NAME = names[i];
      link->TYPE = types[i];
      link->PATH = paths[i];
      if (i == 0) link->Parameter = L"program";
      ASSERT_TRUE(store.AddLink(tag, link));
      ids[i] = link->ID;
    }
  }
  ASSERT_TRUE(program_.Start());
  HWND hwnd = WaitForMainWindow();
  ASSERT_NE(hwnd, nullptr);
  // Cards are 96 x 84 tiles from the card area's top left corner, which lies to
  // the right of the tag column and below the title bar and the group strip.
  const POINT first = {1 + 72 + 1 + 6 + 48, 40 + 1 + 6 + 31 + 6 + 1 + 6 + 42};
  const POINT second = {first.x + 96, first.y};
  const POINT third = {first.x + 2 * 96, first.y};
  const std::vector<DWORD> programCard = SettledCardPicture(hwnd, first);
  ASSERT_FALSE(programCard.empty()) << "the first card never settled";
  Drag(hwnd, first, third);  // order now: folder, file, program
  ASSERT_FALSE(SettledCardPicture(hwnd, first, programCard).empty()) << "the first card was not dropped on the third";
  Click(hwnd, third);
  EXPECT_TRUE(WaitLogged("program")) << "the moved card's click started nothing";
  ASSERT_EQ(program_.CloseAndWait(hwnd), 0u);

  LinkStore store;
  ASSERT_TRUE(store.Open(DbPath()));
  const auto& links = store.topGroups[0]->tags[0]->links;
  ASSERT_EQ(links.size(), 3u);
  EXPECT_EQ(links[0]->ID, ids[1]);
  EXPECT_EQ(links[2]->ID, ids[0]) << "the first card was dropped on the third";
  EXPECT_EQ(store.FindLink(ids[0])->RunCount, 1) << "the moved card was clicked";
  store.Close();

  // A second start shows the stored order.
  ASSERT_TRUE(program_.Start());
  hwnd = WaitForMainWindow();
  ASSERT_NE(hwnd, nullptr);
  ASSERT_FALSE(SettledCardPicture(hwnd, first).empty()) << "the first card never settled";
  Click(hwnd, first);
  EXPECT_TRUE(WaitLogged("folder ")) << "the folder card's click started nothing";
  PaintNow(hwnd);
  Click(hwnd, second);
  EXPECT_TRUE(WaitLogged("file")) << "the file card's click started nothing";
  ASSERT_EQ(program_.CloseAndWait(hwnd), 0u);
  const std::string lines = pexo_test::ReadFileBytes(folder_ + L"probe_log.txt");
  EXPECT_NE(lines.find("program"), std::string::npos) << lines;
  EXPECT_NE(lines.find("folder "), std::string::npos) << lines;
  EXPECT_NE(lines.find("docs"), std::string::npos) << lines;
  EXPECT_NE(lines.find("file"), std::string::npos) << lines;
  ASSERT_TRUE(store.Open(DbPath()));
  EXPECT_EQ(store.FindLink(ids[1])->RunCount, 1);
  EXPECT_EQ(store.FindLink(ids[2])->RunCount, 1);
}

TEST_F(LauncherProcessTest, ADamagedDatabaseIsReportedAndLeftUntouched) {
  std::string garbage(4096, '\x5A');
  garbage.replace(0, 16, "not a database!!");
  ASSERT_TRUE(pexo_test::WriteFileBytes(DbPath(), garbage));
  ASSERT_TRUE(program_.Start());
  HWND box = program_.WaitWindowTitled(PexoProgram::kErrorCaption, 20000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(pexo_test::MessageBoxText(box), L"链接数据库加载失败!");
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(WaitExit(), 0u);
  EXPECT_EQ(pexo_test::ReadFileBytes(DbPath()), garbage);
}

}  // namespace
