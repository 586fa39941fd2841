#include "app/new_links/drop_data.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>

#include "tests/app/support/test_data_object.h"
#include "tests/support/test_support.h"

namespace {

TEST(DropDataTest, EffectIsLinkThenCopyAndNeverMove) {
  EXPECT_EQ(ChooseDropEffect(DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK), DROPEFFECT_LINK);
  EXPECT_EQ(ChooseDropEffect(DROPEFFECT_COPY | DROPEFFECT_MOVE), DROPEFFECT_COPY);
  EXPECT_EQ(ChooseDropEffect(DROPEFFECT_MOVE), DROPEFFECT_NONE);
  EXPECT_EQ(ChooseDropEffect(DROPEFFECT_NONE), DROPEFFECT_NONE);
}

TEST(DropDataTest, DescriptorNamesAreReadOnlyFromWholeBlocks) {
  std::string block = WideDescriptorBlock(L"Example Domain.url");
  EXPECT_EQ(FirstDescriptorFileName(block.data(), block.size(), true), L"Example Domain.url");
  // Cut short, counting no entry, or a name without its terminator: nothing.
  EXPECT_FALSE(FirstDescriptorFileName(block.data(), block.size() - 1, true));
  EXPECT_FALSE(FirstDescriptorFileName(block.data(), 3, true));
  EXPECT_FALSE(FirstDescriptorFileName(nullptr, 0, true));
  std::string none = WideDescriptorBlock(L"x.url", 0);
  EXPECT_FALSE(FirstDescriptorFileName(none.data(), none.size(), true));
  std::string unterminated = block;
  for (size_t i = sizeof(UINT) + offsetof(FILEDESCRIPTORW, cFileName); i < unterminated.size(); i += 2) {
    unterminated[i] = 'a';
    unterminated[i + 1] = 0;
  }
  EXPECT_FALSE(FirstDescriptorFileName(unterminated.data(), unterminated.size(), true));
  // The ANSI form is smaller: the wide size is not asked of it.
  std::string ansi(sizeof(UINT) + sizeof(FILEDESCRIPTORA), '\0');
  UINT one = 1;
  std::memcpy(ansi.data(), &one, sizeof(one));
  std::strcpy(ansi.data() + sizeof(UINT) + offsetof(FILEDESCRIPTORA, cFileName), "Page.URL");
  EXPECT_EQ(FirstDescriptorFileName(ansi.data(), ansi.size(), false), L"Page.URL");
  EXPECT_FALSE(FirstDescriptorFileName(ansi.data(), ansi.size(), true));
}

TEST(DropDataTest, BrowserTitleIsTheNameBeforeTheLinkExtension) {
  EXPECT_EQ(BrowserLinkTitle(L"Example Domain.url"), L"Example Domain");
  EXPECT_EQ(BrowserLinkTitle(L"Page.URL"), L"Page");
  EXPECT_EQ(BrowserLinkTitle(L"a.web.url"), L"a.web");  // ".url" is looked for first
  EXPECT_EQ(BrowserLinkTitle(L"index.html"), L"index");
  EXPECT_FALSE(BrowserLinkTitle(L"photo.jpg"));
}

class IdArrayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(com_.succeeded());
    ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, raw_.put())));
  }
  // A one-item array: the desktop (an empty list) as folder, "My Computer" as item.
  std::string Block(UINT count) {
    std::string list = raw_.ToBytes();
    std::string block(3 * sizeof(UINT), '\0');
    UINT folderOffset = static_cast<UINT>(block.size());
    UINT itemOffset = folderOffset + sizeof(USHORT);
    std::memcpy(block.data(), &count, sizeof(UINT));
    std::memcpy(block.data() + sizeof(UINT), &folderOffset, sizeof(UINT));
    std::memcpy(block.data() + 2 * sizeof(UINT), &itemOffset, sizeof(UINT));
    block.append(sizeof(USHORT), '\0');
    block += list;
    return block;
  }
  struct RawList {
    ITEMIDLIST* list = nullptr;
    ~RawList() { CoTaskMemFree(list); }
    ITEMIDLIST** put() { return &list; }
    std::string ToBytes() const {
      return std::string(reinterpret_cast<const char*>(list), ui::ItemIdListSize(list));
    }
  };
  ui::ScopedComInit com_;
  RawList raw_;
};

TEST_F(IdArrayTest, FirstItemIsTheFolderJoinedWithTheItem) {
  std::string block = Block(1);
  ui::AbsoluteItemIdList first = FirstItemOfIdArray(block.data(), block.size());
  ASSERT_TRUE(first);
  EXPECT_EQ(first.ToBytes(), raw_.ToBytes());
}

TEST_F(IdArrayTest, MalformedArraysGiveNothing) {
  std::string good = Block(1);
  EXPECT_FALSE(FirstItemOfIdArray(good.data(), 11));
  EXPECT_FALSE(FirstItemOfIdArray(good.data(), good.size() - 1));  // the item's terminator cut off
  std::string none = Block(0);
  EXPECT_FALSE(FirstItemOfIdArray(none.data(), none.size()));
  for (UINT offset : {0xFFFFFFF0u, static_cast<UINT>(good.size()), static_cast<UINT>(good.size() - 1)}) {
    std::string bad = good;
    std::memcpy(bad.data() + 2 * sizeof(UINT), &offset, sizeof(UINT));
    EXPECT_FALSE(FirstItemOfIdArray(bad.data(), bad.size())) << offset;
  }
  // An item whose size field is 1 would never end.
  std::string looping = good;
  USHORT one = 1;
  std::memcpy(looping.data() + 3 * sizeof(UINT) + sizeof(USHORT), &one, sizeof(one));
  EXPECT_FALSE(FirstItemOfIdArray(looping.data(), looping.size()));
}

TEST(DropDataTest, DroppedFilesAreReadInFullAndFinishedOnce) {
  TestDataObject files;
  std::wstring longPath = L"C:\\" + std::wstring(300, L'x') + L".txt";
  files.SetFiles({L"C:\\a.txt", longPath});
  FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium = {};
  ASSERT_EQ(files.GetData(&format, &medium), S_OK);
  std::vector<std::wstring> paths = TakeDroppedFiles(static_cast<HDROP>(medium.hGlobal));
  EXPECT_EQ(paths, (std::vector<std::wstring>{L"C:\\a.txt", longPath}));
  EXPECT_TRUE(TakeDroppedFiles(nullptr).empty());
}

}  // namespace
