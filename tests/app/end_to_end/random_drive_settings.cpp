// The random drive's actions of the settings dialog (the transparency, the theme,
// the folder command; ended with OK, Enter, Cancel, Escape or the caption's close),
// of the main menu's theme level, and of the tray menu (the settings, the hot-key
// overview, the exit); and closes that come while the settings dialog is up (the
// main window closed, a second start).
#include "tests/app/end_to_end/random_drive_settings.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_window/main_wnd.h"
#include "tests/app/end_to_end/random_drive_basics.h"

namespace drive {
namespace settings_drive {
namespace {

// The 700 x 560 settings dialog in client coordinates, its first page "常规"
// shown: the caption takes 40, the page list 164, the page starts 24 right of it
// and 8 below the caption; a heading row is 30 high, a field row 34, a check 28,
// and every field stands right of a 96 wide label. The frame's line is drawn
// over the edge, it moves nothing.
constexpr POINT kThemeCombo = {394, 95};
constexpr int kSliderLeft = 164 + 24 + 96;
constexpr int kSliderWidth = 220;
constexpr int kSliderThumb = 18;
constexpr int kSliderY = 129;
constexpr int kAlphaMin = 128;
constexpr int kAlphaMax = 255;
constexpr POINT kFolderCommand = {480, 363};
// Rows of the main menu (below their separators) and of the tray menu.
constexpr e2e::MenuStep kMainThemes = {14, 3};
constexpr e2e::MenuStep kMainSettings = {16, 3};
constexpr e2e::MenuStep kTraySettings = {1};
constexpr e2e::MenuStep kTrayHotKeys = {0};

// The slider's value for a click (or a drag let go) at client x: the thumb's
// centre stands over the value, so half a thumb at either end means the limits.
int SliderValueAt(int x) {
  const int half = kSliderThumb / 2;
  if (x >= kSliderLeft + kSliderWidth - half) return kAlphaMax;
  if (x <= kSliderLeft + half) return kAlphaMin;
  return static_cast<int>(kAlphaMin + static_cast<double>(x - half - kSliderLeft) * (kAlphaMax - kAlphaMin) /
                                          (kSliderWidth - kSliderThumb));
}

int ThumbCentre(int value) {
  return static_cast<int>(kSliderLeft + (value - kAlphaMin) * (kSliderWidth - kSliderThumb) /
                                            static_cast<double>(kAlphaMax - kAlphaMin)) +
         kSliderThumb / 2;
}

// The colour themes the drive puts beside the program. Each keeps the chosen tag
// clearly bluer than red and every other tag not, as the drive tells the chosen
// tag by that; the last one names no colour and so shows the skin's own.
struct ThemeFile {
  const wchar_t* name;
  const char* text;
  COLORREF tagBackground;  // what the foot of the tag column shows
};
constexpr COLORREF kSkinTagBackground = RGB(0xF7, 0xF9, 0xFB);
const ThemeFile kThemeFiles[] = {
    {L"warm.xml",
     "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Global>\n  <Color name=\"tag_bk\" value=\"#FFFBF3E6\"/>\n"
     "  <Color name=\"bk_main\" value=\"#FFFAF5EC\"/>\n</Global>\n",
     RGB(0xFB, 0xF3, 0xE6)},
    {L"青绿.xml",
     "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Global>\n  <Color name=\"tag_bk\" value=\"#FFEEF6EE\"/>\n"
     "  <Color name=\"tag_hot\" value=\"#FFE4ECE4\"/>\n  <Color name=\"tag_sel\" value=\"#FFC4DAF6\"/>\n"
     "  <Color name=\"strip_bk\" value=\"rgb(240,248,240)\"/>\n</Global>\n",
     RGB(0xEE, 0xF6, 0xEE)},
    // A name far longer than a short field would keep: conf.ini must hold it whole.
    {L"a-theme-with-a-name-longer-than-sixty-three-characters-of-lilac-and-lavender-长名.xml",
     "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Global>\n  <Color name=\"tag_bk\" value=\"#FFF3EEF8\"/>\n</Global>\n",
     RGB(0xF3, 0xEE, 0xF8)},
    {L"plain.xml", "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- the skin's own colours -->\n<Global>\n</Global>\n",
     kSkinTagBackground},
};

std::wstring ThemeFolder(RandomDrive& d) { return d.program().File(L"theme"); }

// The theme files in the order the program lists them: the file system's own,
// which the drive reads the same way.
std::vector<std::wstring> ListedThemes(RandomDrive& d) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found = {};
  HANDLE search = FindFirstFileW((ThemeFolder(d) + L"\\*.xml").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

COLORREF TagBackgroundOf(const std::wstring& theme) {
  for (const ThemeFile& file : kThemeFiles) {
    if (theme == file.name) return file.tagBackground;
  }
  return kSkinTagBackground;
}

// The program reads the theme folder for its menu once a run, when the window
// first uses its menus: the files are written once and the program is started
// again to list them.
bool EnsureThemeFiles(RandomDrive& d, std::string* failure) {
  if (GetFileAttributesW(ThemeFolder(d).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  d.Log("theme files written beside the program");
  CreateDirectoryW(ThemeFolder(d).c_str(), nullptr);
  for (const ThemeFile& file : kThemeFiles) {
    if (!pexo_test::WriteFileBytes(ThemeFolder(d) + L"\\" + file.name, file.text)) {
      *failure = "a theme file could not be written";
      return false;
    }
  }
  return d.Restart(false, failure);
}

// What the screen shows at the foot of the tag column: the theme's tag background.
COLORREF TagFoot(RandomDrive& d) { return e2e::ScreenPixel(e2e::ToScreen(d.main(), kQuietSpot)); }

bool Near(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= 2 && std::abs(GetGValue(a) - GetGValue(b)) <= 2 &&
         std::abs(GetBValue(a) - GetBValue(b)) <= 2;
}

std::string ColourText(COLORREF colour) {
  char text[16];
  std::snprintf(text, sizeof(text), "%02x%02x%02x", GetRValue(colour), GetGValue(colour), GetBValue(colour));
  return text;
}

int ShownAlpha(RandomDrive& d) {
  const auto found = d.conf().find(L"nAlpha");
  return found == d.conf().end() ? kAlphaMax : std::stoi(found->second);
}

// A colour as the screen shows it through the window's transparency: Wine, with
// no compositing manager on the display, lays the layered window's pixels over
// black.
COLORREF ThroughAlpha(COLORREF colour, int alpha) {
  const auto scale = [alpha](int part) { return static_cast<BYTE>((part * alpha + 127) / 255); };
  return RGB(scale(GetRValue(colour)), scale(GetGValue(colour)), scale(GetBValue(colour)));
}

// The window shows the colours of the theme conf.ini names, through the
// transparency it names.
bool ShowsLook(RandomDrive& d, std::string* failure) {
  const COLORREF expected = ThroughAlpha(TagBackgroundOf(d.conf()[L"Theme"]), ShownAlpha(d));
  if (pexo_test::WaitUntil([&] { return Near(TagFoot(d), expected); }, 3000)) return true;
  e2e::SaveScreenPng(GetDesktopWindow(), pexo_test::ExeFolder() + L"\\random_drive_failure.png");
  *failure = "the tag column shows " + ColourText(TagFoot(d)) + " where the theme " + Shown(d.conf()[L"Theme"]) +
             " at alpha " + std::to_string(ShownAlpha(d)) + " has " + ColourText(expected);
  return false;
}

// The settings dialog's blank caption shows white through the transparency.
bool CaptionShows(HWND dialog, int alpha, std::string* failure) {
  const POINT caption = e2e::ToScreen(dialog, {300, 20});
  const COLORREF white = ThroughAlpha(RGB(255, 255, 255), alpha);
  if (pexo_test::WaitUntil([&] { return Near(e2e::ScreenPixel(caption), white); }, 3000)) return true;
  *failure = "the settings dialog's caption shows " + ColourText(e2e::ScreenPixel(caption)) + " where its white at alpha " +
             std::to_string(alpha) + " is " + ColourText(white);
  return false;
}

enum class Opener { kMainMenu, kTray };

// The dialog opened from the tray or the main menu, done once more only when its
// menu or its window never came.
HWND OpenSettings(RandomDrive& d, Opener opener, std::string* failure) {
  HWND dialog = nullptr;
  const bool opened = d.Reach(
      [&](std::string* why) {
        const bool chosen = opener == Opener::kTray ? d.TrayMenu(kTraySettings, why) : d.MainMenu({kMainSettings}, why);
        return chosen && (dialog = d.WaitDialog(L"SettingWnd", why)) != nullptr;
      },
      failure);
  // It opens with the window's transparency.
  if (!opened || !CaptionShows(dialog, ShownAlpha(d), failure)) return nullptr;
  // Keys go to the active window.
  if (!pexo_test::WaitUntil([&] { return GetForegroundWindow() == dialog; }, 2000)) {
    SetForegroundWindow(dialog);
    pexo_test::WaitUntil([&] { return GetForegroundWindow() == dialog; }, 1000);
  }
  return dialog;
}

// What the drive does in the dialog before it is ended; each part left as it is
// when not asked for.
struct SettingsEdit {
  int sliderX = -1;          // a click (or a drag let go) on the slider there
  bool drag = false;
  int themeItem = -1;        // the item of the theme list chosen
  bool setCommand = false;
  std::wstring command;      // the folder command typed or pasted over the old one
};

// A transparency on the slider shows on the dialog at once. The dialog stands
// over the main window, which keeps its own until OK: the look after a cancel
// tells.
bool PreviewShown(const SettingsEdit& edit, HWND dialog, std::string* failure) {
  return edit.sliderX < 0 || CaptionShows(dialog, SliderValueAt(edit.sliderX), failure);
}

enum class SettingsEnd { kOkButton, kEnter, kCancelButton, kEscape, kCloseButton };

std::string Describe(const SettingsEdit& edit, const std::vector<std::wstring>& themes) {
  std::string text;
  if (edit.sliderX >= 0) {
    text += std::string(edit.drag ? " alpha dragged to " : " alpha clicked to ") +
            std::to_string(SliderValueAt(edit.sliderX));
  }
  if (edit.themeItem >= 0) text += " theme " + Shown(themes[static_cast<size_t>(edit.themeItem)]);
  if (edit.setCommand) text += " folder command " + Shown(edit.command);
  return text.empty() ? " nothing changed" : text;
}

std::wstring FolderCommand(RandomDrive& d) {
  const std::wstring number = std::to_wstring(d.actionNumber());
  switch (d.Pick(7)) {
    case 0:
      return L"";
    case 1:
      return L"explorer.exe /e,\"%1\"";
    case 2:
      // Enclosed in quotes as a whole: the file must keep them.
      return L"\"C:\\Program Files\\Files " + number + L"\\files.exe\" \"%1\"";
    case 3:
      // Blanks at either end are part of what the user typed.
      return L" tool" + number + L".exe %1 ";
    case 4:
      return L"文件管理器" + number + L".exe /open \"%1\"";
    default:
      // A long one, pasted: hundreds of characters.
      return L"cmd.exe /c start \"\" \"%1\" & rem " + number + L" " +
             std::wstring(200 + d.Pick(700), d.Pick(2) == 0 ? L'x' : L'长');
  }
}

SettingsEdit PickEdit(RandomDrive& d, size_t themeCount) {
  SettingsEdit edit;
  if (d.Pick(2) == 0) {
    edit.sliderX = kSliderLeft + static_cast<int>(d.Pick(kSliderWidth));
    edit.drag = d.Pick(2) == 0;
  }
  if (themeCount > 0 && d.Pick(3) == 0) edit.themeItem = static_cast<int>(d.Pick(static_cast<uint32_t>(themeCount)));
  if (d.Pick(2) == 0) {
    edit.setCommand = true;
    edit.command = FolderCommand(d);
  }
  return edit;
}

// The theme list dropped down under its field; null when it did not come.
HWND DropThemeList(RandomDrive& d, HWND dialog, std::string* failure) {
  const std::vector<HWND> before = e2e::VisibleWindows(d.pid(), L"ComboWnd");
  e2e::Click(dialog, kThemeCombo, false, 80);
  HWND list = nullptr;
  pexo_test::WaitUntil(
      [&] {
        for (HWND popup : e2e::VisibleWindows(d.pid(), L"ComboWnd")) {
          if (std::find(before.begin(), before.end(), popup) == before.end()) list = popup;
        }
        return list != nullptr;
      },
      3000);
  if (!list) {
    *failure = "the theme list did not drop down";
    return nullptr;
  }
  e2e::WaitSettled(list, 2000);
  return list;
}

bool ChooseTheme(RandomDrive& d, HWND dialog, int item, std::string* failure) {
  HWND list = DropThemeList(d, dialog, failure);
  if (!list) return false;
  RECT rc = {};
  GetWindowRect(list, &rc);
  e2e::ClickScreen({rc.left + 60, rc.top + 2 + 26 * item + 13}, false, 80);
  if (!pexo_test::WaitUntil([&] { return !IsWindowVisible(list); }, 3000)) {
    *failure = "the theme list stayed open";
    return false;
  }
  return true;
}

bool MakeEdit(RandomDrive& d, HWND dialog, const SettingsEdit& edit, std::string* failure) {
  if (edit.sliderX >= 0) {
    const POINT to = e2e::ToScreen(dialog, {edit.sliderX, kSliderY});
    if (edit.drag) {
      // The thumb dragged there, the dialog's preview following it.
      const POINT from = e2e::ToScreen(dialog, {ThumbCentre(ShownAlpha(d)), kSliderY});
      e2e::MoveTo(from);
      Sleep(40);
      real_mouse::SendAt(from, MOUSEEVENTF_LEFTDOWN);
      Sleep(40);
      for (int step = 1; step <= 4; ++step) {
        e2e::MoveTo({from.x + (to.x - from.x) * step / 4, to.y});
        Sleep(30);
      }
      real_mouse::SendAt(to, MOUSEEVENTF_LEFTUP);
      Sleep(80);
    } else {
      e2e::ClickScreen(to, false, 80);
    }
  }
  if (edit.themeItem >= 0 && !ChooseTheme(d, dialog, edit.themeItem, failure)) return false;
  if (edit.setCommand) {
    e2e::Click(dialog, kFolderCommand, false, 80);
    e2e::PressKey('A', {VK_CONTROL});
    if (edit.command.empty()) {
      e2e::PressKey(VK_DELETE);
    } else {
      RandomDrive::Enter(edit.command);
    }
  }
  return true;
}

// The caption's close button of a dialog, in client coordinates.
POINT CloseButton(HWND dialog) {
  RECT rc = {};
  GetClientRect(dialog, &rc);
  return {rc.right - 1 - 6 - 15, 1 + 20};
}

// Waits until the dialog has taken the input sent before: the cursor moved onto
// its close button, which must show its hover colour, then off it again.
bool HoverShows(HWND dialog, std::string* failure) {
  const POINT spot = e2e::ToScreen(dialog, {CloseButton(dialog).x - 11, CloseButton(dialog).y});
  const COLORREF resting = e2e::ScreenPixel(spot);
  e2e::MoveTo(spot);
  const bool shown = pexo_test::WaitUntil([&] { return e2e::ScreenPixel(spot) != resting; }, 10000);
  e2e::MoveTo(e2e::ToScreen(dialog, {300, 20}));
  if (!shown) *failure = "the settings dialog did not take the cursor's move onto its close button within 10 s";
  return shown;
}

bool EndSettings(RandomDrive& d, HWND dialog, SettingsEnd end, std::string* failure) {
  switch (end) {
    case SettingsEnd::kOkButton:
    case SettingsEnd::kCancelButton:
      e2e::Click(dialog, RandomDrive::DialogButton(dialog, end == SettingsEnd::kOkButton));
      break;
    case SettingsEnd::kEnter:
      // Enter confirms from the folder command's field.
      e2e::Click(dialog, kFolderCommand, false, 80);
      e2e::PressKey(VK_END);
      e2e::PressKey(VK_RETURN);
      break;
    case SettingsEnd::kEscape:
      SetForegroundWindow(dialog);
      pexo_test::WaitUntil([&] { return GetForegroundWindow() == dialog; }, 1000);
      e2e::PressKey(VK_ESCAPE);
      break;
    case SettingsEnd::kCloseButton:
      e2e::Click(dialog, CloseButton(dialog));
      break;
  }
  return d.WaitDialogGone(L"SettingWnd", failure);
}

// The model takes what OK stores.
void TakeEdit(RandomDrive& d, const SettingsEdit& edit, const std::vector<std::wstring>& themes) {
  if (edit.sliderX >= 0) d.conf()[L"nAlpha"] = std::to_wstring(SliderValueAt(edit.sliderX));
  if (edit.themeItem >= 0) d.conf()[L"Theme"] = themes[static_cast<size_t>(edit.themeItem)];
  if (edit.setCommand) d.conf()[L"OpenDirCmd"] = edit.command;
}

bool ConfFollows(RandomDrive& d, std::string* failure) {
  if (pexo_test::WaitUntil([&] { return d.ConfMatches(); }, 3000)) return true;
  d.ConfMatches(failure);
  return false;
}

// The other actions judge what the screen shows (the chosen tag's blue, a menu
// level's white), which a transparent window darkens: after trying a
// transparency the user goes back to an opaque window, through the main menu,
// which must show the same transparency on the way.
bool BackToOpaque(RandomDrive& d, std::string* failure) {
  const int alpha = ShownAlpha(d);
  if (alpha == kAlphaMax) return true;
  d.Log("settings: back to opaque from alpha " + std::to_string(alpha));
  HWND dialog = nullptr;
  const bool opened = d.Reach(
      [&](std::string* why) {
        HWND level = d.OpenMainMenu(why);
        if (!level) return false;
        const POINT item = e2e::MenuItemPoint(level, kMainSettings.row, kMainSettings.separators);
        RECT rc = {};
        GetWindowRect(level, &rc);
        const POINT padding = {rc.left + 8, item.y};
        const COLORREF white = ThroughAlpha(RGB(255, 255, 255), alpha);
        if (!pexo_test::WaitUntil([&] { return Near(e2e::ScreenPixel(padding), white); }, 3000)) {
          *why = "the main menu shows " + ColourText(e2e::ScreenPixel(padding)) + " where its white at alpha " +
                 std::to_string(alpha) + " is " + ColourText(white);
          return false;
        }
        return d.FollowMainMenu(level, {kMainSettings}, why, white) &&
               (dialog = d.WaitDialog(L"SettingWnd", why)) != nullptr;
      },
      failure);
  // The dialog opens with the window's transparency.
  if (!opened || !CaptionShows(dialog, alpha, failure)) return false;
  e2e::Click(dialog, {kSliderLeft + kSliderWidth - 2, kSliderY}, false, 80);
  if (!EndSettings(d, dialog, SettingsEnd::kOkButton, failure)) return false;
  d.conf()[L"nAlpha"] = std::to_wstring(kAlphaMax);
  return ConfFollows(d, failure) && ShowsLook(d, failure);
}

// The settings dialog opened, changed and ended; conf.ini must hold what OK
// stored, or what it held when the dialog was cancelled, and the window show the
// theme it names.
bool SettingsDialog(RandomDrive& d, std::string* failure) {
  if (!EnsureThemeFiles(d, failure)) return false;
  const Opener opener = d.Pick(4) == 0 ? Opener::kTray : Opener::kMainMenu;
  const std::vector<std::wstring> themes = ListedThemes(d);
  const SettingsEdit edit = PickEdit(d, themes.size());
  static constexpr SettingsEnd kEnds[] = {SettingsEnd::kOkButton,    SettingsEnd::kOkButton, SettingsEnd::kEnter,
                                          SettingsEnd::kCancelButton, SettingsEnd::kEscape,   SettingsEnd::kCloseButton};
  const SettingsEnd end = kEnds[d.Pick(std::size(kEnds))];
  const bool ok = end == SettingsEnd::kOkButton || end == SettingsEnd::kEnter;
  d.Log(std::string("settings from the ") + (opener == Opener::kTray ? "tray" : "main menu") + ":" +
        Describe(edit, themes) +
        (end == SettingsEnd::kEnter ? ", Enter" : ok ? ", OK" : ", cancelled"));
  HWND dialog = OpenSettings(d, opener, failure);
  if (!dialog || !MakeEdit(d, dialog, edit, failure) || !PreviewShown(edit, dialog, failure) ||
      !EndSettings(d, dialog, end, failure)) {
    return false;
  }
  if (ok) TakeEdit(d, edit, themes);
  if (!ConfFollows(d, failure) || !ShowsLook(d, failure)) return false;
  // The transparency is kept over a restart too.
  if (ok && edit.sliderX >= 0 && d.Pick(3) == 0 && !(d.Restart(false, failure) && ShowsLook(d, failure))) return false;
  return BackToOpaque(d, failure);
}

// A theme chosen from the main menu's "主题" level: conf.ini names it at once and
// the window shows it, after a restart too.
bool ThemeFromMenu(RandomDrive& d, std::string* failure) {
  if (!EnsureThemeFiles(d, failure)) return false;
  const std::vector<std::wstring> themes = ListedThemes(d);
  if (themes.empty()) {
    *failure = "the theme files are not listed";
    return false;
  }
  const size_t item = d.Pick(static_cast<uint32_t>(themes.size()));
  const bool restart = d.Pick(4) == 0;
  d.Log("theme " + Shown(themes[item]) + " from the main menu" + (restart ? ", then a restart" : ""));
  if (!d.Reach([&](std::string* why) { return d.MainMenu({kMainThemes, {static_cast<int>(item)}}, why); }, failure)) {
    return false;
  }
  d.conf()[L"Theme"] = themes[item];
  if (!ConfFollows(d, failure) || !ShowsLook(d, failure)) return false;
  return !restart || (d.Restart(false, failure) && ShowsLook(d, failure));
}

// The tray menu's "快捷键一览": the overview comes up and its close button ends it.
// Now and then the main window is closed while the overview is up: the program
// ends with 0.
bool TrayHotKeys(RandomDrive& d, std::string* failure) {
  const bool close = d.Pick(3) == 0;
  d.Log(std::string("tray: the hot-key overview opened, then ") + (close ? "the main window closed" : "closed"));
  HWND overview = nullptr;
  if (!d.Reach(
          [&](std::string* why) {
            return d.TrayMenu(kTrayHotKeys, why) && (overview = d.WaitDialog(L"HotKeyWnd", why)) != nullptr;
          },
          failure)) {
    return false;
  }
  if (close) {
    PostMessageW(d.main(), WM_CLOSE, 0, 0);
    return d.Ended(failure) && d.Start(failure) && d.Check(failure);
  }
  RECT rc = {};
  GetClientRect(overview, &rc);
  e2e::Click(overview, {rc.right - 1 - 4 - 15, 1 + 18});
  return d.WaitDialogGone(L"HotKeyWnd", failure) && ConfFollows(d, failure);
}

// The tray menu's "退出": the program ends with 0 and starts again as it was.
bool TrayExit(RandomDrive& d, std::string* failure) {
  d.Log("tray: exit, then a start");
  // Clicked, 退出 must end the program.
  if (!d.Reach([&](std::string* why) { return d.TrayMenu({-1}, why); }, failure)) return false;
  return d.Ended(failure) && d.Start(failure) && d.Check(failure) && ShowsLook(d, failure);
}

// The settings dialog is up (maybe changed) when the main window is asked to
// close: the dialog ends as cancelled, the program ends with 0 and conf.ini holds
// what it held before.
bool SettingsThenClose(RandomDrive& d, std::string* failure) {
  if (!EnsureThemeFiles(d, failure)) return false;
  const std::vector<std::wstring> themes = ListedThemes(d);
  const SettingsEdit edit = PickEdit(d, themes.size());
  // Now and then the theme list is left dropped down over the dialog: a popup
  // of the dialog's own that the close must end with it.
  const bool dropped = !themes.empty() && d.Pick(2) == 0;
  d.Log("settings:" + Describe(edit, themes) + (dropped ? ", the theme list dropped down" : "") +
        ", then the main window closed");
  HWND dialog = OpenSettings(d, Opener::kMainMenu, failure);
  if (!dialog || !MakeEdit(d, dialog, edit, failure) || (dropped && !DropThemeList(d, dialog, failure))) return false;
  // A close posted while keys or clicks are still queued is taken before them:
  // the dialog must have taken them first. The dropped list shows that it took
  // the click that dropped it; else the cursor's move onto the dialog's close
  // button must show its hover colour.
  if (!dropped && !HoverShows(dialog, failure)) return false;
  PostMessageW(d.main(), WM_CLOSE, 0, 0);
  return d.Ended(failure) && d.Start(failure) && d.Check(failure) && ShowsLook(d, failure);
}

// The tray icon right-clicked while the settings dialog is up: the dialog is
// brought forward and no menu opens over it. The message is sent, so that it has
// been handled when the call returns; a menu would still be running then, and
// the call would time out.
bool TrayUnderDialog(RandomDrive& d, HWND dialog, std::string* failure) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(d.main(), CMainWnd::kTrayMessage, 0, WM_RBUTTONDOWN, SMTO_NORMAL, 5000, &result)) {
    e2e::DismissMenus(d.pid());
    *failure = "the tray's right click under the settings dialog did not return";
    return false;
  }
  if (!e2e::VisibleWindows(d.pid(), L"MenuWnd").empty() || !IsWindowVisible(dialog)) {
    *failure = "the tray's right click under the settings dialog opened a menu or closed the dialog";
    return false;
  }
  return true;
}

// A second start while the settings dialog is up: it ends, the first run shows
// its window and keeps the dialog, which is then ended as usual.
bool SettingsOverSecondStart(RandomDrive& d, std::string* failure) {
  if (!EnsureThemeFiles(d, failure)) return false;
  const std::vector<std::wstring> themes = ListedThemes(d);
  const SettingsEdit edit = PickEdit(d, themes.size());
  const bool ok = d.Pick(2) == 0;
  const bool tray = d.Pick(2) == 0;
  d.Log("settings:" + Describe(edit, themes) + ", a second start" + (tray ? ", the tray icon right-clicked" : "") +
        ", then " + (ok ? "OK" : "cancelled"));
  HWND dialog = OpenSettings(d, Opener::kMainMenu, failure);
  if (!dialog || !MakeEdit(d, dialog, edit, failure) || !SecondStart(d, failure)) return false;
  if (!d.program().Running() || !IsWindowVisible(d.main())) {
    *failure = "the first run did not stay and show";
    return false;
  }
  if (!IsWindow(dialog) || !IsWindowVisible(dialog)) {
    *failure = "the second start closed the settings dialog";
    return false;
  }
  if (tray && !TrayUnderDialog(d, dialog, failure)) return false;
  if (!EndSettings(d, dialog, ok ? SettingsEnd::kOkButton : SettingsEnd::kCancelButton, failure)) return false;
  if (ok) TakeEdit(d, edit, themes);
  return ConfFollows(d, failure) && ShowsLook(d, failure) && BackToOpaque(d, failure);
}

}  // namespace
}  // namespace settings_drive

std::vector<Action> SettingsActions() {
  namespace s = settings_drive;
  std::vector<Action> actions;
  actions.push_back({"settings dialog", 6, s::SettingsDialog});
  actions.push_back({"theme from the menu", 3, s::ThemeFromMenu});
  actions.push_back({"tray hot keys", 1, s::TrayHotKeys});
  actions.push_back({"tray exit", 1, s::TrayExit});
  actions.push_back({"settings then close", 1, s::SettingsThenClose});
  actions.push_back({"settings over a second start", 1, s::SettingsOverSecondStart});
  return actions;
}

}  // namespace drive
