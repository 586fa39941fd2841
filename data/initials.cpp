#include "data/initials.h"

#include <windows.h>

#include <array>
#include <atomic>


// Letters of the 3008 level-2 characters (rows 56 to 87), row-major.
extern const char kGb2312Level2Initials[32][95];

namespace {

constexpr UINT kGbkCodePage = 936;

// Level-1 characters (rows 16 to 55) are ordered by reading, so the letter of a
// character is that of the last boundary not above its row-and-column code.
struct Level1Boundary {
  int code;
  wchar_t letter;
};
constexpr Level1Boundary kLevel1Boundaries[] = {
    {1601, L'A'}, {1637, L'B'}, {1833, L'C'}, {2078, L'D'}, {2274, L'E'}, {2302, L'F'},
    {2433, L'G'}, {2594, L'H'}, {2787, L'J'}, {3106, L'K'}, {3212, L'L'}, {3472, L'M'},
    {3635, L'N'}, {3722, L'O'}, {3730, L'P'}, {3858, L'Q'}, {4027, L'R'}, {4086, L'S'},
    {4390, L'T'}, {4558, L'W'}, {4684, L'X'}, {4925, L'Y'}, {5249, L'Z'},
};
constexpr int kLevel1First = 1601;
constexpr int kLevel1Last = 5589;
constexpr int kLevel2Count = 32 * 94;

// Per UTF-16 unit, the character it turns into; 0 while not yet worked out. The code
// page conversion is asked once per distinct character, which keeps loading thousands
// of names fast. Relaxed atomics: racing threads compute the same value.
std::array<std::atomic<wchar_t>, 0x10000>& InitialCache() {
  static std::array<std::atomic<wchar_t>, 0x10000> cache{};
  return cache;
}

wchar_t ComputeInitial(wchar_t ch) {
  if (ch >= 0xD800 && ch <= 0xDFFF) return ch;  // half of a pair outside the BMP
  char bytes[4] = {};
  BOOL used_default = FALSE;
  const int length = WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, &ch, 1, bytes,
                                         sizeof(bytes), nullptr, &used_default);
  if (length != 2 || used_default) return ch;
  const wchar_t letter = Gb2312InitialOf(static_cast<unsigned char>(bytes[0]),
                                         static_cast<unsigned char>(bytes[1]));
  return letter != 0 ? letter : ch;
}

}  // namespace

wchar_t Gb2312InitialOf(unsigned char lead, unsigned char trail) {
  if (lead < 0xA1 || trail < 0xA1 || lead == 0xFF || trail == 0xFF) return 0;
  const int code = (lead - 160) * 100 + (trail - 160);
  if (code >= kLevel1First && code <= kLevel1Last) {
    wchar_t letter = kLevel1Boundaries[0].letter;
    for (const auto& boundary : kLevel1Boundaries) {
      if (boundary.code > code) break;
      letter = boundary.letter;
    }
    return letter;
  }
  const int index = (lead - 0xD8) * 94 + (trail - 0xA1);
  if (index >= 0 && index < kLevel2Count) {
    return static_cast<wchar_t>(kGb2312Level2Initials[index / 94][index % 94]);
  }
  return 0;  // symbols and empty rows
}

namespace {

wchar_t InitialOf(wchar_t ch) {
  if (ch < 0x80) return ch;
  auto& slot = InitialCache()[ch];
  wchar_t mapped = slot.load(std::memory_order_relaxed);
  if (mapped == 0) {
    mapped = ComputeInitial(ch);
    slot.store(mapped, std::memory_order_relaxed);
  }
  return mapped;
}

}  // namespace

std::wstring MakeInitials(const std::wstring& text) {
  std::wstring result(text);
  for (wchar_t& ch : result) ch = InitialOf(ch);
  return result;
}

namespace {

// One step instead of MakeInitials and ToLowerAscii: it runs for every name and remark
// at start-up.
wchar_t KeyOf(wchar_t ch) {
  ch = InitialOf(ch);
  return ch >= L'A' && ch <= L'Z' ? static_cast<wchar_t>(ch + (L'a' - L'A')) : ch;
}

}  // namespace

std::wstring MakeInitialsKey(const std::wstring& text) {
  std::wstring result(text);
  for (wchar_t& ch : result) ch = KeyOf(ch);
  return result;
}

CompactText MakeCompactInitialsKey(std::wstring_view text) {
  // Only a zero becomes a zero, so the key ends where the text's first zero is.
  text = text.substr(0, text.find(L'\0'));
  return CompactText::Build(text.size(), [text](wchar_t* out) {
    for (wchar_t ch : text) *out++ = KeyOf(ch);
  });
}
