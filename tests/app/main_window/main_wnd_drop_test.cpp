// Drops on the real main window, through its OLE drop target: files, browser links,
// shell items and text, on ordinary, note and all-links tags.
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "app/main_window/main_wnd.h"
#include "app/new_links/drop_integrity.h"
#include "app/new_links/drop_target.h"
#include "data/link_store.h"
#include "tests/app/support/dialog_test_support.h"
#include "tests/app/support/launcher_test_support.h"
#include "tests/app/support/test_data_object.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/controls/list_box.h"

namespace {

using window_test::PumpFor;

constexpr DWORD kEveryEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

// A drag source that lets the drag move over the window for a few state checks and
// then drops; it gives up after many checks so a drag that never reaches a target
// cannot hang the test.
class DropAfterFewChecks final : public StackDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override {
    ++checks_;
    if (checks_ > 200) return DRAGDROP_S_CANCEL;
    return checks_ >= 4 ? DRAGDROP_S_DROP : S_OK;
  }

 private:
  int checks_ = 0;
};

class MainWindowDropTest : public launcher_test::MainWindowFixture {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(MainWindowFixture::SetUp());
    // A store with the default group and tag, a note tag and an all-links tag.
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    auto group = store.topGroups.at(0);
    ASSERT_TRUE(store.AddTag(group, launcher_test::NewTag(L"便签", kGroupNote)));
    ASSERT_TRUE(store.AddTag(group, launcher_test::NewTag(L"全部", kGroupAllLinks)));
    ASSERT_NO_FATAL_FAILURE(OpenWindowOverStore());
    // The window's own set-up registers it with OLE.
    ASSERT_NE(window_->DropTarget(), nullptr);
  }

  void TearDown() override {
    if (window_ && IsWindow(hwnd_)) window_->RevokeDropTarget();
    MainWindowFixture::TearDown();
  }

  // Drags the data over the window and drops it, as OLE does for a drag source;
  // returns the effect the window reports at the drop.
  DWORD DragAndDrop(TestDataObject& data, DWORD allowed = kEveryEffect, DWORD* overEffect = nullptr) {
    CDropTargetEx<CMainWnd>* target = window_->DropTarget();
    POINTL at = {60, 200};
    DWORD effect = allowed;
    target->DragEnter(&data, MK_LBUTTON, at, &effect);
    effect = allowed;
    target->DragOver(MK_LBUTTON, at, &effect);
    if (overEffect) *overEffect = effect;
    effect = allowed;
    dropReturned_ = false;
    target->Drop(&data, 0, at, &effect);
    dropReturned_ = true;
    PumpFor(50);
    return effect;
  }

  // Runs `drop`, which opens the web-address dialog, and answers the dialog with `answer`.
  void AnswerWebAddressDialog(const std::function<void()>& drop, std::function<void(CDialogWnd&)> answer) {
    dialog_test::RunScriptedOpener([this] { return dynamic_cast<CDialogWnd*>(window_->OpenDialog()); }, drop,
                                   {std::move(answer)});
  }

  void ShowTag(int index) {
    window_->TagList()->SelectItem(index, false, true);
    PumpFor(50);
  }

  pexo_test::TempDir dir_;
  bool dropReturned_ = true;
};

TEST_F(MainWindowDropTest, DroppedFilesBecomeLinksAndTheSourceKeepsItsFiles) {
  std::wstring program = dir_.File(L"tool.exe");
  std::wstring text = dir_.File(L"readme.txt");
  ASSERT_TRUE(pexo_test::WriteFileBytes(program, "MZ"));
  ASSERT_TRUE(pexo_test::WriteFileBytes(text, "x"));
  TestDataObject data;
  data.SetFiles({program, dir_.File(L"missing.txt"), text});
  DWORD over = 0;
  EXPECT_EQ(DragAndDrop(data, kEveryEffect, &over), static_cast<DWORD>(DROPEFFECT_LINK));
  EXPECT_EQ(over, static_cast<DWORD>(DROPEFFECT_LINK));
  // Two links in the shell's order (the missing file is skipped), two cards.
  const auto& links = Tag(0)->links;
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[0]->NAME, L"tool");
  EXPECT_EQ(links[1]->NAME, L"readme");
  EXPECT_EQ(window_->LinkBox()->GetCount(), 2);
  EXPECT_NE(GetFileAttributesW(program.c_str()), INVALID_FILE_ATTRIBUTES);
  // A source that allows only MOVE is told nothing was done.
  EXPECT_EQ(DragAndDrop(data, DROPEFFECT_MOVE), static_cast<DWORD>(DROPEFFECT_NONE));

  // They are stored.
  window_->RevokeDropTarget();
  DestroyWindow(hwnd_);
  window_ = nullptr;
  GetLinkStore().Close();
  ASSERT_TRUE(GetLinkStore().Open());
  EXPECT_EQ(GetLinkStore().topGroups.at(0)->tags.at(0)->links.size(), 4u);
}

TEST_F(MainWindowDropTest, BrowserLinkOpensTheWebAddressDialogFilledWithThePage) {
  TestDataObject data;
  data.SetText(L"https://www.example.com/page");
  std::string descriptor = WideDescriptorBlock(L"Example Page.url");
  data.Set(static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"FileGroupDescriptorW")), descriptor.data(),
           descriptor.size());
  // The drop shows the dialog; the user sees the page's title and address and
  // confirms them as they are.
  DWORD effect = DROPEFFECT_NONE;
  std::wstring heading, name, address;
  bool openedAfterTheDrop = false;
  AnswerWebAddressDialog([&] { effect = DragAndDrop(data, DROPEFFECT_COPY | DROPEFFECT_LINK); },
                         [&](CDialogWnd& d) {
                           // The dragging program is not held while the dialog is up.
                           openedAfterTheDrop = dropReturned_;
                           heading = dialog_test::LabelText(d.FindControlByName(L"title"));
                           name = dialog_test::EditText(d, L"edit_name");
                           address = dialog_test::EditText(d, L"edit_url");
                           dialog_test::Click(d, L"btn_ok");
                         });
  EXPECT_TRUE(openedAfterTheDrop) << "the dialog ran inside IDropTarget::Drop";
  EXPECT_EQ(heading, L"新增URL链接");
  EXPECT_EQ(name, L"Example Page");
  EXPECT_EQ(address, L"https://www.example.com/page");
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_LINK));
  ASSERT_EQ(Tag(0)->links.size(), 1u);
  EXPECT_EQ(Tag(0)->links[0]->TYPE, kLinkWebAddress);
  EXPECT_EQ(Tag(0)->links[0]->NAME, L"Example Page");
  EXPECT_EQ(Tag(0)->links[0]->PATH, L"https://www.example.com/page");

  // Cancelled, the drop adds nothing; a source that allows a move gets no move,
  // which would delete its own link.
  AnswerWebAddressDialog([&] { effect = DragAndDrop(data, kEveryEffect); },
                         [](CDialogWnd& d) { dialog_test::Click(d, L"btn_cancel"); });
  EXPECT_EQ(effect & DROPEFFECT_MOVE, 0u);
  EXPECT_NE(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(Tag(0)->links.size(), 1u);
  EXPECT_EQ(window_->OpenDialog(), nullptr);
}

TEST_F(MainWindowDropTest, MalformedBlocksAndPlainTextAddNothing) {
  const CLIPFORMAT wide = static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"FileGroupDescriptorW"));
  const CLIPFORMAT idArray = static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"Shell IDList Array"));
  // A descriptor cut short.
  TestDataObject cut;
  cut.SetText(L"https://example.com/");
  std::string descriptor = WideDescriptorBlock(L"Page.url");
  cut.Set(wide, descriptor.data(), 100);
  EXPECT_EQ(DragAndDrop(cut), static_cast<DWORD>(DROPEFFECT_NONE));
  // Text without a dot, and text without a browser descriptor.
  TestDataObject plain;
  plain.SetText(L"hello");
  EXPECT_EQ(DragAndDrop(plain), static_cast<DWORD>(DROPEFFECT_NONE));
  plain.SetText(L"hello.world");
  EXPECT_EQ(DragAndDrop(plain), static_cast<DWORD>(DROPEFFECT_NONE));
  // An item-ID array whose offsets point outside the block.
  TestDataObject items;
  UINT array[3] = {1, 0x7FFFFFF0, 0x7FFFFFF8};
  items.Set(idArray, array, sizeof(array));
  EXPECT_EQ(DragAndDrop(items), static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_TRUE(Tag(0)->links.empty());
  EXPECT_EQ(window_->LinkBox()->GetCount(), 0);
}

TEST_F(MainWindowDropTest, ShellItemBecomesAnItemIdListLink) {
  // A folder item, as the shell hands it over: the desktop as parent, the item's
  // whole list below it.
  ui::AbsoluteItemIdList folder;
  {
    ITEMIDLIST* raw = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHParseDisplayName(dir_.path().c_str(), nullptr, &raw, 0, nullptr)));
    folder = ui::AbsoluteItemIdList::TakeOwnership(raw);
  }
  std::string list = folder.ToBytes();
  std::string block(3 * sizeof(UINT), '\0');
  UINT header[3] = {1, 3 * sizeof(UINT), 3 * sizeof(UINT) + sizeof(USHORT)};
  std::memcpy(block.data(), header, sizeof(header));
  block.append(sizeof(USHORT), '\0');  // the desktop: an empty list
  block += list;
  TestDataObject data;
  data.Set(static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"Shell IDList Array")), block.data(), block.size());
  DWORD effect = DragAndDrop(data);
  if (Tag(0)->links.empty() && pexo_test::RunningUnderWine()) {
    GTEST_SKIP() << "this Wine gives the folder item no icon index or no link attribute";
  }
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_LINK));
  ASSERT_EQ(Tag(0)->links.size(), 1u);
  EXPECT_EQ(Tag(0)->links[0]->TYPE, kLinkItemIdList);
  EXPECT_EQ(std::string(Tag(0)->links[0]->Pidl.begin(), Tag(0)->links[0]->Pidl.end()), list);
}

TEST_F(MainWindowDropTest, NoteTagTakesTextAndTheAllLinksTagRefuses) {
  std::wstring file = dir_.File(L"a.txt");
  ASSERT_TRUE(pexo_test::WriteFileBytes(file, "x"));
  TestDataObject files;
  files.SetFiles({file});

  ShowTag(1);  // the note tag
  EXPECT_EQ(DragAndDrop(files), static_cast<DWORD>(DROPEFFECT_LINK));
  EXPECT_EQ(window_->NoteText(), file + L"\r");  // the editor keeps paragraphs with CR
  EXPECT_TRUE(Tag(0)->links.empty());
  {
    // Stored at once: the editor never had the focus, and switching the tag,
    // hiding or closing would otherwise lose the drop.
    LinkStore reloaded;
    ASSERT_TRUE(reloaded.Open(DefaultLinkDbPath()));
    ASSERT_NE(reloaded.FindGroup(Tag(1)->ID), nullptr);
    EXPECT_EQ(reloaded.FindGroup(Tag(1)->ID)->Content, file + L"\r");
  }

  ShowTag(2);  // the all-links tag
  EXPECT_EQ(DragAndDrop(files), static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(window_->LastNotice(), L"特殊标签不能添加链接");
  EXPECT_TRUE(Tag(0)->links.empty());
}

TEST_F(MainWindowDropTest, NothingIsTakenWhileADialogIsOpen) {
  std::wstring file = dir_.File(L"a.txt");
  ASSERT_TRUE(pexo_test::WriteFileBytes(file, "x"));
  TestDataObject files;
  files.SetFiles({file});
  // A modal dialog disables its owner.
  EnableWindow(hwnd_, FALSE);
  DWORD over = DROPEFFECT_LINK;
  EXPECT_EQ(DragAndDrop(files, kEveryEffect, &over), static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(over, static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_FALSE(window_->OnDropText(L"https://example.com", L"Example"));
  EnableWindow(hwnd_, TRUE);
  EXPECT_TRUE(Tag(0)->links.empty());

  // The WM_DROPFILES entry frees its list itself and takes the same road.
  FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium = {};
  ASSERT_EQ(files.GetData(&format, &medium), S_OK);
  SendMessageW(hwnd_, WM_DROPFILES, reinterpret_cast<WPARAM>(medium.hGlobal), 0);
  ASSERT_EQ(Tag(0)->links.size(), 1u);
  EXPECT_EQ(Tag(0)->links[0]->NAME, L"a");
}

TEST_F(MainWindowDropTest, ARealDragFromAnotherSourceAddsTheFirstLink) {
  std::wstring file = dir_.File(L"first.txt");
  ASSERT_TRUE(pexo_test::WriteFileBytes(file, "x"));
  ASSERT_TRUE(Tag(0)->links.empty());
  // OLE itself finds the window under the cursor and calls its registered target.
  RECT rect = {};
  GetWindowRect(hwnd_, &rect);
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  PumpFor(50);
  TestDataObject data;
  data.SetFiles({file});
  DropAfterFewChecks source;
  DWORD effect = DROPEFFECT_NONE;
  const HRESULT result = DoDragDrop(&data, &source, kEveryEffect, &effect);
  PumpFor(50);
  ASSERT_EQ(result, DRAGDROP_S_DROP);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_LINK));
  ASSERT_EQ(Tag(0)->links.size(), 1u);
  EXPECT_EQ(Tag(0)->links[0]->NAME, L"first");
  EXPECT_EQ(window_->LinkBox()->GetCount(), 1);
}

TEST(DropRouteTest, OnlyAnElevatedWindowUnderALimitedShellThatCannotLowerItselfTakesShellFileDrops) {
  auto refuses = []() { return false; };
  auto lowers = []() { return true; };
  EXPECT_EQ(ChooseDropRoute(false, false, refuses), DropRoute::kOleTarget);
  EXPECT_EQ(ChooseDropRoute(true, true, refuses), DropRoute::kOleTarget);
  EXPECT_EQ(ChooseDropRoute(true, false, lowers), DropRoute::kOleTarget);
  EXPECT_EQ(ChooseDropRoute(true, false, refuses), DropRoute::kShellFiles);
}

}  // namespace
