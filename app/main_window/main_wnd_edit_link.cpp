// The card menu's link editor: runs the editor over the main window, then drops
// the link's old icon when its source changed, stores the link and rebuilds the
// cards.
#include "app/dialogs/edit_wnd.h"
#include "app/main_window/main_wnd.h"
#include "data/icon_cache.h"
#include "data/link.h"
#include "data/link_store.h"

bool CMainWnd::EditLink(const std::shared_ptr<Link>& link) {
  if (!link) return false;
  const std::wstring oldSource = link->GetIconSource();
  const std::wstring oldKey = link->GetIconKey();
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
  const bool builtIn = !oldKey.empty() && (oldKey[0] == L'#' || oldKey[0] == L'*');
  if (!builtIn && (link->GetIconSource() != oldSource || link->GetIconKey() != oldKey)) {
    GetIconCache().RemoveCache(oldKey, false);
  }
  const bool saved = GetLinkStore().SaveLink(link);
  OnTagSelect(nullptr);
  return saved;
}
