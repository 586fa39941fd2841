// The link box menu and the commands it shares with the tag item menu: adding
// files and folders to the current tag, its icon size, view and sort order, its
// icons made anew, and clearing it. Each change goes to the link store first; the
// cards are rebuilt only after the store took it.
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <array>
#include <string>
#include <utility>

#include "app/dialogs/sys_wnd.h"
#include "app/dialogs/url_wnd.h"
#include "app/main_window/main_wnd.h"
#include "app/main_window/main_wnd_notices.h"
#include "app/new_links/item_id_list_link.h"
#include "app/new_links/link_record.h"
#include "app/new_links/web_icon_lookup.h"
#include "data/group.h"
#include "data/hot_key_table.h"
#include "data/icon_cache.h"
#include "data/link.h"
#include "data/link_path.h"
#include "data/link_store.h"
#include "data/program_dir.h"
#include "data/settings.h"
#include "data/system_links.h"
#include "ui/controls/list_box.h"
#include "ui/controls/menu_item.h"
#include "ui/controls/menu_mgr.h"
#include "ui/controls/menu_ui.h"

namespace {

constexpr wchar_t kCannotClearNotice[] = L"特殊标签不能清理";
constexpr wchar_t kRunCountOffNotice[] = L"请在设置中勾选【记录启动次数】";
constexpr wchar_t kFolderNotAddedNotice[] = L"无法为此文件夹创建链接";

// A level's marks for the values 0, 1 and 2 of one view field.
struct MarkSet {
  const wchar_t* level;                 // the link box's level; the tag item menu's has a prefix
  std::array<const wchar_t*, 3> marks;  // by value; null where the value has none
};
constexpr MarkSet kIconSizeMarks = {L"icon_size", {L"btn_big_icon", L"btn_small_icon", L"btn_large_icon"}};
constexpr MarkSet kLayoutMarks = {L"view_type", {L"btn_view_tile", L"btn_view_list", nullptr}};
constexpr MarkSet kSortMarks = {L"view_sort", {L"btn_sort_normal", L"btn_sort_runcount", L"btn_sort_initial"}};

// Shows the mark of `value` and hides the others; a value without a mark changes nothing.
void SetMarks(ui::CMenuUI* level, const MarkSet& set, int32_t value) {
  if (value < 0 || value > 2 || !set.marks[static_cast<size_t>(value)]) return;
  for (size_t i = 0; i < set.marks.size(); ++i) {
    if (!set.marks[i]) continue;
    if (ui::Control* mark = level->FindChildByName(set.marks[i])) mark->SetFadeVisible(i == static_cast<size_t>(value));
  }
}

// The icon text the cache makes a new link's icon from.
std::wstring IconSourceOf(const Link& link) {
  if (link.TYPE == kLinkWebAddress || link.TYPE == kLinkBuiltinFunction || !link.ICON.empty()) {
    return ResolveLinkPath(link.ICON);
  }
  if (link.TYPE == kLinkItemIdList) return {};
  return ResolveLinkPath(link.PATH);
}

// A system file dialog may leave the process in the folder it browsed; relative
// paths of the program (databases, skin, settings) need the program folder back.
class ProgramDirRestorer {
 public:
  ProgramDirRestorer() = default;
  ~ProgramDirRestorer() { SetCurrentDirectoryW(GetProgramDir().c_str()); }
  ProgramDirRestorer(const ProgramDirRestorer&) = delete;
  ProgramDirRestorer& operator=(const ProgramDirRestorer&) = delete;
};

}  // namespace

std::shared_ptr<Group> CMainWnd::CurrentTag() const { return CurrentCardTag(); }

bool CMainWnd::MarkTagMenu(ui::CMenuMgr& menus, const Group& tag, const std::wstring& levelPrefix) {
  const std::pair<const MarkSet*, int32_t> fields[] = {
      {&kIconSizeMarks, tag.ICONSIZE}, {&kLayoutMarks, tag.LAYOUT}, {&kSortMarks, tag.SORT}};
  ui::CMenuUI* levels[std::size(fields)] = {};
  for (size_t i = 0; i < std::size(fields); ++i) {
    levels[i] = menus.FindMenu(levelPrefix + fields[i].first->level);
    if (!levels[i]) return false;
  }
  for (size_t i = 0; i < std::size(fields); ++i) SetMarks(levels[i], *fields[i].first, fields[i].second);
  return true;
}

bool CMainWnd::OnLinkBoxMenu(ui::EventArgs* event) {
  // A card's own right click reaches the list as well; that one is the card menu's.

  if (event && event->pSender && event->pSender != linkBox_) return false;
  const std::shared_ptr<Group> tag = CurrentTag();
  if (!tag) return false;
  if (!Menus() || !Menus()->FindMenu(L"linkbox") || !MarkTagMenu(*Menus(), *tag)) return false;
  // The command is for the tag the menu was opened over, found again by its ID: a
  // hovered group or tag may have taken its place on screen meanwhile.
  const int32_t tagId = tag->ID;
  POINT cursor = {};
  GetCursorPos(&cursor);
  std::wstring command;
  if (ui::CMenuItem* item = Menus()->ShowMenu(L"linkbox", cursor.x, cursor.y, false)) command = item->GetName();
  if (!command.empty()) RunTagCommand(tagId, command);
  return true;
}

bool CMainWnd::OnTagMenuCommand(const std::wstring& command) {
  const std::shared_ptr<Group> tag = CurrentTag();
  if (!tag) return false;
  return RunTagCommand(tag->ID, command);
}

bool CMainWnd::RunTagCommand(int32_t tagId, const std::wstring& command) {
  LinkStore& store = GetLinkStore();
  // Gone meanwhile (deleted with its group, say): nothing to act on.
  const std::shared_ptr<Group> tag = store.FindGroup(tagId);
  if (!tag || tag->IsTopLevel()) return false;
  const bool ordinary = tag->TYPE == kGroupOrdinary;

  if (command == L"add_file" || command == L"add_dir") {
    if (!ordinary) {
      ShowNotice(kCannotAddNotice);
      return true;
    }
    // The tag is found again by its ID once the picker is gone: one deleted
    // meanwhile takes no link (it would be a row no tag shows).
    if (command == L"add_file") {
      std::wstring path;
      if (!PickFile(path)) return true;
      if (const std::shared_ptr<Group> still = GetLinkStore().FindGroup(tagId)) AddPickedPath(still, path);
      return true;
    }
    const ui::AbsoluteItemIdList folder = PickFolder();
    if (!folder) return false;
    if (const std::shared_ptr<Group> still = GetLinkStore().FindGroup(tagId)) AddPickedFolder(still, folder.get());
    return true;
  }

  if (command == L"add_url" || command == L"add_sys") {
    if (!ordinary) {
      ShowNotice(kCannotAddNotice);
      return true;
    }
    if (command == L"add_url") {
      AddWebAddressLink(tag, {}, {});
      return true;
    }
    return AddSystemFunctionLink(tag);
  }

  struct ViewValue {
    const wchar_t* name;
    int32_t Group::*field;
    int32_t value;
  };
  static constexpr ViewValue kViewValues[] = {
      {L"small_icon", &Group::ICONSIZE, kIconSize16}, {L"big_icon", &Group::ICONSIZE, kIconSize32},
      {L"large_icon", &Group::ICONSIZE, kIconSize48}, {L"view_list", &Group::LAYOUT, kLayoutList},
      {L"view_tile", &Group::LAYOUT, kLayoutTiles}};
  for (const ViewValue& view : kViewValues) {
    if (command != view.name) continue;
    const int32_t previous = (*tag).*view.field;
    (*tag).*view.field = view.value;
    if (!store.SaveGroup(tag)) {
      (*tag).*view.field = previous;  // the view keeps what the file still holds
      ShowNotice(kSaveFailedNotice);
      return true;
    }
    OnTagSelect(nullptr);
    return true;
  }

  if (command == L"sort_normal" || command == L"sort_runcount" || command == L"sort_initial") {
    const int32_t sort = command == L"sort_normal" ? kSortByPosition
                         : command == L"sort_runcount" ? kSortByRunCount
                                                       : kSortByInitials;
    if (sort == kSortByRunCount && !GetSettings().bSaveRunCount) ShowNotice(kRunCountOffNotice);
    if (!store.SetGroupSort(tag, sort)) {
      ShowNotice(kSaveFailedNotice);
      return true;
    }
    OnTagSelect(nullptr);
    return true;
  }

  if (command == L"refresh_group_icon") {
    store.RefreshTagIcons(tag);
    OnTagSelect(nullptr);
    return true;
  }

  if (command == L"clear_group") {
    if (!ordinary) {
      ShowNotice(kCannotClearNotice);
      return true;
    }
    if (!ConfirmDelete()) return true;
    if (const std::shared_ptr<Group> still = GetLinkStore().FindGroup(tagId)) ClearTagLinks(still);
    return true;
  }
  return true;
}

bool CMainWnd::ClearTagLinks(const std::shared_ptr<Group>& tag) {
  // The links' chords go with them; they come back when the store keeps the links.
  const std::vector<std::shared_ptr<Link>> links = tag->links;
  HotKeyTable& chords = GetHotKeyTable();
  std::vector<std::shared_ptr<Link>> unregistered;
  for (const auto& link : links) {
    if (link && link->hotKeyId != 0 && chords.UnregisterLink(link)) unregistered.push_back(link);
  }
  if (!GetLinkStore().ClearTag(tag)) {
    for (const auto& link : unregistered) chords.RegisterLink(link);
    ShowNotice(kSaveFailedNotice);
    return false;
  }
  OnTagSelect(nullptr);
  return true;
}

bool CMainWnd::PickFile(std::wstring& path) {
  ProgramDirRestorer restore;
  wchar_t buffer[MAX_PATH] = {};
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = GetHWND();
  dialog.lpstrFilter = L"所有文件\0*.*\0";
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = buffer;
  dialog.nMaxFile = MAX_PATH;
  dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_NODEREFERENCELINKS;
  DialogScope scope(*this, nullptr);
  if (!GetOpenFileNameW(&dialog)) return false;
  path = buffer;
  return !path.empty();
}

ui::AbsoluteItemIdList CMainWnd::PickFolder() {
  ProgramDirRestorer restore;
  wchar_t displayName[MAX_PATH] = {};
  BROWSEINFOW browse = {};
  browse.hwndOwner = GetHWND();
  browse.pszDisplayName = displayName;
  browse.lpszTitle = L"请选择文件夹";
  browse.ulFlags = BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
  DialogScope scope(*this, nullptr);
  // The picker allocates the list with the shell's allocator, which is COM's.
  return ui::AbsoluteItemIdList::TakeOwnership(SHBrowseForFolderW(&browse));
}

bool CMainWnd::AddPickedFolder(const std::shared_ptr<Group>& tag, const ITEMIDLIST* folder) {
  wchar_t path[MAX_PATH] = {};
  if (SHGetPathFromIDListW(folder, path) && path[0] != L'\0') {
    if (!AddLinkFromPath(path)) {
      ShowNotice(kFolderNotAddedNotice);
      return false;
    }
    return AddPickedPath(tag, path);
  }
  // A special folder without a file-system path (a library, the computer, the
  // control panel) is kept by its item-ID list, as a dropped shell item is.
  const ItemIdListLink made = MakeItemIdListLink(folder, /*linkableOnly=*/false);
  if (!made.link) {
    ShowNotice(kFolderNotAddedNotice);
    return false;
  }
  if (!GetLinkStore().AddLink(tag, made.link)) {
    ShowNotice(kSaveFailedNotice);
    return false;
  }
  GetIconCache().AddSysIconToCache(made.link->GetIconKey(), made.iconIndex);
  OnTagSelect(nullptr);
  return true;
}

bool CMainWnd::AddPickedPath(const std::shared_ptr<Group>& tag, const std::wstring& path) {
  std::shared_ptr<Link> link = AddLinkFromPath(path);
  if (!link) return false;
  if (!GetLinkStore().AddLink(tag, link)) {
    ShowNotice(kSaveFailedNotice);
    return false;
  }
  GetIconCache().AddPathToCache(link->GetIconKey(), IconSourceOf(*link));  // a link without an icon still shows, with the fallback icon
  OnTagSelect(nullptr);
  return true;
}

bool CMainWnd::AddWebAddressLink(const std::shared_ptr<Group>& tag, const std::wstring& proposedName,
                                 const std::wstring& proposedAddress) {
  std::wstring name, address, remark;
  {
    auto dialog = std::make_unique<CUrlWnd>();
    dialog->SetHeading(L"新增URL链接");
    dialog->SetName(proposedName);
    dialog->SetUrl(proposedAddress);
    DialogScope scope(*this, dialog.get());
    if (RunOwnedDialog(dialog, GetHWND(), L"UrlWnd") != CDialogWnd::kResultOk) return true;
    name = dialog->GetName();
    address = dialog->GetUrl();
    remark = dialog->GetRemark();
    if (address.empty()) return true;
  }
  // A tag deleted while the dialog was up takes no link.
  if (GetLinkStore().FindGroup(tag->ID) != tag) return true;
  std::wstring icon = FindWebIconFile(address, WebIconLookup::kDrop);
  std::shared_ptr<Link> link = MakeLinkRecord(kLinkWebAddress, name.empty() ? address : name, address,
                                              icon.empty() ? L"#url" : icon, {}, {}, false, {}, remark);
  if (!GetLinkStore().AddLink(tag, link)) {
    ShowNotice(kSaveFailedNotice);
    return false;
  }
  GetIconCache().AddPathToCache(link->GetIconKey(), IconSourceOf(*link));  // a link without an icon still shows, with the fallback icon
  OnTagSelect(nullptr);
  return true;
}

bool CMainWnd::AddSystemFunctionLink(const std::shared_ptr<Group>& tag) {
  int32_t row = -1;
  {
    auto dialog = std::make_unique<CSysWnd>();
    DialogScope scope(*this, dialog.get());
    if (RunOwnedDialog(dialog, GetHWND(), L"SysWnd") != CDialogWnd::kResultOk) return true;
    row = dialog->GetChosenRow();
  }
  if (GetLinkStore().FindGroup(tag->ID) != tag) return true;
  const std::vector<SystemLink>& table = SystemLinkTable();
  if (row < 0 || static_cast<size_t>(row) >= table.size()) return true;
  const SystemLink& entry = table[static_cast<size_t>(row)];
  std::shared_ptr<Link> link = MakeLinkRecord(static_cast<int32_t>(entry.kind), entry.NAME, entry.PATH, entry.ICON,
                                              entry.Parameter, {}, false, {}, entry.Remark);
  if (!GetLinkStore().AddLink(tag, link)) {
    ShowNotice(kSaveFailedNotice);
    return false;
  }
  OnTagSelect(nullptr);
  return true;
}
