// The client's lock comes into being on the first call from any thread, exactly once,
// and again after clean-up.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

#include "search_client/file_search.h"

namespace {

// Runs in a fresh process: no client call has been made before it.
TEST(ClientLockTest, ConcurrentFirstCallsAllProceedAndCleanUpStartsOver) {
  HANDLE start = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<int> done{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i) {
    threads.emplace_back([&, i] {
      WaitForSingleObject(start, INFINITE);
      for (int round = 0; round < 200; ++round) {
        FileSearch_SetOffset(static_cast<DWORD>(i));
        FileSearch_GetOffset();
        FileSearch_SetSearchW(L"shared");
      }
      ++done;
    });
  }
  SetEvent(start);
  for (auto& t : threads) t.join();
  CloseHandle(start);
  EXPECT_EQ(done.load(), 8);
  EXPECT_LT(FileSearch_GetOffset(), 8u);
  EXPECT_STREQ(FileSearch_GetSearchW(), L"shared");

  // After clean-up the next call builds the lock again instead of waiting for ever.
  FileSearch_CleanUp();
  std::thread later([] { FileSearch_SetMax(5); });
  later.join();
  EXPECT_EQ(FileSearch_GetMax(), 5u);
  EXPECT_STREQ(FileSearch_GetSearchW(), L"");
  FileSearch_CleanUp();
}

}  // namespace
