// The links' global hot keys, registered for the main window under an id of their
// own, and undone when the process ends.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "data/link.h"

class HotKeyTable {
 public:
  HotKeyTable() = default;
  ~HotKeyTable();
  HotKeyTable(const HotKeyTable&) = delete;
  HotKeyTable& operator=(const HotKeyTable&) = delete;

  // The window that receives WM_HOTKEY; set by the main window before links load.
  void SetOwnerWindow(HWND window) { owner_ = window; }
  HWND ownerWindow() const { return owner_; }

  // Drops the link's former registration, then registers its current HotKey. True
  // when the key is now registered (Link::hotKeyId tells the id); false for no key, a
  // key without a modifier or a modifier without a key, or when the system refuses
  // the combination. Every registration takes an id of its own from kFirstLinkId
  // up, so links never share an id whatever their names, and never meet the
  // application's chords, whose ids come from string atoms (0 to 0x3FFF).
  bool RegisterLink(const std::shared_ptr<Link>& link);

  // Takes the first entry of this link out of the table, then undoes its
  // registration. True when a registered key was undone (hotKeyId becomes 0);
  // false for an unregistered link or when the system refuses (the entry is gone
  // either way).
  bool UnregisterLink(const std::shared_ptr<Link>& link);

  static constexpr int32_t kFirstLinkId = 0x4000;
  static constexpr int32_t kLastLinkId = 0xBFFF;  // RegisterHotKey's limit for applications

  // The first live link, in registration order, whose HotKey equals the code.
  std::shared_ptr<Link> FindLink(uint16_t code) const;

  // Undoes every registration still in place and empties the table; run at exit.
  void UnregisterAll();

  // Every link handed to RegisterLink with a non-zero HotKey, in call order.
  struct Entry {
    std::weak_ptr<Link> link;
    int32_t id = 0;  // id registered by that call, 0 when it failed
  };
  const std::vector<Entry>& entries() const { return entries_; }

 private:
  // The next unused id, wrapping within the link range and skipping ids in use.
  int32_t NextLinkId();
  bool IdInUse(int32_t id) const;

  HWND owner_ = nullptr;
  std::vector<Entry> entries_;
  int32_t nextId_ = kFirstLinkId;
};

// The process-wide table, created empty on first use.
HotKeyTable& GetHotKeyTable();
