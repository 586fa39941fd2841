// Turns a link's stored path or icon source text into the path to use: the
// program-relative forms, environment variables and bare names found in the
// program's icon folders or along the system search path.
#pragma once

#include <string>

// Resolution against the running executable's folder (GetProgramDir).
std::wstring ResolveLinkPath(const std::wstring& path);
// The same against a given program folder (with its trailing backslash).
std::wstring ResolveLinkPath(const std::wstring& path, const std::wstring& programDir);
