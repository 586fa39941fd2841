#include "data/hot_key_table.h"

namespace {

// String atoms run from 0xC000 to 0xFFFF; the hot-key id is the atom's offset in that
// range. Integer atoms ("#123") and failures fall outside it and give no id.
constexpr ATOM kFirstStringAtom = 0xC000;
constexpr int32_t kLastHotKeyId = 0x3FFF;

int32_t HotKeyIdForName(const std::wstring& name) {
  const ATOM atom = GlobalAddAtomW(name.c_str());
  if (atom < kFirstStringAtom) return 0;
  const int32_t id = atom - kFirstStringAtom;
  return id <= kLastHotKeyId ? id : 0;
}

}  // namespace

HotKeyTable::~HotKeyTable() { UnregisterAll(); }

bool HotKeyTable::RegisterLink(const std::shared_ptr<Link>& link) {
  if (!link) return false;
  if (link->hotKeyId != 0 && UnregisterHotKey(owner_, link->hotKeyId)) link->hotKeyId = 0;
  if (link->HotKey == 0) return false;

  entries_.push_back({link, 0});
  const int32_t id = HotKeyIdForName(link->NAME);
  const uint8_t modifiers = HotKeyModifiers(link->HotKey);
  const uint8_t key = HotKeyVirtualKey(link->HotKey);
  if (id == 0 || key == 0 || modifiers == 0) return false;
  if (!RegisterHotKey(owner_, id, modifiers, key)) return false;

  link->hotKeyId = id;
  entries_.back().id = id;
  return true;
}

std::shared_ptr<Link> HotKeyTable::FindLink(uint16_t code) const {
  for (const Entry& entry : entries_) {
    auto link = entry.link.lock();
    if (link && link->HotKey == code) return link;
  }
  return nullptr;
}

void HotKeyTable::UnregisterAll() {
  for (const Entry& entry : entries_) {
    if (auto link = entry.link.lock()) {
      if (link->hotKeyId != 0 && UnregisterHotKey(owner_, link->hotKeyId)) link->hotKeyId = 0;
    } else if (entry.id != 0) {
      // The link was deleted while its key stayed registered: undo it by the id kept.
      UnregisterHotKey(owner_, entry.id);
    }
  }
  entries_.clear();
}

HotKeyTable& GetHotKeyTable() {
  static HotKeyTable table;
  return table;
}
