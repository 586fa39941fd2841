// Telling the icon cache which link icons to drop, so that they are built again
// (soft) or forgotten with their stored rows (hard).
#include <windows.h>

#include <cstdio>
#include <string>

#include "data/icon_cache.h"
#include "data/link_store.h"
#include "data/trace_line.h"

bool LinkStore::RemoveLinkIcon(const std::shared_ptr<Link>& link) {
  if (!link) return false;
  const std::wstring key = link->GetIconKey();
  // Built-in icons are shared and never rebuilt; a file-type icon is.
  if (key.empty() || key[0] == L'#') return true;
  return GetIconCache().RemoveCache(key, false);
}

bool LinkStore::RefreshLinkIcons(const std::vector<std::shared_ptr<Link>>& links, bool hard) {
  if (links.empty()) return true;
  std::vector<std::wstring> keys;
  keys.reserve(links.size());
  for (const auto& link : links) {
    if (!link) continue;
    if (hard) linksById.erase(link->ID);
    keys.push_back(link->GetIconKey());
  }
  return GetIconCache().RemoveCacheBatch(keys, hard);
}

bool LinkStore::RefreshTagIcons(const std::shared_ptr<Group>& tag) {
  if (!tag) return false;
  PrintTrace("RefreshIconGroup %s,%s\n", std::to_wstring(tag->ID), tag->NAME);
  return RefreshLinkIcons(tag->links, false);
}

bool LinkStore::RefreshAllIcons() {
  LARGE_INTEGER start{};
  LARGE_INTEGER end{};
  QueryPerformanceCounter(&start);
  for (const auto& group : topGroups) {
    for (const auto& tag : group->tags) RefreshLinkIcons(tag->links, false);
  }
  QueryPerformanceCounter(&end);
  std::printf("%lld\n", static_cast<long long>(end.QuadPart - start.QuadPart));
  return true;
}
