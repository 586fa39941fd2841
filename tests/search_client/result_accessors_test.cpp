// Reading stored reply lists: counts, item tests, version-2 fields, full paths and the
// sort by path. Lists reach the client as replies of the fake service.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "search_client/file_search.h"
#include "tests/search_client/fake_search_service.h"

using search_test::BuildListV1;
using search_test::BuildListV2;
using search_test::ContentOf;
using search_test::FakeEntry;
using search_test::FakeSearchService;
using search_test::ReplyContent;

namespace {

class ResultAccessorsTest : public ::testing::Test {
 protected:
  void SetUp() override { FileSearch_Reset(); }

  // Makes the service answer the next query with `list` and runs a blocking query in
  // the given encoding; a version-2 list needs a version-2 query record.
  void Receive(const std::string& list, bool utf16, bool version2) {
    service_.SetRawReply(list);
    FileSearch_SetRequestFlags(version2 ? 0x10 : 3);
    ASSERT_TRUE(utf16 ? FileSearch_QueryW(TRUE) : FileSearch_QueryA(TRUE));
    FileSearch_SetRequestFlags(3);
  }
  void ReceiveV1(const std::vector<FakeEntry>& items, bool utf16 = true) {
    Receive(BuildListV1(ContentOf(items), utf16), utf16, false);
  }
  void ReceiveV2(const std::vector<FakeEntry>& items, DWORD flags, bool utf16 = true) {
    Receive(BuildListV2(ContentOf(items), flags, 1, utf16), utf16, true);
  }

  FakeSearchService service_;
};

FakeEntry FullEntry() {
  FakeEntry e{L"report.pdf", L"C:\\docs", 0};
  e.size = 0x123456789AULL;
  e.date_created = 1;
  e.date_modified = 2;
  e.date_accessed = 3;
  e.attributes = FILE_ATTRIBUTE_ARCHIVE;
  e.file_list_name = L"list.efu";
  e.run_count = 42;
  e.date_run = 4;
  e.date_recently_changed = 5;
  return e;
}

ULONGLONG AsNumber(const FILETIME& t) { return (ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime; }

TEST_F(ResultAccessorsTest, Version1CountsAndItemTests) {
  ReplyContent content = ContentOf({{L"a.txt", L"C:\\"}, {L"dir", L"C:\\", 0x1}, {L"D:", L"", 0x2}});
  content.total_folders = 10;
  content.total_files = 20;
  content.total_items = 30;
  Receive(BuildListV1(content, true), true, false);
  EXPECT_EQ(FileSearch_GetNumResults(), 3u);
  EXPECT_EQ(FileSearch_GetNumFolderResults(), 1u);
  EXPECT_EQ(FileSearch_GetNumFileResults(), 2u);
  EXPECT_EQ(FileSearch_GetTotFolderResults(), 10u);
  EXPECT_EQ(FileSearch_GetTotFileResults(), 20u);
  EXPECT_EQ(FileSearch_GetTotResults(), 30u);
  EXPECT_EQ(FileSearch_GetResultListRequestFlags(), 3u);
  EXPECT_EQ(FileSearch_GetResultListSort(), 1u);

  EXPECT_TRUE(FileSearch_IsFileResult(0));
  EXPECT_FALSE(FileSearch_IsFolderResult(0));
  EXPECT_TRUE(FileSearch_IsFolderResult(1));
  EXPECT_FALSE(FileSearch_IsFileResult(1));
  EXPECT_TRUE(FileSearch_IsVolumeResult(2));
  EXPECT_FALSE(FileSearch_IsVolumeResult(0));

  EXPECT_EQ(FileSearch_GetLastError(), 0u);
  EXPECT_FALSE(FileSearch_IsFileResult(3));  // index equal to the count
  EXPECT_EQ(FileSearch_GetLastError(), 6u);
  // Version-2 fields are not served by a version-1 list.
  EXPECT_EQ(FileSearch_GetResultExtensionW(0), nullptr);
  EXPECT_EQ(FileSearch_GetLastError(), 7u);
  LARGE_INTEGER size;
  EXPECT_FALSE(FileSearch_GetResultSize(0, &size));
  EXPECT_EQ(FileSearch_GetLastError(), 7u);
}

TEST_F(ResultAccessorsTest, WithoutAListCountsFailAndHeaderValuesKeepTheirDefaults) {
  EXPECT_EQ(FileSearch_GetNumResults(), 0u);
  EXPECT_EQ(FileSearch_GetLastError(), 7u);
  FileSearch_Reset();
  EXPECT_EQ(FileSearch_GetResultListRequestFlags(), 3u);
  EXPECT_EQ(FileSearch_GetResultListSort(), 1u);
  EXPECT_EQ(FileSearch_GetLastError(), 0u);
  EXPECT_FALSE(FileSearch_IsFolderResult(0));
  EXPECT_EQ(FileSearch_GetLastError(), 7u);
  FileSearch_SortResultsByPath();
  EXPECT_EQ(FileSearch_GetLastError(), 7u);
}

TEST_F(ResultAccessorsTest, Version2ListWithNameAndSize) {
  ReceiveV2({FullEntry()}, 0x11);
  EXPECT_EQ(FileSearch_GetNumResults(), 1u);
  EXPECT_EQ(FileSearch_GetResultListRequestFlags(), 0x11u);
  EXPECT_EQ(FileSearch_GetNumFileResults(), 0u);
  EXPECT_EQ(FileSearch_GetLastError(), 7u);

  LARGE_INTEGER size{};
  EXPECT_TRUE(FileSearch_GetResultSize(0, &size));
  EXPECT_EQ(size.QuadPart, 0x123456789ALL);
  FILETIME date;
  EXPECT_FALSE(FileSearch_GetResultDateModified(0, &date));
  EXPECT_EQ(FileSearch_GetLastError(), 8u);
  EXPECT_STREQ(FileSearch_GetResultFileNameW(0), L"report.pdf");
  EXPECT_EQ(FileSearch_GetResultPathW(0), nullptr);
  EXPECT_EQ(FileSearch_GetLastError(), 8u);
  EXPECT_EQ(FileSearch_GetResultAttributes(0), 0xFFFFFFFFu);
  EXPECT_EQ(FileSearch_GetResultRunCount(0), 0u);
  EXPECT_EQ(FileSearch_GetResultAttributes(1), 0xFFFFFFFFu);
  EXPECT_EQ(FileSearch_GetLastError(), 6u);
}

TEST_F(ResultAccessorsTest, Version2ListWithEveryField) {
  for (bool utf16 : {true, false}) {
    SCOPED_TRACE(utf16 ? "UTF-16" : "ANSI");
    ReceiveV2({FakeEntry{L"other", L"X:\\"}, FullEntry()}, 0xFFFF, utf16);
    FILETIME date;
    LARGE_INTEGER size;
    EXPECT_TRUE(FileSearch_GetResultSize(1, &size));
    EXPECT_EQ(size.QuadPart, 0x123456789ALL);
    const struct {
      BOOL (*get)(DWORD, FILETIME*);
      ULONGLONG want;
    } dates[] = {{FileSearch_GetResultDateCreated, 1}, {FileSearch_GetResultDateModified, 2},
                 {FileSearch_GetResultDateAccessed, 3}, {FileSearch_GetResultDateRun, 4},
                 {FileSearch_GetResultDateRecentlyChanged, 5}};
    for (const auto& d : dates) {
      ASSERT_TRUE(d.get(1, &date));
      EXPECT_EQ(AsNumber(date), d.want);
    }
    EXPECT_EQ(FileSearch_GetResultAttributes(1), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(FileSearch_GetResultRunCount(1), 42u);
    if (utf16) {
      EXPECT_STREQ(FileSearch_GetResultFileNameW(1), L"report.pdf");
      EXPECT_STREQ(FileSearch_GetResultPathW(1), L"C:\\docs");
      EXPECT_STREQ(FileSearch_GetResultExtensionW(1), L"pdf");
      EXPECT_STREQ(FileSearch_GetResultFileListFileNameW(1), L"list.efu");
      EXPECT_STREQ(FileSearch_GetResultHighlightedFileNameW(1), L"*report.pdf*");
      EXPECT_STREQ(FileSearch_GetResultHighlightedPathW(1), L"*C:\\docs*");
      EXPECT_STREQ(FileSearch_GetResultHighlightedFullPathAndFileNameW(1), L"*C:\\docs\\report.pdf*");
      EXPECT_EQ(FileSearch_GetResultExtensionA(1), nullptr);
      EXPECT_EQ(FileSearch_GetLastError(), 7u);
    } else {
      EXPECT_STREQ(FileSearch_GetResultFileNameA(1), "report.pdf");
      EXPECT_STREQ(FileSearch_GetResultPathA(1), "C:\\docs");
      EXPECT_STREQ(FileSearch_GetResultExtensionA(1), "pdf");
      EXPECT_STREQ(FileSearch_GetResultFileListFileNameA(1), "list.efu");
      EXPECT_STREQ(FileSearch_GetResultHighlightedFileNameA(1), "*report.pdf*");
      EXPECT_STREQ(FileSearch_GetResultHighlightedPathA(1), "*C:\\docs*");
      EXPECT_STREQ(FileSearch_GetResultHighlightedFullPathAndFileNameA(1), "*C:\\docs\\report.pdf*");
      EXPECT_EQ(FileSearch_GetResultFileNameW(1), nullptr);
      EXPECT_EQ(FileSearch_GetLastError(), 7u);
    }
  }
}

TEST_F(ResultAccessorsTest, TextAccessorsNeedTheQuerysEncoding) {
  ReceiveV1({{L"a.txt", L"C:\\dir"}}, true);
  EXPECT_EQ(FileSearch_GetResultFileNameA(0), nullptr);
  EXPECT_EQ(FileSearch_GetLastError(), 7u);
  EXPECT_EQ(FileSearch_GetResultPathA(0), nullptr);
  EXPECT_EQ(FileSearch_GetLastError(), 7u);
  ReceiveV2({{L"a.txt", L"C:\\dir"}}, 0x3, true);
  EXPECT_EQ(FileSearch_GetResultFileNameA(0), nullptr);
  EXPECT_EQ(FileSearch_GetLastError(), 7u);
  EXPECT_STREQ(FileSearch_GetResultFileNameW(0), L"a.txt");
}

// A failed query in the other encoding leaves the earlier list in place; the list is
// still read in the encoding it arrived in.
TEST_F(ResultAccessorsTest, ListKeepsItsEncodingAfterAFailedQueryInTheOther) {
  ReceiveV1({{L"a.txt", L"C:\\dir"}}, true);
  service_.RefuseVersion(1);
  EXPECT_FALSE(FileSearch_QueryA(TRUE));
  EXPECT_STREQ(FileSearch_GetResultFileNameW(0), L"a.txt");
  EXPECT_EQ(FileSearch_GetResultFileNameA(0), nullptr);
  char ansi[64];
  EXPECT_EQ(FileSearch_GetResultFullPathNameA(0, ansi, 64), 12u);
  EXPECT_STREQ(ansi, "C:\\dir\\a.txt");
}

TEST_F(ResultAccessorsTest, FullPathIntoBuffersOfEverySize) {
  ReceiveV1({{L"a.txt", L"C:\\dir"}, {L"b.html", L"ftp://host/pub"}, {L"c.txt", L""}}, true);
  wchar_t buffer[1024];
  EXPECT_EQ(FileSearch_GetResultFullPathNameW(0, buffer, 1024), 12u);
  EXPECT_STREQ(buffer, L"C:\\dir\\a.txt");
  EXPECT_EQ(FileSearch_GetResultFullPathNameW(0, nullptr, 0), 12u);
  EXPECT_EQ(FileSearch_GetResultFullPathNameW(0, buffer, 5), 4u);
  EXPECT_STREQ(buffer, L"C:\\d");
  EXPECT_EQ(FileSearch_GetResultFullPathNameW(0, buffer, 1), 0u);
  EXPECT_STREQ(buffer, L"");
  // A buffer of size 0 has no room even for a terminator and stays untouched.
  buffer[0] = L'x';
  EXPECT_EQ(FileSearch_GetResultFullPathNameW(0, buffer, 0), 0u);
  EXPECT_EQ(buffer[0], L'x');

  EXPECT_EQ(FileSearch_GetResultFullPathNameW(1, buffer, 1024), 21u);
  EXPECT_STREQ(buffer, L"ftp://host/pub/b.html");
  EXPECT_EQ(FileSearch_GetResultFullPathNameW(2, buffer, 1024), 5u);
  EXPECT_STREQ(buffer, L"c.txt");

  char ansi[1024];
  EXPECT_EQ(FileSearch_GetResultFullPathNameA(0, ansi, 1024), 12u);
  EXPECT_STREQ(ansi, "C:\\dir\\a.txt");
  EXPECT_EQ(FileSearch_GetResultFullPathNameA(0, ansi, 8), 7u);
  EXPECT_STREQ(ansi, "C:\\dir\\");

  EXPECT_EQ(FileSearch_GetResultFullPathNameW(3, buffer, 1024), 0u);
  EXPECT_STREQ(buffer, L"");
  EXPECT_EQ(FileSearch_GetLastError(), 6u);
}

TEST_F(ResultAccessorsTest, FullPathFromAnAnsiListIntoAWideBuffer) {
  ReceiveV1({{L"caf\u00e9.txt", L"C:\\dir"}}, false);
  wchar_t buffer[64];
  EXPECT_EQ(FileSearch_GetResultFullPathNameW(0, buffer, 64), 15u);
  EXPECT_STREQ(buffer, L"C:\\dir\\caf\u00e9.txt");
}

TEST_F(ResultAccessorsTest, FullPathFromVersion2Fields) {
  wchar_t buffer[64];
  ReceiveV2({{L"a.txt", L"C:\\dir"}}, 0x4 | 0x10);
  EXPECT_EQ(FileSearch_GetResultFullPathNameW(0, buffer, 64), 12u);
  EXPECT_STREQ(buffer, L"C:\\dir\\a.txt");
  ReceiveV2({{L"a.txt", L"C:\\dir"}}, 0x3);
  EXPECT_EQ(FileSearch_GetResultFullPathNameW(0, buffer, 64), 12u);
  EXPECT_STREQ(buffer, L"C:\\dir\\a.txt");
  ReceiveV2({{L"a.txt", L"C:\\dir"}}, 0x1);
  EXPECT_EQ(FileSearch_GetResultFullPathNameW(0, buffer, 64), 0u);
  EXPECT_STREQ(buffer, L"");
  EXPECT_EQ(FileSearch_GetLastError(), 8u);
}

TEST_F(ResultAccessorsTest, SortByPathThenNameIgnoringCase) {
  ReceiveV1({{L"b.txt", L"c:\\Zeta"}, {L"B.txt", L"C:\\alpha"}, {L"a.txt", L"C:\\ALPHA"}, {L"x", L"c:\\beta"}},
            true);
  const DWORD total = FileSearch_GetTotResults();
  FileSearch_SortResultsByPath();
  EXPECT_EQ(FileSearch_GetLastError(), 0u);
  EXPECT_EQ(FileSearch_GetTotResults(), total);
  const wchar_t* want[] = {L"C:\\ALPHA\\a.txt", L"C:\\alpha\\B.txt", L"c:\\beta\\x", L"c:\\Zeta\\b.txt"};
  wchar_t buffer[64];
  for (DWORD i = 0; i < 4; ++i) {
    FileSearch_GetResultFullPathNameW(i, buffer, 64);
    EXPECT_STREQ(buffer, want[i]);
  }
  ReceiveV2({{L"a.txt", L"C:\\dir"}}, 0x3);
  FileSearch_SortResultsByPath();
  EXPECT_EQ(FileSearch_GetLastError(), 7u);
}

TEST_F(ResultAccessorsTest, ResetDropsTheList) {
  ReceiveV1({{L"a.txt", L"C:\\dir"}});
  FileSearch_Reset();
  EXPECT_EQ(FileSearch_GetNumResults(), 0u);
  EXPECT_EQ(FileSearch_GetLastError(), 7u);
  EXPECT_EQ(FileSearch_GetResultFileNameW(0), nullptr);
}

}  // namespace
