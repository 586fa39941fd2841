// What a running Pexo publishes for later starts from its folder.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/entry/single_instance.h"
#include "ui/base/scoped_handles.h"

namespace pexo_test {

// The main window the instance running from `folder` (ending in a backslash)
// publishes in its shared block; null while there is none.
inline HWND PublishedMainWindow(const std::wstring& folder) {
  const std::wstring name = SharedBlockName(HashProgramFolder(folder));
  ui::UniqueHandle mapping(OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str()));
  if (!mapping) return nullptr;
  ui::UniqueMappedView view(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
  if (!view) return nullptr;
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(*static_cast<const uint64_t*>(view.get())));
}

}  // namespace pexo_test
