#include "app/dialogs/file_dialog.h"

#include <commdlg.h>

#include "data/program_dir.h"

const std::wstring& AllFilesFilter() {
  using namespace std::string_literals;
  // The literal operator keeps the embedded NULs and counts them itself.
  static const std::wstring filter = L"所有文件\0*.*\0\0"s;
  return filter;
}

std::wstring ChooseFileToOpen(HWND owner, const std::wstring& filter, const std::wstring& initialFolder) {
  wchar_t file[MAX_PATH] = {};
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  const bool chosen = GetOpenFileNameW(&ofn) != FALSE;
  SetCurrentDirectoryW(GetProgramDir().c_str());
  return chosen ? std::wstring(file) : std::wstring();
}
