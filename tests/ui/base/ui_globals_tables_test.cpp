// Colour, font and class tables of the framework's global state.
#include <windows.h>

#include <gtest/gtest.h>

#include "ui/base/dpi_scaler.h"
#include "ui/base/text_constants.h"
#include "ui/base/ui_globals.h"
#include "ui/base/windows_version.h"

using ui::UiGlobals;

namespace {

DWORD Parsed(const std::wstring& text) {
  UiGlobals::AddColor(L"probe", text);
  return UiGlobals::GetColor(L"probe");
}

TEST(UiGlobalsColorTest, AllNotations) {
  EXPECT_EQ(Parsed(L"#FF0000"), 0x00FF0000u);  // six digits: transparent red
  EXPECT_EQ(Parsed(L"#FF112233"), 0xFF112233u);
  EXPECT_EQ(Parsed(L"#12zz"), 0x12u);  // stops at the first non-digit
  EXPECT_EQ(Parsed(L"rgb(300,0,0)"), 0xFF2C0000u);
  EXPECT_EQ(Parsed(L"rgb( 1, 2, 3)"), 0xFF010203u);
  EXPECT_EQ(Parsed(L"argb(128,0,0,255)"), 0x800000FFu);
  EXPECT_EQ(Parsed(L"Argb(128,0,0,255)"), 0u);
  EXPECT_EQ(Parsed(L"RGB(1,2,3)"), 0u);
  EXPECT_EQ(Parsed(L""), 0u);
  EXPECT_EQ(Parsed(L"red"), 0u);
}

TEST(UiGlobalsColorTest, MalformedTextStoresZeroAndDoesNotParse) {
  for (const wchar_t* bad : {L"argb(1,2,3", L"argb(1,2,3,4", L"rgb(1,2,3", L"rgb(1 ,2,3)", L"rgb(1,2)", L"#",
                             L"#xyz", L"argb(", L"rgb"}) {
    UiGlobals::AddColor(L"bad", L"#FFFFFFFF");
    DWORD value = 1;
    EXPECT_FALSE(UiGlobals::ParseColor(bad, value)) << std::string(bad, bad + wcslen(bad));
    EXPECT_EQ(value, 0u);
    UiGlobals::AddColor(L"bad", bad);
    EXPECT_EQ(UiGlobals::GetColor(L"bad"), 0u);
  }
}

TEST(UiGlobalsColorTest, NamedColoursAreCopied) {
  UiGlobals::AddColor(L"red", L"#FFFF0000");
  UiGlobals::AddColor(L"copy", L"@red");
  EXPECT_EQ(UiGlobals::GetColor(L"copy"), 0xFFFF0000u);
  UiGlobals::AddColor(L"red", L"#FF00FF00");
  EXPECT_EQ(UiGlobals::GetColor(L"copy"), 0xFFFF0000u);
  UiGlobals::AddColor(L"ghost", L"@no_such_colour");
  EXPECT_EQ(UiGlobals::GetColor(L"ghost"), 0u);
  EXPECT_EQ(UiGlobals::GetColor(L"never_added"), 0u);
}

TEST(UiGlobalsClassTest, ClassesAndDefaultTextColourNames) {
  EXPECT_EQ(UiGlobals::GetDefaultTextColorName(), kDefaultTextColorName);
  EXPECT_EQ(UiGlobals::GetDefaultDisabledTextColorName(), kDefaultDisabledTextColorName);
  UiGlobals::AddClass(L"btn", L"width=\"30\"");
  UiGlobals::AddClass(L"btn", L"height=\"20\"");
  EXPECT_EQ(UiGlobals::GetClassAttributes(L"btn"), L"height=\"20\"");
  EXPECT_EQ(UiGlobals::GetClassAttributes(L"none"), L"");
  UiGlobals::SetDefaultTextColorName(L"mytext");
  EXPECT_EQ(UiGlobals::GetDefaultTextColorName(), L"mytext");
  UiGlobals::SetDefaultDisabledTextColorName(L"mydisabled");
  EXPECT_EQ(UiGlobals::GetDefaultDisabledTextColorName(), L"mydisabled");
}

// Runs first: the default font id is never cleared once set.
TEST(UiGlobalsFontTest, IdsDefaultsAndDuplicates) {
  EXPECT_EQ(UiGlobals::GetFont(L""), nullptr);
  HFONT first = UiGlobals::AddFont(L"", L"Arial", 12, false, false, false, false, false, 0);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(UiGlobals::AddFont(L"", L"Arial", 14, false, false, false, false, false, 0), nullptr);
  ASSERT_NE(UiGlobals::GetFont(L"0"), nullptr);
  EXPECT_EQ(UiGlobals::GetFont(L"0")->handle, first);
  EXPECT_EQ(UiGlobals::GetFont(L"1")->size, 14);
  EXPECT_EQ(UiGlobals::GetFont(L""), nullptr);

  // A second font under a taken id is not kept, and its handle is not handed out.
  HFONT dup = UiGlobals::AddFont(L"dup", L"Arial", 12, false, true, true, true, false, 0);
  const DWORD objects_before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  for (int i = 0; i < 50; ++i) {
    EXPECT_EQ(UiGlobals::AddFont(L"dup", L"Tahoma", 20, true, false, false, false, true, 0), dup);
  }
  const DWORD objects_after = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (objects_before != 0) {
    EXPECT_LT(objects_after, objects_before + 10);
  }
  const ui::FontInfo* info = UiGlobals::GetFont(L"dup");
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->faceName, L"Arial");
  EXPECT_TRUE(info->underline && info->strikeout && info->italic);
  EXPECT_FALSE(info->bold);
  // The default flag still marks the id.
  EXPECT_EQ(UiGlobals::GetDefaultFontId(), L"dup");
  EXPECT_EQ(UiGlobals::GetFont(L""), info);
  LOGFONTW logfont{};
  ASSERT_EQ(GetObjectW(dup, sizeof(logfont), &logfont), static_cast<int>(sizeof(logfont)));
  EXPECT_STREQ(logfont.lfFaceName, L"Arial");

  UiGlobals::RemoveAllFonts();
  EXPECT_EQ(UiGlobals::GetFont(L"dup"), nullptr);
  EXPECT_EQ(UiGlobals::GetDefaultFontId(), L"dup");
  EXPECT_EQ(UiGlobals::AddFont(L"", L"Arial", 12, false, false, false, false, false, 0) != nullptr, true);
  EXPECT_NE(UiGlobals::GetFont(L"0"), nullptr);
}

TEST(UiGlobalsFontTest, WeightsStayInRange) {
  LOGFONTW gui{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(gui), &gui);
  UiGlobals::AddFont(L"bold", L"Arial", 12, true, false, false, false, false, 0);
  EXPECT_EQ(UiGlobals::GetFont(L"bold")->weight, std::min<LONG>(gui.lfWeight + 700, 1000));
  EXPECT_LE(UiGlobals::GetFont(L"bold")->weight, 1000);
  UiGlobals::AddFont(L"heavy", L"Arial", 12, true, false, false, false, false, 1500);
  EXPECT_EQ(UiGlobals::GetFont(L"heavy")->weight, 1000);
  UiGlobals::AddFont(L"light", L"Arial", 12, true, false, false, false, false, 300);
  EXPECT_EQ(UiGlobals::GetFont(L"light")->weight, 300);
  UiGlobals::AddFont(L"plain", L"Arial", 12, false, false, false, false, false, 0);
  EXPECT_EQ(UiGlobals::GetFont(L"plain")->weight, gui.lfWeight);
}

TEST(UiGlobalsFontTest, SystemFaceLongNamesAndDpiScaling) {
  OverrideWindowsVersion(WindowsVersion{6, 1, 0});
  UiGlobals::AddFont(L"sys", L"system", 12, false, false, false, false, false, 0);
  OverrideWindowsVersion(std::nullopt);
  EXPECT_EQ(UiGlobals::GetFont(L"sys")->faceName, L"\u5fae\u8f6f\u96c5\u9ed1");
  UiGlobals::AddFont(L"System", L"System", 12, false, false, false, false, false, 0);
  EXPECT_EQ(UiGlobals::GetFont(L"System")->faceName, L"System");

  const std::wstring long_name(40, L'F');
  HFONT font = UiGlobals::AddFont(L"long", long_name, 12, false, false, false, false, false, 0);
  ASSERT_NE(font, nullptr);
  LOGFONTW logfont{};
  GetObjectW(font, sizeof(logfont), &logfont);
  EXPECT_EQ(std::wstring(logfont.lfFaceName), std::wstring(31, L'F'));
  EXPECT_EQ(logfont.lfHeight, -12);

  DpiScaler& scaler = DpiScaler::Instance();
  scaler.SetAdapted(true);
  scaler.SetScale(150);
  UiGlobals::AddFont(L"scaled", L"Arial", 12, false, false, false, false, false, 0);
  scaler.SetScale(100);
  scaler.SetAdapted(false);
  EXPECT_EQ(UiGlobals::GetFont(L"scaled")->size, 18);
}

}  // namespace
