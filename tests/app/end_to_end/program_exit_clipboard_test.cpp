// Text copied from one of the program's fields (the link editor's name, the
// search field, a note) and the program closed from outside or through the
// tray's "退出": the process ends with 0, Wine's heap checking reports nothing
// (see CMakeLists.txt), and the copied text is still on the clipboard after the
// process has gone, as other programs leave what they copied.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "data/group.h"
#include "data/link.h"
#include "data/link_store.h"
#include "tests/app/end_to_end/end_to_end_driver.h"
#include "tests/support/clipboard_text.h"
#include "tests/support/pexo_program.h"
#include "tests/support/test_support.h"

namespace {

using pexo_test::ClipboardText;
using pexo_test::PexoProgram;
using pexo_test::PutClipboardText;
using pexo_test::WaitUntil;

const char kVisibleConf[] =
    "[main]\r\nbHideOnStart=0\r\nbAutoDock=0\r\nbHideNotify=1\r\nbTopMost=1\r\nbShowDate=0\r\nTheme=\r\n"
    "nPosX=10\r\nnPosY=10\r\nnWidth=388\r\nnHeight=600\r\nnCurGroup=0\r\nnCurTag=0\r\n";

constexpr POINT kFirstCard = e2e::CardCentre(0);
// Inside the card area, where the note editor of a note tag lies.
constexpr POINT kCardArea = {250, 300};
// The title bar's search button.
constexpr POINT kSearchButton = {388 - 85, 21};
// The link editor's name field, below its caption.
constexpr POINT kEditorNameField = {250, 40 + 14 + 15};

const wchar_t kLinkName[] = L"复制的名称 copied name";
const wchar_t kSearchText[] = L"searched words";
const wchar_t kNoteText[] = L"便签里复制的文字";
const wchar_t kBefore[] = L"on the clipboard before";

enum class Field { kLinkEditor, kSearch, kNote };
enum class CloseBy { kOutside, kTray };

const char* FieldName(Field field) {
  switch (field) {
    case Field::kLinkEditor: return "the link editor's name";
    case Field::kSearch: return "the search field";
    case Field::kNote: return "a note";
  }
  return "";
}

// The first tag holds one link, or is a note.
bool PrepareStore(const PexoProgram& program, Field field) {
  LinkStore store;
  if (!store.Open(program.File(L"db\\link.db")) || store.topGroups.empty() || store.topGroups[0]->tags.empty()) {
    return false;
  }
  auto tag = store.topGroups[0]->tags[0];
  if (field == Field::kNote) {
    tag->TYPE = kGroupNote;
    tag->Content = kNoteText;
    return store.SaveGroup(tag);
  }
  auto link = std::make_shared<Link>();
  link->NAME = kLinkName;
  link->TYPE = kLinkProgram;
  link->PATH = program.File(L"Pexo.exe");
  return store.AddLink(tag, link);
}

// Everything in the focused field selected and copied with the keys.
void SelectAllAndCopy() {
  e2e::PressKey('A', {VK_CONTROL});
  e2e::PressKey('C', {VK_CONTROL});
}

// Copies the field's text the way a user does; the text expected on the clipboard.
std::wstring CopyFrom(const PexoProgram& program, HWND main, Field field) {
  const DWORD pid = program.processId();
  switch (field) {
    case Field::kLinkEditor: {
      // Card menu → 编辑, a click into the name, select and copy, then the editor cancelled.
      if (!e2e::ChooseMenu(pid, main, kFirstCard, {{7, 2}})) {
        ADD_FAILURE() << "no card menu; " << e2e::LastMenuNote();
        return {};
      }
      HWND editor = e2e::WaitVisible(pid, L"EditWnd");
      if (!editor) {
        ADD_FAILURE() << "no link editor";
        return {};
      }
      if (!e2e::WaitSettled(editor)) ADD_FAILURE() << "the link editor never settled";
      e2e::Click(editor, kEditorNameField);
      SelectAllAndCopy();
      if (!WaitUntil([] { return ClipboardText() == kLinkName; }, 5000)) ADD_FAILURE() << "nothing was copied";
      e2e::PressKey(VK_ESCAPE);
      EXPECT_TRUE(e2e::WaitGone(pid, L"EditWnd")) << "the editor stayed";
      return kLinkName;
    }
    case Field::kSearch: {
      e2e::Click(main, kSearchButton, false, 200);
      HWND search = e2e::WaitVisible(pid, L"SearchWnd");
      if (!search) {
        ADD_FAILURE() << "no search window";
        return {};
      }
      if (!e2e::WaitReadyForKeys(search)) ADD_FAILURE() << "the search window never took the keys";
      e2e::TypeText(kSearchText);
      SelectAllAndCopy();
      if (!WaitUntil([] { return ClipboardText() == kSearchText; }, 5000)) ADD_FAILURE() << "nothing was copied";
      return kSearchText;
    }
    case Field::kNote:
      e2e::Click(main, kCardArea);
      SelectAllAndCopy();
      if (!WaitUntil([] { return ClipboardText() == kNoteText; }, 5000)) ADD_FAILURE() << "nothing was copied";
      return kNoteText;
  }
  return {};
}

class CopyThenExitTest : public ::testing::TestWithParam<std::tuple<Field, CloseBy>> {};

TEST_P(CopyThenExitTest, TheProgramEndsWithZeroAndTheCopiedTextStaysOnTheClipboard) {
  const auto [field, closeBy] = GetParam();
  SCOPED_TRACE(FieldName(field));
  PexoProgram program(kVisibleConf);
  ASSERT_TRUE(program.copied());
  ASSERT_TRUE(PrepareStore(program, field));
  ASSERT_TRUE(PutClipboardText(kBefore));
  HWND main = e2e::StartShown(program);
  ASSERT_NE(main, nullptr);
  const DWORD pid = program.processId();

  const std::wstring copied = CopyFrom(program, main, field);
  ASSERT_FALSE(HasFailure());
  if (closeBy == CloseBy::kOutside) {
    PostMessageW(main, WM_CLOSE, 0, 0);
  } else {
    // The tray answers once no dialog holds the window disabled.
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, 5000));
    SetForegroundWindow(main);
    std::string why;
    ASSERT_TRUE(e2e::ExitThroughTray(pid, main, why)) << why;
  }
  DWORD code = 1;
  ASSERT_TRUE(program.WaitExit(20000, &code)) << "still running after the close";
  EXPECT_EQ(code, 0u) << "the process did not end cleanly (0xC0000005 is a crash)";
  EXPECT_EQ(ClipboardText(), copied) << "what was copied left the clipboard with the program";
}

INSTANTIATE_TEST_SUITE_P(EveryField, CopyThenExitTest,
                         ::testing::Combine(::testing::Values(Field::kLinkEditor, Field::kSearch, Field::kNote),
                                            ::testing::Values(CloseBy::kOutside, CloseBy::kTray)));

}  // namespace
