#include "app/entry/single_instance.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <cwchar>

namespace {

// 8 bytes whatever the build's pointer size, so a 32-bit and a 64-bit launcher
// read each other's block alike.
using StoredWindowHandle = uint64_t;

std::wstring FormatName(const wchar_t* format, uint32_t hash) {
  wchar_t name[64] = {};
  std::swprintf(name, 64, format, static_cast<unsigned>(hash));
  return name;
}

std::wstring OwnExecutablePath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

}  // namespace

uint32_t HashProgramFolder(const std::wstring& folder) {
  uint32_t h = 1;
  uint32_t k = 4;
  for (wchar_t ch : folder) {
    const uint8_t bytes[2] = {static_cast<uint8_t>(ch & 0xFF), static_cast<uint8_t>((ch >> 8) & 0xFF)};
    for (uint8_t c : bytes) {
      h ^= ((h & 0x3F) + k) * c + (h << 8);
      k += 3;
    }
  }
  return h;
}

std::wstring InstanceMutexName(uint32_t hash) { return FormatName(L"PexoMutex_%08X", hash); }

std::wstring SharedBlockName(uint32_t hash) { return FormatName(L"PexoShareMemory_%08X", hash); }

bool IsMainProcessCommandLine(const wchar_t* commandLine) {
  return commandLine && std::wcscmp(commandLine, L"main") == 0;
}

const wchar_t* RelaunchVerb() {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) {
    std::fprintf(stderr, "Failed to open process token. Error code: %lu\n", GetLastError());
    return L"open";
  }
  ui::UniqueHandle token(raw);
  TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
  DWORD size = 0;
  if (!GetTokenInformation(token.get(), TokenElevationType, &type, sizeof(type), &size)) {
    std::fprintf(stderr, "Failed to get token information. Error code: %lu\n", GetLastError());
    return L"open";
  }
  return type == TokenElevationTypeFull ? L"runas" : L"open";
}

bool RelaunchAsMainProcess() {
  const std::wstring path = OwnExecutablePath();
  auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, RelaunchVerb(), path.c_str(), L"main", nullptr, SW_SHOWNORMAL));
  return result > 32;
}

ui::UniqueHandle CreateInstanceMutex(const std::wstring& name, bool& alreadyRunning) {
  ui::UniqueHandle mutex(CreateMutexW(nullptr, FALSE, name.c_str()));
  alreadyRunning = GetLastError() == ERROR_ALREADY_EXISTS;
  return mutex;
}

bool NotifyRunningInstance(const std::wstring& blockName) {
  ui::UniqueHandle mapping(OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, blockName.c_str()));
  if (!mapping) return false;
  ui::UniqueMappedView view(MapViewOfFile(mapping.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0));
  if (!view) return false;
  StoredWindowHandle stored = 0;
  std::memcpy(&stored, view.get(), sizeof(stored));
  HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(stored));
  return window && PostMessageW(window, kShowRunningInstanceMessage, 0, 0) != FALSE;
}

bool SharedBlock::Publish(const std::wstring& name, HWND mainWindow) {
  Close();
  ui::UniqueHandle mapping(
      CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSharedBlockSize, name.c_str()));
  if (!mapping) return false;
  ui::UniqueMappedView view(MapViewOfFile(mapping.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0));
  if (!view) return false;
  const StoredWindowHandle stored = static_cast<StoredWindowHandle>(reinterpret_cast<uintptr_t>(mainWindow));
  std::memcpy(view.get(), &stored, sizeof(stored));
  mapping_ = std::move(mapping);
  view_ = std::move(view);
  return true;
}

void SharedBlock::Close() {
  view_.reset();
  mapping_.reset();
}
