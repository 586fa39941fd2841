// How the main window can take drops from the shell. A drag from a shell of a
// lower integrity level never reaches an elevated window's OLE drop target, so an
// elevated launcher under a non-elevated shell first lowers its own integrity
// level and, when it cannot, takes the shell's WM_DROPFILES instead.
#pragma once

#include <windows.h>

// True when the process's token reads as elevated; false when it cannot be
// opened or read.
bool IsProcessElevated(HANDLE process);

// True when the first "explorer.exe" in the process list runs elevated; false when
// there is none or it cannot be opened.
bool IsShellElevated();

// Sets this process's integrity level to medium; false when refused.
bool LowerToMediumIntegrity();

// Lets the shell's file drops reach `window` as WM_DROPFILES across integrity levels.
void AcceptShellFileDrops(HWND window);

enum class DropRoute {
  kOleTarget,   // register the OLE drop target
  kShellFiles,  // WM_DROPFILES only
};

// The route the main window takes: the OLE target unless this process is elevated
// under a non-elevated shell and cannot lower itself.
DropRoute ChooseDropRoute(bool selfElevated, bool shellElevated, bool (*lowerIntegrity)());
