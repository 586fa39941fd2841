// The hot-key overview built from the program's own skin: one row per link with a
// chord, in table order, a refused chord in red.
#include <gtest/gtest.h>

#include <memory>

#include "app/controls/app_control_factory.h"
#include "app/dialogs/hot_key_wnd.h"
#include "data/hot_key_table.h"
#include "data/link.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/controls/stock_controls.h"
#include "ui/core/box.h"
#include "ui/core/tile_layout.h"

namespace {

::testing::Environment* const gdiplus =
    ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

using TextLabel = ui::LabelTemplate<ui::Control>;

std::shared_ptr<Link> MakeLink(const std::wstring& name, uint16_t code) {
  auto link = std::make_shared<Link>();
  link->NAME = name;
  link->PATH = L"C:\\" + name + L".exe";
  link->HotKey = code;
  return link;
}

TEST(HotKeyOverview, ListsEveryLinkChordAndMarksRefusedOnesRed) {
  // The program's own skin archive, with its fonts and colours.
  ASSERT_TRUE(ui::UiGlobals::OpenSkinZip(201, L"SKIN", PEXO_SKIN_PASSWORD));
  ui::UiGlobals::Startup(L"skin\\", CreateAppControl, false, L"gray", L"lang\\zh_CN");
  ui::RegisterStockControls();
  HotKeyTable& table = GetHotKeyTable();
  auto registered = MakeLink(L"registered", MakeHotKeyCode(kHotKeyCtrl | kHotKeyAlt | kHotKeyShift, '7'));
  auto refused = MakeLink(L"refused", MakeHotKeyCode(0, VK_F5));  // no modifier: never registered
  registered->Remark = L"note";
  table.RegisterLink(registered);
  table.RegisterLink(refused);
  const bool system_took_it = registered->hotKeyId != 0;

  auto* window = new CHotKeyWnd;
  // In this process's own corner of the shared display, as the other window tests do.
  const DWORD slot = GetCurrentProcessId() / 4;
  const int x = 10 + static_cast<int>(slot % 4) * 315;
  const int y = 10 + static_cast<int>((slot / 4) % 4) * 250;
  HWND hwnd = window->Create(nullptr, L"hot keys", WS_POPUP, 0, false, RECT{x, y, x + 460, y + 240});
  ASSERT_NE(hwnd, nullptr);
  ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  window_test::PaintNow(hwnd);

  ui::ListBox* list = window->GetHotKeyBox();
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->GetCount(), 2);
  auto* tiles = dynamic_cast<ui::TileLayout*>(list->GetLayout());
  ASSERT_NE(tiles, nullptr);
  EXPECT_EQ(tiles->GetItemSize().cx, 212);  // the row template's size
  EXPECT_EQ(tiles->GetItemSize().cy, 30);

  auto* first = dynamic_cast<ui::Box*>(list->GetItemAt(0));
  auto* second = dynamic_cast<ui::Box*>(list->GetItemAt(1));
  ASSERT_TRUE(first && second);
  auto* name1 = dynamic_cast<TextLabel*>(first->FindChildByName(L"hk_name"));
  auto* text1 = dynamic_cast<TextLabel*>(first->FindChildByName(L"hk_text"));
  auto* name2 = dynamic_cast<TextLabel*>(second->FindChildByName(L"hk_name"));
  auto* text2 = dynamic_cast<TextLabel*>(second->FindChildByName(L"hk_text"));
  ASSERT_TRUE(name1 && text1 && name2 && text2);
  EXPECT_EQ(name1->GetText(), L"registered");
  EXPECT_EQ(text1->GetText(), L"Ctrl + Shift + Alt + 7");
  if (system_took_it) {
    EXPECT_EQ(name1->GetStateTextColor(ui::kControlStateNormal), L"black");
  }
  EXPECT_EQ(name2->GetText(), L"refused");
  EXPECT_EQ(name2->GetStateTextColor(ui::kControlStateNormal), L"red");
  EXPECT_EQ(text2->GetStateTextColor(ui::kControlStateNormal), L"red");
  EXPECT_EQ(first->GetToolTipText(), L"registered\r\nC:\\registered.exe\r\nnote\r\n启动次数：0");
  EXPECT_EQ(first->GetToolTipWidth(), 400);

  // A picture of the overview for people reading the documentation.
  window_test::PaintNow(hwnd);
  EXPECT_TRUE(window_test::SaveWindowPng(*window, pexo_test::PictureFolder() + L"hotkey_overview.png"));

  // The opener deletes the window after it closed.
  DestroyWindow(hwnd);
  window_test::PumpMessages();
  delete window;
  table.UnregisterAll();
  ui::UiGlobals::Shutdown();
}

}  // namespace
