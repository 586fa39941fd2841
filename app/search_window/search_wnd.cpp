#include "app/search_window/search_wnd.h"

#include <windows.h>
#include <commoncontrols.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

#include "app/controls/search_list_box.h"
#include "app/desktop/force_foreground.h"
#include "app/desktop/window_alpha.h"
#include "app/launching/launch_notices.h"
#include "app/launching/launch_thread.h"
#include "app/launching/link_location.h"
#include "app/launching/shell_actions.h"
#include "app/search_window/notice_wnd.h"
#include "data/icon_bitmaps.h"
#include "data/link.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "search_client/file_search.h"
#include "search_client/service_protocol.h"
#include "ui/base/dpi_scaler.h"
#include "ui/base/image_info.h"
#include "ui/base/string_util.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/controls/list_container_element.h"
#include "ui/controls/menu_item.h"
#include "ui/controls/menu_mgr.h"
#include "ui/controls/menu_ui.h"
#include "ui/controls/rich_edit.h"
#include "ui/core/list_interfaces.h"

namespace {

using TextLabel = ui::LabelTemplate<ui::Control>;

HHOOK g_searchHook = nullptr;
HWND g_searchHookWindow = nullptr;

void SetItemLabel(ui::CMenuUI* menu, const wchar_t* itemName, const wchar_t* labelName, const wchar_t* text) {
  auto* item = menu ? dynamic_cast<ui::Box*>(menu->FindChildByName(itemName)) : nullptr;
  auto* label = item ? dynamic_cast<TextLabel*>(item->FindChildByName(labelName)) : nullptr;
  if (label) label->SetText(text);
}

std::wstring ServiceImageKey(const std::wstring& path) { return L"?s:" + ToLowerAscii(path); }

// As many refused launches as a user could start before the first refusal comes back.
constexpr size_t kRememberedLaunches = 32;

// A service that stopped answering messages would hold a sent query for as long as
// it stays hung; a short probe first keeps that wait bounded.
bool ServiceAnswers(UINT timeoutMs) {
  HWND service = FindWindowW(search_client::kServiceWindowClass, nullptr);
  if (!service) return false;
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(service, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, timeoutMs, &answer) != 0;
}

}  // namespace

CSearchWnd::CSearchWnd() = default;

CSearchWnd::~CSearchWnd() {
  if (g_searchHookWindow && g_searchHookWindow == GetHWND()) RemoveSearchMouseHook();
  ForgetServiceResults();
}

std::shared_ptr<Link> CSearchWnd::Result(size_t index) const {
  return index < results.size() ? results[index].lock() : nullptr;
}

int CSearchWnd::ServiceMaximum(size_t localCount) {
  return localCount >= 16 ? 16 : 32 - static_cast<int>(localCount);
}

void CSearchWnd::InitWindow() {
  SetWindowAlpha(LauncherWindowAlpha());
  inSizeMove = 0;
  resultList = dynamic_cast<ui::SearchListBox*>(FindControlByName(L"linkbox"));
  searchEdit = dynamic_cast<ui::RichEdit*>(FindControlByName(L"edit_search"));
  ResetSearch();
  if (searchEdit) {
    searchEdit->AttachTextChangeEvent(ToWeakCallback([this](ui::EventArgs* e) { return OnSearchTextChange(e); }));
    searchEdit->AttachReturnEvent(ToWeakCallback([this](ui::EventArgs* e) { return OnSearchReturn(e); }));
    searchEdit->SetFocus();
    searchEdit->SetImmStatus(false);
  }
  menuMgr = std::make_unique<ui::CMenuMgr>(GetHWND());
  menuMgr->LoadXml(GetHWND(), L"menu\\menu_search.xml");
}

void CSearchWnd::FitHeight(size_t rows) {
  const int shown = static_cast<int>(std::min<size_t>(rows, kMaxVisibleRows));
  if (resultList) resultList->SetFixedHeight(shown * kRowHeight);
  if (!GetHWND()) return;
  RECT rc = GetWindowRectWithoutShadow(false);
  // The band and the rows are laid out scaled; the window is placed in pixels.
  const LONG bottom = rc.top + DpiScaler::Instance().ScaleInt(kEditBand + shown * kRowHeight);
  // Most keys keep the height: the window system is not asked to place the
  // window again for nothing.
  if (rc.bottom == bottom) return;
  rc.bottom = bottom;
  // A height change of the program's own is no move of the user's: it never
  // saves. The window keeps its place in the z-order and its activation.
  programMove_ = true;
  SetWindowPosition(rc, false, SWP_NOZORDER | SWP_NOACTIVATE);
  programMove_ = false;
}

void CSearchWnd::ResetSearch() {
  if (resultList) resultList->SetFixedHeight(0);
  if (searchEdit) searchEdit->SetText(L"");
  FitHeight(0);
}

bool CSearchWnd::OnSearchTextChange(ui::EventArgs*) {
  if (!resultList || !searchEdit) return true;
  // Every new row, its icon and its labels invalidate themselves as they are laid
  // out: one invalidation of their union (and one paint) per keystroke instead.
  ui::Window::InvalidationBatch invalidations(this);
  results.clear();
  // Any reply still on its way answers an older text.
  ++replyId_;
  queryPending_ = false;
  const std::wstring text = searchEdit->GetText();
  if (text.empty()) {
    SpareRows();
    FitHeight(0);
    return true;
  }
  const Settings& settings = GetSettings();
  std::vector<std::weak_ptr<Link>> local;
  GetLinkStore().Search(text, local, settings.nSearchCount);
  results.assign(local.begin(), local.end());
  localCount_ = results.size();
  AddRows(0);
  if (settings.bOpenFileSearch) AskService(text, localCount_);
  return true;
}

void CSearchWnd::ForgetServiceResults() {
  for (const auto& link : serviceResults) {
    const std::wstring key = ServiceImageKey(link->PATH);
    if (ui::UiGlobals::FindCachedImage(key)) ui::UiGlobals::RemoveCachedImage(key);
  }
  serviceResults.clear();
  resultIcons.clear();
}

void CSearchWnd::AskService(const std::wstring& text, size_t localCount) {
  ForgetServiceResults();
  if (!ServiceAnswers(kServiceProbeMs)) return;
  FileSearch_SetReplyWindow(GetHWND());
  FileSearch_SetReplyID(replyId_);
  FileSearch_SetSearchW(text.c_str());
  FileSearch_SetMax(static_cast<DWORD>(ServiceMaximum(localCount)));
  // Set before sending: the service may reply while the query is being delivered.
  queryPending_ = true;
  if (!FileSearch_QueryW(FALSE)) queryPending_ = false;
}

void CSearchWnd::TakeServiceResults() {
  queryPending_ = false;
  ui::Window::InvalidationBatch invalidations(this);
  const size_t first = results.size();
  wchar_t buffer[1024];
  for (DWORD i = 0; i < FileSearch_GetNumResults(); ++i) {
    const wchar_t* name = FileSearch_GetResultFileNameW(i);
    buffer[0] = L'\0';
    FileSearch_GetResultFullPathNameW(i, buffer, 1024);
    auto link = MakeServiceLink(name ? name : L"", buffer);
    serviceResults.push_back(link);
    results.push_back(link);
  }
  if (results.size() > first) AddRows(first);
}

std::shared_ptr<Link> CSearchWnd::MakeServiceLink(const std::wstring& name, const std::wstring& path) {
  auto link = std::make_shared<Link>();
  link->TYPE = kLinkFile;
  link->NAME = name;
  link->PATH = path;
  PrepareServiceIcon(*link);
  link->CustomColor = kServiceColor;
  return link;
}

void CSearchWnd::PrepareServiceIcon(Link& link) {
  int index = -1;
  if (!GetItemIconIndex(link.PATH, index)) return;
  if (index == GetStockFolderIconIndex()) {
    link.ICON = L"#dir";
    return;
  }
  const std::wstring imageKey = ServiceImageKey(link.PATH);
  if (index < 0 || ui::UiGlobals::FindCachedImage(imageKey)) return;
  HICON icon = sysImageList.GetIcon(IconCache::kSize16, index);
  if (!icon) return;
  PixelBuffer pixels;
  ui::GpBitmapPtr bitmap = BitmapFromHICON(icon, pixels);
  DestroyIcon(icon);
  if (!bitmap) return;
  std::shared_ptr<ui::ImageInfo> image = ui::ImageInfo::LoadFromBitmap(bitmap.get(), imageKey);
  if (!image) return;
  ui::UiGlobals::AddCachedImage(image);
  IconCacheEntry& entry = resultIcons[ToLowerAscii(link.PATH)];
  entry.key = ToLowerAscii(link.PATH);
  entry.image16 = image;
}

ui::Control* CSearchWnd::NewRow() {
  auto* row = new ui::ListContainerElement;
  ui::UiGlobals::FillBoxFromXml(row, L"main/item_search.xml",
                                ToWeakCallback([this](const std::wstring& name) { return CreateControl(name); }));
  row->AttachEvent(ui::click, ToWeakCallback([this](ui::EventArgs* e) { return OnResultClick(e); }));
  row->AttachEvent(ui::return_, ToWeakCallback([this](ui::EventArgs* e) { return OnResultClick(e); }));
  row->AttachEvent(ui::menu, ToWeakCallback([this](ui::EventArgs* e) { return OnResultMenu(e); }));
  if (!rowTemplate_.known) {
    // What a row refilled for another result goes back to.
    if (auto* icon = row->FindChildByName(L"item_icon")) {
      rowTemplate_.icon = icon->GetBkImage().attributes.wholeText;
      rowTemplate_.iconFile = icon->GetBkImage().attributes.file;
    }
    if (auto* text = dynamic_cast<TextLabel*>(row->FindChildByName(L"item_text")))
      rowTemplate_.textColor = text->GetTextColor();
    if (auto* desc = row->FindChildByName(L"item_desc")) rowTemplate_.descWidth = desc->GetFixedWidth();
    rowTemplate_.known = true;
  }
  return row;
}

ui::Control* CSearchWnd::MakeRow(size_t index) {
  if (Result(index) && !sparedRows_.empty()) {
    std::unique_ptr<ui::Control> spared = std::move(sparedRows_.back());
    sparedRows_.pop_back();
    if (FillRow(spared.get(), index)) return spared.release();
  }
  std::unique_ptr<ui::Control> row(NewRow());
  FillRow(row.get(), index);
  return row.release();
}

void CSearchWnd::SpareRows() {
  // The list lets go of its rows without deleting them; those of a view wait
  // for the next search, the others go as the list would delete them.
  const std::vector<ui::Control*> rows = resultList->GetItems();
  resultList->SetAutoDestroyChild(false);
  resultList->RemoveAll();
  resultList->SetAutoDestroyChild(true);
  for (ui::Control* row : rows) {
    if (sparedRows_.size() >= kMaxVisibleRows) {
      AddDelayedDelete(row);
      continue;
    }
    // Out of the tree: no longer the hovered or pushed control, nor found by name,
    // and back in the look of a new row.
    ForgetControl(row);
    if (auto* element = dynamic_cast<ui::ListContainerElement*>(row)) element->SetItemSelected(false, false);
    row->SetState(ui::kControlStateNormal);
    // Without a place, as a new row: scrolling a row into view before the list
    // is laid out must not go by where it stood in the emptied list.
    row->SetPos(RECT{0, 0, 0, 0});
    if (auto* box = dynamic_cast<ui::Box*>(row)) {
      for (ui::Control* child : box->GetItems()) ForgetControl(child);
    }
    sparedRows_.emplace_back(row);
  }
}

void CSearchWnd::PrepareRows() {
  if (!resultList) return;
  while (sparedRows_.size() < kMaxVisibleRows) sparedRows_.emplace_back(NewRow());
  if (!rowTemplate_.iconImage && !rowTemplate_.iconFile.empty()) {
    rowTemplate_.iconImage = ui::UiGlobals::GetImage(resultList->GetImageFullPath(rowTemplate_.iconFile));
  }
}

bool CSearchWnd::FillRow(ui::Control* item, size_t index) {
  auto* row = dynamic_cast<ui::Box*>(item);
  const std::shared_ptr<Link> link = Result(index);
  if (!row || !link) return false;
  // Each value is set only when it differs: a row that already shows this
  // result is not painted again.
  const bool localRow = index < localCount_;
  const std::wstring imageKey = IconCache::MakeImageKey(link->GetIconKey(), IconCache::kSize16);
  if (auto* icon = row->FindChildByName(L"item_icon")) {
    const std::wstring& image = IconCache::IsCached(imageKey) ? imageKey : rowTemplate_.icon;
    if (icon->GetBkImage().attributes.wholeText != image) icon->SetBkImage(image);
  }
  if (auto* text = dynamic_cast<TextLabel*>(row->FindChildByName(L"item_text"))) {
    text->SetText(link->NAME);
    // State colours are looked up by name: a literal "#AARRGGBB" is entered
    // under its own text, or the row would be drawn fully transparent.
    if (!link->CustomColor.empty() && ui::UiGlobals::GetColor(link->CustomColor) == 0) {
      ui::UiGlobals::AddColor(link->CustomColor, link->CustomColor);
    }
    const std::wstring& color = link->CustomColor.empty() ? rowTemplate_.textColor : link->CustomColor;
    if (text->GetTextColor() != color) text->SetAttribute(L"normaltextcolor", color);
  }
  if (auto* desc = dynamic_cast<TextLabel*>(row->FindChildByName(L"item_desc"))) {
    // A service row has no remark: its name takes the whole row.
    const int width = localRow ? rowTemplate_.descWidth : 0;
    if (desc->GetFixedWidth() != width) desc->SetFixedWidth(width, true, false);
    desc->SetText(localRow ? link->Remark : std::wstring());
  }
  const Settings& settings = GetSettings();
  std::wstring tip;
  if (settings.bShowTooltip) {
    if (link->ParentGroup != 0) {
      if (auto tag = GetLinkStore().FindGroup(link->ParentGroup)) {
        if (auto group = GetLinkStore().FindGroup(tag->ParentGroup)) tip += group->NAME + L" > ";
        tip += tag->NAME + L"\r\n";
      }
    }
    if (localRow) tip += link->NAME + L"\r\n";
    tip += link->PATH + L"\r\n";
    if (!link->Remark.empty()) tip += link->Remark + L"\r\n";
    if (localRow && settings.bRunCount) tip += L"启动次数：" + std::to_wstring(link->RunCount);
  }
  if (row->GetToolTipText() != tip) row->SetToolTipText(tip);
  row->SetToolTipWidth(400);
  return true;
}

void CSearchWnd::AddRows(size_t from) {
  // Only the rows in view are built now; the others are built from `results` as
  // they scroll into view or a selection reaches them.
  if (from == 0) {
    // The rows already in view are refilled: those whose result stayed are left
    // as they are, and a keystroke repaints only the rows that changed.
    resultList->ReplaceItemSource(
        static_cast<int>(results.size()), [this](int index) { return MakeRow(static_cast<size_t>(index)); },
        [this](ui::Control* row, int index) { return FillRow(row, static_cast<size_t>(index)); });
  } else {
    resultList->SetTotalItems(static_cast<int>(results.size()));
  }
  FitHeight(results.size());
  // Rows appended for a late service reply keep a selection the user already moved.
  if (resultList->GetTotalItems() > 0 && (from == 0 || resultList->GetCurSel() < 0)) {
    resultList->SelectItem(0, false, true);
    resultList->EnsureVisible(0);
  }
}

bool CSearchWnd::LaunchResult(int index, bool elevated) {
  if (index < 0 || static_cast<size_t>(index) >= results.size()) return false;
  return LaunchLink(results[static_cast<size_t>(index)].lock(), elevated);
}

bool CSearchWnd::LaunchLink(const std::shared_ptr<Link>& link, bool elevated) {
  if (!link) return false;
  const LPARAM mark = ++lastLaunchMark_;
  launchNames_.emplace_back(mark, link->NAME);
  if (launchNames_.size() > kRememberedLaunches) launchNames_.pop_front();
  const bool started = StartLinkThread(*link, elevated, GetHWND(), mark);
  ShowWindow(false, true);
  if (!started) ShowNotice(CannotOpenNotice(link->NAME));
  // Counted as a card click counts: when the launch is asked for, whatever the
  // system answers later.
  if (link->ParentGroup != 0 && GetSettings().bSaveRunCount) {
    ++link->RunCount;
    GetLinkStore().SaveRunCount(link);
  }
  return true;
}

void CSearchWnd::ShowLaunchFailedNotice(int32_t linkId, LPARAM mark) {
  std::wstring name;
  const auto launch = std::find_if(launchNames_.begin(), launchNames_.end(),
                                   [mark](const auto& entry) { return entry.first == mark; });
  if (launch != launchNames_.end()) {
    name = launch->second;
    launchNames_.erase(launch);
  } else if (const std::shared_ptr<Link> link = linkId != 0 ? GetLinkStore().FindLink(linkId) : nullptr) {
    name = link->NAME;
  }
  ShowNotice(CannotOpenNotice(name));
}

CNoticeWnd* CSearchWnd::Notice() const { return noticeAlive_.expired() ? nullptr : notice_; }

void CSearchWnd::ShowNotice(const std::wstring& text) {
  lastNotice_ = text;
  if (!GetHWND()) return;
  if (!Notice()) {
    notice_ = CNoticeWnd::Make(GetHWND());
    noticeAlive_ = notice_ ? notice_->GetWeakFlag() : std::weak_ptr<nbase::WeakFlag>();
  }
  // Over the edit band, whether the window is shown or where it stood.
  RECT band = GetWindowRectWithoutShadow(false);
  band.bottom = band.top + DpiScaler::Instance().ScaleInt(kEditBand);
  if (CNoticeWnd* notice = Notice()) notice->ShowOver(text, band);
}

bool CSearchWnd::OnSearchReturn(ui::EventArgs*) {
  if (results.empty()) return true;
  return LaunchResult(resultList ? resultList->GetCurSel() : -1, false);
}

bool CSearchWnd::OnResultClick(ui::EventArgs* event) {
  auto* item = event ? dynamic_cast<ui::IListItem*>(event->pSender) : nullptr;
  if (!item) return false;
  return LaunchResult(item->GetIndex(), false);
}

bool CSearchWnd::OnResultMenu(ui::EventArgs* event) {
  auto* item = event ? dynamic_cast<ui::IListItem*>(event->pSender) : nullptr;
  if (!item) return false;
  const int index = item->GetIndex();
  if (index < 0 || static_cast<size_t>(index) >= results.size()) return false;
  // The menu acts on this result whatever the list shows once it closed: a letter
  // typed meanwhile rebuilds the results under it. A stored link is taken by its
  // ID, and one deleted meanwhile is left alone; a file result keeps the path it
  // had when the menu opened.
  const std::shared_ptr<Link> link = results[static_cast<size_t>(index)].lock();
  if (!link) return false;
  const bool stored = static_cast<size_t>(index) < localCount_;
  const int32_t linkId = link->ID;
  if (!menuMgr) {
    menuMgr = std::make_unique<ui::CMenuMgr>(GetHWND());
    menuMgr->LoadXml(GetHWND(), L"menu\\menu_search.xml");
  }
  POINT cursor = {};
  GetCursorPos(&cursor);
  if (ui::CMenuUI* menu = menuMgr->FindMenu(L"menu_search_item")) {
    const bool web = link->TYPE == kLinkWebAddress;
    SetItemLabel(menu, L"use_admin", L"label_use_admin", web ? L"以隐私模式运行" : L"以管理员身份运行");
    SetItemLabel(menu, L"open_path", L"label_open_path", web ? L"复制网址(URL)" : L"打开文件位置");
  }
  ui::CMenuItem* clicked = menuMgr->ShowMenu(L"menu_search_item", cursor.x, cursor.y, false);
  if (!clicked) return true;
  const std::wstring command = clicked->GetName();
  RunResultCommand(command, stored ? GetLinkStore().FindLink(linkId) : link, cursor);
  return true;
}

bool CSearchWnd::RunResultCommand(const std::wstring& command, const std::shared_ptr<Link>& link, POINT cursor) {
  if (!link) return false;
  if (command == L"use_admin") return LaunchLink(link, true);
  if (command == L"open_path") {
    ShowWindow(false, true);
    const std::wstring path = link->GetResolvedPath();
    bool opened = false;
    switch (link->TYPE) {
      case kLinkWebAddress:
        return CopyTextToClipboard(GetHWND(), path);
      case kLinkBuiltinFunction:
        return false;  // it has no place on the disk to show
      case kLinkItemIdList:
        // The target lives in the stored item-ID list; its path is empty.
        opened = OpenContainingFolderOfList(link->Pidl);
        break;
      default:
        opened = OpenContainingFolder(path);
        break;
    }
    if (!opened) ShowNotice(CannotOpenLocationNotice(link->NAME));
    return opened;
  }
  if (command == L"winshell") return ShowLinkShellMenu(GetHWND(), *link, cursor, shellMenuOpen) > 0;
  return false;
}

void CSearchWnd::SelectAndShow(int index) {
  if (index < 0) return;
  resultList->SelectItem(index, true, true);
  resultList->EnsureVisible(index);
}

bool CSearchWnd::HandleKey(WPARAM key) {
  if (!resultList) return false;
  const int count = resultList->GetTotalItems();
  const int cur = resultList->GetCurSel();
  // The rows a key can reach are built first: the search for a selectable row
  // looks only at rows that exist.
  const bool backTab = key == VK_TAB && (GetKeyState(VK_SHIFT) & 0x8000);
  if (key == VK_END || (backTab && cur <= 0)) {
    resultList->MakeItemsThrough(count - 1);
  } else if (key == VK_DOWN || (key == VK_TAB && !backTab)) {
    resultList->MakeItemsThrough(cur + 1);
  }
  switch (key) {
    case VK_TAB:
      if (count == 0) break;
      if (backTab) {
        SelectAndShow(cur > 0 ? resultList->FindSelectable(cur - 1, false)
                              : resultList->FindSelectable(count - 1, true));
      } else {
        SelectAndShow(cur < count - 1 ? resultList->FindSelectable(cur + 1, true)
                                      : resultList->FindSelectable(0, false));
      }
      break;
    case VK_END:
      if (count > 0) {
        resultList->SelectItem(resultList->FindSelectable(count - 1, true), true, true);
        resultList->EnsureVisible(count - 1);
      }
      break;
    case VK_HOME:
      if (count > 0) {
        resultList->SelectItem(resultList->FindSelectable(0, false), true, true);
        resultList->EnsureVisible(0);
      }
      break;
    case VK_UP:
      if (count > 0 && cur != 0) {
        int target = resultList->FindSelectable(cur - 1, false);
        if (target < 0) target = resultList->FindSelectable(0, true);
        SelectAndShow(target);
      }
      break;
    case VK_DOWN:
      if (count > 0 && cur != count - 1) SelectAndShow(resultList->FindSelectable(cur + 1, true));
      break;
    default:
      return false;
  }
  if (searchEdit) searchEdit->SetFocus();
  return true;
}

bool CSearchWnd::ShouldHideOnOutsideClick() const {
  if (shellMenuOpen || !IsWindowVisible(GetHWND()) || !menuMgr || menuMgr->GetOpenMenu()) return false;
  POINT cursor = {};
  GetCursorPos(&cursor);
  RECT rc = {};
  GetWindowRect(GetHWND(), &rc);
  return !PtInRect(&rc, cursor);
}

void CSearchWnd::BringUp() {
  HWND hwnd = GetHWND();
  if (!hwnd) return;
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ShowWindow(true, true);
  ForceForegroundWindow(hwnd);
  if (searchEdit) {
    searchEdit->SetFocus();
    searchEdit->SetImmStatus(false);
  }
}

LRESULT CSearchWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // The window may be destroyed (and this object deleted) inside the handling.
  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  ++handlerDepth_;
  const LRESULT result = HandleOwnMessage(message, wParam, lParam);
  if (!alive.expired()) --handlerDepth_;
  return result;
}

void CSearchWnd::EndOpenMenus() {
  if (menuMgr && menuMgr->IsRunning()) menuMgr->Dismiss();
}

LRESULT CSearchWnd::HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (wParam == VK_ESCAPE && IsWindowVisible(GetHWND())) {
        ::ShowWindow(GetHWND(), SW_HIDE);
        return 0;
      }
      if (HandleKey(wParam)) return 0;
      break;
    case WM_KILLFOCUS:
    case kHookButtonMessage:
      if (ShouldHideOnOutsideClick()) ::ShowWindow(GetHWND(), SW_HIDE);
      if (message == kHookButtonMessage) return 0;
      break;  // the framework still learns that the focus left
    case WM_SHOWWINDOW:
      if (wParam == 1) {
        // A new search begins where the notice stands: the user has read it.
        if (CNoticeWnd* notice = Notice()) notice->Dismiss();
        ResetSearch();
        // The first letter then refills rows made while the user reaches the keys.
        if (sparedRows_.size() < kMaxVisibleRows) PostMessageW(GetHWND(), kPrepareRowsMessage, 0, 0);
        SetWindowPos(GetHWND(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        if (searchEdit) {
          searchEdit->SetImmStatus(false);
          searchEdit->SetFocus();
        }
      }
      break;
    case WM_COPYDATA:
      // Only the reply to the current query is stored; older ones are refused.
      if (FileSearch_IsQueryReply(message, wParam, lParam, replyId_)) {
        // The client may still be inside the query's send: read the list later.
        PostMessageW(GetHWND(), kServiceReplyMessage, replyId_, 0);
        return TRUE;
      }
      return FALSE;
    case kPrepareRowsMessage:
      PrepareRows();
      return 0;
    case kLaunchFailedMessage:
      ShowLaunchFailedNotice(static_cast<int32_t>(wParam), lParam);
      return 0;
    case kServiceReplyMessage:
      if (wParam == replyId_ && queryPending_) TakeServiceResults();
      return 0;
    case WM_ENTERSIZEMOVE:
      inSizeMove = 1;
      break;
    case WM_EXITSIZEMOVE:
      inSizeMove = 0;
      break;
    default:
      break;
  }
  return ui::WindowImplBase::HandleMessage(message, wParam, lParam);
}

LRESULT CSearchWnd::OnWindowPosChanging(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  if (inSizeMove == 1 && !programMove_ && GetHWND()) {
    KillTimer(GetHWND(), kTimerSavePosition);
    SetTimer(GetHWND(), kTimerSavePosition, 1000, nullptr);
  }
  return ui::WindowImplBase::OnWindowPosChanging(message, wParam, lParam, handled);
}

LRESULT CSearchWnd::OnSize(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  if (inSizeMove == 1 && !programMove_ && GetHWND()) {
    KillTimer(GetHWND(), kTimerSavePosition);
    SetTimer(GetHWND(), kTimerSavePosition, 1000, nullptr);
  }
  return ui::WindowImplBase::OnSize(message, wParam, lParam, handled);
}

LRESULT CSearchWnd::OnTimer(UINT, WPARAM wParam, LPARAM, bool& handled) {
  handled = true;
  if (wParam == kTimerSavePosition) {
    KillTimer(GetHWND(), kTimerSavePosition);
    RECT rc = {};
    GetWindowRect(GetHWND(), &rc);
    Settings& settings = GetSettings();
    settings.nSearchX = rc.left;
    settings.nSearchY = rc.top;
    settings.Save();
  }
  return 0;
}

LRESULT CALLBACK SearchMouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (g_searchHook && g_searchHookWindow && code == HC_ACTION &&
      (wParam == WM_LBUTTONDOWN || wParam == WM_RBUTTONDOWN || wParam == WM_MBUTTONDOWN)) {
    SendMessageW(g_searchHookWindow, CSearchWnd::kHookButtonMessage, wParam, lParam);
  }
  return CallNextHookEx(g_searchHook, code, wParam, lParam);
}

bool InstallSearchMouseHook(HWND searchWindow) {
  RemoveSearchMouseHook();
  g_searchHookWindow = searchWindow;
  g_searchHook = SetWindowsHookExW(WH_MOUSE_LL, SearchMouseHookProc, GetModuleHandleW(nullptr), 0);
  return g_searchHook != nullptr;
}

void RemoveSearchMouseHook() {
  if (g_searchHook) UnhookWindowsHookEx(g_searchHook);
  g_searchHook = nullptr;
  g_searchHookWindow = nullptr;
}
