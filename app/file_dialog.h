// The system's file-open dialog for the launcher's dialogs. The current
// directory is the program folder again afterwards, whatever the dialog did:
// the launcher's relative paths (".\conf.ini", "db\") depend on it.
#pragma once

#include <windows.h>

#include <string>

// The chosen file, or empty when the user cancelled. `filter` is the usual
// pairs of NUL-separated texts; `initialFolder` may be empty.
std::wstring ChooseFileToOpen(HWND owner, const std::wstring& filter, const std::wstring& initialFolder);
