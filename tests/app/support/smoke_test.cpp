// The test executables themselves start under Wine with the framework's libraries linked.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/support/test_support.h"

TEST(TestSupport, TempDirHoldsFilesAndIsRemoved) {
  std::wstring folder;
  {
    pexo_test::TempDir dir;
    folder = dir.path();
    ASSERT_FALSE(folder.empty());
    ASSERT_TRUE(pexo_test::WriteFileBytes(dir.File(L"a.bin"), std::string("x\0y", 3)));
    EXPECT_EQ(pexo_test::ReadFileBytes(dir.File(L"a.bin")), std::string("x\0y", 3));
  }
  EXPECT_EQ(GetFileAttributesW(folder.c_str()), INVALID_FILE_ATTRIBUTES);
}
