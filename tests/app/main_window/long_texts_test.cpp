// Texts as long as a user's stored data can make them, in the tag shown at start:
// a link named with 100 000 characters and a note of 600 000. The real program
// shows its window and keeps answering; the note still shows whole and nothing
// of it is lost.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "app/main_window/main_wnd.h"
#include "data/link_store.h"
#include <sqlite3.h>
#include "tests/app/support/launcher_test_support.h"
#include "tests/support/editor_line_ends.h"
#include "tests/support/pexo_program.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/controls/list_box.h"
#include "ui/controls/rich_edit.h"
#include "ui/core/tab_box.h"
#include "ui/render/render_context.h"
#include "data/settings.h"

namespace {

using pexo_test::EditorForm;
using pexo_test::PexoProgram;

const char kShownConf[] =
    "[main]\r\nbHideOnStart=0\r\nbAutoDock=0\r\nbHideNotify=1\r\nbTopMost=0\r\nbShowDate=0\r\nTheme=\r\n"
    "nCurGroup=0\r\nnCurTag=0\r\n";

// Words of mixed scripts, so that a name or a note wraps at blanks as well as
// inside long runs of Chinese.
std::wstring LongText(size_t length, const std::wstring& lineEnd) {
  const wchar_t* words[] = {L"记事本", L"notes", L"计算器和画图", L"C:\\Tools\\", L"0123456789", L"快速启动"};
  std::wstring text;
  for (size_t i = 0; text.size() < length; ++i) {
    text += words[i % 6];
    text += (i % 9 == 8) ? lineEnd : L" ";
  }
  text.resize(length);
  return text;
}

// Starts the program and checks that its main window comes, shows, and answers
// every message within 2 s for a while after it showed (a first paint that fits
// a long text freezes it only then).
void ExpectAnsweringWindow(PexoProgram& program, HWND* mainOut) {
  ASSERT_TRUE(program.Start());
  const HWND main = program.WaitMainWindow();
  ASSERT_NE(main, nullptr) << "no main window";
  *mainOut = main;
  EXPECT_TRUE(PexoProgram::Answers(main, 2000)) << "the window does not answer as it is made";
  ASSERT_TRUE(pexo_test::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 20000)) << "never shown";
  for (int i = 0; i < 15; ++i) {
    ASSERT_TRUE(PexoProgram::Answers(main, 2000)) << "no answer within 2 s, " << i * 200 << " ms after it showed";
    Sleep(200);
  }
}

TEST(LongTextsAtStartTest, ALinkNamedWithAHundredThousandCharactersLeavesTheWindowAnswering) {
  PexoProgram program(kShownConf);
  ASSERT_TRUE(program.copied());
  {
    LinkStore store;
    ASSERT_TRUE(store.Open(program.File(L"db\\link.db")));
    auto tag = store.topGroups.at(0)->tags.at(0);
    for (const std::wstring& name : {LongText(100000, L" "), std::wstring(L"短名字"), LongText(100000, L"\r\n")}) {
      auto link = std::make_shared<Link>();
      link->NAME = name;
      link->TYPE = kLinkProgram;
      link->PATH = L"C:\\windows\\notepad.exe";
      ASSERT_TRUE(store.AddLink(tag, link));
    }
  }
  HWND main = nullptr;
  ASSERT_NO_FATAL_FAILURE(ExpectAnsweringWindow(program, &main));
  EXPECT_EQ(program.CloseAndWait(main), 0u);
  LinkStore store;
  ASSERT_TRUE(store.Open(program.File(L"db\\link.db")));
  ASSERT_EQ(store.topGroups.at(0)->tags.at(0)->links.size(), 3u);
  EXPECT_EQ(store.topGroups.at(0)->tags.at(0)->links[0]->NAME, LongText(100000, L" "));
}

TEST(LongTextsAtStartTest, ANoteOfSixHundredThousandCharactersLeavesTheWindowAnsweringAndClosesAtOnceUnwritten) {
  PexoProgram program(kShownConf);
  ASSERT_TRUE(program.copied());
  const std::wstring note = LongText(600000, L"\r\n");
  {
    LinkStore store;
    ASSERT_TRUE(store.Open(program.File(L"db\\link.db")));
    auto tag = store.topGroups.at(0)->tags.at(0);
    tag->TYPE = kGroupNote;
    tag->Content = note;
    ASSERT_TRUE(store.SaveGroup(tag));
  }
  const std::string stored = pexo_test::ReadFileBytes(program.File(L"db\\link.db"));
  HWND main = nullptr;
  ASSERT_NO_FATAL_FAILURE(ExpectAnsweringWindow(program, &main));
  // Most of the note is still to go in: the close neither waits for it nor writes
  // it. On a display without a window manager Wine spends 2 s of every exit
  // waiting for a shown window to be withdrawn, which the bound leaves room for
  // (the benchmark gives the close's own time).
  EXPECT_EQ(program.CloseAndWait(main, 4000), 0u) << "WM_CLOSE did not end the process in time";
  program.Kill();
  EXPECT_TRUE(pexo_test::ReadFileBytes(program.File(L"db\\link.db")) == stored) << "link.db was written";
  LinkStore store;
  ASSERT_TRUE(store.Open(program.File(L"db\\link.db")));
  EXPECT_EQ(store.topGroups.at(0)->tags.at(0)->Content, note) << "the note lost text";
}

// Every field a user's stored data holds, 100 000 characters long in Chinese and
// in Latin letters, in what the window shows at start: the group strip, the tag
// column (each alignment, either side), the cards (tiles and lists of each icon
// size) and their fields. The window answers throughout, closes with 0, and
// link.db keeps every row whole.
struct LongField {
  const char* name;
  std::string conf;  // added to the shown settings
  // Puts the two texts into the store's first group and its first tag.
  void (*fill)(LinkStore& store, const std::wstring& chinese, const std::wstring& latin);
};

std::wstring ChineseText(size_t length) {
  const std::wstring words = L"快速启动记事本计算器和画图工具箱常用软件";
  std::wstring text;
  while (text.size() < length) text += words;
  text.resize(length);
  return text;
}

std::wstring LatinText(size_t length) {
  std::wstring text;
  for (size_t i = 0; text.size() < length; ++i) text += static_cast<wchar_t>(L'a' + i % 26);
  return text;
}

void AddLinks(LinkStore& store, const std::wstring& chinese, const std::wstring& latin,
              void (*set)(Link& link, const std::wstring& text)) {
  for (const std::wstring* text : {&chinese, &latin}) {
    auto link = std::make_shared<Link>();
    link->NAME = L"记事本";
    link->TYPE = kLinkProgram;
    link->PATH = L"C:\\windows\\notepad.exe";
    set(*link, *text);
    store.AddLink(store.topGroups.at(0)->tags.at(0), link);
  }
}

void NameCards(LinkStore& store, const std::wstring& chinese, const std::wstring& latin, int layout, int iconSize) {
  auto tag = store.topGroups.at(0)->tags.at(0);
  tag->LAYOUT = layout;
  tag->ICONSIZE = iconSize;
  store.SaveGroup(tag);
  AddLinks(store, chinese, latin, [](Link& link, const std::wstring& text) { link.NAME = text; });
}

void NameTags(LinkStore& store, const std::wstring& chinese, const std::wstring& latin) {
  auto group = store.topGroups.at(0);
  group->tags.at(0)->NAME = chinese;
  store.SaveGroup(group->tags.at(0));
  auto second = std::make_shared<Group>();
  second->NAME = latin;
  store.AddTag(group, second);
}

const LongField kLongFields[] = {
    {"group names", "",
     [](LinkStore& store, const std::wstring& chinese, const std::wstring& latin) {
       store.topGroups.at(0)->NAME = chinese;
       store.SaveGroup(store.topGroups.at(0));
       auto second = std::make_shared<Group>();
       second->NAME = latin;
       store.AddGroup(second);
     }},
    {"tag names, centred, left side", "TagAlign=center\r\nbTagRight=0\r\n", NameTags},
    {"tag names, left-aligned, right side", "TagAlign=left\r\nbTagRight=1\r\n", NameTags},
    {"tag names, right-aligned, left side", "TagAlign=right\r\nbTagRight=0\r\n", NameTags},
    {"card names, tiles, 32", "",
     [](LinkStore& s, const std::wstring& c, const std::wstring& l) { NameCards(s, c, l, kLayoutTiles, kIconSize32); }},
    {"card names, tiles, 16", "",
     [](LinkStore& s, const std::wstring& c, const std::wstring& l) { NameCards(s, c, l, kLayoutTiles, kIconSize16); }},
    {"card names, tiles, 48", "",
     [](LinkStore& s, const std::wstring& c, const std::wstring& l) { NameCards(s, c, l, kLayoutTiles, kIconSize48); }},
    {"card names, list, 32", "",
     [](LinkStore& s, const std::wstring& c, const std::wstring& l) { NameCards(s, c, l, kLayoutList, kIconSize32); }},
    {"card names, list, 16", "",
     [](LinkStore& s, const std::wstring& c, const std::wstring& l) { NameCards(s, c, l, kLayoutList, kIconSize16); }},
    {"card names, list, 48", "",
     [](LinkStore& s, const std::wstring& c, const std::wstring& l) { NameCards(s, c, l, kLayoutList, kIconSize48); }},
    {"remarks", "",
     [](LinkStore& s, const std::wstring& c, const std::wstring& l) {
       AddLinks(s, c, l, [](Link& link, const std::wstring& text) { link.Remark = text; });
     }},
    {"paths", "",
     [](LinkStore& s, const std::wstring& c, const std::wstring& l) {
       AddLinks(s, c, l, [](Link& link, const std::wstring& text) { link.PATH = L"C:\\" + text; });
     }},
    {"parameters", "",
     [](LinkStore& s, const std::wstring& c, const std::wstring& l) {
       AddLinks(s, c, l, [](Link& link, const std::wstring& text) { link.Parameter = text; });
     }},
    {"working folders", "",
     [](LinkStore& s, const std::wstring& c, const std::wstring& l) {
       AddLinks(s, c, l, [](Link& link, const std::wstring& text) { link.WorkDir = L"C:\\" + text; });
     }},
    {"colours", "",
     [](LinkStore& s, const std::wstring& c, const std::wstring& l) {
       AddLinks(s, c, l, [](Link& link, const std::wstring& text) { link.CustomColor = L"#" + text; });
     }},
};

// Every stored text of every group, tag and link, in order.
std::vector<std::wstring> StoredTexts(const std::wstring& path) {
  std::vector<std::wstring> texts;
  LinkStore store;
  if (!store.Open(path)) return texts;
  for (const auto& group : store.topGroups) {
    texts.push_back(group->NAME);
    for (const auto& tag : group->tags) {
      texts.push_back(tag->NAME);
      texts.push_back(tag->Content);
      for (const auto& link : tag->links) {
        for (const std::wstring* field : {&link->NAME, &link->PATH, &link->Parameter, &link->WorkDir,
                                          &link->CustomColor, &link->Remark}) {
          texts.push_back(*field);
        }
      }
    }
  }
  return texts;
}

class LongFieldAtStartTest : public ::testing::TestWithParam<LongField> {};

TEST_P(LongFieldAtStartTest, TheWindowAnswersAndClosesAndLinkDbKeepsEveryRowWhole) {
  PexoProgram program(kShownConf + GetParam().conf);
  ASSERT_TRUE(program.copied());
  const std::wstring db = program.File(L"db\\link.db");
  {
    LinkStore store;
    ASSERT_TRUE(store.Open(db));
    GetParam().fill(store, ChineseText(100000), LatinText(100000));
  }
  const std::vector<std::wstring> stored = StoredTexts(db);
  ASSERT_GT(stored.size(), 2u);
  HWND main = nullptr;
  ASSERT_NO_FATAL_FAILURE(ExpectAnsweringWindow(program, &main));
  EXPECT_EQ(program.CloseAndWait(main), 0u);
  program.Kill();
  EXPECT_TRUE(StoredTexts(db) == stored) << "a row changed";
}

INSTANTIATE_TEST_SUITE_P(EachField, LongFieldAtStartTest, ::testing::ValuesIn(kLongFields),
                         [](const ::testing::TestParamInfo<LongField>& info) {
                           std::string name;
                           for (const char* c = info.param.name; *c; ++c) {
                             if (isalnum(static_cast<unsigned char>(*c))) name += *c;
                           }
                           return name;
                         });

// In the window itself: the long note goes in after the window is made, shows
// whole at the top with the caret at its start, and a save while it is still
// going in stores all of it.
class LongNoteTest : public launcher_test::MainWindowFixture {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(MainWindowFixture::SetUp());
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    auto tag = store.topGroups.at(0)->tags.at(0);
    tag->TYPE = kGroupNote;
    tag->Content = note_;
    ASSERT_TRUE(store.SaveGroup(tag));
  }
  ui::RichEdit* Editor() { return dynamic_cast<ui::RichEdit*>(window_->NoteEditor()); }
  // The window made and shown over the closed store, with no message handled yet:
  // the note waits for the timer. Returns link.db's bytes as they were.
  std::string OpenWhileTheNoteWaits() {
    GetLinkStore().Close();
    std::string stored = pexo_test::ReadFileBytes(DefaultLinkDbPath());
    GetHotKeyTable().UnregisterAll();
    window_ = new CMainWnd(GetModuleHandleW(nullptr));
    hwnd_ = window_->Create(nullptr, L"Pexo", WS_POPUP, WS_EX_TOOLWINDOW, false);
    if (hwnd_) ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    return stored;
  }

  const std::wstring note_ = LongText(600000, L"\r\n");
};

TEST_F(LongNoteTest, TheNoteShowsWholeAtTheTopWithTheCaretAtItsStart) {
  ASSERT_NO_FATAL_FAILURE(OpenWindowOverStore());
  ASSERT_NE(Editor(), nullptr);
  EXPECT_EQ(window_->LinkTabBox()->GetCurSel(), 1);
  EXPECT_TRUE(window_test::PumpUntil([&] { return !window_->IsNoteFilling(); }, 20000));
  EXPECT_EQ(Editor()->GetText(), EditorForm(note_));
  long start = -1;
  long end = -1;
  Editor()->GetSel(start, end);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 0);
  POINT view = {-1, -1};
  Editor()->TxSendMessage(EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&view), nullptr);
  EXPECT_EQ(view.y, 0) << "the view followed the pieces to the end";
}

TEST_F(LongNoteTest, LeftUnchangedWhileItGoesInItIsNotWrittenAndATypedChangeIsSavedWithAllOfIt) {
  const std::string stored = OpenWhileTheNoteWaits();
  ASSERT_NE(hwnd_, nullptr);
  ASSERT_NE(Editor(), nullptr);
  ASSERT_TRUE(window_->IsNoteFilling()) << "a note this long went in at once";
  EXPECT_GE(Editor()->GetMaxChar(), static_cast<int>(note_.size())) << "the editor's limit would cut the note";
  EXPECT_EQ(window_->NoteText(), EditorForm(note_)) << "the note reads whole while it goes in";

  Editor()->SetFocus();
  window_->SetFocusControl(nullptr);  // left without a change
  EXPECT_TRUE(window_->IsNoteFilling()) << "leaving waited for the rest";
  ShowWindow(hwnd_, SW_HIDE);
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  EXPECT_TRUE(pexo_test::ReadFileBytes(DefaultLinkDbPath()) == stored) << "an unchanged note was written";

  // Typed at the start of what shows so far, then left: the rest follows in the store.
  Editor()->SetFocus();
  SendMessageW(hwnd_, WM_CHAR, L'新', 1);
  ASSERT_TRUE(window_->IsNoteFilling());
  window_->SetFocusControl(nullptr);
  EXPECT_TRUE(window_->IsNoteFilling()) << "saving waited for the rest";
  const std::wstring typed = L"新" + EditorForm(note_);
  {
    LinkStore reloaded;
    ASSERT_TRUE(reloaded.Open(DefaultLinkDbPath()));
    EXPECT_TRUE(reloaded.topGroups.at(0)->tags.at(0)->Content == typed) << "the saved note is not whole";
  }
  // The editor still takes the rest after the typed change.
  ASSERT_TRUE(window_test::PumpUntil([&] { return !window_->IsNoteFilling(); }, 120000));
  EXPECT_TRUE(Editor()->GetText() == typed);
}

// Ctrl+End while the note goes in means the end of all of it: what is typed
// after it goes after the whole note, and is stored with it.
TEST_F(LongNoteTest, CtrlEndWhileItGoesInReachesTheWholeNote) {
  OpenWhileTheNoteWaits();
  ASSERT_NE(hwnd_, nullptr);
  ASSERT_NE(Editor(), nullptr);
  ASSERT_TRUE(window_->IsNoteFilling()) << "a note this long went in at once";
  Editor()->SetFocus();
  BYTE state[256] = {};
  GetKeyboardState(state);
  state[VK_CONTROL] = 0x80;
  SetKeyboardState(state);
  SendMessageW(hwnd_, WM_KEYDOWN, VK_END, 1);
  state[VK_CONTROL] = 0;
  SetKeyboardState(state);
  EXPECT_FALSE(window_->IsNoteFilling()) << "Ctrl+End left the rest for later";
  SendMessageW(hwnd_, WM_CHAR, L'尾', 1);
  const std::wstring typed = EditorForm(note_) + L"尾";
  EXPECT_TRUE(window_->NoteText() == typed) << "the typed character is not at the note's end";
  window_->SetFocusControl(nullptr);
  LinkStore reloaded;
  ASSERT_TRUE(reloaded.Open(DefaultLinkDbPath()));
  EXPECT_TRUE(reloaded.topGroups.at(0)->tags.at(0)->Content == typed) << "the stored note is not the typed one";
}

// Another tag chosen while the note goes in: the rest stops going into an editor
// no longer shown, nothing is written, and the note comes back whole.
TEST_F(LongNoteTest, ACardTagChosenWhileItGoesInStopsItAndTheNoteComesBackWhole) {
  ASSERT_TRUE(GetLinkStore().AddTag(GetLinkStore().topGroups.at(0), launcher_test::NewTag(L"卡片")));
  ASSERT_EQ(GetLinkStore().topGroups.at(0)->tags.at(1)->TYPE, kGroupOrdinary);
  const std::string stored = OpenWhileTheNoteWaits();
  ASSERT_NE(hwnd_, nullptr);
  ASSERT_TRUE(window_->IsNoteFilling()) << "a note this long went in at once";
  window_->TagList()->SelectItem(1, false, true);
  EXPECT_EQ(window_->LinkTabBox()->GetCurSel(), 0);
  EXPECT_FALSE(window_->IsNoteFilling()) << "the note went on going in under the cards";
  EXPECT_TRUE(pexo_test::ReadFileBytes(DefaultLinkDbPath()) == stored) << "an unchanged note was written";

  window_->TagList()->SelectItem(0, false, true);
  EXPECT_EQ(window_->LinkTabBox()->GetCurSel(), 1);
  EXPECT_EQ(window_->NoteText(), EditorForm(note_)) << "the note reads whole while it goes in again";
  ASSERT_TRUE(window_test::PumpUntil([&] { return !window_->IsNoteFilling(); }, 120000));
  EXPECT_TRUE(Editor()->GetText() == EditorForm(note_));
}

// A note of more than one slice, as the window shows it once it has gone in:
// looking at it, clicking into it and leaving it by every road writes nothing,
// while a typed change is stored, and a store that refuses it says so.
class NoteTest : public launcher_test::MainWindowFixture {
 protected:
  NoteTest() : MainWindowFixture(/*inFront=*/true) {}
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(MainWindowFixture::SetUp());
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    auto group = store.topGroups.at(0);
    auto tag = group->tags.at(0);
    tag->TYPE = kGroupNote;
    tag->Content = note_;
    ASSERT_TRUE(store.SaveGroup(tag));
    auto other = std::make_shared<Group>();
    other->NAME = L"其他";
    ASSERT_TRUE(store.AddTag(group, other));
    store.Close();
    stored_ = pexo_test::ReadFileBytes(DefaultLinkDbPath());
    ASSERT_FALSE(stored_.empty());
    ASSERT_NO_FATAL_FAILURE(Open());
    ASSERT_NE(window_->NoteTagId(), 0) << "the note is shown at start";
    ASSERT_TRUE(window_test::PumpUntil([&] { return !window_->IsNoteFilling(); }, 60000));
    window_test::PaintNow(hwnd_);
  }
  ui::RichEdit* Editor() { return dynamic_cast<ui::RichEdit*>(window_->NoteEditor()); }
  void Click(const RECT& pos) {
    const POINT at = {(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2};
    POINT screen = at;
    ClientToScreen(hwnd_, &screen);
    SetCursorPos(screen.x, screen.y);
    PostMessageW(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    PostMessageW(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageW(hwnd_, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  }
  void ClickIntoTheNote() {
    Click(Editor()->GetPos());
    ASSERT_TRUE(window_test::PumpUntil([&] { return Editor()->IsFocused(); }, 5000)) << "the click gave no focus";
  }
  void ClickTag(int index) {
    Click(window_->TagList()->GetItemAt(static_cast<size_t>(index))->GetPos());
    ASSERT_TRUE(window_test::PumpUntil([&] { return window_->TagList()->GetCurSel() == index; }, 5000));
    window_test::PaintNow(hwnd_);
  }
  std::string StoredBytes() {
    Close();
    return pexo_test::ReadFileBytes(DefaultLinkDbPath());
  }

  const std::wstring note_ = LongText(40000, L"\r\n");
  std::string stored_;
};

TEST_F(NoteTest, OnlyLookedAtOrClickedIntoAndLeftItLeavesLinkDbAsItWas) {
  EXPECT_EQ(Editor()->GetText(), EditorForm(note_));
  ASSERT_NO_FATAL_FAILURE(ClickTag(1));
  ASSERT_NO_FATAL_FAILURE(ClickTag(0));
  ASSERT_NO_FATAL_FAILURE(ClickIntoTheNote());
  ASSERT_NO_FATAL_FAILURE(ClickTag(1));  // the editor loses the focus as the note is left
  ASSERT_NO_FATAL_FAILURE(ClickTag(0));
  ASSERT_NO_FATAL_FAILURE(ClickIntoTheNote());
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = keys['S'] = 0x80;
  SetKeyboardState(keys);
  window_->SendControlEvent(window_->NoteEditor(), ui::keydown, 'S');
  keys[VK_CONTROL] = keys['S'] = 0;
  SetKeyboardState(keys);
  ShowWindow(hwnd_, SW_HIDE);
  EXPECT_TRUE(StoredBytes() == stored_) << "a note nobody changed was written";
}

TEST_F(NoteTest, ARefusedChangeIsKeptWholeShownAgainAndStoredOnceTheFileIsFree) {
  const int32_t noteId = window_->NoteTagId();
  const std::shared_ptr<Group> note = GetLinkStore().topGroups.at(0)->tags.at(0);
  ASSERT_NO_FATAL_FAILURE(ClickIntoTheNote());
  Editor()->SetSel(0, 0);
  SendMessageW(hwnd_, WM_CHAR, L'甲', 1);
  // Another connection holds link.db in a write transaction.
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open16(DefaultLinkDbPath().c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  ASSERT_NO_FATAL_FAILURE(ClickTag(1));
  EXPECT_EQ(window_->LastNotice(), L"保存失败，请检查数据库文件");
  EXPECT_EQ(note->Content, note_) << "memory holds what the file holds";
  EXPECT_TRUE(window_->HasUnsavedNote(noteId)) << "the refused text was dropped";

  // Shown again, and left again while most of it is still going in: the text
  // kept is the whole one, the part not in the editor yet included.
  ASSERT_NO_FATAL_FAILURE(ClickTag(0));
  EXPECT_TRUE(window_->IsNoteFilling() || Editor()->GetText() == L"甲" + EditorForm(note_));
  EXPECT_FALSE(window_->HasUnsavedNote(noteId)) << "the editor holds it while it is shown";
  ASSERT_NO_FATAL_FAILURE(ClickTag(1));
  EXPECT_TRUE(window_->HasUnsavedNote(noteId));
  ASSERT_NO_FATAL_FAILURE(ClickTag(0));
  ASSERT_TRUE(window_test::PumpUntil([&] { return !window_->IsNoteFilling(); }, 60000));
  EXPECT_TRUE(Editor()->GetText() == L"甲" + EditorForm(note_)) << "the kept text is shown again whole";
  EXPECT_TRUE(Editor()->IsModified()) << "shown again as a change still to be stored";

  ASSERT_EQ(sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(other);
  ASSERT_NO_FATAL_FAILURE(ClickTag(1));  // the file is free: leaving stores it
  EXPECT_FALSE(window_->HasUnsavedNote(noteId));
  EXPECT_TRUE(note->Content == L"甲" + EditorForm(note_));
  Close();
  LinkStore reloaded;
  ASSERT_TRUE(reloaded.Open(DefaultLinkDbPath()));
  EXPECT_TRUE(reloaded.topGroups.at(0)->tags.at(0)->Content == L"甲" + EditorForm(note_)) << "the typed change";
}

// The tag column draws a name by what its item shows: a name of 100 000
// characters looks exactly as one of 60 with the same start, in each alignment.
class LongTagNameTest : public launcher_test::MainWindowFixture {
 protected:
  // The pixels of the first tag's item as the window painted them.
  std::vector<DWORD> FirstTagPicture(const std::wstring& name, const std::wstring& align) {
    Settings& settings = launcher_test::QuietWindowSettings();
    settings.TagAlign = align;
    {
      LinkStore& store = GetLinkStore();
      EXPECT_TRUE(store.Open());
      auto tag = store.topGroups.at(0)->tags.at(0);
      tag->NAME = name;
      EXPECT_TRUE(store.SaveGroup(tag));
      auto second = std::make_shared<Group>();
      second->NAME = L"其他";
      EXPECT_TRUE(store.AddTag(store.topGroups.at(0), second));
    }
    OpenWindowOverStore();
    if (!window_ || !window_->TagList() || window_->TagList()->GetCount() < 2) return {};
    window_->TagList()->SelectItem(1, false, true);  // the first one in its plain look
    window_test::PaintNow(hwnd_);
    const RECT item = window_->TagList()->GetItemAt(0)->GetPos();
    ui::IRenderContext* context = window_->GetRenderContext();
    std::vector<DWORD> pixels;
    if (!context || !context->GetBits()) return pixels;
    const auto* bits = reinterpret_cast<const DWORD*>(context->GetBits());
    for (LONG y = item.top; y < item.bottom; ++y) {
      for (LONG x = item.left; x < item.right; ++x) pixels.push_back(bits[y * context->GetWidth() + x]);
    }
    Close();
    launcher_test::RemoveStoreFiles();
    return pixels;
  }
};

TEST_F(LongTagNameTest, AHundredThousandCharacterNameShowsAsASixtyCharacterOneWithTheSameStart) {
  const std::wstring name = ChineseText(100000);
  for (const wchar_t* align : {L"center", L"left", L"right"}) {
    SCOPED_TRACE(std::string(align, align + wcslen(align)));
    const std::vector<DWORD> shortName = FirstTagPicture(name.substr(0, 60), align);
    ASSERT_FALSE(shortName.empty());
    const std::vector<DWORD> longName = FirstTagPicture(name, align);
    ASSERT_EQ(longName.size(), shortName.size());
    EXPECT_TRUE(longName == shortName) << "the long name is drawn otherwise";
    // Not an empty item: the name is drawn.
    EXPECT_NE(std::count(shortName.begin(), shortName.end(), shortName.front()),
              static_cast<std::ptrdiff_t>(shortName.size()));
  }
}

}  // namespace
