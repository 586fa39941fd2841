// Brings a window to the foreground even when another program holds it, by
// briefly sharing that program's input state. Used when the launcher is
// summoned by a hot key, the tray, a second start or the docked edge.
#pragma once

#include <windows.h>

// Restores an iconic window first. A hung window gets one plain attempt;
// otherwise up to 10 rounds of attaching to the foreground thread's input, each
// followed by a 10 ms pause, while the window is not yet in front. Returns the last
// SetForegroundWindow result.
bool ForceForegroundWindow(HWND window);
