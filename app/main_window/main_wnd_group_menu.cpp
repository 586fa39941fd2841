// The group and tag menus: new groups and tags (ordinary, all-links and note
// tags), renaming, moving and deleting them. Every change goes to the link store
// first; the lists are rebuilt only after the store took it, and a refused write
// leaves them as they were with a notice. Deleting a tag or a group releases the
// chords of the links it takes with it, and the shown tag is chosen again through
// the group selection so that neither the cards nor the note editor show what is gone.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/controls/card_list_boxes.h"
#include "app/controls/list_item_id.h"
#include "app/dialogs/name_wnd.h"
#include "app/main_window/main_wnd.h"
#include "app/main_window/main_wnd_notices.h"
#include "data/group.h"
#include "data/hot_key_table.h"
#include "data/link.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "ui/base/dpi_scaler.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/controls/list_container_element.h"
#include "ui/controls/menu_item.h"
#include "ui/controls/menu_mgr.h"
#include "ui/controls/menu_ui.h"
#include "ui/core/tab_box.h"

namespace {

constexpr wchar_t kTagMoveLevel[] = L"menu_tag_move";
constexpr int kTagMoveWidth = 130;
constexpr int kGroupCellWidth = 77;
constexpr int kGroupRowHeight = 31;

std::shared_ptr<Group> MakeTag(const std::wstring& name, int32_t type) {
  auto tag = std::make_shared<Group>();
  tag->NAME = name;
  tag->TYPE = type;
  return tag;
}

std::shared_ptr<Group> GroupAt(int index) {
  const auto& groups = GetLinkStore().topGroups;
  if (index < 0 || static_cast<size_t>(index) >= groups.size()) return nullptr;
  return groups[static_cast<size_t>(index)];
}

// The list index of an item in its list; -1 when it is none.
int ItemIndex(ui::ListBox* list, ui::Control* item) {
  if (!list || !item) return -1;
  for (int i = 0; i < list->GetCount(); ++i) {
    if (list->GetItemAt(static_cast<size_t>(i)) == item) return i;
  }
  return -1;
}

// The list index of the item carrying the ID; -1 when none does.
int ItemIndexOfId(ui::ListBox* list, int32_t id) {
  if (!list || id == 0) return -1;
  for (int i = 0; i < list->GetCount(); ++i) {
    if (GetListItemId(list->GetItemAt(static_cast<size_t>(i))) == id) return i;
  }
  return -1;
}

// Where the top-level group with the ID stands now; -1 when it is gone.
int GroupIndexOf(int32_t groupId) {
  const auto& groups = GetLinkStore().topGroups;
  for (size_t i = 0; i < groups.size(); ++i) {
    if (groups[i] && groups[i]->ID == groupId) return static_cast<int>(i);
  }
  return -1;
}

// Where the tag stands in its group now; -1 when it is not there.
int TagIndexIn(const std::shared_ptr<Group>& group, int32_t tagId) {
  if (!group) return -1;
  for (size_t i = 0; i < group->tags.size(); ++i) {
    if (group->tags[i] && group->tags[i]->ID == tagId) return static_cast<int>(i);
  }
  return -1;
}

// Releases the chords of `links`; gives back those it released.
std::vector<std::shared_ptr<Link>> ReleaseChords(const std::vector<std::shared_ptr<Link>>& links) {
  HotKeyTable& chords = GetHotKeyTable();
  std::vector<std::shared_ptr<Link>> released;
  for (const auto& link : links) {
    if (link && link->hotKeyId != 0 && chords.UnregisterLink(link)) released.push_back(link);
  }
  return released;
}

// Registers the chords again of the links the store still holds: a tag delete
// whose second step failed has deleted the links already.
void RestoreChords(const std::vector<std::shared_ptr<Link>>& links) {
  for (const auto& link : links) {
    if (link && GetLinkStore().FindLink(link->ID) == link) GetHotKeyTable().RegisterLink(link);
  }
}

ui::CMenuItem* NewGroupEntry(const Group& group) {
  auto* item = new ui::CMenuItem();
  item->ApplyClassAttributes(L"menu_element");
  item->SetName(L"tag_move_" + std::to_wstring(group.ID));
  SetListItemId(item, group.ID);
  auto* label = new ui::LabelTemplate<ui::Control>();
  label->ApplyClassAttributes(L"menu_text");
  label->SetText(group.NAME);
  label->SetMargin(RECT{24, 0, 0, 0});
  label->SetMouseEnabled(false);
  item->Add(label);
  return item;
}

POINT CursorPos() {
  POINT cursor = {};
  GetCursorPos(&cursor);
  return cursor;
}

}  // namespace

bool CMainWnd::AskName(const std::wstring& heading, std::wstring& name, bool& cancelled) {
  cancelled = true;
  auto dialog = std::make_unique<CNameWnd>();
  dialog->SetHeading(heading);
  dialog->SetName(name);
  DialogScope scope(*this, dialog.get());
  const UINT result = RunOwnedDialog(dialog, GetHWND(), L"NameWnd");
  if (result != CDialogWnd::kResultOk) return true;  // cancelled, closed, or no window could be made
  cancelled = false;
  name = dialog->GetName();
  return !name.empty();
}

bool CMainWnd::ConfirmDelete() {
  if (!GetSettings().bDelConfirm) return true;
  // One question at a time: a second one stacked over the first would let both
  // answers act on what the first one asked about.
  if (messageBoxOpen_) return false;
  messageBoxOpen_ = true;
  const int answer = MessageBoxW(GetHWND(), L"确认删除吗？", L"提示", MB_OKCANCEL | MB_ICONWARNING);
  messageBoxOpen_ = false;
  return answer == IDOK;
}

void CMainWnd::ShowNothing() {
  LeaveNote();
  if (linkBox_) linkBox_->RemoveAll();
  if (tagList_) tagList_->RemoveAll();
  SetNoteText(L"");
  if (linkTabBox_) linkTabBox_->SelectItem(0);
  curTag_ = -1;
}

void CMainWnd::FitGroupBoxHeight() {
  if (!groupList_) return;
  auto* parent = dynamic_cast<ui::Control*>(groupList_->GetParent());
  if (!parent) return;
  const int width = groupList_->GetPos().right - groupList_->GetPos().left;
  const int perRow = std::max(1, width / kGroupCellWidth);
  const int count = static_cast<int>(groupList_->GetCount());
  const int rows = count / perRow + (count % perRow ? 1 : 0);
  const int height = std::max(0, rows * kGroupRowHeight - 1);
  // Within the share of the window the strip may take: past it the strip scrolls.
  if (auto* strip = dynamic_cast<ui::HCardGroup*>(groupList_)) {
    parent->SetFixedHeight(strip->LimitParentHeight(DpiScaler::Instance().ScaleInt(height)), false);
    return;
  }
  parent->SetFixedHeight(height, true);
}

bool CMainWnd::OnGroupListMenu(ui::EventArgs* event) {
  // An item's right click reaches the list as well; that one is the item menu's.
  if (event && event->pSender && event->pSender != groupList_) return false;
  if (!Menus()) return false;
  const POINT at = CursorPos();
  ui::CMenuItem* item = Menus()->ShowMenu(L"major_group", at.x, at.y, false);
  if (item && item->GetName() == L"new_group") return NewGroup(item);
  return true;
}

bool CMainWnd::NewGroup(ui::CMenuItem*) {
  std::wstring name;
  bool cancelled = false;
  if (!AskName(L"新建分组", name, cancelled)) return false;
  if (cancelled) return true;
  LinkStore& store = GetLinkStore();
  auto group = MakeTag(name, kGroupOrdinary);
  if (!store.AddGroup(group)) {
    ShowNotice(kSaveFailedNotice);
    return false;
  }
  const bool tagStored = store.AddTag(group, MakeTag(L"新的标签", kGroupOrdinary));
  if (!tagStored) ShowNotice(kSaveFailedNotice);
  // The group list is made anew from the store, the new group selected.
  RebuildGroups(static_cast<int>(store.topGroups.size()) - 1);
  FitGroupBoxHeight();
  return tagStored;
}

bool CMainWnd::OnGroupItemMenu(ui::EventArgs* event) {
  if (!event || !Menus()) return true;
  const std::shared_ptr<Group> chosen = GroupAt(ItemIndex(groupList_, event->pSender));
  if (!chosen) return true;
  // The command acts on this group wherever it stands once the menu closed.
  const int32_t groupId = chosen->ID;
  const POINT at = CursorPos();
  ui::CMenuItem* item = Menus()->ShowMenu(L"major_group_item", at.x, at.y, false);
  if (!item) return true;
  const std::wstring command = item->GetName();
  if (command == L"new_group") return NewGroup(item);
  if (command == L"del_group") DeleteGroupWithId(groupId);
  if (command == L"rename_group") RenameGroupWithId(groupId);
  if (command == L"left_group") MoveGroupWithId(groupId, true);
  if (command == L"right_group") MoveGroupWithId(groupId, false);
  return true;
}

bool CMainWnd::DeleteGroupWithId(int32_t groupId) {
  if (GroupIndexOf(groupId) < 0 || !ConfirmDelete()) return false;
  // Groups may have moved or gone while the question was up.
  const int index = GroupIndexOf(groupId);
  const std::shared_ptr<Group> group = GroupAt(index);
  if (!group) return false;
  std::vector<std::shared_ptr<Link>> links;
  for (const auto& tag : group->tags) {
    if (tag) links.insert(links.end(), tag->links.begin(), tag->links.end());
  }
  const auto released = ReleaseChords(links);
  if (!GetLinkStore().DeleteGroup(index)) {
    RestoreChords(released);
    ShowNotice(kSaveFailedNotice);
    return false;
  }
  const int count = static_cast<int>(GetLinkStore().topGroups.size());
  if (count == 0) {
    if (groupList_) groupList_->RemoveAll();
    curGroup_ = -1;
    ShowNothing();
  } else {
    // The group list is made anew and a remaining group shown through its selection.
    int keep = curGroup_;
    if (keep > index || keep >= count) --keep;
    ShowNothing();
    RebuildGroups(std::clamp(keep, 0, count - 1));
  }
  FitGroupBoxHeight();
  return true;
}

bool CMainWnd::RenameGroupWithId(int32_t groupId) {
  const std::shared_ptr<Group> group = GroupAt(GroupIndexOf(groupId));
  if (!group) return false;
  std::wstring name = group->NAME;
  bool cancelled = false;
  if (!AskName(L"分组-重命名", name, cancelled) || cancelled || name == group->NAME) return true;
  // A group deleted while the name was asked for is not written back.
  if (GetLinkStore().FindGroup(groupId) != group) return false;
  const std::wstring previous = group->NAME;
  group->NAME = name;
  if (!GetLinkStore().SaveGroup(group)) {
    group->NAME = previous;
    ShowNotice(kSaveFailedNotice);
    return false;
  }
  const int index = ItemIndexOfId(groupList_, groupId);
  auto* item = index < 0 ? nullptr : dynamic_cast<ui::ListContainerElement*>(groupList_->GetItemAt(static_cast<size_t>(index)));
  if (item) item->SetText(name);
  if (groupList_) groupList_->Invalidate();
  return true;
}

bool CMainWnd::MoveGroupWithId(int32_t groupId, bool left) {
  const int index = GroupIndexOf(groupId);
  const int count = static_cast<int>(GetLinkStore().topGroups.size());
  const int other = left ? index - 1 : index + 1;
  if (index < 0 || other < 0 || other >= count) return true;
  LinkStore& store = GetLinkStore();
  if (!(left ? store.MoveGroupUp(index) : store.MoveGroupDown(index))) {
    ShowNotice(kSaveFailedNotice);
    return false;
  }
  if (groupList_) SwapListItems(groupList_, index, other);
  if (curGroup_ == index) {
    curGroup_ = other;
  } else if (curGroup_ == other) {
    curGroup_ = index;
  }
  return true;
}

bool CMainWnd::OnTagListMenu(ui::EventArgs* event) {
  if (event && event->pSender && event->pSender != tagList_) return false;
  if (!Menus()) return false;
  const std::shared_ptr<Group> shown = GroupAt(curGroup_);
  if (!shown) return true;
  // A new tag goes to the group whose tag list was right-clicked, found again by
  // its ID: a hovered group may have taken its place while the menu was up.
  const int32_t groupId = shown->ID;
  const POINT at = CursorPos();
  ui::CMenuItem* item = Menus()->ShowMenu(L"minor_group", at.x, at.y, false);
  if (!item) return true;
  const std::wstring command = item->GetName();
  if (command == L"new_tag") return NewTagInGroup(groupId);
  if (command == L"new_tag_all") return AddSpecialTag(kGroupAllLinks, groupId);
  if (command == L"new_tag_todo") return AddSpecialTag(kGroupNote, groupId);
  return true;
}

bool CMainWnd::ShowNewTag(int groupIndex) {
  if (tagList_) tagList_->Invalidate();
  const std::shared_ptr<Group> group = GroupAt(groupIndex);
  if (!group) return false;
  // Another group hovered while the name was asked for is left for this one:
  // the group strip must select it too, or the tag list would follow the strip.
  if (groupList_ && groupList_->IsVisible() && groupList_->GetCurSel() != groupIndex) {
    groupList_->SelectItem(groupIndex, false, false);
  }
  curGroup_ = groupIndex;
  group->currentTag = static_cast<int>(group->tags.size()) - 1;
  curTag_ = group->currentTag;
  OnGroupSelect(nullptr);
  return true;
}

bool CMainWnd::NewTag(ui::CMenuItem* item) {
  if (!item) return true;
  const std::shared_ptr<Group> asked = GroupAt(curGroup_);
  if (!asked) return false;
  return NewTagInGroup(asked->ID);
}

bool CMainWnd::NewTagInGroup(int32_t groupId) {
  if (GroupIndexOf(groupId) < 0) return false;
  std::wstring name;
  bool cancelled = false;
  if (!AskName(L"新建标签", name, cancelled)) return false;
  if (cancelled) return true;
  // The tag goes to the group it was asked for, wherever that stands now; one
  // deleted meanwhile takes no tag (it would be a row no group shows).
  const int groupIndex = GroupIndexOf(groupId);
  const std::shared_ptr<Group> group = GroupAt(groupIndex);
  if (!group) return false;
  if (!GetLinkStore().AddTag(group, MakeTag(name, kGroupOrdinary))) {
    ShowNotice(kSaveFailedNotice);
    return false;
  }
  return ShowNewTag(groupIndex);
}

bool CMainWnd::AddSpecialTag(int type, int32_t groupId) {
  const int groupIndex = GroupIndexOf(groupId);
  const std::shared_ptr<Group> group = GroupAt(groupIndex);
  if (!group) return false;
  if (!GetLinkStore().AddTag(group, MakeTag(type == kGroupNote ? L"便签" : L"全部", type))) {
    ShowNotice(kSaveFailedNotice);
    return false;
  }
  return ShowNewTag(groupIndex);
}

bool CMainWnd::OnTagItemMenu(ui::EventArgs* event) {
  if (!event || !Menus()) return false;
  auto* sender = dynamic_cast<ui::ListContainerElement*>(event->pSender);
  if (!sender || curGroup_ == -1 || curTag_ == -1) return false;
  const int index = ItemIndex(tagList_, sender);
  if (index < 0) return false;
  const std::shared_ptr<Group> group = GroupAt(curGroup_);
  if (!group || !CurrentTag() || static_cast<size_t>(index) >= group->tags.size() ||
      !group->tags[static_cast<size_t>(index)]) {
    return false;
  }
  // Every command acts on the right-clicked tag (which the right click made the
  // current one) and its group, found again by their IDs once the menu closed:
  // a hovered group or tag may have replaced both on screen meanwhile.
  const std::shared_ptr<Group> tag = group->tags[static_cast<size_t>(index)];
  const int32_t tagId = tag->ID;
  const int32_t groupId = group->ID;

  ui::CMenuUI* moveLevel = Menus()->FindMenu(kTagMoveLevel);
  if (!moveLevel) return false;
  moveLevel->RemoveAll();
  moveLevel->SetFixedWidth(kTagMoveWidth);
  for (const auto& other : GetLinkStore().topGroups) {
    if (other && other != group) moveLevel->Add(NewGroupEntry(*other));
  }
  if (ui::CMenuItem* opener = moveLevel->GetParentItem()) opener->SetEnabled(moveLevel->GetCount() > 0);

  if (!Menus()->FindMenu(L"minor_group_item") || !MarkTagMenu(*Menus(), *tag, L"minor_")) return false;

  const POINT at = CursorPos();
  ui::CMenuItem* item = Menus()->ShowMenu(L"minor_group_item", at.x, at.y, false);
  if (!item) return true;
  const std::wstring command = item->GetName();
  ui::CMenuUI* owner = item->GetOwnerMenu();
  const bool isMove = owner && owner->GetName() == kTagMoveLevel;
  if (!isMove) RunTagCommand(tagId, command);
  if (command == L"new_tag") return NewTagInGroup(groupId);
  if (command == L"del_tag") DeleteTagWithId(tagId);
  if (command == L"rename_tag") RenameTagWithId(tagId);
  if (command == L"up_tag") MoveTagWithId(tagId, true);
  if (command == L"down_tag") MoveTagWithId(tagId, false);
  if (isMove) MoveTagToGroupWithId(tagId, GetListItemId(item));
  return true;
}

std::shared_ptr<Group> CMainWnd::GroupOfTag(int32_t tagId, int& index) const {
  index = -1;
  const std::shared_ptr<Group> tag = GetLinkStore().FindGroup(tagId);
  if (!tag || tag->IsTopLevel()) return nullptr;
  const std::shared_ptr<Group> group = GetLinkStore().FindGroup(tag->ParentGroup);
  index = TagIndexIn(group, tagId);
  return index < 0 ? nullptr : group;
}

bool CMainWnd::IsShownGroup(const std::shared_ptr<Group>& group) const {
  return group && GroupAt(curGroup_) == group;
}

bool CMainWnd::DeleteTagWithId(int32_t tagId) {
  int index = -1;
  if (!GroupOfTag(tagId, index) || !ConfirmDelete()) return false;
  // The tag is found again: tags may have moved or gone while the question was up.
  const std::shared_ptr<Group> group = GroupOfTag(tagId, index);
  if (!group) return false;
  const std::shared_ptr<Group> tag = group->tags[static_cast<size_t>(index)];
  const auto released = ReleaseChords(tag ? tag->links : std::vector<std::shared_ptr<Link>>{});
  const bool hadLinks = tag && !tag->links.empty();
  if (!GetLinkStore().DeleteTag(group, index)) {
    RestoreChords(released);
    // Its links may be gone though the tag stays: the view shows what is stored.
    if (hadLinks && tag->links.empty()) OnTagSelect(nullptr);
    ShowNotice(kSaveFailedNotice);
    return false;
  }
  ShowTagsAfterRemoval(group, index);
  return true;
}

void CMainWnd::ShowTagsAfterRemoval(const std::shared_ptr<Group>& group, int index) {
  if (!IsShownGroup(group)) {
    // Another group is on screen: only the tag this group opens on follows.
    if (group->currentTag > index) --group->currentTag;
    group->currentTag = std::clamp(group->currentTag, 0, std::max(0, static_cast<int>(group->tags.size()) - 1));
    return;
  }
  ShowShownTagsAfterRemoval(group, index);
}

void CMainWnd::ShowShownTagsAfterRemoval(const std::shared_ptr<Group>& group, int index) {
  // The shown tag is chosen again through the group selection: a removed note tag
  // leaves no text behind, and the cards of a removed tag go with it.
  int keep = curTag_;
  if (keep > index) --keep;
  const int count = static_cast<int>(group->tags.size());
  if (count == 0) {
    ShowNothing();
    return;
  }
  group->currentTag = std::clamp(keep, 0, count - 1);
  LeaveNote();
  SetNoteText(L"");
  OnGroupSelect(nullptr);
}

bool CMainWnd::RenameTagWithId(int32_t tagId) {
  const std::shared_ptr<Group> tag = GetLinkStore().FindGroup(tagId);
  if (!tag || tag->IsTopLevel()) return false;
  std::wstring name = tag->NAME;
  bool cancelled = false;
  if (!AskName(L"标签-重命名", name, cancelled) || cancelled || name == tag->NAME) return true;
  // A tag deleted while the name was asked for is not written back.
  if (GetLinkStore().FindGroup(tagId) != tag) return false;
  const std::wstring previous = tag->NAME;
  tag->NAME = name;
  if (!GetLinkStore().SaveGroup(tag)) {
    tag->NAME = previous;
    ShowNotice(kSaveFailedNotice);
    return false;
  }
  const int index = ItemIndexOfId(tagList_, tagId);
  auto* item = index < 0 ? nullptr : dynamic_cast<ui::Box*>(tagList_->GetItemAt(static_cast<size_t>(index)));
  auto* label = item ? dynamic_cast<ui::LabelTemplate<ui::Control>*>(item->FindChildByName(L"tagname")) : nullptr;
  if (label) label->SetText(name);
  if (tagList_) tagList_->Invalidate();
  return true;
}

bool CMainWnd::MoveTagWithId(int32_t tagId, bool up) {
  int index = -1;
  const std::shared_ptr<Group> group = GroupOfTag(tagId, index);
  if (!group) return false;
  const int count = static_cast<int>(group->tags.size());
  const int other = up ? index - 1 : index + 1;
  if (index < 0 || other < 0 || other >= count) return true;
  LinkStore& store = GetLinkStore();
  if (!(up ? store.MoveTagUp(group, index) : store.MoveTagDown(group, index))) {
    ShowNotice(kSaveFailedNotice);
    return false;
  }
  if (!IsShownGroup(group)) {
    // Another group is on screen: the tag this group opens on moves along.
    if (group->currentTag == index) {
      group->currentTag = other;
    } else if (group->currentTag == other) {
      group->currentTag = index;
    }
    return true;
  }
  if (tagList_) SwapListItems(tagList_, index, other);
  if (curTag_ == index) {
    curTag_ = other;
  } else if (curTag_ == other) {
    curTag_ = index;
  }
  group->currentTag = curTag_;
  return true;
}

bool CMainWnd::MoveTagToGroupWithId(int32_t tagId, int32_t targetGroupId) {
  int index = -1;
  const std::shared_ptr<Group> group = GroupOfTag(tagId, index);
  if (!group) return false;
  const std::shared_ptr<Group> shown = GroupAt(curGroup_);
  if (!GetLinkStore().MoveTagToGroup(group, index, targetGroupId)) {
    ShowNotice(kSaveFailedNotice);
    OnGroupSelect(nullptr);
    return false;
  }
  ShowTagsAfterRemoval(group, index);
  // The tag arrived in the group on screen (one hovered while the menu was up).
  if (!IsShownGroup(group) && shown && shown->ID == targetGroupId) OnGroupSelect(nullptr);
  return true;
}
