// The fixed list of built-in links the user can add to a tag: shell folders,
// Windows tools, power and log-off commands and the built-in functions.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class IconCache;

struct SystemLink {
  int64_t kind;  // LinkType: 0 program, 5 built-in function, 6 shell item
  std::wstring NAME;
  std::wstring ICON;  // icon key, or empty when the icon comes from PATH
  std::wstring PATH;
  std::wstring Parameter;
  std::wstring Remark;
  std::wstring alternatePath;  // taken on Windows 11, where one row needs another target
};

// The 35 rows; a row's index is how the system-function dialog names it.
const std::vector<SystemLink>& SystemLinkTable();

// The icon key of a row: its ICON, else its PATH.
std::wstring SystemLinkIconKey(const SystemLink& link);

// The platform's own version numbers, which unlike the compatibility-shimmed
// version calls tell Windows 11 (a build above 21999) from Windows 10.
struct NtVersion {
  DWORD major = 0;
  DWORD minor = 0;
  DWORD build = 0;
};
// Read from ntdll once; zeros when it cannot be read.
NtVersion GetNtVersion();
bool IsWindows11(const NtVersion& version);

// Run once before the link store opens: on Windows 11 the row named "画图" takes
// its alternate target; then every row whose icon is not cached yet gets it from
// its target, made when the icon is first looked up. True when the table is ready.
bool PrepareSystemLinks(IconCache& cache);
bool PrepareSystemLinks(IconCache& cache, const NtVersion& version);
// The start-up step of the built-in table: PrepareSystemLinks on the process-wide
// icon cache, which must be open.
bool InitSysFuncTable();
