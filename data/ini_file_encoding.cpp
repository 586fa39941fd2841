#include "data/ini_file_encoding.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string_view>

#include "ui/base/scoped_handles.h"
#include "ui/base/string_util.h"

namespace {

using ui::UniqueHandle;

UniqueHandle OpenFile(const std::wstring& path, DWORD access, DWORD disposition) {
  return UniqueHandle(
      CreateFileW(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The whole file; nullopt when it does not exist, cannot be read or is implausibly
// large for a settings file.
std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  UniqueHandle file = OpenFile(path, GENERIC_READ, OPEN_EXISTING);
  if (!file) return std::nullopt;
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 64 * 1024 * 1024) return std::nullopt;
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() && (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                         read != bytes.size())) {
    return std::nullopt;
  }
  return bytes;
}

bool WriteWholeFile(const std::wstring& path, std::string_view bytes) {
  UniqueHandle file = OpenFile(path, GENERIC_WRITE, CREATE_ALWAYS);
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size() && FlushFileBuffers(file.get());
}

// Writes beside the target, then moves the result over it, so a failure halfway
// never leaves a half-written settings file.
bool ReplaceFile(const std::wstring& path, std::string_view bytes) {
  const std::wstring temporary = path + L".tmp";
  if (!WriteWholeFile(temporary, bytes)) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  if (!MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

constexpr std::string_view kUtf16LeMark("\xFF\xFE", 2);
constexpr std::string_view kUtf16BeMark("\xFE\xFF", 2);
constexpr std::string_view kUtf8Mark("\xEF\xBB\xBF", 3);

std::string Utf16LeFile(std::wstring_view text) {
  std::string bytes(kUtf16LeMark);
  bytes.reserve(2 + text.size() * 2);
  for (wchar_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
  }
  return bytes;
}

}  // namespace

bool EnsureUtf16IniFile(const std::wstring& path) {
  // Let the profile functions put anything they still cache on the disk before the
  // file is looked at, and forget their copy once it was rewritten.
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
  std::optional<std::string> bytes = ReadWholeFile(path);
  std::string replacement;
  if (bytes && bytes->starts_with(kUtf16LeMark)) {
    if (bytes->size() % 2 == 0) return true;
    // A file cut inside a character: its lone last byte would be read as half of a
    // character made up with whatever follows it in memory.
    replacement = bytes->substr(0, bytes->size() - 1);
  } else if (!bytes || bytes->empty()) {
    if (!bytes && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;  // unreadable
    replacement = kUtf16LeMark;
  } else if (bytes->starts_with(kUtf16BeMark)) {
    replacement = *bytes;
    replacement.resize(replacement.size() & ~size_t{1});
    for (size_t i = 0; i < replacement.size(); i += 2) std::swap(replacement[i], replacement[i + 1]);
  } else if (bytes->find('\0') != std::string::npos) {
    if (!CopyFileW(path.c_str(), (path + L".bak").c_str(), FALSE)) return false;
    replacement = kUtf16LeMark;
  } else {
    std::wstring text;
    bool utf8 = bytes->starts_with(kUtf8Mark);
    std::string_view body(*bytes);
    if (utf8) body.remove_prefix(kUtf8Mark.size());
    if (!WidenStringCounted(body, text, utf8 ? kCodePageUtf8 : kCodePageAnsi)) return false;
    replacement = Utf16LeFile(text);
  }
  bool replaced = ReplaceFile(path, replacement);
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
  return replaced;
}
