// A real window for stock-control tests: controls are placed by hand in a plain
// root box and driven with posted mouse and key messages.
#pragma once

#include <windows.h>
#include <windowsx.h>

#include "tests/ui/core/window_test_support.h"
#include "ui/core/box.h"

namespace controls_test {

inline ::testing::Environment* const kGdiplus =
    ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

// Sets Ctrl and Shift in the thread's key state, as GetKeyState reads it.
inline void SetModifiers(bool ctrl, bool shift) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = ctrl ? 0x80 : 0;
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(keys);
}

class ControlWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hwnd = window.CreatePlain(400, 300);
    root = new ui::Box(nullptr);
    root->SetBkColor(L"white");
    window.AttachRoot(root);
    window_test::PaintNow(hwnd);
    root->SetPos(RECT{0, 0, 400, 300});
  }
  void TearDown() override {
    SetModifiers(false, false);
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }

  // Adds a control to the root at a fixed place.
  template <typename T>
  T* Place(T* control, RECT rc) {
    control->SetFloat(true);
    root->Add(control);
    control->SetPos(rc);
    return control;
  }

  void Post(UINT message, WPARAM wParam, LPARAM lParam) { window_test::PostAndPump(hwnd, message, wParam, lParam); }
  void Click(int x, int y) {
    Post(WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    Post(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    Post(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  void ClickCentre(ui::Control* control) {
    const RECT rc = control->GetPos();
    Click((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  }
  void Key(WPARAM key) {
    Post(WM_KEYDOWN, key, 0);
    Post(WM_KEYUP, key, 0);
  }

  // Declared before the window: its controls report their destruction here.
  window_test::EventLog log[4];
  window_test::TestWindow window;
  HWND hwnd = nullptr;
  ui::Box* root = nullptr;
};

}  // namespace controls_test
