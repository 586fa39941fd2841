// The built-in icon keys, seeded at every load of the icon cache: the shell's
// folder icons, and the program's own icon and SVG resources for the fall-back
// icons and the system commands.
#include "data/icon_cache.h"
#include "data/icon_resource_ids.h"

namespace {

enum class Source { kStockFolder, kIconResource, kSvgResource, kShellFolder };

struct BuiltinIcon {
  const wchar_t* key;
  Source source;
  int id;  // resource id, or CSIDL number of a shell folder
};

constexpr BuiltinIcon kBuiltinIcons[] = {
    {L"#dir", Source::kStockFolder, 0},
    {L"#url", Source::kIconResource, PEXO_ICON_URL},
    {L"#err", Source::kIconResource, PEXO_ICON_ERROR},
    {L"#uwp", Source::kIconResource, PEXO_ICON_STORE_APP},
    {L"#Sys", Source::kIconResource, PEXO_ICON_SYSTEM},
    {L"#AdminTools", Source::kIconResource, PEXO_ICON_ADMIN_TOOLS},
    {L"#MonitorOff", Source::kIconResource, PEXO_ICON_MONITOR_OFF},
    {L"#Shutdown", Source::kSvgResource, PEXO_SVG_SHUTDOWN},
    {L"#Restart", Source::kSvgResource, PEXO_SVG_RESTART},
    {L"#LOCK", Source::kSvgResource, PEXO_SVG_LOCK},
    {L"#SLEEP", Source::kSvgResource, PEXO_SVG_SLEEP},
    {L"#VolumeUp", Source::kSvgResource, PEXO_SVG_VOLUME_UP},
    {L"#VolumeDown", Source::kSvgResource, PEXO_SVG_VOLUME_DOWN},
    {L"#Mute", Source::kSvgResource, PEXO_SVG_MUTE},
    {L"#ControlPanel", Source::kShellFolder, 3},
    {L"#Computer", Source::kShellFolder, 17},
    {L"#Document", Source::kShellFolder, 5},
    {L"#Network", Source::kShellFolder, 18},
    {L"#Recycle", Source::kShellFolder, 10},  // the recycle bin
    {L"#Recent", Source::kShellFolder, 8},
};

}  // namespace

bool IconCache::AddBuiltinIcons() {
  for (const BuiltinIcon& icon : kBuiltinIcons) {
    DeferIcon(icon.key, [icon](IconCache& cache) {
      switch (icon.source) {
        case Source::kStockFolder:
          return cache.AddSysIconToCache(icon.key, GetStockFolderIconIndex());
        case Source::kIconResource:
          return cache.AddResIcoToCache(icon.id, icon.key);
        case Source::kSvgResource:
          return cache.AddSkinImageToCache(icon.id, icon.key);
        case Source::kShellFolder:
          return cache.AddSysIconToCache(icon.key, GetFolderIconIndex(icon.id));
      }
      return false;
    });
  }
  return true;
}
