#include "data/program_dir.h"

#include <windows.h>

std::wstring GetProgramDir() {
  wchar_t path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length < MAX_PATH ? length : 0);
  return folder.substr(0, folder.rfind(L'\\') + 1);
}
