// The main window's way of turning a dropped or picked path into a new link.
#include "app/link_from_path.h"
#include "app/main_wnd.h"

std::shared_ptr<Link> CMainWnd::AddLinkFromPath(const std::wstring& path) { return MakeLinkFromPath(path); }
