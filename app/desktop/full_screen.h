// Whether a full-screen program (a game, a film) is in front. Safe on any thread.
#pragma once

// True when the foreground window covers the whole desktop and is not the
// desktop itself (the desktop window, the shell window, "Progman", "WorkerW").
bool IsForegroundFullScreen();
