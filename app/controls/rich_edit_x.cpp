#include "app/controls/rich_edit_x.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <cwctype>
#include <memory>

#include "data/link_path.h"
#include "ui/controls/menu_item.h"
#include "ui/controls/menu_mgr.h"
#include "ui/core/window.h"

namespace ui {

namespace {

// Web addresses, e-mail-like addresses and drive paths.
constexpr WPARAM kLinkDetection = AURL_ENABLEURL | AURL_ENABLEEAURLS | AURL_ENABLEDRIVELETTERS;
// Older text services know only "on".
constexpr WPARAM kLinkDetectionPlain = 1;

bool StartsWithFileScheme(const std::wstring& text) {
  if (text.size() < 5) return false;
  std::wstring head = text.substr(0, 5);
  for (wchar_t& c : head) c = static_cast<wchar_t>(std::towlower(c));
  return head == L"file:";
}

}  // namespace

RichEditX::RichEditX() = default;

void RichEditX::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"wantreturn") {
    if (value == L"true" || value == L"false") SetStyleBits(ES_WANTRETURN, value == L"true");
  } else if (name == L"wantlink") {
    if (value == L"true") wantLink_ = true;
    if (value == L"false") wantLink_ = false;
  } else {
    RichEdit::SetAttribute(name, value);
  }
}

void RichEditX::HandleEventTemplate(EventArgs& event) {
  if (event.Type == rbuttonup) {
    // The menu's loop runs the window's messages, which may delete this field
    // or give it another text (the note editor shows whichever note tag is
    // current): the command is for the text the menu was opened on.
    std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
    const unsigned textsSet = GetTextsSet();
    const std::wstring command = ShowEditMenu();
    if (alive.expired()) return;
    if (GetTextsSet() == textsSet) RunEditCommand(command);
  } else if (event.Type == resize && wantLink_) {
    EnableLinkDetection();
  }
  Box::HandleEventTemplate(event);
}

std::wstring RichEditX::ShowEditMenu() {
  Window* window = GetWindow();
  if (!window) return {};
  POINT cursor = {};
  GetCursorPos(&cursor);
  std::wstring command;
  {
    // A fresh manager for every right click, gone before the command runs.
    CMenuMgr menu(window->GetHWND());
    if (!menu.LoadXml(window->GetHWND(), L"menu\\menu_edit.xml")) return {};
    if (CMenuItem* item = menu.ShowMenu(L"menu_edit", cursor.x, cursor.y, false)) command = item->GetName();
  }
  return command;
}

void RichEditX::RunEditCommand(const std::wstring& name) {
  if (name == L"redo") {
    Redo();
  } else if (name == L"undo") {
    Undo();
  } else if (name == L"cut") {
    Cut();
  } else if (name == L"copy") {
    Copy();
  } else if (name == L"paste") {
    Paste();
  }
}

void RichEditX::EnableLinkDetection() {
  SetEventMask(GetEventMask() | ENM_LINK);
  LRESULT result = 0;
  // Some text services refuse the combined flags but take plain "on"; then at
  // least web addresses become links.
  if (TxSendMessage(EM_AUTOURLDETECT, kLinkDetection, 0, &result) != S_OK || result != 0) {
    TxSendMessage(EM_AUTOURLDETECT, kLinkDetectionPlain, 0, &result);
  }
}

void RichEditX::OnTxNotify(DWORD code, void* data) {
  if (code != EN_LINK) {
    RichEdit::OnTxNotify(code, data);
    return;
  }
  if (!data) return;
  const auto* link = static_cast<const ENLINK*>(data);
  if (link->msg != WM_LBUTTONUP) return;
  OnLinkClicked(link->chrg);
}

void RichEditX::OnLinkClicked(const CHARRANGE& range) {
  CHARRANGE selection = range;
  SetSelRange(selection);
  const std::wstring text = GetTextRange(range.cpMin, range.cpMax);
  OpenLink(LinkTarget(text));
  SetSel(range.cpMax, range.cpMax);
}

std::wstring RichEditX::LinkTarget(const std::wstring& linkText) {
  if (!StartsWithFileScheme(linkText)) return linkText;
  // A proper file address: percent escapes decoded, "file://server/share" as UNC.
  wchar_t path[MAX_PATH * 4] = {};
  DWORD length = ARRAYSIZE(path);
  if (SUCCEEDED(PathCreateFromUrlW(linkText.c_str(), path, &length, 0))) return path;
  // Anything else: the text after "file:" and its slashes, read like a link path.
  size_t start = 5;
  while (start < linkText.size() && (linkText[start] == L'/' || linkText[start] == L'\\')) ++start;
  return ResolveLinkPath(linkText.substr(start));
}

void RichEditX::OpenLink(const std::wstring& target) {
  ShellExecuteW(nullptr, L"open", target.c_str(), L"", L"", SW_SHOWNORMAL);
}

}  // namespace ui
