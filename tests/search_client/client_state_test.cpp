// Options, search text, error codes and reset of the client's state.
#include <gtest/gtest.h>

#include <windows.h>

#include "search_client/file_search.h"

namespace {

class ClientStateTest : public ::testing::Test {
 protected:
  void SetUp() override { FileSearch_Reset(); }
};

TEST_F(ClientStateTest, OptionsAreStoredUnchanged) {
  EXPECT_EQ(FileSearch_GetMax(), 0xFFFFFFFFu);
  EXPECT_EQ(FileSearch_GetSort(), 1u);
  EXPECT_EQ(FileSearch_GetRequestFlags(), 3u);
  EXPECT_EQ(FileSearch_GetOffset(), 0u);
  EXPECT_EQ(FileSearch_GetMatchCase(), FALSE);

  FileSearch_SetMatchCase(5);
  FileSearch_SetMatchPath(-1);
  FileSearch_SetMatchWholeWord(2);
  FileSearch_SetRegex(1);
  FileSearch_SetMax(16);
  FileSearch_SetOffset(30);
  FileSearch_SetSort(7);
  FileSearch_SetRequestFlags(0xFFFF);
  FileSearch_SetReplyID(99);
  FileSearch_SetReplyWindow(reinterpret_cast<HWND>(0x1234));
  EXPECT_EQ(FileSearch_GetMatchCase(), 5);
  EXPECT_EQ(FileSearch_GetMatchPath(), -1);
  EXPECT_EQ(FileSearch_GetMatchWholeWord(), 2);
  EXPECT_EQ(FileSearch_GetRegex(), 1);
  EXPECT_EQ(FileSearch_GetMax(), 16u);
  EXPECT_EQ(FileSearch_GetOffset(), 30u);
  EXPECT_EQ(FileSearch_GetSort(), 7u);
  EXPECT_EQ(FileSearch_GetRequestFlags(), 0xFFFFu);
  EXPECT_EQ(FileSearch_GetReplyID(), 99u);
  EXPECT_EQ(FileSearch_GetReplyWindow(), reinterpret_cast<HWND>(0x1234));
  EXPECT_EQ(FileSearch_GetLastError(), 0u);

  // Reset restores the options but keeps the reply window and id.
  FileSearch_SetSearchW(L"text");
  FileSearch_Reset();
  EXPECT_EQ(FileSearch_GetMatchCase(), FALSE);
  EXPECT_EQ(FileSearch_GetMatchPath(), FALSE);
  EXPECT_EQ(FileSearch_GetMax(), 0xFFFFFFFFu);
  EXPECT_EQ(FileSearch_GetSort(), 1u);
  EXPECT_EQ(FileSearch_GetRequestFlags(), 3u);
  EXPECT_EQ(FileSearch_GetOffset(), 0u);
  EXPECT_STREQ(FileSearch_GetSearchW(), L"");
  EXPECT_EQ(FileSearch_GetReplyWindow(), reinterpret_cast<HWND>(0x1234));
  EXPECT_EQ(FileSearch_GetReplyID(), 99u);
}

TEST_F(ClientStateTest, SearchTextIsReadBackOnlyInItsOwnEncoding) {
  EXPECT_STREQ(FileSearch_GetSearchW(), L"");
  EXPECT_STREQ(FileSearch_GetSearchA(), "");
  EXPECT_EQ(FileSearch_GetLastError(), 0u);

  FileSearch_SetSearchA("abc");
  EXPECT_STREQ(FileSearch_GetSearchA(), "abc");
  EXPECT_EQ(FileSearch_GetSearchW(), nullptr);
  EXPECT_EQ(FileSearch_GetLastError(), 7u);

  // Setting text does not clear an earlier error.
  FileSearch_SetSearchW(L"\u6587\u4ef6 name");
  EXPECT_EQ(FileSearch_GetLastError(), 7u);
  EXPECT_STREQ(FileSearch_GetSearchW(), L"\u6587\u4ef6 name");
  FileSearch_Reset();
  EXPECT_EQ(FileSearch_GetLastError(), 0u);
  FileSearch_SetSearchW(L"x");
  EXPECT_EQ(FileSearch_GetSearchA(), nullptr);
  EXPECT_EQ(FileSearch_GetLastError(), 7u);

  // The client keeps its own copy.
  wchar_t text[] = L"mutable";
  FileSearch_SetSearchW(text);
  text[0] = L'M';
  EXPECT_STREQ(FileSearch_GetSearchW(), L"mutable");
  FileSearch_SetSearchA(nullptr);
  EXPECT_STREQ(FileSearch_GetSearchA(), "");
}

}  // namespace
