// The display text of a hot-key chord, as the hot-key fields, the overview and
// the registration failure message show it.
#pragma once

#include <cstdint>
#include <string>

// "Ctrl + Shift + Alt + Win + Key", the modifier parts in that order; Alt (Win)
// is left out when the key is Alt (the Win key) itself. Key names come from the
// keyboard layout, except Space, Win, X1 and X2 (the mouse side buttons). Empty
// for no modifiers and no key.
std::wstring HotKeyToText(uint32_t modifiers, uint32_t virtualKey);

// The same for a stored code: modifiers in bits 8 to 15, the key in bits 0 to 7.
std::wstring HotKeyCodeToText(uint32_t code);
