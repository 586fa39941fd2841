// The process-wide icon cache: per icon key the same icon at 16, 32 and 48
// pixels, registered with the framework's image cache under "?s:", "?n:" and
// "?l:" + key (lowered), so that skins name them directly. Icons of links
// ("lnk" + ID) are also kept as PNG files in "db\icon.db", so that they survive
// their source and are not extracted again at every start. Opening reads only
// which rows are stored; a row's files are read and decoded, and its images
// registered, the first time one of its image keys is looked up, so neither
// start-up time nor memory grows with the stored icons until they are shown.
// User-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "data/icon_database.h"
#include "data/shell_icons.h"
#include "ui/render/gdiplus_handles.h"

struct NSVGimage;

namespace ui {
class ImageInfo;
}

// The icon of one key at three sizes; the entry owns the images, the framework's
// image cache only refers to them.
struct IconCacheEntry {
  std::wstring key;
  std::shared_ptr<ui::ImageInfo> image16;
  std::shared_ptr<ui::ImageInfo> image32;
  std::shared_ptr<ui::ImageInfo> image48;
};

class IconCache {
 public:
  // Size indexes, numbered like the ICONSIZE column and the shell's image lists.
  static constexpr int kSize32 = 0;
  static constexpr int kSize16 = 1;
  static constexpr int kSize48 = 2;

  // A cache over the database file at `databasePath`; empty means "db\icon.db"
  // in the program folder.
  explicit IconCache(std::wstring databasePath = {});
  ~IconCache();
  IconCache(const IconCache&) = delete;
  IconCache& operator=(const IconCache&) = delete;

  // Opens or creates the database and loads every icon. False when the file
  // cannot be opened, its version cannot be written or its icons cannot be read.
  bool Open();
  // Rebuilds the entries: the built-in keys first, then the IDs of the valid stored
  // rows, whose PNG files are read and decoded when one of its image keys is looked up
  // (through IsCached, the framework's image cache or an Add* under its key). A
  // row whose files do not all decode then gets no images and no entry.
  bool LoadAll();
  // Open in two halves, for a start that opens the file on a worker thread while
  // the windows are made. OpenStored opens or creates the database and reads the
  // IDs of its valid rows; it touches nothing of the user interface, so it may run
  // on another thread as long as nothing else uses this cache meanwhile.
  // FinishOpen, on the user-interface thread, then adds the built-in keys.
  bool OpenStored();
  void FinishOpen();
  // Closes the database and drops every entry (and so their images).
  void Close();

  // "?n:", "?s:" or "?l:" + key for size index 0, 1 or 2, lowered to ASCII lower
  // case, so keys that differ only in case name the same images.
  static std::wstring MakeImageKey(const std::wstring& key, int sizeIndex);
  // Whether the framework's image cache holds a live image under the image key.
  static bool IsCached(const std::wstring& imageKey);

  // The entry for the key, inserted empty when absent.
  IconCacheEntry& Entry(const std::wstring& key);
  // The entries made so far; stored link icons appear once first looked up.
  const std::map<std::wstring, IconCacheEntry>& entries() const { return entries_; }
  // How many stored link icons have not been looked up (nor decoded) yet.
  size_t undecodedCount() const { return undecoded_.size(); }

  // The single way GDI+ images enter the cache; the cache takes the images. Keys
  // "lnk" + a non-zero number with all three images are written to the database
  // first, and a failed write adds nothing. An image key that is already live keeps
  // its image.
  bool AddBitmapToCache(const std::wstring& key, ui::GpBitmapPtr image16, ui::GpBitmapPtr image32,
                        ui::GpBitmapPtr image48);
  // The same for three 32-bit GDI bitmaps with premultiplied alpha (rasterised
  // SVG), which become the frames of the cache's images.
  bool AddHBITMAPToCache(const std::wstring& key, HBITMAP bitmap16, HBITMAP bitmap32, HBITMAP bitmap48);

  // The live image under the image key, else one made from the given bitmap and
  // registered there, else empty. The bitmap is consumed in every case.
  std::shared_ptr<ui::ImageInfo> PutImage(const std::wstring& imageKey, ui::GpBitmapPtr image);
  // The same for a square GDI bitmap of `size` pixels, which the new image takes
  // as its frame (deleted when it is not needed).
  std::shared_ptr<ui::ImageInfo> PutBitmapImage(const std::wstring& imageKey, HBITMAP bitmap, int size);

  // Drops the key's images; "lnk" keys also lose their row (hard) or have it
  // marked invalid (soft). Built-in "#" keys stay. True for "#" and "*" keys and
  // when the row statement ran; false for other keys without a row.
  bool RemoveCache(const std::wstring& key, bool hard);
  // RemoveCache for every key in one transaction: a failing row statement rolls
  // every row change back and gives false (the images are dropped regardless).
  bool RemoveCacheBatch(const std::vector<std::wstring>& keys, bool hard);
  // Drops the key's images from memory only; "#" keys stay. Always true.
  bool RemoveMemoryEntry(const std::wstring& key);
  // Deletes the invalid rows and compacts the file; the entries are not touched.
  bool PurgeInvalid();

  // ---- icon sources ----
  // An icon source: "*." + extension (the shell's icon of that file type),
  // or a path with an optional "," and icon index; the path's own icon resources,
  // else its .ico, .png, .svg or .webp picture, else the shell's icon for it.
  // Note the order: the cache key comes first, the icon source second (both are
  // strings, so swapping them compiles and caches the wrong thing).
  bool AddPathToCache(const std::wstring& key, const std::wstring& iconSource);
  // The icon at a system image-list index.
  bool AddSysIconToCache(const std::wstring& key, int index);
  // Three icons (16, 32, 48 pixels; any may be null), which stay the caller's.
  bool AddIconToCache(const std::wstring& key, HICON icon16, HICON icon32, HICON icon48);
  bool AddIcoToCache(const std::wstring& path, const std::wstring& key);
  // Any picture GDI+ reads, stretched to the three squares.
  bool AddPngToCache(const std::wstring& path, const std::wstring& key);
  // A square WebP picture.
  bool AddWebpToCache(const std::wstring& path, const std::wstring& key);
  // A square SVG document.
  bool AddSvgFileToCache(const std::wstring& path, const std::wstring& key);
  bool AddSvgToCache(NSVGimage* svg, const std::wstring& key);
  // The program's "SKIN" resource holding an SVG document.
  bool AddSkinImageToCache(int resourceId, const std::wstring& key);
  // The program's icon resource.
  bool AddResIcoToCache(int resourceId, const std::wstring& key);

  // Seeds the built-in "#" keys, each made when one of its image keys is first
  // looked up; a source that fails leaves its key without images.
  bool AddBuiltinIcons();
  // Defers the key's icon until one of its image keys is first looked up (through
  // IsCached, the framework's image cache or an Add* under the key): `make` then
  // adds it under the key, once. A key that is already live or deferred keeps
  // what it has. Start-up pays only for the icons that are shown.
  void DeferIcon(const std::wstring& key, std::function<bool(IconCache&)> make);
  // DeferIcon of AddPathToCache(key, iconSource); for a key deferred already, the
  // path is tried after the earlier source when that one gives no icon.
  void DeferPathIcon(const std::wstring& key, const std::wstring& iconSource);
  // Whether the key's icon is deferred and not made yet.
  bool IsDeferred(const std::wstring& key) const;

 private:
  // What happened to a key's database row.
  enum class RowRemoval { kNotStored, kNotALinkKey, kDone, kFailed };
  RowRemoval RemoveRow(const std::wstring& key, bool hard);
  // Reads and decodes the stored row of the link and registers its three images;
  // false when there is no such undecoded row, it is gone from the file or one of
  // its files does not decode (it is tried once either way).
  bool DecodeStored(int32_t id);
  // Makes the deferred icon of the lowered key; false when none is deferred.
  bool MakeDeferred(const std::wstring& loweredKey);
  // The framework's image key provider: the image of a stored link icon or of a
  // deferred key of any live cache, made now; empty for every other key.
  static std::shared_ptr<ui::ImageInfo> ProvideImage(const std::wstring& imageKey);
  IconCacheEntry& StoreEntry(const std::wstring& key, std::shared_ptr<ui::ImageInfo> image16,
                             std::shared_ptr<ui::ImageInfo> image32, std::shared_ptr<ui::ImageInfo> image48);

  std::wstring databasePath_;
  IconDatabase database_;
  SystemImageLists imageLists_;
  std::map<std::wstring, IconCacheEntry> entries_;
  // The IDs of the valid stored rows not decoded yet; their files stay in the database.
  std::set<int32_t> undecoded_;
  // The icons to make when first looked up, by lowered key.
  std::map<std::wstring, std::function<bool(IconCache&)>> deferred_;
};

// The process-wide icon cache, constructed on first use.
IconCache& GetIconCache();
