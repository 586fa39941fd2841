// Replies that do not hold together are dropped with error 9, through the blocking
// query's reply window and through FileSearch_IsQueryReply alike, and nothing is read
// outside the reply.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "search_client/file_search.h"
#include "tests/search_client/caller_window.h"
#include "tests/search_client/fake_search_service.h"

using namespace search_test;

namespace {

struct BrokenReply {
  const char* what;
  bool version2;
  bool utf16;
  std::string bytes;
};

std::vector<FakeEntry> Items() { return {{L"a.txt", L"C:\\dir"}, {L"b.txt", L"C:\\dir"}}; }

std::string V1(bool utf16) { return BuildListV1(ContentOf(Items()), utf16); }
std::string V2(bool utf16, DWORD flags = 0x13) { return BuildListV2(ContentOf(Items()), flags, 1, utf16); }

std::string Patched(std::string bytes, size_t offset, DWORD value) {
  SetWordAt(bytes, offset, value);
  return bytes;
}

std::vector<BrokenReply> BrokenReplies() {
  const std::string v1 = V1(true);
  const std::string v1_ansi = V1(false);
  const std::string v2 = V2(true);
  // Version-1 items start at 28 (flags, name offset, path offset); version-2 items at
  // 20 (flags, block offset); a version-2 block starts with the name's length word.
  const DWORD v2_first_block = WordAt(v2, 24);
  std::string ansi_without_terminator = v1_ansi;
  ansi_without_terminator.back() = 'x';
  std::string odd = v1;
  odd.push_back('\0');
  return {
      {"empty reply", false, true, ""},
      {"version-1 header cut short", false, true, v1.substr(0, 27)},
      {"version-2 header cut short", true, true, v2.substr(0, 19)},
      {"items cut off", false, true, v1.substr(0, 28 + 12 + 6)},
      {"item count beyond the reply", false, true, Patched(v1, 20, 3000)},
      {"item count that overflows 32 bits", false, true, Patched(v1, 20, 0x15555556)},
      {"version-2 item count that overflows 32 bits", true, true, Patched(v2, 4, 0x20000000)},
      {"name offset outside the reply", false, true, Patched(v1, 32, static_cast<DWORD>(v1.size()))},
      {"path offset far outside", false, true, Patched(v1, 36, 0xFFFFFFF0)},
      {"UTF-16 string at an odd offset", false, true, Patched(odd, 32, static_cast<DWORD>(v1.size()) - 1)},
      {"last string without terminator", false, false, ansi_without_terminator},
      {"strings cut off", false, true, v1.substr(0, v1.size() - 2)},
      {"data block outside the reply", true, true, Patched(v2, 24, static_cast<DWORD>(v2.size()))},
      {"absurd string length", true, true, Patched(v2, v2_first_block, 0xFFFFFFFF)},
      {"string length past the end", true, true, Patched(v2, v2_first_block, 1000)},
      {"string length off by one", true, true, Patched(v2, v2_first_block, 4)},
      {"fixed field cut off", true, true, v2.substr(0, v2.size() - 1)},
  };
}

class MalformedReplyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FileSearch_Reset();
    service_.SetCatalogue(Items());
  }

  // Stores a good list first, so that dropping the broken one is visible.
  void ReceiveGoodList() {
    service_.SetRawReply(V1(true));
    FileSearch_SetSort(1);
    ASSERT_TRUE(FileSearch_QueryW(TRUE));
    ASSERT_EQ(FileSearch_GetNumResults(), 2u);
  }

  void ExpectDropped(const char* what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(FileSearch_GetLastError(), 9u);
    EXPECT_EQ(FileSearch_GetNumResults(), 0u);
    EXPECT_EQ(FileSearch_GetLastError(), 7u);
  }

  FakeSearchService service_;
};

TEST_F(MalformedReplyTest, WellFormedListsPass) {
  for (bool utf16 : {false, true}) {
    for (bool version2 : {false, true}) {
      service_.SetRawReply(version2 ? V2(utf16) : V1(utf16));
      FileSearch_SetSort(version2 ? 2 : 1);
      EXPECT_TRUE(utf16 ? FileSearch_QueryW(TRUE) : FileSearch_QueryA(TRUE));
      EXPECT_EQ(FileSearch_GetNumResults(), 2u);
    }
  }
}

TEST_F(MalformedReplyTest, BlockingQueryDropsBrokenReplies) {
  for (const BrokenReply& reply : BrokenReplies()) {
    ReceiveGoodList();
    service_.SetRawReply(reply.bytes);
    FileSearch_SetSort(reply.version2 ? 2 : 1);
    FileSearch_SetSearchW(L"x");
    EXPECT_FALSE(reply.utf16 ? FileSearch_QueryW(TRUE) : FileSearch_QueryA(TRUE)) << reply.what;
    ExpectDropped(reply.what);
  }
}

TEST_F(MalformedReplyTest, NonBlockingReplyIsTakenButDropped) {
  service_.SetReplyMode(FakeSearchService::ReplyMode::kNever);
  CallerWindow caller(3);
  for (const BrokenReply& reply : BrokenReplies()) {
    FileSearch_SetReplyWindow(caller.handle());
    FileSearch_SetReplyID(3);
    FileSearch_SetSort(reply.version2 ? 2 : 1);
    ASSERT_TRUE(reply.utf16 ? FileSearch_QueryW(FALSE) : FileSearch_QueryA(FALSE));
    COPYDATASTRUCT message{3, static_cast<DWORD>(reply.bytes.size()), const_cast<char*>(reply.bytes.data())};
    EXPECT_TRUE(FileSearch_IsQueryReply(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&message), 3)) << reply.what;
    ExpectDropped(reply.what);
  }
  // A reply without data at all.
  COPYDATASTRUCT empty{3, 100, nullptr};
  EXPECT_TRUE(FileSearch_IsQueryReply(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&empty), 3));
  ExpectDropped("no data");
}

}  // namespace
