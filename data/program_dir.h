// The folder of the running executable, against which the launcher's stored
// program-relative paths and its "db" and "icons" folders are resolved.
#pragma once

#include <string>

// The executable's folder with its trailing backslash, as the platform names it
// (letter case kept).
std::wstring GetProgramDir();
