#include "ui/base/windows_version.h"

#include <tuple>

namespace {

std::optional<WindowsVersion>& InjectedVersion() {
  static std::optional<WindowsVersion> version;
  return version;
}

}  // namespace

bool IsWindowsVersionAtLeast(DWORD major, DWORD minor, WORD servicePackMajor) {
  if (const auto& injected = InjectedVersion()) {
    return std::tie(injected->major, injected->minor, injected->servicePackMajor) >=
           std::tie(major, minor, servicePackMajor);
  }
  OSVERSIONINFOEXW wanted = {};
  wanted.dwOSVersionInfoSize = sizeof(wanted);
  wanted.dwMajorVersion = major;
  wanted.dwMinorVersion = minor;
  wanted.wServicePackMajor = servicePackMajor;
  DWORDLONG conditions = 0;
  conditions = VerSetConditionMask(conditions, VER_MAJORVERSION, VER_GREATER_EQUAL);
  conditions = VerSetConditionMask(conditions, VER_MINORVERSION, VER_GREATER_EQUAL);
  conditions = VerSetConditionMask(conditions, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
  return VerifyVersionInfoW(&wanted, VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR, conditions) != FALSE;
}

void OverrideWindowsVersion(std::optional<WindowsVersion> version) { InjectedVersion() = version; }
