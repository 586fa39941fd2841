// The link editor opened from the card menu of the real main window: typed and
// clicked changes reach link.db and the hot-key table; a bad colour is refused
// with a message; cancel changes nothing; the dialog's size is kept as saved.
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/controls/hot_key_edit.h"
#include "app/dialogs/edit_wnd.h"
#include "app/dialogs/file_dialog.h"
#include "app/main_window/main_wnd.h"
#include "data/hot_key_table.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "tests/app/support/dialog_test_support.h"
#include "tests/app/support/launcher_test_support.h"
#include "tests/support/test_support.h"
#include "ui/base/scoped_handles.h"
#include "ui/controls/list_box.h"
#include "ui/controls/rich_edit.h"

namespace {

using dialog_test::Click;
using dialog_test::Key;
using dialog_test::Type;
using window_test::PumpFor;
using Steps = std::deque<std::function<void(CDialogWnd&)>>;

const uint16_t kOldChord = MakeHotKeyCode(kHotKeyCtrl | kHotKeyAlt, VK_F9);
const uint16_t kNewChord = MakeHotKeyCode(kHotKeyCtrl | kHotKeyShift, VK_F11);

class LinkEditorTest : public launcher_test::MainWindowFixture {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(MainWindowFixture::SetUp());
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    auto tag = store.topGroups.at(0)->tags.at(0);
    auto link = std::make_shared<Link>();
    link->NAME = L"记事本";
    link->PATH = L"C:\\windows\\notepad.exe";
    link->HotKey = kOldChord;
    ASSERT_TRUE(store.AddLink(tag, link));
    OpenWindowOverStore();
  }
  std::shared_ptr<Link> StoredLink() { return GetLinkStore().topGroups.at(0)->tags.at(0)->links.at(0); }

  // Opens the editor from the card menu's command and runs the steps in it.
  bool EditFirstCard(Steps steps) { return EditLinkById(StoredLink()->ID, std::move(steps)); }
  bool EditLinkById(int32_t id, Steps steps) {
    bool result = false;
    const int32_t tagId = window_->CurrentTag()->ID;
    dialog_test::RunScriptedOpener([this] { return dynamic_cast<CDialogWnd*>(window_->OpenDialog()); },
                                   [&] { result = window_->RunCardLinkCommand(L"edit_link", tagId, id, POINT{}); },
                                   std::move(steps));
    return result;
  }
};

ui::RichEdit* Edit(CDialogWnd& d, const wchar_t* name) { return dynamic_cast<ui::RichEdit*>(d.FindControlByName(name)); }


// Answers the error box; when it is not up yet, this step runs again at the next
// tick, at most `tries` times.
void AwaitErrorBox(bool& shown, int tries) {
  shown = dialog_test::AnswerThreadDialogBoxes() > 0;
  if (!shown && tries > 0) {
    dialog_test::CurrentScript()->steps.push_front([&shown, tries](CDialogWnd&) { AwaitErrorBox(shown, tries - 1); });
  }
}

// Gives the field the focus with its whole text selected, as Tab does.
void Focus(CDialogWnd& d, const wchar_t* name) {
  ui::RichEdit* edit = Edit(d, name);
  ASSERT_NE(edit, nullptr);
  edit->SetFocus();
  edit->SetSelAll();
}

TEST_F(LinkEditorTest, TypedChangesReachTheStoreTheCardsAndTheHotKeys) {
  ASSERT_EQ(window_->LinkBox()->GetCount(), 1);
  const bool oldRegistered = StoredLink()->hotKeyId != 0;
  bool errorShown = false;
  const bool saved = EditFirstCard(Steps{
      [](CDialogWnd& d) {
        EXPECT_EQ(Edit(d, L"edit_name")->GetText(), L"记事本");
        EXPECT_EQ(Edit(d, L"edit_url")->GetText(), L"C:\\windows\\notepad.exe");
        Focus(d, L"edit_url");
      },
      [](CDialogWnd& d) { Type(d, L"C:\\windows\\regedit.exe"); },
      [](CDialogWnd& d) { Focus(d, L"edit_icon"); },
      [](CDialogWnd& d) { Type(d, L"%windir%\\system32\\shell32.dll,3"); },
      [](CDialogWnd& d) { Focus(d, L"edit_color"); },
      [](CDialogWnd& d) { Type(d, L"#gggggggg"); },  // eight characters, not hexadecimal
      [](CDialogWnd& d) { Click(d, L"btn_ok"); },
      [&](CDialogWnd&) { AwaitErrorBox(errorShown, 40); },
      [](CDialogWnd& d) {
        EXPECT_TRUE(IsWindow(d.GetHWND())) << "a bad colour keeps the editor open";
        Focus(d, L"edit_color");
      },
      [](CDialogWnd& d) { Type(d, L"#ff1a73e8"); },
      [](CDialogWnd& d) { Focus(d, L"edit_remark"); },
      [](CDialogWnd& d) { Type(d, L"备注：中文"); },
      [](CDialogWnd& d) {
        // The chord as the hot-key field shows a stored one; typing chords needs
        // the real keyboard state.
        ui::SetHotKeyEditCode(dynamic_cast<ui::HotKeyEdit*>(d.FindControlByName(L"edit_hotkey")), kNewChord);
        Edit(d, L"edit_name")->SetFocus();
        Edit(d, L"edit_name")->SetSel(-1, -1);
      },
      [](CDialogWnd& d) { Type(d, L"2"); },
      [](CDialogWnd& d) { Click(d, L"btn_ok"); },
  });
  EXPECT_TRUE(errorShown) << "the bad colour is reported";
  EXPECT_TRUE(saved);
  // What was typed and picked, in memory now and in link.db after a restart.
  auto expectEdited = [](const Link& edited) {
    EXPECT_EQ(edited.NAME, L"记事本2");
    EXPECT_EQ(edited.PATH, L"C:\\windows\\regedit.exe");
    EXPECT_EQ(edited.ICON, L"%windir%\\system32\\shell32.dll,3");
    EXPECT_EQ(edited.CustomColor, L"#ff1a73e8");
    EXPECT_EQ(edited.Remark, L"备注：中文");
    EXPECT_EQ(edited.HotKey, kNewChord);
  };
  std::shared_ptr<Link> link = StoredLink();
  expectEdited(*link);
  EXPECT_EQ(GetHotKeyTable().FindLink(kOldChord), nullptr) << "the old chord is gone from the table";
  EXPECT_EQ(GetHotKeyTable().FindLink(kNewChord), link);
  if (oldRegistered && link->hotKeyId != 0) {
    // The old chord is free again: this thread can take it.
    EXPECT_TRUE(RegisterHotKey(nullptr, 0x100, MOD_CONTROL | MOD_ALT, VK_F9));
    UnregisterHotKey(nullptr, 0x100);
    // The new one is taken by the launcher.
    if (!pexo_test::RunningUnderWine()) {
      EXPECT_FALSE(RegisterHotKey(nullptr, 0x101, MOD_CONTROL | MOD_SHIFT, VK_F11));
    }
  }

  Close();
  ASSERT_TRUE(GetLinkStore().Open());
  expectEdited(*StoredLink());
}

TEST_F(LinkEditorTest, StoredFieldsLongerThanTheirFieldsHoldGoBackWholeWithOk) {
  // Longer than the name field's 255 and than the 32 767 every other field holds.
  std::wstring chinese;
  while (chinese.size() < 100000) chinese += L"快速启动记事本计算器和画图";
  chinese.resize(100000);
  std::wstring latin;
  for (size_t i = 0; latin.size() < 100000; ++i) latin += static_cast<wchar_t>(L'a' + i % 26);
  const std::shared_ptr<Link> link = StoredLink();
  link->NAME = chinese;
  link->Parameter = latin;
  link->WorkDir = L"C:\\" + chinese;
  link->Remark = latin;
  ASSERT_TRUE(GetLinkStore().SaveLink(link));
  window_->OnTagSelect(nullptr);
  const bool saved = EditFirstCard(Steps{
      [&](CDialogWnd& d) { EXPECT_EQ(Edit(d, L"edit_name")->GetTextLength(), 100000); },
      [](CDialogWnd& d) { Click(d, L"btn_ok"); },
  });
  EXPECT_TRUE(saved);
  GetLinkStore().Close();
  LinkStore reloaded;
  ASSERT_TRUE(reloaded.Open(DefaultLinkDbPath()));
  const auto& stored = reloaded.topGroups.at(0)->tags.at(0)->links.at(0);
  EXPECT_TRUE(stored->NAME == chinese) << stored->NAME.size();
  EXPECT_TRUE(stored->Parameter == latin) << stored->Parameter.size();
  EXPECT_TRUE(stored->WorkDir == L"C:\\" + chinese) << stored->WorkDir.size();
  EXPECT_TRUE(stored->Remark == latin) << stored->Remark.size();
}

TEST_F(LinkEditorTest, CancelAndTheCloseButtonChangeNothing) {
  for (const wchar_t* button : {L"btn_cancel", L"closebtn"}) {
    EXPECT_FALSE(EditFirstCard(Steps{
        [](CDialogWnd& d) { Click(d, L"edit_name"); },
        [](CDialogWnd& d) { Type(d, L"变了"); },
        [button](CDialogWnd& d) { Click(d, button); },
    }));
    EXPECT_EQ(StoredLink()->NAME, L"记事本");
  }
  Close();
  ASSERT_TRUE(GetLinkStore().Open());
  EXPECT_EQ(StoredLink()->NAME, L"记事本");
  EXPECT_EQ(StoredLink()->HotKey, kOldChord);
}

TEST_F(LinkEditorTest, ASizeSavedByTheFrameIsTheSizeRestored) {
  GetSettings().nAttrWidth = 500;
  GetSettings().nAttrHeight = 560;
  SIZE opened = {};
  EditFirstCard(Steps{
      [&](CDialogWnd& d) {
        RECT rect = d.GetWindowRectWithoutShadow(false);
        opened = {rect.right - rect.left, rect.bottom - rect.top};
        // A resize by the frame, as the move-size loop reports it.
        SendMessageW(d.GetHWND(), WM_ENTERSIZEMOVE, 0, 0);
        SetWindowPos(d.GetHWND(), nullptr, 0, 0, opened.cx + 20, opened.cy + 10, SWP_NOMOVE | SWP_NOZORDER);
        SendMessageW(d.GetHWND(), WM_EXITSIZEMOVE, 0, 0);
        // A size set by the program is not saved.
        SetWindowPos(d.GetHWND(), nullptr, 0, 0, 300, 300, SWP_NOMOVE | SWP_NOZORDER);
        Click(d, L"btn_cancel");
      },
  });
  EXPECT_EQ(opened.cx, 500);
  EXPECT_EQ(opened.cy, 560);
  EXPECT_EQ(GetSettings().nAttrWidth, 520) << "saved without the shadow, as it is restored";
  EXPECT_EQ(GetSettings().nAttrHeight, 570);
  // Opening again shows exactly the saved size: it does not grow.
  EditFirstCard(Steps{[&](CDialogWnd& d) {
    RECT rect = d.GetWindowRectWithoutShadow(false);
    opened = {rect.right - rect.left, rect.bottom - rect.top};
    // A picture of the editor for people reading the documentation.
    window_test::PaintNow(d.GetHWND());
    EXPECT_TRUE(window_test::SaveWindowPng(d, pexo_test::PictureFolder() + L"link_editor.png"));
    Click(d, L"btn_cancel");
  }});
  EXPECT_EQ(opened.cx, 520);
  EXPECT_EQ(opened.cy, 570);
}

// An item-ID-list link of the first tag, with the given stored bytes.
std::shared_ptr<Link> AddItemIdListLink(const std::string& bytes) {
  auto link = std::make_shared<Link>();
  link->NAME = L"列表";
  link->PATH = L"stored path";
  link->TYPE = kLinkItemIdList;
  link->Pidl.assign(bytes.begin(), bytes.end());
  return GetLinkStore().AddLink(GetLinkStore().topGroups.at(0)->tags.at(0), link) ? link : nullptr;
}

TEST_F(LinkEditorTest, AnItemIdListIsDescribedByTheShellOnlyWhenItsStoredBytesHoldAWholeList) {
  // A damaged list: its one item claims 0xFFFF bytes that are not there.
  const std::shared_ptr<Link> damaged = AddItemIdListLink(std::string("\xFF\xFF\x00", 3));
  ASSERT_NE(damaged, nullptr);
  // A whole one: the computer, which only an item-ID list names.
  PIDLIST_ABSOLUTE raw = nullptr;
  ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &raw)));
  const ui::AbsoluteItemIdList computer = ui::AbsoluteItemIdList::TakeOwnership(raw);
  const std::shared_ptr<Link> whole = AddItemIdListLink(computer.ToBytes());
  ASSERT_NE(whole, nullptr);
  window_->OnTagSelect(nullptr);
  ASSERT_EQ(window_->LinkBox()->GetCount(), 3);

  std::wstring shown;
  bool enabled = false;
  auto look = [&](CDialogWnd& d) {
    shown = Edit(d, L"edit_url")->GetText();
    enabled = Edit(d, L"edit_url")->IsEnabled();
    Click(d, L"btn_ok");
  };
  EXPECT_TRUE(EditLinkById(damaged->ID, Steps{look}));
  EXPECT_EQ(shown, L"stored path") << "no list to describe: the stored path is shown";
  EXPECT_TRUE(enabled) << "and the skin's state kept";
  EXPECT_EQ(damaged->PATH, L"stored path");

  SHFILEINFOW info = {};
  SHGetFileInfoW(reinterpret_cast<LPCWSTR>(computer.get()), 0, &info, sizeof(info),
                 SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX);
  EXPECT_TRUE(EditLinkById(whole->ID, Steps{look}));
  if (info.iIcon == 0) GTEST_SKIP() << "this Wine gives the computer no icon, so the editor leaves it undescribed";
  EXPECT_EQ(shown, info.szDisplayName) << "the shell's name for the list";
  EXPECT_FALSE(enabled);
  EXPECT_EQ(whole->PATH, L"stored path") << "OK leaves an item-ID list link's path alone";
}

// The standard dialog of this thread that is shown, if any.
HWND ShownStandardDialog() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM data) -> BOOL {
        wchar_t name[16] = {};
        GetClassNameW(hwnd, name, 16);
        if (!IsWindowVisible(hwnd) || std::wstring(name) != L"#32770") return TRUE;
        *reinterpret_cast<HWND*>(data) = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

TEST_F(LinkEditorTest, TheTargetsFileDialogOffersExactlyOneFilterForEveryFile) {
  std::vector<std::wstring> filters;
  bool seen = false;
  int waits = 0;
  std::function<void(CDialogWnd&)> readFilters = [&](CDialogWnd&) {
    HWND fileDialog = ShownStandardDialog();
    if (!fileDialog) {
      if (++waits < 40) dialog_test::CurrentScript()->steps.push_front(readFilters);
      return;
    }
    seen = true;
    // The file-type list of the explorer-style dialog.
    HWND types = GetDlgItem(fileDialog, 0x470);
    const int count = types ? static_cast<int>(SendMessageW(types, CB_GETCOUNT, 0, 0)) : 0;
    for (int i = 0; i < count; ++i) {
      wchar_t text[128] = {};
      SendMessageW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      filters.push_back(text);
    }
    PostMessageW(fileDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  };
  EditFirstCard(Steps{
      [](CDialogWnd& d) { Click(d, L"btn_path"); },
      readFilters,
      [](CDialogWnd& d) { Click(d, L"btn_cancel"); },
  });
  if (!seen) GTEST_SKIP() << "the system file dialog did not open here";
  ASSERT_EQ(filters.size(), 1u);
  EXPECT_EQ(filters[0], L"所有文件");
  EXPECT_EQ(AllFilesFilter(), std::wstring(L"所有文件\0*.*\0", 9) + L'\0') << "both ends within the text";
}

TEST(LinkColorText, OnlyEightHexDigitsOrAKnownNameAreAccepted) {
  EXPECT_TRUE(IsAcceptedLinkColor(L""));
  EXPECT_TRUE(IsAcceptedLinkColor(L"#FF00aa11"));
  EXPECT_FALSE(IsAcceptedLinkColor(L"#gggggggg"));
  EXPECT_FALSE(IsAcceptedLinkColor(L"#ff00aa1 "));
  EXPECT_FALSE(IsAcceptedLinkColor(L"#00aa11"));
  EXPECT_FALSE(IsAcceptedLinkColor(L"#ff00aa112"));
}

}  // namespace
