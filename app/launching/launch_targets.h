// The texts a launch hands to the system, worked out from a link without touching
// the system, so each rule can be checked on its own.
#pragma once

#include <string>

struct Link;

// The working folder of a program, file or shell item: WorkDir resolved; else the
// stored PATH up to its last backslash, resolved; else the resolved PATH cut
// before its last backslash (the whole resolved PATH when it has none).
std::wstring LaunchWorkingDirectory(const Link& link);

// The folder command for a folder: the command resolved like a path, every "%1"
// replaced by the folder as it is (the user's command supplies any quotes).
std::wstring ExpandFolderCommand(const std::wstring& openDirCmd, const std::wstring& folder);

// The switch that opens a browser privately, chosen by what the lowered ProgId
// begins with, followed by one blank: "-inprivate " (msedge), "-private-window "
// (firefox), "--incognito " (chrome), "--private " (opera), else "-private ".
std::wstring PrivateModeSwitch(const std::wstring& progId);

// The program of a browser's open command: the text inside a leading pair of
// quotes; for an unquoted command the shortest run of blank-separated words from
// the start that names an existing file, else its first word. Empty for an empty
// command.
std::wstring BrowserProgramFromCommand(const std::wstring& command);

// The address as one argument: in double quotes when it holds a blank.
std::wstring QuoteAddressArgument(const std::wstring& address);
