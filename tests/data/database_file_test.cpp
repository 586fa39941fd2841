#include "data/database_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_support.h"

namespace {

using pexo_test::ReadFileBytes;
using pexo_test::TempDir;
using pexo_test::WriteFileBytes;

// Warming reads a file and leaves it as it was: unchanged, and not held open, so
// that it can be replaced or deleted at once.
TEST(WarmFileCache, LeavesFilesOfEverySizeUntouchedAndFree) {
  TempDir dir;
  WarmFileCache(dir.File(L"missing.db"));
  EXPECT_FALSE(IsExistingFile(dir.File(L"missing.db")));
  WarmFileCache(dir.path());  // a folder is not read either

  std::string large(300 * 1024 + 17, '\0');  // several reads, the last one short
  for (size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 31 % 253);
  for (const std::string& bytes : {std::string(), std::string("SQLite format 3"), large}) {
    const std::wstring path = dir.File(L"file.db");
    ASSERT_TRUE(WriteFileBytes(path, bytes));
    WarmFileCache(path);
    EXPECT_EQ(ReadFileBytes(path), bytes);
    EXPECT_TRUE(DeleteFileW(path.c_str())) << bytes.size();
  }
}

}  // namespace
