// The random drive's actions of the settings dialog (the transparency, the theme,
// the folder command; ended with OK, Enter, Cancel, Escape or the caption's close),
// of the main menu's theme level, and of the tray menu (the settings, the hot-key
// overview, the exit); and closes that come while the settings dialog is up (the
// main window closed, a second start).
#pragma once

#include <vector>

#include "tests/app/end_to_end/random_drive.h"

namespace drive {

std::vector<Action> SettingsActions();

}  // namespace drive
