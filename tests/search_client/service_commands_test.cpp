// Numbered commands and run-count records, with and without the service.
#include <gtest/gtest.h>

#include <windows.h>

#include "search_client/file_search.h"
#include "tests/search_client/fake_search_service.h"

using search_test::FakeSearchService;

namespace {

struct Command {
  WPARAM number;
  DWORD (*ask)();
};

const Command kNumberCommands[] = {
    {0, FileSearch_GetMajorVersion}, {1, FileSearch_GetMinorVersion}, {2, FileSearch_GetRevision},
    {3, FileSearch_GetBuildNumber},  {5, FileSearch_GetTargetMachine},
};

const struct {
  WPARAM number;
  BOOL (*ask)();
} kYesNoCommands[] = {
    {4, FileSearch_Exit},           {401, FileSearch_IsDBLoaded},        {403, FileSearch_IsAdmin},
    {404, FileSearch_IsAppData},    {405, FileSearch_RebuildDB},         {406, FileSearch_UpdateAllFolderIndexes},
    {407, FileSearch_SaveDB},       {408, FileSearch_SaveRunHistory},    {409, FileSearch_DeleteRunHistory},
};

// Leaves error 7 behind, to see which calls clear it.
void LeaveAnError() {
  FileSearch_Reset();
  FileSearch_SetSearchA("a");
  FileSearch_GetSearchW();
  ASSERT_EQ(FileSearch_GetLastError(), 7u);
}

TEST(ServiceCommandsTest, CommandsAskTheServiceAndClearTheError) {
  FakeSearchService service;
  for (const Command& c : kNumberCommands) {
    service.SetCommandAnswer(c.number, 1000 + c.number);
    LeaveAnError();
    EXPECT_EQ(c.ask(), 1000 + c.number);
    EXPECT_EQ(FileSearch_GetLastError(), 0u);
    EXPECT_EQ(service.commands().back(), c.number);
  }
  for (const auto& c : kYesNoCommands) {
    service.SetCommandAnswer(c.number, 0);
    LeaveAnError();
    EXPECT_EQ(c.ask(), FALSE);
    EXPECT_EQ(FileSearch_GetLastError(), 0u);
    service.SetCommandAnswer(c.number, 77);
    EXPECT_EQ(c.ask(), TRUE) << c.number;
    EXPECT_EQ(service.commands().back(), c.number);
  }
}

TEST(ServiceCommandsTest, RunCountRecords) {
  FakeSearchService service;
  service.SetRunCount(L"C:\\a.exe", 4);
  EXPECT_EQ(FileSearch_GetRunCountFromFileNameW(L"C:\\a.exe"), 4u);
  EXPECT_EQ(FileSearch_IncRunCountFromFileNameA("C:\\a.exe"), 5u);
  EXPECT_EQ(FileSearch_IncRunCountFromFileNameW(L"C:\\a.exe"), 6u);
  EXPECT_EQ(FileSearch_GetRunCountFromFileNameA("C:\\a.exe"), 6u);
  EXPECT_TRUE(FileSearch_SetRunCountFromFileNameW(L"C:\\b.exe", 9));
  EXPECT_TRUE(FileSearch_SetRunCountFromFileNameA("C:\\c.exe", 0x01020304));
  EXPECT_EQ(FileSearch_GetRunCountFromFileNameW(L"C:\\b.exe"), 9u);

  const auto records = service.run_counts();
  ASSERT_EQ(records.size(), 7u);
  const struct {
    ULONG_PTR kind;
    DWORD size;
  } want[] = {{20, 18}, {23, 9}, {24, 18}, {19, 9}, {22, 22}, {21, 13}, {20, 18}};
  for (size_t i = 0; i < records.size(); ++i) {
    EXPECT_EQ(records[i].kind, want[i].kind) << i;
    EXPECT_EQ(records[i].size, want[i].size) << i;
  }
  EXPECT_EQ(records[4].name, L"C:\\b.exe");
  EXPECT_EQ(records[4].count, 9u);
  EXPECT_EQ(records[5].name, L"C:\\c.exe");
  EXPECT_EQ(records[5].count, 0x01020304u);
  EXPECT_TRUE(service.faults().empty());

  service.SetRunCountAnswer(0);
  FileSearch_Reset();
  EXPECT_FALSE(FileSearch_SetRunCountFromFileNameW(L"C:\\b.exe", 1));
  EXPECT_EQ(FileSearch_GetLastError(), 7u);
}

TEST(ServiceCommandsTest, WithoutTheServiceEveryCallFailsWithServiceNotFound) {
  for (const Command& c : kNumberCommands) {
    FileSearch_Reset();
    EXPECT_EQ(c.ask(), 0u);
    EXPECT_EQ(FileSearch_GetLastError(), 2u);
  }
  for (const auto& c : kYesNoCommands) {
    FileSearch_Reset();
    EXPECT_EQ(c.ask(), FALSE);
    EXPECT_EQ(FileSearch_GetLastError(), 2u);
  }
  FileSearch_Reset();
  EXPECT_EQ(FileSearch_IncRunCountFromFileNameW(L"C:\\a.exe"), 0u);
  EXPECT_EQ(FileSearch_GetLastError(), 2u);
  FileSearch_Reset();
  EXPECT_EQ(FileSearch_GetRunCountFromFileNameA("C:\\a.exe"), 0u);
  EXPECT_EQ(FileSearch_GetLastError(), 2u);
  // A refused set-run-count record reports an invalid call, as when the service answers 0.
  EXPECT_FALSE(FileSearch_SetRunCountFromFileNameW(L"C:\\a.exe", 3));
  EXPECT_EQ(FileSearch_GetLastError(), 7u);
}

}  // namespace
