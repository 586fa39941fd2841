// The commands of a card's menu: running as administrator (privately for web
// addresses), the target's folder or the address on the clipboard, the shell's
// menu, a desktop shortcut, a fresh icon, deleting, the properties sheet, and
// moving or copying to another tag.
#include <windows.h>

#include <vector>

#include "app/controls/list_item_id.h"
#include "app/launching/launch_notices.h"
#include "app/launching/launch_thread.h"
#include "app/launching/link_location.h"
#include "app/launching/shell_actions.h"
#include "app/launching/store_app.h"
#include "app/main_window/main_wnd.h"
#include "app/main_window/main_wnd_notices.h"
#include "data/group.h"
#include "data/hot_key_table.h"
#include "data/link.h"
#include "data/link_path.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "ui/controls/list_box.h"
#include "ui/base/windows_version.h"
#include "ui/controls/list_container_element.h"

namespace {

constexpr wchar_t kShortcutFailedNotice[] = L"创建快捷方式失败";

bool HasFileTarget(const Link& link) {
  return link.TYPE == kLinkProgram || link.TYPE == kLinkDriveRoot || link.TYPE == kLinkFolder ||
         link.TYPE == kLinkFile || link.TYPE == kLinkShellItem;
}

}  // namespace

std::shared_ptr<Group> CMainWnd::CurrentCardTag() const {
  const int groupIndex = EffectiveGroupIndex();
  const int tagIndex = EffectiveTagIndex();
  LinkStore& store = GetLinkStore();
  if (groupIndex < 0 || tagIndex < 0 || static_cast<size_t>(groupIndex) >= store.topGroups.size()) return nullptr;
  const std::shared_ptr<Group>& group = store.topGroups[static_cast<size_t>(groupIndex)];
  if (!group || static_cast<size_t>(tagIndex) >= group->tags.size()) return nullptr;
  return group->tags[static_cast<size_t>(tagIndex)];
}

std::shared_ptr<Link> CMainWnd::CardLink(int cardIndex) const {
  if (!linkBox_ || cardIndex < 0) return nullptr;
  // Cards carry their link's ID, so sorted tags and the all-links tag map right.
  ui::Control* card = linkBox_->GetItemAt(static_cast<size_t>(cardIndex));
  return card ? GetLinkStore().FindLink(GetListItemId(card)) : nullptr;
}

int CMainWnd::CardIndexOfLink(int32_t linkId) const {
  if (!linkBox_ || linkId == 0) return -1;
  for (int i = 0; i < linkBox_->GetCount(); ++i) {
    ui::Control* card = linkBox_->GetItemAt(static_cast<size_t>(i));
    if (card && GetListItemId(card) == linkId) return i;
  }
  return -1;
}

namespace {

// Decided by the tag's links, not by the cards: cards are made as they scroll
// into view, so a rebuilt view may not have made this link's card yet.
std::shared_ptr<Link> LinkOfTag(const std::shared_ptr<Group>& tag, int32_t linkId) {
  if (!tag || linkId == 0) return nullptr;
  std::vector<std::weak_ptr<Link>> links;
  GetLinkStore().GetTagLinks(tag, links);
  for (const std::weak_ptr<Link>& held : links) {
    if (std::shared_ptr<Link> link = held.lock(); link && link->ID == linkId) return link;
  }
  return nullptr;
}

}  // namespace

std::shared_ptr<Link> CMainWnd::ShownLink(int32_t linkId) const { return LinkOfTag(CurrentCardTag(), linkId); }

std::shared_ptr<Link> CMainWnd::TagLink(int32_t tagId, int32_t linkId) const {
  return tagId == 0 ? nullptr : LinkOfTag(GetLinkStore().FindGroup(tagId), linkId);
}

bool CMainWnd::RunCardLinkCommand(const std::wstring& command, int32_t tagId, int32_t linkId, POINT cursor) {
  const std::shared_ptr<Link> link = TagLink(tagId, linkId);
  if (!link) return false;
  const Settings& settings = GetSettings();

  if (command == L"use_admin") {
    if (!StartLinkThread(*link, true, GetHWND())) return false;
    bool rebuilt = false;
    if (settings.bSaveRunCount) {
      ++link->RunCount;
      if (!GetLinkStore().SaveRunCount(link)) ShowNotice(kSaveFailedNotice);
      const std::shared_ptr<Group> tag = CurrentCardTag();
      if (tag && tag->SORT == kSortByRunCount) {
        OnTagSelect(nullptr);
        rebuilt = true;
      }
    }
    const int cardIndex = CardIndexOfLink(linkId);
    auto* card = cardIndex < 0 ? nullptr
                               : dynamic_cast<ui::ListContainerElement*>(linkBox_->GetItemAt(static_cast<size_t>(cardIndex)));
    if (!rebuilt && card && settings.bShowTooltip) card->SetToolTipText(CardTooltip(*link));
    if (settings.bHideAfterLink) {
      if (!rebuilt && card) card->SetItemSelected(false, true);
      HideMain();
    }
    return true;
  }
  if (command == L"open_path") {
    const std::wstring path = ResolveLinkPath(link->PATH);
    bool opened = false;
    switch (link->TYPE) {
      case kLinkWebAddress:
        return CopyTextToClipboard(GetHWND(), path);
      case kLinkBuiltinFunction:
        return false;  // it has no place on the disk to show
      case kLinkItemIdList:
        opened = OpenContainingFolderOfList(link->Pidl);
        break;
      case kLinkShellItem:
        if (std::optional<std::wstring> appId = StoreAppIdFromPath(path); appId && IsWindowsVersionAtLeast(6, 2, 0)) {
          opened = OpenStoreAppFolder(*appId);
        } else {
          opened = OpenContainingFolder(path);
        }
        break;
      default:
        opened = OpenContainingFolder(path);
        break;
    }
    // A target that is gone has no folder to show it in: the user is told, as
    // when it does not start.
    if (!opened) ShowNotice(CannotOpenLocationNotice(link->NAME));
    return opened;
  }
  if (command == L"winshell") return ShowLinkShellMenu(GetHWND(), *link, cursor, messageBoxOpen_) > 0;
  if (command == L"create_shortcut") {
    if (!HasFileTarget(*link)) return false;
    if (CreateShortcutFile(*link)) return true;
    ShowNotice(kShortcutFailedNotice);
    return false;
  }
  if (command == L"refresh_link_icon") {
    GetLinkStore().RemoveLinkIcon(link);
    OnTagSelect(nullptr);
    return true;
  }
  if (command == L"edit_link") return EditLink(link);
  if (command == L"del_link") return DeleteCardLink(tagId, linkId);
  if (command == L"attr_link") return HasFileTarget(*link) && ShowPropertiesSheet(ResolveLinkPath(link->PATH));
  return false;
}

bool CMainWnd::DeleteCardLink(int32_t tagId, int32_t linkId) {
  const std::shared_ptr<Group> tag = GetLinkStore().FindGroup(tagId);
  if (!tag) return false;
  if (tag->TYPE != kGroupOrdinary) {
    ShowNotice(L"特殊标签不能删除");
    return false;
  }
  if (!ConfirmDelete()) return false;
  // The tag may have gone, or lost the link, while the question was up: both are
  // looked for again, and a link no longer in its tag is left alone.
  const std::shared_ptr<Link> link = TagLink(tagId, linkId);
  if (!link) return false;
  // A deleted link's chord must not stay registered system-wide until exit.
  const bool hadChord = link->hotKeyId != 0;
  if (hadChord) GetHotKeyTable().UnregisterLink(link);
  const bool deleted = GetLinkStore().DeleteLink(tag, link);
  if (deleted) {
    // The view shown now may be another tag's; a card of the link there goes, and
    // a card not made yet is left out when the view is made again.
    if (const int cardIndex = CardIndexOfLink(linkId); cardIndex >= 0) {
      linkBox_->RemoveAt(static_cast<size_t>(cardIndex));
    } else {
      OnTagSelect(nullptr);
    }
  } else {
    if (hadChord) GetHotKeyTable().RegisterLink(link);  // the link stays, so does its chord
    ShowNotice(kSaveFailedNotice);
  }
  linkBox_->Invalidate();
  return deleted;
}

bool CMainWnd::MoveCardLinkToTag(int32_t tagId, int32_t linkId, int32_t targetTagId) {
  const std::shared_ptr<Link> link = TagLink(tagId, linkId);
  const std::shared_ptr<Group> tag = GetLinkStore().FindGroup(tagId);
  if (!link || !tag) return false;
  const std::shared_ptr<Group> target = GetLinkStore().FindGroup(targetTagId);
  if (!target) return false;  // the tag went while the menu was up
  if (target->TYPE != kGroupOrdinary) {
    ShowNotice(L"特殊标签不可执行此操作");
    return false;
  }
  const bool moved = GetLinkStore().MoveLinkToTag(tag, link, targetTagId);
  if (!moved) ShowNotice(kSaveFailedNotice);
  // Whatever tag is shown now, it is made again from the store.
  OnTagSelect(nullptr);
  return moved;
}

bool CMainWnd::CopyCardLinkToTag(int32_t tagId, int32_t linkId, int32_t targetTagId) {
  const std::shared_ptr<Link> link = TagLink(tagId, linkId);
  if (!link) return false;
  const std::shared_ptr<Group> target = GetLinkStore().FindGroup(targetTagId);
  if (!target) return false;  // the tag went while the menu was up
  if (target->TYPE != kGroupOrdinary) {
    ShowNotice(L"特殊标签不能执行此操作");
    return false;
  }
  const bool copied = GetLinkStore().CopyLink(link, targetTagId);
  if (!copied) ShowNotice(kSaveFailedNotice);
  OnTagSelect(nullptr);
  return copied;
}
