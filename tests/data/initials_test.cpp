#include "data/initials.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

// The character with this GB2312 row-and-column code, through code page 936.
std::wstring FromGbCode(int code) {
  const char bytes[2] = {static_cast<char>(code / 100 + 160), static_cast<char>(code % 100 + 160)};
  wchar_t out[4] = {};
  const int length = MultiByteToWideChar(936, 0, bytes, 2, out, 4);
  return std::wstring(out, length > 0 ? length : 0);
}

std::wstring FromGbBytes(unsigned char lead, unsigned char trail) {
  const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  wchar_t out[4] = {};
  const int length = MultiByteToWideChar(936, 0, bytes, 2, out, 4);
  return std::wstring(out, length > 0 ? length : 0);
}

TEST(MakeInitials, CommonCharactersGiveTheirPinyinInitial) {
  const struct {
    const wchar_t* text;
    const wchar_t* initials;
  } cases[] = {
      {L"啊爱", L"AA"}, {L"八百", L"BB"}, {L"从此", L"CC"}, {L"大地", L"DD"}, {L"饿儿", L"EE"},
      {L"发方", L"FF"}, {L"高歌", L"GG"}, {L"好汉", L"HH"}, {L"家居", L"JJ"}, {L"开口", L"KK"},
      {L"来路", L"LL"}, {L"马门", L"MM"}, {L"你年", L"NN"}, {L"哦欧", L"OO"}, {L"平盘", L"PP"},
      {L"去前", L"QQ"}, {L"人日", L"RR"}, {L"三山", L"SS"}, {L"天堂", L"TT"}, {L"我问", L"WW"},
      {L"小心", L"XX"}, {L"一样", L"YY"}, {L"中州", L"ZZ"}, {L"微信", L"WX"},
  };
  for (const auto& c : cases) EXPECT_EQ(MakeInitials(c.text), c.initials) << c.text;
}

TEST(MakeInitials, Level1BoundariesSwitchLetterExactlyAtTheirCode) {
  const struct {
    int code;
    wchar_t letter;
  } boundaries[] = {{1637, L'B'}, {1833, L'C'}, {2078, L'D'}, {2274, L'E'}, {2302, L'F'},
                    {2433, L'G'}, {2594, L'H'}, {2787, L'J'}, {3106, L'K'}, {3212, L'L'},
                    {3472, L'M'}, {3635, L'N'}, {3722, L'O'}, {3730, L'P'}, {3858, L'Q'},
                    {4027, L'R'}, {4086, L'S'}, {4390, L'T'}, {4558, L'W'}, {4684, L'X'},
                    {4925, L'Y'}, {5249, L'Z'}};
  wchar_t previous = L'A';
  for (const auto& b : boundaries) {
    EXPECT_EQ(MakeInitials(FromGbCode(b.code - 1)), std::wstring(1, previous)) << b.code - 1;
    EXPECT_EQ(MakeInitials(FromGbCode(b.code)), std::wstring(1, b.letter)) << b.code;
    previous = b.letter;
  }
  EXPECT_EQ(MakeInitials(FromGbCode(1601)), L"A");  // first level-1 character
  EXPECT_EQ(MakeInitials(FromGbCode(5589)), L"Z");  // last level-1 character
}

TEST(MakeInitials, CodesOutsideBothLevelsAreKept) {
  // 5590 lies in row 55 after the last level-1 character: neither level, kept.
  const std::wstring beyond = FromGbCode(5590);
  ASSERT_EQ(beyond.size(), 1u);
  EXPECT_EQ(MakeInitials(beyond), beyond);
  // Full-width punctuation, letters and digits of the symbol rows are kept.
  for (const wchar_t* symbols : {L"，。、", L"ＡＢＣａ１", L"①Ⅻ", L"（）【】", L"☆→"}) {
    EXPECT_EQ(MakeInitials(symbols), symbols);
  }
  EXPECT_EQ(Gb2312InitialOf(0xA1, 0xA1), 0);
  EXPECT_EQ(Gb2312InitialOf(0xB0, 0xA0), 0);  // trail byte below the range
}

TEST(MakeInitials, Level2CharactersUseTheLetterTable) {
  // Rows 56 and 57 in code order; "[" marks radical forms without a reading.
  const char* row56 =
      "CJWGNSPGCGNE[Y[BTYYZDXYKYGT[JNNJQMBSGZSCYJSYY[PGKBZGY[YWJKGKLJYWKPJQHY[W[DZLSGMRYPYWWCCKZNKYYG";
  const char* row57 =
      "TTNJJNYKKZYTCJNMCYLQLYPYQFQRPZSLWBTGKJFYXJWZLTBNCXJJJJTXDTTSQZYCDXXHGCK[PHFFSS[YBGMXLPBYLL[HLX";
  for (int column = 0; column < 94; ++column) {
    EXPECT_EQ(Gb2312InitialOf(0xD8, 0xA1 + column), row56[column]) << column;
    EXPECT_EQ(Gb2312InitialOf(0xD9, 0xA1 + column), row57[column]) << column;
  }
  const struct {
    const wchar_t* text;
    const wchar_t* initials;
  } cases[] = {
      {L"亍丌兀", L"CJW"}, {L"丨丿", L"[["}, {L"袤亵脔", L"MXL"}, {L"佟", L"T"},
      {L"鼹鼻齄", L"YBZ"}, {L"氵扌艹", L"[[["}, {L"杈", L"C"}, {L"蹒跚", L"PS"},
  };
  for (const auto& c : cases) EXPECT_EQ(MakeInitials(c.text), c.initials) << c.text;
  // Every level-2 entry is a letter other than I, U and V, or "[".
  for (int lead = 0xD8; lead <= 0xF7; ++lead) {
    for (int trail = 0xA1; trail <= 0xFE; ++trail) {
      const wchar_t letter = Gb2312InitialOf(lead, trail);
      EXPECT_TRUE((letter >= L'A' && letter <= L'Z' && letter != L'I' && letter != L'U' &&
                   letter != L'V') || letter == L'[')
          << std::hex << lead << trail;
    }
  }
}

TEST(MakeInitials, TextOutsideGb2312KeepsEveryCharacterInPlace) {
  EXPECT_EQ(MakeInitials(L"QQ音乐"), L"QQYL");
  EXPECT_EQ(MakeInitialsKey(L"QQ音乐"), L"qqyl");
  EXPECT_EQ(MakeInitialsKey(L"Visual Studio 2022"), L"visual studio 2022");
  EXPECT_EQ(MakeInitials(L""), L"");
  // GBK characters beyond GB2312 (lead bytes 0x81-0xA0) stay whole, and so does the
  // Chinese character after them.
  const std::wstring extension = FromGbBytes(0x81, 0xB0);
  ASSERT_EQ(extension.size(), 1u);
  EXPECT_EQ(MakeInitials(extension + L"啊" + extension + L"中"), extension + L"A" + extension + L"Z");
  // Traditional forms, Korean, accented Latin and characters beyond the BMP.
  EXPECT_EQ(MakeInitials(L"愛犇한é😀中"), L"愛犇한é😀Z");
}

// The key the link store keeps is the same one, made in place, and like any compact
// text it ends before a zero.
TEST(MakeInitials, TheCompactKeyIsTheKeyUpToAZero) {
  for (const wchar_t* text : {L"微信", L"QQ音乐", L"Visual Studio 2022", L"愛犇한é😀中", L"x", L"ABC abc"}) {
    const CompactText key = MakeCompactInitialsKey(text);
    EXPECT_EQ(key.view(), MakeInitialsKey(text)) << text;
    EXPECT_FALSE(key.empty()) << text;
  }
  EXPECT_TRUE(MakeCompactInitialsKey(L"").empty());
  EXPECT_EQ(MakeCompactInitialsKey(std::wstring(L"微信\0音乐", 5)).view(), L"wx");
  EXPECT_TRUE(MakeCompactInitialsKey(std::wstring(L"\0音乐", 3)).empty());
  const std::wstring longName(100000, L'中');
  EXPECT_EQ(MakeCompactInitialsKey(longName).view(), std::wstring(100000, L'z'));
}

}  // namespace
