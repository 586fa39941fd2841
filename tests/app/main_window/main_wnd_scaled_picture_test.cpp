// The main window drawn by the framework's scaler at 150 %: every skin length,
// font and SVG icon grows with it. The picture is saved for people.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "app/main_window/main_wnd.h"
#include "app/search_window/notice_wnd.h"
#include "app/search_window/search_wnd.h"
#include "data/icon_cache.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "tests/app/support/group_strip_support.h"
#include "tests/app/support/launcher_test_support.h"
#include "tests/app/support/notice_test_support.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/dpi_scaler.h"
#include "ui/controls/list_box.h"
#include "ui/controls/list_container_element.h"

namespace {

using window_test::PaintNow;
using window_test::PumpFor;
using window_test::PumpUntil;

class ScaledMainWindowTest : public ::testing::Test {
 protected:
  // The scale is set before the framework starts, as a display at 144 dpi would.
  static void SetUpTestSuite() {
    DpiScaler::Instance().SetAdapted(true);
    DpiScaler::Instance().SetScale(150);
    ASSERT_TRUE(launcher_test::StartLauncherSkin());
  }
  static void TearDownTestSuite() {
    launcher_test::StopLauncherSkin();
    DpiScaler::Instance().SetScale(100);
    DpiScaler::Instance().SetAdapted(false);
  }
  void TearDown() override {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    PumpFor(50);
    GetLinkStore().Close();
    GetIconCache().Close();
  }
  CMainWnd* window_ = nullptr;
  HWND hwnd_ = nullptr;
};

TEST_F(ScaledMainWindowTest, TilesAtOneAndAHalfScaleAreSavedAsPicture) {
  launcher_test::RemoveStoreFiles();
  Settings& settings = launcher_test::QuietWindowSettings();
  // Stored sizes are pixels: 388 x 640 at 150 %.
  settings.nWidth = 582;
  settings.nHeight = 960;
  settings.nPosX = 0;
  settings.nPosY = 0;
  {
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    auto group = store.topGroups[0];
    group->NAME = L"常用";
    ASSERT_TRUE(store.SaveGroup(group));
    auto tag = group->tags[0];
    tag->NAME = L"日常工具";
    ASSERT_TRUE(store.SaveGroup(tag));
    const std::pair<const wchar_t*, const wchar_t*> links[] = {
        {L"记事本", L"C:\\windows\\notepad.exe"},         {L"命令提示符", L"C:\\windows\\system32\\cmd.exe"},
        {L"注册表编辑器", L"C:\\windows\\regedit.exe"},   {L"任务管理器", L"C:\\windows\\system32\\taskmgr.exe"},
        {L"写字板", L"C:\\windows\\system32\\write.exe"}, {L"Windows 文件夹", L"C:\\windows"}};
    for (const auto& [name, path] : links) {
      auto link = std::make_shared<Link>();
      link->NAME = name;
      link->PATH = path;
      link->TYPE = std::wstring(path) == L"C:\\windows" ? kLinkFolder : kLinkProgram;
      ASSERT_TRUE(store.AddLink(tag, link));
    }
    auto other = std::make_shared<Group>();
    other->NAME = L"开发";
    ASSERT_TRUE(store.AddTag(group, other));
    store.Close();
  }
  window_ = new CMainWnd(GetModuleHandleW(nullptr));
  hwnd_ = window_->Create(nullptr, L"Pexo", WS_POPUP, WS_EX_TOOLWINDOW, false);
  ASSERT_NE(hwnd_, nullptr);
  ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  PaintNow(hwnd_);
  PumpFor(350);  // fades end
  PaintNow(hwnd_);

  // The cards are laid out at one and a half times their skin size.
  ASSERT_EQ(window_->LinkBox()->GetCount(), 6);
  const RECT card = window_->LinkBox()->GetItemAt(0)->GetPos();
  EXPECT_EQ(card.right - card.left, 144);
  EXPECT_EQ(card.bottom - card.top, 126);
  // Side by side and row under row like at 100 %, not spread by a size scaled twice.
  const RECT next = window_->LinkBox()->GetItemAt(1)->GetPos();
  EXPECT_EQ(next.left - card.left, 144);
  EXPECT_EQ(next.top, card.top);
  const RECT below = window_->LinkBox()->GetItemAt(3)->GetPos();
  EXPECT_EQ(below.top - card.top, 126);

  const std::wstring pictures = pexo_test::PictureFolder();
  // The display's one cursor is moved by the tests running beside this one: a card
  // it happens to rest on is drawn hovered unless the window is told it left.
  SendMessageW(hwnd_, WM_MOUSELEAVE, 0, 0);
  PaintNow(hwnd_);
  EXPECT_TRUE(window_test::SaveWindowPng(*window_, pictures + L"main_tiles32_150.png"));
}

// At 150 % the notice line of the main window and, while that window is hidden,
// the notice window where the search window stands both lay a notice out across
// the window at the scaled size and draw its text centred.
TEST_F(ScaledMainWindowTest, NoticesAreDrawnCentredAcrossTheWindowAtOneAndAHalfScale) {
  launcher_test::RemoveStoreFiles();
  Settings& settings = launcher_test::QuietWindowSettings();
  settings.nWidth = 582;
  settings.nHeight = 960;
  settings.nPosX = 0;
  settings.nPosY = 0;
  window_ = new CMainWnd(GetModuleHandleW(nullptr));
  hwnd_ = window_->Create(nullptr, L"Pexo", WS_POPUP, WS_EX_TOOLWINDOW, false);
  ASSERT_NE(hwnd_, nullptr);
  ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  PaintNow(hwnd_);

  ui::Control* tips = window_->FindControlByName(L"tips");
  ASSERT_NE(tips, nullptr);
  window_->ShowNotice(L"保存失败，请检查数据库文件");
  ASSERT_TRUE(window_test::PumpUntil([&] { return tips->IsVisible(); }, 2000));
  PaintNow(hwnd_);
  EXPECT_EQ(tips->GetPos().bottom - tips->GetPos().top, 45);
  notice_test::ExpectCentredAcrossWindow(*window_, tips);

  ASSERT_TRUE(window_test::PumpUntil([&] { return window_->SearchWindow() != nullptr; }, 5000)) << "no search window";
  ::ShowWindow(hwnd_, SW_HIDE);
  window_->ShowNotice(L"无法打开 旧工具");
  CNoticeWnd* notice = window_->SearchWindow()->Notice();
  ASSERT_NE(notice, nullptr);
  EXPECT_TRUE(IsWindowVisible(notice->GetHWND()));
  EXPECT_EQ(notice->Text(), L"无法打开 旧工具");
  RECT rc = {};
  GetWindowRect(notice->GetHWND(), &rc);
  const RECT search = window_->SearchWindow()->GetWindowRectWithoutShadow(false);
  EXPECT_EQ(rc.left, search.left);
  EXPECT_EQ(rc.right, search.right);
  EXPECT_EQ(rc.top, search.top);
  EXPECT_EQ(rc.bottom - rc.top, 60) << "as high as the search window's edit band at 150 %";
  notice_test::ExpectCentredAcrossWindow(*notice, notice->FindControlByName(L"notice_text"));
}

// Hundreds of groups at 150 %: the strip takes at most half the window in whole
// rows of the scaled height, the tags and cards stay in view, the wheel scrolls
// the strip, and End on a clicked group brings the last one into view with its
// tag and a card that starts its link.
TEST_F(ScaledMainWindowTest, HundredsOfGroupsTakeAtMostHalfTheWindowInScaledRows) {
  launcher_test::RemoveStoreFiles();
  DeleteFileW(group_strip::ProbeLog().c_str());
  Settings& settings = launcher_test::QuietWindowSettings();
  settings.nWidth = 582;
  settings.nHeight = 840;
  settings.nPosX = 0;
  settings.nPosY = 0;
  ASSERT_TRUE(group_strip::WriteStore(300));
  window_ = new CMainWnd(GetModuleHandleW(nullptr));
  hwnd_ = window_->Create(nullptr, L"Pexo", WS_POPUP, WS_EX_TOOLWINDOW, false);
  ASSERT_NE(hwnd_, nullptr);
  ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  SetForegroundWindow(hwnd_);
  PumpFor(300);
  PumpUntil([&] {
    PaintNow(hwnd_);
    return !window_->IsArrangeNeeded();
  });
  group_strip::StripView view(*window_);
  group_strip::RealInput input(hwnd_);

  ASSERT_EQ(view.Strip()->GetCount(), 300);
  EXPECT_EQ(view.RowPitch(), 45);
  const int height = view.StripBox()->GetHeight();
  EXPECT_LE(height, view.Share());
  EXPECT_GT(height + 45, view.Share()) << "as many rows as fit";
  EXPECT_EQ(height % 45, 0) << height;
  EXPECT_EQ(view.Range(), view.RowsHeight() - height);
  const RECT client = view.Client();
  EXPECT_TRUE(group_strip::StripView::Inside(window_->TagList()->GetPos(), client));
  const RECT cards = window_->LinkBox()->GetPos();
  EXPECT_TRUE(group_strip::StripView::Inside(cards, client));
  ASSERT_EQ(window_->LinkBox()->GetCount(), 1);
  const RECT card = window_->LinkBox()->GetItemAt(0)->GetPos();
  EXPECT_GE(cards.bottom - cards.top, 2 * (card.bottom - card.top));

  input.Wheel(view.StripMiddle(), -WHEEL_DELTA, 2);
  view.WaitAtRest();
  EXPECT_GT(view.Scroll(), 0) << "the wheel moved the strip";

  input.Click(group_strip::StripView::Middle(view.Shown(view.Columns() + 1)));
  input.Key(VK_END);
  ASSERT_TRUE(PumpUntil([&] { return view.Strip()->GetCurSel() == 299; }, 3000)) << "End chose the last group";
  PaintNow(hwnd_);
  EXPECT_TRUE(view.WhollyShown(299));
  EXPECT_EQ(view.TagName(0), L"T299");
  DeleteFileW(group_strip::ProbeLog().c_str());
  input.Click(group_strip::StripView::Middle(window_->LinkBox()->GetItemAt(0)->GetPos()));
  EXPECT_TRUE(PumpUntil([] { return pexo_test::ReadFileBytes(group_strip::ProbeLog()).find("grp-299") != std::string::npos; },
                        10000))
      << "the last group's card did not start";
  std::printf("[ the window took the foreground back %d times ]\n", input.ForegroundRetakes());
}

}  // namespace
