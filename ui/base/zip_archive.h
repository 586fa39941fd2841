// Read-only access to a zip archive held in memory (the skin inside the
// executable's resources), with the zip format's traditional password
// encryption. Every operation also stores its result as the last zip result.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace ui {

// Result codes of the zip operations.
enum ZipResult : uint32_t {
  kZipOk = 0,
  kZipCannotOpen = 0x200,
  kZipNotFound = 0x500,
  kZipMoreData = 0x600,
  kZipBadLocalHeader = 0x700,
  kZipBadExtraField = 0x800,
  kZipWrongPassword = 0x1000,
  kZipBadArgument = 0x10000,
  kZipNotReadable = 0x80000,
  kZipInflateFailed = 0x5000000,
};

// One entry's description.
struct ZipItemInfo {
  int index;
  wchar_t name[260];
  uint32_t attributes;  // FILE_ATTRIBUTE_* bits
  FILETIME access_time;
  FILETIME creation_time;
  FILETIME modification_time;  // all UTC
  int32_t compressed_size;
  int32_t uncompressed_size;
};

class ZipArchive {
 public:
  // Read position over the archive bytes, used by the library's file functions.
  struct MemoryStream {
    const unsigned char* data;
    uint64_t size;
    uint64_t position;
  };

  // Opens an archive over `bytes`, which must outlive it; the password (or
  // null) is copied. Null with the last result kZipCannotOpen on failure.
  static std::unique_ptr<ZipArchive> Open(const void* bytes, size_t length, const char* password);
  // Closes and frees the archive; kZipBadArgument when there is none.
  static uint32_t Close(std::unique_ptr<ZipArchive>& archive);
  // Decompresses up to `length` bytes of the entry into `buffer`: kZipOk at the
  // end of the entry, kZipMoreData when more remains.
  static uint32_t UnzipItem(ZipArchive* archive, int index, void* buffer, uint32_t length);
  static uint32_t GetLastResult();

  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  // Index -1 reports the number of entries in info.index.
  uint32_t GetItem(int index, ZipItemInfo& info);
  // Finds an entry by name, ignoring the case of ASCII letters only.
  uint32_t FindItem(const std::wstring& name, int& index, ZipItemInfo& info);
  int GetItemCount() const { return item_count_; }

 private:
  ZipArchive() = default;
  uint32_t Unzip(int index, void* buffer, uint32_t length);
  uint32_t OpenForReading(int index);
  bool MoveTo(int index);
  void CloseReading();

  MemoryStream stream_{};
  void* unzip_ = nullptr;  // the unzip library's handle
  int item_count_ = 0;
  int cursor_ = 0;           // entry the library is positioned on
  int reading_index_ = -1;   // entry open for reading
  bool reading_encrypted_ = false;
  ZipItemInfo cached_item_{};
  int cached_index_ = -1;
  std::string password_;
  bool has_password_ = false;
};

}  // namespace ui
