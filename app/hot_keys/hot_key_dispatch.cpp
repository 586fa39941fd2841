#include "app/hot_keys/hot_key_dispatch.h"

#include "data/group.h"
#include "data/hot_key_table.h"
#include "data/link.h"
#include "data/settings.h"

namespace {

bool ChordMatches(int code, uint32_t modifiers, uint32_t key) {
  if (code == 0) return false;
  const uint16_t chord = static_cast<uint16_t>(code);
  return HotKeyModifiers(chord) == modifiers && HotKeyVirtualKey(chord) == key;
}

bool SortsByRunCount(const Link& link) {
  auto tag = link.group.lock();
  return tag && tag->SORT == kSortByRunCount;
}

}  // namespace

HotKeyTarget DispatchHotKey(LPARAM lParam, const Settings& settings, const HotKeyTable& table,
                            const HotKeyActions& actions) {
  const uint32_t modifiers = LOWORD(lParam);
  const uint32_t key = HIWORD(lParam);

  if (ChordMatches(settings.nMainHotKey, modifiers, key)) {
    if (actions.toggleMain) actions.toggleMain();
    return HotKeyTarget::kMain;
  }
  if (ChordMatches(settings.nSearchHotKey, modifiers, key) && actions.showSearch && actions.showSearch()) {
    return HotKeyTarget::kSearch;
  }

  if (modifiers > 0xFF || key > 0xFF) return HotKeyTarget::kNone;
  auto link = table.FindLink(MakeHotKeyCode(static_cast<uint8_t>(modifiers), static_cast<uint8_t>(key)));
  if (!link) return HotKeyTarget::kNone;
  if (actions.launchLink) actions.launchLink(link);
  if (settings.bSaveRunCount) {
    ++link->RunCount;
    if (actions.saveRunCount) actions.saveRunCount(link);
    if (SortsByRunCount(*link) && actions.rebuildTagView) actions.rebuildTagView();
  }
  return HotKeyTarget::kLink;
}
