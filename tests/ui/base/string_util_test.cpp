#include "ui/base/string_util.h"

#include <gtest/gtest.h>

#include "ui/base/text_constants.h"

namespace {

TEST(NormalizePathSeparators, SlashesBecomeBackslashesAndPairsCollapseOnce) {
  EXPECT_EQ(NormalizePathSeparators(L"skin//gray/btn.png"), L"skin\\gray\\btn.png");
  EXPECT_EQ(NormalizePathSeparators(L"a\\\\\\b"), L"a\\\\b");    // three become two
  EXPECT_EQ(NormalizePathSeparators(L"a\\\\\\\\b"), L"a\\\\b");  // four become two
  EXPECT_EQ(NormalizePathSeparators(L"a/\\b"), L"a\\b");         // mixed pair
  EXPECT_EQ(NormalizePathSeparators(L"\\\\server\\share"), L"\\server\\share");
  EXPECT_EQ(NormalizePathSeparators(L""), L"");
}

TEST(FormatText, UsesWideConventions) {
  EXPECT_EQ(FormatText(L"%s=%d", L"主题", -5), L"主题=-5");
  EXPECT_EQ(FormatText(L"PexoMutex_%08X", 0x1A2Bu), L"PexoMutex_00001A2B");
  EXPECT_EQ(FormatText(L"%ls|%S", L"wide", "narrow"), L"wide|narrow");
  EXPECT_EQ(FormatText(L""), L"");
}

TEST(FormatText, TextsAroundBufferBoundariesComeBackWhole) {
  for (size_t length : {1023u, 1024u, 1025u, 2047u, 2048u, 2049u, 100000u}) {
    std::wstring text(length, L'x');
    text.back() = L'!';
    EXPECT_EQ(FormatText(L"%s", text.c_str()), text) << length;
  }
}

TEST(FormatText, AppendsToExistingText) {
  std::wstring out = L"a";
  auto append = [&out](const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    FormatTextV(format, args, out);
    va_end(args);
  };
  append(L"%d", 12);
  append(L"%s", L"b");
  EXPECT_EQ(out, L"a12b");
}

TEST(FormatText, TooLongTextGivesEmpty) {
  // 0x2000000 characters do not fit with their terminator in the largest buffer.
  std::wstring huge(0x2000000, L'y');
  EXPECT_EQ(FormatText(L"%s", huge.c_str()), L"");
  huge.pop_back();
  EXPECT_EQ(FormatText(L"%s", huge.c_str()).size(), huge.size());
}

TEST(ReplaceAll, GrowingShrinkingAndEqualReplacements) {
  std::wstring target = L"aaa";
  EXPECT_EQ(ReplaceAll(L"a", L"aa", target), 3u);
  EXPECT_EQ(target, L"aaaaaa");

  target = L"x--y--z--";
  EXPECT_EQ(ReplaceAll(L"--", L"+", target), 3u);
  EXPECT_EQ(target, L"x+y+z+");

  target = L"--a--";
  EXPECT_EQ(ReplaceAll(L"--", L"", target), 2u);
  EXPECT_EQ(target, L"a");

  target = L"abcabc";
  EXPECT_EQ(ReplaceAll(L"bc", L"XY", target), 2u);
  EXPECT_EQ(target, L"aXYaXY");

  target = L"<p>text</p>";
  EXPECT_EQ(ReplaceAll(L"p", L"para", target), 2u);
  EXPECT_EQ(target, L"<para>text</para>");

  target = L"aaaa";  // matches do not overlap
  EXPECT_EQ(ReplaceAll(L"aa", L"b", target), 2u);
  EXPECT_EQ(target, L"bb");
}

TEST(ReplaceAll, ExpandsEscapedLineBreaks) {
  std::wstring target = L"line1\\r\\nline2\\n";
  ReplaceAll(L"\\r", L"\r", target);
  ReplaceAll(L"\\n", L"\n", target);
  EXPECT_EQ(target, L"line1\r\nline2\n");
}

TEST(ReplaceAll, NothingToReplace) {
  std::wstring target = L"abc";
  EXPECT_EQ(ReplaceAll(L"", L"x", target), 0u);
  EXPECT_EQ(ReplaceAll(L"z", L"xyz", target), 0u);
  EXPECT_EQ(ReplaceAll(L"z", L"", target), 0u);
  EXPECT_EQ(target, L"abc");
  std::wstring empty;
  EXPECT_EQ(ReplaceAllNonEmpty(L"a", L"b", empty), 0u);
  EXPECT_EQ(empty, L"");
  EXPECT_EQ(ReplaceAllNonEmpty(L"b", L"BB", target), 1u);
  EXPECT_EQ(target, L"aBBc");
}

TEST(ReplaceAll, SearchTextTakenFromTheTargetItself) {
  std::wstring target = L"ab";
  std::wstring_view search(target.data(), 1);
  std::wstring_view replacement(target.data(), 2);
  EXPECT_EQ(ReplaceAll(search, replacement, target), 1u);
  EXPECT_EQ(target, L"abb");
}

TEST(ToLowerAscii, OnlyAsciiLettersChange) {
  EXPECT_EQ(ToLowerAscii(L"B\u00C4z@[`Q"), L"b\u00C4z@[`q");
  EXPECT_EQ(ToLowerAscii(L"汉字AZ"), L"汉字az");
  EXPECT_EQ(ToLowerAscii(L""), L"");
}

TEST(TrimString, SpacesAndControlCharactersBelow1E) {
  EXPECT_EQ(TrimString(L" \t\r\n \x01"), L"");
  EXPECT_EQ(TrimString(L"\x1Fkeep\x1E"), L"\x1Fkeep\x1E");
  EXPECT_EQ(TrimString(L"\t a b \r\n"), L"a b");
  EXPECT_EQ(TrimString(L"\u3000wide\u3000"), L"\u3000wide\u3000");  // ideographic space is kept
  EXPECT_EQ(TrimString(L""), L"");
  EXPECT_EQ(TrimString(nullptr), L"");
}

TEST(SplitString, DropsEmptyPieces) {
  EXPECT_EQ(SplitString(L";;one;;two;", L";"), (std::vector<std::wstring>{L"one", L"two"}));
  EXPECT_EQ(SplitString(L"a=b=c", L"="), (std::vector<std::wstring>{L"a", L"b", L"c"}));
  EXPECT_EQ(SplitString(L"a,b;c", L",;"), (std::vector<std::wstring>{L"a", L"b", L"c"}));
  EXPECT_EQ(SplitString(L"whole", L";"), (std::vector<std::wstring>{L"whole"}));
  EXPECT_TRUE(SplitString(L"", L";").empty());
  EXPECT_TRUE(SplitString(L";;;", L";").empty());
  EXPECT_EQ(SplitString(L"ab", L""), (std::vector<std::wstring>{L"ab"}));
}

TEST(Conversion, Utf8RoundTripIncludingSurrogatePairs) {
  const std::wstring text = L"A汉\U0001F600z";  // the emoji is a surrogate pair
  ASSERT_EQ(text.size(), 5u);
  std::string utf8;
  ASSERT_TRUE(NarrowString(text.c_str(), utf8, kCodePageUtf8));
  EXPECT_EQ(utf8, "A\xE6\xB1\x89\xF0\x9F\x98\x80z");
  std::wstring back;
  ASSERT_TRUE(WidenString(utf8.c_str(), back, kCodePageUtf8));
  EXPECT_EQ(back, text);

  ASSERT_TRUE(NarrowStringCounted(text, utf8, kCodePageUtf8));
  EXPECT_EQ(utf8, "A\xE6\xB1\x89\xF0\x9F\x98\x80z");
  ASSERT_TRUE(WidenStringCounted(utf8, back, kCodePageUtf8));
  EXPECT_EQ(back, text);
}

TEST(Conversion, EmptyInputGivesEmptyOutputAndTrue) {
  std::wstring wide = L"stale";
  std::string narrow = "stale";
  EXPECT_TRUE(WidenString("", wide, kCodePageUtf8));
  EXPECT_EQ(wide, L"");
  EXPECT_TRUE(NarrowString(L"", narrow, kCodePageUtf8));
  EXPECT_EQ(narrow, "");
  wide = L"stale";
  narrow = "stale";
  EXPECT_TRUE(WidenStringCounted({}, wide, kCodePageAnsi));
  EXPECT_EQ(wide, L"");
  EXPECT_TRUE(NarrowStringCounted({}, narrow, kCodePageAnsi));
  EXPECT_EQ(narrow, "");
}

TEST(Conversion, InvalidUtf8IsReplacedNotDropped) {
  std::wstring wide;
  // A lone continuation byte, a truncated three-byte sequence and an overlong form.
  ASSERT_TRUE(WidenString("a\x80" "b\xE6\xB1" "c\xC0\xAF", wide, kCodePageUtf8));
  ASSERT_FALSE(wide.empty());
  EXPECT_EQ(wide.front(), L'a');
  EXPECT_NE(wide.find(L'b'), std::wstring::npos);
  EXPECT_NE(wide.find(L'c'), std::wstring::npos);
  EXPECT_NE(wide.find(L'\uFFFD'), std::wstring::npos);
  for (wchar_t c : wide) EXPECT_TRUE(c == L'a' || c == L'b' || c == L'c' || c == L'\uFFFD') << int(c);
}

TEST(Conversion, LoneSurrogateBecomesReplacementCharacterInUtf8) {
  std::string utf8;
  const wchar_t lone[] = {L'x', static_cast<wchar_t>(0xD83D), L'y', 0};
  ASSERT_TRUE(NarrowString(lone, utf8, kCodePageUtf8));
  EXPECT_EQ(utf8, "x\xEF\xBF\xBDy");
}

TEST(Conversion, CountedFormsKeepEmbeddedNuls) {
  std::wstring wide;
  ASSERT_TRUE(WidenStringCounted(std::string_view("a\0b", 3), wide, kCodePageUtf8));
  EXPECT_EQ(wide, std::wstring(L"a\0b", 3));
  std::string narrow;
  ASSERT_TRUE(NarrowStringCounted(wide, narrow, kCodePageAnsi));
  EXPECT_EQ(narrow, std::string("a\0b", 3));
  // The NUL-terminated form stops at the first NUL.
  ASSERT_TRUE(WidenString("a\0b", wide, kCodePageUtf8));
  EXPECT_EQ(wide, L"a");
}

TEST(Conversion, RefusedInputReportsFalseWithEmptyOutput) {
  std::wstring wide = L"stale";
  EXPECT_FALSE(WidenString(nullptr, wide, kCodePageUtf8));
  EXPECT_EQ(wide, L"");
  std::string narrow = "stale";
  EXPECT_FALSE(NarrowString(nullptr, narrow, kCodePageUtf8));
  EXPECT_EQ(narrow, "");
  // 12345 is no code page.
  EXPECT_FALSE(WidenString("abc", wide, 12345));
  EXPECT_EQ(wide, L"");
  EXPECT_FALSE(WidenStringCounted("abc", wide, 12345));
  EXPECT_FALSE(NarrowStringCounted(L"abc", narrow, 12345));
  EXPECT_EQ(narrow, "");
}

TEST(Conversion, AnsiCodePageRoundTripsAscii) {
  std::string narrow;
  ASSERT_TRUE(NarrowString(L"C:\\Tools\\cmd.exe /c", narrow, kCodePageAnsi));
  EXPECT_EQ(narrow, "C:\\Tools\\cmd.exe /c");
  std::wstring wide;
  ASSERT_TRUE(WidenString(narrow.c_str(), wide, kCodePageAnsi));
  EXPECT_EQ(wide, L"C:\\Tools\\cmd.exe /c");
}

TEST(TextConstants, SharedNames) {
  EXPECT_STREQ(kLanguageFileName, L"gdstrings.ini");
  EXPECT_STREQ(kLauncherWindowName, L"PexoWnd");
  EXPECT_EQ(std::wstring_view(kLauncherTitle).substr(0, 4), L"Pexo");
}

}  // namespace
