// The random drive's actions: The settings dialog (transparency, theme, the folder command; OK and Cancel), theme switches from the main menu, and the tray menu.
#pragma once

#include "tests/app/end_to_end/random_drive_basics.h"

namespace drive {

inline std::vector<Action> SettingsActions() { return {}; }

}  // namespace drive
