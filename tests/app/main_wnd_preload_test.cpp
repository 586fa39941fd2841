// The program's start opens the icon cache and the link store on a worker thread
// while the main window is made; the window takes what the worker loaded where it
// opens its data. Over such a preload it shows the same cards and registers the
// same hot keys and colours as a window that opens the stores itself.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/data_preload.h"
#include "tests/app/launcher_test_support.h"

namespace {

class MainWindowPreloadTest : public launcher_test::MainWindowFixture {};

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

}  // namespace
