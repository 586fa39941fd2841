// The card menu's link editor: runs the editor over the main window, stores the
// link, then drops its old icon when its source changed and rebuilds the cards.
// A link the store refuses gets its stored fields and chord back; a link deleted
// while the editor was up gives back the chord the editor registered for it.
#include <algorithm>
#include <vector>

#include "app/dialogs/edit_wnd.h"
#include "app/main_window/main_wnd.h"
#include "app/main_window/main_wnd_notices.h"
#include "data/hot_key_table.h"
#include "data/icon_cache.h"
#include "data/link.h"
#include "data/link_store.h"

namespace {

// The editor changed the link in place and registered its new chord: the link
// becomes what the store still holds, with the old chord registered again.
void RestoreStoredLink(const std::shared_ptr<Link>& link, const Link& stored) {
  HotKeyTable& table = GetHotKeyTable();
  if (link->HotKey != 0) table.UnregisterLink(link);
  // Runs counted while the editor was up (its chord still works) are no edit of
  // the user's: they stay, stored or still to be stored with the next save.
  const int32_t runs = link->RunCount;
  *link = stored;
  link->RunCount = runs;
  link->hotKeyId = 0;
  if (link->HotKey != 0) table.RegisterLink(link);
}

// The editor registered the link's new chord on OK, but the link left the store
// while the editor was up (its deletion released the old chord then): nothing
// would ever start it, and the chord would stay taken system-wide until exit.
void ReleaseChordOfGoneLink(const std::shared_ptr<Link>& link) {
  HotKeyTable& table = GetHotKeyTable();
  // Every entry of the link goes, and every id one of them registered: an entry
  // left behind would keep its id taken until exit. No other link can hold such
  // an id, since ids in the table's entries are never handed out again.
  std::vector<int32_t> ids;
  for (const HotKeyTable::Entry& entry : table.entries()) {
    if (entry.link.lock() == link && entry.id != 0) ids.push_back(entry.id);
  }
  auto listed = [&] {
    const auto& entries = table.entries();
    return std::any_of(entries.begin(), entries.end(),
                       [&](const HotKeyTable::Entry& entry) { return entry.link.lock() == link; });
  };
  while (listed()) table.UnregisterLink(link);
  if (link->hotKeyId != 0 && UnregisterHotKey(table.ownerWindow(), link->hotKeyId)) link->hotKeyId = 0;
  for (const int32_t id : ids) UnregisterHotKey(table.ownerWindow(), id);
}

}  // namespace

bool CMainWnd::EditLink(const std::shared_ptr<Link>& link) {
  if (!link) return false;
  const std::wstring oldSource = link->GetIconSource();
  const std::wstring oldKey = link->GetIconKey();
  const Link stored = *link;
  UINT result = 0;
  {
    auto dialog = std::make_unique<CEditWnd>();
    dialog->SetLink(link);
    DialogScope scope(*this, dialog.get());
    result = RunOwnedDialog(dialog, GetHWND(), L"EditWnd");
  }
  if (result != CDialogWnd::kResultOk) return false;
  // A link deleted while the editor was up is not written back, and keeps no
  // chord. A link the store holds again under its ID (another object) keeps its own.
  if (GetLinkStore().FindLink(link->ID) != link) {
    ReleaseChordOfGoneLink(link);
    return false;
  }
  if (!GetLinkStore().SaveLink(link)) {
    RestoreStoredLink(link, stored);
    OnTagSelect(nullptr);
    ShowNotice(kSaveFailedNotice);
    return false;
  }
  const bool builtIn = !oldKey.empty() && (oldKey[0] == L'#' || oldKey[0] == L'*');
  if (!builtIn && (link->GetIconSource() != oldSource || link->GetIconKey() != oldKey)) {
    GetIconCache().RemoveCache(oldKey, false);
  }
  OnTagSelect(nullptr);
  return true;
}
