// The icon picker over a real icon library. Run on its own: the wanted icon is
// selected, OK hands back "path,index" (the path alone for icon 0) and a missing
// file leaves the grid and its selection alone. Reached as a user reaches it, 编辑
// in a card's menu of the real main window and the editor's icon button: a path
// typed without Return is what OK hands back, an emptied field gives no icon, a
// typed path that names no file never takes the tile of the file still shown,
// and every icon of shell32.dll is reached by the wheel and by the bar, at 100 %
// and at 150 %.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "app/dialogs/icon_wnd.h"
#include "data/icon_cache.h"
#include "data/link_store.h"
#include "tests/app/support/dialog_test_support.h"
#include "tests/app/support/launcher_test_support.h"
#include "tests/support/scaled_suite.h"
#include "ui/base/dpi_scaler.h"
#include "ui/controls/list_box.h"
#include "ui/controls/rich_edit.h"
#include "ui/core/layout.h"
#include "ui/core/scroll_bar.h"

namespace {

using dialog_test::Click;
using dialog_test::ClickControl;
using dialog_test::EditText;
using dialog_test::Key;
using dialog_test::RunScripted;
using dialog_test::ShownRect;
using dialog_test::Type;
using dialog_test::WhenDialogIs;
using Steps = std::deque<std::function<void(CDialogWnd&)>>;

constexpr wchar_t kShell32[] = L"%windir%\\system32\\shell32.dll";
constexpr wchar_t kTypedShell32[] = L"C:\\windows\\system32\\shell32.dll";

ui::ListBox* Grid(CDialogWnd& d) { return static_cast<CIconWnd&>(d).GetIconBox(); }
ui::RichEdit* PathEdit(CDialogWnd& d) { return dynamic_cast<ui::RichEdit*>(d.FindControlByName(L"filepath")); }

// Some Wine builds give shell32.dll only a few icons, too few for these cases;
// they skip there. An empty grid is no such case: the file is there, so at
// least its own tile must show.
bool TooFewIconsHere(int count) {
  EXPECT_GT(count, 0) << "shell32.dll shows no tile at all";
  return count >= 1 && count <= 3;
}

// Gives the path field the focus with its whole text selected, as Tab does.
void FocusPath(CDialogWnd& d) {
  ui::RichEdit* edit = PathEdit(d);
  ASSERT_NE(edit, nullptr);
  edit->SetFocus();
  edit->SetSelAll();
}

class IconDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(launcher_test::StartLauncherSkin()); }
  static void TearDownTestSuite() { launcher_test::StopLauncherSkin(); }
  void SetUp() override {
    ASSERT_TRUE(GetIconCache().Open());
    ASSERT_NE(owner_.CreatePlain(300, 200), nullptr);
  }
  void TearDown() override {
    DestroyWindow(owner_.GetHWND());
    window_test::PumpMessages();
    GetIconCache().Close();
  }
  // Runs the picker on `spec` (an icon source "path" or "path,index") and returns the result; `spec` is updated in place.
  UINT Run(std::shared_ptr<std::wstring> spec, Steps steps) {
    CIconWnd dialog;
    dialog.SetIconSpec(spec);
    return RunScripted(dialog, owner_.GetHWND(), std::move(steps));
  }

  window_test::TestWindow owner_{L"PexoIconDialogOwner"};
};

TEST_F(IconDialogTest, OpensOnTheWantedIconAndHandsTheSameSpecBack) {
  auto spec = std::make_shared<std::wstring>(std::wstring(kShell32) + L",3");
  int count = 0;
  const UINT result = Run(spec, Steps{[&](CDialogWnd& d) {
                            count = Grid(d)->GetCount();
                            if (count > 3) {
                              EXPECT_EQ(Grid(d)->GetCurSel(), 3);
                            }
                            EXPECT_EQ(PathEdit(d)->GetText(), kShell32) << "the field shows the path alone";
                            Click(d, L"btn_ok");
                          }});
  if (TooFewIconsHere(count)) GTEST_SKIP() << "this system's shell32.dll holds too few icons";
  EXPECT_EQ(result, CDialogWnd::kResultOk);
  EXPECT_EQ(*spec, std::wstring(kShell32) + L",3");
}

// A link whose icon lies far along the file opens the picker scrolled to it.
TEST_F(IconDialogTest, OpensScrolledToAFarWantedIcon) {
  constexpr int kFar = 120;
  auto spec = std::make_shared<std::wstring>(std::wstring(kShell32) + L"," + std::to_wstring(kFar));
  int count = 0;
  RECT tile = {};
  RECT grid = {};
  int scroll = 0;
  Run(spec, Steps{[&](CDialogWnd& d) {
                    count = Grid(d)->GetCount();
                    if (count > kFar) {
                      EXPECT_EQ(Grid(d)->GetCurSel(), kFar);
                      tile = Grid(d)->GetItemAt(kFar)->GetPos();
                      grid = Grid(d)->GetPos();
                      scroll = Grid(d)->GetScrollPos().cx;
                    }
                    Click(d, L"btn_cancel");
                  }});
  ASSERT_GT(count, 0) << "shell32.dll shows no tile at all";
  if (count <= kFar) GTEST_SKIP() << "this system's shell32.dll holds " << count << " icons, not " << kFar + 1;
  EXPECT_GT(scroll, 0) << "the grid opened at its start";
  EXPECT_GE(tile.left - scroll, grid.left) << "the wanted tile lies left of the grid";
  EXPECT_LE(tile.right - scroll, grid.right) << "the wanted tile lies right of the grid";
}

TEST_F(IconDialogTest, IconZeroGivesThePathAloneAndAnIndexPastTheEndSelectsIt) {
  auto spec = std::make_shared<std::wstring>(std::wstring(kShell32) + L",99999");
  const UINT result = Run(spec, Steps{[&](CDialogWnd& d) {
                            ASSERT_GT(Grid(d)->GetCount(), 0);
                            EXPECT_EQ(Grid(d)->GetCurSel(), 0);
                            Click(d, L"btn_ok");
                          }});
  EXPECT_EQ(result, CDialogWnd::kResultOk);
  EXPECT_EQ(*spec, kShell32);
}

TEST_F(IconDialogTest, ATypedPathThatNamesNoFileLeavesGridAndSelectionAndOkGivesTheTypedSpec) {
  auto spec = std::make_shared<std::wstring>(std::wstring(kShell32) + L",3");
  int before = 0;
  const UINT result = Run(spec, Steps{
      [&](CDialogWnd& d) {
        before = Grid(d)->GetCount();
        FocusPath(d);
      },
      [](CDialogWnd& d) { Type(d, L"C:\\no\\x.dll,7"); },
      [](CDialogWnd& d) {
        EXPECT_EQ(PathEdit(d)->GetText(), L"C:\\no\\x.dll,7");
        Key(d, VK_RETURN);
      },
      [&](CDialogWnd& d) {
        EXPECT_EQ(Grid(d)->GetCount(), before) << "the grid stays as it was";
        if (before > 3) {
          EXPECT_EQ(Grid(d)->GetCurSel(), 3) << "the selection stays on the tile it was on";
        }
        EXPECT_EQ(PathEdit(d)->GetText(), L"C:\\no\\x.dll") << "the typed path stays, without its index";
        Click(d, L"btn_ok");
      },
  });
  if (TooFewIconsHere(before)) GTEST_SKIP() << "this system's shell32.dll holds too few icons";
  EXPECT_EQ(result, CDialogWnd::kResultOk);
  EXPECT_EQ(*spec, L"C:\\no\\x.dll,7") << "the typed text with its own index, not the shown file's tile";
}

TEST_F(IconDialogTest, AnEmptiedFieldGivesAnEmptySpecAndAMissingFileAtOpenComesBackAsItWas) {
  auto spec = std::make_shared<std::wstring>(kShell32);
  EXPECT_EQ(Run(spec, Steps{[](CDialogWnd& d) { FocusPath(d); }, [](CDialogWnd& d) { Key(d, VK_BACK); },
                            [](CDialogWnd& d) {
                              EXPECT_EQ(PathEdit(d)->GetText(), L"");
                              Click(d, L"btn_ok");
                            }}),
            CDialogWnd::kResultOk);
  EXPECT_EQ(*spec, L"");

  // The link's icon file is gone: nothing is shown, and OK keeps the link's icon text.
  const std::wstring gone = L"C:\\no\\such\\icons.dll,2";
  spec = std::make_shared<std::wstring>(gone);
  EXPECT_EQ(Run(spec, Steps{[](CDialogWnd& d) {
                              EXPECT_EQ(Grid(d)->GetCount(), 0);
                              Click(d, L"btn_ok");
                            }}),
            CDialogWnd::kResultOk);
  EXPECT_EQ(*spec, gone);
}

TEST_F(IconDialogTest, CancelAndTheCloseButtonLeaveTheSpec) {
  auto spec = std::make_shared<std::wstring>(std::wstring(kShell32) + L",1");
  EXPECT_EQ(Run(spec, Steps{[](CDialogWnd& d) { Click(d, L"btn_cancel"); }}), CDialogWnd::kResultCancel);
  EXPECT_EQ(Run(spec, Steps{[](CDialogWnd& d) { Click(d, L"closebtn"); }}), 0u);
  EXPECT_EQ(*spec, std::wstring(kShell32) + L",1");
}

// The picker as a user reaches it: 编辑 in the card's menu on the real main
// window, then the editor's icon button.
class IconPickerFromEditorTest : public launcher_test::MainWindowFixture {
 protected:
  IconPickerFromEditorTest() : MainWindowFixture(/*inFront=*/true) {}

  // One card, whose link has the icon text `icon`.
  void OpenOverLinkWithIcon(const std::wstring& icon) {
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    auto link = launcher_test::NewLink(L"记事本", L"C:\\windows\\notepad.exe");
    link->ICON = icon;
    ASSERT_TRUE(store.AddLink(store.topGroups.at(0)->tags.at(0), link));
    OpenWindowOverStore();
    ASSERT_EQ(window_->LinkBox()->GetCount(), 1);
  }

  // Opens the card's editor, clicks its icon button and runs `picker` in the
  // icon dialog; back in the editor, its icon field goes to `editorIcon` and its
  // OK is clicked. Returns the link's ICON as link.db holds it then.
  // Scrolls by wheel and bar to an icon past the hundredth, picks it, and checks
  // that the editor and link.db get it.
  void ExpectAFarIconPickedThroughTheEditor();
  std::wstring PickIcon(Steps picker, std::wstring* editorIcon) {
    Steps steps{WhenDialogIs(L"EditWnd", [](CDialogWnd& d) { Click(d, L"btn_icon"); })};
    if (!picker.empty()) {
      steps.push_back(WhenDialogIs(L"IconWnd", picker.front()));
      picker.pop_front();
      // A picker closed early (a case that skips, a failed step) leaves the rest
      // of its steps undone rather than run in the editor.
      for (auto& step : picker) {
        steps.push_back([step = std::move(step)](CDialogWnd& d) {
          if (d.GetWindowClassName() == L"IconWnd") step(d);
        });
      }
    }
    steps.push_back(WhenDialogIs(L"EditWnd", [editorIcon](CDialogWnd& d) {
      *editorIcon = EditText(d, L"edit_icon");
      Click(d, L"btn_ok");
    }));
    // The icon dialog, while it is up over the editor, takes the steps.
    ChooseOnCard(0, {L"edit_link"}, {}, std::move(steps), [this]() -> CDialogWnd* {
      auto* editor = dynamic_cast<CDialogWnd*>(window_->OpenDialog());
      if (!editor) return nullptr;
      CDialogWnd* picker = dialog_test::OwnedDialogOfClass(editor->GetHWND(), L"IconWnd");
      return picker ? picker : editor;
    });
    const auto links = StoredLinks();
    return links.size() == 1 ? links[0]->ICON : L"<not one link>";
  }
};

TEST_F(IconPickerFromEditorTest, APathTypedWithoutReturnIsWhatOkHandsBackToTheEditorAndLinkDb) {
  ASSERT_NO_FATAL_FAILURE(OpenOverLinkWithIcon(std::wstring(kShell32) + L",3"));
  std::wstring editorIcon;
  int tiles = 0;
  std::wstring stored = PickIcon(Steps{[&](CDialogWnd& d) {
                                         tiles = Grid(d)->GetCount();
                                         EXPECT_EQ(PathEdit(d)->GetText(), kShell32) << "opens on the link's icon file";
                                         FocusPath(d);
                                       },
                                       [](CDialogWnd& d) { Type(d, kTypedShell32); },
                                       [](CDialogWnd& d) { Click(d, L"btn_ok"); }},
                                 &editorIcon);
  if (TooFewIconsHere(tiles)) GTEST_SKIP() << "this system's shell32.dll holds too few icons";
  EXPECT_EQ(editorIcon, kTypedShell32) << "the typed file, shown from its first icon";
  EXPECT_EQ(stored, kTypedShell32);

  // Typed with an index of its own, the file's tile of that index is handed back.
  ASSERT_NO_FATAL_FAILURE(Open());
  const std::wstring typed = std::wstring(kShell32) + L",5";
  stored = PickIcon(Steps{[](CDialogWnd& d) {
                            EXPECT_EQ(PathEdit(d)->GetText(), kTypedShell32);
                            FocusPath(d);
                          },
                          [&](CDialogWnd& d) { Type(d, typed); },
                          [](CDialogWnd& d) { Click(d, L"btn_ok"); }},
                    &editorIcon);
  EXPECT_EQ(editorIcon, typed);
  EXPECT_EQ(stored, typed);
}

TEST_F(IconPickerFromEditorTest, AnEmptiedFieldGivesTheLinkNoIcon) {
  ASSERT_NO_FATAL_FAILURE(OpenOverLinkWithIcon(std::wstring(kShell32) + L",3"));
  std::wstring editorIcon = L"<not read>";
  const std::wstring stored = PickIcon(Steps{[](CDialogWnd& d) { FocusPath(d); },
                                             [](CDialogWnd& d) { Key(d, VK_BACK); },
                                             [](CDialogWnd& d) {
                                               EXPECT_EQ(PathEdit(d)->GetText(), L"");
                                               Click(d, L"btn_ok");
                                             }},
                                       &editorIcon);
  EXPECT_EQ(editorIcon, L"");
  EXPECT_EQ(stored, L"");
}

TEST_F(IconPickerFromEditorTest, ATypedPathThatNamesNoFileKeepsItsTextWithoutTheTileOfTheFileStillShown) {
  ASSERT_NO_FATAL_FAILURE(OpenOverLinkWithIcon(std::wstring(kShell32) + L",3"));
  const std::wstring missing = L"C:\\no\\such\\icons.dll";
  std::wstring editorIcon;
  int tiles = 0;
  const std::wstring stored = PickIcon(Steps{[&](CDialogWnd& d) {
                                               tiles = Grid(d)->GetCount();
                                               ASSERT_GT(tiles, 9);
                                               // Another tile of shell32.dll, clicked.
                                               ClickControl(d, Grid(d)->GetItemAt(9));
                                             },
                                             [](CDialogWnd& d) {
                                               EXPECT_EQ(Grid(d)->GetCurSel(), 9);
                                               FocusPath(d);
                                             },
                                             [&](CDialogWnd& d) { Type(d, missing); },
                                             [&](CDialogWnd& d) {
                                               EXPECT_EQ(PathEdit(d)->GetText(), missing);
                                               Click(d, L"btn_ok");
                                             }},
                                       &editorIcon);
  if (TooFewIconsHere(tiles)) GTEST_SKIP() << "this system's shell32.dll holds too few icons";
  EXPECT_EQ(editorIcon, missing) << "the typed text alone, never with shell32's tile 9";
  EXPECT_EQ(stored, missing);
}

// The shown rectangle of the grid's tiles: inside its padding, above the bar.
RECT TileArea(ui::ListBox* grid) {
  RECT area = grid->GetPos();
  const RECT padding = grid->GetLayout()->GetPadding();
  area.left += padding.left;
  area.top += padding.top;
  area.right -= padding.right;
  area.bottom -= padding.bottom;
  if (ui::ScrollBar* bar = grid->GetHorizontalScrollBar(); bar && bar->GetScrollRange() > 0) {
    area.bottom = std::min(area.bottom, static_cast<LONG>(bar->GetPos().top));
  }
  return area;
}

bool FullyShown(ui::ListBox* grid, int index) {
  const RECT tile = ShownRect(grid->GetItemAt(static_cast<size_t>(index)));
  const RECT area = TileArea(grid);
  return tile.left >= area.left && tile.right <= area.right && tile.top >= area.top && tile.bottom <= area.bottom;
}

// Wheel notches (down when `down`) over the middle of the grid, as the system posts them.
void Wheel(CDialogWnd& d, bool down, int notches) {
  const RECT rect = Grid(d)->GetPos();
  POINT at = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ClientToScreen(d.GetHWND(), &at);
  SetCursorPos(at.x, at.y);
  const short delta = static_cast<short>(down ? -WHEEL_DELTA : WHEEL_DELTA);
  for (int i = 0; i < notches; ++i) {
    PostMessageW(d.GetHWND(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), MAKELPARAM(at.x, at.y));
  }
}

void PostMouse(CDialogWnd& d, UINT message, WPARAM keys, POINT client) {
  POINT screen = client;
  ClientToScreen(d.GetHWND(), &screen);
  SetCursorPos(screen.x, screen.y);
  PostMessageW(d.GetHWND(), message, keys, MAKELPARAM(client.x, client.y));
}

// How far the picker's grid scrolls, learnt on the way.
struct GridScroll {
  LONG range = 0;  // the horizontal bar's range
  LONG notch = 0;  // what one wheel notch moved
  int waits = 0;
};

LONG ScrolledX(CDialogWnd& d) { return Grid(d)->GetScrollPos().cx; }

// Once the bar has faded in under the pointer, its thumb is pressed; each step
// that waits does so a limited number of ticks.
void DragThumbToTheEnd(const std::shared_ptr<GridScroll>& scroll, CDialogWnd& d) {
  ui::ScrollBar* bar = Grid(d)->GetHorizontalScrollBar();
  ASSERT_NE(bar, nullptr);
  if (!bar->IsVisible()) {
    ASSERT_LT(++scroll->waits, 60) << "the bar never showed under the pointer";
    dialog_test::CurrentScript()->steps.push_front([scroll](CDialogWnd& dialog) { DragThumbToTheEnd(scroll, dialog); });
    return;
  }
  window_test::PaintNow(d.GetHWND());
  const RECT thumb = bar->GetThumbRect();
  const POINT grab = {(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
  PostMouse(d, WM_MOUSEMOVE, 0, grab);
  PostMouse(d, WM_LBUTTONDOWN, MK_LBUTTON, grab);
  scroll->waits = 0;
}

// The thumb, once held, is moved past the bar's end: it goes as far as it can.
void MoveHeldThumbPastTheEnd(const std::shared_ptr<GridScroll>& scroll, CDialogWnd& d) {
  ui::ScrollBar* bar = Grid(d)->GetHorizontalScrollBar();
  if (bar->GetThumbState() != ui::kControlStatePushed) {
    ASSERT_LT(++scroll->waits, 60) << "the press on the thumb did not take it";
    dialog_test::CurrentScript()->steps.push_front([scroll](CDialogWnd& dialog) { MoveHeldThumbPastTheEnd(scroll, dialog); });
    return;
  }
  const RECT thumb = bar->GetThumbRect();
  PostMouse(d, WM_MOUSEMOVE, MK_LBUTTON, POINT{bar->GetPos().right + 40, (thumb.top + thumb.bottom) / 2});
  scroll->waits = 0;
}

// The held thumb moves the grid on the bar's own ticks: the button is let go
// once the grid has reached its end.
void ReleaseThumbAtTheEnd(const std::shared_ptr<GridScroll>& scroll, CDialogWnd& d) {
  if (ScrolledX(d) != scroll->range) {
    ASSERT_LT(++scroll->waits, 60) << "the dragged thumb left the grid at " << ScrolledX(d) << " of " << scroll->range;
    dialog_test::CurrentScript()->steps.push_front([scroll](CDialogWnd& dialog) { ReleaseThumbAtTheEnd(scroll, dialog); });
    return;
  }
  const RECT track = Grid(d)->GetHorizontalScrollBar()->GetPos();
  PostMouse(d, WM_LBUTTONUP, 0, POINT{track.right + 40, (track.top + track.bottom) / 2});
}

// Steps in the picker: shell32.dll's icons, every one reached by the wheel (to
// the last column and back) and by dragging the bar's thumb to the end, where a
// tile numbered 100 or more is clicked and OK pressed. `picked` gets its number.
Steps ScrollToAFarIconAndPickIt(int& tiles, int& picked) {
  auto scroll = std::make_shared<GridScroll>();
  auto range = [](CDialogWnd& d) { return Grid(d)->GetScrollRange(); };
  auto pos = [](CDialogWnd& d) { return Grid(d)->GetScrollPos(); };
  return Steps{
      [](CDialogWnd& d) { Click(d, L"btn_shell32"); },
      [&tiles, scroll, range, pos](CDialogWnd& d) {
        window_test::PaintNow(d.GetHWND());
        ui::ListBox* grid = Grid(d);
        tiles = grid->GetCount();
        if (TooFewIconsHere(tiles)) {
          Click(d, L"btn_cancel");
          return;
        }
        ASSERT_GT(tiles, 100) << "shell32.dll here holds " << tiles << " icons";
        const int tile = DpiScaler::Instance().ScaleInt(64);
        EXPECT_EQ(grid->GetItemAt(0)->GetWidth(), tile) << "tiles of the scale";
        // Columns of whole tiles, numbered down each column, more than fit.
        EXPECT_EQ(grid->GetItemAt(1)->GetPos().left, grid->GetItemAt(0)->GetPos().left);
        EXPECT_EQ(range(d).cy, 0) << "no room is missing downwards";
        scroll->range = range(d).cx;
        ASSERT_GT(scroll->range, 0) << "the grid grows to the right and scrolls that way";
        EXPECT_EQ(pos(d).cx, 0);
        EXPECT_FALSE(FullyShown(grid, tiles - 1));
        Wheel(d, true, 1);
      },
      [scroll, pos](CDialogWnd& d) {
        scroll->notch = pos(d).cx;
        ASSERT_GT(scroll->notch, 0) << "a wheel notch scrolls the grid to the right";
        // Enough notches for the rest of the way, and one more.
        Wheel(d, true, static_cast<int>((scroll->range - scroll->notch) / scroll->notch) + 2);
      },
      [&tiles, scroll, pos](CDialogWnd& d) {
        EXPECT_EQ(pos(d).cx, scroll->range) << "the wheel reaches the last column";
        window_test::PaintNow(d.GetHWND());
        EXPECT_TRUE(FullyShown(Grid(d), tiles - 1)) << "the last icon is in view";
        EXPECT_FALSE(FullyShown(Grid(d), 0));
        Wheel(d, false, static_cast<int>(scroll->range / scroll->notch) + 2);
      },
      [scroll, pos](CDialogWnd& d) {
        EXPECT_EQ(pos(d).cx, 0) << "and back to the first";
        EXPECT_TRUE(FullyShown(Grid(d), 0));
        const RECT rect = Grid(d)->GetPos();
        PostMouse(d, WM_MOUSEMOVE, 0, POINT{(rect.left + rect.right) / 2, rect.bottom - 4});
        scroll->waits = 0;
      },
      [scroll](CDialogWnd& d) { DragThumbToTheEnd(scroll, d); },
      [scroll](CDialogWnd& d) { MoveHeldThumbPastTheEnd(scroll, d); },
      [scroll](CDialogWnd& d) { ReleaseThumbAtTheEnd(scroll, d); },
      [&tiles, &picked](CDialogWnd& d) {
        window_test::PaintNow(d.GetHWND());
        picked = -1;
        for (int i = 100; i < tiles && picked < 0; ++i) {
          if (FullyShown(Grid(d), i)) picked = i;
        }
        ASSERT_GE(picked, 100) << "a tile numbered 100 or more is in view at the end";
        ClickControl(d, Grid(d)->GetItemAt(static_cast<size_t>(picked)));
      },
      [&picked](CDialogWnd& d) {
        EXPECT_EQ(Grid(d)->GetCurSel(), picked) << "the click chose the tile under it";
        Click(d, L"btn_ok");
      },
  };
}

void IconPickerFromEditorTest::ExpectAFarIconPickedThroughTheEditor() {
  ASSERT_NO_FATAL_FAILURE(OpenOverLinkWithIcon(L""));
  int tiles = 0;
  int picked = -1;
  std::wstring editorIcon;
  const std::wstring stored = PickIcon(ScrollToAFarIconAndPickIt(tiles, picked), &editorIcon);
  if (TooFewIconsHere(tiles)) GTEST_SKIP() << "this system's shell32.dll holds too few icons";
  ASSERT_GE(picked, 100);
  const std::wstring spec = std::wstring(kShell32) + L"," + std::to_wstring(picked);
  EXPECT_EQ(editorIcon, spec);
  EXPECT_EQ(stored, spec);
}

TEST_F(IconPickerFromEditorTest, EveryIconIsReachedByWheelAndBarAndAFarOneIsPicked) {
  ASSERT_NO_FATAL_FAILURE(ExpectAFarIconPickedThroughTheEditor());
}

// The same at 150 %, set before the framework starts, as a display at 144 dpi would.
class IconPickerFromEditorAtOneAndAHalfTest : public pexo_test::AtOneAndAHalf<IconPickerFromEditorTest> {};

TEST_F(IconPickerFromEditorAtOneAndAHalfTest, EveryIconIsReachedByWheelAndBarAndAFarOneIsPicked) {
  ASSERT_NO_FATAL_FAILURE(ExpectAFarIconPickedThroughTheEditor());
}

}  // namespace
