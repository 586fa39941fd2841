// Chords typed into a hot-key field in a real window: the keys arrive as window
// messages with the thread's keyboard state set as a keyboard would set it.
#include "app/controls/hot_key_edit.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <initializer_list>
#include <string>

#include "app/controls/app_control_factory.h"
#include "app/hot_keys/hot_key_text.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/stock_controls.h"
#include "ui/core/skin_builder.h"

namespace {

using window_test::PaintNow;
using window_test::PumpMessages;

::testing::Environment* const gdiplus =
    ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

constexpr ui::EventType kSideButtonDown = static_cast<ui::EventType>(60);
constexpr ui::EventType kSideButtonUp = static_cast<ui::EventType>(61);

class HotKeyEditTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ui::RegisterStockControls();
    ui::UiGlobals::AddFont(L"edit", L"Microsoft YaHei", 16, false, false, false, false, true, 0);
  }
  void SetUp() override {
    hwnd = window.CreatePlain(320, 120);
    ui::SkinBuilder builder;
    ui::Control* root = builder.Create(
        L"<Window><VBox><HotKeyEdit name=\"keys\" height=\"28\" font=\"edit\" multiline=\"false\"/>"
        L"<HotKeyEdit name=\"mouse\" height=\"28\" font=\"edit\" multiline=\"false\"/></VBox></Window>",
        CreateAppControl, &window);
    ASSERT_NE(root, nullptr);
    window.AttachRoot(root);
    PaintNow(hwnd);
    edit = dynamic_cast<ui::HotKeyEdit*>(window.FindControlByName(L"keys"));
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(edit->GetHost(), nullptr) << "the text services could not be created";
    edit->SetFocus();
    PumpMessages();
  }
  void TearDown() override {
    SetKeys({VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN, 'S', VK_F5}, false);
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    PumpMessages();
  }

  static void SetKeys(std::initializer_list<int> keys, bool down) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    for (int key : keys) state[key] = down ? 0x80 : 0;
    SetKeyboardState(state);
  }
  // A key pressed (and held): its state goes down, then the message arrives.
  void Press(WORD key, bool system = false) {
    SetKeys({key}, true);
    PostMessageW(hwnd, system ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1);
    PumpMessages();
  }
  void Release(WORD key) {
    SetKeys({key}, false);
    PostMessageW(hwnd, WM_KEYUP, key, 0xC0000001);
    PumpMessages();
  }
  std::wstring Shown() const { return edit->GetText(); }

  window_test::TestWindow window{L"PexoHotKeyEditTest"};
  HWND hwnd = nullptr;
  ui::HotKeyEdit* edit = nullptr;
};

TEST_F(HotKeyEditTest, AKeyAloneGetsCtrlAltAndTypedTextNeverAppears) {
  EXPECT_EQ(Shown(), L"无");
  Press('S');  // the character it would type is replaced at once
  EXPECT_EQ(Shown(), L"Ctrl + Alt + S");
  EXPECT_EQ(edit->GetCode(), 0x0353u);
  Release('S');
  EXPECT_EQ(Shown(), L"Ctrl + Alt + S");  // a finished chord stays after the release

  Press(VK_SHIFT);
  Press(VK_F5);
  EXPECT_EQ(Shown(), L"Shift + " + HotKeyToText(0, VK_F5));
  EXPECT_EQ(edit->GetCode(), static_cast<uint32_t>((MOD_SHIFT << 8) | VK_F5));
  Release(VK_F5);
  Release(VK_SHIFT);
  EXPECT_EQ(Shown(), L"Shift + " + HotKeyToText(0, VK_F5));
}

TEST_F(HotKeyEditTest, AModifierAfterAChordStartsAFreshOneAndBackspaceClearsTheKey) {
  Press(VK_CONTROL);
  EXPECT_EQ(Shown(), L"Ctrl + ");
  Press(VK_MENU);
  Press('K');
  EXPECT_EQ(Shown(), L"Ctrl + Alt + K");
  Release('K');
  Release(VK_MENU);
  Release(VK_CONTROL);
  EXPECT_EQ(Shown(), L"Ctrl + Alt + K");

  Press(VK_CONTROL);  // alone, the old key no longer held
  EXPECT_EQ(Shown(), L"Ctrl + ");
  EXPECT_EQ(edit->GetVirtualKey(), 0u);
  Press('J');
  Press(VK_BACK);
  EXPECT_EQ(Shown(), L"Ctrl + ");
  // The window reports the first release after a press: let that be Ctrl's.
  SetKeys({VK_BACK, 'J'}, false);
  Release(VK_CONTROL);
  EXPECT_EQ(Shown(), L"无");  // with nothing held and no key, the field empties

  // Alt arrives as a system key from the window's owner.
  Press(VK_MENU, true);
  window.SendControlEvent(edit, ui::hotkeydown, VK_MENU);
  EXPECT_EQ(Shown(), L"Alt + ");
  Release(VK_MENU);
}

TEST_F(HotKeyEditTest, WinAloneBecomesTheKeyAndStays) {
  Press(VK_LWIN);
  EXPECT_EQ(Shown(), L"Win");
  EXPECT_EQ(edit->GetCode(), static_cast<uint32_t>((MOD_WIN << 8) | VK_LWIN));
  Release(VK_LWIN);
  EXPECT_EQ(Shown(), L"Win");
}

TEST_F(HotKeyEditTest, SideButtonsCountOnlyWhereAllowed) {
  window.SendControlEvent(edit, kSideButtonDown, MK_XBUTTON1);
  window.SendControlEvent(edit, kSideButtonUp, 0);
  EXPECT_EQ(Shown(), L"无");
  EXPECT_EQ(edit->GetVirtualKey(), 0u);

  edit->SetSideButtonsAllowed(true);
  window.SendControlEvent(edit, kSideButtonDown, MK_XBUTTON2);
  EXPECT_EQ(Shown(), L"Ctrl + Alt + X2");
  SetKeys({VK_SHIFT}, true);
  window.SendControlEvent(edit, kSideButtonDown, MK_XBUTTON1);
  EXPECT_EQ(Shown(), L"Shift + X1");
  EXPECT_EQ(edit->GetCode(), static_cast<uint32_t>((MOD_SHIFT << 8) | VK_XBUTTON1));
}

TEST_F(HotKeyEditTest, AStoredCodeIsShownAndNoTextChangeIsReported) {
  int changes = 0;
  edit->AttachEvent(ui::textchange, [&changes](ui::EventArgs*) {
    ++changes;
    return true;
  });
  ui::SetHotKeyEditCode(edit, 0x0241);
  EXPECT_EQ(Shown(), L"Ctrl + A");
  EXPECT_EQ(edit->GetModifiers(), static_cast<uint32_t>(MOD_CONTROL));
  ui::SetHotKeyEditCode(edit, 0x0200);
  EXPECT_EQ(Shown(), L"无");
  Press('Q');
  Release('Q');
  EXPECT_EQ(changes, 0);
  ui::SetHotKeyEditCode(nullptr, 0x0241);  // no field: nothing happens
}

}  // namespace
