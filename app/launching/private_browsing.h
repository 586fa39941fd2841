// Opening a web address in the default browser's private mode.
#pragma once

#include <string>

// The current user's default web browser: its ProgId and the open command
// registered for it. Empty texts when the system does not say.
struct DefaultBrowser {
  std::wstring progId;
  std::wstring openCommand;
};
DefaultBrowser ReadDefaultBrowser();

// Starts the default browser's program with its private-mode switch and the
// address. When no browser is known or its program does not start, the address
// opens normally instead. Runs on a launch thread.
void OpenAddressPrivately(const std::wstring& address);
