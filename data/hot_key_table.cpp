#include "data/hot_key_table.h"

HotKeyTable::~HotKeyTable() { UnregisterAll(); }

bool HotKeyTable::RegisterLink(const std::shared_ptr<Link>& link) {
  if (!link) return false;
  if (link->hotKeyId != 0 && UnregisterHotKey(owner_, link->hotKeyId)) link->hotKeyId = 0;
  if (link->HotKey == 0) return false;

  entries_.push_back({link, 0});
  const uint8_t modifiers = HotKeyModifiers(link->HotKey);
  const uint8_t key = HotKeyVirtualKey(link->HotKey);
  if (key == 0 || modifiers == 0) return false;
  const int32_t id = NextLinkId();
  if (id == 0 || !RegisterHotKey(owner_, id, modifiers, key)) return false;

  link->hotKeyId = id;
  entries_.back().id = id;
  return true;
}

bool HotKeyTable::UnregisterLink(const std::shared_ptr<Link>& link) {
  if (!link) return false;
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (it->link.lock() == link) {
      entries_.erase(it);
      break;
    }
  }
  if (link->hotKeyId == 0 || !UnregisterHotKey(owner_, link->hotKeyId)) return false;
  link->hotKeyId = 0;
  return true;
}

bool HotKeyTable::IdInUse(int32_t id) const {
  for (const Entry& entry : entries_) {
    if (entry.id == id) return true;
    auto link = entry.link.lock();
    if (link && link->hotKeyId == id) return true;
  }
  return false;
}

int32_t HotKeyTable::NextLinkId() {
  for (int32_t tries = 0; tries <= kLastLinkId - kFirstLinkId; ++tries) {
    const int32_t id = nextId_;
    nextId_ = id == kLastLinkId ? kFirstLinkId : id + 1;
    if (!IdInUse(id)) return id;
  }
  return 0;
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
