// The real Pexo.exe driven only from outside, as a user drives it: started in a
// fresh folder, its cards clicked with real mouse input, closed and started again.
// The link database is only read, to check what the program stored.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "data/group.h"
#include "data/link.h"
#include "data/link_store.h"
#include "data/system_links.h"
#include "tests/app/end_to_end/end_to_end_driver.h"
#include "tests/app/support/test_data_object.h"
#include "tests/support/pexo_program.h"
#include "tests/support/test_support.h"

namespace {

using pexo_test::PexoProgram;

// Shown at start on the left of the screen, not docked, so that cards lie where
// the test computes them.
const char kVisibleConf[] =
    "[main]\r\nbHideOnStart=0\r\nbAutoDock=0\r\nbHideNotify=1\r\nbTopMost=1\r\nbShowDate=0\r\nTheme=\r\n"
    "nPosX=10\r\nnPosY=10\r\nnWidth=388\r\nnHeight=600\r\nnCurGroup=0\r\nnCurTag=0\r\n";

using e2e::CardCentre;
// Empty space of the card area, where a right click opens the link box menu.
constexpr POINT kLinkBoxSpace = {250, 450};
// The title bar's menu button: the second button from the right.
constexpr POINT kMenuButton = {388 - 53, 21};
// The title bar's search button, left of the menu button while the theme button is hidden.
constexpr POINT kSearchButton = {388 - 85, 21};
// The title bar's close button, the rightmost: it hides the window.
constexpr POINT kCloseButton = {388 - 21, 21};

void ClickAt(HWND window, POINT client) { e2e::Click(window, client, false, 200); }

size_t CountOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
  return count;
}

// The program's folder with the recording program beside it.
bool AddProbe(const PexoProgram& program) {
  return CopyFileW((pexo_test::ExeFolder() + L"\\launch_probe.exe").c_str(), program.File(L"launch_probe.exe").c_str(),
                   FALSE) != FALSE;
}

// Links that start the recording program with "launched-<name>", put in the first
// tag of a first-start database; their ids in order.
std::vector<int> AddProbeLinks(const PexoProgram& program, std::initializer_list<const wchar_t*> names,
                               uint16_t firstChord = 0) {
  std::vector<int> ids;
  LinkStore store;
  if (!store.Open(program.File(L"db\\link.db")) || store.topGroups.empty() || store.topGroups[0]->tags.empty()) {
    return ids;
  }
  auto tag = store.topGroups[0]->tags[0];
  for (const wchar_t* name : names) {
    auto link = std::make_shared<Link>();
    link->NAME = name;
    link->TYPE = kLinkProgram;
    link->PATH = program.File(L"launch_probe.exe");
    link->Parameter = std::wstring(L"launched-") + name;
    if (ids.empty()) link->HotKey = firstChord;
    if (!store.AddLink(tag, link)) return {};
    ids.push_back(link->ID);
  }
  return ids;
}

// The links of the first tag as the program left them in link.db.
std::vector<std::shared_ptr<Link>> FirstTagLinks(const PexoProgram& program) {
  LinkStore store;
  if (!store.Open(program.File(L"db\\link.db")) || store.topGroups.empty() || store.topGroups[0]->tags.empty()) {
    return {};
  }
  return store.topGroups[0]->tags[0]->links;
}

// Starts, waits for the window, closes it again: the first start's default data.
bool FirstStart(PexoProgram& program) {
  HWND main = e2e::StartShown(program);
  return main && program.CloseAndWait(main) == 0;
}

int CountLaunches(const PexoProgram& program, const char* name) {
  return static_cast<int>(CountOf(pexo_test::ReadFileBytes(program.File(L"probe_log.txt")), name));
}

TEST(EndToEndTest, FirstStartThenLinksLaunchedByClicksKeepOrderAndRunCountsAcrossARestart) {
  PexoProgram program(kVisibleConf);
  ASSERT_TRUE(program.copied());
  ASSERT_TRUE(CopyFileW((pexo_test::ExeFolder() + L"\\launch_probe.exe").c_str(),
                        program.File(L"launch_probe.exe").c_str(), FALSE));
  const std::wstring db = program.File(L"db\\link.db");

  // First start: the default data is made, the window is shown and answers.
  HWND main = e2e::StartShown(program);
  ASSERT_NE(main, nullptr) << "no main window on the first start";
  EXPECT_TRUE(PexoProgram::Answers(main));
  ASSERT_EQ(program.CloseAndWait(main), 0u);

  // Three links in the first tag, as the link editor would store them.
  std::vector<int> ids;
  {
    LinkStore store;
    ASSERT_TRUE(store.Open(db));
    ASSERT_FALSE(store.topGroups.empty());
    ASSERT_FALSE(store.topGroups[0]->tags.empty());
    auto tag = store.topGroups[0]->tags[0];
    ASSERT_TRUE(tag->links.empty()) << "the default data has no links in its first tag";
    for (const wchar_t* name : {L"alpha", L"beta", L"gamma"}) {
      auto link = std::make_shared<Link>();
      link->NAME = name;
      link->TYPE = kLinkProgram;
      link->PATH = program.File(L"launch_probe.exe");
      link->Parameter = std::wstring(L"launched-") + name;
      ASSERT_TRUE(store.AddLink(tag, link));
      ids.push_back(link->ID);
    }
  }

  // Second start: the first card is clicked twice, the third once.
  main = e2e::StartShown(program);
  ASSERT_NE(main, nullptr) << "no main window on the second start";
  const std::wstring log = program.File(L"probe_log.txt");
  ClickAt(main, CardCentre(0));
  ASSERT_TRUE(pexo_test::WaitUntil(
      [&] { return CountOf(pexo_test::ReadFileBytes(log), "launched-alpha") == 1; }, 10000))
      << "a click on the first card started nothing";
  // Apart by more than the double-click time: two separate clicks.
  Sleep(GetDoubleClickTime() + 100);
  ClickAt(main, CardCentre(0));
  ClickAt(main, CardCentre(2));
  EXPECT_TRUE(pexo_test::WaitUntil(
      [&] {
        const std::string text = pexo_test::ReadFileBytes(log);
        return CountOf(text, "launched-alpha") == 2 && CountOf(text, "launched-gamma") == 1;
      },
      10000))
      << pexo_test::ReadFileBytes(log);
  EXPECT_EQ(CountOf(pexo_test::ReadFileBytes(log), "launched-beta"), 0u);
  ASSERT_EQ(program.CloseAndWait(main), 0u);

  // Third start: everything is still there, in the same order, with its counts,
  // and clicking still launches.
  main = e2e::StartShown(program);
  ASSERT_NE(main, nullptr) << "no main window on the third start";
  ClickAt(main, CardCentre(1));
  EXPECT_TRUE(pexo_test::WaitUntil(
      [&] { return CountOf(pexo_test::ReadFileBytes(log), "launched-beta") == 1; }, 10000));
  ASSERT_EQ(program.CloseAndWait(main), 0u);

  LinkStore store;
  ASSERT_TRUE(store.Open(db));
  const auto& links = store.topGroups[0]->tags[0]->links;
  ASSERT_EQ(links.size(), 3u);
  const int expectedCounts[] = {2, 1, 1};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(links[i]->ID, ids[i]) << "order changed at " << i;
    EXPECT_EQ(links[i]->RunCount, expectedCounts[i]) << "run count of link " << i;
  }
}


// The web address dialog: its name and address fields from the top left corner,
// its OK button from the bottom right one.
constexpr POINT kUrlName = {250, 70};
constexpr POINT kUrlAddress = {250, 108};

POINT DialogOk(HWND dialog) {
  RECT rc = {};
  GetClientRect(dialog, &rc);
  return {rc.right - 1 - 16 - 84 - 8 - 42, rc.bottom - 1 - 14 - 15};
}

void FillUrlDialog(HWND dialog, const std::wstring& name, const std::wstring& address) {
  // Clicks before the dialog has faded in and laid out its fields miss them.
  EXPECT_TRUE(e2e::WaitSettled(dialog)) << "the web address dialog never settled";
  ClickAt(dialog, kUrlName);
  e2e::TypeText(name);
  ClickAt(dialog, kUrlAddress);
  e2e::TypeText(address);
}

TEST(EndToEndTest, LinksAddedThroughTheLinkBoxMenuAndItsDialogsAreThereAfterARestart) {
  PexoProgram program(kVisibleConf);
  ASSERT_TRUE(program.copied());
  HWND main = e2e::StartShown(program);
  ASSERT_NE(main, nullptr);
  const DWORD pid = program.processId();

  // "Add web address", the dialog filled in and confirmed.
  ASSERT_TRUE(e2e::ChooseMenu(pid, main, kLinkBoxSpace, {{2}})) << "the link box menu did not open";
  HWND dialog = e2e::WaitVisible(pid, L"UrlWnd");
  ASSERT_NE(dialog, nullptr) << "no web address dialog";
  FillUrlDialog(dialog, L"Example", L"https://example.com/");
  ClickAt(dialog, DialogOk(dialog));
  ASSERT_TRUE(e2e::WaitGone(pid, L"UrlWnd")) << "the dialog stayed after OK";

  // The same dialog left with Escape adds nothing.
  SetForegroundWindow(main);
  ASSERT_TRUE(e2e::ChooseMenu(pid, main, kLinkBoxSpace, {{2}}));
  dialog = e2e::WaitVisible(pid, L"UrlWnd");
  ASSERT_NE(dialog, nullptr);
  FillUrlDialog(dialog, L"Dropped", L"https://example.org/");
  e2e::PressKey(VK_ESCAPE);
  ASSERT_TRUE(e2e::WaitGone(pid, L"UrlWnd")) << "Escape left the dialog open";

  // "Add system function": a click on the first tile adds it and closes the dialog.
  SetForegroundWindow(main);
  ASSERT_TRUE(e2e::ChooseMenu(pid, main, kLinkBoxSpace, {{3}}));
  dialog = e2e::WaitVisible(pid, L"SysWnd");
  ASSERT_NE(dialog, nullptr) << "no system function dialog";
  ASSERT_TRUE(e2e::WaitSettled(dialog)) << "the system function dialog never settled";
  ClickAt(dialog, {1 + 8 + 36, 41 + 8 + 28});
  ASSERT_TRUE(e2e::WaitGone(pid, L"SysWnd")) << "a click on a tile left the dialog open";

  // Under Wine the new link's shell icon takes about two seconds to cache.
  EXPECT_TRUE(pexo_test::WaitUntil([&] { return PexoProgram::Answers(main, 500); }, 8000));
  ASSERT_EQ(program.CloseAndWait(main), 0u);
  main = e2e::StartShown(program);
  ASSERT_NE(main, nullptr) << "no window after the restart";
  ASSERT_EQ(program.CloseAndWait(main), 0u);

  const auto links = FirstTagLinks(program);
  ASSERT_EQ(links.size(), 2u) << "the cancelled dialog must add nothing";
  EXPECT_EQ(links[0]->NAME, L"Example");
  EXPECT_EQ(links[0]->TYPE, kLinkWebAddress);
  EXPECT_EQ(links[0]->PATH, L"https://example.com/");
  EXPECT_EQ(links[1]->NAME, SystemLinkTable()[0].NAME);
  EXPECT_EQ(links[1]->PATH, SystemLinkTable()[0].PATH);
}

// Search and both application chords set in conf.ini: Ctrl+Alt+F9 searches,
// Ctrl+Alt+F8 shows and hides the main window.
std::string ChordConf() {
  std::string conf = kVisibleConf;
  conf += "nSearchHotKey=" + std::to_string(MakeHotKeyCode(kHotKeyCtrl | kHotKeyAlt, VK_F9)) + "\r\n";
  conf += "nMainHotKey=" + std::to_string(MakeHotKeyCode(kHotKeyCtrl | kHotKeyAlt, VK_F8)) + "\r\n";
  return conf;
}

TEST(EndToEndTest, SearchFindsALinkByNameAndEnterStartsIt) {
  PexoProgram program(ChordConf());
  ASSERT_TRUE(program.copied());
  ASSERT_TRUE(AddProbe(program));
  ASSERT_TRUE(FirstStart(program));
  ASSERT_EQ(AddProbeLinks(program, {L"alpha", L"gamma", L"delta"}).size(), 3u);

  HWND main = e2e::StartShown(program);
  ASSERT_NE(main, nullptr);
  const DWORD pid = program.processId();
  e2e::PressChord({VK_CONTROL, VK_MENU}, VK_F9);
  HWND search = e2e::WaitVisible(pid, L"SearchWnd", 3000);
  if (!search) {
    // This display turned no synthesised chord into WM_HOTKEY: the search button does the same.
    SetForegroundWindow(main);
    ClickAt(main, kSearchButton);
    search = e2e::WaitVisible(pid, L"SearchWnd");
  }
  ASSERT_NE(search, nullptr) << "no search window";
  ASSERT_TRUE(e2e::WaitSettled(search)) << "the search window never settled";
  e2e::TypeText(L"gam");
  ASSERT_TRUE(e2e::WaitSettled(search)) << "the search results never settled";
  e2e::PressKey(VK_RETURN);
  EXPECT_TRUE(pexo_test::WaitUntil([&] { return CountLaunches(program, "launched-gamma") == 1; }, 10000))
      << "Enter on the search result started nothing";
  EXPECT_EQ(CountLaunches(program, "launched-alpha") + CountLaunches(program, "launched-delta"), 0);
  ASSERT_EQ(program.CloseAndWait(main), 0u);

  const auto links = FirstTagLinks(program);
  ASSERT_EQ(links.size(), 3u);
  EXPECT_EQ(links[1]->RunCount, 1) << "the search launch is counted like a click";
}

// A program link whose file is gone, found in the search window while the main
// window is hidden and started with Enter: the search window hides, the system's
// refusal is told by name in the notice window where the search window stood, the
// main window stays hidden, and the run is stored as a card click stores it. A
// link's chord pressed then is told the same way.
TEST(EndToEndTest, ALaunchTheSystemRefusesFromTheSearchWindowIsToldWhileTheMainWindowIsHidden) {
  PexoProgram program(ChordConf());
  ASSERT_TRUE(program.copied());
  ASSERT_TRUE(FirstStart(program));
  {
    LinkStore store;
    ASSERT_TRUE(store.Open(program.File(L"db\\link.db")));
    ASSERT_FALSE(store.topGroups.empty());
    ASSERT_FALSE(store.topGroups[0]->tags.empty());
    for (const wchar_t* name : {L"gone tool", L"chorded gone"}) {
      auto link = std::make_shared<Link>();
      link->NAME = name;
      link->TYPE = kLinkProgram;
      link->PATH = program.File(L"no_such_tool.exe");
      // A chord of its own: the chord tests beside it register Ctrl+Alt+F7.
      if (name[0] == L'c') link->HotKey = MakeHotKeyCode(kHotKeyCtrl | kHotKeyAlt | kHotKeyShift, VK_F7);
      ASSERT_TRUE(store.AddLink(store.topGroups[0]->tags[0], link));
    }
  }

  HWND main = e2e::StartShown(program);
  ASSERT_NE(main, nullptr);
  const DWORD pid = program.processId();
  ClickAt(main, kCloseButton);
  ASSERT_TRUE(pexo_test::WaitUntil([&] { return !IsWindowVisible(main); }, 5000)) << "the close button did not hide";
  e2e::PressChord({VK_CONTROL, VK_MENU}, VK_F9);
  HWND search = e2e::WaitVisible(pid, L"SearchWnd", 3000);
  if (!search) {
    EXPECT_TRUE(PexoProgram::Answers(main));
    EXPECT_EQ(program.CloseAndWait(main), 0u);
    GTEST_SKIP() << "this display turns no synthesised key chord into a global hot key, and with the main "
                    "window hidden nothing else opens the search window";
  }
  ASSERT_TRUE(e2e::WaitReadyForKeys(search)) << "the search window never took the keys";
  RECT place = {};
  GetWindowRect(search, &place);
  e2e::TypeText(L"gone");
  ASSERT_TRUE(e2e::WaitSettled(search)) << "the search results never settled";
  e2e::PressKey(VK_RETURN);
  HWND notice = e2e::WaitVisible(pid, L"NoticeWnd", 10000);
  ASSERT_NE(notice, nullptr) << "the refusal was not told";
  wchar_t text[128] = {};
  GetWindowTextW(notice, text, 128);
  EXPECT_EQ(std::wstring(text), L"无法打开 gone tool");
  EXPECT_FALSE(IsWindowVisible(search)) << "the search window stays open after the launch";
  EXPECT_FALSE(IsWindowVisible(main)) << "the main window came up";
  RECT rc = {};
  GetWindowRect(notice, &rc);
  EXPECT_EQ(rc.top, place.top) << "the notice is not where the search window stood";
  EXPECT_LE(std::abs((rc.left + rc.right) - (place.left + place.right)), 1);
  EXPECT_TRUE(e2e::WaitGone(pid, L"NoticeWnd", 10000)) << "the notice stays";

  // A link's own chord with the main window hidden is told in the same place.
  e2e::PressChord({VK_CONTROL, VK_MENU, VK_SHIFT}, VK_F7);
  notice = e2e::WaitVisible(pid, L"NoticeWnd", 10000);
  ASSERT_NE(notice, nullptr) << "the chord's refusal was not told";
  GetWindowTextW(notice, text, 128);
  EXPECT_EQ(std::wstring(text), L"无法打开 chorded gone");
  EXPECT_FALSE(IsWindowVisible(main)) << "the main window came up";
  ASSERT_EQ(program.CloseAndWait(main), 0u);

  const auto links = FirstTagLinks(program);
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[0]->RunCount, 1) << "a refused launch from the search counts as a refused card click";
  EXPECT_EQ(links[1]->RunCount, 1);
}

TEST(EndToEndTest, TheApplicationChordHidesAndShowsTheWindowAndALinksChordStartsIt) {
  PexoProgram program(ChordConf());
  ASSERT_TRUE(program.copied());
  ASSERT_TRUE(AddProbe(program));
  ASSERT_TRUE(FirstStart(program));
  ASSERT_EQ(AddProbeLinks(program, {L"chorded", L"plain"}, MakeHotKeyCode(kHotKeyCtrl | kHotKeyAlt, VK_F7)).size(),
            2u);

  HWND main = e2e::StartShown(program);
  ASSERT_NE(main, nullptr);
  e2e::PressChord({VK_CONTROL, VK_MENU}, VK_F8);
  if (!pexo_test::WaitUntil([&] { return !IsWindowVisible(main); }, 3000)) {
    GTEST_SKIP() << "this display turns no synthesised key chord into a global hot key";
  }
  e2e::PressChord({VK_CONTROL, VK_MENU}, VK_F8);
  EXPECT_TRUE(pexo_test::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 3000))
      << "the chord did not bring the window back";

  e2e::PressChord({VK_CONTROL, VK_MENU}, VK_F7);
  EXPECT_TRUE(pexo_test::WaitUntil([&] { return CountLaunches(program, "launched-chorded") == 1; }, 10000))
      << "the link's chord started nothing";
  EXPECT_EQ(CountLaunches(program, "launched-plain"), 0);
  EXPECT_TRUE(PexoProgram::Answers(main));
  ASSERT_EQ(program.CloseAndWait(main), 0u);
  const auto links = FirstTagLinks(program);
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[0]->RunCount, 1);
  EXPECT_EQ(links[0]->HotKey, MakeHotKeyCode(kHotKeyCtrl | kHotKeyAlt, VK_F7));
}

TEST(EndToEndTest, AWindowDockedAtTheLeftEdgeSlidesOutAndComesBackWhenTheCursorTouchesTheEdge) {
  std::string conf = kVisibleConf;
  const std::string undocked = "bAutoDock=0";
  conf.replace(conf.find(undocked), undocked.size(), "bAutoDock=1");
  const std::string left = "nPosX=10";
  conf.replace(conf.find(left), left.size(), "nPosX=0");
  PexoProgram program(conf);
  ASSERT_TRUE(program.copied());
  e2e::MoveTo({100, 300});  // over where the window will be, so that it does not leave at once
  HWND main = e2e::StartShown(program);
  ASSERT_NE(main, nullptr);
  RECT rc = {};
  GetWindowRect(main, &rc);
  ASSERT_EQ(rc.left, 0) << "the window did not start at the left edge";
  const LONG width = rc.right - rc.left;

  // The cursor leaves: the window slides out, leaving a strip at the edge.
  e2e::MoveTo({900, 500});
  ASSERT_TRUE(pexo_test::WaitUntil(
      [&] {
        GetWindowRect(main, &rc);
        return rc.right <= 8;
      },
      5000))
      << "the docked window stayed; left at " << rc.left;
  Sleep(300);

  // The cursor touches the edge: it slides back in full.
  e2e::MoveTo({0, 300});
  e2e::MoveTo({1, 301});
  ASSERT_TRUE(pexo_test::WaitUntil(
      [&] {
        e2e::MoveTo({0, 300});
        GetWindowRect(main, &rc);
        return rc.left == 0 && rc.right == width;
      },
      5000))
      << "the window did not come back; left at " << rc.left;
  EXPECT_TRUE(PexoProgram::Answers(main));
  ASSERT_EQ(program.CloseAndWait(main), 0u);
}

// A pixel of the screen, read from outside the program.
COLORREF ScreenPixel(HWND window, POINT client) {
  const POINT at = e2e::ToScreen(window, client);
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, at.x, at.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

TEST(EndToEndTest, AThemeChosenFromTheMainMenuRecolorsTheWindowAndSurvivesARestart) {
  PexoProgram program(kVisibleConf);
  ASSERT_TRUE(program.copied());
  // Colour themes are files in "theme" beside the executable; one is offered.
  const std::wstring themes = program.File(L"theme");
  ASSERT_TRUE(CreateDirectoryW(themes.c_str(), nullptr));
  ASSERT_TRUE(CopyFileW((pexo_test::ExeFolder() + L"\\..\\..\\app\\theme\\dark.xml").c_str(),
                        (themes + L"\\dark.xml").c_str(), FALSE));
  HWND main = e2e::StartShown(program);
  ASSERT_NE(main, nullptr);
  const POINT background = {300, 500};
  const COLORREF before = ScreenPixel(main, background);

  // Menu button, "Theme" (the fifteenth item, below three separators), then the only theme.
  ClickAt(main, kMenuButton);
  const DWORD pid = program.processId();
  HWND level = e2e::WaitNewMenuLevel(pid, {});
  ASSERT_NE(level, nullptr) << "the main menu did not open";
  const POINT themeItem = e2e::MenuItemPoint(level, 14, 3);
  e2e::MoveTo({themeItem.x + 1, themeItem.y});
  e2e::MoveTo(themeItem);
  HWND themeLevel = e2e::WaitNewMenuLevel(pid, {level});
  ASSERT_NE(themeLevel, nullptr) << "the theme level did not open";
  e2e::ClickScreen(e2e::MenuItemPoint(themeLevel, 0), false, 500);
  const COLORREF dark = ScreenPixel(main, background);
  EXPECT_NE(dark, before) << "the window kept its colours";
  EXPECT_LT(GetRValue(dark) + GetGValue(dark) + GetBValue(dark), 3 * 80) << "the dark theme is not dark";
  ASSERT_EQ(program.CloseAndWait(main), 0u);
  wchar_t theme[64] = {};
  GetPrivateProfileStringW(L"main", L"Theme", L"", theme, 64, program.File(L"conf.ini").c_str());
  EXPECT_STREQ(theme, L"dark.xml");

  main = e2e::StartShown(program);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ScreenPixel(main, background), dark) << "the theme was lost on the restart";
  ASSERT_EQ(program.CloseAndWait(main), 0u);
}


TEST(EndToEndTest, ACardMovedAndCopiedThroughItsMenuLandsInTheChosenTag) {
  PexoProgram program(kVisibleConf);
  ASSERT_TRUE(program.copied());
  ASSERT_TRUE(AddProbe(program));
  ASSERT_TRUE(FirstStart(program));
  ASSERT_EQ(AddProbeLinks(program, {L"first", L"second"}).size(), 2u);
  {
    LinkStore store;
    ASSERT_TRUE(store.Open(program.File(L"db\\link.db")));
    auto tag = std::make_shared<Group>();
    tag->NAME = L"other";
    ASSERT_TRUE(store.AddTag(store.topGroups[0], tag));
  }
  HWND main = e2e::StartShown(program);
  ASSERT_NE(main, nullptr);
  const DWORD pid = program.processId();

  // Card menu: "移动到" (fifth item, below a separator) → the group → the second tag.
  ASSERT_TRUE(e2e::ChooseMenu(pid, main, CardCentre(0), {{4, 1}, {0}, {1}})) << "a level of the move menu did not open";
  ASSERT_TRUE(e2e::WaitGone(pid, L"MenuWnd")) << "the move menu stayed up";
  e2e::WaitSettled(main);
  SetForegroundWindow(main);
  // "复制到" the same way with the card that is now first.
  ASSERT_TRUE(e2e::ChooseMenu(pid, main, CardCentre(0), {{5, 1}, {0}, {1}})) << "a level of the copy menu did not open";
  ASSERT_TRUE(e2e::WaitGone(pid, L"MenuWnd")) << "the copy menu stayed up";
  EXPECT_TRUE(PexoProgram::Answers(main));
  ASSERT_EQ(program.CloseAndWait(main), 0u);

  LinkStore store;
  ASSERT_TRUE(store.Open(program.File(L"db\\link.db")));
  const auto& tags = store.topGroups[0]->tags;
  ASSERT_EQ(tags.size(), 2u);
  ASSERT_EQ(tags[0]->links.size(), 1u);
  EXPECT_EQ(tags[0]->links[0]->NAME, L"second");
  ASSERT_EQ(tags[1]->links.size(), 2u);
  EXPECT_EQ(tags[1]->links[0]->NAME, L"first");
  EXPECT_EQ(tags[1]->links[1]->NAME, L"second");
}


TEST(EndToEndTest, AProgramDroppedFromAnotherProcessBecomesACardThatStartsItAndStays) {
  PexoProgram program(kVisibleConf);
  ASSERT_TRUE(program.copied());
  ASSERT_TRUE(AddProbe(program));
  HWND main = e2e::StartShown(program);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));

  TestDataObject data;
  data.SetFiles({program.File(L"launch_probe.exe")});
  e2e::CarryOverAndDrop source(e2e::ToScreen(main, kLinkBoxSpace));
  e2e::MoveTo(e2e::ToScreen(main, {kLinkBoxSpace.x - 60, kLinkBoxSpace.y}));
  DWORD effect = DROPEFFECT_NONE;
  const HRESULT result =
      DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
  OleUninitialize();
  if (result != DRAGDROP_S_DROP) {
    program.CloseAndWait(main);
    GTEST_SKIP() << "this Wine did not carry the drag to the other process's drop target (" << std::hex << result
                 << ")";
  }
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_LINK));

  // The new card starts the dropped program with a click.
  SetForegroundWindow(main);
  ASSERT_TRUE(e2e::WaitSettled(main)) << "the new card never settled";
  ClickAt(main, CardCentre(0));
  EXPECT_TRUE(pexo_test::WaitUntil(
      [&] { return CountOf(pexo_test::ReadFileBytes(program.File(L"probe_log.txt")), "\n") == 1; }, 10000))
      << "a click on the dropped card started nothing";
  ASSERT_EQ(program.CloseAndWait(main), 0u);

  main = e2e::StartShown(program);
  ASSERT_NE(main, nullptr);
  ASSERT_EQ(program.CloseAndWait(main), 0u);
  const auto links = FirstTagLinks(program);
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0]->NAME, L"launch_probe");
  EXPECT_EQ(links[0]->RunCount, 1);
}

}  // namespace
