// The framework's image loading and its process-wide image cache. The cache holds
// weak references only: an image lives as long as some control or the icon cache
// holds it, and its releaser removes its entry.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <map>
#include <memory>
#include <string>

#include "ui/base/image_cache_key.h"
#include "ui/base/image_info.h"
#include "ui/base/dpi_scaler.h"
#include "ui/base/scoped_handles.h"
#include "ui/base/string_util.h"
#include "ui/base/svg_image.h"
#include "ui/base/ui_globals.h"

namespace ui {

namespace gp = Gdiplus::DllExports;

namespace {

using ImageCache = std::map<std::wstring, std::weak_ptr<ImageInfo>, ImageCacheKeyLess>;

// Never destroyed: images may be released by other static objects during process
// exit, after a cache with a destructor would be gone.
ImageCache& Cache() {
  static ImageCache* cache = new ImageCache();
  return *cache;
}

bool IsImageKey(const std::wstring& path) { return !path.empty() && path[0] == L'?'; }

UiGlobals::ImageKeyProvider& Provider() {
  static UiGlobals::ImageKeyProvider provider = nullptr;
  return provider;
}

// The provider's image for an image key without a live image, else empty.
std::shared_ptr<ImageInfo> Provide(const std::wstring& key) {
  if (!IsImageKey(key) || !Provider()) return nullptr;
  return Provider()(key);
}

std::unique_ptr<ImageInfo> DecodeWithGdiplus(Gdiplus::GpBitmap* bitmap, const std::wstring& key) {
  if (!bitmap) return nullptr;
  auto image = ImageInfo::LoadFromBitmap(bitmap, key);
  gp::GdipDisposeImage(bitmap);
  return image;
}

std::unique_ptr<ImageInfo> LoadFromArchive(const std::wstring& key) {
  UniqueGlobal block = UiGlobals::ReadZipEntry(key);
  if (!block) return nullptr;
  HGLOBAL memory = static_cast<HGLOBAL>(block.get());
  if (IsSvgPath(key)) {
    std::string text;
    {
      GlobalLockGuard lock(memory);
      if (!lock.data()) return nullptr;
      text.assign(static_cast<const char*>(lock.data()), lock.size());
    }
    return SvgToImageInfo(ParseSvgFromMemory(text.data()), key);
  }
  ComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(memory, FALSE, stream.put())) || !stream) return nullptr;
  Gdiplus::GpBitmap* bitmap = nullptr;
  gp::GdipCreateBitmapFromStream(stream.get(), &bitmap);
  return DecodeWithGdiplus(bitmap, key);
}

std::unique_ptr<ImageInfo> LoadFromDisk(const std::wstring& key) {
  if (IsSvgPath(key)) return SvgToImageInfo(ParseSvgFromFile(key), key);
  Gdiplus::GpBitmap* bitmap = nullptr;
  gp::GdipCreateBitmapFromFile(key.c_str(), &bitmap);
  return DecodeWithGdiplus(bitmap, key);
}

// Erases the entry under the key unless it refers to a live image: a newer image
// registered under the same key keeps its entry when an older one goes away.
void EraseIfExpired(const std::wstring& key) {
  auto it = Cache().find(key);
  if (it != Cache().end() && it->second.expired()) Cache().erase(it);
}

}  // namespace

std::shared_ptr<ImageInfo> UiGlobals::GetImage(const std::wstring& path) {
  std::wstring key = GetScaledImagePath(NormalizePathSeparators(path), GetSkinZip() != nullptr);
  auto cached = Cache().find(key);
  if (cached != Cache().end()) {
    if (auto image = cached->second.lock()) return image;
    // An expired image key belongs to the icon cache, which registers those images
    // itself; nothing can be loaded for it from files.
    if (IsImageKey(key)) return Provide(key);
  }
  if (auto provided = Provide(key)) return provided;

  std::unique_ptr<ImageInfo> loaded;
  if (GetSkinZip() && !IsImageKey(key)) loaded = LoadFromArchive(key);
  if (!loaded) loaded = LoadFromDisk(key);
  if (!loaded) return nullptr;

  loaded->path = key;
  std::shared_ptr<ImageInfo> image(loaded.release(), &UiGlobals::OnImageReleased);
  Cache()[key] = image;
  image->cached = true;
  return image;
}

std::shared_ptr<ImageInfo> UiGlobals::FindCachedImage(const std::wstring& path) {
  const std::wstring key = NormalizePathSeparators(path);
  auto it = Cache().find(key);
  if (it != Cache().end()) {
    if (auto image = it->second.lock()) return image;
  }
  return Provide(key);
}

void UiGlobals::SetImageKeyProvider(ImageKeyProvider provider) { Provider() = provider; }

std::shared_ptr<ImageInfo> UiGlobals::AddCachedImage(const std::shared_ptr<ImageInfo>& image) {
  if (!image) return image;
  // Stored under the same form of the key that lookups use.
  Cache()[NormalizePathSeparators(image->path)] = image;
  image->cached = true;
  return image;
}

void UiGlobals::RemoveCachedImage(const std::wstring& key) {
  Cache().erase(NormalizePathSeparators(key));
}

void UiGlobals::OnImageReleased(ImageInfo* image) {
  if (!image) return;
  if (image->cached && !image->path.empty()) {
    EraseIfExpired(image->path);
    EraseIfExpired(NormalizePathSeparators(image->path));
  }
  delete image;
}

std::wstring UiGlobals::GetScaledImagePath(const std::wstring& path, bool in_archive) {
  const DpiScaler& scaler = DpiScaler::Instance();
  if (!scaler.IsAdapted() || scaler.Scale() == 100 || IsSvgPath(path)) return path;
  const size_t slash = path.rfind(L'\\');
  const size_t name_start = slash == std::wstring::npos ? 0 : slash + 1;
  const size_t dot = path.rfind(L'.');
  // A file name without a dot has no variant.
  if (dot == std::wstring::npos || dot < name_start) return path;
  const std::wstring candidate =
      path.substr(0, dot) + FormatText(L"@%d", scaler.Scale()) + path.substr(dot);
  if (in_archive) {
    if (ReadZipEntry(candidate)) return candidate;
  } else if (GetFileAttributesW(candidate.c_str()) != INVALID_FILE_ATTRIBUTES) {
    return candidate;
  }
  return path;
}

}  // namespace ui
