#include "app/launching/link_launcher.h"

#include <windows.h>
#include <shellapi.h>

#include <string_view>

#include "app/launching/builtin_commands.h"
#include "app/launching/launch_targets.h"
#include "app/launching/private_browsing.h"
#include "app/launching/shell_actions.h"
#include "data/link.h"
#include "data/link_path.h"
#include "ui/base/scoped_handles.h"

namespace {

bool OpenFolder(const Link& link, const std::wstring& openDirCmd, LaunchMode mode) {
  std::wstring folder = ResolveLinkPath(link.PATH);
  if (!openDirCmd.empty()) return RunFolderCommand(openDirCmd, folder);
  if (mode == LaunchMode::kElevated) return ShellOpen(L"open", L"explorer.exe", &folder, nullptr);
  return ShellOpen(L"open", folder, nullptr, nullptr);
}

bool OpenFileOrProgram(const Link& link, LaunchMode mode) {
  std::wstring file = ResolveLinkPath(link.PATH);
  std::wstring parameters = link.Parameter.empty() ? std::wstring() : ResolveLinkPath(link.Parameter);
  std::wstring directory = LaunchWorkingDirectory(link);
  if (ShellOpen(mode == LaunchMode::kElevated ? L"runas" : L"open", file, &parameters, &directory)) return true;
  // An elevation the user declined is the user's own answer, not a failure to tell of.
  return mode == LaunchMode::kElevated && GetLastError() == ERROR_CANCELLED;
}

}  // namespace

bool RunFolderCommand(const std::wstring& openDirCmd, const std::wstring& folder) {
  std::wstring commandLine = ExpandFolderCommand(openDirCmd, folder);
  if (commandLine.empty()) return false;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process = {};
  // CreateProcessW may write into the command line, so it gets a buffer of its own.
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool OpenItemIdList(const std::vector<uint8_t>& bytes) {
  // Stored bytes may be cut short or damaged; the shell would read past them. With
  // no list at all there is nothing to open either.
  ui::AbsoluteItemIdList list = ui::AbsoluteItemIdList::FromBytes(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  if (!list) return false;
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_IDLIST;
  info.lpVerb = L"open";
  info.lpIDList = list.get();
  info.nShow = SW_SHOWNORMAL;
  return ShellExecuteExW(&info) != FALSE;
}

bool LaunchLink(const Link& link, const std::wstring& openDirCmd, LaunchMode mode) {
  if (link.IsAdmin) mode = LaunchMode::kElevated;
  switch (link.TYPE) {
    case kLinkDriveRoot:
    case kLinkFolder:
      return OpenFolder(link, openDirCmd, mode);
    case kLinkWebAddress:
      if (mode == LaunchMode::kElevated) {
        OpenAddressPrivately(ResolveLinkPath(link.PATH));
        return true;
      }
      return ShellOpen(L"open", ResolveLinkPath(link.PATH), nullptr, nullptr);
    case kLinkBuiltinFunction:
      RunBuiltInCommand(link);
      return true;
    case kLinkItemIdList:
      return OpenItemIdList(link.Pidl);
    default:  // programs, files, shell items and unknown kinds
      return OpenFileOrProgram(link, mode);
  }
}
