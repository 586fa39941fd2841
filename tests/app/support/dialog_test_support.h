// Runs a launcher dialog modally, the way its opener does, while a script of
// steps feeds it real input: each step runs from a timer inside the dialog's
// own message loop and posts keys and clicks to it. A dialog that never closes
// is ended with code 99 so that a fault fails the test instead of hanging it.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <functional>
#include <string>

#include "app/controls/app_control_factory.h"
#include "app/dialogs/dialog_wnd.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/label.h"
#include "ui/controls/rich_edit.h"
#include "ui/controls/stock_controls.h"
#include "ui/core/control.h"

namespace dialog_test {

inline constexpr UINT kTimedOut = 99;

struct Script {
  CDialogWnd* dialog = nullptr;
  std::function<CDialogWnd*()> find;  // for a dialog another object opens
  std::deque<std::function<void(CDialogWnd&)>> steps;
  int idleTicks = 0;
};

inline Script*& CurrentScript() {
  static Script* script = nullptr;
  return script;
}

// Posted key messages leave the thread's key state alone, but controls read it
// (a typed Tab is only a move when the Tab key is down): the helper sets it for
// the pressed key until the next step.
inline BYTE& HeldKey() {
  static BYTE key = 0;
  return key;
}
inline void SetKeyHeld(BYTE key, bool down) {
  BYTE state[256] = {};
  GetKeyboardState(state);
  state[key] = down ? 0x80 : 0;
  SetKeyboardState(state);
}
inline HWND& HeldKeyWindow() {
  static HWND hwnd = nullptr;
  return hwnd;
}
// Lets go of the key pressed in the step before.
inline void ReleaseHeldKeys() {
  if (HeldKey() == 0) return;
  SetKeyHeld(HeldKey(), false);
  if (IsWindow(HeldKeyWindow())) PostMessageW(HeldKeyWindow(), WM_KEYUP, HeldKey(), 0xC0000001);
  HeldKey() = 0;
}

// The first visible standard dialog (message box, file or folder picker) of this
// thread, null when none is up; `count` gets how many are up.
inline HWND VisibleStandardDialog(int* count = nullptr) {
  struct Found {
    HWND first = nullptr;
    int count = 0;
  } found;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM data) -> BOOL {
        wchar_t name[16] = {};
        GetClassNameW(hwnd, name, 16);
        auto* f = reinterpret_cast<Found*>(data);
        if (IsWindowVisible(hwnd) && std::wstring(name) == L"#32770") {
          if (!f->first) f->first = hwnd;
          ++f->count;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  if (count) *count = found.count;
  return found.first;
}

// Answers every system dialog box of this thread (message boxes) with OK; the
// count of boxes found.
inline int AnswerThreadDialogBoxes() {
  int found = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM data) -> BOOL {
        wchar_t name[16] = {};
        GetClassNameW(hwnd, name, 16);
        if (std::wstring(name) == L"#32770") {
          PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
          ++*reinterpret_cast<int*>(data);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

inline void CALLBACK RunNextStep(HWND, UINT, UINT_PTR, DWORD) {
  Script* script = CurrentScript();
  // A step that pumps messages (a paint, a click that lays the dialog out) would
  // run the next steps inside itself, before its own input has arrived.
  static bool running = false;
  if (!script || running) return;
  struct Running {
    Running() { running = true; }
    ~Running() { running = false; }
  } guard;
  if (script->find) script->dialog = script->find();
  HWND hwnd = script->dialog ? script->dialog->GetHWND() : nullptr;
  if (!hwnd || !IsWindow(hwnd)) {
    // The dialog is gone: a box it left open would hold the caller's loop.
    if (++script->idleTicks > 40) AnswerThreadDialogBoxes();
    return;
  }
  if (script->steps.empty()) {
    if (++script->idleTicks > 40) {
      AnswerThreadDialogBoxes();
      PostMessageW(hwnd, WM_CLOSE, kTimedOut, 0);
    }
    return;
  }
  ReleaseHeldKeys();
  auto step = std::move(script->steps.front());
  script->steps.pop_front();
  step(*script->dialog);
}

// Runs the dialog over `owner` through its own RunModal; the steps run in turn.
inline UINT RunScripted(CDialogWnd& dialog, HWND owner, std::deque<std::function<void(CDialogWnd&)>> steps) {
  Script script{&dialog, nullptr, std::move(steps), 0};
  CurrentScript() = &script;
  const UINT_PTR timer = SetTimer(nullptr, 0, 60, &RunNextStep);
  const UINT result = dialog.RunModal(owner, L"dialog");
  KillTimer(nullptr, timer);
  ReleaseHeldKeys();
  CurrentScript() = nullptr;
  return result;
}

// The launcher dialog of this thread with the window class `className` whose
// owner is `owner` (a dialog that another dialog opens over itself); null when
// none is up. Only the launcher's own classes may be named: the window's data
// is read as the framework's window.
inline CDialogWnd* OwnedDialogOfClass(HWND owner, const wchar_t* className) {
  struct Search {
    HWND owner;
    const wchar_t* className;
    HWND found = nullptr;
  } search{owner, className};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        wchar_t name[64] = {};
        GetClassNameW(hwnd, name, 64);
        if (std::wstring(name) != s->className || GetWindow(hwnd, GW_OWNER) != s->owner) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  if (!search.found) return nullptr;
  return dynamic_cast<CDialogWnd*>(reinterpret_cast<ui::Window*>(GetWindowLongPtrW(search.found, GWLP_USERDATA)));
}

// A step that runs `then` once the script's dialog is a shown one of the class
// `className` (a dialog opened by the step before may need a few ticks to come);
// after `ticks` ticks without it the test fails.
inline std::function<void(CDialogWnd&)> WhenDialogIs(const std::wstring& className,
                                                     std::function<void(CDialogWnd&)> then, int ticks = 80) {
  return [className, then, ticks](CDialogWnd& dialog) {
    if (dialog.GetWindowClassName() == className && IsWindowVisible(dialog.GetHWND())) {
      then(dialog);
    } else if (ticks > 0) {
      CurrentScript()->steps.push_front(WhenDialogIs(className, then, ticks - 1));
    } else {
      ADD_FAILURE() << "no dialog of the class " << std::string(className.begin(), className.end()) << " came";
    }
  };
}

// Runs `open`, which opens a dialog modally itself; `find` names the open dialog.
inline void RunScriptedOpener(const std::function<CDialogWnd*()>& find, const std::function<void()>& open,
                              std::deque<std::function<void(CDialogWnd&)>> steps) {
  Script script{nullptr, find, std::move(steps), 0};
  CurrentScript() = &script;
  const UINT_PTR timer = SetTimer(nullptr, 0, 60, &RunNextStep);
  open();
  KillTimer(nullptr, timer);
  ReleaseHeldKeys();
  CurrentScript() = nullptr;
}

// What a dialog shows: a label's text, a text field's text.
inline std::wstring LabelText(ui::Control* control) {
  auto* label = dynamic_cast<ui::LabelTemplate<ui::Control>*>(control);
  return label ? label->GetText() : L"<no label>";
}
inline std::wstring EditText(CDialogWnd& dialog, const wchar_t* name) {
  auto* edit = dynamic_cast<ui::RichEdit*>(dialog.FindControlByName(name));
  return edit ? edit->GetText() : L"<missing>";
}

// Posted input, as the system delivers it to the dialog's window.
inline void Type(CDialogWnd& dialog, const std::wstring& text) {
  for (wchar_t ch : text) PostMessageW(dialog.GetHWND(), WM_CHAR, ch, 1);
}
inline void Key(CDialogWnd& dialog, WPARAM key) {
  ReleaseHeldKeys();
  HeldKey() = static_cast<BYTE>(key);
  HeldKeyWindow() = dialog.GetHWND();
  SetKeyHeld(HeldKey(), true);
  PostMessageW(dialog.GetHWND(), WM_KEYDOWN, key, 1);
}
// Where a control shows in the window's client area: its laid-out place moved
// by the scroll positions of the lists around it.
inline RECT ShownRect(ui::Control* control) {
  RECT rect = control->GetPos();
  const POINT scroll = control->GetScrollOffsetInParents();
  OffsetRect(&rect, -scroll.x, -scroll.y);
  return rect;
}
inline void ClickControl(CDialogWnd& dialog, ui::Control* control) {
  ASSERT_NE(control, nullptr);
  window_test::PaintNow(dialog.GetHWND());  // lays the controls out
  const RECT rect = ShownRect(control);
  POINT screen = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ClientToScreen(dialog.GetHWND(), &screen);
  SetCursorPos(screen.x, screen.y);
  const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  PostMessageW(dialog.GetHWND(), WM_MOUSEMOVE, 0, at);
  PostMessageW(dialog.GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(dialog.GetHWND(), WM_LBUTTONUP, 0, at);
}
inline void Click(CDialogWnd& dialog, const std::wstring& name) {
  ui::Control* control = dialog.FindControlByName(name);
  ASSERT_NE(control, nullptr) << "no control named " << std::string(name.begin(), name.end());
  ClickControl(dialog, control);
}

// The program's own skin archive and controls, as the launcher starts them.
class SkinEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    gdiplus_.SetUp();
    ASSERT_TRUE(ui::UiGlobals::OpenSkinZip(201, L"SKIN", PEXO_SKIN_PASSWORD));
    ui::UiGlobals::Startup(L"skin\\", CreateAppControl, false, L"gray", L"lang\\zh_CN");
    ui::RegisterStockControls();
  }
  void TearDown() override {
    ui::UiGlobals::Shutdown();
    gdiplus_.TearDown();
  }

 private:
  window_test::GdiplusEnvironment gdiplus_;
};

}  // namespace dialog_test
