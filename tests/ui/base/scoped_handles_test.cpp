#include "ui/base/scoped_handles.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>
#include <utility>

namespace {

bool HandleIsOpen(HANDLE handle) {
  DWORD flags = 0;
  return GetHandleInformation(handle, &flags) != FALSE;
}

TEST(ScopedHandlesTest, KernelHandleIsClosedOnceWhoeverEndsUpOwningIt) {
  HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_TRUE(raw);
  {
    ui::UniqueHandle first(raw);
    ui::UniqueHandle second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.get(), raw);
    ui::UniqueHandle third;
    third = std::move(second);
    EXPECT_TRUE(HandleIsOpen(raw));
  }
  EXPECT_FALSE(HandleIsOpen(raw));

  HANDLE kept = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  {
    ui::UniqueHandle owner(kept);
    EXPECT_EQ(owner.release(), kept);
  }
  EXPECT_TRUE(HandleIsOpen(kept));
  CloseHandle(kept);
}

TEST(ScopedHandlesTest, BothFailureValuesOfKernelCallsCountAsEmpty) {
  ui::UniqueHandle missing(CreateFileW(L"Z:\\no\\such\\file.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(missing);
  ui::UniqueHandle null_handle(nullptr);
  EXPECT_FALSE(null_handle);
  // Replacing the failure value with a real handle must not try to close the failure value.
  missing.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  EXPECT_TRUE(missing);
}

TEST(ScopedHandlesTest, PutFreesTheOldResourceBeforeAnOutParameterCallWritesANewOne) {
  HANDLE old_handle = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ui::UniqueHandle owner(old_handle);
  HANDLE* slot = owner.put();
  EXPECT_FALSE(HandleIsOpen(old_handle));
  EXPECT_TRUE(DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), slot, 0, FALSE,
                              DUPLICATE_SAME_ACCESS));
  EXPECT_TRUE(owner);
}

TEST(ScopedHandlesTest, SelectGuardPutsThePreviousObjectBackSoTheOwnedOneCanBeDeleted) {
  ui::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_BRUSH);
  ui::UniqueBrush brush(CreateSolidBrush(RGB(10, 20, 30)));
  {
    ui::SelectObjectGuard select(dc.get(), brush.get());
    EXPECT_TRUE(select.selected());
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), brush.get());
  }
  EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), original);
  HBRUSH raw = brush.get();
  brush.reset();
  EXPECT_EQ(GetObjectType(raw), 0u) << "the brush is deleted once it is no longer selected";

  ui::SelectObjectGuard nothing(dc.get(), nullptr);
  EXPECT_FALSE(nothing.selected());
}

TEST(ScopedHandlesTest, ScreenDcIsUsableWhileTheOwnerLives) {
  ui::WindowDc screen(nullptr);
  ASSERT_TRUE(screen);
  EXPECT_GT(GetDeviceCaps(screen.get(), LOGPIXELSX), 0);
}

TEST(ScopedHandlesTest, ComPointerCountsReferencesAcrossCopiesMovesAndQueries) {
  ui::ScopedComInit com;
  ASSERT_TRUE(com.succeeded());
  ui::ComPtr<IStream> stream;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), S_OK);
  {
    ui::ComPtr<IStream> copy = stream;
    ui::ComPtr<IUnknown> unknown = copy.As<IUnknown>();
    ASSERT_TRUE(unknown);
    ui::ComPtr<IStream> moved = std::move(copy);
    EXPECT_FALSE(copy);
    // stream, moved and unknown each hold one reference; AddRef reports them plus itself.
    EXPECT_EQ(stream->AddRef(), 4u);
    stream->Release();
  }
  EXPECT_EQ(stream->AddRef(), 2u);
  stream->Release();
  EXPECT_FALSE(stream.As<IShellFolder>()) << "an interface the object lacks gives an empty pointer";
}

TEST(ScopedHandlesTest, NestedComAndOleInitialisationBalanceEachOther) {
  ui::ScopedOleInit ole;
  ASSERT_TRUE(ole.succeeded());
  {
    ui::ScopedComInit again;
    EXPECT_EQ(again.result(), S_FALSE) << "the thread already has COM; still needs its own uninitialise";
  }
  // COM is still usable: the inner guard balanced only its own call.
  ui::ComPtr<IStream> stream;
  EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), S_OK);
  ui::ScopedComInit other_model(COINIT_MULTITHREADED);
  EXPECT_FALSE(other_model.succeeded()) << "a thread cannot change its apartment; nothing to balance";
}

// Two items ("ab" and "c" as raw item data) and the terminator.
std::string TwoItemBytes() { return std::string("\x04\x00" "ab" "\x03\x00" "c" "\x00\x00", 9); }

TEST(ScopedHandlesTest, ItemIdListsCopyDeeplyCompareByBytesAndRoundTripStoredBytes) {
  ui::AbsoluteItemIdList list = ui::AbsoluteItemIdList::FromBytes(TwoItemBytes());
  ASSERT_TRUE(list);
  EXPECT_EQ(list.size(), 9u);
  EXPECT_EQ(list.ToBytes(), TwoItemBytes());

  ui::AbsoluteItemIdList copy = list;
  EXPECT_NE(copy.get(), list.get());
  EXPECT_TRUE(copy == list);
  copy = ui::AbsoluteItemIdList::FromBytes(std::string("\x04\x00" "ab" "\x00\x00", 6));
  EXPECT_FALSE(copy == list);
  EXPECT_FALSE(list == ui::AbsoluteItemIdList());
  EXPECT_TRUE(ui::AbsoluteItemIdList() == ui::AbsoluteItemIdList());

  ITEMIDLIST* raw = list.release();
  ui::ChildItemIdList adopted = ui::ChildItemIdList::TakeOwnership(raw);
  EXPECT_EQ(adopted.get(), raw);
  EXPECT_TRUE(list.empty());
  ui::ChildItemIdList duplicate = ui::ChildItemIdList::CopyOf(raw);
  EXPECT_TRUE(duplicate == adopted);
}

TEST(ScopedHandlesTest, DamagedStoredItemIdBytesGiveAnEmptyList) {
  const std::string damaged[] = {
      std::string(),                                  // nothing stored
      std::string("\x04\x00" "ab", 4),                // no terminator
      std::string("\x09\x00" "ab" "\x00\x00", 6),     // item runs past the end
      std::string("\x01\x00" "a" "\x00\x00", 5),      // item shorter than its own size field
      std::string("\x04\x00" "ab" "\x00", 5),         // terminator cut in half
  };
  for (const std::string& bytes : damaged) {
    EXPECT_TRUE(ui::AbsoluteItemIdList::FromBytes(bytes).empty()) << bytes.size() << " bytes";
  }
  EXPECT_EQ(ui::AbsoluteItemIdList::FromBytes(std::string("\x00\x00", 2)).size(), 2u) << "the desktop's empty list";
}

TEST(ScopedHandlesTest, GlobalMemoryAndAtomsAreFreedWithTheirOwners) {
  ATOM atom = 0;
  {
    ui::UniqueGlobalAtom owner(GlobalAddAtomW(L"PexoScopedHandlesTestAtom"));
    atom = owner.get();
    ASSERT_NE(atom, 0);
    EXPECT_EQ(GlobalFindAtomW(L"PexoScopedHandlesTestAtom"), atom);
  }
  EXPECT_EQ(GlobalFindAtomW(L"PexoScopedHandlesTestAtom"), 0);

  ui::UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, 16));
  ASSERT_TRUE(block);
  {
    ui::GlobalLockGuard lock(block.get());
    ASSERT_TRUE(lock.data());
    EXPECT_GE(lock.size(), 16u);
  }
  EXPECT_EQ(GlobalFlags(block.get()) & GMEM_LOCKCOUNT, 0u);
}

}  // namespace
