// Colour themes switched on the running launcher the way a user switches them:
// "主题" in the title box's menu or the theme list of "设置". Whatever theme was
// shown before, the main window (its note text included), its menus and the
// search window take the new theme's colours at once, exactly as a window
// started in that theme shows them.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/main_window/main_wnd.h"
#include "app/search_window/search_wnd.h"
#include "data/group.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "data/theme_loader.h"
#include "tests/app/support/dialog_test_support.h"
#include "tests/app/support/launcher_test_support.h"
#include "tests/app/support/menu_driver.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/combo.h"
#include "ui/controls/list_box.h"
#include "ui/controls/rich_edit.h"

namespace {

using window_test::PumpFor;

::testing::Environment* const gdiplus = ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

constexpr wchar_t kNoteText[] = L"便签：明天开会 Meeting";

std::wstring ThemeFolder() { return pexo_test::ExeFolder() + L"\\theme\\"; }

// Every pixel of the window's surface, row by row.
std::vector<DWORD> Picture(ui::Window& window) {
  window_test::PaintNow(window.GetHWND());
  PumpFor(350);  // fades end
  window_test::PaintNow(window.GetHWND());
  ui::IRenderContext* context = window.GetRenderContext();
  std::vector<DWORD> pixels;
  if (!context) return pixels;
  for (int y = 0; y < context->GetHeight(); ++y) {
    for (int x = 0; x < context->GetWidth(); ++x) pixels.push_back(window_test::PixelAt(context, x, y));
  }
  return pixels;
}

size_t DifferentPixels(const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
  if (a.size() != b.size()) return a.size() + b.size();
  size_t count = 0;
  for (size_t i = 0; i < a.size(); ++i) count += a[i] != b[i];
  return count;
}

// WCAG's relative luminance of an opaque colour.
double Luminance(DWORD argb) {
  auto channel = [](DWORD value) {
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel((argb >> 16) & 0xFF) + 0.7152 * channel((argb >> 8) & 0xFF) + 0.0722 * channel(argb & 0xFF);
}

// The strongest contrast between the rectangle's background (its corner pixel)
// and any pixel inside it: the text's own colour where the text is drawn.
double StrongestContrast(ui::Window& window, RECT rc) {
  ui::IRenderContext* context = window.GetRenderContext();
  const double back = Luminance(window_test::PixelAt(context, rc.left + 2, rc.top + 2));
  double best = 1.0;
  for (int y = rc.top; y < rc.bottom; ++y) {
    for (int x = rc.left; x < rc.right; ++x) {
      const double here = Luminance(window_test::PixelAt(context, x, y));
      const double ratio = (std::max(here, back) + 0.05) / (std::min(here, back) + 0.05);
      best = std::max(best, ratio);
    }
  }
  return best;
}

using launcher_test::BringUpSearchWindow;

class ThemeSwitchTest : public launcher_test::MainWindowFixture {
 protected:
  ThemeSwitchTest() : MainWindowFixture(/*inFront=*/true) {}

  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(MainWindowFixture::SetUp());
    CreateDirectoryW(ThemeFolder().c_str(), nullptr);
    RemoveThemes();
    // A card in the first tag and a note tag with text, the note shown at start.
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    auto group = store.topGroups.at(0);
    ASSERT_TRUE(store.AddLink(group->tags.at(0), launcher_test::NewLink(L"记事本", L"C:\\windows\\notepad.exe")));
    auto note = launcher_test::NewTag(L"便签", kGroupNote);
    note->ParentGroup = group->ID;
    ASSERT_TRUE(store.AddTag(group, note));
    note->Content = kNoteText;
    ASSERT_TRUE(store.SaveGroup(note));
    GetSettings().nCurTag = static_cast<int>(group->tags.size()) - 1;
    store.Close();
  }
  void TearDown() override {
    MainWindowFixture::TearDown();
    // The skin's own colours for the tests after this one.
    ASSERT_TRUE(pexo_test::WriteFileBytes(ThemeFolder() + L"skin_only.xml", "<Global/>"));
    LoadTheme(L"skin_only.xml");
    RemoveThemes();
  }

  static void RemoveThemes() {
    WIN32_FIND_DATAW found = {};
    HANDLE find = FindFirstFileW((ThemeFolder() + L"*.xml").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
      DeleteFileW((ThemeFolder() + found.cFileName).c_str());
    } while (FindNextFileW(find, &found));
    FindClose(find);
  }
  static void ShipTheme(const std::wstring& file) {
    ASSERT_TRUE(CopyFileW(pexo_test::DataFile(L"../../theme/" + file).c_str(), (ThemeFolder() + file).c_str(), FALSE));
  }
  // Starts the launcher in a theme as the program's start does: the theme is
  // loaded before the main window is made.
  void OpenIn(const std::wstring& file) {
    GetSettings().Theme = file;
    ShipTheme(file);
    ASSERT_TRUE(LoadTheme(file));
    Open();
  }
  // The window's picture when started in the theme.
  std::vector<DWORD> ReferencePicture(const std::wstring& file) {
    OpenIn(file);
    std::vector<DWORD> picture = Picture(*window_);
    Close();
    return picture;
  }
  ui::RichEdit* NoteEditor() { return dynamic_cast<ui::RichEdit*>(window_->NoteEditor()); }
  std::wstring StoredTheme() {
    wchar_t stored[64] = {};
    GetPrivateProfileStringW(L"main", L"Theme", L"", stored, 64, GetSettings().FilePath().c_str());
    return stored;
  }
  // The main menu's background and its first item's middle, as painted while it is up.
  DWORD MenuBackground() {
    DWORD color = 0;
    ChooseOnTitle({L"!no_such_item"}, [this, &color] {
      HWND popup = nullptr;
      ui::Control* item = menu_driver::FindVisibleItem(hwnd_, L"hide_tile", &popup);
      auto* menu = popup ? reinterpret_cast<ui::Window*>(GetWindowLongPtrW(popup, GWLP_USERDATA)) : nullptr;
      if (!item || !menu) return false;
      window_test::PaintNow(popup);
      const RECT rc = item->GetPos();
      color = window_test::PixelAt(menu->GetRenderContext(), rc.right - 4, rc.top + 2);
      return true;
    });
    return color;
  }
};

TEST_F(ThemeSwitchTest, GrayChosenFromTheMenuAfterDarkShowsTheWindowAsAGrayStartDoes) {
  const std::vector<DWORD> gray = ReferencePicture(L"gray.xml");
  ASSERT_FALSE(gray.empty());

  OpenIn(L"dark.xml");
  ASSERT_EQ(NoteEditor()->GetText(), kNoteText) << "the note tag is shown";
  const std::vector<DWORD> dark = Picture(*window_);
  ASSERT_GT(DifferentPixels(dark, gray), gray.size() / 2) << "dark and gray differ";
  // The theme level, filled when the menu is first used, lists gray.xml alone:
  // the dark theme's file is gone from the folder by then.
  DeleteFileW((ThemeFolder() + L"dark.xml").c_str());
  ShipTheme(L"gray.xml");

  ChooseOnTitle({L"open_menu_skin", L"MenuSkinItem"});
  EXPECT_EQ(GetSettings().Theme, L"gray.xml");
  EXPECT_EQ(StoredTheme(), L"gray.xml") << "saved at once";
  const std::vector<DWORD> after = Picture(*window_);
  EXPECT_EQ(DifferentPixels(after, gray), 0u) << "every colour of the window, the note text too, is gray's";
  EXPECT_EQ(MenuBackground(), 0xFFFFFFFFu) << "the menu shows gray's background";
}

TEST_F(ThemeSwitchTest, DarkChosenFromTheMenuMakesTheNoteTextLightOnItsDarkBackground) {
  GetSettings().Theme = L"gray.xml";
  ShipTheme(L"dark.xml");
  Open();
  ASSERT_EQ(NoteEditor()->GetText(), kNoteText);
  // The search window, made in gray before the switch.
  CSearchWnd* search = BringUpSearchWindow(*window_);
  ASSERT_NE(search, nullptr);

  ChooseOnTitle({L"open_menu_skin", L"MenuSkinItem"});
  EXPECT_EQ(StoredTheme(), L"dark.xml");
  Picture(*window_);
  const RECT note = NoteEditor()->GetPos();
  EXPECT_GE(StrongestContrast(*window_, note), 4.5) << "the note's text reads on the dark background";
  // The search window's field takes the theme too, though it was made in gray.
  auto* field = dynamic_cast<ui::RichEdit*>(search->FindControlByName(L"edit_search"));
  ASSERT_NE(field, nullptr);
  CHARFORMAT2W format = {};
  format.cbSize = sizeof(format);
  field->TxSendMessage(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format), nullptr);
  const DWORD light = ui::UiGlobals::GetColor(L"title_text");
  EXPECT_EQ(format.crTextColor, RGB((light >> 16) & 0xFF, (light >> 8) & 0xFF, light & 0xFF))
      << "the search field's text is dark's light title text";
}

TEST_F(ThemeSwitchTest, GrayChosenInTheSettingsAfterBlueShowsTheWindowAsAGrayStartDoes) {
  const std::vector<DWORD> gray = ReferencePicture(L"gray.xml");
  OpenIn(L"blue.xml");
  ASSERT_GT(DifferentPixels(Picture(*window_), gray), gray.size() / 4) << "blue and gray differ";
  ShipTheme(L"gray.xml");

  bool listed = false;
  dialog_test::RunScriptedOpener(
      [this]() -> CDialogWnd* { return dynamic_cast<CDialogWnd*>(window_->OpenDialog()); },
      [this] { ChooseOnTitle({L"setting"}); },
      {
          [](CDialogWnd& d) { dialog_test::Click(d, L"combo_theme"); },
          [&listed](CDialogWnd& d) {
            HWND popup = nullptr;
            ui::Control* item = menu_driver::FindVisibleItem(d.GetHWND(), L"gray.xml", &popup);
            listed = item != nullptr;
            if (!item) return;
            menu_driver::ClickMiddle(popup, item);
          },
          [](CDialogWnd& d) {
            EXPECT_EQ(dynamic_cast<ui::Combo*>(d.FindControlByName(L"combo_theme"))->GetText(), L"gray.xml");
            dialog_test::Click(d, L"btn_ok");
          },
      });
  PumpFor(350);
  EXPECT_TRUE(listed) << "the theme list offers gray.xml";
  EXPECT_EQ(StoredTheme(), L"gray.xml");
  EXPECT_EQ(DifferentPixels(Picture(*window_), gray), 0u) << "every colour of the window is gray's";
}

}  // namespace
