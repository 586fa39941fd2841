#include "app/dialogs/edit_wnd.h"

#include <commdlg.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <cwctype>

#include "app/controls/hot_key_edit.h"
#include "app/desktop/window_alpha.h"
#include "app/dialogs/file_dialog.h"
#include "app/dialogs/icon_wnd.h"
#include "app/launching/stored_item_id_list.h"
#include "data/hot_key_table.h"
#include "data/initials.h"
#include "data/link.h"
#include "data/link_path.h"
#include "data/program_dir.h"
#include "data/settings.h"
#include "ui/base/dpi_scaler.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/check_box.h"
#include "ui/controls/rich_edit.h"
#include "ui/core/box.h"
#include "ui/core/event_args.h"

namespace {

using CheckBox = ui::CheckBoxTemplate<ui::Control>;

// The colour chooser's memory, shared by every editor of the process.
COLORREF g_lastColor = 0;
COLORREF g_customColors[16] = {};

struct TypeTexts {
  const wchar_t* title;
  const wchar_t* target;
};

TypeTexts TextsFor(int32_t type) {
  switch (type) {
    case kLinkProgram: return {L"编辑<程序>", L"路径"};
    case kLinkDriveRoot:
    case kLinkFolder: return {L"编辑<文件夹>", L"路径"};
    case kLinkFile: return {L"编辑<文件>", L"路径"};
    case kLinkWebAddress: return {L"编辑<超链接>", L"网址"};
    case kLinkBuiltinFunction: return {L"编辑<内置功能>", L"功能"};
    case kLinkShellItem: return {L"编辑<Shell命令>", L"命令"};
    case kLinkItemIdList: return {L"编辑<Pidl>", L"Pidl"};
    default: return {L"编辑属性", L"路径"};
  }
}

std::wstring ArgbText(DWORD argb) {
  wchar_t text[16] = {};
  std::swprintf(text, 16, L"#%08x", static_cast<unsigned>(argb));
  return text;
}

}  // namespace

void CEditWnd::InitWindow() {
  sizing_ = 0;
  const Settings& settings = GetSettings();
  if (settings.nAttrWidth >= 1 && settings.nAttrHeight >= 1) Resize(settings.nAttrWidth, settings.nAttrHeight);
  SetWindowAlpha(LauncherWindowAlpha());
  if (!link_) return;
  FillFields();
  ApplyTypeStates();

  colorEdit_ = dynamic_cast<ui::RichEdit*>(FindControlByName(L"edit_color"));
  if (colorEdit_) {
    ShowColor(link_->CustomColor);
    colorEdit_->AttachTextChangeEvent(ToWeakCallback([this](ui::EventArgs* e) { return OnColorTextChange(e); }));
  }
  for (const wchar_t* name : {L"edit_url", L"edit_icon", L"edit_param", L"edit_dir", L"edit_color"}) {
    if (auto* edit = dynamic_cast<ui::RichEdit*>(FindControlByName(name))) edit->SetImmStatus(false);
  }
  const auto onClick = ToWeakCallback([this](ui::EventArgs* e) { return OnClick(e); });
  for (const wchar_t* name : {L"btn_ok", L"btn_cancel", L"btn_path", L"btn_icon", L"btn_color"}) {
    if (ui::Control* button = FindControlByName(name)) button->AttachClick(onClick);
  }
  for (const wchar_t* boxName : {L"colorbox", L"colorbox2"}) {
    auto* box = dynamic_cast<ui::Box*>(FindControlByName(boxName));
    if (!box) continue;
    for (int i = 0; i < box->GetCount(); ++i) {
      ui::Control* child = box->GetItemAt(i);
      if (dynamic_cast<ui::ButtonTemplate<ui::Control>*>(child)) child->AttachClick(onClick);
    }
  }
}

void CEditWnd::FillFields() {
  // The caret goes to the start: the fields have no width before the first
  // layout, and with the caret at the end the text would show scrolled away.
  auto setText = [this](const wchar_t* name, const std::wstring& text) {
    if (auto* edit = dynamic_cast<ui::RichEdit*>(FindControlByName(name))) {
      edit->SetTextWhole(text);  // a field's limit would cut a longer stored value
      edit->SetSel(0, 0);
    }
  };
  setText(L"edit_name", link_->NAME);
  setText(L"edit_url", link_->PATH);
  setText(L"edit_icon", link_->ICON);
  setText(L"edit_param", link_->Parameter);
  setText(L"edit_dir", link_->WorkDir);
  if (auto* admin = dynamic_cast<CheckBox*>(FindControlByName(L"edit_admin"))) {
    admin->Selected(link_->IsAdmin, false);
    admin->SetText(link_->TYPE == kLinkWebAddress ? L"以隐私模式运行" : L"以管理员身份运行");
  }
  setText(L"edit_color", link_->CustomColor);
  setText(L"edit_remark", link_->Remark);
  auto* hotKey = dynamic_cast<ui::HotKeyEdit*>(FindControlByName(L"edit_hotkey"));
  ui::SetHotKeyEditCode(hotKey, link_->HotKey);
  if (hotKey) hotKey->SetSel(0, 0);
  const TypeTexts texts = TextsFor(link_->TYPE);
  if (ui::Control* title = FindControlByName(L"title")) title->SetAttribute(L"text", texts.title);
  if (ui::Control* label = FindControlByName(L"label_url")) label->SetAttribute(L"text", texts.target);
}

void CEditWnd::ApplyTypeStates() {
  auto enable = [this](const wchar_t* name, bool enabled) {
    if (ui::Control* control = FindControlByName(name)) control->SetEnabled(enabled);
  };
  const int32_t type = link_->TYPE;
  if (type >= kLinkProgram && type <= kLinkFile) {
    for (const wchar_t* name : {L"edit_url", L"btn_path", L"edit_param", L"edit_dir", L"edit_admin"}) enable(name, true);
  } else if (type >= kLinkWebAddress && type <= kLinkShellItem) {
    enable(L"edit_url", true);
    enable(L"btn_path", true);
    enable(L"edit_param", false);
    enable(L"edit_dir", false);
    enable(L"edit_admin", true);
  } else if (type == kLinkItemIdList) {
    SHFILEINFOW info = {};
    // Damaged stored bytes give no list, which the shell describes as nothing.
    const ui::AbsoluteItemIdList list = StoredItemIdList(link_->Pidl);
    SHGetFileInfoW(reinterpret_cast<LPCWSTR>(list.get()), 0, &info, sizeof(info),
                   SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX);
    if (info.iIcon != 0) {
      if (auto* edit = dynamic_cast<ui::RichEdit*>(FindControlByName(L"edit_url"))) edit->SetText(info.szDisplayName);
      for (const wchar_t* name : {L"edit_url", L"btn_path", L"edit_param", L"edit_dir", L"edit_admin"}) {
        enable(name, false);
      }
    }
  }
}

void CEditWnd::ShowColor(const std::wstring& text) {
  if (!colorEdit_) return;
  if (IsArgbColorText(text)) {
    colorEdit_->SetTextColorValue(static_cast<DWORD>(std::wcstoul(text.c_str() + 1, nullptr, 16)));
  } else if (!text.empty() && ui::UiGlobals::GetColor(text) != 0) {
    colorEdit_->SetTextColorValue(ui::UiGlobals::GetColor(text));
  } else {
    colorEdit_->SetTextColor(L"textdefaultcolor");
  }
  colorEdit_->Invalidate();
}

bool CEditWnd::OnColorTextChange(ui::EventArgs*) {
  if (!colorEdit_) return true;
  const std::wstring text = colorEdit_->GetText();
  if (IsArgbColorText(text)) {
    ShowColor(text);
  } else {
    colorEdit_->SetTextColor(L"textdefaultcolor");
  }
  return true;
}

bool CEditWnd::AcceptOk() {
  const std::wstring color = colorEdit_ ? colorEdit_->GetText() : link_->CustomColor;
  if (!IsAcceptedLinkColor(color)) {
    // Owned by the editor, which waits under it: no second OK or a Cancel meanwhile.
    MessageBoxW(GetHWND(), L"颜色格式错误！格式：#ff000000", L"错误", MB_ICONERROR | MB_TOPMOST);
    return false;
  }
  // Card templates name the colour by its own text.
  if (IsArgbColorText(color)) ui::UiGlobals::AddColor(color, color);
  auto text = [this](const wchar_t* name, const std::wstring& fallback) {
    auto* edit = dynamic_cast<ui::RichEdit*>(FindControlByName(name));
    return edit ? edit->GetText() : fallback;
  };
  link_->CustomColor = color;
  link_->NAME = text(L"edit_name", link_->NAME);
  link_->nameInitials = MakeInitialsKey(link_->NAME);
  if (link_->TYPE != kLinkItemIdList) link_->PATH = text(L"edit_url", link_->PATH);
  link_->ICON = text(L"edit_icon", link_->ICON);
  link_->Parameter = text(L"edit_param", link_->Parameter);
  link_->WorkDir = text(L"edit_dir", link_->WorkDir);
  if (auto* admin = dynamic_cast<CheckBox*>(FindControlByName(L"edit_admin"))) link_->IsAdmin = admin->IsSelected();
  link_->Remark = text(L"edit_remark", link_->Remark);
  link_->remarkInitials = MakeInitialsKey(link_->Remark);

  HotKeyTable& table = GetHotKeyTable();
  if (link_->HotKey != 0) table.UnregisterLink(link_);
  if (auto* hotKey = dynamic_cast<ui::HotKeyEdit*>(FindControlByName(L"edit_hotkey"))) {
    link_->HotKey = static_cast<uint16_t>(hotKey->GetCode());
  }
  // A refused chord keeps the link's new HotKey without a registration.
  if (link_->HotKey != 0) table.RegisterLink(link_);
  return true;
}

bool CEditWnd::OnClick(ui::EventArgs* event) {
  if (!event || !event->pSender) return true;
  const std::wstring name = event->pSender->GetName();
  if (name == L"btn_ok") {
    if (!AcceptOk()) return false;
    Close(kResultOk);
  } else if (name == L"btn_cancel") {
    Close(kResultCancel);
  } else if (name == L"btn_path") {
    std::wstring folder = ResolveLinkPath(link_->PATH);
    const size_t slash = folder.find_last_of(L'\\');
    folder = slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash);
    const std::wstring chosen = ChooseFileToOpen(GetHWND(), AllFilesFilter(), folder);
    if (!chosen.empty()) {
      if (auto* edit = dynamic_cast<ui::RichEdit*>(FindControlByName(L"edit_url"))) edit->SetText(chosen);
    }
  } else if (name == L"btn_icon") {
    ChooseIcon();
  } else if (name == L"btn_color") {
    PickColor();
  } else if (colorEdit_) {
    // A swatch: its background colour, which the editor's own skin defines (the
    // window's colour table before the global one).
    const DWORD argb = event->pSender->GetColorValue(event->pSender->GetBkColor());
    colorEdit_->SetText(ArgbText(argb));
    ShowColor(ArgbText(argb));
  }
  return true;
}

void CEditWnd::ChooseIcon() {
  auto* iconEdit = dynamic_cast<ui::RichEdit*>(FindControlByName(L"edit_icon"));
  auto spec = std::make_shared<std::wstring>(iconEdit ? iconEdit->GetText() : std::wstring());
  auto dialog = std::make_unique<CIconWnd>();
  dialog->SetIconSpec(spec);
  if (RunOwnedDialog(dialog, GetHWND(), L"IconWnd") == kResultOk && iconEdit) iconEdit->SetText(*spec);
}

void CEditWnd::PickColor() {
  CHOOSECOLORW choose = {};
  choose.lStructSize = sizeof(choose);
  choose.hwndOwner = GetHWND();
  choose.rgbResult = g_lastColor;
  choose.lpCustColors = g_customColors;
  choose.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
  if (!ChooseColorW(&choose)) return;
  g_lastColor = choose.rgbResult;
  const DWORD argb = 0xFF000000u | (GetRValue(g_lastColor) << 16) | (GetGValue(g_lastColor) << 8) | GetBValue(g_lastColor);
  if (!colorEdit_) return;
  colorEdit_->SetText(ArgbText(argb));
  ShowColor(ArgbText(argb));
}

LRESULT CEditWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
      // Alt chords reach the hot-key field as its own key events.
      if (auto* hotKey = dynamic_cast<ui::HotKeyEdit*>(GetFocusControl())) {
        hotKey->SendEvent(message == WM_SYSKEYDOWN ? ui::hotkeydown : ui::hotkeyup, wParam, lParam,
                          static_cast<wchar_t>(wParam & 0xFFFF), GetLastMousePos());
      }
      break;
    case WM_ENTERSIZEMOVE:
      sizing_ = 1;
      break;
    case WM_EXITSIZEMOVE:
      sizing_ = 0;
      break;
    default:
      break;
  }
  return CDialogWnd::HandleMessage(message, wParam, lParam);
}

LRESULT CEditWnd::OnSize(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  if (sizing_ && GetHWND() && IsWindow(GetHWND())) {
    // Saved as the initialisation restores it: without the shadow and before
    // DPI scaling, so the dialog keeps its size from one opening to the next.
    const RECT rect = GetWindowRectWithoutShadow(false);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    const DpiScaler& dpi = DpiScaler::Instance();
    if (dpi.IsAdapted() && dpi.Scale() > 0 && dpi.Scale() != 100) {
      width = MulDiv(width, 100, dpi.Scale());
      height = MulDiv(height, 100, dpi.Scale());
    }
    Settings& settings = GetSettings();
    settings.nAttrWidth = width;
    settings.nAttrHeight = height;
    if (HWND owner = ::GetWindow(GetHWND(), GW_OWNER)) {
      KillTimer(owner, 3);
      SetTimer(owner, 3, 1000, nullptr);
    }
  }
  return CDialogWnd::OnSize(message, wParam, lParam, handled);
}

bool IsArgbColorText(const std::wstring& text) {
  if (text.size() != 9 || text[0] != L'#') return false;
  for (size_t i = 1; i < text.size(); ++i) {
    if (!std::iswxdigit(text[i])) return false;
  }
  return true;
}

bool IsAcceptedLinkColor(const std::wstring& text) {
  if (text.empty() || IsArgbColorText(text)) return true;
  // The table answers 0 for names it does not hold.
  return ui::UiGlobals::GetColor(text) != 0;
}
