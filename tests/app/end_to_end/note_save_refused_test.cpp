// The real Pexo.exe while another program holds link.db in a write transaction:
// a note typed into and left is refused by the store, yet nothing typed is lost.
// The text comes back whenever its tag is chosen, is stored once the file is
// free, and a close that still cannot store it says so in a box and ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cstdio>
#include <memory>
#include <string>

#include "data/group.h"
#include "data/link_store.h"
#include "tests/app/end_to_end/end_to_end_driver.h"
#include "tests/support/pexo_program.h"
#include "tests/support/test_support.h"

namespace {

using pexo_test::PexoProgram;
using pexo_test::WaitUntil;

// Shown at start on the left, not docked, 388 x 600: the tags and the note lie
// where the test computes them. Letters typed go to the note, not to a search.
const char kConf[] =
    "[main]\r\nbHideOnStart=0\r\nbAutoDock=0\r\nbHideNotify=1\r\nbTopMost=1\r\nbShowDate=0\r\nTheme=\r\n"
    "bFocusSearch=0\r\nbDelConfirm=1\r\nnPosX=10\r\nnPosY=10\r\nnWidth=388\r\nnHeight=600\r\n"
    "nCurGroup=0\r\nnCurTag=0\r\n";

// Client coordinates in that window.
POINT TagCentre(int index) { return {37, 109 + 38 * index}; }
POINT GroupCentre(int index) { return {1 + 6 + 36 + 72 * index, 47 + 15}; }
int GroupLeft(int index) { return 1 + 6 + 73 * index; }
constexpr POINT kNoteInside = {230, 300};
constexpr POINT kMenuButton = {388 - 53, 21};
// The notice line's left end, at the window's foot below the tag column.
constexpr POINT kNoticeLine = {5, 600 - 16};

constexpr wchar_t kBoxCaption[] = L"Pexo - 警告";
constexpr wchar_t kBoxText[] =
    L"便签的改动未能保存，请检查数据库文件。\n\n点“重试”再次保存；点“取消”退出，这些改动将会丢失。";

// Another program's hold on link.db: a write transaction begun with
// BEGIN EXCLUSIVE, which the launcher's writes (and reads) wait for in vain.
class DatabaseHold {
 public:
  explicit DatabaseHold(const std::wstring& path) {
    if (sqlite3_open16(path.c_str(), &db_) != SQLITE_OK) return;
    // The launcher reads now and then; the hold waits for such a read to end.
    sqlite3_busy_timeout(db_, 10000);
    held_ = sqlite3_exec(db_, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
  }
  ~DatabaseHold() { Release(); }
  DatabaseHold(const DatabaseHold&) = delete;
  DatabaseHold& operator=(const DatabaseHold&) = delete;
  bool held() const { return held_; }
  void Release() {
    if (held_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    held_ = false;
    if (db_) sqlite3_close(db_);
    db_ = nullptr;
  }

 private:
  sqlite3* db_ = nullptr;
  bool held_ = false;
};

// The note text link.db holds for the tag; "(unreadable)" while it cannot be read.
std::wstring StoredNote(const std::wstring& path, int32_t tagId) {
  std::wstring text = L"(unreadable)";
  sqlite3* db = nullptr;
  if (sqlite3_open16(path.c_str(), &db) == SQLITE_OK) {
    sqlite3_stmt* query = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT Content FROM Groups WHERE ID = ?", -1, &query, nullptr) == SQLITE_OK) {
      sqlite3_bind_int(query, 1, tagId);
      if (sqlite3_step(query) == SQLITE_ROW) {
        const void* chars = sqlite3_column_text16(query, 0);
        text = chars ? static_cast<const wchar_t*>(chars) : L"";
      }
    }
    sqlite3_finalize(query);
  }
  sqlite3_close(db);
  return text;
}

std::string Narrow(const std::wstring& text) {
  std::string utf8(text.size() * 3 + 1, '\0');
  utf8.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                                      utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr)));
  return utf8;
}

bool PutOnClipboard(const std::wstring& text) {
  if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 2000)) return false;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  bool put = false;
  if (memory) {
    std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!put) GlobalFree(memory);
  }
  CloseClipboard();
  return put;
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) text = chars;
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

// Whether the tag's row shows the selection colour (light blue), seen inside its left edge.
bool TagChosen(HWND main, int index) {
  const COLORREF colour = e2e::ScreenPixel(e2e::ToScreen(main, {7, TagCentre(index).y}));
  return colour != CLR_INVALID && static_cast<int>(GetBValue(colour)) - static_cast<int>(GetRValue(colour)) > 18;
}

// Whether the notice line is up: its dark band over the light foot of the window.
bool NoticeShown(HWND main) {
  const COLORREF colour = e2e::ScreenPixel(e2e::ToScreen(main, kNoticeLine));
  return colour != CLR_INVALID && GetRValue(colour) + GetGValue(colour) + GetBValue(colour) < 300;
}

class NoteSaveRefusedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(program_.copied());
    LinkStore store;
    ASSERT_TRUE(store.Open(Db()));
    const auto group = store.topGroups.at(0);
    const auto note = group->tags.at(0);
    note->TYPE = kGroupNote;
    note->NAME = L"便签";
    note->Content = L"hello note";
    ASSERT_TRUE(store.SaveGroup(note));
    noteId_ = note->ID;
    auto other = std::make_shared<Group>();
    other->NAME = L"其他";
    ASSERT_TRUE(store.AddTag(group, other));
    auto second = std::make_shared<Group>();
    second->NAME = L"第二组";
    ASSERT_TRUE(store.AddGroup(second));
    auto secondTag = std::make_shared<Group>();
    secondTag->NAME = L"标签";
    ASSERT_TRUE(store.AddTag(second, secondTag));
    store.Close();
  }
  void TearDown() override {
    if (retries_ > 0) std::printf("retries: %d (%s)\n", retries_, retryCauses_.c_str());
  }

  std::wstring Db() const { return program_.File(L"db\\link.db"); }

  void Start() {
    main_ = e2e::StartShown(program_);
    ASSERT_NE(main_, nullptr) << "no main window";
    ASSERT_TRUE(e2e::WaitReadyForKeys(main_)) << "the window did not come to the front";
  }
  // A click on the tag's row, and its row shown chosen.
  void ChooseTag(int index) {
    e2e::Click(main_, TagCentre(index), false, 120);
    ASSERT_TRUE(WaitUntil([&] { return TagChosen(main_, index); }, 3000)) << "tag " << index << " not chosen";
  }
  // A click on the group's item, and the item shown chosen. Leaving the note runs
  // its refused save first, which holds the window still for a moment.
  void ChooseGroup(int index) {
    e2e::Click(main_, GroupCentre(index), false, 150);
    ASSERT_TRUE(WaitUntil([&] { return e2e::StripItemChosen(main_, GroupLeft(index)); }, 3000))
        << "group " << index << " not chosen";
    e2e::WaitSettled(main_, 3000);
  }
  // The caret at the end of the note shown, then the text typed there.
  void TypeAtNoteEnd(const std::wstring& text) {
    e2e::WaitSettled(main_, 3000);
    e2e::Click(main_, kNoteInside, false, 80);
    e2e::PressKey(VK_END, {VK_CONTROL});
    e2e::TypeText(text);
  }
  // What the note editor shows, selected whole and copied as a user would.
  std::wstring CopyNote(const std::wstring& expected) {
    e2e::Click(main_, kNoteInside, false, 80);
    EXPECT_TRUE(PutOnClipboard(L"-"));
    e2e::PressKey('A', {VK_CONTROL});
    e2e::PressKey('C', {VK_CONTROL});
    std::wstring copied;
    WaitUntil([&] { return (copied = ClipboardText()) == expected; }, 3000);
    return copied;
  }
  std::wstring WaitStored(const std::wstring& expected) {
    std::wstring stored;
    WaitUntil([&] { return (stored = StoredNote(Db(), noteId_)) == expected; }, 5000);
    return stored;
  }
  // The box a close shows while the note cannot be stored; null when none came.
  HWND WaitNoteBox() {
    HWND box = program_.WaitWindowTitled(kBoxCaption, 15000);
    if (box) e2e::WaitSettled(box, 3000);
    return box;
  }
  // A real click on one of the box's buttons; true once the box is gone. Wine now
  // and then drops the first press on a window just shown: a press the button never
  // showed pushed is pressed once more. A press the button took and the box did not
  // answer is a failure.
  bool ClickBoxButton(HWND box, int id) {
    HWND button = GetDlgItem(box, id);
    if (!button) return false;
    RECT rc = {};
    GetWindowRect(button, &rc);
    const POINT centre = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    for (int attempt = 0; attempt < 2; ++attempt) {
      if (attempt > 0) {
        ++retries_;
        retryCauses_ += "a press on the box's button never reached it; ";
      }
      SetCursorPos(centre.x, centre.y);
      real_mouse::SendAt(centre, 0);
      Sleep(40);
      real_mouse::SendAt(centre, MOUSEEVENTF_LEFTDOWN);
      const bool pushed = WaitUntil(
          [&] {
            DWORD_PTR state = 0;
            return SendMessageTimeoutW(button, BM_GETSTATE, 0, 0, SMTO_ABORTIFHUNG, 500, &state) &&
                   (state & BST_PUSHED) != 0;
          },
          2000);
      real_mouse::SendAt(centre, MOUSEEVENTF_LEFTUP);
      if (pushed) return WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000);
    }
    return false;
  }
  void ExpectEndsWithZero() {
    DWORD code = 1;
    ASSERT_TRUE(program_.WaitExit(20000, &code)) << "still running after the box was answered";
    EXPECT_EQ(code, 0u);
  }

  PexoProgram program_{kConf};
  HWND main_ = nullptr;
  int32_t noteId_ = 0;
  int retries_ = 0;
  std::string retryCauses_;
};

TEST_F(NoteSaveRefusedTest, ARefusedNoteIsShownAgainAcrossGroupsAndStoredOnceTheFileIsFree) {
  ASSERT_NO_FATAL_FAILURE(Start());
  {
    DatabaseHold hold(Db());
    ASSERT_TRUE(hold.held());
    ASSERT_NO_FATAL_FAILURE(TypeAtNoteEnd(L" added"));
    ASSERT_NO_FATAL_FAILURE(ChooseTag(1));
    EXPECT_TRUE(WaitUntil([&] { return NoticeShown(main_); }, 3000)) << "no notice of the refused save";

    // Back to the note: the text typed is there, still not stored.
    ASSERT_NO_FATAL_FAILURE(ChooseTag(0));
    EXPECT_EQ(Narrow(CopyNote(L"hello note added")), "hello note added");
    // Through the other group and back, twice: each time the note is left again
    // (refused again) and shown again.
    for (int round = 0; round < 2; ++round) {
      SCOPED_TRACE("round " + std::to_string(round));
      ASSERT_NO_FATAL_FAILURE(ChooseGroup(1));
      ASSERT_NO_FATAL_FAILURE(ChooseGroup(0));
      ASSERT_TRUE(WaitUntil([&] { return TagChosen(main_, 0); }, 3000)) << "the group did not come back on its note";
      EXPECT_EQ(Narrow(CopyNote(L"hello note added")), "hello note added");
    }
    ASSERT_NO_FATAL_FAILURE(ChooseTag(1));
    ASSERT_NO_FATAL_FAILURE(ChooseTag(0));
    EXPECT_EQ(Narrow(CopyNote(L"hello note added")), "hello note added");
    hold.Release();
  }
  EXPECT_EQ(Narrow(StoredNote(Db(), noteId_)), "hello note") << "stored while the file was held";
  // The file is free: leaving the note stores the kept text.
  ASSERT_NO_FATAL_FAILURE(ChooseTag(1));
  EXPECT_EQ(Narrow(WaitStored(L"hello note added")), "hello note added");

  // A close while the file is held again: the box says so; cancel ends the
  // program without the change, which is not stored.
  ASSERT_NO_FATAL_FAILURE(ChooseTag(0));
  ASSERT_NO_FATAL_FAILURE(TypeAtNoteEnd(L" more"));
  {
    DatabaseHold hold(Db());
    ASSERT_TRUE(hold.held());
    std::string why;
    ASSERT_TRUE(e2e::ExitThroughTray(program_.processId(), main_, why)) << why;
    HWND box = WaitNoteBox();
    ASSERT_NE(box, nullptr) << "the close ended without telling of the note";
    EXPECT_EQ(pexo_test::MessageBoxText(box), kBoxText);
    EXPECT_EQ(GetWindow(box, GW_OWNER), main_) << "the box belongs to the main window";
    ASSERT_TRUE(ClickBoxButton(box, IDCANCEL)) << "the box stayed after its cancel button was clicked";
    ASSERT_NO_FATAL_FAILURE(ExpectEndsWithZero());
  }
  EXPECT_EQ(Narrow(StoredNote(Db(), noteId_)), "hello note added");
}

TEST_F(NoteSaveRefusedTest, ACloseFromTheMainMenuTriesAgainAndStoresTheNoteOnceTheFileIsFree) {
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_NO_FATAL_FAILURE(TypeAtNoteEnd(L" again"));
  {
    DatabaseHold hold(Db());
    ASSERT_TRUE(hold.held());
    // The note is still shown, changed, when the close comes.
    e2e::Click(main_, kMenuButton);
    HWND level = e2e::WaitNewMenuLevel(program_.processId(), {});
    ASSERT_NE(level, nullptr) << "the main menu did not open";
    const POINT exit = e2e::LastMenuItemPoint(level);
    ASSERT_TRUE(e2e::WaitLevelDrawn(level, exit));
    e2e::ClickScreen(exit, false, 120);
    HWND box = WaitNoteBox();
    ASSERT_NE(box, nullptr) << "the close ended without telling of the note";
    EXPECT_EQ(pexo_test::MessageBoxText(box), kBoxText);
    // Retry while the file is still held: the box comes again.
    ASSERT_TRUE(ClickBoxButton(box, IDRETRY));
    box = WaitNoteBox();
    ASSERT_NE(box, nullptr) << "a retry that failed again asked nothing";
    EXPECT_TRUE(program_.Running());
    hold.Release();
    ASSERT_TRUE(ClickBoxButton(box, IDRETRY));
    ASSERT_NO_FATAL_FAILURE(ExpectEndsWithZero());
  }
  EXPECT_EQ(Narrow(StoredNote(Db(), noteId_)), "hello note again");
}

}  // namespace
