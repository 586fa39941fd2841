// The cards of the current tag: building them, clicking, hovering and dragging.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

#include "app/controls/card_item.h"
#include "app/controls/list_item_id.h"
#include "app/launching/launch_thread.h"
#include "app/launching/shell_actions.h"
#include "app/launching/stored_item_id_list.h"
#include "app/main_window/main_wnd.h"
#include "app/main_window/main_wnd_notices.h"
#include "app/new_links/web_icon_lookup.h"
#include "data/icon_cache.h"
#include "data/link_path.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/list_box.h"
#include "ui/controls/label.h"
#include "ui/core/tab_box.h"
#include "ui/core/tile_layout.h"

namespace {

using TextLabel = ui::LabelTemplate<ui::Control>;

std::shared_ptr<Group> TopGroupAt(int index) {
  const auto& groups = GetLinkStore().topGroups;
  if (index < 0 || index >= static_cast<int>(groups.size())) return nullptr;
  return groups[static_cast<size_t>(index)];
}

std::shared_ptr<Group> TagAt(const std::shared_ptr<Group>& group, int index) {
  if (!group || index < 0 || index >= static_cast<int>(group->tags.size())) return nullptr;
  return group->tags[static_cast<size_t>(index)];
}

const wchar_t* CardTemplate(int layout, int iconSize) {
  if (layout == kLayoutTiles) {
    if (iconSize == kIconSize32) return L"main/item_tile32.xml";
    if (iconSize == kIconSize16) return L"main/item_tile16.xml";
    return L"main/item_tile48.xml";
  }
  if (iconSize == kIconSize32) return L"main/item_list32.xml";
  if (iconSize == kIconSize16) return L"main/item_list16.xml";
  return L"main/item_list48.xml";
}

// The source of a link's icon: ICON (web addresses and built-in functions take
// theirs from ICON always), else PATH, resolved against the program folder.
std::wstring IconSourceOf(const Link& link) {
  const bool fromIcon = link.TYPE == kLinkWebAddress || link.TYPE == kLinkBuiltinFunction || !link.ICON.empty();
  return ResolveLinkPath(fromIcon ? link.ICON : link.PATH);
}

// Looks a web address's icon file up once and stores what it found.
void FindAndStoreWebIcon(const std::shared_ptr<Link>& link) {
  if (link->TYPE != kLinkWebAddress || link->ICON != L"#url") return;
  const std::wstring icon = FindWebIconFile(link->PATH, WebIconLookup::kCard);
  if (!icon.empty()) {
    link->ICON = icon;
    GetLinkStore().SaveLinkIcon(link);
  }
}

// The image key of the link's icon at the size, caching it first when needed;
// empty when neither the icon nor its fallback can be had.
std::wstring CardImageKey(const std::shared_ptr<Link>& link, int iconSize) {
  IconCache& cache = GetIconCache();
  const std::wstring key = link->GetIconKey();
  const std::wstring imageKey = IconCache::MakeImageKey(key, iconSize);
  if (!IconCache::IsCached(imageKey)) {
    if (link->TYPE == kLinkItemIdList) {
      SHFILEINFOW info = {};
      const ui::AbsoluteItemIdList list = StoredItemIdList(link->Pidl);  // none when damaged
      SHGetFileInfoW(reinterpret_cast<LPCWSTR>(list.get()), 0, &info, sizeof(info), SHGFI_PIDL | SHGFI_SYSICONINDEX);
      if (info.iIcon != 0) cache.AddSysIconToCache(key, info.iIcon);
    } else {
      cache.AddPathToCache(key, IconSourceOf(*link));
    }
  }
  if (IconCache::IsCached(imageKey)) return imageKey;
  const std::wstring fallback = IconCache::MakeImageKey(link->TYPE == kLinkWebAddress ? L"#url" : L"#err", iconSize);
  return IconCache::IsCached(fallback) ? fallback : std::wstring();
}

// Takes down the attributes the card template gives the card itself, so that
// each card gets them without going through the template again.
class OwnAttributeRecorder : public ui::Box {
 public:
  void SetAttribute(const std::wstring& name, const std::wstring& value) override {
    attributes.emplace_back(name, value);
  }
  std::vector<std::pair<std::wstring, std::wstring>> attributes;
};

}  // namespace

std::wstring CMainWnd::CardTooltip(const Link& link) {
  std::wstring text = link.NAME + L"\r\n" + link.PATH;
  if (!link.Remark.empty()) text += L"\r\n" + link.Remark;
  if (GetSettings().bRunCount) text += L"\r\n启动次数：" + std::to_wstring(link.RunCount);
  return text;
}

bool CMainWnd::OnTagSelect(ui::EventArgs* event) {
  if (swappingItems_ && event) return true;
  if (curGroup_ == -1 || curTag_ == -1) return false;
  if (event) {
    if (!tagList_ || tagList_->GetCurSel() == -1) return false;
    curTag_ = tagList_->GetCurSel();
  }
  if (!linkBox_) return false;
  // The note shown until now is left: stored, or kept when the store refuses it.
  LeaveNote();
  // One invalidation for the cards going and coming instead of one per card.
  ui::Window::InvalidationBatch invalidations(this);
  linkBox_->RemoveAll();
  RestartSaveTimer();
  const std::shared_ptr<Group> group = TopGroupAt(curGroup_);
  if (!group) return true;
  group->currentTag = curTag_;
  const std::shared_ptr<Group> tag = TagAt(group, curTag_);
  if (!tag) return true;
  if (tag->TYPE == kGroupNote) {
    if (linkTabBox_) linkTabBox_->SelectItem(1);
    noteTagId_ = tag->ID;
    cardsTagId_ = 0;
    // A text the store refused comes back as the user left it, still changed.
    if (auto kept = unsavedNotes_.find(tag->ID); kept != unsavedNotes_.end()) {
      const std::wstring text = std::move(kept->second);
      unsavedNotes_.erase(kept);
      SetNoteText(text, true);
    } else {
      SetNoteText(tag->Content);
    }
    return true;
  }
  if (linkTabBox_) linkTabBox_->SelectItem(0);
  // The rest of a note still going in is for an editor no longer shown: the
  // note comes in again from what is stored when its tag is chosen again.
  noteFiller_.Cancel();
  KillTimer(GetHWND(), kTimerNoteFill);
  // Settings may have changed since the last tag was shown.
  cardKind_.reset();
  std::vector<std::weak_ptr<Link>> links;
  GetLinkStore().GetTagLinks(tag, links);
  // Cards are made as they scroll into view; a link gone before its card is
  // passed over.
  const int total = static_cast<int>(links.size());
  // Another tag is seen from its start; the same one again (a refresh after a
  // command) keeps its place.
  if (tag->ID != cardsTagId_) linkBox_->ScrollToTop();
  cardsTagId_ = tag->ID;
  linkBox_->SetItemSource(total, [this, links = std::move(links), next = size_t{0}, layout = tag->LAYOUT,
                                  iconSize = tag->ICONSIZE](int) mutable -> ui::Control* {
    while (next < links.size()) {
      if (auto link = links[next++].lock()) {
        if (CardItem* card = MakeCard(link, layout, iconSize)) return card;
      }
    }
    return nullptr;
  });
  linkBox_->Invalidate();
  return true;
}

std::shared_ptr<const CardKind> CMainWnd::MakeCardKind(int layout, int iconSize) {
  const Settings& settings = GetSettings();
  auto kind = std::make_shared<CardKind>();
  const wchar_t* cardTemplate = CardTemplate(layout, iconSize);
  OwnAttributeRecorder recorder;
  ui::UiGlobals::FillBoxFromXml(&recorder, cardTemplate, nullptr, ui::UiGlobals::TemplatePart::kOwnAttributes);
  kind->ownAttributes = std::move(recorder.attributes);

  // The card takes its size and look from its template at once; the icon and the
  // name inside are built when the card is first placed in view or painted.
  const bool singleLine = settings.bLnkNameSingleline;
  kind->buildInside = [this, cardTemplate, singleLine](CardItem& built, const std::shared_ptr<Link>& shown) {
    ui::UiGlobals::FillBoxFromXml(&built, cardTemplate,
                                  ToWeakCallback([this](const std::wstring& name) { return CreateControl(name); }),
                                  ui::UiGlobals::TemplatePart::kChildren);
    auto* text = dynamic_cast<TextLabel*>(built.FindChildByName(L"item_text"));
    if (!shown || !text) return;
    text->SetAttribute(L"singleline", singleLine ? L"true" : L"false");
    text->SetText(shown->NAME);
    if (!shown->CustomColor.empty()) text->SetAttribute(L"normaltextcolor", shown->CustomColor);
  };
  // The icon is looked up (decoded, extracted again, or its fallback chosen) when
  // the card is first painted: a tag of many cards pays only for those on screen.
  kind->firstPaint = [iconSize](CardItem& painted, const std::shared_ptr<Link>& shown) {
    if (!shown) return;
    FindAndStoreWebIcon(shown);
    const std::wstring imageKey = CardImageKey(shown, iconSize);
    if (auto* icon = painted.Child(L"item_icon"); icon && !imageKey.empty()) {
      icon->SetBkImageWhilePainting(imageKey);
    }
  };
  if (settings.bShowTooltip) kind->toolTip = [](const Link& link) { return CardTooltip(link); };

  auto onClick = ToWeakCallback([this](ui::EventArgs* e) { return OnLinkClick(e); });
  kind->handlers.emplace_back(ui::doubleclick, onClick);
  kind->handlers.emplace_back(ui::click, onClick);
  kind->handlers.emplace_back(ui::menu, ToWeakCallback([this](ui::EventArgs* e) { return OnLinkMenu(e); }));
  if (settings.bLnkNameSingleline) {
    kind->handlers.emplace_back(ui::mouseenter,
                                ToWeakCallback([this](ui::EventArgs* e) { return OnLinkTileMouseEnter(e); }));
    kind->handlers.emplace_back(ui::mouseleave,
                                ToWeakCallback([this](ui::EventArgs* e) { return OnLinkTileMouseLeave(e); }));
  }
  return kind;
}

CardItem* CMainWnd::MakeCard(const std::shared_ptr<Link>& link, int layout, int iconSize) {
  if (!linkBox_ || !link || !link->group.lock()) return nullptr;
  if (!cardKind_ || cardKindLayout_ != layout || cardKindIconSize_ != iconSize) {
    cardKind_ = MakeCardKind(layout, iconSize);
    cardKindLayout_ = layout;
    cardKindIconSize_ = iconSize;
  }
  auto card = std::make_unique<CardItem>(cardKind_, link);
  if (linkBox_->GetCount() == 0) {
    if (auto* tiles = dynamic_cast<ui::TileLayout*>(linkBox_->GetLayout())) {
      // The card's size is scaled already; scaling it again would space the tiles
      // apart at any display scale but 100 %.
      tiles->SetItemSize({card->GetFixedWidth(), card->GetFixedHeight()}, false);
    }
  }
  if (GetSettings().bShowTooltip) card->SetToolTipWidth(400);
  card->SetName(L"lnk" + std::to_wstring(link->ID));
  SetListItemId(card.get(), link->ID);
  return card.release();  // the card area takes it
}

bool CMainWnd::OnLinkClick(ui::EventArgs* event) {
  if (!event) return false;
  const Settings& settings = GetSettings();
  const ui::EventType acting = settings.bDoubleClick ? ui::doubleclick : ui::click;
  if (event->Type != acting) return false;
  auto* card = dynamic_cast<ui::ListContainerElement*>(event->pSender);
  if (!card || card->GetIndex() == -1) return false;
  const std::shared_ptr<Link> link = GetLinkStore().FindLink(GetListItemId(card));
  if (!link) return false;

  const bool alt = (GetKeyState(VK_MENU) & 0x8000) != 0;
  const bool hasFileTarget = link->TYPE == kLinkProgram || link->TYPE == kLinkDriveRoot ||
                             link->TYPE == kLinkFolder || link->TYPE == kLinkFile || link->TYPE == kLinkShellItem;
  if (alt && hasFileTarget) {
    ShowPropertiesSheet(ResolveLinkPath(link->PATH));
    return true;
  }

  LaunchLink(link);
  bool rebuilt = false;
  if (settings.bSaveRunCount) {
    // A count the store refuses stays counted: the next save of the link stores it.
    ++link->RunCount;
    if (!GetLinkStore().SaveRunCount(link)) ShowNotice(kSaveFailedNotice);
    auto tag = link->group.lock();
    if (tag && tag->SORT == kSortByRunCount) {
      OnTagSelect(nullptr);
      rebuilt = true;
    } else if (!tag) {
      // The all-links tag sorts by its own SORT: rebuild when it is the one shown.
      auto shown = TagAt(TopGroupAt(curGroup_), curTag_);
      if (shown && shown->SORT == kSortByRunCount) {
        OnTagSelect(nullptr);
        rebuilt = true;
      }
    }
  }
  if (!rebuilt && settings.bShowTooltip) card->SetToolTipText(CardTooltip(*link));
  if (settings.bHideAfterLink) {
    if (!rebuilt) card->SetItemSelected(false, true);
    HideMain();
  }
  return true;
}

bool CMainWnd::OnLinkBoxDragEvent(ui::EventArgs* event) {
  if (!event || event->Type != ui::reorder) return true;
  const int groupIndex = EffectiveGroupIndex();
  const int tagIndex = EffectiveTagIndex();
  if (groupIndex == -1 || tagIndex == -1) return false;
  const std::shared_ptr<Group> tag = TagAt(TopGroupAt(groupIndex), tagIndex);
  if (!tag) return true;
  if (tag->SORT != kSortByPosition) {
    ShowNotice(L"标签页为排序模式，不可拖拽排序");
  } else if (tag->TYPE != kGroupOrdinary) {
    ShowNotice(L"特殊标签不可排序");
  } else if (GetLinkStore().MoveLink(tag, static_cast<int>(event->wParam), static_cast<int>(event->lParam))) {
    OnTagSelect(nullptr);
  } else {
    ShowNotice(kSaveFailedNotice);
    OnTagSelect(nullptr);  // the cards go back to the stored order
  }
  return true;
}

bool CMainWnd::OnLinkTileMouseEnter(ui::EventArgs* event) {
  if (!event || !event->pSender) return false;
  if (!GetSettings().bLnkNameSingleline) return true;
  auto* card = dynamic_cast<CardItem*>(event->pSender);
  auto* text = card ? dynamic_cast<TextLabel*>(card->Child(L"item_text")) : nullptr;
  if (!text) return true;
  text->SetAttribute(L"singleline", L"false");
  const std::wstring name = text->GetText();
  text->SetText(L"");
  text->SetText(name);
  return true;
}

bool CMainWnd::OnLinkTileMouseLeave(ui::EventArgs* event) {
  if (!event || !event->pSender) return false;
  if (!GetSettings().bLnkNameSingleline) return true;
  auto* card = dynamic_cast<CardItem*>(event->pSender);
  if (auto* text = card ? dynamic_cast<TextLabel*>(card->Child(L"item_text")) : nullptr) {
    text->SetAttribute(L"singleline", L"true");
  }
  return true;
}

void CMainWnd::LaunchLink(const std::shared_ptr<Link>& link) {
  if (link) StartLinkThread(*link, false, GetHWND());
}
