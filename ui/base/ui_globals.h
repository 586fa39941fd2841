// The framework's process-wide state: resource path, skin archive, render
// factory, create-control callback, and the colour, font and class tables that
// skin XML fills and every control reads. Static functions over static tables;
// everything runs on the user-interface thread.
#pragma once

#include <cstdint>
#include <string>

#include "ui/base/global_memory.h"

namespace ui {

class ZipArchive;

class UiGlobals {
 public:
  UiGlobals() = delete;

  // Stores the folder of the current skin; a non-empty path gets a trailing
  // "\" unless it already ends in "\" or "/".
  static void SetResourcePath(const std::wstring& path);
  static const std::wstring& GetResourcePath();

  // ---- skin archive ----
  // Closes the open archive, then opens the executable's resource (id, type)
  // as the skin archive; true when an archive is now open.
  static bool OpenSkinZip(int resource_id, const wchar_t* resource_type, const char* password);
  // Closes the skin archive; kZipBadArgument when none is open.
  static uint32_t CloseSkinZip();
  // The open skin archive, or null.
  static ZipArchive* GetSkinZip();
  // The archive entry for a framework path, decompressed into a new movable
  // global block holding exactly its bytes; null when there is no archive, no
  // such entry, or reading fails.
  static UniqueGlobal ReadZipEntry(const std::wstring& path);
  // The archive entry path of a relative framework path: forward slashes, no
  // empty, "." or ".." segments. Empty for an absolute path or one that climbs
  // above its first segment.
  static std::wstring ToZipPath(const std::wstring& path);
  // Where a skin file is read from: resource path + folder + path, or, when it
  // is neither in the archive nor on disk, resource path + path. Absolute paths
  // are returned unchanged.
  static std::wstring GetResourceFullPath(const std::wstring& path, const std::wstring& folder);
};

}  // namespace ui
