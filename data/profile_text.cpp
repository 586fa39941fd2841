#include "data/profile_text.h"

#include <windows.h>

namespace {

// Most values fit the first buffer; a longer one is read again into one twice as
// large until it fits, up to the largest (a value of a million characters is no
// setting, and the read must end on any file).
constexpr DWORD kFirstBuffer = 256;
constexpr DWORD kLargestBuffer = 1 << 20;

}  // namespace

std::wstring ReadProfileText(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                             const wchar_t* fileDefault) {
  std::wstring buffer(kFirstBuffer, L'\0');
  for (;;) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    // A value cut to the buffer comes back as size - 1 characters, or size - 2
    // when the read then also takes off the last character as the closing one of
    // a pair of quotes: only a value shorter than that is known to be whole.
    const DWORD length = GetPrivateProfileStringW(section, key, fileDefault, buffer.data(), size, path.c_str());
    if (length + 2 < size || size >= kLargestBuffer) {
      buffer.resize(length < size ? length : size - 1);
      return buffer;
    }
    buffer.assign(static_cast<size_t>(size) * 2, L'\0');
  }
}
