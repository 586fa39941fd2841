// The main window over hundreds of groups, for the tests of its group strip: a
// link.db written in one go, where the strip's items are on screen, and real input
// (the system cursor, its buttons, its wheel and the keyboard through SendInput).
#pragma once

#include <windows.h>
#include <sqlite3.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/controls/list_item_id.h"
#include "app/main_window/main_wnd.h"
#include "data/link_store.h"
#include "tests/app/support/own_probe.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/controls/list_container_element.h"
#include "ui/core/scroll_bar.h"

namespace group_strip {

using pexo_test::ProbeLog;
using pexo_test::ProbePath;

// "G007", "T007", "grp-007": the names of group 7, its tag and its link's argument.
inline std::wstring Numbered(const wchar_t* prefix, int index) {
  wchar_t text[16] = {};
  std::swprintf(text, 16, L"%ls%03d", prefix, index);
  return text;
}

// A new link.db of `groups` groups (at least 1): group i is "G%03d" and holds one
// tag "T%03d" with one link that starts the launch probe with "grp-%03d". The
// store is closed again, as the window opens it itself.
inline bool WriteStore(int groups) {
  LinkStore& store = GetLinkStore();
  if (groups < 1 || !store.Open()) return false;
  std::string probe;
  for (wchar_t c : ProbePath()) probe += static_cast<char>(c);  // the test folder's path is ASCII
  const std::string count = std::to_string(groups);
  // The new file holds group 1 with one tag: it becomes the first of them.
  const std::string sql =
      "BEGIN;"
      "UPDATE Groups SET NAME='G000', POS=0 WHERE ID=1;"
      "UPDATE Groups SET NAME='T000' WHERE ParentGroup=1;"
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < " + count + ") "
      "INSERT INTO Groups(NAME,POS) SELECT printf('G%03d', i), i FROM n WHERE i < " + count + ";"
      "INSERT INTO Groups(NAME,ParentGroup) SELECT 'T' || substr(NAME, 2), ID FROM Groups "
      "WHERE ParentGroup=0 AND ID<>1;"
      "INSERT INTO Links(NAME,ParentGroup,ICON,PATH,Parameter,WorkDir) "
      "SELECT 'L' || substr(NAME, 2), ID, '', '" + probe + "', 'grp-' || substr(NAME, 2), '' FROM Groups "
      "WHERE ParentGroup<>0;"
      "COMMIT;";
  const bool written = sqlite3_exec(store.connection, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
  store.Close();
  return written;
}

// Real input into a window: the system cursor and keyboard, as a hand uses them.
class RealInput {
 public:
  explicit RealInput(HWND window) : window_(window) {}

  // The window takes the foreground back when another program's window took it
  // (the display is shared with the tests running beside): wheel and keys go to
  // the foreground window. Each time is counted for the test's record.
  void TakeForeground() {
    if (GetForegroundWindow() == window_) return;
    ++foregroundRetakes_;
    SetForegroundWindow(window_);
    window_test::PumpUntil([&] { return GetForegroundWindow() == window_; }, 2000);
  }
  int ForegroundRetakes() const { return foregroundRetakes_; }

  void MoveTo(POINT client) {
    POINT screen = client;
    ClientToScreen(window_, &screen);
    SetCursorPos(screen.x, screen.y);
    Mouse(MOUSEEVENTF_MOVE);
    window_test::PumpFor(40);
  }
  void Click(POINT client) {
    TakeForeground();
    MoveTo(client);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    window_test::PumpFor(20);
    Mouse(MOUSEEVENTF_LEFTUP);
    window_test::PumpFor(80);
  }
  void Press() { Mouse(MOUSEEVENTF_LEFTDOWN); }
  void Release() { Mouse(MOUSEEVENTF_LEFTUP); }
  // `notches` wheel turns of `delta` each (negative: toward the user, down).
  void Wheel(POINT client, int delta, int notches = 1) {
    TakeForeground();
    MoveTo(client);
    for (int i = 0; i < notches; ++i) {
      Mouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(delta));
      window_test::PumpFor(40);
    }
  }
  void Key(WORD vk) {
    TakeForeground();
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = vk;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
    window_test::PumpFor(60);
  }

 private:
  static void Mouse(DWORD flags, DWORD data = 0) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.mouseData = data;
    SendInput(1, &input, sizeof(input));
  }

  HWND window_;
  int foregroundRetakes_ = 0;
};

// Where the main window's group strip, tags and cards are.
class StripView {
 public:
  explicit StripView(CMainWnd& window) : window_(window) {}

  ui::ListBox* Strip() const { return window_.GroupList(); }
  // The box the strip fits to its rows.
  ui::Control* StripBox() const { return window_.FindControlByName(L"major_group_box"); }
  int Scroll() const { return static_cast<int>(Strip()->GetScrollPos().cy); }
  int Range() const { return static_cast<int>(Strip()->GetScrollRange().cy); }
  int RowPitch() const { return Item(0)->GetHeight(); }
  int Columns() const {
    int columns = 1;
    while (columns < Strip()->GetCount() && Item(columns)->GetPos().top == Item(0)->GetPos().top) ++columns;
    return columns;
  }
  int RowsHeight() const {
    const int count = Strip()->GetCount();
    return (count + Columns() - 1) / Columns() * RowPitch();
  }
  ui::Control* Item(int index) const { return Strip()->GetItemAt(static_cast<size_t>(index)); }
  // Where group `index` shows in the window, scrolled.
  RECT Shown(int index) const {
    RECT rc = Item(index)->GetPos();
    OffsetRect(&rc, 0, -Scroll());
    return rc;
  }
  bool WhollyShown(int index) const {
    const RECT rc = Shown(index);
    const RECT view = Strip()->GetPos();
    return rc.top >= view.top && rc.bottom <= view.bottom;
  }
  static POINT Middle(const RECT& rc) { return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }
  RECT Client() const {
    RECT rc = {};
    GetClientRect(window_.GetHWND(), &rc);
    return rc;
  }
  // Half of the room from the strip's top down to the window's lower edge: the
  // most the strip may take.
  int Share() const { return (window_.GetRoot()->GetPos().bottom - StripBox()->GetPos().top) / 2; }
  // Where the wheel turns over the strip, whatever it shows.
  POINT StripMiddle() const { return Middle(Strip()->GetPos()); }
  static bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom && inner.right > inner.left && inner.bottom > inner.top;
  }

  // The shown tag's and card's names: the group's own ones once it is current.
  std::wstring TagName(int index) const {
    auto* item = dynamic_cast<ui::Box*>(window_.TagList()->GetItemAt(static_cast<size_t>(index)));
    auto* label = item ? dynamic_cast<ui::LabelTemplate<ui::Control>*>(item->FindChildByName(L"tagname")) : nullptr;
    return label ? label->GetText() : L"";
  }
  int32_t CardLinkId(int index) const {
    ui::Control* card = window_.LinkBox()->GetItemAt(static_cast<size_t>(index));
    return card ? GetListItemId(card) : 0;
  }

  // The strip scrolls smoothly: pumps (and paints) until it has not moved for a while.
  void WaitAtRest() const {
    int last = -1;
    DWORD movedAt = GetTickCount();
    window_test::PumpUntil(
        [&] {
          window_test::PaintNow(window_.GetHWND());
          if (Scroll() != last) {
            last = Scroll();
            movedAt = GetTickCount();
          }
          return GetTickCount() - movedAt > 250;
        },
        5000);
  }

  // Drags the strip's bar thumb with the real mouse until its middle is at
  // `fraction` of the bar (or the strip at an end). False when the thumb did not follow.
  bool DragThumbTo(RealInput& input, double fraction) const {
    ui::ScrollBar* bar = Strip()->GetVerticalScrollBar();
    if (!bar) return false;
    WaitAtRest();
    input.TakeForeground();
    RECT thumb = bar->GetThumbRect();
    const POINT grip = Middle(thumb);
    // The bar shows while the pointer is over the strip.
    input.MoveTo(grip);
    window_test::PumpUntil([&] { return bar->IsVisible(); }, 2000);
    thumb = bar->GetThumbRect();
    const RECT track = bar->GetPos();
    const int y = track.top + static_cast<int>((track.bottom - track.top) * fraction);
    input.MoveTo(Middle(thumb));
    input.Press();
    window_test::PumpFor(60);
    input.MoveTo({Middle(thumb).x, y});
    // The bar follows a dragged thumb on its repeat timer, while the button is held.
    const bool followed = window_test::PumpUntil(
        [&] {
          const RECT now = bar->GetThumbRect();
          return std::abs((now.top + now.bottom) / 2 - y) <= 2 || (fraction >= 1.0 && Scroll() == Range()) ||
                 (fraction <= 0.0 && Scroll() == 0);
        },
        5000);
    input.Release();
    window_test::PumpFor(60);
    window_test::PaintNow(window_.GetHWND());
    return followed;
  }

 private:
  CMainWnd& window_;
};

}  // namespace group_strip
