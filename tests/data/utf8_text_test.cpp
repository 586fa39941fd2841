#include "data/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/base/string_util.h"

namespace {

// What the platform makes of the bytes: the result every input must match.
std::wstring PlatformWiden(const std::string& bytes) {
  std::wstring out;
  WidenStringCounted(bytes, out, kCodePageUtf8);
  return out;
}

TEST(AssignUtf8, WellFormedTextDecodesAtEveryLengthBoundary) {
  const struct {
    std::string bytes;
    std::wstring text;
  } cases[] = {
      {"", L""},
      {"C:\\Program Files\\app.exe", L"C:\\Program Files\\app.exe"},
      {std::string("a\0b", 3), std::wstring(L"a\0b", 3)},  // a zero is a character like any other
      {"\x7F", L"\x7F"},
      {"\xC2\x80", L"\x80"},                            // first two-byte form
      {"\xDF\xBF", L"\x7FF"},                           // last two-byte form
      {"\xE0\xA0\x80", L"\x800"},                       // first three-byte form
      {"\xED\x9F\xBF", L"\xD7FF"},                      // just below the surrogates
      {"\xEE\x80\x80", L"\xE000"},                      // just above them
      {"\xEF\xBF\xBF", L"\xFFFF"},                      // last three-byte form
      {"\xF0\x90\x80\x80", L"\xD800\xDC00"},            // first four-byte form
      {"\xF4\x8F\xBF\xBF", L"\xDBFF\xDFFF"},            // U+10FFFF
      {"\xE5\xBE\xAE\xE4\xBF\xA1 Pro 12", L"微信 Pro 12"},
      {"\xF0\x9F\x98\x80 \xC3\xA9t\xC3\xA9", L"😀 été"},
  };
  for (const auto& c : cases) {
    std::wstring out;
    AssignUtf8(c.bytes, out);
    EXPECT_EQ(out, c.text) << c.bytes;
    EXPECT_EQ(out, PlatformWiden(c.bytes)) << c.bytes;
  }
}

TEST(AssignUtf8, DamagedTextGivesWhatThePlatformGives) {
  const std::string cases[] = {
      "\x80",                  // a continuation byte alone
      "\xC0\x80",              // overlong forms
      "\xC1\xBF",
      "\xE0\x80\x80",
      "\xF0\x8F\xBF\xBF",
      "\xED\xA0\x80",          // an encoded surrogate
      "\xF4\x90\x80\x80",      // above U+10FFFF
      "\xF5\x80\x80\x80",
      "\xFF",
      "\xE5\xBE",              // cut short at the end
      "a\xE5\xBE" "b",         // cut short in the middle
      "\xF0\x9F\x98",
      "ok \xE5\xBE\xAE then \x80 and more",
  };
  for (const std::string& bytes : cases) {
    std::wstring out = L"left over";
    AssignUtf8(bytes, out);
    EXPECT_EQ(out, PlatformWiden(bytes)) << bytes;
    EXPECT_FALSE(out.empty()) << bytes;
  }
}

TEST(AssignUtf8, ReplacesWhatTheStringHeldAndTakesLongText) {
  std::wstring out(500, L'x');
  AssignUtf8("\xE4\xB8\xAD", out);
  EXPECT_EQ(out, L"中");
  AssignUtf8("", out);
  EXPECT_EQ(out, L"");

  std::string bytes;
  std::wstring text;
  for (int i = 0; i < 50000; ++i) {
    bytes += i % 2 ? "\xE4\xB8\xAD" : "a";
    text += i % 2 ? L'中' : L'a';
  }
  bytes += "\xF0\x9F\x98\x80";
  text += L"😀";
  AssignUtf8(bytes, out);
  EXPECT_EQ(out, text);
  EXPECT_EQ(out, PlatformWiden(bytes));
}

}  // namespace
