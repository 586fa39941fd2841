#include "tests/support/test_support.h"

#include <windows.h>
#include <shellapi.h>

#include <fstream>
#include <iterator>

namespace pexo_test {

TempDir::TempDir() {
  wchar_t base[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, base);
  static unsigned counter = 0;
  for (;;) {
    wchar_t name[MAX_PATH + 64];
    swprintf(name, MAX_PATH + 64, L"%lspexo_test_%lu_%u", base, GetCurrentProcessId(), ++counter);
    if (CreateDirectoryW(name, nullptr)) {
      path_ = name;
      return;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) return;
  }
}

TempDir::~TempDir() {
  if (path_.empty()) return;
  // SHFileOperation needs a double-NUL-terminated list.
  std::wstring from = path_;
  from.push_back(L'\0');
  SHFILEOPSTRUCTW op = {};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NO_UI;
  SHFileOperationW(&op);
}

std::wstring TempDir::File(const std::wstring& name) const { return path_ + L"\\" + name; }

std::wstring DataFile(const std::wstring& relative) {
  std::string base = PEXO_TEST_DATA_DIR;
  std::wstring path(base.begin(), base.end());
  // The data folder is a Linux path; Wine maps it through drive Z:.
  if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
  path += L"\\" + relative;
  for (auto& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

std::string ReadFileBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  CloseHandle(file);
  return ok;
}

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  size_t slash = folder.find_last_of(L"\\/");
  return slash == std::wstring::npos ? folder : folder.substr(0, slash);
}

std::wstring PictureFolder() {
  wchar_t asked[8] = {};
  const DWORD length = GetEnvironmentVariableW(L"PEXO_WRITE_DOCS", asked, 8);
  const bool intoDocs = length > 0 && length < 8 && std::wstring(asked) == L"1";
  const std::wstring folder = intoDocs ? DataFile(L"..\\..\\docs") : ExeFolder();
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder + L"\\";
}

bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace pexo_test
