#include "app/launching/launch_targets.h"

#include <windows.h>

#include <array>
#include <string_view>

#include "data/link.h"
#include "data/link_path.h"
#include "ui/base/string_util.h"

namespace {

bool IsExistingFile(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::wstring LaunchWorkingDirectory(const Link& link) {
  if (!link.WorkDir.empty()) {
    std::wstring workDir = ResolveLinkPath(link.WorkDir);
    if (!workDir.empty()) return workDir;
  }
  size_t slash = link.PATH.rfind(L'\\');
  if (slash != std::wstring::npos) {
    std::wstring folder = ResolveLinkPath(link.PATH.substr(0, slash + 1));
    if (!folder.empty()) return folder;
  }
  std::wstring resolved = ResolveLinkPath(link.PATH);
  size_t resolvedSlash = resolved.rfind(L'\\');
  return resolvedSlash == std::wstring::npos ? resolved : resolved.substr(0, resolvedSlash);
}

std::wstring ExpandFolderCommand(const std::wstring& openDirCmd, const std::wstring& folder) {
  std::wstring command = ResolveLinkPath(openDirCmd);
  ReplaceAll(L"%1", folder, command);
  return command;
}

std::wstring PrivateModeSwitch(const std::wstring& progId) {
  struct Browser {
    std::wstring_view prefix;
    const wchar_t* privateSwitch;
  };
  static constexpr std::array<Browser, 4> kBrowsers = {{{L"msedge", L"-inprivate "},
                                                        {L"firefox", L"-private-window "},
                                                        {L"chrome", L"--incognito "},
                                                        {L"opera", L"--private "}}};
  std::wstring lowered = ToLowerAscii(progId);
  for (const Browser& browser : kBrowsers) {
    if (std::wstring_view(lowered).starts_with(browser.prefix)) return browser.privateSwitch;
  }
  return L"-private ";  // Internet Explorer's ProgIds ("ie.http") and anything unknown
}

std::wstring BrowserProgramFromCommand(const std::wstring& command) {
  if (command.size() > 1 && command[0] == L'"') {
    size_t close = command.find(L'"', 1);
    return command.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
  }
  // An unquoted command such as C:\b\br.exe %1 names its program by its first
  // word; one with blanks in the program's path is read the way the system reads
  // an unquoted command line, trying ever longer runs of words.
  size_t blank = command.find(L' ');
  while (blank != std::wstring::npos) {
    std::wstring candidate = command.substr(0, blank);
    if (IsExistingFile(candidate)) return candidate;
    blank = command.find(L' ', blank + 1);
  }
  if (IsExistingFile(command)) return command;
  size_t first = command.find(L' ');
  return command.substr(0, first);
}

std::wstring QuoteAddressArgument(const std::wstring& address) {
  if (address.find(L' ') == std::wstring::npos) return address;
  return L"\"" + address + L"\"";
}
