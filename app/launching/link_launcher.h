// Starting a link's target by its kind. Called on a launch thread, which has COM
// initialised; blocks as long as the shell takes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Link;

enum class LaunchMode {
  kNormal,    // "open"; folders through the folder command or their own "open"
  kElevated,  // "runas"; folders through explorer.exe; web addresses privately
};

// Opens the link's target. `openDirCmd` is the settings' folder command (a command
// line in which "%1" stands for the folder; empty for the shell's own way). A link
// marked IsAdmin always starts elevated. False when the target could not be
// opened: the shell refused it (gone, no program for its kind) or the folder
// command could not start. Built-in functions and private browsing count as opened.
bool LaunchLink(const Link& link, const std::wstring& openDirCmd, LaunchMode mode);

// Runs the folder command with the folder put in place of every "%1": the command
// line is passed to CreateProcessW whole, so names outside the ANSI code page
// survive. False when the process could not be created.
bool RunFolderCommand(const std::wstring& openDirCmd, const std::wstring& folder);

// Opens an absolute item-ID list held as bytes with the shell's "open". False,
// without asking the shell, for no bytes or bytes that are not one whole list.
bool OpenItemIdList(const std::vector<uint8_t>& bytes);
