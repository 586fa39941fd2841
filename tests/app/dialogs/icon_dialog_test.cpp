// The icon picker over a real icon library: the wanted icon is selected, OK hands
// back "path,index" (the path alone for icon 0), a missing file leaves the grid.
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

TEST_F(IconDialogTest, AMissingFileKeepsTheGridAndAnEmptyPathGivesAnEmptySpec) {
  auto spec = std::make_shared<std::wstring>(kShell32);
  int before = 0;
  const UINT result = Run(spec, Steps{
      [&](CDialogWnd& d) {
        before = Grid(d)->GetCount();
        ASSERT_GT(before, 0);
        PathEdit(d)->SetText(L"C:\\no\\such\\file.dll,2");
        PathEdit(d)->SetFocus();
      },
      [](CDialogWnd& d) {
        EXPECT_EQ(d.GetFocusControl(), PathEdit(d));
        Key(d, VK_RETURN);
      },
      [&](CDialogWnd& d) {
        EXPECT_EQ(Grid(d)->GetCount(), before) << "the grid stays as it was";
        EXPECT_EQ(PathEdit(d)->GetText(), L"C:\\no\\such\\file.dll") << "the typed path stays, without its index";
        PathEdit(d)->SetText(L"");
        Click(d, L"btn_ok");
      },
  });
  EXPECT_EQ(result, CDialogWnd::kResultOk);
  EXPECT_EQ(*spec, L"");
}

TEST_F(IconDialogTest, CancelAndTheCloseButtonLeaveTheSpec) {
  auto spec = std::make_shared<std::wstring>(std::wstring(kShell32) + L",1");
  EXPECT_EQ(Run(spec, Steps{[](CDialogWnd& d) { Click(d, L"btn_cancel"); }}), CDialogWnd::kResultCancel);
  EXPECT_EQ(Run(spec, Steps{[](CDialogWnd& d) { Click(d, L"closebtn"); }}), 0u);
  EXPECT_EQ(*spec, std::wstring(kShell32) + L",1");
}

}  // namespace
