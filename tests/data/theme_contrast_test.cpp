// Every text of the launcher against the background it is drawn on, in every
// theme that ships with it: the colours come from the skin's palette
// (global.xml) with the theme file's colours over it, and each pair must reach
// the contrast ratio of the Web Content Accessibility Guidelines for body text.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "ui/base/markup_parser.h"
#include "ui/base/ui_globals.h"

namespace {

constexpr double kBodyTextContrast = 4.5;

using Palette = std::map<std::wstring, DWORD>;

std::wstring SourceFile(const std::wstring& relative) { return pexo_test::DataFile(L"../../" + relative); }

// The named colours of a palette file: "TextColor" entries of global.xml or
// "Color" entries of a theme.
void ReadColors(const std::wstring& path, const wchar_t* element, Palette& palette) {
  ui::MarkupDocument document;
  ASSERT_TRUE(document.LoadFromFile(path, ui::MarkupDocument::kUtf8)) << std::string(path.begin(), path.end());
  for (ui::MarkupNode node = document.GetRoot().GetChild(); node.IsValid(); node = node.GetSibling()) {
    if (std::wstring(node.GetName()) != element) continue;
    std::wstring name, value;
    for (int i = 0; i < node.GetAttributeCount(); ++i) {
      if (std::wstring(node.GetAttributeName(i)) == L"name") name = node.GetAttributeValue(i);
      if (std::wstring(node.GetAttributeName(i)) == L"value") value = node.GetAttributeValue(i);
    }
    DWORD color = 0;
    ASSERT_TRUE(ui::UiGlobals::ParseColor(value, color)) << std::string(name.begin(), name.end());
    palette[name] = color;
  }
}

Palette SkinPalette() {
  Palette palette;
  ReadColors(SourceFile(L"skin/gray/global.xml"), L"TextColor", palette);
  return palette;
}

Palette ThemePalette(const std::wstring& theme) {
  Palette palette = SkinPalette();
  ReadColors(SourceFile(L"theme/" + theme), L"Color", palette);
  return palette;
}

// `top` drawn over the opaque `under`, as the render context blends it.
DWORD Over(DWORD top, DWORD under) {
  const DWORD alpha = top >> 24;
  DWORD out = 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const DWORD blended = (((top >> shift) & 0xFF) * alpha + ((under >> shift) & 0xFF) * (255 - alpha) + 127) / 255;
    out |= blended << shift;
  }
  return out;
}

double Luminance(DWORD argb) {
  auto channel = [](DWORD value) {
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel((argb >> 16) & 0xFF) + 0.7152 * channel((argb >> 8) & 0xFF) + 0.0722 * channel(argb & 0xFF);
}

double Contrast(DWORD a, DWORD b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

struct TextOnBackground {
  const wchar_t* text;
  const wchar_t* background;  // drawn over "bk_main" when it is not opaque
  const char* where;
};

// Where the skin draws a palette text colour, and on what. Disabled text is left
// out, as the guidelines leave it out.
const TextOnBackground kPairs[] = {
    {L"title_text", L"title_bk", "title bar, menus, dialog captions, text fields, buttons"},
    {L"title_subtext", L"title_bk", "date line, search and field prompts"},
    {L"title_text", L"group_hot", "menu item under the mouse or with its level open"},
    {L"title_text", L"title_btn_hot", "dialog button under the mouse"},
    {L"title_text", L"title_btn_pushed", "dialog button pressed"},
    {L"title_text", L"tag_hot", "theme list row under the mouse"},
    {L"title_text", L"bk_main", "settings headings, check boxes, options"},
    {L"title_subtext", L"bk_main", "dialog field labels, settings hints"},
    {L"group_text", L"strip_bk", "group"},
    {L"group_text", L"group_hot", "group under the mouse"},
    {L"group_text", L"tag_sel", "group pressed"},
    {L"group_sel_text", L"group_sel", "current group"},
    {L"tag_text", L"tag_bk", "tag"},
    {L"tag_text", L"tag_hot", "tag or settings page under the mouse"},
    {L"tag_text", L"tag_sel", "tag or settings page pressed"},
    {L"tag_text", L"title_bk", "settings page"},
    {L"tag_sel_text", L"tag_sel", "current tag, settings page, theme list row"},
    {L"card_text", L"card_bk", "card"},
    {L"card_text", L"card_hot", "card under the mouse"},
    {L"card_text", L"card_pushed", "card pressed"},
    {L"card_text", L"tag_sel", "chosen search result"},
    {L"title_subtext", L"card_bk", "search result's remark"},
    {L"title_subtext", L"card_hot", "search result's remark under the mouse"},
    {L"title_subtext", L"tag_sel", "chosen search result's remark"},
    {L"textdefaultcolor", L"note_bk", "note text"},
    {L"textdefaultcolor", L"bk_main", "text without a colour of its own"},
    {L"notice_text", L"notice_bk", "notice"},
    {L"white", L"accent", "OK button"},
    {L"white", L"accent_hot", "OK button under the mouse"},
    {L"white", L"accent_pushed", "OK button pressed"},
};

const wchar_t* const kThemes[] = {L"gray.xml", L"blue.xml", L"dark.xml"};

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST(ThemeContrast, EveryTextReadsOnItsBackgroundInEveryShippedTheme) {
  for (const wchar_t* theme : kThemes) {
    const Palette palette = ThemePalette(theme);
    for (const TextOnBackground& pair : kPairs) {
      ASSERT_TRUE(palette.count(pair.text)) << Narrow(pair.text);
      ASSERT_TRUE(palette.count(pair.background)) << Narrow(pair.background);
      const DWORD back = Over(palette.at(pair.background), palette.at(L"bk_main"));
      const DWORD text = Over(palette.at(pair.text), back);
      EXPECT_GE(Contrast(text, back), kBodyTextContrast)
          << Narrow(theme) << ": " << Narrow(pair.text) << " on " << Narrow(pair.background) << " (" << pair.where
          << ")";
    }
  }
}

// Text colours named in a skin file: attributes ending in "textcolor" (disabled
// text aside) and "promptcolor", also inside class definitions.
std::set<std::wstring> TextColorNames(const std::wstring& path) {
  const std::string bytes = pexo_test::ReadFileBytes(path);
  std::set<std::wstring> names;
  static const std::regex attribute("([a-z]*)(textcolor|promptcolor)=(\"|&quot;)([A-Za-z0-9_]+)");
  for (auto it = std::sregex_iterator(bytes.begin(), bytes.end(), attribute); it != std::sregex_iterator(); ++it) {
    if ((*it)[1] == "disabled") continue;
    const std::string name = (*it)[4];
    names.insert(std::wstring(name.begin(), name.end()));
  }
  return names;
}

TEST(ThemeContrast, EveryPaletteTextColourOfTheSkinIsChecked) {
  const Palette skin = SkinPalette();
  std::set<std::wstring> checked;
  for (const TextOnBackground& pair : kPairs) checked.insert(pair.text);
  std::vector<std::wstring> files = {SourceFile(L"skin/gray/global.xml")};
  for (const wchar_t* folder : {L"skin/gray/main/", L"skin/gray/menu/"}) {
    WIN32_FIND_DATAW found = {};
    HANDLE find = FindFirstFileW((SourceFile(folder) + L"*.xml").c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
      files.push_back(SourceFile(folder) + found.cFileName);
    } while (FindNextFileW(find, &found));
    FindClose(find);
  }
  size_t seen = 0;
  for (const std::wstring& file : files) {
    for (const std::wstring& name : TextColorNames(file)) {
      ++seen;
      // Colours a window defines for itself are not the palette's: no theme reaches them.
      if (!skin.count(name)) continue;
      EXPECT_TRUE(checked.count(name)) << Narrow(name) << " in " << Narrow(file) << " has no pair above";
    }
  }
  EXPECT_GT(seen, 10u) << "the skin files were read";
}

// Every colour a theme names is one of the skin's palette: a misspelt name would
// change nothing and leave its pair unchecked.
TEST(ThemeContrast, ThemesNameOnlyColoursOfThePalette) {
  const Palette skin = SkinPalette();
  for (const wchar_t* theme : kThemes) {
    Palette own;
    ReadColors(SourceFile(std::wstring(L"theme/") + theme), L"Color", own);
    for (const auto& [name, value] : own) EXPECT_TRUE(skin.count(name)) << Narrow(theme) << ": " << Narrow(name);
  }
}

}  // namespace
