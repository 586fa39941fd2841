#include "data/theme_loader.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_support.h"
#include "ui/base/ui_globals.h"

using ui::UiGlobals;

namespace {

// Theme files live in "theme" beside the executable; the fixture makes that
// folder and removes it again.
class ThemeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = pexo_test::ExeFolder() + L"\\theme";
    CreateDirectoryW(folder_.c_str(), nullptr);
    UiGlobals::AddColor(L"text", L"#FF111111");
    UiGlobals::AddColor(L"back", L"#FF222222");
  }
  void TearDown() override {
    std::wstring from = folder_;
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
  }
  void Write(const std::wstring& name, const std::string& xml) {
    ASSERT_TRUE(pexo_test::WriteFileBytes(folder_ + L"\\" + name, xml));
  }
  std::wstring folder_;
};

TEST_F(ThemeTest, NameWithOrWithoutExtensionLoadsTheSameFile) {
  Write(L"gray.xml", "<Global><Color name=\"text\" value=\"#FFABCDEF\"/></Global>");
  EXPECT_EQ(ThemeFilePath(L"gray"), ThemeFilePath(L"gray.xml"));
  EXPECT_EQ(ThemeFilePath(L"gray"), folder_ + L"\\gray.xml");
  EXPECT_TRUE(LoadTheme(L"gray"));
  EXPECT_EQ(UiGlobals::GetColor(L"text"), 0xFFABCDEFu);
  UiGlobals::AddColor(L"text", L"#FF111111");
  EXPECT_TRUE(LoadTheme(L"gray.xml"));
  EXPECT_EQ(UiGlobals::GetColor(L"text"), 0xFFABCDEFu);

  Write(L"dark.thm", "<Global><Color name=\"back\" value=\"rgb(1,2,3)\"/></Global>");
  EXPECT_EQ(ThemeFilePath(L"dark.thm"), folder_ + L"\\dark.thm");
  EXPECT_TRUE(LoadTheme(L"dark.thm"));
  EXPECT_EQ(UiGlobals::GetColor(L"back"), 0xFF010203u);
}

TEST_F(ThemeTest, EntriesAndLaterThemes) {
  Write(L"first.xml",
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Global>\n"
        "  <Color name=\"text\" value=\"#FF0000FF\"/>\n"
        "  <Color value=\"#FF00FF00\"/>\n"                            // no name: skipped
        "  <Color name=\"novalue\"/>\n"                               // no value: 0
        "  <Color name=\"twice\" value=\"#FF000001\" value=\"#FF000002\"/>\n"  // last wins
        "  <Colour name=\"back\" value=\"#FF999999\"/>\n"             // other elements ignored
        "  <Color name=\"alias\" value=\"@text\"/>\n"
        "</Global>\n");
  UiGlobals::AddColor(L"novalue", L"#FF123456");
  ASSERT_TRUE(LoadTheme(L"first"));
  EXPECT_EQ(UiGlobals::GetColor(L"text"), 0xFF0000FFu);
  EXPECT_EQ(UiGlobals::GetColor(L"novalue"), 0u);
  EXPECT_EQ(UiGlobals::GetColor(L"twice"), 0xFF000002u);
  EXPECT_EQ(UiGlobals::GetColor(L"back"), 0xFF222222u);
  EXPECT_EQ(UiGlobals::GetColor(L"alias"), 0xFF0000FFu);

  Write(L"second.xml", "<Global><Color name=\"back\" value=\"argb(255,1,1,1)\"/></Global>");
  ASSERT_TRUE(LoadTheme(L"second"));
  EXPECT_EQ(UiGlobals::GetColor(L"back"), 0xFF010101u);
  // What the first theme changed and the second does not name is the skin's again.
  EXPECT_EQ(UiGlobals::GetColor(L"text"), 0xFF111111u);
  EXPECT_EQ(UiGlobals::GetColor(L"novalue"), 0xFF123456u);
  EXPECT_EQ(UiGlobals::GetColor(L"twice"), 0u) << "a name the skin lacks is lacking again";

  // An empty theme is the skin's colours, whatever was shown before.
  Write(L"empty.xml", "<Global/>");
  EXPECT_TRUE(LoadTheme(L"empty"));
  EXPECT_EQ(UiGlobals::GetColor(L"back"), 0xFF222222u);
  EXPECT_EQ(UiGlobals::GetColor(L"text"), 0xFF111111u);
}

TEST_F(ThemeTest, EveryThemeShowsOverTheSkinWhicheverThemeWasShownBefore) {
  Write(L"one.xml", "<Global><Color name=\"text\" value=\"#FF0000AA\"/></Global>");
  Write(L"two.xml", "<Global><Color name=\"back\" value=\"#FF0000BB\"/></Global>");
  Write(L"bad.xml", "<Global><Color name=\"back\" value=\"nonsense\"/></Global>");
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(LoadTheme(L"one"));
    EXPECT_EQ(UiGlobals::GetColor(L"text"), 0xFF0000AAu);
    EXPECT_EQ(UiGlobals::GetColor(L"back"), 0xFF222222u);
    ASSERT_TRUE(LoadTheme(L"two"));
    EXPECT_EQ(UiGlobals::GetColor(L"text"), 0xFF111111u);
    EXPECT_EQ(UiGlobals::GetColor(L"back"), 0xFF0000BBu);
    // A theme that does not load leaves the one shown as it is.
    EXPECT_FALSE(LoadTheme(L"bad"));
    EXPECT_EQ(UiGlobals::GetColor(L"back"), 0xFF0000BBu);
  }
}

TEST_F(ThemeTest, ShippedThemesLoad) {
  const std::string blue = pexo_test::ReadFileBytes(pexo_test::DataFile(L"..\\..\\theme\\blue.xml"));
  ASSERT_FALSE(blue.empty());
  Write(L"blue.xml", blue);
  EXPECT_TRUE(LoadTheme(L"blue"));
  EXPECT_EQ(UiGlobals::GetColor(L"link_hot"), 0xFF0063B1u);

  // The default setting names "gray": it must load, and it gives the skin's colours.
  const std::string gray = pexo_test::ReadFileBytes(pexo_test::DataFile(L"..\\..\\theme\\gray.xml"));
  ASSERT_FALSE(gray.empty());
  Write(L"gray.xml", gray);
  EXPECT_TRUE(LoadTheme(L"gray"));
  EXPECT_EQ(UiGlobals::GetColor(L"text"), 0xFF111111u);
  EXPECT_EQ(UiGlobals::GetColor(L"link_hot"), 0u) << "blue's colour is gone again";
}

TEST(ThemeWarningTest, NamesTheThemeInTheWarning) {
  EXPECT_EQ(ThemeLoadWarningText(L"蓝色"), L"主题[蓝色]加载失败！将使用默认主题！");
  EXPECT_EQ(ThemeLoadWarningText(L"50%s"), L"主题[50%s]加载失败！将使用默认主题！");
  EXPECT_STREQ(kThemeLoadWarningCaption, L"警告");
}

TEST_F(ThemeTest, FailedLoadsChangeNothing) {
  Write(L"badroot.xml", "<Color name=\"text\" value=\"#FF000000\"/>");
  Write(L"broken.xml", "<Global><Color name=\"text\" value=\"#FF000000\"></Global>");
  Write(L"badvalue.xml",
        "<Global><Color name=\"text\" value=\"#FF000000\"/><Color name=\"back\" value=\"argb(1,2,3\"/></Global>");
  Write(L"badvalue2.xml", "<Global><Color name=\"back\" value=\"Rgb(1,2,3)\"/></Global>");
  Write(L"zero.xml", "");
  Write(L"comment.xml", "<!-- nothing -->");
  CreateDirectoryW((folder_ + L"\\folder.xml").c_str(), nullptr);
  for (const wchar_t* name : {L"", L"missing", L"badroot", L"broken", L"badvalue", L"badvalue2", L"zero",
                              L"comment", L"folder"}) {
    EXPECT_FALSE(LoadTheme(name)) << std::string(name, name + wcslen(name));
    EXPECT_EQ(UiGlobals::GetColor(L"text"), 0xFF111111u);
    EXPECT_EQ(UiGlobals::GetColor(L"back"), 0xFF222222u);
  }
}

}  // namespace
