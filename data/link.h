// One row of the "Links" table held in memory.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/compact_text.h"

struct Group;

// Links.TYPE values.
enum LinkType : int32_t {
  kLinkProgram = 0,
  kLinkDriveRoot = 1,
  kLinkFolder = 2,
  kLinkFile = 3,
  kLinkWebAddress = 4,
  kLinkBuiltinFunction = 5,
  kLinkShellItem = 6,
  kLinkItemIdList = 7,  // target held in Pidl
};

// Hot-key code: modifier bits in the high byte, virtual key in the low byte.
enum HotKeyModifier : uint8_t {
  kHotKeyAlt = 1,
  kHotKeyCtrl = 2,
  kHotKeyShift = 4,
  kHotKeyWin = 8,
};
inline uint8_t HotKeyModifiers(uint16_t code) { return static_cast<uint8_t>(code >> 8); }
inline uint8_t HotKeyVirtualKey(uint16_t code) { return static_cast<uint8_t>(code & 0xFF); }
inline uint16_t MakeHotKeyCode(uint8_t modifiers, uint8_t virtual_key) {
  return static_cast<uint16_t>((modifiers << 8) | virtual_key);
}
// Virtual keys 5 and 6 are the two extra mouse buttons.
inline bool IsMouseButtonHotKey(uint16_t code) {
  const uint8_t key = HotKeyVirtualKey(code);
  return key == 5 || key == 6;
}

// Field names follow the table's column names so that the SQL and the code read alike.
struct Link {
  int32_t ID = 0;                // 0 while the link is not stored yet
  int32_t ParentGroup = 0;       // ID of the owning tag
  std::weak_ptr<Group> group;    // the owning tag
  int32_t POS = 0;               // index in the owning tag's links
  int32_t TYPE = 0;              // LinkType
  std::wstring NAME;
  CompactText nameInitials;      // NAME as initials, lower-cased: search and sort key
  std::wstring PATH;
  std::vector<uint8_t> Pidl;     // item-ID list of an item-ID-list link
  std::wstring ICON;
  std::wstring Parameter;
  std::wstring WorkDir;
  int32_t ShowCmd = 0;           // written on insert only
  uint16_t HotKey = 0;
  int32_t hotKeyId = 0;          // id of the registered hot key, 0 when not registered
  bool IsAdmin = false;
  std::wstring CustomColor;      // "#AARRGGBB" or empty
  std::wstring Remark;
  CompactText remarkInitials;    // Remark as initials, lower-cased
  int32_t RunCount = 0;

  // The key under which the icon cache keeps this link's icon. A web address without
  // an icon gets the shared "#url" icon, remembered in ICON.
  std::wstring GetIconKey();
  // The text the icon cache makes this link's icon from: ICON expanded when it is
  // set or the link is a web address or built-in function, empty for an item-ID
  // list, else the expanded PATH.
  std::wstring GetIconSource() const;
  // PATH expanded against the program folder and the environment; empty for an
  // item-ID list, whose target is in Pidl.
  std::wstring GetResolvedPath() const;
};
