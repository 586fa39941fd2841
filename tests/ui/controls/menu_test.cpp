// Popup menus from the embedded test skin, driven in real windows: placement
// inside the work area, sub-menus beside their item, clicks on items and
// outside, the loop's message rules, and levels filled at run time.
#include <gtest/gtest.h>

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/menu_item.h"
#include "ui/controls/menu_mgr.h"
#include "ui/controls/menu_ui.h"
#include "ui/controls/menu_wnd.h"
#include "ui/core/box.h"
#include "ui/render/render_context.h"

namespace {

using window_test::EventLog;
using window_test::PumpMessages;
using window_test::TestWindow;

::testing::Environment* const gdiplus =
    ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

// Steps run one by one from a thread timer, so they run inside the menu loop.
std::deque<std::function<void()>>& Steps() {
  static std::deque<std::function<void()>> steps;
  return steps;
}

void CALLBACK RunNextStep(HWND, UINT, UINT_PTR id, DWORD) {
  if (Steps().empty()) {
    KillTimer(nullptr, id);
    return;
  }
  std::function<void()> step = std::move(Steps().front());
  Steps().pop_front();
  step();
}

RECT WorkArea() {
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

RECT WindowRect(HWND hwnd) {
  RECT rc = {};
  GetWindowRect(hwnd, &rc);
  return rc;
}

class MenuTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(ui::UiGlobals::OpenSkinZip(201, L"SKIN", PEXO_SKIN_PASSWORD));
    ui::UiGlobals::Startup(L"skin\\", nullptr, false, L"gray", L"lang\\zh_CN");
    // The launcher's skin names its menu colours globally; the test menus use these.
    ui::UiGlobals::AddColor(L"menu_hot", L"#FFDDEBF8");
    ui::UiGlobals::AddColor(L"menu_border", L"#FFC8C8C8");
  }
  static void TearDownTestSuite() { ui::UiGlobals::Shutdown(); }

  void SetUp() override {
    hwnd = owner.CreatePlain(300, 200);
    root = new ui::Box(nullptr);
    below = new ui::Control;
    below->SetName(L"below");
    root->Add(below);
    owner.AttachRoot(root);
    window_test::PaintNow(hwnd);
    below->SetPos(RECT{150, 100, 250, 150});
    belowLog.Attach(below);
    SetForegroundWindow(hwnd);
    manager = std::make_unique<ui::CMenuMgr>(hwnd);
    ASSERT_TRUE(manager->LoadXml(hwnd, L"test\\menu_test.xml"));
    Steps().clear();
  }
  void TearDown() override {
    Steps().clear();
    manager.reset();
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }

  ui::CMenuUI* Level(const wchar_t* name) { return manager->FindMenu(name); }
  HWND LevelHwnd(const wchar_t* name) { return Level(name)->GetMenuWnd()->GetHWND(); }
  ui::CMenuItem* Item(const wchar_t* level, const wchar_t* name) {
    ui::CMenuUI* menu = Level(level);
    for (int i = 0; i < menu->GetCount(); ++i) {
      auto* item = dynamic_cast<ui::CMenuItem*>(menu->GetItemAt(static_cast<size_t>(i)));
      if (item && item->GetName() == name) return item;
    }
    return nullptr;
  }
  // Client point in the middle of an item of a level.
  LPARAM Middle(const wchar_t* level, const wchar_t* name) {
    const RECT rc = Item(level, name)->GetPos();
    return MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  }
  static void Post(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) {
      POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ClientToScreen(target, &p);
      SetCursorPos(p.x, p.y);
    }
    PostMessageW(target, message, wParam, lParam);
  }
  void HoverStep(const wchar_t* level, const wchar_t* name) {
    Steps().push_back([=, this] { Post(LevelHwnd(level), WM_MOUSEMOVE, 0, Middle(level, name)); });
  }
  void ClickSteps(const wchar_t* level, const wchar_t* name) {
    HoverStep(level, name);
    Steps().push_back([=, this] { Post(LevelHwnd(level), WM_LBUTTONDOWN, MK_LBUTTON, Middle(level, name)); });
    Steps().push_back([=, this] { Post(LevelHwnd(level), WM_LBUTTONUP, 0, Middle(level, name)); });
  }
  // Shows the level with the queued steps running inside its loop; the steps
  // end with a click outside unless an earlier one ends the menu.
  ui::CMenuItem* Show(const wchar_t* name, int x, int y) {
    Steps().push_back([this] { Post(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); });
    const UINT_PTR timer = SetTimer(nullptr, 0, 40, RunNextStep);
    ui::CMenuItem* result = manager->ShowMenu(name, x, y);
    KillTimer(nullptr, timer);
    Steps().clear();
    PumpMessages();
    return result;
  }

  EventLog belowLog;
  TestWindow owner;
  HWND hwnd = nullptr;
  ui::Box* root = nullptr;
  ui::Control* below = nullptr;
  std::unique_ptr<ui::CMenuMgr> manager;
};

TEST_F(MenuTest, LoadingLinksSubMenusAndRefusesLoops) {
  ui::CMenuItem* more = Item(L"main", L"more");
  ASSERT_NE(more, nullptr);
  EXPECT_TRUE(more->HasSubMenu());
  EXPECT_EQ(more->GetSubMenu(), Level(L"more"));
  EXPECT_EQ(Level(L"more")->GetParentMenu(), Level(L"main"));
  EXPECT_EQ(Level(L"more")->GetParentItem(), more);
  EXPECT_EQ(more->GetOwnerMenu(), Level(L"main"));
  // A name that finds no level leaves the item without a sub-menu.
  EXPECT_FALSE(Item(L"main", L"ghost")->HasSubMenu());
  // loop_a opens loop_b; loop_b opening loop_a again, or loop_a opening itself,
  // would never end.
  EXPECT_EQ(Item(L"loop_a", L"to_b")->GetSubMenu(), Level(L"loop_b"));
  EXPECT_FALSE(Item(L"loop_b", L"to_a")->HasSubMenu());
  EXPECT_FALSE(Item(L"loop_a", L"to_self")->HasSubMenu());
  // Every level has its window: layered, a tool window that never activates.
  for (const wchar_t* name : {L"main", L"more", L"tall", L"loop_a", L"loop_b"}) {
    ASSERT_NE(Level(name)->GetMenuWnd(), nullptr) << name;
    HWND window = LevelHwnd(name);
    EXPECT_TRUE(manager->IsMenuWindow(window));
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    EXPECT_EQ(exStyle & 0x8000088, 0x8000088) << name;
    EXPECT_TRUE(exStyle & WS_EX_LAYERED);
  }
  EXPECT_EQ(GetParent(LevelHwnd(L"more")) ?: GetWindow(LevelHwnd(L"more"), GW_OWNER), LevelHwnd(L"main"));
  EXPECT_FALSE(manager->IsMenuWindow(hwnd));
  EXPECT_EQ(manager->FindMenu(L"nothing"), nullptr);
  EXPECT_EQ(manager->ShowMenu(L"nothing", 10, 10), nullptr);
}

TEST_F(MenuTest, ClickedItemIsReturnedAndTheMenuHides) {
  ClickSteps(L"main", L"open");
  ui::CMenuItem* result = Show(L"main", 100, 100);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->GetName(), L"open");
  EXPECT_EQ(result->GetCommand(), L"open");
  EXPECT_FALSE(IsWindowVisible(LevelHwnd(L"main")));
  EXPECT_EQ(manager->GetOpenMenu(), nullptr);
  EXPECT_FALSE(belowLog.Has(ui::buttondown));
}

TEST_F(MenuTest, ClickOutsideEndsWithoutItemAndReachesTheControlBelow) {
  bool movedOverBelow = false;
  Steps().push_back([&] {
    // Mouse moves over the owner are dropped while the menu is open.
    Post(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(200, 120));
    movedOverBelow = true;
  });
  Steps().push_back([] {});
  bool enteredWhileOpen = true;
  Steps().push_back([&] {
    enteredWhileOpen = belowLog.Has(ui::mouseenter) || belowLog.Has(ui::mousemove);
    Post(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 120));
  });
  ui::CMenuItem* result = Show(L"main", 400, 300);
  EXPECT_EQ(result, nullptr);
  EXPECT_TRUE(movedOverBelow);
  EXPECT_FALSE(enteredWhileOpen);
  EXPECT_TRUE(belowLog.Has(ui::buttondown));
  EXPECT_FALSE(IsWindowVisible(LevelHwnd(L"main")));
  Post(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(200, 120));
  PumpMessages();
}

TEST_F(MenuTest, DisabledItemsAndItemsWithSubMenusDoNotEndTheMenu) {
  ClickSteps(L"main", L"off");
  ClickSteps(L"main", L"more");
  bool openAfterClicks = false;
  bool subMenuShown = false;
  Steps().push_back([&] {
    openAfterClicks = manager->GetOpenMenu() != nullptr;
    subMenuShown = IsWindowVisible(LevelHwnd(L"more")) != FALSE;
  });
  // The right button is swallowed on press and does not end the menu on release.
  Steps().push_back([this] { Post(LevelHwnd(L"main"), WM_RBUTTONDOWN, MK_RBUTTON, Middle(L"main", L"exit")); });
  Steps().push_back([this] { Post(LevelHwnd(L"main"), WM_RBUTTONUP, 0, Middle(L"main", L"exit")); });
  bool openAfterRightClick = false;
  Steps().push_back([&] { openAfterRightClick = manager->GetOpenMenu() != nullptr; });
  EXPECT_EQ(Show(L"main", 100, 100), nullptr);
  EXPECT_TRUE(openAfterClicks);
  EXPECT_TRUE(subMenuShown);
  EXPECT_TRUE(openAfterRightClick);
  // Hiding the level hid its open sub-menu too.
  EXPECT_FALSE(IsWindowVisible(LevelHwnd(L"more")));
  EXPECT_FALSE(Item(L"main", L"more")->IsSubMenuOpen());
}

TEST_F(MenuTest, SubMenuOpensOnTheRightAndItsItemIsReturned) {
  HoverStep(L"main", L"more");
  RECT mainRect = {}, subRect = {};
  Steps().push_back([&] {
    mainRect = WindowRect(LevelHwnd(L"main"));
    subRect = WindowRect(LevelHwnd(L"more"));
  });
  ClickSteps(L"more", L"third");
  ui::CMenuItem* result = Show(L"main", 100, 100);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->GetName(), L"third");
  const RECT itemRect = Item(L"main", L"more")->GetPos();
  EXPECT_EQ(subRect.left, mainRect.left + itemRect.right - 2);
  EXPECT_EQ(subRect.top, mainRect.top + itemRect.top);
}

// A level is hidden and shown again for the next menu: the item the mouse last
// rested on (hover time passed, then the mouse jumped straight into the
// sub-level) must open its level again when the next menu is hovered.
TEST_F(MenuTest, AnItemHoveredInTheLastMenuOpensItsLevelInTheNext) {
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    bool subShown = false;
    HoverStep(L"main", L"more");
    Steps().push_back([&] {
      subShown = IsWindowVisible(LevelHwnd(L"more")) != FALSE;
      // The system's hover message, then its leave as the mouse goes to the sub-level.
      Post(LevelHwnd(L"main"), WM_MOUSEHOVER, 0, Middle(L"main", L"more"));
      Post(LevelHwnd(L"main"), WM_MOUSELEAVE, 0, 0);
    });
    ClickSteps(L"more", L"third");
    ui::CMenuItem* result = Show(L"main", 100, 100);
    EXPECT_TRUE(subShown);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetName(), L"third");
  }
  // A menu ended while an item was hot leaves nothing hot for the next one.
  HoverStep(L"main", L"more");
  Show(L"main", 100, 100);
  EXPECT_EQ(Item(L"main", L"more")->GetState(), ui::kControlStateNormal);
}

// Levels are windows made once and shown again: a topmost window raised since
// the last menu (the launcher's own, kept on top) must not cover the next one.
TEST_F(MenuTest, ALevelShownAgainIsAboveAWindowRaisedSinceTheLastMenu) {
  Show(L"main", 100, 100);
  ASSERT_FALSE(IsWindowVisible(LevelHwnd(L"main")));
  const RECT ownerRect = WindowRect(hwnd);
  HWND cover = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP,
                               ownerRect.left, ownerRect.top, 300, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(cover, nullptr);
  ShowWindow(cover, SW_SHOWNOACTIVATE);
  HWND under = nullptr;
  HWND level = nullptr;
  COLORREF pixel = 0;
  Steps().push_back([&] {
    level = LevelHwnd(L"main");
    const RECT rc = WindowRect(level);
    under = WindowFromPoint(POINT{rc.left + 10, rc.top + 10});
    // What the screen shows there (under Wine the X server's stacking, which
    // can differ from the z-order Win32 reports); white is the menu's padding.
    HDC screen = GetDC(nullptr);
    for (int i = 0; i < 25 && (pixel = GetPixel(screen, rc.left + 8, rc.top + 20)) != RGB(255, 255, 255); ++i) {
      Sleep(20);
    }
    ReleaseDC(nullptr, screen);
  });
  Show(L"main", ownerRect.left + 10, ownerRect.top + 10);
  DestroyWindow(cover);
  ASSERT_NE(level, nullptr);
  EXPECT_EQ(under, level) << "a window raised in between takes the menu's clicks";
  EXPECT_EQ(pixel, RGB(255, 255, 255)) << "a window raised in between covers the menu";
}

TEST_F(MenuTest, ALevelGetsItsWindowWhenFirstShownAndASubMenuWhenFirstOpened) {
  for (const wchar_t* name : {L"main", L"more", L"tall", L"loop_a", L"loop_b"}) {
    EXPECT_EQ(Level(name)->GetCreatedMenuWnd(), nullptr) << name << ": no window before it is shown";
  }
  HoverStep(L"main", L"more");
  RECT subRect = {};
  Steps().push_back([&] { subRect = WindowRect(Level(L"more")->GetCreatedMenuWnd()->GetHWND()); });
  ClickSteps(L"more", L"third");
  ui::CMenuItem* result = Show(L"main", 100, 100);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->GetName(), L"third");
  ASSERT_NE(Level(L"more")->GetCreatedMenuWnd(), nullptr);
  EXPECT_EQ(GetWindow(LevelHwnd(L"more"), GW_OWNER), LevelHwnd(L"main"));
  EXPECT_EQ(GetWindow(LevelHwnd(L"main"), GW_OWNER), hwnd);
  // Measured inside its own window on the first opening, as on every later one.
  const RECT level = Level(L"more")->GetPos();
  EXPECT_EQ(subRect.right - subRect.left, level.right - level.left);
  EXPECT_GT(level.right - level.left, 20);
  EXPECT_EQ(Level(L"tall")->GetCreatedMenuWnd(), nullptr);
  EXPECT_EQ(Level(L"loop_a")->GetCreatedMenuWnd(), nullptr);
}

TEST_F(MenuTest, NearTheRightEdgeTheMenuShiftsAndTheSubMenuOpensOnTheLeft) {
  const RECT work = WorkArea();
  HoverStep(L"main", L"more");
  RECT mainRect = {}, subRect = {};
  bool subShown = false;
  Steps().push_back([&] {
    mainRect = WindowRect(LevelHwnd(L"main"));
    subRect = WindowRect(LevelHwnd(L"more"));
    subShown = IsWindowVisible(LevelHwnd(L"more")) != FALSE;
  });
  EXPECT_EQ(Show(L"main", work.right - 20, 100), nullptr);
  EXPECT_EQ(mainRect.right, work.right);  // shifted, not flipped
  EXPECT_EQ(mainRect.top, 100);
  ASSERT_TRUE(subShown);
  const RECT itemRect = Item(L"main", L"more")->GetPos();
  EXPECT_EQ(subRect.right, mainRect.left + itemRect.left + 2);
  EXPECT_EQ(subRect.right - subRect.left, 160);
}

TEST_F(MenuTest, AtTheBottomTheMenuOpensUpwardAndTheSubMenuAlignsItsBottom) {
  const RECT work = WorkArea();
  HoverStep(L"main", L"exit");
  HoverStep(L"main", L"more");
  RECT mainRect = {}, subRect = {};
  Steps().push_back([&] {
    mainRect = WindowRect(LevelHwnd(L"main"));
    subRect = WindowRect(LevelHwnd(L"more"));
  });
  EXPECT_EQ(Show(L"main", 50, work.bottom - 10), nullptr);
  const int height = mainRect.bottom - mainRect.top;
  EXPECT_EQ(mainRect.top, work.bottom - 10 - height);
  EXPECT_EQ(mainRect.left, 50);
  // The sub-menu does not fit below its item: bottom edges aligned.
  const RECT itemRect = Item(L"main", L"more")->GetPos();
  if (subRect.bottom - subRect.top > work.bottom - (mainRect.top + itemRect.top)) {
    EXPECT_EQ(subRect.bottom, mainRect.top + itemRect.bottom);
  }
}

TEST_F(MenuTest, MenusKeepInsideEveryCornerOfTheWorkArea) {
  const RECT work = WorkArea();
  const POINT corners[] = {{work.left, work.top},
                           {work.right - 1, work.top},
                           {work.left, work.bottom - 1},
                           {work.right - 1, work.bottom - 1}};
  for (const POINT& corner : corners) {
    RECT rc = {};
    Steps().push_back([&] { rc = WindowRect(LevelHwnd(L"main")); });
    EXPECT_EQ(Show(L"main", corner.x, corner.y), nullptr);
    EXPECT_GE(rc.left, work.left);
    EXPECT_LE(rc.right, work.right);
    EXPECT_GE(rc.top, work.top);
    EXPECT_LE(rc.bottom, work.bottom);
    EXPECT_GT(rc.bottom - rc.top, 0);
  }
  // Too tall to open upward from the point: it sits on the work area's bottom.
  RECT tall = {};
  Steps().push_back([&] { tall = WindowRect(LevelHwnd(L"tall")); });
  const int y = work.top + (work.bottom - work.top) / 2;
  EXPECT_EQ(Show(L"tall", 10, y), nullptr);
  ASSERT_EQ(tall.bottom - tall.top, 700);
  if (y - 700 < work.top && y + 700 > work.bottom) {
    EXPECT_EQ(tall.bottom, work.bottom);
  }
}

TEST_F(MenuTest, ItemsAddedAtRunTimeEndTheMenuAndAreReturned) {
  auto* added = new ui::CMenuItem;
  added->SetName(L"added");
  added->SetFixedHeight(30);
  added->SetItemId(77);
  ASSERT_TRUE(Level(L"more")->Add(added));
  EXPECT_EQ(added->GetOwnerMenu(), Level(L"more"));
  HoverStep(L"main", L"more");
  ClickSteps(L"more", L"added");
  ui::CMenuItem* result = Show(L"main", 100, 100);
  EXPECT_EQ(result, added);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->GetItemId(), 77);
  // Removed again, it belongs to no level.
  ASSERT_TRUE(Level(L"more")->Remove(added));
}

TEST_F(MenuTest, ShowMenuFromInsideAnOpenMenuReturnsNull) {
  bool nestedAnswered = false;
  ui::CMenuItem* nested = reinterpret_cast<ui::CMenuItem*>(1);
  Steps().push_back([&] {
    nested = manager->ShowMenu(L"more", 10, 10);
    nestedAnswered = true;
  });
  ClickSteps(L"main", L"exit");
  ui::CMenuItem* result = Show(L"main", 100, 100);
  EXPECT_TRUE(nestedAnswered);
  EXPECT_EQ(nested, nullptr);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->GetName(), L"exit");
}

TEST_F(MenuTest, LosingTheForegroundClosesTheMenu) {
  TestWindow other(L"PexoMenuOtherWindow");
  HWND otherHwnd = other.CreatePlain(50, 50, 400, 0);
  bool switched = false;
  bool reachedLaterStep = false;
  Steps().push_back([&] { switched = SetForegroundWindow(otherHwnd) && GetForegroundWindow() == otherHwnd; });
  Steps().push_back([] {});
  Steps().push_back([&] { reachedLaterStep = true; });
  EXPECT_EQ(Show(L"main", 100, 100), nullptr);
  DestroyWindow(otherHwnd);
  if (!switched) GTEST_SKIP() << "Wine without a window manager refused to switch the foreground window";
  EXPECT_FALSE(reachedLaterStep);
  EXPECT_FALSE(IsWindowVisible(LevelHwnd(L"main")));
}

TEST_F(MenuTest, DeletingTheManagerClosesEveryMenuWindow) {
  HWND main = LevelHwnd(L"main");
  HWND sub = LevelHwnd(L"more");
  manager.reset();
  PumpMessages();
  EXPECT_FALSE(IsWindow(main));
  EXPECT_FALSE(IsWindow(sub));
}

TEST_F(MenuTest, OpenMenuWithSubMenuIsSavedAsPicture) {
  HoverStep(L"main", L"more");
  HoverStep(L"more", L"second");
  bool saved = false;
  Steps().push_back([&] {
    HWND mainHwnd = LevelHwnd(L"main");
    HWND subHwnd = LevelHwnd(L"more");
    window_test::PaintNow(mainHwnd);
    window_test::PaintNow(subHwnd);
    const RECT a = WindowRect(mainHwnd);
    const RECT b = WindowRect(subHwnd);
    const RECT all = {std::min(a.left, b.left) - 12, std::min(a.top, b.top) - 12, std::max(a.right, b.right) + 12,
                      std::max(a.bottom, b.bottom) + 12};
    ui::IRenderContext* mainContext = Level(L"main")->GetMenuWnd()->GetRenderContext();
    ui::IRenderContext* subContext = Level(L"more")->GetMenuWnd()->GetRenderContext();
    auto pick = [&](int x, int y) -> DWORD {
      const POINT p = {all.left + x, all.top + y};
      for (auto [rc, context] : {std::pair{b, subContext}, std::pair{a, mainContext}}) {
        if (PtInRect(&rc, p) && context && p.x - rc.left < context->GetWidth() &&
            p.y - rc.top < context->GetHeight()) {
          const DWORD pixel = window_test::PixelAt(context, p.x - rc.left, p.y - rc.top);
          const DWORD alpha = pixel >> 24;
          // Premultiplied colour over the light backdrop.
          auto channel = [&](int shift) {
            const DWORD c = (pixel >> shift) & 0xFF;
            return (c + (0xF4 * (255 - alpha)) / 255) & 0xFF;
          };
          return 0xFF000000u | (channel(16) << 16) | (channel(8) << 8) | channel(0);
        }
      }
      return 0xFFF4F4F4u;
    };
    saved = window_test::WritePng(pexo_test::PictureFolder() + L"popup_menu.png", all.right - all.left,
                                  all.bottom - all.top, pick);
  });
  EXPECT_EQ(Show(L"main", 120, 120), nullptr);
  EXPECT_TRUE(saved);
}

}  // namespace

namespace {

// A derived level records its hooks, as the launcher's card-style level does.
class HookLevel : public ui::CMenuUI {
 public:
  void OnItemHot(ui::CMenuItem* item) override { hot.push_back(item); }
  void OnItemNotHot(ui::CMenuItem* item) override { notHot.push_back(item); }
  std::vector<ui::CMenuItem*> hot;
  std::vector<ui::CMenuItem*> notHot;
};

TEST(MenuLevelTest, HotItemHooksSeeTheNewHotItemAndEveryOther) {
  HookLevel level;
  ui::CMenuItem* items[3];
  for (auto*& item : items) {
    item = new ui::CMenuItem;
    ASSERT_TRUE(level.Add(item));
    EXPECT_EQ(item->GetOwnerMenu(), &level);
  }
  level.SetHotItem(items[1]);
  EXPECT_EQ(level.GetHotItem(), items[1]);
  EXPECT_EQ(level.hot, (std::vector<ui::CMenuItem*>{items[1]}));
  EXPECT_EQ(level.notHot, (std::vector<ui::CMenuItem*>{items[0], items[2]}));
  level.SetHotItem(items[1]);  // already hot: nothing
  EXPECT_EQ(level.hot.size(), 1u);
  level.SetHotItem(items[2]);
  EXPECT_EQ(level.hot.back(), items[2]);
  EXPECT_EQ(level.notHot.size(), 4u);
  // The mouse leaving the hot item (its sub-menu closed) clears the hot item.
  ui::EventArgs enter;
  enter.Type = ui::mouseenter;
  items[0]->HandleEvent(enter);
  EXPECT_EQ(level.GetHotItem(), items[0]);
  ui::EventArgs leave;
  leave.Type = ui::mouseleave;
  items[0]->HandleEvent(leave);
  EXPECT_EQ(level.GetHotItem(), nullptr);
  EXPECT_EQ(level.notHot.back(), items[0]);
  // Removing an item takes it out of the level.
  ASSERT_TRUE(level.Remove(items[2]));
  EXPECT_EQ(level.GetCount(), 2);
}

}  // namespace
