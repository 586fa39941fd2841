#include "ui/base/language_table.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_support.h"
#include "ui/base/scoped_handles.h"

using ui::LanguageTable;

namespace {

class LanguageTableTest : public ::testing::Test {
 protected:
  bool LoadText(const std::string& text) {
    const std::wstring path = dir_.File(L"gdstrings.ini");
    EXPECT_TRUE(pexo_test::WriteFileBytes(path, text));
    return table().LoadFromFile(path);
  }
  static LanguageTable& table() { return LanguageTable::Instance(); }
  pexo_test::TempDir dir_;
};

TEST_F(LanguageTableTest, LinesCommentsDuplicatesAndEscapes) {
  ASSERT_TRUE(LoadText(
      "; a comment=with an equals sign\r\n"
      "STRID_OK = \xE7\xA1\xAE\xE5\xAE\x9A \r\n"
      "STRID_SAME=first\n"
      "STRID_SAME=second\n"
      "a;b=skipped\n"
      "STRID_THREE=x=y\n"
      "==STRID_EDGES==edge==\n"
      "no separator\n"
      "\n   \t\n"
      "STRID_LINES=one\\ntwo\\r\\nthree\n"
      "STRID_LAST=no line feed"));
  EXPECT_EQ(table().GetText(L"STRID_OK"), L"\u786e\u5b9a");
  EXPECT_EQ(table().GetText(L"STRID_SAME"), L"second");
  EXPECT_EQ(table().GetText(L"a;b"), L"");
  EXPECT_EQ(table().GetText(L"; a comment"), L"");
  EXPECT_EQ(table().GetText(L"STRID_THREE"), L"");
  EXPECT_EQ(table().GetText(L"STRID_EDGES"), L"edge");
  EXPECT_EQ(table().GetText(L"STRID_LINES"), L"one\ntwo\r\nthree");
  EXPECT_EQ(table().GetText(L"STRID_LAST"), L"no line feed");
  EXPECT_EQ(table().GetText(L""), L"");
  EXPECT_EQ(table().GetText(L"STRID_MISSING"), L"");
}

TEST_F(LanguageTableTest, ByteOrderMarkDoesNotHideTheFirstEntry) {
  ASSERT_TRUE(LoadText("\xEF\xBB\xBFSTRID_FIRST=first\nSTRID_SECOND=second\n"));
  EXPECT_EQ(table().GetText(L"STRID_FIRST"), L"first");
  EXPECT_EQ(table().GetText(L"STRID_SECOND"), L"second");
}

TEST_F(LanguageTableTest, LongLinesAreReadWhole) {
  const std::string text(6000, 'x');
  ASSERT_TRUE(LoadText("STRID_LONG=" + text + "\nSTRID_AFTER=after\n"));
  EXPECT_EQ(table().GetText(L"STRID_LONG"), std::wstring(text.begin(), text.end()));
  EXPECT_EQ(table().GetText(L"STRID_AFTER"), L"after");
}

TEST_F(LanguageTableTest, MissingFileEmptiesTheTable) {
  ASSERT_TRUE(LoadText("STRID_OK=ok\n"));
  EXPECT_FALSE(table().LoadFromFile(dir_.File(L"missing.ini")));
  EXPECT_EQ(table().GetText(L"STRID_OK"), L"");
}

TEST_F(LanguageTableTest, MemoryBlocksAddToTheTable) {
  ASSERT_TRUE(LoadText("STRID_FILE=file\n"));
  const std::string bytes("\xEF\xBB\xBFSTRID_A=a\r\nSTRID_B=b\0STRID_C=c", 34);
  ui::UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
  ASSERT_TRUE(block);
  {
    ui::GlobalLockGuard lock(static_cast<HGLOBAL>(block.get()));
    memcpy(lock.data(), bytes.data(), bytes.size());
  }
  EXPECT_TRUE(table().LoadFromMemory(static_cast<HGLOBAL>(block.get())));
  EXPECT_EQ(table().GetText(L"STRID_FILE"), L"file");
  EXPECT_EQ(table().GetText(L"STRID_A"), L"a");
  EXPECT_EQ(table().GetText(L"STRID_B"), L"b");
  EXPECT_EQ(table().GetText(L"STRID_C"), L"c");
  EXPECT_TRUE(table().LoadFromMemory(nullptr));
}

}  // namespace
