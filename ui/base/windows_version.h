// Whether the running Windows is at least a given version; several components choose
// between newer and older platform calls with it.
#pragma once

#include <windows.h>

#include <optional>

struct WindowsVersion {
  DWORD major = 0;
  DWORD minor = 0;
  WORD servicePackMajor = 0;
};

// Asks the platform (VerifyVersionInfoW, greater-or-equal on major, minor and service
// pack major together) unless a version was injected.
bool IsWindowsVersionAtLeast(DWORD major, DWORD minor, WORD servicePackMajor);

// Makes IsWindowsVersionAtLeast answer for the given version instead of the platform,
// so both branches of a version test can run on any host (Wine reports an old one);
// nullopt restores the platform's answer. Components that remember a version test
// must be given the version before their first test.
void OverrideWindowsVersion(std::optional<WindowsVersion> version);
