// The group strip and the tag list: selection by click, keyboard or hover,
// moving groups and tags with Shift and the arrow keys, and saving note tags.
#include <memory>

#include "app/controls/list_item_id.h"
#include "app/main_window/main_wnd.h"
#include "app/main_window/main_wnd_notices.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "ui/controls/list_box.h"
#include "ui/controls/rich_edit.h"
#include "ui/controls/label.h"
#include "ui/controls/list_container_element.h"

namespace {

bool KeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

bool IsKeyEvent(const ui::EventArgs* event) {
  return event && (event->Type == ui::keydown || event->Type == ui::syskey);
}

int IndexOf(const ui::Control* control) {
  const auto* item = dynamic_cast<const ui::ListContainerElement*>(control);
  return item ? item->GetIndex() : -1;
}

std::shared_ptr<Group> TopGroupAt(int index) {
  const auto& groups = GetLinkStore().topGroups;
  if (index < 0 || index >= static_cast<int>(groups.size())) return nullptr;
  return groups[static_cast<size_t>(index)];
}

const wchar_t* TagAlignValue(const std::wstring& setting) {
  if (setting == L"left") return L"left";
  if (setting == L"right") return L"right";
  return L"center";
}

}  // namespace

void CMainWnd::SelectWithEvent(ui::ListBox* list, int index) {
  if (list && index >= 0) list->SelectItem(index, false, true);
}

int CMainWnd::EffectiveGroupIndex() const {
  return groupList_ && groupList_->IsVisible() ? groupList_->GetCurSel() : curGroup_;
}

int CMainWnd::EffectiveTagIndex() const {
  return tagList_ && tagList_->IsVisible() ? tagList_->GetCurSel() : curTag_;
}

void CMainWnd::SyncIndexesFromLists() {
  if (groupList_ && groupList_->GetCurSel() >= 0) curGroup_ = groupList_->GetCurSel();
  if (tagList_ && tagList_->GetCurSel() >= 0) curTag_ = tagList_->GetCurSel();
  RestartSaveTimer();
}

void CMainWnd::SwapListItems(ui::ListBox* list, int from, int to) {
  ui::Control* moved = list->GetItemAt(static_cast<size_t>(from));
  if (!moved) return;
  const bool wasSelected = list->GetCurSel() == from;
  swappingItems_ = true;
  // A move, not a removal: removing the current item would re-select a
  // neighbour with a select event.
  list->SetItemIndex(moved, static_cast<size_t>(to));
  // Item names follow the positions, as when the list was built.
  const std::wstring prefix = list->GetName() == L"list_major_group" ? L"major" : L"minor";
  for (int i = std::min(from, to); i <= std::max(from, to); ++i) {
    if (ui::Control* item = list->GetItemAt(static_cast<size_t>(i))) item->SetName(prefix + std::to_wstring(i));
  }
  if (wasSelected) list->SelectItem(to, false, false);
  swappingItems_ = false;
}

bool CMainWnd::OnGroupSelect(ui::EventArgs*) {
  if (swappingItems_) return true;
  const int index = EffectiveGroupIndex();
  if (index == -1) return true;
  SaveChangedNote();
  curGroup_ = index;
  RestartSaveTimer();
  const std::shared_ptr<Group> group = TopGroupAt(index);
  if (!group || !tagList_) return true;
  Settings& settings = GetSettings();
  const bool showTags = settings.bShowTag && (group->FLAG & 1) == 0;
  tagList_->SetVisible(showTags);
  if (minorGroupLine_) minorGroupLine_->SetVisible(showTags);

  // One invalidation and one arrangement for the whole tag list.
  ui::Window::InvalidationBatch invalidations(this);
  tagList_->RemoveAll();
  const int count = static_cast<int>(group->tags.size());
  {
    ui::Box::AddBatch tagBatch(tagList_);
    for (int i = 0; i < count; ++i) {
      const auto& tag = group->tags[static_cast<size_t>(i)];
      auto* item = new ui::ListContainerElement;
      item->SetName(L"minor" + std::to_wstring(i));
      item->ApplyClassAttributes(L"listitem_minorgroup");
      SetListItemId(item, tag->ID);
      auto* name = new ui::LabelTemplate<ui::Control>;
      name->SetName(L"tagname");
      const std::wstring align = TagAlignValue(settings.TagAlign);
      name->SetAttribute(L"align", align);
      name->SetMargin({6, 0, 2, 0}, true);
      name->SetAttribute(L"halign", L"center");
      name->SetAttribute(L"valign", L"center");
      if (align == L"center") {
        name->SetFixedWidth(settings.nTagWidth - 8, true, true);
      } else {
        // As wide as the item leaves inside its margins, with some room inside the
        // highlight: a name against either side would touch its edge otherwise.
        name->SetFixedWidth(settings.nTagWidth - 16, true, true);
        name->SetAttribute(L"textpadding", L"2,0,4,0");
      }
      name->SetMouseEnabled(false);
      name->SetAttribute(L"height", L"auto");
      name->SetAttribute(L"singleline", L"false");
      name->SetText(tag->NAME);
      item->Add(name);
      tagList_->Add(item);
      item->AttachEvent(ui::menu, ToWeakCallback([this](ui::EventArgs* e) { return OnTagItemMenu(e); }));
      item->AttachEvent(ui::mouseenter, ToWeakCallback([this](ui::EventArgs* e) { return OnTagMouseEnter(e); }));
      item->AttachEvent(ui::all, ToWeakCallback([this](ui::EventArgs* e) { return OnTagItemKey(e); }));
    }
  }
  if (count == 0) {
    // Nothing of the group before stays in the card area: neither its cards nor
    // the note editor of its note tag.
    ShowNothing();
    return true;
  }

  int choice = 0;
  if (!tagsShownOnce_) {
    tagsShownOnce_ = true;
    choice = settings.nCurTag >= 0 && settings.nCurTag < count ? settings.nCurTag : 0;
  } else {
    choice = group->currentTag >= 0 && group->currentTag < count ? group->currentTag : 0;
  }
  group->currentTag = choice;
  curTag_ = choice;
  tagList_->SelectItem(choice, false, true);
  // A hidden list selects nothing and raises no event: show the tag directly.
  if (!tagList_->IsVisible()) OnTagSelect(nullptr);
  return true;
}

namespace {

bool HoverActivate(CMainWnd* window, ui::EventArgs* event, bool enabled, int delay, UINT_PTR timer,
                   int& pending, ui::ListBox* list) {
  if (!enabled) return true;
  if (!event || !event->pSender) return false;
  const int index = IndexOf(event->pSender);
  if (delay > 0) {
    pending = index;
    SetTimer(window->GetHWND(), timer, static_cast<UINT>(delay), nullptr);
  } else {
    pending = -1;
    if (list && index >= 0) list->SelectItem(index, false, true);
  }
  return true;
}

}  // namespace

bool CMainWnd::OnGroupMouseEnter(ui::EventArgs* event) {
  const Settings& settings = GetSettings();
  return HoverActivate(this, event, settings.bMouseEnterActiveGroup, settings.nActiveGroupDelay, kTimerGroupHover,
                       pendingGroup_, groupList_);
}

bool CMainWnd::OnTagMouseEnter(ui::EventArgs* event) {
  const Settings& settings = GetSettings();
  return HoverActivate(this, event, settings.bMouseEnterActiveTag, settings.nActiveTagDelay, kTimerTagHover,
                       pendingTag_, tagList_);
}

bool CMainWnd::OnGroupItemKey(ui::EventArgs* event) {
  if (!IsKeyEvent(event) || !KeyDown(VK_SHIFT)) return true;
  const bool left = KeyDown(VK_LEFT);
  const bool right = KeyDown(VK_RIGHT);
  if (!left && !right) return true;
  const int index = IndexOf(event->pSender);
  LinkStore& store = GetLinkStore();
  int target = 0;
  if (left) {
    if (index <= 0) return false;
    target = index - 1;
  } else {
    if (index == groupList_->GetCount() - 1) return true;
    if (index < 0) return false;
    target = index + 1;
  }
  if (!(left ? store.MoveGroupUp(index) : store.MoveGroupDown(index))) {
    ShowNotice(kSaveFailedNotice);
    return false;
  }
  SwapListItems(groupList_, index, target);
  SyncIndexesFromLists();
  return false;
}

bool CMainWnd::OnTagItemKey(ui::EventArgs* event) {
  if (!IsKeyEvent(event) || !KeyDown(VK_SHIFT)) return true;
  const bool up = KeyDown(VK_UP);
  const bool down = KeyDown(VK_DOWN);
  if (!up && !down) return true;
  const int groupIndex = EffectiveGroupIndex();
  if (groupIndex == -1) return false;
  const std::shared_ptr<Group> group = TopGroupAt(groupIndex);
  if (!group) return true;
  const int index = IndexOf(event->pSender);
  LinkStore& store = GetLinkStore();
  int target = 0;
  if (up) {
    if (index <= 0) return false;
    target = index - 1;
  } else {
    if (index < 0 || index == tagList_->GetCount() - 1) return false;
    target = index + 1;
  }
  if (!(up ? store.MoveTagUp(group, index) : store.MoveTagDown(group, index))) {
    ShowNotice(kSaveFailedNotice);
    return false;
  }
  SwapListItems(tagList_, index, target);
  SyncIndexesFromLists();
  if (tagList_->GetCurSel() >= 0) group->currentTag = tagList_->GetCurSel();
  return false;
}

bool CMainWnd::StoreNoteText(const std::shared_ptr<Group>& tag, const std::wstring& text) {
  std::wstring previous = text;
  std::swap(tag->Content, previous);
  if (GetLinkStore().SaveGroup(tag)) return true;
  // Memory keeps what the file holds: the refused text is the caller's to keep.
  std::swap(tag->Content, previous);
  return false;
}

namespace {

std::shared_ptr<Group> NoteTagWithId(int32_t id) {
  std::shared_ptr<Group> tag = id != 0 ? GetLinkStore().FindGroup(id) : nullptr;
  return tag && tag->TYPE == kGroupNote ? tag : nullptr;
}

}  // namespace

bool CMainWnd::SaveChangedNote() {
  bool refused = false;
  auto* editor = dynamic_cast<ui::RichEdit*>(todoEdit_);
  if (noteTagId_ != 0 && editor && editor->IsModified()) {
    // A note tag deleted meanwhile has nothing left to take the text.
    if (const std::shared_ptr<Group> tag = NoteTagWithId(noteTagId_)) {
      if (StoreNoteText(tag, NoteText())) {
        editor->SetModified(false);
      } else {
        refused = true;
      }
    }
  }
  // Texts refused before are tried again at every leave, whichever note is shown.
  for (auto kept = unsavedNotes_.begin(); kept != unsavedNotes_.end();) {
    const std::shared_ptr<Group> tag = NoteTagWithId(kept->first);
    if (!tag || StoreNoteText(tag, kept->second)) {
      kept = unsavedNotes_.erase(kept);
    } else {
      refused = true;
      ++kept;
    }
  }
  if (refused) ShowNotice(kSaveFailedNotice);
  return !refused;
}

void CMainWnd::LeaveNote() {
  SaveChangedNote();
  auto* editor = dynamic_cast<ui::RichEdit*>(todoEdit_);
  if (noteTagId_ != 0 && editor && editor->IsModified() && NoteTagWithId(noteTagId_)) {
    unsavedNotes_[noteTagId_] = NoteText();
    editor->SetModified(false);
  }
  noteTagId_ = 0;
}

bool CMainWnd::OnTodoEditKey(ui::EventArgs* event) {
  if (!event) return true;
  // Ctrl+S saves into the note the editor was filled from, as leaving it does:
  // the tag selected at that moment may be another one (after a hover switch).
  if (IsKeyEvent(event) && KeyDown(VK_CONTROL) && KeyDown('S')) {
    if (EffectiveGroupIndex() == -1 || EffectiveTagIndex() == -1) return false;
    SaveChangedNote();
    return true;
  }
  if (event->Type == ui::killfocus) SaveChangedNote();
  return true;
}
