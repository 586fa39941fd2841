// A stand-in target for the launch tests: writes its command line and its working
// folder, one per line in UTF-8, to the file named by PEXO_LAUNCH_RECORD. The text
// is written to a side file first and moved into place, so a reader never sees
// half of it.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t target[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"PEXO_LAUNCH_RECORD", target, MAX_PATH)) return 1;
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  std::wstring text = std::wstring(GetCommandLineW()) + L"\n" + folder + L"\n";
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(bytes, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), bytes, nullptr, nullptr);
  std::wstring side = std::wstring(target) + L".part" + std::to_wstring(GetCurrentProcessId());
  HANDLE file = CreateFileW(side.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 2;
  DWORD written = 0;
  WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  CloseHandle(file);
  return MoveFileExW(side.c_str(), target, MOVEFILE_REPLACE_EXISTING) ? 0 : 3;
}
