// The opacity every window of the launcher takes from the stored "nAlpha": the
// main window, the search window, every dialog and every menu level alike.
#pragma once

// The window alpha applied for a stored "nAlpha": values below 128 would make a
// window all but invisible while it holds the keyboard, with no way back, and
// values above 255 are no opacity at all, so both are brought into 128-255.
// The stored value itself is kept as it is.
int EffectiveAlpha(int storedAlpha);

// EffectiveAlpha of the process-wide settings' "nAlpha".
int LauncherWindowAlpha();

// Puts LauncherWindowAlpha into effect for every popup menu: the levels shown
// from now on take it.
void ApplyMenuAlpha();
