// The system's file-open dialog for the launcher's dialogs. The current
// directory is the program folder again afterwards, whatever the dialog did:
// the launcher's relative paths (".\conf.ini", "db\") depend on it.
#pragma once

#include <windows.h>

#include <string>

// The filter that shows every file: "所有文件" with the pattern "*.*", each
// text ended by a NUL and the list by a second one, all within the string.
const std::wstring& AllFilesFilter();

// The chosen file, or empty when the user cancelled. `filter` is the usual
// pairs of NUL-separated texts; `initialFolder` may be empty.
std::wstring ChooseFileToOpen(HWND owner, const std::wstring& filter, const std::wstring& initialFolder);
