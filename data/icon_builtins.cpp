// The built-in icon keys, seeded at every load of the icon cache: the shell's
// folder icons, and the program's own icon and SVG resources for the fall-back
// icons and the system commands.
#include <shlobj.h>

#include "data/icon_cache.h"
#include "data/icon_resource_ids.h"

namespace {

// The shell folders behind the folder keys (CSIDL numbers).
constexpr int kControlPanelFolder = 3;
constexpr int kComputerFolder = 17;
constexpr int kDocumentsFolder = 5;
constexpr int kNetworkFolder = 18;
constexpr int kRecycleBinFolder = 10;
constexpr int kRecentFolder = 8;

}  // namespace

bool IconCache::AddBuiltinIcons() {
  AddSysIconToCache(L"#dir", GetStockFolderIconIndex());
  AddResIcoToCache(PEXO_ICON_URL, L"#url");
  AddResIcoToCache(PEXO_ICON_ERROR, L"#err");
  AddResIcoToCache(PEXO_ICON_STORE_APP, L"#uwp");
  AddResIcoToCache(PEXO_ICON_SYSTEM, L"#Sys");
  AddResIcoToCache(PEXO_ICON_ADMIN_TOOLS, L"#AdminTools");
  AddResIcoToCache(PEXO_ICON_MONITOR_OFF, L"#MonitorOff");
  AddSkinImageToCache(PEXO_SVG_SHUTDOWN, L"#Shutdown");
  AddSkinImageToCache(PEXO_SVG_RESTART, L"#Restart");
  AddSkinImageToCache(PEXO_SVG_LOCK, L"#LOCK");
  AddSkinImageToCache(PEXO_SVG_SLEEP, L"#SLEEP");
  AddSkinImageToCache(PEXO_SVG_VOLUME_UP, L"#VolumeUp");
  AddSkinImageToCache(PEXO_SVG_VOLUME_DOWN, L"#VolumeDown");
  AddSkinImageToCache(PEXO_SVG_MUTE, L"#Mute");
  AddSysIconToCache(L"#ControlPanel", GetFolderIconIndex(kControlPanelFolder));
  AddSysIconToCache(L"#Computer", GetFolderIconIndex(kComputerFolder));
  AddSysIconToCache(L"#Document", GetFolderIconIndex(kDocumentsFolder));
  AddSysIconToCache(L"#Network", GetFolderIconIndex(kNetworkFolder));
  AddSysIconToCache(L"#Recycle", GetFolderIconIndex(kRecycleBinFolder));
  AddSysIconToCache(L"#Recent", GetFolderIconIndex(kRecentFolder));
  return true;
}
