// The links' global hot keys, registered for the main window under one atom per link
// name, and undone when the process ends.
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
  // key without a modifier or a modifier without a key, a name that gives no usable
  // atom, or when the system refuses the combination.
  bool RegisterLink(const std::shared_ptr<Link>& link);

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
  HWND owner_ = nullptr;
  std::vector<Entry> entries_;
};

// The process-wide table, created empty on first use.
HotKeyTable& GetHotKeyTable();
