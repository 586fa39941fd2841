// The skin archive part of the framework's global state.
#include <windows.h>
#include <shlwapi.h>

#include <unordered_set>

#include "ui/base/string_util.h"
#include "ui/base/ui_globals.h"
#include "ui/base/zip_archive.h"

namespace ui {

namespace {

std::unique_ptr<ZipArchive>& SkinZip() {
  static std::unique_ptr<ZipArchive> archive;
  return archive;
}

// Full paths already found in the archive; kept for the life of the process.
std::unordered_set<std::wstring>& KnownArchivePaths() {
  static std::unordered_set<std::wstring> paths;
  return paths;
}

// Full paths that neither the open archive nor the disk holds: a control whose
// image lies elsewhere (its window's folder is not part of the image's path)
// would otherwise search the archive and ask the disk at every lookup. Emptied
// whenever the archive changes.
std::unordered_set<std::wstring>& PathsFoundNowhere() {
  static std::unordered_set<std::wstring> paths;
  return paths;
}

}  // namespace

bool UiGlobals::OpenSkinZip(int resource_id, const wchar_t* resource_type, const char* password) {
  CloseSkinZip();
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(resource_id), resource_type);
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = resource ? SizeofResource(module, resource) : 0;
  // Resource memory stays mapped for the life of the process.
  SkinZip() = ZipArchive::Open(bytes, size, password);
  return SkinZip() != nullptr;
}

uint32_t UiGlobals::CloseSkinZip() {
  PathsFoundNowhere().clear();
  return ZipArchive::Close(SkinZip());
}

ZipArchive* UiGlobals::GetSkinZip() { return SkinZip().get(); }

UniqueGlobal UiGlobals::ReadZipEntry(const std::wstring& path) {
  ZipArchive* archive = GetSkinZip();
  const std::wstring entry = ToZipPath(path);
  if (!archive || entry.empty()) return nullptr;
  int index = -1;
  ZipItemInfo info{};
  if (archive->FindItem(entry, index, info) != kZipOk) return nullptr;
  if (info.uncompressed_size < 0) return nullptr;
  UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_NODISCARD, static_cast<SIZE_T>(info.uncompressed_size)));
  if (!block) return nullptr;
  uint32_t result;
  {
    GlobalLockGuard lock(static_cast<HGLOBAL>(block.get()));
    if (!lock.data()) return nullptr;
    result = ZipArchive::UnzipItem(archive, index, lock.data(), static_cast<uint32_t>(info.uncompressed_size));
  }
  if (result != kZipOk && result != kZipMoreData) return nullptr;
  return block;
}

std::wstring UiGlobals::ToZipPath(const std::wstring& path) {
  if (!PathIsRelativeW(path.c_str())) return std::wstring();
  std::wstring zip = path;
  for (wchar_t& ch : zip) {
    if (ch == L'\\') ch = L'/';
  }
  ReplaceAll(L"//", L"/", zip);

  size_t segment = 0;
  while (segment < zip.size()) {
    if (zip[segment] == L'/') {
      zip.erase(segment, 1);
    } else if (zip.compare(segment, 2, L"./") == 0) {
      zip.erase(segment, 2);
    } else if (zip.compare(segment, 3, L"../") == 0) {
      // Climbing above the first segment leaves no path inside the archive.
      if (segment == 0) return std::wstring();
      const size_t slash = segment >= 2 ? zip.rfind(L'/', segment - 2) : std::wstring::npos;
      const size_t previous = slash == std::wstring::npos ? 0 : slash + 1;
      zip.erase(previous, segment + 3 - previous);
      segment = previous;
    } else {
      const size_t next = zip.find(L'/', segment);
      if (next == std::wstring::npos) break;
      segment = next + 1;
    }
  }
  return zip;
}

std::wstring UiGlobals::GetResourceFullPath(const std::wstring& path, const std::wstring& folder) {
  if (!PathIsRelativeW(path.c_str())) return path;
  const std::wstring full = NormalizePathSeparators(GetResourcePath() + folder + path);
  if (ZipArchive* archive = GetSkinZip()) {
    const std::wstring entry = ToZipPath(full);
    if (!entry.empty()) {
      if (KnownArchivePaths().count(full)) return full;
      if (PathsFoundNowhere().count(full)) return NormalizePathSeparators(GetResourcePath() + path);
      int index = -1;
      ZipItemInfo info{};
      if (archive->FindItem(entry, index, info) == kZipOk) {
        KnownArchivePaths().insert(full);
        return full;
      }
      if (!PathFileExistsW(full.c_str())) {
        PathsFoundNowhere().insert(full);
        return NormalizePathSeparators(GetResourcePath() + path);
      }
      return full;
    }
  }
  if (!PathFileExistsW(full.c_str())) return NormalizePathSeparators(GetResourcePath() + path);
  return full;
}

}  // namespace ui
