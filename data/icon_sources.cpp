// The ways an icon enters the icon cache: icon source texts, the shell's image
// lists, icon files, pictures GDI+ reads, WebP and SVG files and the program's own
// resources. Each ends in AddBitmapToCache or AddHBITMAPToCache.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <webp/decode.h>

#include "data/icon_bitmaps.h"
#include "data/icon_cache.h"
#include "data/link_path.h"
#include "data/trace_line.h"
#include "ui/base/svg_image.h"

namespace {

namespace gp = Gdiplus::DllExports;

constexpr int kPixelSizes[3] = {16, 32, 48};

bool EndsWith(const std::wstring& text, const wchar_t* suffix) {
  const size_t length = wcslen(suffix);
  return text.size() >= length && text.compare(text.size() - length, length, suffix) == 0;
}

// Three icons of one source at 16, 32 and 48 pixels, destroyed with the object.
struct IconTriple {
  HICON icons[3] = {};
  ~IconTriple() {
    for (HICON icon : icons) {
      if (icon) DestroyIcon(icon);
    }
  }
  bool Complete() const { return icons[0] && icons[1] && icons[2]; }
};

// A square thumbnail of a GDI+ image; null when GDI+ cannot make it.
ui::GpBitmapPtr Thumbnail(Gdiplus::GpImage* image, int size) {
  Gdiplus::GpImage* thumbnail = nullptr;
  if (gp::GdipGetImageThumbnail(image, size, size, &thumbnail, nullptr, nullptr) != Gdiplus::Ok) return nullptr;
  return ui::GpBitmapPtr(static_cast<Gdiplus::GpBitmap*>(thumbnail));
}

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};

// The whole file; empty when it cannot be read or is empty.
std::string ReadWholeFile(const std::wstring& path) {
  std::unique_ptr<FILE, FileCloser> file(_wfopen(path.c_str(), L"rb"));
  if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) return {};
  long size = std::ftell(file.get());
  if (size <= 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) return {};
  std::string bytes(static_cast<size_t>(size), '\0');
  if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return {};
  return bytes;
}

struct SvgDeleter {
  void operator()(NSVGimage* svg) const { ui::DeleteSvgImage(svg); }
};
using SvgPtr = std::unique_ptr<NSVGimage, SvgDeleter>;

}  // namespace

bool IconCache::AddPathToCache(const std::wstring& key, const std::wstring& iconSource) {
  PrintTrace("AddPathToCache %s %s\n", key, iconSource);
  if (key.empty()) return false;
  if (IsCached(MakeImageKey(key, kSize16))) return true;
  if (iconSource.size() > 2 && iconSource.compare(0, 2, L"*.") == 0) {
    return AddSysIconToCache(key, GetFileTypeIconIndex(iconSource));
  }

  std::wstring path = iconSource;
  int index = 0;
  const size_t comma = iconSource.rfind(L',');
  if (comma != std::wstring::npos) {
    index = std::abs(static_cast<int>(_wtol(iconSource.c_str() + comma + 1)));
    path = iconSource.substr(0, comma);
  }
  if (path.empty()) return false;
  path = ResolveLinkPath(path);

  const UINT iconCount = PrivateExtractIconsW(path.c_str(), 0, 0, 0, nullptr, nullptr, 0, 0);
  if (iconCount != 0 && iconCount != static_cast<UINT>(-1)) {
    IconTriple extracted;
    bool all = true;
    for (int i = 0; i < 3; ++i) {
      UINT id = 0;
      const int size = kPixelSizes[i];
      all = PrivateExtractIconsW(path.c_str(), index, size, size, &extracted.icons[i], &id, 1, 0) == 1 && all;
    }
    if (all && extracted.Complete()) {
      return AddIconToCache(key, extracted.icons[0], extracted.icons[1], extracted.icons[2]);
    }
  }

  if (EndsWith(path, L".ico")) {
    PrintTrace("AddIcoToCahce %s\n", key);
    IconTriple loaded;
    for (int i = 0; i < 3; ++i) {
      loaded.icons[i] = static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, kPixelSizes[i],
                                                      kPixelSizes[i], LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    }
    if (loaded.Complete() && AddIconToCache(key, loaded.icons[0], loaded.icons[1], loaded.icons[2])) return true;
    return AddPngToCache(path, key);
  }
  if (EndsWith(path, L".png")) return AddPngToCache(path, key);
  if (EndsWith(path, L".svg")) return AddSvgFileToCache(path, key);
  if (EndsWith(path, L".webp")) return AddWebpToCache(path, key);

  int systemIndex = GetPathIconIndex(path);
  if (systemIndex == 0 && !GetItemIconIndex(path, systemIndex)) return false;
  return AddSysIconToCache(key, systemIndex);
}

bool IconCache::AddSysIconToCache(const std::wstring& key, int index) {
  if (index < 0) return false;
  IconTriple icons;
  icons.icons[0] = imageLists_.GetIcon(kSize16, index);
  icons.icons[1] = imageLists_.GetIcon(kSize32, index);
  icons.icons[2] = imageLists_.GetIcon(kSize48, index);
  return AddIconToCache(key, icons.icons[0], icons.icons[1], icons.icons[2]);
}

bool IconCache::AddIconToCache(const std::wstring& key, HICON icon16, HICON icon32, HICON icon48) {
  PrintTrace("AddIconToCahce %s\n", key);
  // The bitmaps made here may point into these buffers until they are copied.
  static PixelBuffer buffers[3];
  return AddBitmapToCache(key, BitmapFromHICON(icon16, buffers[0]), BitmapFromHICON(icon32, buffers[1]),
                          BitmapFromHICON(icon48, buffers[2]));
}

bool IconCache::AddIcoToCache(const std::wstring& path, const std::wstring& key) {
  PrintTrace("AddIcoToCahce %s\n", key);
  IconTriple loaded;
  for (int i = 0; i < 3; ++i) {
    loaded.icons[i] = static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, kPixelSizes[i],
                                                    kPixelSizes[i], LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  }
  if (!loaded.Complete()) return false;
  return AddIconToCache(key, loaded.icons[0], loaded.icons[1], loaded.icons[2]);
}

bool IconCache::AddPngToCache(const std::wstring& path, const std::wstring& key) {
  PrintTrace("AddPngToCahce %s\n", key);
  Gdiplus::GpBitmap* loaded = nullptr;
  if (gp::GdipCreateBitmapFromFile(path.c_str(), &loaded) != Gdiplus::Ok || !loaded) return false;
  ui::GpBitmapPtr picture(loaded);
  return AddBitmapToCache(key, Thumbnail(picture.get(), 16), Thumbnail(picture.get(), 32),
                          Thumbnail(picture.get(), 48));
}

bool IconCache::AddWebpToCache(const std::wstring& path, const std::wstring& key) {
  PrintTrace("AddWebpToCache %s\n", key);
  const std::string bytes = ReadWholeFile(path);
  if (bytes.empty()) return false;
  int width = 0;
  int height = 0;
  uint8_t* pixels =
      WebPDecodeBGRA(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &width, &height);
  if (!pixels) return false;
  ui::GpBitmapPtr thumbnails[3];
  if (width > 0 && width == height) {
    Gdiplus::GpBitmap* picture = nullptr;
    if (gp::GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppARGB, pixels, &picture) ==
        Gdiplus::Ok) {
      ui::GpBitmapPtr owned(picture);
      for (int i = 0; i < 3; ++i) thumbnails[i] = Thumbnail(owned.get(), kPixelSizes[i]);
    }
  }
  WebPFree(pixels);
  if (width <= 0 || width != height) return false;
  return AddBitmapToCache(key, std::move(thumbnails[0]), std::move(thumbnails[1]), std::move(thumbnails[2]));
}

bool IconCache::AddSvgFileToCache(const std::wstring& path, const std::wstring& key) {
  PrintTrace("AddSvgToCache %s\n", key);
  SvgPtr svg(ui::ParseSvgFromFile(path));
  if (!svg) return false;
  return AddSvgToCache(svg.get(), key);
}

bool IconCache::AddSvgToCache(NSVGimage* svg, const std::wstring& key) {
  PrintTrace("AddSvgToCache %s\n", key);
  if (!svg) return false;
  return AddHBITMAPToCache(key, ui::RenderSvgToBitmap(svg, 16), ui::RenderSvgToBitmap(svg, 32),
                           ui::RenderSvgToBitmap(svg, 48));
}

bool IconCache::AddSkinImageToCache(int resourceId, const std::wstring& key) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(resourceId), L"SKIN");
  if (!resource) return false;
  HGLOBAL loaded = LoadResource(module, resource);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = SizeofResource(module, resource);
  if (!data || size == 0) return false;
  // The parser works in place and needs a terminating zero.
  std::string text(static_cast<const char*>(data), size);
  SvgPtr svg(ui::ParseSvgFromMemory(text.data()));
  if (!svg) return false;
  return AddSvgToCache(svg.get(), key);
}

bool IconCache::AddResIcoToCache(int resourceId, const std::wstring& key) {
  PrintTrace("AddResIcoToCache %s\n", key);
  HMODULE module = GetModuleHandleW(nullptr);
  IconTriple loaded;
  for (int i = 0; i < 3; ++i) {
    loaded.icons[i] = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                                                    kPixelSizes[i], kPixelSizes[i], LR_CREATEDIBSECTION));
  }
  return AddIconToCache(key, loaded.icons[0], loaded.icons[1], loaded.icons[2]);
}
