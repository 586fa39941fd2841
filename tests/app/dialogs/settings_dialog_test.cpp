// The settings dialog opened from the real main window's menu: values changed
// with clicks and typing reach conf.ini and take effect on the running window
// (alpha, theme colour, date line, title buttons, tag list width, mouse hook,
// chords); cancel writes nothing; a theme stored without ".xml" or in other
// letter case is found, no choice keeps the stored one; empty or non-numeric
// number fields keep their values; the tag width stays usable.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/controls/app_control_factory.h"
#include "app/controls/hot_key_edit.h"
#include "app/desktop/mouse_hook.h"
#include "app/dialogs/setting_wnd.h"
#include "app/launching/launch_thread.h"
#include "app/main_window/main_wnd.h"
#include "data/hot_key_table.h"
#include "data/icon_cache.h"
#include "data/link.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "data/theme_loader.h"
#include "tests/app/support/dialog_test_support.h"
#include "tests/app/support/menu_driver.h"
#include "tests/app/support/no_file_associations.h"
#include "tests/app/support/own_probe.h"
#include "tests/support/pexo_program.h"
#include "tests/support/test_support.h"
#include "ui/base/scoped_handles.h"
#include "ui/controls/combo.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/controls/option.h"
#include "ui/controls/rich_edit.h"
#include "ui/controls/slider.h"
#include "ui/core/tab_box.h"

namespace {

using dialog_test::Click;
using dialog_test::ClickControl;
using dialog_test::Type;
using window_test::PumpFor;
using Steps = std::deque<std::function<void(CDialogWnd&)>>;

constexpr DWORD kProbeTitleColor = 0xFF7A3E9Du;
const uint16_t kOldMainChord = MakeHotKeyCode(kHotKeyCtrl | kHotKeyAlt, VK_F9);
const uint16_t kNewMainChord = MakeHotKeyCode(kHotKeyCtrl | kHotKeyShift, VK_F11);

// Page indexes of the dialog's page list.
enum Page { kGeneral, kAppearance, kDocking, kMouse, kHotKeys, kAbout, kPageCount };
const wchar_t* const kPageNames[kPageCount] = {L"general", L"appearance", L"docking", L"mouse", L"hotkeys", L"about"};

std::wstring ThemeFolder() { return pexo_test::ExeFolder() + L"\\theme\\"; }

void WriteTheme(const std::wstring& name, DWORD titleColor) {
  char text[160] = {};
  const int length = std::snprintf(text, sizeof(text),
                                   "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Global>\n  <Color name=\"title_bk\" "
                                   "value=\"#%08X\"/>\n</Global>\n",
                                   static_cast<unsigned>(titleColor));
  HANDLE file = CreateFileW((ThemeFolder() + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr);
  CloseHandle(file);
}

template <typename T>
T* Get(CDialogWnd& d, const wchar_t* name) {
  return dynamic_cast<T*>(d.FindControlByName(name));
}

// Shows a page the way the user does: a click on its entry in the page list.
void ShowPage(CDialogWnd& d, int page) {
  auto* pages = Get<ui::ListBox>(d, L"list_class");
  ASSERT_NE(pages, nullptr);
  ClickControl(d, pages->GetItemAt(static_cast<size_t>(page)));
}

// Gives the field the focus with its text selected, as Tab does; typing replaces it.
void Focus(CDialogWnd& d, const wchar_t* name) {
  auto* edit = Get<ui::RichEdit>(d, name);
  ASSERT_NE(edit, nullptr);
  edit->SetFocus();
  edit->SetSelAll();
}

std::wstring Text(ui::Control* control) {
  auto* label = dynamic_cast<ui::LabelTemplate<ui::Control>*>(control);
  return label ? label->GetText() : L"<no label>";
}

bool IsChecked(CDialogWnd& d, const wchar_t* name) {
  auto* box = Get<ui::CheckBoxTemplate<ui::Control>>(d, name);
  return box && box->IsSelected();
}

// The settings as the next start reads them from conf.ini.
Settings StoredSettings() {
  Settings stored;
  stored.Load();
  return stored;
}

// The text of a message box of this thread that is up, answered with OK; empty
// when none is up yet, and this step then runs again at the next tick, at most
// `tries` times.
void AwaitBoxText(std::wstring& text, int tries) {
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND box, LPARAM found) -> BOOL {
        wchar_t name[16] = {};
        GetClassNameW(box, name, 16);
        if (std::wstring(name) != L"#32770") return TRUE;
        EnumChildWindows(
            box,
            [](HWND child, LPARAM into) -> BOOL {
              wchar_t line[256] = {};
              GetWindowTextW(child, line, 256);
              if (std::wcsstr(line, L".txt")) *reinterpret_cast<std::wstring*>(into) = line;
              return TRUE;
            },
            found);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&text));
  if (text.empty() && tries > 0) {
    dialog_test::CurrentScript()->steps.push_front([&text, tries](CDialogWnd&) { AwaitBoxText(text, tries - 1); });
  }
}

class SettingsDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ui::RegisterStockControls();
    ASSERT_TRUE(ui::UiGlobals::OpenSkinZip(201, L"SKIN", PEXO_SKIN_PASSWORD));
    ui::UiGlobals::Startup(L"skin\\", CreateAppControl, false, L"gray", L"lang\\zh_CN");
  }
  static void TearDownTestSuite() { ui::UiGlobals::Shutdown(); }

  void SetUp() override {
    ASSERT_TRUE(ole_.succeeded());
    const std::wstring db = pexo_test::ExeFolder() + L"\\db\\";
    CreateDirectoryW(db.c_str(), nullptr);
    DeleteFileW((db + L"link.db").c_str());
    DeleteFileW((db + L"icon.db").c_str());
    CreateDirectoryW(ThemeFolder().c_str(), nullptr);
    WriteTheme(L"Settings_Probe.xml", kProbeTitleColor);
    Settings& settings = GetSettings();
    settings = Settings();
    DeleteFileW(settings.FilePath().c_str());
    settings.nWidth = 388;
    settings.nHeight = 560;
    settings.bShowDate = false;
    settings.bAutoDock = false;
    settings.bHideNotify = true;
    settings.bShowBtnSearch = true;
    settings.nMainHotKey = kOldMainChord;
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    store.Close();
    GetHotKeyTable().UnregisterAll();
  }

  void TearDown() override {
    CloseMain();
    RemoveMouseHook(GetSettings());
    // The probe's colour leaves the process-wide colour table again.
    WriteTheme(L"Settings_Restore.xml", 0xFFFFFFFFu);
    LoadTheme(L"Settings_Restore.xml");
    DeleteFileW((ThemeFolder() + L"Settings_Probe.xml").c_str());
    DeleteFileW((ThemeFolder() + L"Settings_Restore.xml").c_str());
  }

  void OpenMain() {
    window_ = new CMainWnd(GetModuleHandleW(nullptr));
    hwnd_ = window_->Create(nullptr, L"Pexo", WS_POPUP, WS_EX_TOOLWINDOW, false);
    ASSERT_NE(hwnd_, nullptr);
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    SetForegroundWindow(hwnd_);
    PumpFor(200);
  }
  void CloseMain() {
    if (window_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    window_ = nullptr;
    PumpFor(50);
    GetLinkStore().Close();
    GetIconCache().Close();
  }

  ui::Control* Find(const wchar_t* name) { return window_->FindControlByName(name); }
  POINT TitlePoint() {
    const RECT rc = Find(L"titlebox")->GetPos();
    return POINT{(rc.left + rc.right) / 2, rc.top + 4};
  }
  DWORD TitleColor() {
    window_test::PaintNow(hwnd_);
    const POINT at = TitlePoint();
    return window_test::PixelAt(window_->GetRenderContext(), at.x, at.y + 2);
  }

  // Chooses "setting" in the title box's menu and runs the steps in the dialog
  // it opens. False when the dialog never appeared.
  bool SettingsFromMenu(Steps steps) {
    bool opened = false;
    dialog_test::RunScriptedOpener(
        [this, &opened]() -> CDialogWnd* {
          auto* dialog = dynamic_cast<CDialogWnd*>(window_->OpenDialog());
          opened = opened || dialog != nullptr;
          return dialog;
        },
        [this] {
          // Another program on the shared display may take the foreground, which
          // closes the menu: the visit is then made once more.
          menu_driver::ChooseWithRetry(hwnd_, TitlePoint(), {L"setting"}, [this](bool retry) {
            SetForegroundWindow(hwnd_);
            PumpFor(retry ? 200 : 50);
          });
        },
        std::move(steps));
    PumpFor(350);  // fades end
    return opened;
  }
  // Runs the dialog directly over the main window (no menu) with the steps.
  UINT RunDialog(Steps steps) {
    auto* dialog = new CSettingWnd;
    const UINT result = dialog_test::RunScripted(*dialog, hwnd_, std::move(steps));
    if (result != CDialogWnd::kNotCreated) delete dialog;
    return result;
  }

  ui::ScopedOleInit ole_;
  CMainWnd* window_ = nullptr;
  HWND hwnd_ = nullptr;
};

TEST_F(SettingsDialogTest, EveryPageIsPicturedForTheDocumentation) {
  // The picture shows the stock theme chosen.
  ASSERT_TRUE(CopyFileW(pexo_test::DataFile(L"../../theme/gray.xml").c_str(), (ThemeFolder() + L"gray.xml").c_str(),
                        FALSE));
  GetSettings().Theme = L"gray";
  OpenMain();
  const std::wstring pictures = pexo_test::PictureFolder();
  Steps steps;
  for (int page = 0; page < kPageCount; ++page) {
    steps.push_back([page](CDialogWnd& d) { ShowPage(d, page); });
    // The page list's highlight fades from the item left to the one clicked: the
    // picture waits for the fades to end (a step comes every 60 ms).
    for (int wait = 0; wait < 6; ++wait) steps.push_back([](CDialogWnd&) {});
    steps.push_back([page, pictures](CDialogWnd& d) {
      if (page == kGeneral) EXPECT_EQ(Get<ui::Combo>(d, L"combo_theme")->GetText(), L"gray.xml");
      EXPECT_EQ(Get<ui::TabBox>(d, L"TabSet")->GetCurSel(), page) << "the page list shows its page";
      window_test::PaintNow(d.GetHWND());
      EXPECT_TRUE(window_test::SaveWindowPng(d, pictures + L"settings_" + kPageNames[page] + L".png"));
      if (page == kGeneral) EXPECT_TRUE(window_test::SaveWindowPng(d, pictures + L"settings.png"));
    });
  }
  steps.push_back([](CDialogWnd& d) { Click(d, L"btn_cancel"); });
  EXPECT_EQ(RunDialog(std::move(steps)), CDialogWnd::kResultCancel);
}

TEST_F(SettingsDialogTest, OkFromTheMainMenuStoresEveryChangeAndAppliesItToTheRunningWindow) {
  Settings& settings = GetSettings();
  settings.Theme = L"settings_probe";  // stored without ".xml", in other letter case
  settings.TagAlign = L"center";
  settings.OpenDirCmd = L"";
  OpenMain();
  const DWORD titleBefore = TitleColor();
  ASSERT_NE(titleBefore, kProbeTitleColor);
  ASSERT_EQ(window_->GetWindowAlpha(), 255);
  ASSERT_EQ(settings.hMouseHook, nullptr);
  int alpha = 0;

  ASSERT_TRUE(SettingsFromMenu(Steps{
      [](CDialogWnd& d) {
        EXPECT_EQ(Get<ui::Combo>(d, L"combo_theme")->GetText(), L"Settings_Probe.xml")
            << "the stored theme is chosen in the list";
        EXPECT_EQ(Get<ui::RichEdit>(d, L"edit_groupwidth")->GetText(), L"72");
        EXPECT_TRUE(Get<ui::OptionTemplate<ui::Control>>(d, L"op_tag_center")->IsSelected());
        EXPECT_EQ(Text(Get<ui::Control>(d, L"label_alpha")), L"透明度(255)");
        Click(d, L"slider_alpha");
      },
      [&alpha](CDialogWnd& d) {
        alpha = static_cast<int>(Get<ui::Slider>(d, L"slider_alpha")->GetValue());
        EXPECT_GT(alpha, 128);
        EXPECT_LT(alpha, 255);
        EXPECT_EQ(Text(Get<ui::Control>(d, L"label_alpha")), AlphaCaption(alpha));
        EXPECT_EQ(d.GetWindowAlpha(), alpha) << "previewed on the dialog";
        Focus(d, L"edit_dircmd");
      },
      [](CDialogWnd& d) { Type(d, L"资源管理器.exe /e,\"%1\""); },
      [](CDialogWnd& d) { ShowPage(d, kAppearance); },
      [](CDialogWnd& d) { Click(d, L"setting_showdate"); },
      [](CDialogWnd& d) { Click(d, L"setting_showbtn_search"); },
      [](CDialogWnd& d) { Click(d, L"op_tag_left"); },
      [](CDialogWnd& d) { Focus(d, L"edit_groupwidth"); },
      [](CDialogWnd& d) { dialog_test::Key(d, VK_DELETE); },  // emptied: keeps its value
      [](CDialogWnd& d) { Focus(d, L"edit_tagwidth"); },
      [](CDialogWnd& d) { Type(d, L"3"); },  // too narrow: raised to the least usable width
      [](CDialogWnd& d) { ShowPage(d, kDocking); },
      [](CDialogWnd& d) { Focus(d, L"setting_dockdelay"); },
      [](CDialogWnd& d) { Type(d, L"250"); },
      [](CDialogWnd& d) { ShowPage(d, kMouse); },
      [](CDialogWnd& d) { Click(d, L"setting_mbutton_main"); },
      [](CDialogWnd& d) {
        EXPECT_TRUE(IsChecked(d, L"setting_mbutton_main"));
        ShowPage(d, kHotKeys);
      },
      [](CDialogWnd& d) {
        // The chord as the field shows a stored one; typing chords needs the
        // real keyboard state.
        ui::SetHotKeyEditCode(Get<ui::HotKeyEdit>(d, L"setting_hotkey"), kNewMainChord);
        Focus(d, L"setting_edit_searchcount");
      },
      [](CDialogWnd& d) { Type(d, L"12"); },
      [](CDialogWnd& d) {
        EXPECT_EQ(GetSettings().nSearchCount, 0) << "nothing is stored before OK";
        Click(d, L"btn_ok");
      },
  }));

  // conf.ini, as the next start reads it.
  const Settings stored = StoredSettings();
  EXPECT_EQ(stored.nAlpha, alpha);
  EXPECT_EQ(stored.Theme, L"Settings_Probe.xml");
  EXPECT_EQ(stored.OpenDirCmd, L"资源管理器.exe /e,\"%1\"");
  EXPECT_TRUE(stored.bShowDate);
  EXPECT_FALSE(stored.bShowBtnSearch);
  EXPECT_EQ(stored.TagAlign, L"left");
  EXPECT_EQ(stored.nGroupWidth, 72) << "an emptied field keeps its value";
  EXPECT_EQ(stored.nTagWidth, CSettingWnd::kMinTagWidth);
  EXPECT_EQ(stored.nDockDelay, 250);
  EXPECT_TRUE(stored.bMButtonMain);
  EXPECT_EQ(stored.nMainHotKey, kNewMainChord);
  EXPECT_EQ(stored.nSearchCount, 12);
  EXPECT_TRUE(stored.bTopMost) << "untouched keys keep their values";

  // The running window.
  EXPECT_EQ(window_->GetWindowAlpha(), alpha);
  EXPECT_EQ(TitleColor(), kProbeTitleColor) << "the chosen theme's colours";
  EXPECT_FALSE(Find(L"btn_search")->IsVisible());
  EXPECT_FALSE(Text(Find(L"date")).empty()) << "the date line is shown";
  EXPECT_EQ(Find(L"list_minor_group")->GetFixedWidth(), CSettingWnd::kMinTagWidth);
  EXPECT_NE(GetSettings().hMouseHook, nullptr) << "the middle button needs the mouse hook";
  // The old chord is free again: this thread can take it.
  EXPECT_TRUE(RegisterHotKey(nullptr, 0x120, MOD_CONTROL | MOD_ALT, VK_F9));
  UnregisterHotKey(nullptr, 0x120);
  if (!pexo_test::RunningUnderWine()) {
    EXPECT_FALSE(RegisterHotKey(nullptr, 0x121, MOD_CONTROL | MOD_SHIFT, VK_F11)) << "the new chord is taken";
  }
  EXPECT_EQ(window_->OpenDialog(), nullptr);

  // Switching the middle button off again removes the hook.
  ASSERT_TRUE(SettingsFromMenu(Steps{
      [](CDialogWnd& d) { ShowPage(d, kMouse); },
      [](CDialogWnd& d) { Click(d, L"setting_mbutton_main"); },
      [](CDialogWnd& d) { Click(d, L"btn_ok"); },
  }));
  EXPECT_EQ(GetSettings().hMouseHook, nullptr);
  EXPECT_FALSE(StoredSettings().bMButtonMain);
}

// A folder command of 300 characters and a theme of a long file name are read
// whole at the start, stored whole by OK, read whole again by the next start, and
// a folder link runs the whole command.
TEST_F(SettingsDialogTest, LongFolderCommandAndThemeSurviveOkAndARestartAndTheCommandRunsWhole) {
  std::wstring arguments = L"/marker-long-command";
  while (arguments.size() < 260) arguments += L" /part" + std::to_wstring(arguments.size());
  const std::wstring command = L"\"" + pexo_test::ProbePath() + L"\" " + arguments + L" \"%1\"";
  const std::wstring theme = L"Settings_Probe_" + std::wstring(90, L'长') + L".xml";
  WriteTheme(theme, kProbeTitleColor);
  struct ThemeFile {
    std::wstring path;
    ~ThemeFile() { DeleteFileW(path.c_str()); }
  } themeFile{ThemeFolder() + theme};
  {
    Settings written = GetSettings();
    written.OpenDirCmd = command;
    written.Theme = theme;
    ASSERT_TRUE(written.Save());
  }
  // The start reads the file.
  GetSettings().Load();
  ASSERT_GE(GetSettings().OpenDirCmd.size(), 300u);
  ASSERT_EQ(GetSettings().OpenDirCmd, command);
  ASSERT_EQ(GetSettings().Theme, theme);
  OpenMain();
  std::wstring shownCommand;
  ASSERT_TRUE(SettingsFromMenu(Steps{
      [&](CDialogWnd& d) {
        shownCommand = Get<ui::RichEdit>(d, L"edit_dircmd")->GetText();
        Click(d, L"btn_ok");
      },
  }));
  EXPECT_EQ(shownCommand, command) << "the dialog shows the command cut";
  CloseMain();
  // The next start.
  const Settings stored = StoredSettings();
  EXPECT_EQ(stored.OpenDirCmd, command);
  EXPECT_EQ(stored.Theme, theme);
  GetSettings().Load();

  const std::wstring log = pexo_test::ProbeLog();
  DeleteFileW(log.c_str());  // a line of an earlier run must not answer for this one
  Link folder;
  folder.NAME = L"文件夹";
  folder.TYPE = kLinkFolder;
  folder.PATH = pexo_test::ExeFolder();
  ASSERT_TRUE(StartLinkThread(folder, false));
  std::string expected(arguments.begin(), arguments.end());
  EXPECT_TRUE(pexo_test::WaitUntil(
      [&] { return pexo_test::ReadFileBytes(log).find(expected + " \"") != std::string::npos; }, 10000))
      << "the folder command did not run whole";
}

TEST_F(SettingsDialogTest, CancelAfterChangesLeavesTheSettingsTheFileAndTheWindowAlone) {
  // The window itself saves its placement now and then (timer 3), so the file is
  // there from the start and its values are what must stay.
  ASSERT_TRUE(GetSettings().Save());
  OpenMain();
  ASSERT_TRUE(SettingsFromMenu(Steps{
      [](CDialogWnd& d) { Click(d, L"slider_alpha"); },
      [](CDialogWnd& d) {
        EXPECT_LT(d.GetWindowAlpha(), 255);
        ShowPage(d, kAppearance);
      },
      [](CDialogWnd& d) { Click(d, L"setting_showdate"); },
      [](CDialogWnd& d) { Focus(d, L"edit_tagwidth"); },
      [](CDialogWnd& d) { Type(d, L"120"); },
      [](CDialogWnd& d) { Click(d, L"btn_cancel"); },
  }));
  const Settings stored = StoredSettings();
  EXPECT_EQ(stored.nAlpha, 255) << "cancel writes nothing";
  EXPECT_FALSE(stored.bShowDate);
  EXPECT_EQ(stored.nTagWidth, 72);
  EXPECT_EQ(GetSettings().nAlpha, 255);
  EXPECT_FALSE(GetSettings().bShowDate);
  EXPECT_EQ(GetSettings().nTagWidth, 72);
  EXPECT_EQ(window_->GetWindowAlpha(), 255) << "the preview stays on the dialog";
  EXPECT_TRUE(Text(Find(L"date")).empty());
}

TEST_F(SettingsDialogTest, AGroupWidthOfZeroIsRefusedLikeEmptyTextAndTheGroupsKeepTheirWidth) {
  OpenMain();
  // The width the first group is shown with.
  auto shownWidth = [this] {
    window_test::PaintNow(hwnd_);
    ui::Control* group = window_->GroupList()->GetItemAt(0);
    const RECT rc = group ? group->GetPos() : RECT{};
    return rc.right - rc.left;
  };
  const int widthBefore = shownWidth();
  ASSERT_GT(widthBefore, 0);
  ASSERT_TRUE(SettingsFromMenu(Steps{
      [](CDialogWnd& d) { ShowPage(d, kAppearance); },
      [](CDialogWnd& d) { Focus(d, L"edit_groupwidth"); },
      [](CDialogWnd& d) { Type(d, L"0"); },
      [](CDialogWnd& d) {
        EXPECT_EQ(Get<ui::RichEdit>(d, L"edit_groupwidth")->GetText(), L"0");
        Click(d, L"btn_ok");
      },
  }));
  EXPECT_EQ(StoredSettings().nGroupWidth, 72) << "the width in use is kept";
  EXPECT_EQ(GetSettings().nGroupWidth, 72);
  EXPECT_EQ(shownWidth(), widthBefore) << "no group of zero width";
}

TEST_F(SettingsDialogTest, WithNoThemeChosenOkKeepsTheStoredThemeAndOddFieldsKeepTheirValues) {
  Settings& settings = GetSettings();
  settings.Theme = L"没有这个主题";
  settings.TagAlign = L"middle";
  settings.nGroupWidth = 80;
  settings.nActiveGroupDelay = 300;
  OpenMain();
  EXPECT_EQ(RunDialog(Steps{
                [](CDialogWnd& d) {
                  EXPECT_EQ(Get<ui::Combo>(d, L"combo_theme")->GetCurSel(), -1) << "no file holds that theme";
                  EXPECT_TRUE(Get<ui::OptionTemplate<ui::Control>>(d, L"op_tag_center")->IsSelected())
                      << "an unknown alignment shows as centred";
                  // Text a number field cannot take from the keyboard, as a
                  // damaged file or another program could leave it.
                  Get<ui::RichEdit>(d, L"edit_groupwidth")->SetText(L"12px");
                  Get<ui::RichEdit>(d, L"setting_enteractive_group_delay")->SetText(L"");
                  Get<ui::RichEdit>(d, L"edit_tagwidth")->SetText(L"-2");
                  Click(d, L"btn_ok");
                },
            }),
            CDialogWnd::kResultOk);
  const Settings stored = StoredSettings();
  EXPECT_EQ(stored.Theme, L"没有这个主题") << "the theme in use is not lost";
  EXPECT_EQ(stored.TagAlign, L"center");
  EXPECT_EQ(stored.nGroupWidth, 80);
  EXPECT_EQ(stored.nActiveGroupDelay, 300);
  EXPECT_EQ(stored.nTagWidth, 72) << "never a negative width (the layout's stretch and auto marks)";
}

TEST_F(SettingsDialogTest, AThemePickedFromTheDropDownListIsStoredAndRepaintsTheWindow) {
  GetSettings().Theme = L"不存在";
  OpenMain();
  const DWORD before = TitleColor();
  bool listed = false;
  EXPECT_EQ(RunDialog(Steps{
                [](CDialogWnd& d) {
                  EXPECT_EQ(Get<ui::Combo>(d, L"combo_theme")->GetText(), L"") << "no file holds the stored theme";
                  Click(d, L"combo_theme");
                },
                [&listed](CDialogWnd& d) {
                  HWND popup = nullptr;
                  ui::Control* item = menu_driver::FindVisibleItem(d.GetHWND(), L"Settings_Probe.xml", &popup);
                  listed = item != nullptr;
                  if (!item) return;
                  menu_driver::ClickMiddle(popup, item);
                },
                [](CDialogWnd& d) {
                  EXPECT_EQ(Get<ui::Combo>(d, L"combo_theme")->GetText(), L"Settings_Probe.xml");
                  Click(d, L"btn_ok");
                },
            }),
            CDialogWnd::kResultOk);
  EXPECT_TRUE(listed) << "the drop-down list shows the theme files";
  EXPECT_EQ(StoredSettings().Theme, L"Settings_Probe.xml");
  EXPECT_EQ(before, TitleColor()) << "the dialog alone applies nothing";
  window_->ApplySettings(GetSettings().bTagRight);
  EXPECT_EQ(TitleColor(), kProbeTitleColor);
}

TEST_F(SettingsDialogTest, ASettingsFileThatCannotBeWrittenIsReportedAndTheValuesStillApply) {
  OpenMain();
  ASSERT_TRUE(GetSettings().Save());
  const std::wstring file = GetSettings().FilePath();
  ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
  int boxes = 0;
  const UINT result = RunDialog(Steps{
      [](CDialogWnd& d) { ShowPage(d, kAppearance); },
      [](CDialogWnd& d) { Click(d, L"setting_showdate"); },
      [](CDialogWnd& d) { Click(d, L"btn_ok"); },
      [&boxes](CDialogWnd&) { boxes += dialog_test::AnswerThreadDialogBoxes(); },
  });
  // The box may still be up when the dialog has gone: answer it now.
  window_test::PumpUntil([&] { return (boxes += dialog_test::AnswerThreadDialogBoxes()) > 0; }, 2000);
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(result, CDialogWnd::kResultOk);
  EXPECT_GT(boxes, 0) << "the failed save is reported";
  EXPECT_TRUE(GetSettings().bShowDate) << "in effect for this run";
  EXPECT_FALSE(StoredSettings().bShowDate) << "the file is as it was";
}

TEST_F(SettingsDialogTest, HelpOrChangeRecordSaysWhetherItsFileIsMissingOrNoProgramOpensItAndTheDialogStays) {
  const std::wstring readme = pexo_test::ExeFolder() + L"\\README.txt";
  const std::wstring changes = pexo_test::ExeFolder() + L"\\CHANGES.txt";
  DeleteFileW(readme.c_str());
  DeleteFileW(changes.c_str());
  OpenMain();
  // Each click's box text, in turn: both files missing, then both there with no
  // program for .txt files.
  std::wstring texts[4];
  bool stillOpen = false;
  std::optional<launcher_test::NoFileAssociations> none;
  RunDialog(Steps{
      [](CDialogWnd& d) { ShowPage(d, kAbout); },
      [](CDialogWnd& d) {
        EXPECT_EQ(Text(d.FindControlByName(L"setting_version")), L"v1.8.5");
        Click(d, L"setting_help");
      },
      [&](CDialogWnd&) { AwaitBoxText(texts[0], 40); },
      [](CDialogWnd& d) { Click(d, L"setting_update"); },
      [&](CDialogWnd&) { AwaitBoxText(texts[1], 40); },
      [&](CDialogWnd& d) {
        EXPECT_TRUE(launcher_test::WriteEmptyFile(readme));
        EXPECT_TRUE(launcher_test::WriteEmptyFile(changes));
        EXPECT_TRUE(none.emplace().active());
        Click(d, L"setting_help");
      },
      [&](CDialogWnd&) { AwaitBoxText(texts[2], 40); },
      [](CDialogWnd& d) { Click(d, L"setting_update"); },
      [&](CDialogWnd&) { AwaitBoxText(texts[3], 40); },
      [&](CDialogWnd& d) { stillOpen = IsWindow(d.GetHWND()) != FALSE; },
      [](CDialogWnd& d) { Click(d, L"btn_cancel"); },
  });
  none.reset();
  DeleteFileW(readme.c_str());
  DeleteFileW(changes.c_str());
  EXPECT_EQ(texts[0], L"找不到帮助文件 README.txt");
  EXPECT_EQ(texts[1], L"找不到更新记录 CHANGES.txt");
  EXPECT_EQ(texts[2], L"无法打开帮助文件 README.txt");
  EXPECT_EQ(texts[3], L"无法打开更新记录 CHANGES.txt");
  EXPECT_TRUE(stillOpen);
}

TEST_F(SettingsDialogTest, EnterInATextFieldConfirmsAndEscCancels) {
  OpenMain();
  EXPECT_EQ(RunDialog(Steps{
                [](CDialogWnd& d) { ShowPage(d, kDocking); },
                [](CDialogWnd& d) { Focus(d, L"setting_dockdelay"); },
                [](CDialogWnd& d) { Type(d, L"400"); },
                [](CDialogWnd& d) { dialog_test::Key(d, VK_ESCAPE); },
            }),
            CDialogWnd::kResultCancel);
  EXPECT_EQ(GetSettings().nDockDelay, 0);
  EXPECT_EQ(RunDialog(Steps{
                [](CDialogWnd& d) { ShowPage(d, kDocking); },
                [](CDialogWnd& d) { Focus(d, L"setting_dockdelay"); },
                [](CDialogWnd& d) { Type(d, L"400\r"); },
            }),
            CDialogWnd::kResultOk);
  EXPECT_EQ(StoredSettings().nDockDelay, 400);
}

TEST_F(SettingsDialogTest, OnlyTheMainChordFieldTakesAMouseSideButton) {
  OpenMain();
  uint32_t mainCode = 0;
  uint32_t searchCode = 0;
  RunDialog(Steps{
      [](CDialogWnd& d) { ShowPage(d, kHotKeys); },
      [](CDialogWnd& d) {
        Get<ui::HotKeyEdit>(d, L"setting_hotkey")->SetFocus();
        PostMessageW(d.GetHWND(), WM_XBUTTONDOWN, MAKEWPARAM(MK_XBUTTON1, XBUTTON1), 0);
        PostMessageW(d.GetHWND(), WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON1), 0);
      },
      [](CDialogWnd& d) {
        Get<ui::HotKeyEdit>(d, L"setting_hotkey_search")->SetFocus();
        PostMessageW(d.GetHWND(), WM_XBUTTONDOWN, MAKEWPARAM(MK_XBUTTON1, XBUTTON1), 0);
        PostMessageW(d.GetHWND(), WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON1), 0);
      },
      [&](CDialogWnd& d) {
        mainCode = Get<ui::HotKeyEdit>(d, L"setting_hotkey")->GetCode();
        searchCode = Get<ui::HotKeyEdit>(d, L"setting_hotkey_search")->GetCode();
        Click(d, L"btn_cancel");
      },
  });
  EXPECT_EQ(mainCode & 0xFF, static_cast<uint32_t>(VK_XBUTTON1));
  EXPECT_EQ(searchCode & 0xFF, 0u);
}

// The first and last columns, within the rows [top, bottom), whose pixels differ
// from `back`; {-1, -1} when none does.
std::pair<int, int> InkColumns(ui::Window& window, RECT rc, int top, int bottom, DWORD back) {
  std::pair<int, int> ink = {-1, -1};
  for (int x = rc.left; x < rc.right; ++x) {
    for (int y = top; y < bottom; ++y) {
      if (window_test::PixelAt(window.GetRenderContext(), x, y) == back) continue;
      if (ink.first < 0) ink.first = x;
      ink.second = x;
      break;
    }
  }
  return ink;
}
// The same for rows, within the columns [left, right).
std::pair<int, int> InkRows(ui::Window& window, RECT rc, int left, int right, DWORD back) {
  std::pair<int, int> ink = {-1, -1};
  for (int y = rc.top; y < rc.bottom; ++y) {
    for (int x = left; x < right; ++x) {
      if (window_test::PixelAt(window.GetRenderContext(), x, y) == back) continue;
      if (ink.first < 0) ink.first = y;
      ink.second = y;
      break;
    }
  }
  return ink;
}

TEST_F(SettingsDialogTest, TagNamesSetToEitherSideKeepRoomInsideTheirHighlight) {
  {
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    store.topGroups.at(0)->tags.at(0)->NAME = L"工具";
    ASSERT_TRUE(store.SaveGroup(store.topGroups.at(0)->tags.at(0)));
    store.Close();
  }
  GetSettings().TagAlign = L"center";
  OpenMain();
  for (const wchar_t* side : {L"op_tag_left", L"op_tag_right"}) {
    ASSERT_TRUE(SettingsFromMenu(Steps{
        [](CDialogWnd& d) { ShowPage(d, kAppearance); },
        [side](CDialogWnd& d) { Click(d, side); },
        [](CDialogWnd& d) { Click(d, L"btn_ok"); },
    }));
    const bool left = std::wstring(side) == L"op_tag_left";
    EXPECT_EQ(StoredSettings().TagAlign, left ? L"left" : L"right");
    window_test::PaintNow(hwnd_);
    PumpFor(350);
    window_test::PaintNow(hwnd_);
    // The current tag's highlight and, inside it, the name's ink.
    auto* tags = dynamic_cast<ui::ListBox*>(Find(L"list_minor_group"));
    ASSERT_NE(tags, nullptr);
    ui::Control* item = tags->GetItemAt(0);
    ASSERT_NE(item, nullptr);
    const RECT rc = item->GetPos();
    const int middle = (rc.top + rc.bottom) / 2;
    const DWORD highlight = window_test::PixelAt(window_->GetRenderContext(), rc.left + 4, middle);
    EXPECT_EQ(highlight, ui::UiGlobals::GetColor(L"tag_sel")) << "the current tag is highlighted";
    const std::pair<int, int> ink = InkColumns(*window_, RECT{rc.left + 1, rc.top, rc.right - 1, rc.bottom},
                                               rc.top + 8, rc.bottom - 8, highlight);
    ASSERT_GE(ink.first, 0) << "the name is drawn";
    if (left) {
      EXPECT_GE(ink.first - rc.left, 6) << "room between the highlight's left edge and the name";
    } else {
      EXPECT_GE(rc.right - 1 - ink.second, 6) << "room between the name and the highlight's right edge";
    }
  }
}

TEST_F(SettingsDialogTest, NumberFieldsShowTheirTextInTheMiddleOfTheField) {
  OpenMain();
  std::vector<std::pair<int, int>> off;
  EXPECT_EQ(RunDialog(Steps{
                [](CDialogWnd& d) { ShowPage(d, kAppearance); },
                [&off](CDialogWnd& d) {
                  window_test::PaintNow(d.GetHWND());
                  for (const wchar_t* name : {L"edit_groupwidth", L"edit_tagwidth"}) {
                    ui::Control* field = d.FindControlByName(name);
                    ASSERT_NE(field, nullptr);
                    const RECT rc = field->GetPos();
                    const DWORD back = window_test::PixelAt(d.GetRenderContext(), rc.left + 3, (rc.top + rc.bottom) / 2);
                    // The text's rows, inside the border.
                    const std::pair<int, int> ink =
                        InkRows(d, RECT{rc.left, rc.top + 2, rc.right, rc.bottom - 2}, rc.left + 4, rc.right - 4, back);
                    ASSERT_GE(ink.first, 0) << "the number is drawn";
                    off.push_back({(ink.first - rc.top), (rc.bottom - 1 - ink.second)});
                  }
                  Click(d, L"btn_cancel");
                },
            }),
            CDialogWnd::kResultCancel);
  ASSERT_EQ(off.size(), 2u);
  for (const auto& [above, below] : off) {
    EXPECT_LE(std::abs(above - below), 2) << "room above the text " << above << ", below it " << below;
  }
}

TEST(SettingsFields, ThemeNamesMatchWithOrWithoutTheirExtensionInAnyCase) {
  struct Case {
    const wchar_t* file;
    const wchar_t* theme;
    bool same;
  } cases[] = {
      {L"gray.xml", L"gray", true},         {L"gray.xml", L"gray.xml", true}, {L"Gray.XML", L"gray", true},
      {L"blue.xml", L"BLUE.xml", true},     {L"gray.xml", L"grey", false},    {L"gray.xml", L"", false},
      {L"gray.xml.xml", L"gray", false},    {L"深色.xml", L"深色", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsSameTheme(c.file, c.theme), c.same) << std::string(c.file, c.file + wcslen(c.file));
  }
}

TEST(SettingsFields, NumberFieldsTakeOnlyWholeNumbersAndOtherwiseKeepTheirValue) {
  struct Case {
    const wchar_t* text;
    int value;
  } cases[] = {{L"120", 120}, {L" 8 ", 8}, {L"0", 0}, {L"", 55}, {L"  ", 55}, {L"abc", 55},
               {L"12px", 55}, {L"-5", 55}, {L"99999999999", 55}, {L"2147483647", 2147483647}};
  for (const Case& c : cases) EXPECT_EQ(NumberFieldValue(c.text, 55), c.value) << c.value;
  // A field with a least value (the group width) refuses smaller numbers as it
  // refuses empty text.
  EXPECT_EQ(NumberFieldValue(L"0", 72, 1), 72);
  EXPECT_EQ(NumberFieldValue(L" 00 ", 72, 1), 72);
  EXPECT_EQ(NumberFieldValue(L"1", 72, 1), 1);
}

}  // namespace
