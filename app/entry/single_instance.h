// One running launcher per installation folder: the folder hash that names the
// instance mutex and the shared block, the relaunch as a "main" process, the
// message a second start posts to the running one, and the shared block that
// publishes the running instance's main window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/base/scoped_handles.h"

// Posted by a second start to the running instance's main window: show yourself.
constexpr UINT kShowRunningInstanceMessage = 1125;
// Size of the shared block; its first 8 bytes hold the main window's handle.
constexpr DWORD kSharedBlockSize = 4096;

// Hash of the program folder's text (UTF-16 bytes, trailing backslash included).
uint32_t HashProgramFolder(const std::wstring& folder);
// "PexoMutex_%08X" and "PexoShareMemory_%08X" of a folder hash.
std::wstring InstanceMutexName(uint32_t hash);
std::wstring SharedBlockName(uint32_t hash);

// True only for the exact command line "main" (case-sensitive, nothing around it).
bool IsMainProcessCommandLine(const wchar_t* commandLine);
// "runas" when the process token is fully elevated, "open" otherwise (also when
// the token cannot be read; the reason goes to the standard error stream).
const wchar_t* RelaunchVerb();
// Starts this executable again with the argument "main" and that verb.
bool RelaunchAsMainProcess();

// Creates (or opens) the instance mutex; `alreadyRunning` tells whether another
// process of the same folder made it first. The handle stays open for the life
// of the process so that the folder counts as occupied.
ui::UniqueHandle CreateInstanceMutex(const std::wstring& name, bool& alreadyRunning);

// A second start: reads the running instance's main window from the shared block
// and posts it the show message. False when the block is missing (the running
// instance is still starting) or holds no window.
bool NotifyRunningInstance(const std::wstring& blockName);

// The running instance's shared block, kept for the life of the instance.
class SharedBlock {
 public:
  // Creates the block and writes the window's handle into it; false (and nothing
  // kept) when the block cannot be made.
  bool Publish(const std::wstring& name, HWND mainWindow);
  // Unmaps the view, then closes the mapping.
  void Close();
  bool IsOpen() const { return static_cast<bool>(view_); }

 private:
  ui::UniqueHandle mapping_;
  ui::UniqueMappedView view_;
};
