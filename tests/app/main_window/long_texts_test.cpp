// Texts as long as a user's stored data can make them, in the tag shown at start:
// a link named with 100 000 characters and a note of 600 000. The real program
// shows its window and keeps answering; the note still shows whole and nothing
// of it is lost.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/main_window/main_wnd.h"
#include "data/link_store.h"
#include "tests/app/support/launcher_test_support.h"
#include "tests/support/pexo_program.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/controls/list_box.h"
#include "ui/controls/rich_edit.h"
#include "ui/core/tab_box.h"

namespace {

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

// The note as the editor holds it: paragraphs end with a lone CR.
std::wstring EditorForm(std::wstring text) {
  for (size_t at = 0; (at = text.find(L"\r\n", at)) != std::wstring::npos;) text.erase(at + 1, 1);
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

TEST(LongTextsAtStartTest, ANoteOfSixHundredThousandCharactersLeavesTheWindowAnsweringAndIsKeptWhole) {
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
  HWND main = nullptr;
  ASSERT_NO_FATAL_FAILURE(ExpectAnsweringWindow(program, &main));
  EXPECT_EQ(program.CloseAndWait(main), 0u);
  LinkStore store;
  ASSERT_TRUE(store.Open(program.File(L"db\\link.db")));
  EXPECT_EQ(EditorForm(store.topGroups.at(0)->tags.at(0)->Content), EditorForm(note)) << "the note lost text";
}

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

TEST_F(LongNoteTest, LeavingTheEditorWhileTheNoteGoesInSavesAllOfIt) {
  // Made and shown, with no message handled yet: the note's pieces wait for the timer.
  GetLinkStore().Close();
  GetHotKeyTable().UnregisterAll();
  window_ = new CMainWnd(GetModuleHandleW(nullptr));
  hwnd_ = window_->Create(nullptr, L"Pexo", WS_POPUP, WS_EX_TOOLWINDOW, false);
  ASSERT_NE(hwnd_, nullptr);
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  ASSERT_NE(Editor(), nullptr);
  ASSERT_TRUE(window_->IsNoteFilling()) << "a note this long was set in one go";
  Editor()->SetFocus();
  window_->SetFocusControl(nullptr);  // the editor's kill-focus saves the note
  EXPECT_FALSE(window_->IsNoteFilling());
  EXPECT_EQ(Editor()->GetText(), EditorForm(note_));
  GetLinkStore().Close();
  LinkStore stored;
  ASSERT_TRUE(stored.Open(DefaultLinkDbPath()));
  EXPECT_EQ(EditorForm(stored.topGroups.at(0)->tags.at(0)->Content), EditorForm(note_));
}

}  // namespace
