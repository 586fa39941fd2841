#include "data/link_path.h"

#include <windows.h>

#include "data/program_dir.h"
#include "data/program_relative_path.h"

namespace {

// Results of the platform's expansions must fit this buffer, terminator included;
// longer ones leave the path unchanged.
constexpr DWORD kPathBuffer = 260;

bool Fits(DWORD reported) { return reported >= 1 && reported < kPathBuffer; }

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
  return text.compare(0, wcslen(prefix), prefix) == 0;
}

// Looks the name up in `folder` (null: the system search path) with an optional
// default extension; empty when not found or too long.
std::wstring Search(const wchar_t* folder, const std::wstring& name, const wchar_t* extension) {
  wchar_t found[kPathBuffer] = {};
  DWORD length = SearchPathW(folder, name.c_str(), extension, kPathBuffer, found, nullptr);
  return Fits(length) ? std::wstring(found, length) : std::wstring();
}

}  // namespace

std::wstring ResolveLinkPath(const std::wstring& path) { return ResolveLinkPath(path, GetProgramDir()); }

std::wstring ResolveLinkPath(const std::wstring& path, const std::wstring& programDir) {
  if (path.size() <= 1 || path[0] == L'#' || path[0] == L'*') return path;
  if (path[1] == L':') return path;
  if (StartsWith(path, L".\\")) return programDir + path.substr(2);
  if (StartsWith(path, L"..\\")) return ProgramParentDir(programDir) + path.substr(3);
  if (StartsWith(path, L":\\")) return programDir.substr(0, 3) + path.substr(2);
  if (path[0] == L'%') {
    wchar_t expanded[kPathBuffer] = {};
    DWORD length = ExpandEnvironmentStringsW(path.c_str(), expanded, kPathBuffer);
    // The reported length counts the terminator.
    return Fits(length) ? std::wstring(expanded) : path;
  }
  if (path.find(L':') != std::wstring::npos) return path;

  const std::wstring iconFolder = programDir + L"icons";
  const std::wstring urlIconFolder = programDir + L"icons\\url";
  for (const std::wstring* folder : {&iconFolder, &urlIconFolder}) {
    std::wstring found = Search(folder->c_str(), path, nullptr);
    if (!found.empty()) return found;
  }
  const bool hasDot = path.find(L'.') != std::wstring::npos;
  std::wstring found = Search(nullptr, path, hasDot ? nullptr : L".exe");
  return found.empty() ? path : found;
}
