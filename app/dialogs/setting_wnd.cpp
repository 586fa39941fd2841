#include "app/dialogs/setting_wnd.h"


#include <climits>
#include <cwchar>
#include <cwctype>

#include "app/controls/hot_key_edit.h"
#include "app/desktop/window_alpha.h"
#include "app/launching/shell_actions.h"
#include "data/program_dir.h"
#include "data/settings.h"
#include "ui/controls/check_box.h"
#include "ui/controls/combo.h"
#include "ui/controls/list_box.h"
#include "ui/controls/list_container_element.h"
#include "ui/controls/option.h"
#include "ui/controls/rich_edit.h"
#include "ui/controls/slider.h"
#include "ui/core/event_args.h"
#include "ui/core/tab_box.h"

namespace {

using CheckBox = ui::CheckBoxTemplate<ui::Control>;
using Option = ui::OptionTemplate<ui::Control>;

// The help and the change record beside the program open as the main menu's
// "help" and "update" open them. There is no donation page to open, so the
// dialog offers no reward button.
constexpr int kVersion[3] = {1, 8, 5};
constexpr wchar_t kSaveFailedText[] = L"设置无法写入 conf.ini（文件只读或被占用），修改只在本次运行中有效。";

struct CheckField {
  const wchar_t* control;
  bool Settings::*key;
};

// Every on/off preference with the check box that shows it, in the order OK writes them.
constexpr CheckField kCheckFields[] = {
    {L"setting_autogroupwidth", &Settings::bAutoGroupWidth},
    {L"setting_autotagheight", &Settings::bAutoTagHeight},
    {L"setting_open_filesearch", &Settings::bOpenFileSearch},
    {L"setting_autorun", &Settings::bAutoRun},
    {L"setting_topmost", &Settings::bTopMost},
    {L"setting_hide", &Settings::bHideOnStart},
    {L"setting_dick", &Settings::bAutoDock},
    {L"setting_corner", &Settings::bDockCorner},
    {L"setting_hide_after", &Settings::bHideAfterLink},
    {L"setting_hide_unhot", &Settings::bHideUnhot},
    {L"setting_mbutton_main", &Settings::bMButtonMain},
    {L"setting_doubledesk_main", &Settings::bDoubleDeskMain},
    {L"setting_doubletask_main", &Settings::bDoubleTaskMain},
    {L"setting_followmouse", &Settings::bFollowMouse},
    {L"setting_doubleclick", &Settings::bDoubleClick},
    {L"setting_fullscreen", &Settings::bFullScreenMode},
    {L"setting_delconfirm", &Settings::bDelConfirm},
    {L"setting_saveruncount", &Settings::bSaveRunCount},
    {L"setting_runcount", &Settings::bRunCount},
    {L"setting_hidenotify", &Settings::bHideNotify},
    {L"setting_showdate", &Settings::bShowDate},
    {L"setting_showbtn_search", &Settings::bShowBtnSearch},
    {L"setting_showbtn_menu", &Settings::bShowBtnMenu},
    {L"setting_lnkname_singleline", &Settings::bLnkNameSingleline},
    {L"setting_showtooltip", &Settings::bShowTooltip},
    {L"setting_enteractive_group", &Settings::bMouseEnterActiveGroup},
    {L"setting_enteractive_tag", &Settings::bMouseEnterActiveTag},
    {L"setting_group_right", &Settings::bGroupRight},
    {L"setting_tag_right", &Settings::bTagRight},
    {L"setting_focus_search", &Settings::bFocusSearch},
};

struct NumberField {
  const wchar_t* control;
  int Settings::*key;
  int least = 0;  // a smaller value is refused like empty text
};

constexpr NumberField kNumberFields[] = {
    // Groups of no width could not be seen, let alone clicked.
    {L"edit_groupwidth", &Settings::nGroupWidth, 1},
    {L"edit_tagwidth", &Settings::nTagWidth},
    {L"setting_edit_searchcount", &Settings::nSearchCount},
    {L"setting_dockdelay", &Settings::nDockDelay},
    {L"setting_enteractive_group_delay", &Settings::nActiveGroupDelay},
    {L"setting_enteractive_tag_delay", &Settings::nActiveTagDelay},
};

std::wstring Lowered(std::wstring text) {
  for (wchar_t& ch : text) ch = static_cast<wchar_t>(std::towlower(ch));
  return text;
}

std::wstring WithoutXml(const std::wstring& name) {
  const std::wstring lowered = Lowered(name);
  if (lowered.size() >= 4 && lowered.compare(lowered.size() - 4, 4, L".xml") == 0) return lowered.substr(0, lowered.size() - 4);
  return lowered;
}

}  // namespace

std::wstring AlphaCaption(int alpha) {
  wchar_t text[32] = {};
  std::swprintf(text, 32, L"透明度(%d)", alpha);
  return text;
}

bool IsSameTheme(const std::wstring& fileName, const std::wstring& theme) {
  if (fileName.empty() || theme.empty()) return false;
  return WithoutXml(fileName) == WithoutXml(theme);
}

int NumberFieldValue(const std::wstring& text, int previous, int least) {
  const size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return previous;
  const size_t last = text.find_last_not_of(L" \t");
  long long value = 0;
  for (size_t i = first; i <= last; ++i) {
    const wchar_t ch = text[i];
    if (ch < L'0' || ch > L'9') return previous;
    value = value * 10 + (ch - L'0');
    if (value > INT_MAX) return previous;
  }
  return value < least ? previous : static_cast<int>(value);
}

void CSettingWnd::InitWindow() {
  const Settings& settings = GetSettings();
  const int alpha = LauncherWindowAlpha();
  SetWindowAlpha(alpha);
  if (ui::Control* version = FindControlByName(L"setting_version")) {
    wchar_t text[32] = {};
    std::swprintf(text, 32, L"v%d.%d.%d", kVersion[0], kVersion[1], kVersion[2]);
    version->SetAttribute(L"text", text);
  }
  FillThemes(settings.Theme);
  if (auto* edit = dynamic_cast<ui::RichEdit*>(FindControlByName(L"edit_dircmd"))) edit->SetText(settings.OpenDirCmd);

  if (auto* pages = dynamic_cast<ui::ListBox*>(FindControlByName(L"list_class"))) {
    pages->AttachEvent(ui::select, ToWeakCallback([this](ui::EventArgs* e) { return OnCategorySelect(e); }));
    pages->SelectItem(0, false, true);
  }
  alphaSlider_ = dynamic_cast<ui::Slider*>(FindControlByName(L"slider_alpha"));
  if (alphaSlider_) {
    alphaSlider_->SetMinValue(128);
    alphaSlider_->SetMaxValue(255);
    alphaSlider_->SetValue(alpha);
    alphaSlider_->AttachEvent(ui::valuechange, ToWeakCallback([this](ui::EventArgs* e) { return OnAlphaChanged(e); }));
  }
  alphaLabel_ = FindControlByName(L"label_alpha");
  if (alphaLabel_) alphaLabel_->SetAttribute(L"text", AlphaCaption(alpha));

  hotKey_ = dynamic_cast<ui::HotKeyEdit*>(FindControlByName(L"setting_hotkey"));
  if (hotKey_) {
    hotKey_->SetSideButtonsAllowed(true);
    ui::SetHotKeyEditCode(hotKey_, static_cast<uint32_t>(settings.nMainHotKey));
  }
  searchHotKey_ = dynamic_cast<ui::HotKeyEdit*>(FindControlByName(L"setting_hotkey_search"));
  ui::SetHotKeyEditCode(searchHotKey_, static_cast<uint32_t>(settings.nSearchHotKey));

  FillControls(settings);
  // The fields of hidden pages have no width yet: with the caret at the end of
  // their text they would show it scrolled out of view once their page shows.
  for (const NumberField& field : kNumberFields) {
    if (auto* edit = dynamic_cast<ui::RichEdit*>(FindControlByName(field.control))) edit->SetSel(0, 0);
  }
  for (ui::RichEdit* edit : {static_cast<ui::RichEdit*>(hotKey_), static_cast<ui::RichEdit*>(searchHotKey_),
                             dynamic_cast<ui::RichEdit*>(FindControlByName(L"edit_dircmd"))}) {
    if (edit) edit->SetSel(0, 0);
  }
  const auto onClick = ToWeakCallback([this](ui::EventArgs* e) { return OnClick(e); });
  for (const wchar_t* name : {L"btn_ok", L"btn_cancel", L"setting_update", L"setting_help"}) {
    if (ui::Control* button = FindControlByName(name)) button->AttachClick(onClick);
  }
}

void CSettingWnd::FillThemes(const std::wstring& theme) {
  auto* combo = dynamic_cast<ui::Combo*>(FindControlByName(L"combo_theme"));
  if (!combo) return;
  const std::wstring pattern = GetProgramDir() + L"theme\\*.xml";
  WIN32_FIND_DATAW found = {};
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  // The stored name may lack ".xml" or differ in letter case ("gray" for
  // "Gray.xml"); an exact match still wins over such a loose one.
  int loose = -1;
  int exact = -1;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    auto* item = new ui::ListContainerElement;
    item->ApplyClassAttributes(L"listitem");
    item->SetAttribute(L"height", L"26");
    item->SetAttribute(L"textpadding", L"6,0,6,0");
    item->SetName(found.cFileName);
    item->SetText(found.cFileName);
    combo->Add(item);
    const int index = combo->GetCount() - 1;
    if (exact < 0 && theme == found.cFileName) exact = index;
    if (loose < 0 && IsSameTheme(found.cFileName, theme)) loose = index;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  const int chosen = exact >= 0 ? exact : loose;
  if (chosen >= 0) combo->SelectItem(chosen, false);
}

void CSettingWnd::FillControls(const Settings& settings) {
  for (const CheckField& field : kCheckFields) {
    if (auto* box = dynamic_cast<CheckBox*>(FindControlByName(field.control))) box->Selected(settings.*field.key, false);
  }
  for (const NumberField& field : kNumberFields) {
    if (auto* edit = dynamic_cast<ui::RichEdit*>(FindControlByName(field.control))) {
      edit->SetText(std::to_wstring(settings.*field.key));
    }
  }
  const wchar_t* align = settings.TagAlign == L"left"    ? L"op_tag_left"
                         : settings.TagAlign == L"right" ? L"op_tag_right"
                                                         : L"op_tag_center";
  if (auto* option = dynamic_cast<Option*>(FindControlByName(align))) option->Selected(true, false);
}

void CSettingWnd::StoreControls(Settings& settings) {
  if (alphaSlider_) settings.nAlpha = static_cast<int>(alphaSlider_->GetValue());
  // Nothing chosen in the theme list keeps the theme in use.
  if (auto* combo = dynamic_cast<ui::Combo*>(FindControlByName(L"combo_theme"))) {
    const std::wstring theme = combo->GetCurSel() >= 0 ? combo->GetText() : std::wstring();
    if (!theme.empty()) settings.Theme = theme;
  }
  if (auto* edit = dynamic_cast<ui::RichEdit*>(FindControlByName(L"edit_dircmd"))) settings.OpenDirCmd = edit->GetText();
  if (hotKey_) settings.nMainHotKey = static_cast<int>(hotKey_->GetCode());
  if (searchHotKey_) settings.nSearchHotKey = static_cast<int>(searchHotKey_->GetCode());
  for (const NumberField& field : kNumberFields) {
    if (auto* edit = dynamic_cast<ui::RichEdit*>(FindControlByName(field.control))) {
      settings.*field.key = NumberFieldValue(edit->GetText(), settings.*field.key, field.least);
    }
  }
  // A narrower tag list leaves its names no room (and a width of -1 or -2
  // would mean "stretch" or "auto" to the layout).
  if (settings.nTagWidth < kMinTagWidth) settings.nTagWidth = kMinTagWidth;
  for (const CheckField& field : kCheckFields) {
    if (auto* box = dynamic_cast<CheckBox*>(FindControlByName(field.control))) settings.*field.key = box->IsSelected();
  }
  auto selected = [this](const wchar_t* name) {
    auto* option = dynamic_cast<Option*>(FindControlByName(name));
    return option && option->IsSelected();
  };
  settings.TagAlign = selected(L"op_tag_left") ? L"left" : selected(L"op_tag_right") ? L"right" : L"center";
}

bool CSettingWnd::OnCategorySelect(ui::EventArgs*) {
  auto* pages = dynamic_cast<ui::ListBox*>(FindControlByName(L"list_class"));
  auto* tabs = dynamic_cast<ui::TabBox*>(FindControlByName(L"TabSet"));
  if (pages && tabs && pages->GetCurSel() != -1) tabs->SelectItem(pages->GetCurSel());
  return true;
}

bool CSettingWnd::OnAlphaChanged(ui::EventArgs*) {
  if (!alphaSlider_) return true;
  const int value = static_cast<int>(alphaSlider_->GetValue());
  if (alphaLabel_) alphaLabel_->SetAttribute(L"text", AlphaCaption(value));
  // A preview on the dialog itself; the main window changes only after OK.
  SetWindowAlpha(value);
  return true;
}

bool CSettingWnd::OnClick(ui::EventArgs* event) {
  if (!event || !event->pSender) return true;
  const std::wstring name = event->pSender->GetName();
  if (name == L"btn_ok") {
    Settings& settings = GetSettings();
    StoreControls(settings);
    // The new values take effect either way; the user must know they will not
    // survive a restart.
    if (!settings.Save()) {
      MessageBoxW(GetHWND(), kSaveFailedText, L"Pexo - 错误", MB_ICONERROR | MB_TOPMOST);
    }
    Close(kResultOk);
  } else if (name == L"btn_cancel") {
    Close(kResultCancel);
  } else if (name == L"setting_help" || name == L"setting_update") {
    // The dialog stays open either way.
    const std::wstring notice =
        OpenShippedDocument(name == L"setting_help" ? ShippedDocument::kHelp : ShippedDocument::kChanges);
    if (!notice.empty()) MessageBoxW(GetHWND(), notice.c_str(), L"Pexo", MB_ICONINFORMATION | MB_TOPMOST);
  }
  return true;
}

LRESULT CSettingWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  auto* hotKey = dynamic_cast<ui::HotKeyEdit*>(GetFocusControl());
  switch (message) {
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      // Alt chords reach the hot-key field as its own key events.
      if (hotKey) {
        hotKey->SendEvent(message == WM_SYSKEYDOWN ? ui::hotkeydown : ui::hotkeyup, wParam, lParam,
                          static_cast<wchar_t>(wParam & 0xFFFF), GetLastMousePos());
      }
      break;
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP:
      if (hotKey) {
        hotKey->SendEvent(message == WM_XBUTTONDOWN ? ui::xbuttondown : ui::xbuttonup, wParam, lParam, 0,
                          GetLastMousePos());
      }
      break;
    case WM_CHAR:
      // Enter in a text field (or with no focus) confirms; a focused button or
      // box takes Enter itself, and in a hot-key field it is part of a chord.
      if (wParam == VK_RETURN && !hotKey &&
          (!GetFocusControl() || dynamic_cast<ui::RichEdit*>(GetFocusControl()))) {
        if (ui::Control* ok = FindControlByName(L"btn_ok")) {
          ui::EventArgs event;
          event.pSender = ok;
          OnClick(&event);
          return 0;
        }
      }
      break;
    default:
      break;
  }
  return CDialogWnd::HandleMessage(message, wParam, lParam);
}
