#include "data/icon_cache.h"

#include <algorithm>
#include <cwchar>
#include <string_view>

#include "data/icon_bitmaps.h"
#include "data/png_codec.h"
#include "data/program_dir.h"
#include "data/sqlite_support.h"
#include "data/trace_line.h"
#include "ui/base/image_info.h"
#include "ui/base/string_util.h"
#include "ui/base/ui_globals.h"

namespace {

// Reused decoding streams, one per size, sized for typical blobs.
constexpr size_t kDecodeBytes16 = 16384;
constexpr size_t kDecodeBytes32 = 32768;
constexpr size_t kDecodeBytes48 = 49152;

constexpr int kSizeIndexes[3] = {IconCache::kSize16, IconCache::kSize32, IconCache::kSize48};

// The link ID of a key "lnk" + number; false for other keys and for ID 0.
bool LinkIdOfKey(const std::wstring& key, int32_t& id) {
  id = 0;
  if (key.size() <= 2 || key.compare(0, 3, L"lnk") != 0) return false;
  int value = 0;
  if (std::swscanf(key.c_str(), L"lnk%d", &value) != 1 || value == 0) return false;
  id = value;
  return true;
}

// The link ID of an image key "?s:", "?n:" or "?l:" + "lnk" + ID, with its size
// index; false for every other image key and for IDs not written canonically.
bool LinkIdOfImageKey(const std::wstring& imageKey, int32_t& id, int& sizeIndex) {
  if (imageKey.size() < 7 || imageKey[0] != L'?' || imageKey[2] != L':') return false;
  switch (imageKey[1]) {
    case L's': sizeIndex = IconCache::kSize16; break;
    case L'n': sizeIndex = IconCache::kSize32; break;
    case L'l': sizeIndex = IconCache::kSize48; break;
    default: return false;
  }
  const std::wstring key = imageKey.substr(3);
  return LinkIdOfKey(key, id) && key == L"lnk" + std::to_wstring(id);
}

// Every cache alive, so that the framework's lookups reach the one that stored
// the row. Never destroyed: caches may close during process exit.
std::vector<IconCache*>& LiveCaches() {
  static auto* caches = new std::vector<IconCache*>();
  return *caches;
}

bool IsBuiltinKey(const std::wstring& key) { return !key.empty() && key[0] == L'#'; }
bool IsRowlessKey(const std::wstring& key) { return !key.empty() && (key[0] == L'#' || key[0] == L'*'); }

}  // namespace

IconCache::IconCache(std::wstring databasePath) : databasePath_(std::move(databasePath)) {
  if (databasePath_.empty()) databasePath_ = GetProgramDir() + L"db\\icon.db";
  LiveCaches().push_back(this);
  ui::UiGlobals::SetImageKeyProvider(&IconCache::ProvideImage);
}

IconCache::~IconCache() {
  Close();
  auto& caches = LiveCaches();
  caches.erase(std::remove(caches.begin(), caches.end(), this), caches.end());
}

bool IconCache::Open() {
  if (!database_.Open(databasePath_)) return false;
  return LoadAll();
}

bool IconCache::LoadAll() {
  entries_.clear();
  undecoded_.clear();
  deferred_.clear();
  AddBuiltinIcons();
  if (!database_.IsOpen()) return false;
  return database_.ForEachValidId([&](int32_t id) { undecoded_.insert(id); });
}

bool IconCache::OpenStored() {
  entries_.clear();
  undecoded_.clear();
  deferred_.clear();
  if (!database_.Open(databasePath_)) return false;
  return database_.ForEachValidId([&](int32_t id) { undecoded_.insert(id); });
}

void IconCache::FinishOpen() { AddBuiltinIcons(); }

bool IconCache::DecodeStored(int32_t id) {
  auto stored = undecoded_.find(id);
  if (stored == undecoded_.end()) return false;
  // Taken out first: registering the images looks their keys up again.
  undecoded_.erase(stored);
  // The files are read from the database now: only the keys stay in memory until then.
  std::string png16, png32, png48;
  if (!database_.ReadValidRow(id, png16, png32, png48)) return false;
  // A row whose blobs do not all decode gets no images; the source is asked again.
  BlobDecoder decoder16(std::max(kDecodeBytes16, png16.size()));
  ui::GpBitmapPtr image16 = decoder16.Decode(png16);
  if (!image16) return false;
  BlobDecoder decoder32(std::max(kDecodeBytes32, png32.size()));
  ui::GpBitmapPtr image32 = decoder32.Decode(png32);
  if (!image32) return false;
  BlobDecoder decoder48(std::max(kDecodeBytes48, png48.size()));
  ui::GpBitmapPtr image48 = decoder48.Decode(png48);
  if (!image48) return false;
  const std::wstring key = L"lnk" + std::to_wstring(id);
  StoreEntry(key, PutImage(MakeImageKey(key, kSize16), std::move(image16)),
             PutImage(MakeImageKey(key, kSize32), std::move(image32)),
             PutImage(MakeImageKey(key, kSize48), std::move(image48)));
  return true;
}

void IconCache::DeferIcon(const std::wstring& key, std::function<bool(IconCache&)> make) {
  const std::wstring lowered = ToLowerAscii(key);
  if (key.empty() || !make || deferred_.count(lowered)) return;
  if (IsCached(MakeImageKey(key, kSize16))) return;
  deferred_[lowered] = std::move(make);
}

void IconCache::DeferPathIcon(const std::wstring& key, const std::wstring& iconSource) {
  auto make = [key, iconSource](IconCache& cache) { return cache.AddPathToCache(key, iconSource); };
  auto earlier = deferred_.find(ToLowerAscii(key));
  if (earlier == deferred_.end()) {
    DeferIcon(key, std::move(make));
    return;
  }
  // Tried when what was deferred first gives no icon (AddPathToCache does nothing
  // for a key that has one).
  earlier->second = [first = std::move(earlier->second), make](IconCache& cache) {
    first(cache);
    return make(cache);
  };
}

bool IconCache::IsDeferred(const std::wstring& key) const { return deferred_.count(ToLowerAscii(key)) != 0; }

bool IconCache::MakeDeferred(const std::wstring& loweredKey) {
  auto found = deferred_.find(loweredKey);
  if (found == deferred_.end()) return false;
  // Taken out first: making the icon looks its keys up again.
  const std::function<bool(IconCache&)> make = std::move(found->second);
  deferred_.erase(found);
  return make(*this);
}

std::shared_ptr<ui::ImageInfo> IconCache::ProvideImage(const std::wstring& imageKey) {
  int32_t id = 0;
  int sizeIndex = kSize32;
  if (!LinkIdOfImageKey(imageKey, id, sizeIndex)) {
    if (imageKey.size() < 4 || imageKey[0] != L'?' || imageKey[2] != L':') return nullptr;
    const std::wstring key = imageKey.substr(3);
    for (IconCache* cache : LiveCaches()) {
      if (cache->MakeDeferred(key)) return ui::UiGlobals::FindCachedImage(imageKey);
    }
    return nullptr;
  }
  for (IconCache* cache : LiveCaches()) {
    if (!cache->DecodeStored(id)) continue;
    const IconCacheEntry& entry = cache->entries_.at(L"lnk" + std::to_wstring(id));
    return sizeIndex == kSize16 ? entry.image16 : sizeIndex == kSize48 ? entry.image48 : entry.image32;
  }
  return nullptr;
}

void IconCache::Close() {
  database_.Close();
  entries_.clear();
  undecoded_.clear();
  deferred_.clear();
}

std::wstring IconCache::MakeImageKey(const std::wstring& key, int sizeIndex) {
  const wchar_t* prefix = sizeIndex == kSize16 ? L"?s:" : sizeIndex == kSize48 ? L"?l:" : L"?n:";
  return ToLowerAscii(prefix + key);
}

bool IconCache::IsCached(const std::wstring& imageKey) {
  return ui::UiGlobals::FindCachedImage(imageKey) != nullptr;
}

IconCacheEntry& IconCache::Entry(const std::wstring& key) {
  IconCacheEntry& entry = entries_[key];
  entry.key = key;
  return entry;
}

IconCacheEntry& IconCache::StoreEntry(const std::wstring& key, std::shared_ptr<ui::ImageInfo> image16,
                                      std::shared_ptr<ui::ImageInfo> image32,
                                      std::shared_ptr<ui::ImageInfo> image48) {
  IconCacheEntry& entry = Entry(key);
  entry.image16 = std::move(image16);
  entry.image32 = std::move(image32);
  entry.image48 = std::move(image48);
  return entry;
}

std::shared_ptr<ui::ImageInfo> IconCache::PutImage(const std::wstring& imageKey, ui::GpBitmapPtr image) {
  if (auto live = ui::UiGlobals::FindCachedImage(imageKey)) return live;
  if (!image) return nullptr;
  std::shared_ptr<ui::ImageInfo> made = ui::ImageInfo::LoadFromBitmap(image.get(), imageKey);
  if (!made) return nullptr;
  return ui::UiGlobals::AddCachedImage(made);
}

std::shared_ptr<ui::ImageInfo> IconCache::PutBitmapImage(const std::wstring& imageKey, HBITMAP bitmap, int size) {
  if (auto live = ui::UiGlobals::FindCachedImage(imageKey)) {
    if (bitmap) DeleteObject(bitmap);
    return live;
  }
  if (!bitmap) return nullptr;
  auto made = std::make_shared<ui::ImageInfo>();
  made->width = size;
  made->height = size;
  made->path = imageKey;
  made->alpha = true;
  made->PushFrame(bitmap);
  return ui::UiGlobals::AddCachedImage(made);
}

bool IconCache::AddBitmapToCache(const std::wstring& key, ui::GpBitmapPtr image16, ui::GpBitmapPtr image32,
                                 ui::GpBitmapPtr image48) {
  PrintTrace("AddBitmapToCache %s\n", key);
  // Nothing to add is no success: callers fall back to another icon.
  if (!image16 && !image32 && !image48) return false;
  int32_t id = 0;
  // A stored icon not decoded yet is decoded before its row is replaced: like any
  // live image it stays shown (an image key that is already live keeps its image).
  if (LinkIdOfKey(key, id)) DecodeStored(id);
  if (id != 0 && image16 && image32 && image48) {
    std::vector<uint8_t> png16, png32, png48;
    if (!EncodePng(image16.get(), png16) || !EncodePng(image32.get(), png32) || !EncodePng(image48.get(), png48))
      return false;
    if (!database_.WriteRow(IconDatabase::Writer::kImages, id, png16, png32, png48)) return false;
  }
  StoreEntry(key, PutImage(MakeImageKey(key, kSize16), std::move(image16)),
             PutImage(MakeImageKey(key, kSize32), std::move(image32)),
             PutImage(MakeImageKey(key, kSize48), std::move(image48)));
  return true;
}

bool IconCache::AddHBITMAPToCache(const std::wstring& key, HBITMAP bitmap16, HBITMAP bitmap32,
                                  HBITMAP bitmap48) {
  PrintTrace("AddHBITMAPToCache %s\n", key);
  HBITMAP bitmaps[3] = {bitmap16, bitmap32, bitmap48};
  auto deleteAll = [&bitmaps] {
    for (HBITMAP bitmap : bitmaps) {
      if (bitmap) DeleteObject(bitmap);
    }
  };
  if (!bitmap16 && !bitmap32 && !bitmap48) return false;
  int32_t id = 0;
  if (LinkIdOfKey(key, id)) DecodeStored(id);
  if (id != 0 && bitmap16 && bitmap32 && bitmap48) {
    static PixelBuffer buffers[3];
    std::vector<uint8_t> pngs[3];
    for (int i = 0; i < 3; ++i) {
      ui::GpBitmapPtr image = BitmapFromHBITMAP(bitmaps[i], buffers[i], true);
      if (!image || !EncodePng(image.get(), pngs[i])) {
        deleteAll();
        return false;
      }
    }
    if (!database_.WriteRow(IconDatabase::Writer::kBitmaps, id, pngs[0], pngs[1], pngs[2])) {
      deleteAll();
      return false;
    }
  }
  StoreEntry(key, PutBitmapImage(MakeImageKey(key, kSize16), bitmap16, 16),
             PutBitmapImage(MakeImageKey(key, kSize32), bitmap32, 32),
             PutBitmapImage(MakeImageKey(key, kSize48), bitmap48, 48));
  return true;
}

IconCache::RowRemoval IconCache::RemoveRow(const std::wstring& key, bool hard) {
  if (IsRowlessKey(key)) return RowRemoval::kNotStored;
  int32_t id = 0;
  if (!LinkIdOfKey(key, id)) return RowRemoval::kNotALinkKey;
  return database_.RemoveRow(id, hard) ? RowRemoval::kDone : RowRemoval::kFailed;
}

bool IconCache::RemoveCache(const std::wstring& key, bool hard) {
  PrintTrace("RemoveCache %s\n", key);
  RemoveMemoryEntry(key);
  RowRemoval removal = RemoveRow(key, hard);
  return removal == RowRemoval::kDone || removal == RowRemoval::kNotStored;
}

bool IconCache::RemoveCacheBatch(const std::vector<std::wstring>& keys, bool hard) {
  if (!database_.IsOpen()) {
    PrintSqlError("the icon database is not open");
    return false;
  }
  SqlTransaction transaction(database_.connection());
  if (!transaction.Begin()) return false;
  bool rowFailed = false;
  for (const std::wstring& key : keys) {
    PrintTrace("RemoveCache %s\n", key);
    RemoveMemoryEntry(key);
    if (!rowFailed && RemoveRow(key, hard) == RowRemoval::kFailed) {
      // Every row change of the batch is undone, so no link keeps half its rows.
      PrintSqlError(sqlite3_errmsg(database_.connection()));
      rowFailed = true;
    }
  }
  return !rowFailed && transaction.Commit();
}

bool IconCache::RemoveMemoryEntry(const std::wstring& key) {
  if (IsBuiltinKey(key)) return true;
  // A stored icon not decoded yet is forgotten too (before the lookups below,
  // which would decode it).
  int32_t id = 0;
  int sizeIndex = kSize16;
  if (LinkIdOfImageKey(MakeImageKey(key, kSize16), id, sizeIndex)) undecoded_.erase(id);
  deferred_.erase(ToLowerAscii(key));
  for (int sizeIndex : kSizeIndexes) {
    const std::wstring imageKey = MakeImageKey(key, sizeIndex);
    if (ui::UiGlobals::FindCachedImage(imageKey)) ui::UiGlobals::RemoveCachedImage(imageKey);
  }
  entries_.erase(key);
  return true;
}

bool IconCache::PurgeInvalid() { return database_.PurgeInvalid(); }

IconCache& GetIconCache() {
  static IconCache cache;
  return cache;
}
