// Heap faults as a test program's own code commits them, one case each, for the
// "heap_check_canary" test (tests/support/heap_check_canary.cmake), which runs
// each case alone under the suite's heap checking and reads the output. Every
// case runs through and passes: what must show a fault is the line Wine's heap
// checking prints, since that line is all that fails the heap-checked tests.
//
// The blocks come from the heaps the program's code uses: the process heap
// (HeapAlloc/HeapFree) and the C runtime's (malloc/free, and operator new and
// delete, which MinGW's C++ library builds on them; the runtime keeps a heap of
// its own, which Wine checks as well).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr size_t kBlockBytes = 64;
// A freed block keeps Wine's own list links in its first bytes: a write there
// breaks the heap (a crash, not a report), so the writes go past them.
constexpr size_t kPastTheLinks = 32;
// Wine's fill of freed blocks under heap checking.
constexpr uint32_t kFreedFill = 0xFEEEFEEEu;

// The same pointer, which the compiler cannot tell is the same: it would otherwise
// warn about, or drop, the use of a block it saw freed, and drop a block it saw
// allocated and freed unused. Taken before the free.
template <class T>
T* Unseen(T* pointer) {
  asm volatile("" : "+r"(pointer));
  return pointer;
}

struct Record {
  uint32_t words[kBlockBytes / sizeof(uint32_t)];
};

bool HeapChecked() {
  const char* debug = std::getenv("WINEDEBUG");
  return debug && std::string(debug).find("warn+heap") != std::string::npos;
}

// Allocates and frees blocks of the freed block's size until Wine has let the
// freed block go round its list of held-back blocks and handed it out again.
void Recycle() {
  for (int i = 0; i < 3000; ++i) {
    HeapFree(GetProcessHeap(), 0, HeapAlloc(GetProcessHeap(), 0, kBlockBytes));
    free(Unseen(malloc(kBlockBytes)));
    delete Unseen(new Record{});
  }
}

TEST(HeapFaults, AProcessHeapBlockFreedTwice) {
  void* block = HeapAlloc(GetProcessHeap(), 0, kBlockBytes);
  ASSERT_NE(block, nullptr);
  void* again = Unseen(block);
  ASSERT_TRUE(HeapFree(GetProcessHeap(), 0, block));
  // Wine refuses the second free, saying why.
  EXPECT_FALSE(HeapFree(GetProcessHeap(), 0, again));
}

TEST(HeapFaults, AMallocBlockFreedTwice) {
  void* block = malloc(kBlockBytes);
  ASSERT_NE(block, nullptr);
  void* again = Unseen(block);
  free(block);
  free(again);
}

TEST(HeapFaults, AnObjectDeletedTwice) {
  Record* record = new Record{};
  Record* again = Unseen(record);
  delete record;
  delete again;
}

// Wine 8 says nothing of these three: a freed block is filled when it is freed,
// but the fill is never checked, neither while Wine holds the block back nor when
// it hands it out again. The canary checks that they stay unreported, so that the
// comments claiming otherwise are corrected when a Wine starts reporting them.
TEST(HeapFaults, AProcessHeapBlockWrittenAfterItWasFreed) {
  auto* block = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, kBlockBytes));
  ASSERT_NE(block, nullptr);
  char* freed = Unseen(block);
  ASSERT_TRUE(HeapFree(GetProcessHeap(), 0, block));
  std::memset(freed + kPastTheLinks, 0x55, kBlockBytes - kPastTheLinks);
  Recycle();
}

TEST(HeapFaults, AMallocBlockWrittenAfterItWasFreed) {
  auto* block = static_cast<char*>(malloc(kBlockBytes));
  ASSERT_NE(block, nullptr);
  char* freed = Unseen(block);
  free(block);
  std::memset(freed + kPastTheLinks, 0x55, kBlockBytes - kPastTheLinks);
  Recycle();
}

TEST(HeapFaults, AnObjectWrittenAfterItWasDeleted) {
  Record* record = new Record{};
  Record* freed = Unseen(record);
  delete record;
  freed->words[kPastTheLinks / sizeof(uint32_t)] = 0x55555555u;
  Recycle();
}

// What does catch a use after free in the heap-checked tests: a read through a
// freed object meets Wine's fill instead of the values it held, whichever heap
// the block came from, and a pointer read from it leads nowhere.
TEST(HeapFaults, FreedBlocksReadAsWinesFill) {
  if (!HeapChecked()) GTEST_SKIP() << "Wine fills freed blocks only under its heap checking";
  const size_t word = kPastTheLinks / sizeof(uint32_t);
  auto* fromHeap = static_cast<Record*>(HeapAlloc(GetProcessHeap(), 0, sizeof(Record)));
  auto* fromMalloc = static_cast<Record*>(malloc(sizeof(Record)));
  Record* fromNew = new Record{};
  ASSERT_NE(fromHeap, nullptr);
  ASSERT_NE(fromMalloc, nullptr);
  fromHeap->words[word] = fromMalloc->words[word] = fromNew->words[word] = 0x11111111u;
  const Record* freed[] = {Unseen(fromHeap), Unseen(fromMalloc), Unseen(fromNew)};
  HeapFree(GetProcessHeap(), 0, fromHeap);
  free(fromMalloc);
  delete fromNew;
  EXPECT_EQ(freed[0]->words[word], kFreedFill) << "the process heap";
  EXPECT_EQ(freed[1]->words[word], kFreedFill) << "malloc";
  EXPECT_EQ(freed[2]->words[word], kFreedFill) << "operator new";
}

// As a test that drives a copy of the program: the fault is in a program it
// starts, whose Wine messages go where the test's own go.
TEST(HeapFaults, AProgramItStartsFreesABlockTwice) {
  wchar_t self[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
  std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --gtest_filter=HeapFaults.AMallocBlockFreedTwice";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION child = {};
  ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &child));
  const DWORD waited = WaitForSingleObject(child.hProcess, 120000);
  DWORD exitCode = STILL_ACTIVE;
  GetExitCodeProcess(child.hProcess, &exitCode);
  if (waited != WAIT_OBJECT_0) TerminateProcess(child.hProcess, 1);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  ASSERT_EQ(waited, WAIT_OBJECT_0) << "the started program did not end";
  EXPECT_EQ(exitCode, 0u) << "the started program ran through";
}

}  // namespace
