// Queries against the fake service: the records as they arrive, the choice of record
// version, the blocking and non-blocking ways of waiting and their failures.
#include <gtest/gtest.h>

#include <windows.h>

#include "search_client/file_search.h"
#include "tests/search_client/caller_window.h"
#include "tests/search_client/fake_search_service.h"

using search_test::CallerWindow;
using search_test::FakeEntry;
using search_test::FakeSearchService;
using search_test::ReceivedQuery;

namespace {

DWORD Low32(HWND window) { return static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(window)); }

std::vector<FakeEntry> Catalogue() {
  return {
      {L"alpha.txt", L"C:\\docs"},         {L"Beta.txt", L"C:\\docs"},
      {L"gamma.txt", L"C:\\docs\\old"},    {L"delta", L"C:\\", 0x1},
      {L"abc.log", L"D:\\logs"},           {L"ABC-notes.md", L"D:\\notes"},
      {L"xyzabc.bin", L"E:\\data"},
  };
}

std::vector<std::wstring> ResultNamesW() {
  std::vector<std::wstring> names;
  for (DWORD i = 0; i < FileSearch_GetNumResults(); ++i) names.push_back(FileSearch_GetResultFileNameW(i));
  return names;
}

class QueryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FileSearch_Reset();
    service_.SetCatalogue(Catalogue());
  }
  void TearDown() override { EXPECT_TRUE(service_.faults().empty()) << service_.faults().front(); }

  ReceivedQuery OnlyQuery() {
    auto queries = service_.queries();
    EXPECT_EQ(queries.size(), 1u);
    return queries.empty() ? ReceivedQuery{} : queries.front();
  }

  FakeSearchService service_;
};

TEST_F(QueryTest, DefaultUtf16QuerySendsOneVersion1RecordAndStoresTheReply) {
  FileSearch_SetSearchW(L"abc");
  ASSERT_TRUE(FileSearch_QueryW(TRUE));
  EXPECT_EQ(FileSearch_GetLastError(), 0u);

  const ReceivedQuery q = OnlyQuery();
  EXPECT_EQ(q.kind, 2u);
  EXPECT_EQ(q.size, 28u);
  EXPECT_EQ(q.text, L"abc");
  EXPECT_EQ(q.reply_id, 0u);
  EXPECT_EQ(q.search_flags, 0u);
  EXPECT_EQ(q.offset, 0u);
  EXPECT_EQ(q.max_results, 0xFFFFFFFFu);
  // The worker's reply window received the reply and is gone afterwards; the client
  // still names it.
  EXPECT_EQ(q.reply_window, Low32(FileSearch_GetReplyWindow()));
  EXPECT_FALSE(IsWindow(FileSearch_GetReplyWindow()));
  EXPECT_EQ(FileSearch_GetReplyID(), 0u);

  EXPECT_EQ(ResultNamesW(), (std::vector<std::wstring>{L"ABC-notes.md", L"abc.log", L"xyzabc.bin"}));
  EXPECT_EQ(FileSearch_GetResultListSort(), 1u);
  EXPECT_EQ(FileSearch_GetNumFileResults(), 3u);
}

TEST_F(QueryTest, AnsiQueryCarriesAnsiTextAndGetsAnAnsiList) {
  FileSearch_SetSearchA("abc");
  ASSERT_TRUE(FileSearch_QueryA(TRUE));
  const ReceivedQuery q = OnlyQuery();
  EXPECT_EQ(q.kind, 1u);
  EXPECT_EQ(q.size, 24u);
  EXPECT_EQ(q.text_bytes, "abc");
  ASSERT_EQ(FileSearch_GetNumResults(), 3u);
  EXPECT_STREQ(FileSearch_GetResultFileNameA(1), "abc.log");
  EXPECT_STREQ(FileSearch_GetResultPathA(1), "D:\\logs");
}

TEST_F(QueryTest, SortOrRequestFlagsBeyondTheDefaultsSendAVersion2Record) {
  FileSearch_SetSearchW(L"abc");
  FileSearch_SetSort(2);
  ASSERT_TRUE(FileSearch_QueryW(TRUE));
  ReceivedQuery q = OnlyQuery();
  EXPECT_EQ(q.kind, 18u);
  EXPECT_EQ(q.size, 36u);
  EXPECT_EQ(q.sort, 2u);
  EXPECT_EQ(q.request_flags, 3u);
  EXPECT_EQ(q.text, L"abc");
  EXPECT_EQ(FileSearch_GetResultListSort(), 2u);
  EXPECT_EQ(ResultNamesW(), (std::vector<std::wstring>{L"xyzabc.bin", L"abc.log", L"ABC-notes.md"}));

  FileSearch_SetSort(1);
  FileSearch_SetRequestFlags(0x13);
  FileSearch_SetSearchA("abc");
  ASSERT_TRUE(FileSearch_QueryA(TRUE));
  q = service_.queries().back();
  EXPECT_EQ(q.kind, 17u);
  EXPECT_EQ(q.size, 29u + 3u);
  EXPECT_EQ(q.request_flags, 0x13u);
  EXPECT_EQ(q.sort, 1u);
  EXPECT_EQ(FileSearch_GetResultListRequestFlags(), 0x13u);
  LARGE_INTEGER size{};
  EXPECT_TRUE(FileSearch_GetResultSize(0, &size));
}

TEST_F(QueryTest, RefusedVersion2RecordFallsBackToVersion1WithoutError) {
  service_.RefuseVersion(2);
  FileSearch_SetSearchW(L"abc");
  FileSearch_SetSort(2);
  ASSERT_TRUE(FileSearch_QueryW(TRUE));
  const auto queries = service_.queries();
  ASSERT_EQ(queries.size(), 2u);
  EXPECT_EQ(queries[0].kind, 18u);
  EXPECT_EQ(queries[0].size, 36u);
  EXPECT_EQ(queries[1].kind, 2u);
  EXPECT_EQ(queries[1].size, 28u);
  EXPECT_EQ(FileSearch_GetLastError(), 0u);
  EXPECT_EQ(FileSearch_GetResultListSort(), 1u);  // a version-1 list
  EXPECT_EQ(FileSearch_GetNumResults(), 3u);
}

TEST_F(QueryTest, RefusedQueryFailsAndKeepsThePreviousList) {
  FileSearch_SetSearchW(L"abc");
  ASSERT_TRUE(FileSearch_QueryW(TRUE));
  service_.RefuseVersion(1);
  FileSearch_SetSearchW(L"alpha");
  EXPECT_FALSE(FileSearch_QueryW(TRUE));
  EXPECT_EQ(FileSearch_GetLastError(), 2u);
  EXPECT_EQ(FileSearch_GetNumResults(), 3u);
  EXPECT_EQ(service_.queries().back().text, L"alpha");
}

TEST_F(QueryTest, OptionsBecomeSearchFlagsOffsetAndMax) {
  FileSearch_SetMatchCase(5);
  FileSearch_SetRegex(1);
  FileSearch_SetOffset(1);
  FileSearch_SetMax(2);
  FileSearch_SetSearchW(L"abc");
  ASSERT_TRUE(FileSearch_QueryW(TRUE));
  ReceivedQuery q = OnlyQuery();
  EXPECT_EQ(q.search_flags, 0x9u);
  EXPECT_EQ(q.offset, 1u);
  EXPECT_EQ(q.max_results, 2u);
  EXPECT_EQ(FileSearch_GetMatchCase(), 5);

  // Case-sensitive "abc" matches abc.log and xyzabc.bin; the offset skips the first.
  EXPECT_EQ(FileSearch_GetTotResults(), 2u);
  EXPECT_EQ(ResultNamesW(), (std::vector<std::wstring>{L"xyzabc.bin"}));

  FileSearch_Reset();
  FileSearch_SetMatchWholeWord(TRUE);
  FileSearch_SetMatchPath(TRUE);
  FileSearch_SetOffset(2);
  FileSearch_SetMax(3);
  FileSearch_SetSearchW(L"docs");
  ASSERT_TRUE(FileSearch_QueryW(TRUE));
  q = service_.queries().back();
  EXPECT_EQ(q.search_flags, 0x6u);
  EXPECT_EQ(FileSearch_GetTotResults(), 3u);  // three items under C:\docs
  EXPECT_EQ(ResultNamesW(), (std::vector<std::wstring>{L"gamma.txt"}));
}

TEST_F(QueryTest, SearchWithoutMatchesStoresAnEmptyList) {
  FileSearch_SetSearchW(L"nothing like this");
  ASSERT_TRUE(FileSearch_QueryW(TRUE));
  EXPECT_EQ(FileSearch_GetNumResults(), 0u);
  EXPECT_EQ(FileSearch_GetTotResults(), 0u);
  EXPECT_EQ(FileSearch_GetLastError(), 0u);
  EXPECT_EQ(FileSearch_GetResultFileNameW(0), nullptr);
  EXPECT_EQ(FileSearch_GetLastError(), 6u);
}

TEST_F(QueryTest, SearchTextIsConvertedToTheQueryEncoding) {
  FileSearch_SetSearchA("abc");
  ASSERT_TRUE(FileSearch_QueryW(TRUE));
  EXPECT_EQ(service_.queries().back().kind, 2u);
  EXPECT_EQ(service_.queries().back().size, 28u);
  EXPECT_EQ(service_.queries().back().text, L"abc");

  const std::wstring text = L"caf\u00e9";
  FileSearch_SetSearchW(text.c_str());
  ASSERT_TRUE(FileSearch_QueryA(TRUE));
  const ReceivedQuery q = service_.queries().back();
  const std::string ansi = search_test::Encode(text, false);
  EXPECT_EQ(q.kind, 1u);
  EXPECT_EQ(q.text_bytes, ansi);
  EXPECT_EQ(q.size, 21u + ansi.size());
}

TEST_F(QueryTest, NoSearchTextSendsTheEmptyText) {
  ASSERT_TRUE(FileSearch_QueryW(TRUE));
  EXPECT_EQ(OnlyQuery().size, 22u);
  EXPECT_EQ(FileSearch_GetNumResults(), Catalogue().size());
}

TEST_F(QueryTest, BlockingQueryGetsAReplySentAfterTheRecordWasAnswered) {
  service_.SetReplyMode(FakeSearchService::ReplyMode::kAfterSending);
  FileSearch_SetSearchW(L"txt");
  FileSearch_SetRequestFlags(0x7);
  ASSERT_TRUE(FileSearch_QueryW(TRUE));
  EXPECT_EQ(FileSearch_GetNumResults(), 3u);
  EXPECT_EQ(FileSearch_GetResultListRequestFlags(), 0x7u);
}

TEST_F(QueryTest, BlockingQueryEndsWhenTheServiceGoesAwayWithoutReplying) {
  service_.SetReplyMode(FakeSearchService::ReplyMode::kCloseInstead);
  FileSearch_SetSearchW(L"abc");
  EXPECT_FALSE(FileSearch_QueryW(TRUE));
  EXPECT_EQ(FileSearch_GetLastError(), 2u);
  EXPECT_EQ(FileSearch_GetNumResults(), 0u);
}

// Non-blocking queries reply to the caller's window, with the caller's id.
class NonBlockingQueryTest : public QueryTest,
                             public ::testing::WithParamInterface<FakeSearchService::ReplyMode> {};

TEST_P(NonBlockingQueryTest, ReplyReachesTheCallersWindow) {
  service_.SetReplyMode(GetParam());
  CallerWindow caller(7);
  FileSearch_SetReplyWindow(caller.handle());
  FileSearch_SetReplyID(7);
  FileSearch_SetSearchW(L"abc");
  ASSERT_TRUE(FileSearch_QueryW(FALSE));
  ASSERT_TRUE(search_test::PumpMessagesUntil([&] { return caller.replies_taken() == 1; }));

  const ReceivedQuery q = OnlyQuery();
  EXPECT_EQ(q.reply_window, Low32(caller.handle()));
  EXPECT_EQ(q.wparam, reinterpret_cast<WPARAM>(caller.handle()));
  EXPECT_EQ(q.reply_id, 7u);
  EXPECT_EQ(FileSearch_GetLastError(), 0u);
  EXPECT_EQ(ResultNamesW(), (std::vector<std::wstring>{L"ABC-notes.md", L"abc.log", L"xyzabc.bin"}));
}

INSTANTIATE_TEST_SUITE_P(ReplyTiming, NonBlockingQueryTest,
                         ::testing::Values(FakeSearchService::ReplyMode::kWhileSending,
                                           FakeSearchService::ReplyMode::kAfterSending));

TEST_F(QueryTest, ReplyWithAnotherIdIsNotTaken) {
  CallerWindow caller(6);  // passes id 6 while the client expects 5
  FileSearch_SetReplyWindow(caller.handle());
  FileSearch_SetReplyID(5);
  FileSearch_SetSearchW(L"abc");
  ASSERT_TRUE(FileSearch_QueryW(FALSE));  // the reply was delivered during the send
  EXPECT_EQ(caller.replies_taken(), 0);
  EXPECT_EQ(FileSearch_GetNumResults(), 0u);
  EXPECT_EQ(FileSearch_GetLastError(), 7u);

  // The same reply with matching ids is taken; other messages never are.
  const std::string list = search_test::BuildListV1(search_test::ContentOf(Catalogue()), true);
  COPYDATASTRUCT reply{5, static_cast<DWORD>(list.size()), const_cast<char*>(list.data())};
  const auto lparam = reinterpret_cast<LPARAM>(&reply);
  EXPECT_FALSE(FileSearch_IsQueryReply(WM_COPYDATA, 0, lparam, 6));
  EXPECT_FALSE(FileSearch_IsQueryReply(WM_USER, 0, lparam, 5));
  EXPECT_FALSE(FileSearch_IsQueryReply(WM_COPYDATA, 0, 0, 5));
  EXPECT_TRUE(FileSearch_IsQueryReply(WM_COPYDATA, 0, lparam, 5));
  EXPECT_EQ(FileSearch_GetNumResults(), Catalogue().size());
  EXPECT_EQ(FileSearch_GetLastError(), 0u);
}

TEST(QueryWithoutServiceTest, EveryQueryFailsWithServiceNotFound) {
  FileSearch_Reset();
  FileSearch_SetSearchW(L"abc");
  EXPECT_FALSE(FileSearch_QueryW(TRUE));
  EXPECT_EQ(FileSearch_GetLastError(), 2u);
  FileSearch_Reset();
  EXPECT_FALSE(FileSearch_QueryA(FALSE));
  EXPECT_EQ(FileSearch_GetLastError(), 2u);
  EXPECT_EQ(FileSearch_GetNumResults(), 0u);
}

}  // namespace
