// Drops on the main window: files and folders become links of the current tag,
// shell items item-ID-list links, browser links web-address links; a note tag
// takes the paths or the address as text.
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include "app/main_window/main_wnd.h"
#include "app/main_window/main_wnd_notices.h"
#include "app/new_links/drop_integrity.h"
#include "app/new_links/drop_target.h"
#include "app/new_links/item_id_list_link.h"
#include "app/new_links/link_from_path.h"
#include "app/new_links/link_record.h"
#include "data/group.h"
#include "data/icon_cache.h"
#include "data/link.h"
#include "data/link_path.h"
#include "data/link_store.h"
#include "ui/base/windows_version.h"
#include "ui/controls/rich_edit.h"

namespace {

// The text the icon cache makes a new link's icon from.
std::wstring IconSourceOf(const Link& link) {
  if (link.TYPE == kLinkItemIdList) return {};
  if (link.TYPE == kLinkWebAddress || link.TYPE == kLinkBuiltinFunction || !link.ICON.empty()) {
    return ResolveLinkPath(link.ICON);
  }
  return ResolveLinkPath(link.PATH);
}

}  // namespace

void CMainWnd::DropTargetDeleter::operator()(CDropTargetEx<CMainWnd>* target) const { delete target; }

bool CMainWnd::RegisterDropTarget() {
  if (dropTarget_) return true;
  dropTarget_.reset(new CDropTargetEx<CMainWnd>(*this));
  dropTarget_->SetOwnerWindow(GetHWND());
  if (FAILED(RegisterDragDrop(GetHWND(), dropTarget_.get()))) {
    dropTarget_.reset();
    return false;
  }
  return true;
}

void CMainWnd::SetUpDrops() {
  const bool selfElevated = IsProcessElevated(GetCurrentProcess());
  const bool shellElevated = selfElevated && IsShellElevated();
  if (ChooseDropRoute(selfElevated, shellElevated, &LowerToMediumIntegrity) == DropRoute::kOleTarget) {
    RegisterDropTarget();
  } else {
    AcceptShellFileDrops(GetHWND());
  }
}

void CMainWnd::RevokeDropTarget() {
  if (!dropTarget_) return;
  RevokeDragDrop(GetHWND());
  dropTarget_.reset();
}

// Drops go to the tag whose cards are shown, as card commands do.
std::shared_ptr<Group> CMainWnd::CurrentDropTag() { return CurrentCardTag(); }

bool CMainWnd::CanTakeDrops() {
  // A modal dialog disables its owner: a drop then would open a second dialog or
  // change the store under the first one.
  if (!GetHWND() || !IsWindowEnabled(GetHWND())) return false;
  return CurrentDropTag() != nullptr;
}

bool CMainWnd::OnDropFileList(const std::vector<std::wstring>& paths) {
  if (!CanTakeDrops()) return false;
  const std::shared_ptr<Group> tag = CurrentDropTag();
  auto* note = dynamic_cast<ui::RichEdit*>(NoteEditor());
  if (tag->TYPE == kGroupNote && note) {
    for (const std::wstring& path : paths) AppendToNote(path + L"\n");
    // The editor may never have had the focus: nothing else would store the drop.
    SaveChangedNote();
    return !paths.empty();
  }
  if (tag->TYPE != kGroupOrdinary) {
    ShowNotice(kCannotAddNotice);
    return false;
  }
  LinkStore& store = GetLinkStore();
  bool added = false;
  bool refused = false;
  for (const std::wstring& path : paths) {
    std::shared_ptr<Link> link = AddLinkFromPath(path);
    if (!link) continue;
    if (!store.AddLink(tag, link)) {
      refused = true;
      continue;
    }
    GetIconCache().AddPathToCache(link->GetIconKey(), IconSourceOf(*link));
    added = true;
  }
  if (refused) ShowNotice(kSaveFailedNotice);
  OnTagSelect(nullptr);
  return added;
}

bool CMainWnd::OnDropIdList(const ITEMIDLIST* item) {
  if (!item || !IsWindowsVersionAtLeast(6, 0, 0) || !CanTakeDrops()) return false;
  const std::shared_ptr<Group> tag = CurrentDropTag();
  if (tag->TYPE != kGroupOrdinary) {
    ShowNotice(kCannotAddNotice);
    return false;
  }
  const ItemIdListLink made = MakeItemIdListLink(item, /*linkableOnly=*/true);
  const std::shared_ptr<Link>& link = made.link;
  if (!link) return false;
  if (!GetLinkStore().AddLink(tag, link)) {
    ShowNotice(kSaveFailedNotice);
    return false;
  }
  GetIconCache().AddSysIconToCache(link->GetIconKey(), made.iconIndex);  // a link without an icon still shows, with the fallback icon
  OnTagSelect(nullptr);
  return true;
}

bool CMainWnd::OnDropText(const std::wstring& address, const std::wstring& title) {
  if (!CanTakeDrops()) return false;
  const std::shared_ptr<Group> tag = CurrentDropTag();
  auto* note = dynamic_cast<ui::RichEdit*>(NoteEditor());
  if (tag->TYPE == kGroupNote && note) {
    AppendToNote(address + L"\n");
    SaveChangedNote();
    return true;
  }
  if (tag->TYPE != kGroupOrdinary) {
    ShowNotice(kCannotAddNotice);
    return false;
  }
  if (address.empty()) return false;
  // The user sees the page title and address in the web-address dialog first
  // and may change them; a cancelled dialog is still a handled drop. The dialog
  // is a modal loop: run inside the drop it would keep the dragging program
  // waiting until it closed, so it opens once the drop has returned.
  droppedAddress_ = DroppedAddress{tag->ID, address, title};
  PostMessageW(GetHWND(), kDroppedAddressMessage, 0, 0);
  return true;
}

void CMainWnd::OpenDroppedAddress() {
  if (!droppedAddress_) return;
  const DroppedAddress dropped = std::move(*droppedAddress_);
  droppedAddress_.reset();
  // The tag may have gone, or a dialog opened, since the drop.
  const std::shared_ptr<Group> tag = GetLinkStore().FindGroup(dropped.tagId);
  if (!tag || tag->TYPE != kGroupOrdinary || !GetHWND() || !IsWindowEnabled(GetHWND())) return;
  AddWebAddressLink(tag, dropped.title, dropped.address);
}

LRESULT CMainWnd::OnDropFiles(UINT, WPARAM wParam, LPARAM, bool& handled) {
  // The window owns a WM_DROPFILES list: it is read and finished here, once,
  // whether or not the drop is taken.
  handled = true;
  std::vector<std::wstring> paths = TakeDroppedFiles(reinterpret_cast<HDROP>(wParam));
  if (CanTakeDrops()) OnDropFileList(paths);
  return 0;
}

// The main window's way of turning a dropped or picked path into a new link.
std::shared_ptr<Link> CMainWnd::AddLinkFromPath(const std::wstring& path) { return MakeLinkFromPath(path); }
