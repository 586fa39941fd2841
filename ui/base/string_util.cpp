#include "ui/base/string_util.h"

#include <windows.h>

#include <climits>
#include <cstdio>
#include <cwchar>
#include <memory>

std::wstring NormalizePathSeparators(std::wstring_view path) {
  std::wstring result;
  result.reserve(path.size());
  // Both steps in one pass: a slash counts as a backslash, and a backslash that
  // completes a pair with the one just written is dropped.
  bool pairOpen = false;
  for (wchar_t c : path) {
    if (c == L'/') c = L'\\';
    if (c == L'\\') {
      if (pairOpen) {
        pairOpen = false;
        continue;
      }
      pairOpen = true;
    } else {
      pairOpen = false;
    }
    result.push_back(c);
  }
  return result;
}

namespace {

constexpr size_t kFirstFormatBuffer = 1024;
constexpr size_t kLastFormatBuffer = 0x2000000;

// True when the whole text and its terminating NUL fit in `size` characters. The
// Microsoft variant is used on purpose: its "%s" takes a wide string.
bool FormatInto(wchar_t* buffer, size_t size, const wchar_t* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  int written = _vsnwprintf(buffer, size, format, copy);
  va_end(copy);
  return written >= 0 && static_cast<size_t>(written) < size;
}

}  // namespace

void FormatTextV(const wchar_t* format, va_list args, std::wstring& out) {
  if (!format) return;
  wchar_t stackBuffer[kFirstFormatBuffer];
  if (FormatInto(stackBuffer, kFirstFormatBuffer, format, args)) {
    out.append(stackBuffer);
    return;
  }
  for (size_t size = kFirstFormatBuffer * 2; size <= kLastFormatBuffer; size *= 2) {
    auto buffer = std::make_unique<wchar_t[]>(size);
    if (FormatInto(buffer.get(), size, format, args)) {
      out.append(buffer.get());
      return;
    }
  }
}

std::wstring FormatText(const wchar_t* format, ...) {
  std::wstring result;
  va_list args;
  va_start(args, format);
  FormatTextV(format, args, result);
  va_end(args);
  return result;
}

size_t ReplaceAll(std::wstring_view search, std::wstring_view replacement, std::wstring& target) {
  if (search.empty()) return 0;
  // The views may point into the target, which is about to be rewritten.
  std::wstring searchCopy, replacementCopy;
  const wchar_t* begin = target.data();
  const wchar_t* end = begin + target.size();
  if (search.data() >= begin && search.data() < end) search = searchCopy.assign(search);
  if (replacement.data() >= begin && replacement.data() < end) replacement = replacementCopy.assign(replacement);

  const size_t searchLength = search.size();
  const size_t replacementLength = replacement.size();

  if (replacementLength > searchLength) {
    size_t count = 0;
    for (size_t at = target.find(search); at != std::wstring::npos; at = target.find(search, at + searchLength)) {
      ++count;
    }
    if (count == 0) return 0;
    // Grow once and move the text to the end; then read from the moved text and
    // write the result from the front. The write position always stays behind the
    // read position, so no unread character is overwritten.
    const size_t oldLength = target.size();
    const size_t growth = count * (replacementLength - searchLength);
    target.resize(oldLength + growth);
    wchar_t* data = target.data();
    std::wmemmove(data + growth, data, oldLength);
    std::wstring_view source(data + growth, oldLength);
    size_t read = 0;
    size_t write = 0;
    for (size_t at = source.find(search); at != std::wstring_view::npos; at = source.find(search, read)) {
      std::wmemmove(data + write, data + growth + read, at - read);
      write += at - read;
      std::wmemcpy(data + write, replacement.data(), replacementLength);
      write += replacementLength;
      read = at + searchLength;
    }
    std::wmemmove(data + write, data + growth + read, oldLength - read);
    return count;
  }

  // Same length or shorter: rewrite in place from the front, then cut the tail.
  wchar_t* data = target.data();
  std::wstring_view source(data, target.size());
  size_t count = 0;
  size_t read = 0;
  size_t write = 0;
  for (size_t at = source.find(search); at != std::wstring_view::npos; at = source.find(search, read)) {
    ++count;
    if (write != read) std::wmemmove(data + write, data + read, at - read);
    write += at - read;
    std::wmemcpy(data + write, replacement.data(), replacementLength);
    write += replacementLength;
    read = at + searchLength;
  }
  if (count == 0) return 0;
  std::wmemmove(data + write, data + read, source.size() - read);
  target.resize(write + source.size() - read);
  return count;
}

size_t ReplaceAllNonEmpty(std::wstring_view search, std::wstring_view replacement, std::wstring& target) {
  if (target.empty()) return 0;
  return ReplaceAll(search, replacement, target);
}

std::wstring ToLowerAscii(std::wstring_view text) {
  std::wstring result(text);
  for (wchar_t& c : result) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  return result;
}

namespace {

bool IsTrimmed(wchar_t c) { return c == L' ' || c < 0x1E; }

}  // namespace

std::wstring TrimString(const wchar_t* text) {
  if (!text) return {};
  std::wstring_view view(text);
  size_t first = 0;
  while (first < view.size() && IsTrimmed(view[first])) ++first;
  size_t last = view.size();
  while (last > first && IsTrimmed(view[last - 1])) --last;
  return std::wstring(view.substr(first, last - first));
}

std::vector<std::wstring> SplitString(std::wstring_view text, std::wstring_view delimiters) {
  std::vector<std::wstring> pieces;
  size_t start = 0;
  while (start < text.size()) {
    size_t stop = text.find_first_of(delimiters, start);
    if (stop == std::wstring_view::npos) stop = text.size();
    if (stop > start) pieces.emplace_back(text.substr(start, stop - start));
    start = stop + 1;
  }
  return pieces;
}

bool WidenString(const char* bytes, std::wstring& out, unsigned codePage) {
  out.clear();
  if (!bytes) return false;
  int length = MultiByteToWideChar(codePage, 0, bytes, -1, nullptr, 0);
  if (length < 1) return false;
  out.resize(static_cast<size_t>(length));
  MultiByteToWideChar(codePage, 0, bytes, -1, out.data(), length);
  out.resize(static_cast<size_t>(length) - 1);
  return true;
}

bool WidenStringCounted(std::string_view bytes, std::wstring& out, unsigned codePage) {
  out.clear();
  if (bytes.empty()) return true;
  // The platform takes an int length.
  if (bytes.size() > INT_MAX) return false;
  int inputLength = static_cast<int>(bytes.size());
  int length = MultiByteToWideChar(codePage, 0, bytes.data(), inputLength, nullptr, 0);
  if (length < 1) return false;
  out.resize(static_cast<size_t>(length));
  MultiByteToWideChar(codePage, 0, bytes.data(), inputLength, out.data(), length);
  return true;
}

bool NarrowString(const wchar_t* text, std::string& out, unsigned codePage) {
  out.clear();
  if (!text) return false;
  int length = WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (length < 1) return false;
  out.resize(static_cast<size_t>(length));
  WideCharToMultiByte(codePage, 0, text, -1, out.data(), length, nullptr, nullptr);
  out.resize(static_cast<size_t>(length) - 1);
  return true;
}

bool NarrowStringCounted(std::wstring_view text, std::string& out, unsigned codePage) {
  out.clear();
  if (text.empty()) return true;
  // The platform takes an int length.
  if (text.size() > INT_MAX) return false;
  int inputLength = static_cast<int>(text.size());
  int length = WideCharToMultiByte(codePage, 0, text.data(), inputLength, nullptr, 0, nullptr, nullptr);
  if (length < 1) return false;
  out.resize(static_cast<size_t>(length));
  WideCharToMultiByte(codePage, 0, text.data(), inputLength, out.data(), length, nullptr, nullptr);
  return true;
}
