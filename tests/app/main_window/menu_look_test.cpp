// How the main window's menus look and what their document items do: an item
// that opens a level carries its arrow at its right edge, the main menu with its
// theme level and the card menu with its move level are pictured for the
// documentation, and "help" or "update" says so when its file is not beside the
// program, and otherwise when the shell would not open it.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window/main_wnd.h"
#include "data/hot_key_table.h"
#include "data/icon_cache.h"
#include "data/link_store.h"
#include "data/group.h"
#include "data/link.h"
#include "data/settings.h"
#include "tests/app/support/launcher_test_support.h"
#include "tests/app/support/menu_driver.h"
#include "tests/app/support/no_file_associations.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/scoped_handles.h"
#include "ui/controls/menu_item.h"
#include "ui/controls/menu_mgr.h"
#include "ui/controls/list_box.h"
#include "ui/controls/menu_ui.h"
#include "ui/core/box.h"
#include "ui/core/window.h"

namespace {

using window_test::PumpFor;

::testing::Environment* const gdiplus = ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

class MenuLookTest : public launcher_test::MainWindowFixture {
 protected:
  MenuLookTest() : MainWindowFixture(/*inFront=*/true) {}

  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(MainWindowFixture::SetUp());
    // The three themes beside the program, as the build puts them beside Pexo.exe.
    const std::wstring folder = pexo_test::ExeFolder();
    CreateDirectoryW((folder + L"\\theme").c_str(), nullptr);
    for (const wchar_t* theme : {L"gray.xml", L"blue.xml", L"dark.xml"}) {
      CopyFileW(pexo_test::DataFile(std::wstring(L"../../theme/") + theme).c_str(),
                (folder + L"\\theme\\" + theme).c_str(), FALSE);
    }
    // One card to right-click, and a second group for the card menu's move level.
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    ASSERT_TRUE(store.AddLink(store.topGroups.at(0)->tags.at(0),
                              launcher_test::NewLink(L"记事本", L"C:\\windows\\notepad.exe")));
    ASSERT_TRUE(store.AddGroup(launcher_test::NewTag(L"工作")));
    OpenWindowOverStore();
  }
};

TEST_F(MenuLookTest, ItemsThatOpenALevelCarryTheirArrowAtTheRightEdgeAndTheOpenLevelIsPictured) {
  const std::wstring pictures = pexo_test::PictureFolder();
  bool checked = false;
  bool saved = false;
  ChooseOnTitle({L"open_menu_skin", L"!no_such_item"}, [&] {
    HWND level = nullptr;
    HWND top = nullptr;
    // Awaited until the theme level is up beside the main menu.
    if (!menu_driver::FindVisibleItem(hwnd_, L"MenuSkinItem", &level)) return false;
    ui::Control* found = menu_driver::FindVisibleItem(hwnd_, L"open_menu_skin", &top);
    auto* opener = dynamic_cast<ui::Box*>(found);
    if (!opener || !top || top == level) return false;
    auto* openerItem = dynamic_cast<ui::CMenuItem*>(found);
    EXPECT_TRUE(openerItem && openerItem->IsSelected()) << "the item whose level is open stays marked";
    for (const wchar_t* name : {L"open_menu_skin", L"open_menu_sysfunc"}) {
      auto* item = dynamic_cast<ui::Box*>(menu_driver::FindVisibleItem(hwnd_, name, nullptr));
      EXPECT_NE(item, nullptr) << "item with a level";
      if (!item || item->GetCount() == 0) continue;
      const RECT box = item->GetPos();
      const RECT arrow = item->GetItemAt(static_cast<size_t>(item->GetCount() - 1))->GetPos();
      EXPECT_GT(arrow.left, (box.left + box.right) / 2) << "the arrow sits on the right half of its item";
      EXPECT_LE(arrow.right, box.right);
      EXPECT_GE(arrow.right, box.right - 12) << "close to the right edge";
      EXPECT_EQ(arrow.right - arrow.left, 16);
    }
    checked = true;
    // Both levels painted now, then pictured as they stand.
    for (HWND hwnd : {top, level}) {
      InvalidateRect(hwnd, nullptr, FALSE);
      UpdateWindow(hwnd);
    }
    saved = menu_driver::SaveMenusPng({top, level}, pictures + L"main_menu_themes.png");
    // Its row is tinted, unlike a row that is neither hovered nor open.
    auto* menu = reinterpret_cast<ui::Window*>(GetWindowLongPtrW(top, GWLP_USERDATA));
    ui::Control* plain = menu_driver::FindVisibleItem(hwnd_, L"hotkey", nullptr);
    if (menu && plain) {
      const RECT marked = opener->GetPos();
      const RECT other = plain->GetPos();
      EXPECT_NE(window_test::PixelAt(menu->GetRenderContext(), marked.left + 8, (marked.top + marked.bottom) / 2),
                window_test::PixelAt(menu->GetRenderContext(), other.left + 8, (other.top + other.bottom) / 2));
    }
    return true;
  });
  EXPECT_TRUE(checked) << "the theme level opened from the main menu";
  EXPECT_TRUE(saved);
}

TEST_F(MenuLookTest, TheCardMenuWithItsMoveLevelOpenIsPictured) {
  const std::wstring pictures = pexo_test::PictureFolder();
  ASSERT_EQ(window_->LinkBox()->GetCount(), 1);
  const RECT card = window_->LinkBox()->GetItemAt(0)->GetPos();
  bool saved = false;
  SetForegroundWindow(hwnd_);
  PumpFor(50);
  const menu_driver::Visit visit = menu_driver::ChooseFromMenu(
      hwnd_, POINT{(card.left + card.right) / 2, (card.top + card.bottom) / 2},
      {L"open_menu_move_gp", L"!no_such_item"}, {}, [&] {
        HWND top = nullptr;
        HWND level = nullptr;
        if (!menu_driver::FindVisibleItem(hwnd_, L"open_menu_move_gp", &top)) return false;
        ui::CMenuUI* groups = window_->Menus()->FindMenu(L"menu_move_gp");
        if (!groups || !groups->IsVisible() || groups->GetCount() == 0) return false;
        level = groups->GetWindow() ? groups->GetWindow()->GetHWND() : nullptr;
        if (!level || !IsWindowVisible(level) || level == top) return false;
        for (HWND hwnd : {top, level}) {
          InvalidateRect(hwnd, nullptr, FALSE);
          UpdateWindow(hwnd);
        }
        saved = menu_driver::SaveMenusPng({top, level}, pictures + L"card_menu.png");
        return true;
      });
  EXPECT_TRUE(visit.shown) << "a card's right click opens the card menu";
  menu_driver::ExpectEveryItemFound(visit);
  EXPECT_TRUE(saved) << "the move level opened beside the card menu";
}

TEST_F(MenuLookTest, HelpOrChangeRecordSaysWhetherItsFileIsMissingOrCouldNotBeOpened) {
  const std::wstring readme = pexo_test::ExeFolder() + L"\\README.txt";
  const std::wstring changes = pexo_test::ExeFolder() + L"\\CHANGES.txt";
  DeleteFileW(readme.c_str());
  ChooseOnTitle({L"help"});
  EXPECT_EQ(window_->LastNotice(), L"找不到帮助文件 README.txt");
  DeleteFileW(changes.c_str());
  ChooseOnTitle({L"update"});
  EXPECT_EQ(window_->LastNotice(), L"找不到更新记录 CHANGES.txt");

  // Both files are there, but no program opens .txt files.
  ASSERT_TRUE(launcher_test::WriteEmptyFile(readme));
  ASSERT_TRUE(launcher_test::WriteEmptyFile(changes));
  {
    launcher_test::NoFileAssociations none;
    ASSERT_TRUE(none.active());
    ChooseOnTitle({L"help"});
    EXPECT_EQ(window_->LastNotice(), L"无法打开帮助文件 README.txt");
    ChooseOnTitle({L"update"});
    EXPECT_EQ(window_->LastNotice(), L"无法打开更新记录 CHANGES.txt");
  }
  DeleteFileW(readme.c_str());
  DeleteFileW(changes.c_str());
}

}  // namespace
