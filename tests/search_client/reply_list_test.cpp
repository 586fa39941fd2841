// The check that a version-1 reply's strings all end inside the reply.
#include "search_client/reply_list.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/search_client/reply_builder.h"

using search_test::SetWordAt;

namespace {

constexpr DWORD kHeader = 28;
constexpr DWORD kItem = 12;

// A version-1 list of `count` items whose names and paths all start at `offset` of
// the string area `strings` that follows the items.
std::string ListWithSharedString(DWORD count, DWORD offset_in_strings, const std::string& strings) {
  std::string bytes(kHeader + count * kItem, '\0');
  SetWordAt(bytes, 20, count);
  const DWORD start = kHeader + count * kItem + offset_in_strings;
  for (DWORD i = 0; i < count; ++i) {
    SetWordAt(bytes, kHeader + i * kItem + 4, start);
    SetWordAt(bytes, kHeader + i * kItem + 8, start);
  }
  return bytes + strings;
}

bool Valid(const std::string& bytes, bool utf16) {
  return search_client::IsValidListV1(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size(), utf16);
}

TEST(ReplyListCheck, StringsEndAtATerminatorAtOrAfterTheirStart) {
  // ANSI: any NUL at or after the start ends the string.
  EXPECT_TRUE(Valid(ListWithSharedString(2, 0, std::string("abc\0", 4)), false));
  EXPECT_TRUE(Valid(ListWithSharedString(2, 3, std::string("abc\0", 4)), false));  // empty string
  EXPECT_FALSE(Valid(ListWithSharedString(2, 0, "abcd"), false));
  EXPECT_FALSE(Valid(ListWithSharedString(2, 2, std::string("a\0cd", 4)), false));  // NUL before the start
  EXPECT_FALSE(Valid(ListWithSharedString(2, 4, std::string("abc\0", 4)), false));  // starts at the end

  // UTF-16: the terminator is a zero unit on an even offset; zero bytes that straddle
  // two units end nothing.
  EXPECT_TRUE(Valid(ListWithSharedString(1, 0, std::string("a\0b\0\0\0", 6)), true));
  EXPECT_FALSE(Valid(ListWithSharedString(1, 0, std::string("a\0\0b", 4)), true));
  EXPECT_FALSE(Valid(ListWithSharedString(1, 1, std::string("\0a\0\0\0", 5)), true));  // odd start
  EXPECT_FALSE(Valid(ListWithSharedString(1, 0, std::string("a\0b\0\0", 5)), true));  // half a unit left
}

TEST(ReplyListCheck, ManyItemsSharingOneLongStringAreCheckedInOnePass) {
  // 50 000 items all pointing at one string of 2 MB: checking each string by walking
  // it would take 10^11 steps; the reply is well formed and must pass at once.
  const DWORD count = 50000;
  std::string text(2 * 1024 * 1024, 'x');
  text.push_back('\0');
  EXPECT_TRUE(Valid(ListWithSharedString(count, 0, text), false));
  text.back() = 'x';
  EXPECT_FALSE(Valid(ListWithSharedString(count, 0, text), false));
}

}  // namespace
