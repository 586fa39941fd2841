// The root elements of skin documents: "Global" into the framework's tables,
// "Window" into the window being created.
#include "ui/core/skin_builder.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/support/test_support.h"
#include "tests/ui/core/stock_controls_registered.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/dpi_scaler.h"
#include "ui/base/font_info.h"
#include "ui/base/language_table.h"
#include "ui/core/control.h"
#include "ui/core/window.h"

namespace {

using ui::SkinBuilder;
using ui::UiGlobals;

::testing::Environment* const kGdiplus = ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

std::unique_ptr<ui::Control> Build(const std::wstring& xml, ui::Window* window) {
  SkinBuilder builder;
  return std::unique_ptr<ui::Control>(builder.Create(xml, nullptr, window));
}

TEST(SkinBuilderGlobalTest, FontsClassesColoursAndDefaultColourNamesFillTheTables) {
  ui::Window scratch;
  auto built = Build(
      L"<Global defaultfontcolor=\"my_text\" disabledfontcolor=\"my_grey\" linkfontcolor=\"x\" selectedcolor=\"y\">"
      L"<Font id=\"big\" name=\"Arial\" size=\"20\" bold=\"true\" italic=\"true\" underline=\"yes\"/>"
      L"<Font id=\"heavy\" name=\"Arial\" weight=\"900\" default=\"true\"/>"
      L"<Font id=\"faceless\" size=\"30\"/>"
      L"<Class name=\"btn\" value=\"width=&quot;30&quot;\" height=\"20\"/>"
      L"<Class name=\"spaced\" _value=\"v\" text=\"a b\"/>"
      L"<Class value=\"no name\"/>"
      L"<TextColor name=\"red\" value=\"#FFFF0000\"/>"
      L"<TextColor name=\"copy\" value=\"@red\"/>"
      L"<TextColor value=\"#FF00FF00\"/>"
      L"<FontResource name=\"nothing\"/>"
      L"<Image name=\"i\"/>"
      L"<Label name=\"dropped\"/>"
      L"</Global>",
      &scratch);
  // The label is built (and handed back); the tables are what matters here.
  ASSERT_NE(built, nullptr);
  EXPECT_EQ(built->GetName(), L"dropped");

  EXPECT_EQ(UiGlobals::GetDefaultTextColorName(), L"my_text");
  EXPECT_EQ(UiGlobals::GetDefaultDisabledTextColorName(), L"my_grey");

  const ui::FontInfo* big = UiGlobals::GetFont(L"big");
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(big->size, 20);
  EXPECT_TRUE(big->bold);
  EXPECT_TRUE(big->italic);
  EXPECT_FALSE(big->underline);  // only "true" is true
  const ui::FontInfo* heavy = UiGlobals::GetFont(L"heavy");
  ASSERT_NE(heavy, nullptr);
  EXPECT_EQ(heavy->size, 12);  // the default size
  EXPECT_EQ(heavy->weight, 900);
  EXPECT_EQ(UiGlobals::GetFont(L""), heavy);
  EXPECT_EQ(UiGlobals::GetFont(L"faceless"), nullptr);

  EXPECT_EQ(UiGlobals::GetClassAttributes(L"btn"), L"width=\"30\" height=\"20\"");
  EXPECT_EQ(UiGlobals::GetClassAttributes(L"spaced"), L"value=\"v\" text=\"a b\"");
  EXPECT_EQ(UiGlobals::GetColor(L"red"), 0xFFFF0000u);
  EXPECT_EQ(UiGlobals::GetColor(L"copy"), 0xFFFF0000u);
}

TEST(SkinBuilderGlobalTest, WithoutAWindowTheGlobalRootIsNotApplied) {
  auto built = Build(L"<Global><TextColor name=\"unapplied\" value=\"#FF123456\"/><Class name=\"c\" value=\"x\"/>"
                     L"</Global>",
                     nullptr);
  EXPECT_EQ(built, nullptr);
  EXPECT_EQ(UiGlobals::GetColor(L"unapplied"), 0u);
  EXPECT_EQ(UiGlobals::GetClassAttributes(L"c"), L"");
}

TEST(SkinBuilderGlobalTest, StartupBuildsGlobalXmlFromTheSkinFolder) {
  pexo_test::TempDir dir;
  ASSERT_TRUE(CreateDirectoryW(dir.File(L"theme").c_str(), nullptr));
  ASSERT_TRUE(pexo_test::WriteFileBytes(
      dir.File(L"theme\\global.xml"),
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Global defaultfontcolor=\"start_text\">"
      "<TextColor name=\"start_colour\" value=\"rgb(1,2,3)\"/><Class name=\"start_class\" value=\"a=&quot;1&quot;\"/>"
      "</Global>"));
  ui::InstallGlobalXmlBuilder();
  UiGlobals::Startup(dir.path() + L"\\", nullptr, false, L"theme", L"lang");
  EXPECT_EQ(UiGlobals::GetColor(L"start_colour"), 0xFF010203u);
  EXPECT_EQ(UiGlobals::GetClassAttributes(L"start_class"), L"a=\"1\"");
  EXPECT_EQ(UiGlobals::GetDefaultTextColorName(), L"start_text");
  UiGlobals::SetResourcePath(L"");
}

// A native window to receive the "Window" root's attributes.
class SkinBuilderWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hwnd_ = window_.Create(nullptr, L"", WS_POPUP, 0, false, RECT{0, 0, 100, 100});
    ASSERT_NE(hwnd_, nullptr);
  }
  void TearDown() override {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
  }

  window_test::TestWindow window_{L"PexoSkinBuilderWindow"};
  HWND hwnd_ = nullptr;
};

TEST_F(SkinBuilderWindowTest, GeometryAttributesReachTheWindow) {
  auto root = Build(L"<Window shadowattached=\"false\" size=\"300,200\" sizebox=\"4,5,6,7\" caption=\"1,2,3,30\" "
                    L"roundcorner=\"5,6\" mininfo=\"100,80\" maxinfo=\"0,900\" alphafixcorner=\"1,1,1,1\" "
                    L"custom_shadow=\"2,3,4,5\" unknown=\"1\" renderalpha=\"true\"><VBox name=\"root\"/></Window>",
                    &window_);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->GetName(), L"root");
  EXPECT_FALSE(window_.IsShadowAttached());
  EXPECT_EQ(window_.GetInitialSize().cx, 300);
  EXPECT_EQ(window_.GetInitialSize().cy, 200);
  RECT sizeBox = window_.GetSizeBox();
  EXPECT_EQ(sizeBox.left, 4);
  EXPECT_EQ(sizeBox.bottom, 7);
  RECT caption = window_.GetCaptionRect();
  EXPECT_EQ(caption.right, 3);
  EXPECT_EQ(caption.bottom, 30);
  EXPECT_EQ(window_.GetRoundCorner().cx, 5);
  EXPECT_EQ(window_.GetRoundCorner().cy, 6);
  EXPECT_EQ(window_.GetMinInfo().cx, 100);
  EXPECT_EQ(window_.GetMaxInfo().cx, 0);
  EXPECT_EQ(window_.GetMaxInfo().cy, 900);
  // "custom_shadow" is the later writer of the same field.
  EXPECT_EQ(window_.GetAlphaFixCorner().left, 2);
  EXPECT_EQ(window_.GetAlphaFixCorner().bottom, 5);
  // "renderalpha" switched the render surface to transparent.
  EXPECT_TRUE(window_.SetRenderTransparent(false));
}

TEST_F(SkinBuilderWindowTest, TheShadowGrowsLimitsWrittenAfterIt) {
  auto root = Build(L"<Window mininfo=\"100,80\" shadowattached=\"true\" shadowcorner=\"10,11,12,13\" "
                    L"maxinfo=\"400,0\" shadowimage=\"file='shadow.png'\"><VBox/></Window>",
                    &window_);
  ASSERT_NE(root, nullptr);
  EXPECT_TRUE(window_.IsShadowAttached());
  // Attached by default: the default padding of 14 on each side.
  EXPECT_EQ(window_.GetMinInfo().cx, 100 + 14 + 14);
  EXPECT_EQ(window_.GetMaxInfo().cx, 400 + 10 + 12);
  EXPECT_EQ(window_.GetMaxInfo().cy, 0);  // no limit stays no limit
  RECT padding = window_.GetShadowPadding();
  EXPECT_EQ(padding.left, 10);
  EXPECT_EQ(padding.bottom, 13);
  EXPECT_EQ(window_.GetShadow().GetShadowImage(), L"file='shadow.png'");
  EXPECT_FALSE(window_.GetShadow().HasDefaultImage());
}

TEST_F(SkinBuilderWindowTest, HeightPercentTakesAShareOfTheWorkArea) {
  MONITORINFO monitor = {sizeof(monitor)};
  GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const int workHeight = monitor.rcWork.bottom - monitor.rcWork.top;

  Build(L"<Window shadowattached=\"false\" size=\"250,100\" heightpercent=\"0.5\"><VBox/></Window>", &window_);
  EXPECT_DOUBLE_EQ(window_.GetHeightPercent(), 0.5);
  EXPECT_EQ(window_.GetInitialSize().cy, static_cast<int>(workHeight * 0.5));
  EXPECT_EQ(window_.GetInitialSize().cx, 250);

  // The limits win; the shadow's padding is taken off and put back on.
  Build(L"<Window shadowattached=\"true\" shadowcorner=\"10,10,10,10\" size=\"250,100\" mininfo=\"0,5000\" "
        L"heightpercent=\"0.5\"><VBox/></Window>",
        &window_);
  EXPECT_EQ(window_.GetInitialSize().cy, 5000 + 20);
  EXPECT_EQ(window_.GetInitialSize().cx, 250 + 20);
  Build(L"<Window maxinfo=\"0,300\" heightpercent=\"0.9\"><VBox/></Window>", &window_);
  EXPECT_EQ(window_.GetInitialSize().cy, 300 + 20);
}

TEST_F(SkinBuilderWindowTest, TextIdSetsTheTitleFromTheLanguageTable) {
  const char text[] = "TITLE_ID=Builder title\n";
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(text) - 1);
  memcpy(GlobalLock(block), text, sizeof(text) - 1);
  GlobalUnlock(block);
  ui::LanguageTable::Instance().LoadFromMemory(block);
  GlobalFree(block);

  Build(L"<Window textid=\"TITLE_ID\"><VBox/></Window>", &window_);
  wchar_t title[64] = {};
  GetWindowTextW(hwnd_, title, 64);
  EXPECT_STREQ(title, L"Builder title");
}

TEST_F(SkinBuilderWindowTest, WindowClassesAndColoursGoToTheWindowsOwnTables) {
  Build(L"<Window><Class name=\"wclass\" value=\"height=&quot;9&quot;\" width=\"3\"/>"
        L"<TextColor name=\"wcolour\" value=\"#FF102030\"/><TextColor name=\"bad\" value=\"rgb(1,2,3)\"/>"
        L"<TextColor name=\"empty\" value=\"\"/><VBox class=\"wclass\" name=\"root\"/></Window>",
        &window_);
  EXPECT_EQ(window_.GetClassAttributes(L"wclass"), L"height=\"9\" width=\"3\"");
  EXPECT_EQ(window_.GetColor(L"wcolour"), 0xFF102030u);
  EXPECT_EQ(window_.GetColor(L"bad"), 0u);
  EXPECT_EQ(window_.GetColor(L"empty"), 0u);
  EXPECT_EQ(UiGlobals::GetClassAttributes(L"wclass"), L"");
}

TEST(SkinBuilderWindowlessTest, AWindowWithoutAHandleGetsTablesButNoAttributes) {
  ui::Window window;
  auto root = Build(L"<Window size=\"300,200\" caption=\"0,0,0,30\" shadowattached=\"false\">"
                    L"<Class name=\"k\" value=\"a=&quot;b&quot;\"/><TextColor name=\"t\" value=\"#FF000001\"/>"
                    L"<Box/></Window>",
                    &window);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(window.GetInitialSize().cx, 0);
  EXPECT_EQ(window.GetCaptionRect().bottom, 0);
  EXPECT_TRUE(window.IsShadowAttached());
  EXPECT_EQ(window.GetClassAttributes(L"k"), L"a=\"b\"");
  EXPECT_EQ(window.GetColor(L"t"), 0xFF000001u);
}

TEST(SkinBuilderWindowlessTest, AnIncludedWindowRootIsAppliedToo) {
  pexo_test::TempDir dir;
  UiGlobals::SetResourcePath(dir.path());
  ASSERT_TRUE(pexo_test::WriteFileBytes(dir.File(L"part.xml"),
                                        "<Window><Class name=\"from_part\" value=\"x\"/><Label/></Window>"));
  ui::Window window;
  auto root = Build(L"<Window><VBox><Include source=\"part.xml\"/></VBox></Window>", &window);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(window.GetClassAttributes(L"from_part"), L"x");
  UiGlobals::SetResourcePath(L"");
}

}  // namespace
