// The card menu: its move-to and copy-to levels built from the groups and tags,
// its labels for web addresses, and the command chosen in it.
#include <windows.h>

#include "app/controls/list_item_id.h"
#include "app/launching/shell_actions.h"
#include "app/main_window/main_wnd.h"
#include "data/group.h"
#include "data/link.h"
#include "data/link_store.h"
#include "ui/controls/button.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/controls/list_container_element.h"
#include "ui/controls/menu_item.h"
#include "ui/controls/menu_mgr.h"
#include "ui/controls/menu_ui.h"

namespace {

constexpr wchar_t kMoveGroups[] = L"menu_move_gp";
constexpr wchar_t kCopyGroups[] = L"menu_copy_gp";
constexpr wchar_t kMoveTags[] = L"menu_link_move";
constexpr wchar_t kCopyTags[] = L"menu_link_copy";
constexpr int kGroupLevelWidth = 130;

// A menu item of class "menu_element" carrying an ID, with its name as text.
ui::CMenuItem* NewMenuEntry(int32_t id, const std::wstring& text) {
  auto* item = new ui::CMenuItem();
  item->ApplyClassAttributes(L"menu_element");
  SetListItemId(item, id);
  auto* label = new ui::LabelTemplate<ui::Control>();
  label->ApplyClassAttributes(L"menu_text");
  label->SetText(text);
  label->SetMargin(RECT{24, 0, 0, 0});
  // The pointer must reach the item itself: its listeners (filling the tag level
  // of a group) only run for events the item sends.
  label->SetMouseEnabled(false);
  item->Add(label);
  return item;
}

void SetLabelText(ui::CMenuUI* menu, const wchar_t* itemName, const wchar_t* labelName, const wchar_t* text) {
  ui::Control* item = menu ? menu->FindChildByName(itemName) : nullptr;
  auto* box = dynamic_cast<ui::Box*>(item);
  auto* label = box ? dynamic_cast<ui::LabelTemplate<ui::Control>*>(box->FindChildByName(labelName)) : nullptr;
  if (label) label->SetText(text);
}

bool IsCardCommand(const std::wstring& name) {
  for (const wchar_t* command : {L"use_admin", L"open_path", L"winshell", L"create_shortcut", L"refresh_link_icon",
                                 L"edit_link", L"del_link", L"attr_link"}) {
    if (name == command) return true;
  }
  return false;
}

}  // namespace

bool CMainWnd::PrepareCardMenu(ui::CMenuMgr& menus, const Link& link) {
  ui::CMenuUI* moveGroups = menus.FindMenu(kMoveGroups);
  ui::CMenuUI* copyGroups = menus.FindMenu(kCopyGroups);
  ui::CMenuUI* moveTags = menus.FindMenu(kMoveTags);
  ui::CMenuUI* copyTags = menus.FindMenu(kCopyTags);
  if (!moveGroups || !copyGroups || !moveTags || !copyTags) return false;
  for (ui::CMenuUI* level : {moveGroups, copyGroups}) {
    level->RemoveAll();
    level->SetFixedWidth(kGroupLevelWidth);
  }
  for (const std::shared_ptr<Group>& group : GetLinkStore().topGroups) {
    if (!group) continue;
    for (auto [level, tags] : {std::pair{moveGroups, moveTags}, std::pair{copyGroups, copyTags}}) {
      ui::CMenuItem* item = NewMenuEntry(group->ID, group->NAME);
      auto* expand = new ui::ButtonTemplate<ui::Control>();
      expand->SetMouseEnabled(false);
      expand->SetBkImage(L"expand.png");
      expand->ApplyAttributeList(L"valign=\"center\"");
      expand->SetMargin(RECT{100, 0, 0, 0});
      item->Add(expand);
      level->Add(item);
      item->SetSubMenu(tags);
      item->AttachEvent(ui::mouseenter, ToWeakCallback([this](ui::EventArgs* e) { return OnMoveMenuItemEnter(e); }));
    }
  }
  for (ui::CMenuUI* level : {moveGroups, copyGroups}) {
    if (ui::CMenuItem* parent = level->GetParentItem()) parent->SetEnabled(level->GetCount() > 0);
  }
  ui::CMenuUI* cardMenu = menus.FindMenu(L"menu_linkbox_item");
  const bool web = link.TYPE == kLinkWebAddress;
  SetLabelText(cardMenu, L"use_admin", L"label_use_admin", web ? L"以隐私模式运行" : L"以管理员身份运行");
  SetLabelText(cardMenu, L"open_path", L"label_open_path", web ? L"复制网址(URL)" : L"打开文件位置");
  return true;
}

bool CMainWnd::OnMoveMenuItemEnter(ui::EventArgs* event) {
  auto* item = event ? dynamic_cast<ui::CMenuItem*>(event->pSender) : nullptr;
  ui::CMenuUI* tags = item ? item->GetSubMenu() : nullptr;
  if (!tags) return false;
  tags->RemoveAll();
  const std::shared_ptr<Group> group = GetLinkStore().FindGroup(GetListItemId(item));
  if (!group) return false;
  for (const std::shared_ptr<Group>& tag : group->tags) {
    if (tag && tag->TYPE == kGroupOrdinary) tags->Add(NewMenuEntry(tag->ID, tag->NAME));
  }
  return true;
}

bool CMainWnd::ShowCardMenu(ui::EventArgs* event, ui::CMenuMgr& menus) {
  auto* card = event ? dynamic_cast<ui::ListContainerElement*>(event->pSender) : nullptr;
  if (!card || !linkBox_) return false;
  if (EffectiveGroupIndex() == -1 || EffectiveTagIndex() == -1) return false;
  const int cardIndex = card->GetIndex();
  const std::shared_ptr<Link> link = CardLink(cardIndex);  // held while the menu runs
  if (!link) return false;
  // What the menu acts on is this link of this tag, wherever its card is, and
  // whatever tag is shown, once the menu closed.
  const std::shared_ptr<Group> tag = CurrentCardTag();
  if (!tag) return false;
  const int32_t tagId = tag->ID;
  const int32_t linkId = link->ID;
  POINT cursor = {};
  GetCursorPos(&cursor);

  if ((GetKeyState(VK_SHIFT) & 0x8000) && link->TYPE != kLinkBuiltinFunction) {
    linkBox_->SelectItem(cardIndex, false, true);
    ShowLinkShellMenu(GetHWND(), *link, cursor, messageBoxOpen_);
    linkBox_->SelectItem(-1, false, true);
    return true;
  }
  if (!PrepareCardMenu(menus, *link)) return false;
  linkBox_->SelectItem(cardIndex, false, true);
  ui::CMenuItem* clicked = menus.ShowMenu(L"menu_linkbox_item", cursor.x, cursor.y, false);
  linkBox_->SelectItem(-1, false, true);
  if (!clicked) return true;

  const std::wstring name = clicked->GetName();
  ui::CMenuUI* level = clicked->GetOwnerMenu();
  const std::wstring levelName = level ? level->GetName() : std::wstring();
  if (levelName == kMoveTags) {
    MoveCardLinkToTag(tagId, linkId, GetListItemId(clicked));
  } else if (levelName == kCopyTags) {
    CopyCardLinkToTag(tagId, linkId, GetListItemId(clicked));
  } else if (IsCardCommand(name)) {
    RunCardLinkCommand(name, tagId, linkId, cursor);
  } else if (level) {
    OnTagSelect(nullptr);
  }
  return true;
}
