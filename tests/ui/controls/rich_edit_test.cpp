// The rich edit in a real window built from skin XML: text typed through window
// messages reaches the platform's text services and is read back, the caret and
// selection move with keys and the mouse, the clipboard and undo work, and the
// number-only, password, prompt, return and tab behaviours hold.
#include "ui/controls/rich_edit.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>
#include <imm.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/clipboard_text.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/stock_controls.h"
#include "ui/controls/txt_win_host.h"
#include "ui/core/box.h"
#include "ui/core/scroll_bar.h"
#include "ui/core/skin_builder.h"

namespace {

using pexo_test::ClipboardText;
using pexo_test::PutClipboardText;
using window_test::PaintNow;
using window_test::PumpFor;
using window_test::PumpMessages;
using window_test::PumpUntil;

::testing::Environment* const gdiplus =
    ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

constexpr const wchar_t* kSkin = LR"(<?xml version="1.0" encoding="utf-8"?>
<Window>
  <VBox bkcolor="white" padding="10,10,10,10" childmargin="8">
    <RichEdit name="edit" width="300" height="28" font="edit" multiline="false" autohscroll="true"
              normaltextcolor="ink" caretcolor="#FF0000FF"/>
    <RichEdit name="number" width="120" height="28" font="edit" multiline="false" number="true"/>
    <RichEdit name="secret" width="120" height="28" font="edit" multiline="false" password="true"/>
    <RichEdit name="search" width="200" height="28" font="edit" multiline="false"
              prompttext="搜索链接" promptcolor="#FF3060C0" wantreturnmsg="true" wanttab="false"/>
    <RichEdit name="memo" width="200" height="60" font="edit" vscrollbar="true" autovscroll="true"/>
    <HBox height="28">
      <RichEdit name="auto" width="auto" height="28" font="edit" multiline="false" autohscroll="true"
                text="Hello"/>
    </HBox>
  </VBox>
</Window>)";

// Sets or clears keys in the thread's keyboard state, which the text services
// read with GetKeyState while they handle a key.
void SetKeys(std::initializer_list<int> keys, bool down) {
  BYTE state[256] = {};
  GetKeyboardState(state);
  for (int key : keys) state[key] = down ? 0x80 : 0;
  SetKeyboardState(state);
}

class RichEditTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The text services put text on the clipboard through OLE, as the program
    // does once it has initialised OLE at start-up.
    OleInitialize(nullptr);
    ui::RegisterStockControls();
    ui::UiGlobals::AddFont(L"edit", L"Microsoft YaHei", 16, false, false, false, false, true, 0);
    ui::UiGlobals::AddColor(L"white", L"#FFFFFFFF");
    ui::UiGlobals::AddColor(L"ink", L"#FF202020");
  }

  void SetUp() override {
    hwnd = window.CreatePlain(420, 320);
    ui::SkinBuilder builder;
    root = builder.Create(kSkin, nullptr, &window);
    ASSERT_NE(root, nullptr);
    window.AttachRoot(root);
    PaintNow(hwnd);
    edit = Find(L"edit");
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(edit->GetHost(), nullptr) << "the text services could not be created";
  }
  void TearDown() override {
    SetKeys({VK_SHIFT, VK_CONTROL, VK_TAB}, false);
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    PumpMessages();
  }

  ui::RichEdit* Find(const wchar_t* name) {
    return dynamic_cast<ui::RichEdit*>(window.FindControlByName(name));
  }

  void Focus(ui::RichEdit* field) {
    field->SetFocus();
    PumpMessages();
  }
  // A typed character, as TranslateMessage delivers it.
  void Type(const std::wstring& text) {
    for (wchar_t ch : text) PostMessageW(hwnd, WM_CHAR, ch, 1);
    PumpMessages();
  }
  void Key(WORD key) {
    PostMessageW(hwnd, WM_KEYDOWN, key, 1);
    PostMessageW(hwnd, WM_KEYUP, key, 0xC0000001);
    PumpMessages();
  }
  void CtrlKey(WORD key) {
    SetKeys({VK_CONTROL}, true);
    Key(key);
    SetKeys({VK_CONTROL}, false);
  }

  window_test::TestWindow window;
  HWND hwnd = nullptr;
  ui::Control* root = nullptr;
  ui::RichEdit* edit = nullptr;
};

TEST_F(RichEditTest, TypedAsciiAndChineseTextIsReadBack) {
  Focus(edit);
  int changes = 0;
  edit->AttachEvent(ui::textchange, [&](ui::EventArgs*) {
    ++changes;
    return true;
  });
  Type(L"Hello, ");
  // Chinese arrives from an input method as WM_IME_CHAR, which the window's
  // default handling turns into WM_CHAR, and also directly as WM_CHAR.
  PostMessageW(hwnd, WM_IME_CHAR, L'中', 1);
  PostMessageW(hwnd, WM_IME_CHAR, L'文', 1);
  PumpMessages();
  Type(L"输入");
  EXPECT_EQ(edit->GetText(), L"Hello, 中文输入");
  EXPECT_EQ(edit->GetTextLength(), 11);
  EXPECT_EQ(edit->GetUTF8Text(), "Hello, \xE4\xB8\xAD\xE6\x96\x87\xE8\xBE\x93\xE5\x85\xA5");
  EXPECT_GE(changes, 11);
}

TEST_F(RichEditTest, CaretKeysAndShiftArrowsMoveAndSelect) {
  Focus(edit);
  Type(L"abc中文def");
  long start = -1, end = -1;
  edit->GetSel(start, end);
  EXPECT_EQ(end, 8);
  Key(VK_HOME);
  edit->GetSel(start, end);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 0);
  Key(VK_RIGHT);
  Key(VK_RIGHT);
  Key(VK_RIGHT);
  SetKeys({VK_SHIFT}, true);
  Key(VK_RIGHT);
  Key(VK_RIGHT);
  SetKeys({VK_SHIFT}, false);
  edit->GetSel(start, end);
  EXPECT_EQ(start, 3);
  EXPECT_EQ(end, 5);
  EXPECT_EQ(edit->GetSelText(), L"中文");
  EXPECT_EQ(edit->GetTextRange(2, 6), L"c中文d");
  // Typing replaces the selection; Backspace and Delete edit around the caret.
  Type(L"X");
  EXPECT_EQ(edit->GetText(), L"abcXdef");
  Key(VK_BACK);
  Type(std::wstring(1, L'\b'));
  Key(VK_DELETE);
  EXPECT_EQ(edit->GetText().find(L"X"), std::wstring::npos);
  // With a selection there is no caret; after a plain move there is one.
  EXPECT_TRUE(edit->IsCaretShown() || edit->GetSelText().empty());
}

TEST_F(RichEditTest, MouseDragSelectsAndDoubleClickSelectsAWord) {
  edit->SetText(L"alpha beta gamma");
  PaintNow(hwnd);
  const RECT pos = edit->GetPos();
  const int y = (pos.top + pos.bottom) / 2;
  PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pos.left + 2, y));
  PostMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pos.left + 60, y));
  PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(pos.left + 60, y));
  PumpMessages();
  EXPECT_EQ(window.GetFocusControl(), edit);
  const std::wstring dragged = edit->GetSelText();
  EXPECT_FALSE(dragged.empty());
  EXPECT_EQ(std::wstring(L"alpha beta gamma").rfind(dragged, 0), 0u) << "selection starts at the click";
  EXPECT_FALSE(edit->IsCaretShown()) << "no caret while text is selected";
  // A click without a drag (away from the last one, so it is no double click)
  // puts the caret there.
  PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pos.left + 40, y));
  PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(pos.left + 40, y));
  PumpMessages();
  EXPECT_TRUE(edit->GetSelText().empty());
  EXPECT_TRUE(edit->IsCaretShown());
}

TEST_F(RichEditTest, CopyCutPasteAndUndoGoThroughTheClipboard) {
  Focus(edit);
  Type(L"copy me");
  CtrlKey('A');
  EXPECT_EQ(edit->GetSelText(), L"copy me");
  CtrlKey('C');
  EXPECT_EQ(ClipboardText(), L"copy me");
  edit->SetSel(0, 5);
  CtrlKey('X');
  EXPECT_EQ(edit->GetText(), L"me");
  EXPECT_EQ(ClipboardText(), L"copy ");
  CtrlKey('Z');
  EXPECT_EQ(edit->GetText(), L"copy me");
  EXPECT_TRUE(edit->Redo());
  EXPECT_EQ(edit->GetText(), L"me");
  EXPECT_TRUE(edit->Undo());
  EXPECT_EQ(edit->GetText(), L"copy me");

  // Chinese text from another program pastes as it stands, and undoes.
  ASSERT_TRUE(PutClipboardText(L"中文剪贴板"));
  Key(VK_END);
  CtrlKey('V');
  const std::wstring pasted = edit->GetText();
  EXPECT_NE(pasted.find(L"中文剪贴板"), std::wstring::npos);
  EXPECT_TRUE(edit->Undo());
  EXPECT_EQ(edit->GetText(), L"copy me");
  if (pexo_test::RunningUnderWine() && pasted == L"中文剪贴板") {
    GTEST_SKIP() << "Wine's text services replace the whole text on paste instead of the selection";
  }
  EXPECT_EQ(pasted, L"copy me中文剪贴板");
  edit->SetText(L"复制");
  edit->SetSelAll();
  edit->Copy();
  if (pexo_test::RunningUnderWine() && ClipboardText().empty()) {
    GTEST_SKIP() << "Wine's text services put an empty text on the clipboard when copying "
                    "non-ASCII text";
  }
  EXPECT_EQ(ClipboardText(), L"复制");
}

TEST_F(RichEditTest, NumberOnlyFieldKeepsDigitsAndEditingKeysAndLeavesTheClipboardAlone) {
  ui::RichEdit* number = Find(L"number");
  ASSERT_NE(number, nullptr);
  EXPECT_TRUE(number->IsNumberOnly());
  EXPECT_TRUE(number->GetStyle() & ui::RichEdit::kStyleNoScrollOrNumber);
  Focus(number);
  Type(L"a1b2c-3 中");
  EXPECT_EQ(number->GetText(), L"123");
  // Backspace arrives as a control character and must still edit.
  Key(VK_BACK);
  EXPECT_EQ(number->GetText(), L"12");
  // Ctrl+A as a character (0x01) is not dropped either: select all works.
  CtrlKey('A');
  Type(std::wstring(1, L'\x01'));
  EXPECT_EQ(number->GetSelText(), L"12");
  Key(VK_END);

  ASSERT_TRUE(PutClipboardText(L"tel: 555-01x9"));
  CtrlKey('V');
  EXPECT_EQ(number->GetText(), L"12555019");
  EXPECT_EQ(ClipboardText(), L"tel: 555-01x9") << "the user's clipboard is not rewritten";
  // Shift+Insert pastes too, through the same filter.
  SetKeys({VK_SHIFT}, true);
  Key(VK_INSERT);
  SetKeys({VK_SHIFT}, false);
  EXPECT_EQ(number->GetText(), L"12555019555019");
  ASSERT_TRUE(PutClipboardText(L"no digits here"));
  CtrlKey('V');
  EXPECT_EQ(number->GetText(), L"12555019555019");
  EXPECT_TRUE(number->Undo());
  EXPECT_EQ(number->GetText(), L"12555019");
}

TEST_F(RichEditTest, PasswordFieldHidesItsTextButGivesItToTheProgram) {
  ui::RichEdit* secret = Find(L"secret");
  ASSERT_NE(secret, nullptr);
  EXPECT_TRUE(secret->IsPassword());
  Focus(secret);
  Type(L"p4ss密码");
  EXPECT_EQ(secret->GetText(), L"p4ss密码");
  TCHAR shown = 0;
  secret->GetHost()->TxGetPasswordChar(&shown);
  EXPECT_EQ(shown, L'*');
  DWORD bits = 0;
  secret->GetHost()->TxGetPropertyBits(0xFFFFFFFF, &bits);
  EXPECT_TRUE(bits & TXTBIT_USEPASSWORD);
  EXPECT_FALSE(bits & TXTBIT_MULTILINE);
  TCHAR plain = 1;
  edit->GetHost()->TxGetPasswordChar(&plain);
  EXPECT_EQ(plain, 0);
}

// Counts the clearly blue pixels inside a rectangle of the window's surface
// (smoothed text has few pixels of its exact colour).
int CountBluePixels(ui::Window& window, const RECT& rc) {
  ui::IRenderContext* surface = window.GetRenderContext();
  int count = 0;
  for (int y = rc.top; y < rc.bottom; ++y) {
    for (int x = rc.left; x < rc.right; ++x) {
      const DWORD pixel = window_test::PixelAt(surface, x, y);
      const int red = (pixel >> 16) & 0xFF;
      const int blue = pixel & 0xFF;
      if (blue > red + 60) ++count;
    }
  }
  return count;
}

TEST_F(RichEditTest, PromptShowsWhileTheFieldIsEmpty) {
  ui::RichEdit* search = Find(L"search");
  ASSERT_NE(search, nullptr);
  EXPECT_EQ(search->GetPromptText(), L"搜索链接");
  PaintNow(hwnd);
  const RECT pos = search->GetPos();
  EXPECT_GT(CountBluePixels(window, pos), 10) << "prompt drawn in its colour";
  Focus(search);
  Type(L"x");
  PaintNow(hwnd);
  EXPECT_EQ(CountBluePixels(window, pos), 0) << "no prompt once there is text";
  // Emptied again, the prompt is back; a read-only field shows none.
  search->SetText(L"");
  PaintNow(hwnd);
  EXPECT_GT(CountBluePixels(window, pos), 10);
  search->SetAttribute(L"readonly", L"true");
  search->Invalidate();
  PaintNow(hwnd);
  EXPECT_EQ(CountBluePixels(window, pos), 0);
}

TEST_F(RichEditTest, ReturnAndTabBecomeEventsWhereTheFieldAsksForThem) {
  ui::RichEdit* search = Find(L"search");
  ASSERT_NE(search, nullptr);
  int returns = 0;
  int tabs = 0;
  search->AttachEvent(ui::return_, [&](ui::EventArgs*) {
    ++returns;
    return true;
  });
  search->AttachEvent(ui::tab, [&](ui::EventArgs*) {
    ++tabs;
    return true;
  });
  Focus(search);
  Type(L"query");
  Key(VK_RETURN);
  Type(L"\r");
  EXPECT_EQ(returns, 1);
  EXPECT_EQ(search->GetText(), L"query") << "a single-line field takes no line break";
  // Tab typed while the Tab key is down: the field does not keep it.
  SetKeys({VK_TAB}, true);
  Type(L"\t");
  SetKeys({VK_TAB}, false);
  EXPECT_EQ(tabs, 1);
  EXPECT_EQ(search->GetText(), L"query");

  // The memo keeps Tab and Return as text.
  ui::RichEdit* memo = Find(L"memo");
  ASSERT_NE(memo, nullptr);
  EXPECT_TRUE(memo->IsWantTab());
  Focus(memo);
  Type(L"a");
  Key(VK_RETURN);
  Type(L"\r");
  SetKeys({VK_TAB}, true);
  Type(L"\t");
  SetKeys({VK_TAB}, false);
  Type(L"b");
  const std::wstring text = memo->GetText();
  EXPECT_NE(text.find(L'\t'), std::wstring::npos) << text.c_str();
  EXPECT_NE(text.find_first_of(L"\r\n"), std::wstring::npos);
}

TEST_F(RichEditTest, FocusShowsTheCaretAndLosingItClearsSelectionAndCaret) {
  Focus(edit);
  EXPECT_EQ(edit->GetState(), ui::kControlStatePushed);
  Type(L"focus");
  EXPECT_TRUE(edit->IsCaretShown());
  const RECT caret = edit->GetCaretRect();
  const RECT pos = edit->GetPos();
  EXPECT_GT(caret.bottom - caret.top, 8);
  EXPECT_GT(caret.left, pos.left);
  EXPECT_LT(caret.left, pos.right);
  edit->SetSelAll();
  ui::RichEdit* number = Find(L"number");
  Focus(number);
  EXPECT_FALSE(edit->IsCaretShown());
  EXPECT_EQ(edit->GetState(), ui::kControlStateNormal);
  EXPECT_TRUE(edit->GetSelText().empty());
  EXPECT_TRUE(number->IsCaretShown());
}

TEST_F(RichEditTest, AFieldDisabledWhileFocusedStillLetsTheFocusGo) {
  Focus(edit);
  Type(L"停用");
  ASSERT_TRUE(edit->IsCaretShown());
  HIMC context = ImmGetContext(hwnd);
  ASSERT_NE(context, nullptr);
  EXPECT_TRUE(ImmGetOpenStatus(context)) << "the focused field opened the input method";
  edit->SetEnabled(false);
  EXPECT_EQ(edit->GetState(), ui::kControlStateDisabled);
  // A click on the window's background takes the focus away from the field.
  const RECT pos = edit->GetPos();
  const LPARAM beside = MAKELPARAM(pos.right + 40, (pos.top + pos.bottom) / 2);
  PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, beside);
  PostMessageW(hwnd, WM_LBUTTONUP, 0, beside);
  PumpMessages();
  EXPECT_NE(window.GetFocusControl(), edit);
  EXPECT_FALSE(edit->IsCaretShown());
  PumpFor(600);  // longer than a blink: the blink timer is gone too
  EXPECT_FALSE(edit->IsCaretShown());
  EXPECT_EQ(edit->GetState(), ui::kControlStateDisabled) << "it keeps its disabled look";
  EXPECT_FALSE(ImmGetOpenStatus(context)) << "the input method the field opened is closed";
  ImmReleaseContext(hwnd, context);
  // Enabled again, it takes the focus and its caret as before.
  edit->SetEnabled(true);
  Focus(edit);
  EXPECT_TRUE(edit->IsCaretShown());
  EXPECT_EQ(edit->GetText(), L"停用");
}

TEST_F(RichEditTest, AutoWidthFieldFitsItsText) {
  ui::RichEdit* autoField = Find(L"auto");
  ASSERT_NE(autoField, nullptr);
  const RECT before = autoField->GetPos();
  const int shortWidth = before.right - before.left;
  EXPECT_GT(shortWidth, 20);
  EXPECT_LT(shortWidth, 120);
  autoField->SetText(L"Hello, a much longer line of text");
  autoField->ArrangeAncestor();
  PaintNow(hwnd);
  const RECT after = autoField->GetPos();
  EXPECT_GT(after.right - after.left, shortWidth * 3);
  EXPECT_EQ(after.bottom - after.top, 28);
  // The text area is the field less its padding.
  const RECT client = autoField->GetHost()->GetClientRect();
  EXPECT_EQ(client.left, after.left);
  EXPECT_EQ(client.right, after.right);
}

TEST_F(RichEditTest, LongTextScrollsTheMemoWithItsOwnBar) {
  ui::RichEdit* memo = Find(L"memo");
  ASSERT_NE(memo, nullptr);
  ui::ScrollBar* bar = memo->GetVerticalScrollBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->GetScrollRange(), 0);
  std::wstring text;
  for (int i = 1; i <= 20; ++i) text += L"第" + std::to_wstring(i) + L"行 line\r";
  memo->SetText(text);
  PaintNow(hwnd);
  EXPECT_GT(bar->GetScrollRange(), 100);
  const RECT pos = memo->GetPos();
  const RECT client = memo->GetHost()->GetClientRect();
  EXPECT_EQ(client.right, pos.right - bar->GetFixedWidth()) << "the bar takes its width off the text";
  EXPECT_EQ(bar->GetPos().left, client.right);
  EXPECT_EQ(bar->GetPos().right, pos.right);
  // The caret went to the end of the new text, and the view with it.
  LRESULT first = -1;
  memo->TxSendMessage(EM_GETFIRSTVISIBLELINE, 0, 0, &first);
  EXPECT_GT(first, 10);
  EXPECT_EQ(bar->GetScrollPos(), bar->GetScrollRange());
  memo->HomeUp();
  memo->TxSendMessage(EM_GETFIRSTVISIBLELINE, 0, 0, &first);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(bar->GetScrollPos(), 0);
  memo->SetScrollPosY(80);
  PaintNow(hwnd);
  EXPECT_EQ(bar->GetScrollPos(), 80);
  memo->TxSendMessage(EM_GETFIRSTVISIBLELINE, 0, 0, &first);
  EXPECT_GT(first, 2);
  // Emptied again, the memo needs no bar and gives the text its full width.
  memo->SetText(L"short");
  PaintNow(hwnd);
  PaintNow(hwnd);
  EXPECT_EQ(bar->GetScrollRange(), 0);
  EXPECT_EQ(memo->GetHost()->GetClientRect().right, pos.right);
}

TEST_F(RichEditTest, DestroyingAFocusedFieldWithRunningTimersLeavesNothingBehind) {
  Focus(edit);
  Type(L"bye");
  edit->SetTimer(7, 20);
  EXPECT_EQ(edit->GetTimerCount(), 1u);
  HIMC context = ImmGetContext(hwnd);
  const bool imeOpened = context && ImmGetOpenStatus(context);
  auto* parent = edit->GetParent();
  ASSERT_TRUE(parent->Remove(edit));
  edit = nullptr;
  PumpFor(100);  // deferred deletion; blink and text-services timers would fire here
  EXPECT_EQ(window.GetFocusControl(), nullptr);
  if (context) {
    if (imeOpened) EXPECT_FALSE(ImmGetOpenStatus(context)) << "the input method the field opened is closed";
    ImmReleaseContext(hwnd, context);
  }
  PaintNow(hwnd);
  // Fields come and go many times without trouble.
  for (int i = 0; i < 20; ++i) {
    auto* field = new ui::RichEdit;
    ASSERT_TRUE(parent->Add(field));
    ASSERT_NE(field->GetHost(), nullptr);
    field->SetText(L"临时");
    field->SetFocus();
    EXPECT_EQ(field->GetText(), L"临时");
    ASSERT_TRUE(parent->Remove(field));
  }
  PumpFor(50);
}

TEST_F(RichEditTest, ReadOnlyFieldSelectsAllOnDoubleClickAndTakesNoTyping) {
  edit->SetAttribute(L"readonly", L"true");
  edit->GetHost()->GetTextServices()->OnTxPropertyBitsChange(TXTBIT_READONLY, TXTBIT_READONLY);
  edit->SetText(L"只读 text");
  Focus(edit);
  Type(L"zz");
  EXPECT_EQ(edit->GetText(), L"只读 text");
  const RECT pos = edit->GetPos();
  PostMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pos.left + 5, pos.top + 5));
  PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(pos.left + 5, pos.top + 5));
  PumpMessages();
  EXPECT_EQ(edit->GetSelText(), L"只读 text");
}

// A picture for people: a focused field with its caret after Chinese text, and a
// focused field with part of its Chinese text selected (a window has one focus,
// so the two states are painted one after the other and put side by side).
TEST_F(RichEditTest, FocusedFieldsWithCaretAndSelectionAreSavedAsAPicture) {
  window.AddColor(L"field", 0xFFF3F6FA);
  for (ui::RichEdit* field : {edit, Find(L"memo")}) field->SetAttribute(L"bkcolor", L"field");
  Focus(edit);
  Type(L"快速启动 Pexo");
  PaintNow(hwnd);
  ASSERT_TRUE(edit->IsCaretShown());
  // Catch the caret in its visible blink phase.
  ASSERT_TRUE(PumpUntil([&] { return edit->IsCaretVisible(); }, 2000));
  PaintNow(hwnd);
  ui::IRenderContext* surface = window.GetRenderContext();
  const int width = surface->GetWidth();
  const int height = surface->GetHeight();
  std::vector<DWORD> withCaret(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) withCaret[static_cast<size_t>(y) * width + x] = window_test::PixelAt(surface, x, y);
  const RECT caretField = edit->GetPos();
  const RECT caret = edit->GetCaretRect();
  // The caret is drawn in its colour (opaque blue) at the end of the text.
  bool caretDrawn = false;
  for (int y = caret.top; y < caret.bottom; ++y) {
    if ((withCaret[static_cast<size_t>(y) * width + caret.left] & 0xFFFFFFu) == 0x0000FFu) caretDrawn = true;
  }
  EXPECT_TRUE(caretDrawn);

  ui::RichEdit* memo = Find(L"memo");
  Focus(memo);
  Type(L"选中的中文文本");
  SetKeys({VK_SHIFT}, true);
  for (int i = 0; i < 4; ++i) Key(VK_LEFT);
  SetKeys({VK_SHIFT}, false);
  EXPECT_EQ(memo->GetSelText(), L"中文文本");
  PaintNow(hwnd);
  // The selection is highlighted: the selected part differs from the unselected.
  const RECT memoPos = memo->GetPos();
  int dark = 0;
  for (int y = memoPos.top; y < memoPos.bottom; ++y) {
    for (int x = memoPos.left; x < memoPos.right; ++x) {
      const DWORD pixel = window_test::PixelAt(surface, x, y);
      if (((pixel >> 16) & 0xFF) < 0x80 && (pixel & 0xFF) > 0x80) ++dark;
    }
  }
  EXPECT_GT(dark, 100) << "selection highlight";

  const std::wstring picture = pexo_test::PictureFolder() + L"rich_edit_focused.png";
  ASSERT_TRUE(window_test::WritePng(picture, width, height, [&](int x, int y) {
    const POINT p = {x, y};
    const DWORD pixel = PtInRect(&caretField, p) ? withCaret[static_cast<size_t>(y) * width + x]
                                                 : window_test::PixelAt(surface, x, y);
    return pixel | 0xFF000000u;
  }));
  EXPECT_GT(pexo_test::ReadFileBytes(picture).size(), 1000u);
}

}  // namespace
