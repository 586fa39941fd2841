// The real Pexo.exe driven only from outside, as a user drives it: started in a
// fresh folder, its cards clicked with real mouse input, closed and started again.
// The link database is only read, to check what the program stored.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "data/link_store.h"
#include "tests/support/pexo_program.h"
#include "tests/support/test_support.h"

namespace {

using pexo_test::PexoProgram;

// Shown at start on the left of the screen, not docked, so that cards lie where
// the test computes them.
const char kVisibleConf[] =
    "[main]\r\nbHideOnStart=0\r\nbAutoDock=0\r\nbHideNotify=1\r\nbTopMost=1\r\nbShowDate=0\r\nTheme=\r\n"
    "nPosX=10\r\nnPosY=10\r\nnWidth=388\r\nnHeight=600\r\nnCurGroup=0\r\nnCurTag=0\r\n";

// Cards are 96 x 84 tiles from the card area's top left corner, right of the tag
// column and below the title bar and the group strip.
POINT CardCentre(int index) { return {1 + 72 + 1 + 6 + 48 + 96 * index, 40 + 1 + 6 + 31 + 6 + 1 + 6 + 42}; }

void SendMouse(DWORD flags) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof(input));
}

// A real click: the cursor moved over the point, the button pressed and released.
void ClickAt(HWND window, POINT client) {
  ClientToScreen(window, &client);
  SetCursorPos(client.x, client.y);
  Sleep(100);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  Sleep(50);
  SendMouse(MOUSEEVENTF_LEFTUP);
  Sleep(200);
}

size_t CountOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
  return count;
}

HWND StartShown(PexoProgram& program) {
  if (!program.Start()) return nullptr;
  HWND main = nullptr;
  HWND error = nullptr;
  program.WaitMainWindowOrError(&main, &error);
  if (!main || !pexo_test::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 10000)) return nullptr;
  SetForegroundWindow(main);
  Sleep(500);  // the cards fade in
  return main;
}

TEST(EndToEndTest, FirstStartThenLinksLaunchedByClicksKeepOrderAndRunCountsAcrossARestart) {
  PexoProgram program(kVisibleConf);
  ASSERT_TRUE(program.copied());
  ASSERT_TRUE(CopyFileW((pexo_test::ExeFolder() + L"\\launch_probe.exe").c_str(),
                        program.File(L"launch_probe.exe").c_str(), FALSE));
  const std::wstring db = program.File(L"db\\link.db");

  // First start: the default data is made, the window is shown and answers.
  HWND main = StartShown(program);
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
  main = StartShown(program);
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
  main = StartShown(program);
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

}  // namespace
