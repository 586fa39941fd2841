#include "data/utf8_text.h"

#include "ui/base/string_util.h"

namespace {

constexpr size_t kNotWellFormed = std::wstring::npos;

// UTF-16 units of well-formed UTF-8 (shortest forms, no surrogates, nothing above
// U+10FFFF), or kNotWellFormed.
size_t Utf16Length(const unsigned char* p, const unsigned char* end) {
  size_t units = 0;
  while (p < end) {
    const unsigned lead = *p;
    if (lead < 0x80) {
      ++p;
      ++units;
      continue;
    }
    size_t length = 0;
    unsigned low = 0x80;  // range of the second byte
    unsigned high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;   // overlong
      if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;   // overlong
      if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
      return kNotWellFormed;
    }
    if (static_cast<size_t>(end - p) < length || p[1] < low || p[1] > high) return kNotWellFormed;
    for (size_t i = 2; i < length; ++i) {
      if ((p[i] & 0xC0) != 0x80) return kNotWellFormed;
    }
    p += length;
    units += length == 4 ? 2 : 1;
  }
  return units;
}

// Decodes text that Utf16Length accepted into exactly that many units.
void Decode(const unsigned char* p, const unsigned char* end, wchar_t* out) {
  while (p < end) {
    const unsigned lead = *p;
    if (lead < 0x80) {
      *out++ = static_cast<wchar_t>(lead);
      p += 1;
    } else if (lead < 0xE0) {
      *out++ = static_cast<wchar_t>(((lead & 0x1F) << 6) | (p[1] & 0x3F));
      p += 2;
    } else if (lead < 0xF0) {
      *out++ = static_cast<wchar_t>(((lead & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F));
      p += 3;
    } else {
      const unsigned code =
          (((lead & 0x07) << 18) | ((p[1] & 0x3F) << 12) | ((p[2] & 0x3F) << 6) | (p[3] & 0x3F)) - 0x10000;
      *out++ = static_cast<wchar_t>(0xD800 | (code >> 10));
      *out++ = static_cast<wchar_t>(0xDC00 | (code & 0x3FF));
      p += 4;
    }
  }
}

}  // namespace

void AssignUtf8(std::string_view bytes, std::wstring& out) {
  const auto* begin = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* end = begin + bytes.size();
  const size_t units = Utf16Length(begin, end);
  if (units == kNotWellFormed) {
    // Damaged text keeps the platform's own replacement rules.
    WidenStringCounted(bytes, out, kCodePageUtf8);
    return;
  }
  out.resize(units);
  Decode(begin, end, out.data());
}
