#include "ui/base/zip_archive.h"

#include <unzip.h>
#include <zlib.h>
// Traditional PKWARE key schedule, used to check the password before reading.
#include <crypt.h>

#include <cstring>
#include <vector>

namespace ui {

namespace {

uint32_t g_last_result = kZipOk;

uint32_t SetResult(uint32_t result) {
  g_last_result = result;
  return result;
}

// ---- the unzip library's file functions over a memory buffer ----
using Stream = ZipArchive::MemoryStream;

voidpf ZCALLBACK OpenMemory(voidpf opaque, const void*, int) { return opaque; }

uLong ZCALLBACK ReadMemory(voidpf, voidpf stream, void* buffer, uLong size) {
  auto* s = static_cast<Stream*>(stream);
  if (s->position >= s->size) return 0;
  uint64_t available = s->size - s->position;
  uLong count = available < size ? static_cast<uLong>(available) : size;
  std::memcpy(buffer, s->data + s->position, count);
  s->position += count;
  return count;
}

uLong ZCALLBACK WriteMemory(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK TellMemory(voidpf, voidpf stream) { return static_cast<Stream*>(stream)->position; }

long ZCALLBACK SeekMemory(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  auto* s = static_cast<Stream*>(stream);
  uint64_t base = 0;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = s->position; break;
    case ZLIB_FILEFUNC_SEEK_END: base = s->size; break;
    default: return -1;
  }
  if (offset > s->size || base + offset > s->size) return -1;
  s->position = base + offset;
  return 0;
}

int ZCALLBACK CloseMemory(voidpf, voidpf) { return 0; }
int ZCALLBACK ErrorMemory(voidpf, voidpf) { return 0; }

bool IsAsciiLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool SameNameIgnoringAsciiCase(const char* a, const char* b, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x == y) continue;
    if (IsAsciiLetter(x) && IsAsciiLetter(y) && (x | 0x20) == (y | 0x20)) continue;
    return false;
  }
  return true;
}

// Drops drive prefixes, leading separators and everything up to a parent-folder
// step, so a reported name never points outside the archive's own tree.
void CleanEntryName(const wchar_t* raw, wchar_t (&out)[260]) {
  const wchar_t* name = raw;
  for (;;) {
    if (name[0] != 0 && name[1] == L':') {
      name += 2;
      continue;
    }
    if (name[0] == L'\\' || name[0] == L'/') {
      ++name;
      continue;
    }
    const wchar_t* found = nullptr;
    for (const wchar_t* mark : {L"\\..\\", L"\\../", L"/../", L"/..\\"}) {
      found = wcsstr(name, mark);
      if (found) break;
    }
    if (found) {
      name = found + 4;
      continue;
    }
    break;
  }
  lstrcpynW(out, name, 260);
}

uint32_t AttributesOf(const unz_file_info64& info) {
  const unsigned host = static_cast<unsigned>(info.version >> 8);
  const uint32_t external = static_cast<uint32_t>(info.external_fa);
  if (host == 0 || host == 7 || host == 11 || host == 14) {
    return external & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                       FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE);
  }
  uint32_t attributes = FILE_ATTRIBUTE_ARCHIVE;
  if (!(external & 0x00800000)) attributes |= FILE_ATTRIBUTE_READONLY;
  if (external & 0x40000000) attributes |= FILE_ATTRIBUTE_DIRECTORY;
  return attributes;
}

FILETIME FileTimeFromUnixSeconds(uint32_t seconds) {
  const uint64_t ticks = (uint64_t{seconds} + 11644473600ULL) * 10000000ULL;
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(ticks);
  time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return time;
}

uint32_t ReadLittleEndian32(const unsigned char* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

// DOS date and time (local) to UTC, then the extended timestamp block of the
// local extra field, when there is one, replaces the times it carries.
void FillTimes(const unz_file_info64& info, const std::vector<unsigned char>& extra, ZipItemInfo& item) {
  FILETIME local{}, utc{};
  if (DosDateTimeToFileTime(HIWORD(info.dosDate), LOWORD(info.dosDate), &local)) {
    LocalFileTimeToFileTime(&local, &utc);
  }
  item.access_time = item.creation_time = item.modification_time = utc;

  size_t pos = 0;
  while (pos + 4 <= extra.size()) {
    const size_t data_length = extra[pos + 2] | (extra[pos + 3] << 8);
    const size_t data = pos + 4;
    if (extra[pos] == 'U' && extra[pos + 1] == 'T') {
      const size_t end = data + data_length <= extra.size() ? data + data_length : extra.size();
      if (data >= end) return;
      const unsigned flags = extra[data];
      size_t field = data + 1;
      FILETIME* targets[] = {&item.modification_time, &item.access_time, &item.creation_time};
      for (int bit = 0; bit < 3; ++bit) {
        if (!(flags & (1u << bit))) continue;
        if (field + 4 > end) return;
        *targets[bit] = FileTimeFromUnixSeconds(ReadLittleEndian32(&extra[field]));
        field += 4;
      }
      return;
    }
    pos = data + data_length;
  }
}

}  // namespace

uint32_t ZipArchive::GetLastResult() { return g_last_result; }

std::unique_ptr<ZipArchive> ZipArchive::Open(const void* bytes, size_t length, const char* password) {
  if (!bytes || length == 0) {
    SetResult(kZipCannotOpen);
    return nullptr;
  }
  std::unique_ptr<ZipArchive> archive(new ZipArchive());
  archive->stream_ = MemoryStream{static_cast<const unsigned char*>(bytes), length, 0};
  if (password) {
    archive->password_ = password;
    archive->has_password_ = true;
  }
  zlib_filefunc64_def functions{};
  functions.zopen64_file = OpenMemory;
  functions.zread_file = ReadMemory;
  functions.zwrite_file = WriteMemory;
  functions.ztell64_file = TellMemory;
  functions.zseek64_file = SeekMemory;
  functions.zclose_file = CloseMemory;
  functions.zerror_file = ErrorMemory;
  functions.opaque = &archive->stream_;
  archive->unzip_ = unzOpen2_64("skin", &functions);
  if (!archive->unzip_) {
    SetResult(kZipCannotOpen);
    return nullptr;
  }
  unz_global_info64 global{};
  if (unzGetGlobalInfo64(archive->unzip_, &global) != UNZ_OK || unzGoToFirstFile(archive->unzip_) != UNZ_OK) {
    // An archive without entries has nothing to read; a damaged directory is refused.
    if (global.number_entry != 0) {
      SetResult(kZipCannotOpen);
      return nullptr;
    }
  }
  archive->item_count_ = global.number_entry > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(global.number_entry);
  SetResult(kZipOk);
  return archive;
}

ZipArchive::~ZipArchive() {
  if (unzip_) {
    CloseReading();
    unzClose(unzip_);
  }
}

uint32_t ZipArchive::Close(std::unique_ptr<ZipArchive>& archive) {
  if (!archive) return SetResult(kZipBadArgument);
  archive.reset();
  return SetResult(kZipOk);
}

void ZipArchive::CloseReading() {
  if (reading_index_ != -1) {
    unzCloseCurrentFile(unzip_);
    reading_index_ = -1;
  }
}

bool ZipArchive::MoveTo(int index) {
  if (index < cursor_) {
    if (unzGoToFirstFile(unzip_) != UNZ_OK) return false;
    cursor_ = 0;
  }
  while (cursor_ < index) {
    if (unzGoToNextFile(unzip_) != UNZ_OK) {
      // The library is left past the end: start over next time.
      unzGoToFirstFile(unzip_);
      cursor_ = 0;
      return false;
    }
    ++cursor_;
  }
  return true;
}

uint32_t ZipArchive::GetItem(int index, ZipItemInfo& info) {
  if (index == -1) {
    info = ZipItemInfo{};
    info.index = item_count_;
    return SetResult(kZipOk);
  }
  if (index < -1 || index >= item_count_) return SetResult(kZipBadArgument);
  if (index == cached_index_) {
    info = cached_item_;
    return SetResult(kZipOk);
  }
  CloseReading();
  if (!MoveTo(index)) return SetResult(kZipBadLocalHeader);

  unz_file_info64 file{};
  char raw_name[261] = {};
  if (unzGetCurrentFileInfo64(unzip_, &file, raw_name, 260, nullptr, 0, nullptr, 0) != UNZ_OK) {
    return SetResult(kZipBadLocalHeader);
  }
  raw_name[file.size_filename < 260 ? file.size_filename : 260] = 0;

  // Opening the entry raw checks its local header and gives its extra field.
  if (unzOpenCurrentFile2(unzip_, nullptr, nullptr, 1) != UNZ_OK) return SetResult(kZipBadLocalHeader);
  std::vector<unsigned char> extra;
  const int extra_size = unzGetLocalExtrafield(unzip_, nullptr, 0);
  if (extra_size < 0) {
    unzCloseCurrentFile(unzip_);
    return SetResult(kZipBadExtraField);
  }
  if (extra_size > 0) {
    extra.resize(static_cast<size_t>(extra_size));
    if (unzGetLocalExtrafield(unzip_, extra.data(), static_cast<unsigned>(extra_size)) != extra_size) {
      unzCloseCurrentFile(unzip_);
      return SetResult(kZipBadExtraField);
    }
  }
  unzCloseCurrentFile(unzip_);

  ZipItemInfo item{};
  item.index = index;
  wchar_t wide_name[260] = {};
  MultiByteToWideChar(CP_UTF8, 0, raw_name, -1, wide_name, 259);
  wide_name[259] = 0;
  CleanEntryName(wide_name, item.name);
  item.attributes = AttributesOf(file);
  FillTimes(file, extra, item);
  item.compressed_size = static_cast<int32_t>(file.compressed_size);
  item.uncompressed_size = static_cast<int32_t>(file.uncompressed_size);

  cached_item_ = item;
  cached_index_ = index;
  info = item;
  return SetResult(kZipOk);
}

uint32_t ZipArchive::FindItem(const std::wstring& name, int& index, ZipItemInfo& info) {
  auto not_found = [&]() {
    index = -1;
    info = ZipItemInfo{};
    info.index = -1;
    return SetResult(kZipNotFound);
  };
  char wanted[260] = {};
  const int converted = WideCharToMultiByte(CP_UTF8, 0, name.c_str(), static_cast<int>(name.size()), wanted,
                                            sizeof(wanted) - 1, nullptr, nullptr);
  if ((converted <= 0 && !name.empty()) || converted >= 256) return not_found();
  const size_t wanted_length = static_cast<size_t>(converted);

  CloseReading();
  unz64_file_pos saved{};
  const bool have_saved = unzGetFilePos64(unzip_, &saved) == UNZ_OK;
  const int saved_cursor = cursor_;

  int found = -1;
  if (item_count_ > 0 && unzGoToFirstFile(unzip_) == UNZ_OK) {
    cursor_ = 0;
    for (int i = 0;; ++i) {
      unz_file_info64 file{};
      char raw_name[260] = {};
      if (unzGetCurrentFileInfo64(unzip_, &file, raw_name, sizeof(raw_name), nullptr, 0, nullptr, 0) != UNZ_OK) {
        break;
      }
      if (file.size_filename == wanted_length && SameNameIgnoringAsciiCase(raw_name, wanted, wanted_length)) {
        found = i;
        break;
      }
      if (i + 1 >= item_count_ || unzGoToNextFile(unzip_) != UNZ_OK) break;
      cursor_ = i + 1;
    }
  }
  if (found >= 0) {
    index = found;
    return GetItem(found, info);
  }
  if (have_saved && unzGoToFilePos64(unzip_, &saved) == UNZ_OK) {
    cursor_ = saved_cursor;
  } else {
    unzGoToFirstFile(unzip_);
    cursor_ = 0;
  }
  return not_found();
}

uint32_t ZipArchive::UnzipItem(ZipArchive* archive, int index, void* buffer, uint32_t length) {
  if (!archive) return SetResult(kZipBadArgument);
  if (!archive->unzip_) return SetResult(kZipNotReadable);
  return SetResult(archive->Unzip(index, buffer, length));
}

// Positions on the entry and opens it, checking the password against the
// check byte of the entry's encryption header.
uint32_t ZipArchive::OpenForReading(int index) {
  CloseReading();
  if (index < 0 || index >= item_count_) return kZipBadArgument;
  if (!MoveTo(index)) return kZipBadLocalHeader;
  unz_file_info64 file{};
  if (unzGetCurrentFileInfo64(unzip_, &file, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
    return kZipBadLocalHeader;
  }
  const bool encrypted = (file.flag & 1) != 0;
  if (encrypted && !has_password_) return kZipWrongPassword;
  // The library decrypts whenever it is given a password, so plain entries get none.
  if (unzOpenCurrentFilePassword(unzip_, encrypted ? password_.c_str() : nullptr) != UNZ_OK) {
    return kZipBadLocalHeader;
  }
  reading_index_ = index;
  reading_encrypted_ = encrypted;
  if (encrypted) {
    const uint64_t data = unzGetCurrentFileZStreamPos64(unzip_);
    if (data < 12 || data > stream_.size) {
      CloseReading();
      return kZipBadLocalHeader;
    }
    unsigned long keys[3];
    const z_crc_t* table = get_crc_table();
    init_keys(password_.c_str(), keys, table);
    int byte = 0;
    for (int i = 0; i < 12; ++i) {
      byte = stream_.data[data - 12 + i];
      zdecode(keys, table, byte);
    }
    // Entries written with a trailing data descriptor check against the time instead of the CRC.
    const unsigned expected = (file.flag & 8) ? (file.dosDate >> 8) & 0xFF : (file.crc >> 24) & 0xFF;
    if (static_cast<unsigned>(byte & 0xFF) != expected) {
      CloseReading();
      return kZipWrongPassword;
    }
  }
  return kZipOk;
}

uint32_t ZipArchive::Unzip(int index, void* buffer, uint32_t length) {
  if (index != reading_index_) {
    const uint32_t opened = OpenForReading(index);
    if (opened != kZipOk) return opened;
  }
  const int read = unzReadCurrentFile(unzip_, buffer, length);
  if (read < 0) {
    CloseReading();
    return kZipInflateFailed;
  }
  if (!unzeof(unzip_)) {
    if (read > 0 || length == 0) return kZipMoreData;
    CloseReading();
    return kZipInflateFailed;
  }
  // The whole entry has been read: closing it checks its CRC.
  const bool encrypted = reading_encrypted_;
  const int closed = unzCloseCurrentFile(unzip_);
  reading_index_ = -1;
  if (closed == UNZ_CRCERROR) return encrypted ? kZipWrongPassword : kZipInflateFailed;
  return kZipOk;
}

}  // namespace ui
