#include "data/ini_file_encoding.h"

#include <windows.h>

#include <utility>

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
bool ReplaceWholeFile(const std::wstring& path, std::string_view bytes) {
  // Moving over a read-only file fails on Windows but not everywhere the program
  // runs; refusing here keeps a file the user protected the same on all of them.
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  const std::wstring temporary = path + L".tmp";
  // A side file left by a killed run may carry any attributes; it is ours to replace.
  SetFileAttributesW(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!WriteWholeFile(temporary, bytes) ||
      !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    DeleteFileW(temporary.c_str());
    SetLastError(error);
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

// Text of UTF-16 bytes after their mark; a lone last byte of a file cut inside a
// character is dropped rather than read as half of a character.
std::wstring Utf16Text(std::string_view bytes, bool bigEndian) {
  std::wstring text;
  text.reserve(bytes.size() / 2);
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    text.push_back(static_cast<wchar_t>(bigEndian ? (first << 8) | second : first | (second << 8)));
  }
  return text;
}

}  // namespace

void FlushProfileCache(const std::wstring& path) {
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
}

std::optional<std::wstring> ReadIniFileText(const std::wstring& path) {
  FlushProfileCache(path);
  std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) {
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return std::nullopt;  // unreadable
    return std::wstring();
  }
  if (bytes->starts_with(kUtf16LeMark)) return Utf16Text(*bytes, false);
  if (bytes->starts_with(kUtf16BeMark)) return Utf16Text(*bytes, true);
  if (bytes->find('\0') != std::string::npos) {
    if (!CopyFileW(path.c_str(), (path + L".bak").c_str(), FALSE)) return std::nullopt;
    return std::wstring();
  }
  std::wstring text;
  const bool utf8 = bytes->starts_with(kUtf8Mark);
  std::string_view body(*bytes);
  if (utf8) body.remove_prefix(kUtf8Mark.size());
  if (!WidenStringCounted(body, text, utf8 ? kCodePageUtf8 : kCodePageAnsi)) return std::nullopt;
  return text;
}

bool WriteIniFileText(const std::wstring& path, std::wstring_view text) {
  const bool replaced = ReplaceWholeFile(path, Utf16LeFile(text));
  FlushProfileCache(path);
  return replaced;
}
