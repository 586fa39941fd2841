#include "app/desktop/autorun_shortcut.h"

#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cwctype>

#include "ui/base/scoped_handles.h"

namespace {

bool IsFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring AsciiLower(std::wstring text) {
  for (wchar_t& c : text) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  return text;
}

ui::ComPtr<IShellLinkW> NewShellLink() {
  ui::ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void()))) {
    return {};
  }
  return link;
}

// The target of an existing shortcut; empty when it cannot be read.
std::wstring ShortcutTarget(const std::wstring& path) {
  ui::ComPtr<IShellLinkW> link = NewShellLink();
  if (!link) return {};
  ui::ComPtr<IPersistFile> persist = link.As<IPersistFile>();
  if (!persist || FAILED(persist->Load(path.c_str(), STGM_READ))) return {};
  wchar_t target[MAX_PATH] = {};
  if (FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH))) return {};
  return target;
}

}  // namespace

std::wstring AutorunShortcutPath(DWORD majorVersion) {
  const wchar_t* pattern = majorVersion >= 6
                               ? L"%APPDATA%\\Microsoft\\Windows\\Start Menu\\Programs\\Startup\\Pexo.lnk"
                               : L"%USERPROFILE%\\「开始」菜单\\程序\\启动\\Pexo.lnk";
  wchar_t expanded[MAX_PATH] = {};
  const DWORD length = ExpandEnvironmentStringsW(pattern, expanded, MAX_PATH);
  if (length == 0 || length > MAX_PATH) return {};
  return expanded;
}

bool SyncAutorunShortcut(const std::wstring& shortcutPath, const std::wstring& programPath, bool on) {
  if (shortcutPath.empty()) return false;
  if (!on) return DeleteFileW(shortcutPath.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
  if (programPath.empty()) return false;
  if (IsFile(shortcutPath)) {
    const std::wstring target = ShortcutTarget(shortcutPath);
    if (!target.empty() && AsciiLower(target) != AsciiLower(programPath)) DeleteFileW(shortcutPath.c_str());
  }
  if (IsFile(shortcutPath)) return true;
  ui::ComPtr<IShellLinkW> link = NewShellLink();
  if (!link) return false;
  const size_t slash = programPath.find_last_of(L'\\');
  const std::wstring folder = slash == std::wstring::npos ? std::wstring() : programPath.substr(0, slash + 1);
  link->SetPath(programPath.c_str());
  link->SetWorkingDirectory(folder.c_str());
  ui::ComPtr<IPersistFile> persist = link.As<IPersistFile>();
  return persist && SUCCEEDED(persist->Save(shortcutPath.c_str(), FALSE));
}

bool SyncAutorunShortcut(bool on) {
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExW(&version);
#pragma GCC diagnostic pop
  wchar_t program[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  return SyncAutorunShortcut(AutorunShortcutPath(version.dwMajorVersion), program, on);
}
