// The icon picker over a real icon library: the wanted icon is selected, OK hands
// back "path,index" (the path alone for icon 0), a missing file leaves the grid,
// its selection and the result alone.
#include <gtest/gtest.h>

#include <memory>

#include "app/dialogs/icon_wnd.h"
#include "data/icon_cache.h"
#include "tests/app/support/dialog_test_support.h"
#include "ui/controls/list_box.h"
#include "ui/controls/rich_edit.h"

namespace {

using dialog_test::Click;
using dialog_test::Key;
using dialog_test::RunScripted;
using dialog_test::Type;
using Steps = std::deque<std::function<void(CDialogWnd&)>>;

::testing::Environment* const skin = ::testing::AddGlobalTestEnvironment(new dialog_test::SkinEnvironment);

constexpr wchar_t kShell32[] = L"%windir%\\system32\\shell32.dll";

class IconDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(GetIconCache().Open());
    ASSERT_NE(owner_.CreatePlain(300, 200), nullptr);
  }
  void TearDown() override {
    DestroyWindow(owner_.GetHWND());
    window_test::PumpMessages();
  }
  // Runs the picker on `spec` (an icon source "path" or "path,index") and returns the result; `spec` is updated in place.
  UINT Run(std::shared_ptr<std::wstring> spec, Steps steps) {
    CIconWnd dialog;
    dialog.SetIconSpec(spec);
    return RunScripted(dialog, owner_.GetHWND(), std::move(steps));
  }
  static ui::ListBox* Grid(CDialogWnd& d) { return static_cast<CIconWnd&>(d).GetIconBox(); }
  static ui::RichEdit* PathEdit(CDialogWnd& d) { return dynamic_cast<ui::RichEdit*>(d.FindControlByName(L"filepath")); }

  window_test::TestWindow owner_{L"PexoIconDialogOwner"};
};

TEST_F(IconDialogTest, OpensOnTheWantedIconAndHandsTheSameSpecBack) {
  auto spec = std::make_shared<std::wstring>(std::wstring(kShell32) + L",4");
  int count = 0;
  const UINT result = Run(spec, Steps{[&](CDialogWnd& d) {
                            count = Grid(d)->GetCount();
                            if (count > 4) {
                              EXPECT_EQ(Grid(d)->GetCurSel(), 4);
                            }
                            EXPECT_EQ(PathEdit(d)->GetText(), kShell32) << "the field shows the path alone";
                            Click(d, L"btn_ok");
                          }});
  if (count <= 4) GTEST_SKIP() << "this system's shell32.dll holds too few icons";
  EXPECT_EQ(result, CDialogWnd::kResultOk);
  EXPECT_EQ(*spec, std::wstring(kShell32) + L",4");
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

// Gives the path field the focus with its whole text selected, as Tab does.
void FocusPath(CDialogWnd& d) {
  ui::RichEdit* edit = dynamic_cast<ui::RichEdit*>(d.FindControlByName(L"filepath"));
  ASSERT_NE(edit, nullptr);
  edit->SetFocus();
  edit->SetSelAll();
}

TEST_F(IconDialogTest, ATypedPathThatNamesNoFileLeavesGridAndSelectionAndOkGivesTheShownFile) {
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
  if (before <= 3) GTEST_SKIP() << "this system's shell32.dll holds too few icons";
  EXPECT_EQ(result, CDialogWnd::kResultOk);
  EXPECT_EQ(*spec, std::wstring(kShell32) + L",3") << "OK hands back the file the grid shows, never the missing one";
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

}  // namespace
