// The card menu's link editor: runs the editor over the main window, stores the
// link, then drops its old icon when its source changed and rebuilds the cards.
// A link the store refuses gets its stored fields and chord back.
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
  // A link deleted while the editor was up is not written back.
  if (GetLinkStore().FindLink(link->ID) != link) return false;
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
