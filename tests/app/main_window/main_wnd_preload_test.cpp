// The program's start opens the icon cache and the link store on a worker thread
// while the main window is made; the window takes what the worker loaded where it
// opens its data. Over such a preload it shows the same cards and registers the
// same hot keys and colours as a window that opens the stores itself. The window
// comes up painted before the set-up's last steps and what the start defers.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/main_window/data_preload.h"
#include "tests/app/support/launcher_test_support.h"

namespace {

class MainWindowPreloadTest : public launcher_test::MainWindowFixture {};

// Stands for the start's deferred steps among the messages seen.
constexpr UINT kAfterSetUp = 0;

TEST_F(MainWindowPreloadTest, AWindowOverPreloadedStoresHasTheirCardsHotKeysAndColoursAndLoadsOnlyOnce) {
  const uint16_t chord = MakeHotKeyCode(kHotKeyCtrl | kHotKeyAlt | kHotKeyShift, VK_F11);
  int32_t hotLinkId = 0;
  {
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    auto tag = store.topGroups.at(0)->tags.at(0);
    auto plain = launcher_test::NewLink(L"记事本", L"C:\\windows\\notepad.exe");
    auto hot = launcher_test::NewLink(L"热键", L"C:\\windows\\notepad.exe");
    hot->HotKey = chord;
    auto coloured = launcher_test::NewLink(L"颜色", L"C:\\windows\\notepad.exe");
    coloured->CustomColor = L"#ff123456";
    for (const auto& link : {plain, hot, coloured}) ASSERT_TRUE(store.AddLink(tag, link));
    ASSERT_TRUE(store.SaveLink(hot));
    ASSERT_TRUE(store.SaveLink(coloured));
    hotLinkId = hot->ID;
    store.Close();
    GetIconCache().Close();
    GetHotKeyTable().UnregisterAll();
  }

  {
    DataPreload preload;
    ASSERT_NO_FATAL_FAILURE(Open());
    // The window took the outcome; nobody gets it a second time.
    EXPECT_FALSE(DataPreload::Take().has_value());
  }
  ASSERT_EQ(window_->LinkBox()->GetCount(), 3);
  const auto registered = GetHotKeyTable().FindLink(chord);
  ASSERT_NE(registered, nullptr);
  EXPECT_EQ(registered->ID, hotLinkId);
  EXPECT_EQ(ui::UiGlobals::GetColor(L"#ff123456"), 0xff123456u);
  EXPECT_TRUE(GetIconCache().IsDeferred(L"#url")) << "the built-in icons were not added";

  // Without a running preload (a later window, as after a new skin) the window
  // opens the stores itself and finds a link stored since.
  {
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.AddLink(store.topGroups.at(0)->tags.at(0),
                              launcher_test::NewLink(L"新的", L"C:\\windows\\notepad.exe")));
  }
  Close();
  GetHotKeyTable().UnregisterAll();
  ASSERT_NO_FATAL_FAILURE(Open());
  EXPECT_EQ(window_->LinkBox()->GetCount(), 4);
  EXPECT_NE(GetHotKeyTable().FindLink(chord), nullptr);
}

// The launcher's window is layered: every invalidation posts it a paint. Its
// build posts one, not one per control; the first paint lays the cards in view
// out and asks for no second layout; the set-up's last steps, and the steps the
// program's start hands to them, follow that paint.
TEST_F(MainWindowPreloadTest, TheFirstPaintComesBeforeTheLastStepsAndAsksForNoSecondLayout) {
  {
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    auto tag = store.topGroups.at(0)->tags.at(0);
    for (int i = 0; i < 300; ++i) {
      const std::wstring name = L"链接" + std::to_wstring(i);
      ASSERT_TRUE(store.AddLink(tag, launcher_test::NewLink(name, L"C:\\windows\\notepad.exe")));
    }
    store.Close();
    GetIconCache().Close();
  }
  std::vector<UINT> seen;
  window_ = new CMainWnd(GetModuleHandleW(nullptr));
  hwnd_ = window_->Create(nullptr, L"Pexo", WS_POPUP, WS_EX_TOOLWINDOW, true);
  ASSERT_NE(hwnd_, nullptr);
  window_->AfterSetUp([&seen] { seen.push_back(kAfterSetUp); });
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);

  bool laidOutAgain = false;
  MSG message;
  while (PeekMessageW(&message, hwnd_, 0, 0, PM_REMOVE)) {
    const bool watched = message.message == WM_PAINT || message.message == CMainWnd::kFinishSetUpMessage;
    if (watched) seen.push_back(message.message);
    DispatchMessageW(&message);
    if (message.message == WM_PAINT && seen.size() == 1) laidOutAgain = window_->IsArrangeNeeded();
  }

  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front(), static_cast<UINT>(WM_PAINT)) << "the window was not painted first";
  EXPECT_FALSE(laidOutAgain) << "the first paint asked for a second layout";
  const auto finish = std::find(seen.begin(), seen.end(), CMainWnd::kFinishSetUpMessage);
  ASSERT_NE(finish, seen.end());
  EXPECT_LE(std::count(seen.begin(), finish, static_cast<UINT>(WM_PAINT)), 2) << "the build posted a paint per control";
  ASSERT_NE(finish + 1, seen.end());
  EXPECT_EQ(finish[1], kAfterSetUp);
  EXPECT_EQ(std::count(seen.begin(), seen.end(), kAfterSetUp), 1);
  EXPECT_EQ(window_->LinkBox()->GetTotalItems(), 300);
  EXPECT_LT(window_->LinkBox()->GetCount(), 300) << "cards below the view are made when they scroll into it";
}

}  // namespace
