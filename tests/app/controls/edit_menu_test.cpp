// The launcher's text field's edit menu from the program's skin: a right click
// shows it at the cursor and the chosen command acts on the field; a menu level
// of cards comes from the launcher's factory.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/controls/app_control_factory.h"
#include "app/controls/menu_card_ui.h"
#include "app/controls/rich_edit_x.h"
#include "tests/support/clipboard_text.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/menu_mgr.h"
#include "ui/controls/stock_controls.h"
#include "ui/core/h_card_layout.h"
#include "ui/core/skin_builder.h"
#include "ui/core/v_box.h"

namespace {

using window_test::PaintNow;
using window_test::PumpMessages;

::testing::Environment* const gdiplus =
    ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

// The thread's visible menu popup, if one is shown.
HWND FindMenuWindow(HWND owner) {
  struct Search {
    HWND owner;
    HWND found;
  } search{owner, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (hwnd != s->owner && IsWindowVisible(hwnd) && (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED)) {
          s->found = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void PostAt(HWND target, UINT message, WPARAM wParam, POINT client) {
  POINT screen = client;
  ClientToScreen(target, &screen);
  SetCursorPos(screen.x, screen.y);
  PostMessageW(target, message, wParam, MAKELPARAM(client.x, client.y));
}

// Steps run by a thread timer while the menu's loop runs.
std::vector<std::function<void()>>& Steps() {
  static std::vector<std::function<void()>> steps;
  return steps;
}
void CALLBACK RunNextStep(HWND, UINT, UINT_PTR, DWORD) {
  if (Steps().empty()) return;
  auto step = Steps().front();
  Steps().erase(Steps().begin());
  step();
}

class EditMenuTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    OleInitialize(nullptr);  // the text services' clipboard goes through OLE, as in the program
    ASSERT_TRUE(ui::UiGlobals::OpenSkinZip(201, L"SKIN", PEXO_SKIN_PASSWORD));
    ui::UiGlobals::Startup(L"skin\\", CreateAppControl, false, L"gray", L"lang\\zh_CN");
    ui::RegisterStockControls();
  }
  static void TearDownTestSuite() {
    ui::UiGlobals::Shutdown();
    OleUninitialize();
  }

  void SetUp() override {
    hwnd = window.CreatePlain(300, 120);
    auto* box = new ui::VBox;
    edit = new ui::RichEditX;
    box->Add(edit);
    window.AttachRoot(box);
    PaintNow(hwnd);
    ASSERT_NE(edit->GetHost(), nullptr) << "the text services could not be created";
    SetForegroundWindow(hwnd);
    edit->SetFocus();
    PumpMessages();
  }
  void TearDown() override {
    Steps().clear();
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    PumpMessages();
  }

  // Right-clicks the field and, inside the menu's loop, clicks the named item
  // (or outside the menu for an empty name). True when a menu was seen.
  bool ChooseFromMenu(const std::wstring& item, POINT inside = {20, 10}) {
    bool seen = false;
    int waits = 0;
    // Waits for the menu to show (a busy display may take a while), then clicks.
    std::function<void()> pick = [&] {
      HWND menu = FindMenuWindow(hwnd);
      if (!menu && ++waits < 60) {
        Steps().insert(Steps().begin(), pick);
        return;
      }
      seen = menu != nullptr;
      auto* menuWindow = menu ? reinterpret_cast<ui::Window*>(GetWindowLongPtrW(menu, GWLP_USERDATA)) : nullptr;
      ui::Control* target = menuWindow && !item.empty() ? menuWindow->FindControlByName(item) : nullptr;
      if (!target) {
        PostAt(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, POINT{250, 100});
        return;
      }
      const RECT rc = target->GetPos();
      const POINT middle = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
      PostAt(menu, WM_MOUSEMOVE, 0, middle);
      Steps().insert(Steps().begin(), [menu, middle] { PostAt(menu, WM_LBUTTONDOWN, MK_LBUTTON, middle); });
      Steps().insert(Steps().begin() + 1, [menu, middle] { PostAt(menu, WM_LBUTTONUP, 0, middle); });
    };
    Steps().push_back(pick);
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, RunNextStep);
    PostAt(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, inside);
    PostAt(hwnd, WM_RBUTTONUP, 0, inside);
    PumpMessages();
    KillTimer(nullptr, timer);
    Steps().clear();
    PumpMessages();
    return seen;
  }

  window_test::TestWindow window{L"PexoEditMenuTest"};
  HWND hwnd = nullptr;
  ui::RichEditX* edit = nullptr;
};

TEST_F(EditMenuTest, ARightClickShowsTheMenuAndTheChosenCommandActs) {
  if (!pexo_test::PutClipboardText(L"XYZ")) GTEST_SKIP() << "the clipboard cannot be written here";
  ASSERT_TRUE(ChooseFromMenu(L"paste"));
  EXPECT_EQ(edit->GetText(), L"XYZ");

  // Dismissed: nothing changes.
  ASSERT_TRUE(ChooseFromMenu(L""));
  EXPECT_EQ(edit->GetText(), L"XYZ");

  ASSERT_TRUE(ChooseFromMenu(L"undo"));
  EXPECT_EQ(edit->GetText(), L"");

  // The other commands by name.
  edit->RunEditCommand(L"redo");
  EXPECT_EQ(edit->GetText(), L"XYZ");
  edit->SetSel(0, 1);
  edit->RunEditCommand(L"cut");
  EXPECT_EQ(edit->GetText(), L"YZ");
  edit->SetSel(0, -1);
  edit->RunEditCommand(L"copy");
  edit->RunEditCommand(L"PASTE");  // names are exact
  EXPECT_EQ(edit->GetText(), L"YZ");
  edit->SetSel(0, -1);
  edit->RunEditCommand(L"paste");
  EXPECT_EQ(edit->GetText(), L"YZ");  // what was copied comes back
}

// One editor shows whichever note is current: when another text is set while
// the menu is up (a chord or the hover timer switched the tag), the command
// chosen for the first text is dropped instead of pasting into the other.
TEST_F(EditMenuTest, ACommandChosenAfterTheFieldWasGivenAnotherTextIsDropped) {
  if (!pexo_test::PutClipboardText(L"XYZ")) GTEST_SKIP() << "the clipboard cannot be written here";
  edit->SetText(L"第一条");
  Steps().push_back([this] { edit->SetText(L"另一条"); });
  ASSERT_TRUE(ChooseFromMenu(L"paste"));
  EXPECT_EQ(edit->GetText(), L"另一条");
  // The same text kept: the command acts.
  edit->SetSel(0, -1);
  ASSERT_TRUE(ChooseFromMenu(L"paste"));
  EXPECT_EQ(edit->GetText(), L"XYZ");
}

TEST_F(EditMenuTest, ACardMenuLevelComesFromTheLauncherFactory) {
  ui::CMenuMgr manager(hwnd);
  ASSERT_TRUE(manager.LoadXml(hwnd, L"test\\..\\menu\\menu_edit.xml"));
  EXPECT_NE(manager.FindMenu(L"menu_edit"), nullptr);

  ui::SkinBuilder builder;
  std::unique_ptr<ui::Control> root(builder.Create(
      L"<Window><Box><MenuCardUI name=\"cards\"/></Box></Window>", CreateAppControl));
  ASSERT_NE(root, nullptr);
  auto* cards = dynamic_cast<ui::CMenuCardUI*>(static_cast<ui::Box*>(root.get())->FindChildByName(L"cards"));
  ASSERT_NE(cards, nullptr);
  ASSERT_NE(cards->GetCardLayout(), nullptr);
  EXPECT_EQ(cards->GetCardLayout()->GetItemSize().cx, 130);
  EXPECT_EQ(cards->GetCardLayout()->GetItemSize().cy, 28);
}

}  // namespace
