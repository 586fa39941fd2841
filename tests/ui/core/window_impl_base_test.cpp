// Skinned windows: the tree built on creation, caption buttons, hit tests,
// tracking limits and self-deletion, with real windows under Wine.
#include "ui/core/window_impl_base.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "tests/support/message_box_closer.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/stock_controls_registered.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/button.h"
#include "ui/controls/label.h"
#include "ui/core/box.h"
#include "ui/core/shadow_box.h"

namespace {

using window_test::PumpUntil;

::testing::Environment* const kGdiplus = ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

// A control only the window's own factory knows.
class CustomControl : public ui::Control {
 public:
  std::wstring GetType() const override { return L"Custom"; }
};

class SkinnedWindow : public ui::WindowImplBase {
 public:
  SkinnedWindow(std::wstring skinFile, bool* deleted) : skinFile_(std::move(skinFile)), deleted_(deleted) {}
  ~SkinnedWindow() override {
    if (deleted_) *deleted_ = true;
  }

  std::wstring GetWindowClassName() const override { return L"PexoSkinnedTestWindow"; }
  std::wstring GetSkinFolder() override { return L"test"; }
  std::wstring GetSkinFile() override { return skinFile_; }
  void InitWindow() override {
    ++initCalls;
    rootAtInit = GetRoot();
  }
  ui::Control* CreateControl(const std::wstring& className) override {
    asked.push_back(className);
    return className == L"Custom" ? new CustomControl() : nullptr;
  }

  int initCalls = 0;
  ui::Control* rootAtInit = nullptr;
  std::vector<std::wstring> asked;

 private:
  std::wstring skinFile_;
  bool* deleted_;
};

constexpr char kMainSkin[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<Window shadowattached=\"false\" size=\"400,300\" sizebox=\"4,4,4,4\" caption=\"0,0,0,30\">"
    "<VBox name=\"root\" bkcolor=\"white\">"
    "  <HBox name=\"caption\" height=\"30\">"
    "    <Label name=\"title\" width=\"100\" height=\"30\"/><Control/>"
    "    <Button name=\"minbtn\" width=\"20\" height=\"30\"/><Button name=\"maxbtn\" width=\"20\" height=\"30\"/>"
    "    <Button name=\"restorebtn\" width=\"20\" height=\"30\" visible=\"false\"/>"
    "    <Button name=\"closebtn\" width=\"20\" height=\"30\"/>"
    "  </HBox>"
    "  <Custom name=\"custom\"/><Mystery/>"
    "</VBox></Window>";

class WindowImplBaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CreateDirectoryW(dir_.File(L"test").c_str(), nullptr));
    ui::UiGlobals::SetResourcePath(dir_.path());
    Write(L"main.xml", kMainSkin);
  }
  void TearDown() override {
    if (window_ && !deleted_ && IsWindow(window_->GetHWND())) DestroyWindow(window_->GetHWND());
    ui::UiGlobals::SetResourcePath(L"");
  }

  void Write(const std::wstring& name, const std::string& xml) {
    ASSERT_TRUE(pexo_test::WriteFileBytes(dir_.File(L"test\\" + name), xml));
  }

  // Creates the window from a skin file, shows it without activation and lays it out.
  // A caption would make Wine hand the window to a window manager, and
  // destroying it would then wait for one that Xvfb does not run.
  HWND Open(const std::wstring& skinFile, DWORD style = WS_POPUP) {
    window_ = new SkinnedWindow(skinFile, &deleted_);
    HWND hwnd = window_->Create(nullptr, L"skinned", style, 0, false, RECT{50, 50, 450, 350});
    if (hwnd) {
      ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
      window_test::PaintNow(hwnd);
    }
    return hwnd;
  }

  LRESULT HitTest(int x, int y) {
    HWND hwnd = window_->GetHWND();
    return SendMessageW(hwnd, WM_NCHITTEST, 0, window_test::ScreenPoint(hwnd, x, y));
  }

  void Click(const wchar_t* name) {
    ui::Control* control = window_->FindControlByName(name);
    ASSERT_NE(control, nullptr) << name;
    window_->SendControlEvent(control, ui::click);
  }

  pexo_test::TempDir dir_;
  SkinnedWindow* window_ = nullptr;
  bool deleted_ = false;
};

TEST_F(WindowImplBaseTest, CreationBuildsTheSkinAndCallsInitWindowOnce) {
  HWND hwnd = Open(L"main.xml", WS_POPUP | WS_CAPTION);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(window_->initCalls, 1);
  EXPECT_EQ(window_->GetResourcePath(), L"test\\");
  ui::Control* root = window_->GetRoot();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->GetName(), L"root");
  EXPECT_EQ(window_->rootAtInit, root);
  EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_EQ(window_->GetClassStyle(), static_cast<UINT>(CS_DBLCLKS));
  // The window's factory is asked for what neither the builder nor the framework knows.
  EXPECT_EQ(window_->asked, (std::vector<std::wstring>{L"Custom", L"Mystery"}));
  EXPECT_NE(dynamic_cast<CustomControl*>(window_->FindControlByName(L"custom")), nullptr);
  // A filter that handles nothing.
  bool handled = false;
  EXPECT_EQ(window_->MessageHandler(WM_USER, 0, 0, handled), 0);
  EXPECT_FALSE(handled);
}

TEST_F(WindowImplBaseTest, TheShadowWrapsTheSkinsRoot) {
  Write(L"shadow.xml", "<Window size=\"200,100\"><VBox name=\"content\" width=\"200\" height=\"100\"/></Window>");
  ASSERT_NE(Open(L"shadow.xml"), nullptr);
  auto* shadow = dynamic_cast<ui::ShadowBox*>(window_->GetRoot());
  ASSERT_NE(shadow, nullptr);
  EXPECT_EQ(shadow->GetItemAt(0), window_->FindControlByName(L"content"));
  EXPECT_EQ(shadow->GetFixedWidth(), 200 + 28);
}

// A message box the window shows from its creation, read and closed from another thread.
using pexo_test::MessageBoxCloser;

TEST_F(WindowImplBaseTest, ASkinThatDoesNotLoadFailsCreationWithAMessage) {
  MessageBoxCloser closer;
  HWND hwnd = Open(L"missing.xml");
  EXPECT_EQ(hwnd, nullptr);
  // The object went with its native window.
  EXPECT_TRUE(deleted_);
  EXPECT_EQ(closer.Text(), L"Failed to load xml file test\\missing.xml");
}

TEST_F(WindowImplBaseTest, AMalformedSkinFailsCreationToo) {
  Write(L"broken.xml", "<Window><VBox></Window>");
  MessageBoxCloser closer;
  EXPECT_EQ(Open(L"broken.xml"), nullptr);
  EXPECT_TRUE(deleted_);
  EXPECT_NE(closer.Text().find(L"broken.xml"), std::wstring::npos);
}

TEST_F(WindowImplBaseTest, CloseButtonClosesAndTheWindowDeletesItself) {
  HWND hwnd = Open(L"main.xml");
  ASSERT_NE(hwnd, nullptr);
  Click(L"closebtn");
  EXPECT_TRUE(PumpUntil([&] { return deleted_; }));
  EXPECT_FALSE(IsWindow(hwnd));
}

// The tree goes with its window object. Its controls' last events reach plain
// listeners, but none bound to the window: its own parts are gone by then.
TEST_F(WindowImplBaseTest, AClosedWindowDeletesItsTreeWithoutCallingBackIntoIt) {
  ASSERT_NE(Open(L"main.xml"), nullptr);
  ui::Control* custom = window_->FindControlByName(L"custom");
  ASSERT_NE(custom, nullptr);
  bool customGone = false;
  int boundCalls = 0;
  custom->AttachEvent(ui::destroy, [&customGone](ui::EventArgs*) { return customGone = true; });
  custom->AttachEvent(ui::destroy, window_->ToWeakCallback([&boundCalls](ui::EventArgs*) { return ++boundCalls > 0; }));
  Click(L"closebtn");
  ASSERT_TRUE(PumpUntil([&] { return deleted_; }));
  EXPECT_TRUE(customGone) << "the tree outlived its window";
  EXPECT_EQ(boundCalls, 0);
}

TEST_F(WindowImplBaseTest, SystemCloseCommandClosesTheWindow) {
  HWND hwnd = Open(L"main.xml");
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0), 0);
  EXPECT_TRUE(PumpUntil([&] { return deleted_; }));
}

TEST_F(WindowImplBaseTest, MaximizeAndRestoreButtonsSwapAndSendTheirCommands) {
  HWND hwnd = Open(L"main.xml");
  ASSERT_NE(hwnd, nullptr);
  ui::Control* maxButton = window_->FindControlByName(L"maxbtn");
  ui::Control* restoreButton = window_->FindControlByName(L"restorebtn");
  Click(L"maxbtn");
  EXPECT_TRUE(PumpUntil([&] { return IsZoomed(hwnd) != FALSE; }));
  EXPECT_FALSE(maxButton->IsVisible());
  EXPECT_TRUE(restoreButton->IsVisible());

  Click(L"restorebtn");
  EXPECT_TRUE(PumpUntil([&] { return IsZoomed(hwnd) == FALSE; }));
  EXPECT_TRUE(maxButton->IsVisible());
  EXPECT_FALSE(restoreButton->IsVisible());

  Click(L"minbtn");
  EXPECT_TRUE(PumpUntil([&] { return IsIconic(hwnd) != FALSE; }));
  window_->RestoreAndActivate();
  EXPECT_TRUE(PumpUntil([&] { return IsIconic(hwnd) == FALSE; }));
}

TEST_F(WindowImplBaseTest, WithoutARestoreButtonMaximizingLeavesTheButtonAlone) {
  Write(L"max.xml",
        "<Window shadowattached=\"false\"><VBox><Button name=\"maxbtn\" height=\"20\"/>"
        "<ButtonBox name=\"closebtn\" height=\"20\"><Label text=\"x\"/></ButtonBox></VBox></Window>");
  HWND hwnd = Open(L"max.xml");
  ASSERT_NE(hwnd, nullptr);
  Click(L"maxbtn");
  EXPECT_TRUE(PumpUntil([&] { return IsZoomed(hwnd) != FALSE; }));
  EXPECT_TRUE(window_->FindControlByName(L"maxbtn")->IsVisible());
  // A button holding other controls closes the window like a plain one.
  Click(L"closebtn");
  EXPECT_TRUE(PumpUntil([&] { return deleted_; }));
}

TEST_F(WindowImplBaseTest, HitTestsGiveBordersCaptionAndClient) {
  ASSERT_NE(Open(L"main.xml"), nullptr);
  EXPECT_EQ(HitTest(1, 1), HTTOPLEFT);
  EXPECT_EQ(HitTest(200, 2), HTTOP);
  EXPECT_EQ(HitTest(398, 1), HTTOPRIGHT);
  EXPECT_EQ(HitTest(1, 150), HTLEFT);
  EXPECT_EQ(HitTest(398, 150), HTRIGHT);
  EXPECT_EQ(HitTest(1, 298), HTBOTTOMLEFT);
  EXPECT_EQ(HitTest(200, 297), HTBOTTOM);
  EXPECT_EQ(HitTest(398, 298), HTBOTTOMRIGHT);
  // The caption: over a label or empty space it drags the window, over a button it does not.
  EXPECT_EQ(HitTest(50, 15), HTCAPTION);
  EXPECT_EQ(HitTest(200, 15), HTCAPTION);
  const RECT close = window_->FindControlByName(L"closebtn")->GetPos();
  EXPECT_EQ(HitTest((close.left + close.right) / 2, 15), HTCLIENT);
  EXPECT_EQ(HitTest(200, 150), HTCLIENT);
}

TEST_F(WindowImplBaseTest, TheShadowAroundTheWindowIsClientArea) {
  Write(L"padded.xml",
        "<Window sizebox=\"4,4,4,4\" caption=\"0,0,0,30\" shadowcorner=\"10,10,10,10\">"
        "<VBox name=\"content\"/></Window>");
  ASSERT_NE(Open(L"padded.xml"), nullptr);
  EXPECT_EQ(HitTest(5, 150), HTCLIENT);  // in the shadow, left of the content
  EXPECT_EQ(HitTest(5, 5), HTCLIENT);    // in the shadow above the content
  EXPECT_EQ(HitTest(5, 12), HTTOP);      // the top band, left of the content
  EXPECT_EQ(HitTest(11, 11), HTTOPLEFT);
  EXPECT_EQ(HitTest(12, 150), HTLEFT);
  EXPECT_EQ(HitTest(100, 20), HTCAPTION);
  EXPECT_EQ(HitTest(100, 45), HTCLIENT);
}

TEST_F(WindowImplBaseTest, AMaximizedWindowHasNoSizingBorders) {
  HWND hwnd = Open(L"main.xml");
  ASSERT_NE(hwnd, nullptr);
  ::ShowWindow(hwnd, SW_MAXIMIZE);
  ASSERT_TRUE(PumpUntil([&] { return IsZoomed(hwnd) != FALSE; }));
  window_test::PaintNow(hwnd);
  EXPECT_EQ(HitTest(1, 1), HTCAPTION);
  EXPECT_EQ(HitTest(1, 150), HTCLIENT);
}

TEST_F(WindowImplBaseTest, TrackingLimitsFollowTheSkin) {
  ASSERT_NE(Open(L"main.xml"), nullptr);
  HWND hwnd = window_->GetHWND();
  MINMAXINFO info = {};
  info.ptMinTrackSize = {7, 7};
  info.ptMaxTrackSize = {7777, 7777};
  SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  // Without "mininfo" and "maxinfo" the defaults stay.
  EXPECT_EQ(info.ptMinTrackSize.x, 7);
  EXPECT_EQ(info.ptMaxTrackSize.y, 7777);
  MONITORINFO monitor = {sizeof(monitor)};
  GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
  EXPECT_EQ(info.ptMaxSize.x, monitor.rcWork.right - monitor.rcWork.left);
  EXPECT_EQ(info.ptMaxSize.y, monitor.rcWork.bottom - monitor.rcWork.top);

  window_->SetMinInfo(300, 0);
  window_->SetMaxInfo(0, 600);
  window_->SetMaximizedRect(RECT{10, 20, 310, 220});
  SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 300);
  EXPECT_EQ(info.ptMinTrackSize.y, 7);
  EXPECT_EQ(info.ptMaxTrackSize.x, 7777);
  EXPECT_EQ(info.ptMaxTrackSize.y, 600);
  EXPECT_EQ(info.ptMaxPosition.x, monitor.rcWork.left - monitor.rcMonitor.left + 10);
  EXPECT_EQ(info.ptMaxSize.x, 300);
  EXPECT_EQ(info.ptMaxSize.y, 200);
}

TEST_F(WindowImplBaseTest, NonClientActivationAndTopMost) {
  HWND hwnd = Open(L"main.xml");
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(SendMessageW(hwnd, WM_NCACTIVATE, FALSE, 0), TRUE);
  EXPECT_EQ(SendMessageW(hwnd, WM_NCACTIVATE, TRUE, 0), FALSE);
  EXPECT_EQ(SendMessageW(hwnd, WM_NCPAINT, 1, 0), 0);

  window_->SetTopMost(true);
  EXPECT_NE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  window_->SetTopMost(false);
  EXPECT_EQ(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

  window_->SetWindowTitle(L"标题");
  wchar_t title[16] = {};
  GetWindowTextW(hwnd, title, 16);
  EXPECT_STREQ(title, L"标题");
}

TEST_F(WindowImplBaseTest, ARoundCornerGivesTheWindowARegion) {
  Write(L"round.xml", "<Window shadowattached=\"false\" roundcorner=\"8,8\"><VBox/></Window>");
  HWND hwnd = Open(L"round.xml");
  ASSERT_NE(hwnd, nullptr);
  SetWindowPos(hwnd, nullptr, 0, 0, 320, 240, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(hwnd, region), COMPLEXREGION);
  // The corner pixel is cut off.
  EXPECT_FALSE(PtInRegion(region, 0, 0));
  EXPECT_TRUE(PtInRegion(region, 160, 120));
  DeleteObject(region);
}

TEST_F(WindowImplBaseTest, AnAutoSizedRootSizesTheWindow) {
  Write(L"auto.xml",
        "<Window shadowattached=\"false\"><VBox width=\"auto\" height=\"auto\" minwidth=\"150\">"
        "<Control width=\"120\" height=\"40\"/><Control width=\"80\" height=\"25\"/></VBox></Window>");
  HWND hwnd = Open(L"auto.xml");
  ASSERT_NE(hwnd, nullptr);
  RECT rc = {};
  GetWindowRect(hwnd, &rc);
  EXPECT_EQ(rc.right - rc.left, 150);  // raised to the minimum width
  EXPECT_EQ(rc.bottom - rc.top, 65);
  EXPECT_EQ(rc.left, 0);
  EXPECT_EQ(rc.top, 0);
}

}  // namespace
