// The name, web-address and system-function dialogs built from the program's
// own skin, run modally over an owner and driven with posted keys and clicks.
#include <gtest/gtest.h>

#include <memory>

#include "app/dialogs/name_wnd.h"
#include "app/dialogs/sys_wnd.h"
#include "app/dialogs/url_wnd.h"
#include "data/icon_cache.h"
#include "data/system_links.h"
#include "tests/app/support/dialog_test_support.h"
#include "tests/support/message_box_closer.h"
#include "tests/support/render_pixels.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/controls/list_container_element.h"
#include "ui/controls/rich_edit.h"

namespace {

using dialog_test::Click;
using dialog_test::EditText;
using dialog_test::LabelText;
using dialog_test::Key;
using dialog_test::RunScripted;
using dialog_test::Type;
using Steps = std::deque<std::function<void(CDialogWnd&)>>;

::testing::Environment* const skin = ::testing::AddGlobalTestEnvironment(new dialog_test::SkinEnvironment);

class SmallDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(owner_.CreatePlain(300, 200), nullptr); }
  void TearDown() override {
    DestroyWindow(owner_.GetHWND());
    window_test::PumpMessages();
  }
  HWND owner() { return owner_.GetHWND(); }

  window_test::TestWindow owner_{L"PexoDialogOwner"};
};

// A layered window shows its surface with the surface's alpha. The edit's text
// services draw with GDI, which leaves the alpha of the pixels it writes at 0:
// unless the window makes them opaque again, typed text shows as a faint ghost
// added to whatever lies behind the window.
// A short text selected in a wide field is shown from its start, not scrolled
// out to the left as it would be in a field of no width.
void ExpectTextStartsInView(CDialogWnd& dialog, const wchar_t* name) {
  auto* field = dynamic_cast<ui::RichEdit*>(dialog.FindControlByName(name));
  ASSERT_NE(field, nullptr);
  POINTL first = {};
  field->TxSendMessage(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&first), 0, nullptr);
  EXPECT_GE(first.x, field->GetPos().left) << "the text's start is scrolled out of the field";
}

void ExpectFieldShownOpaque(CDialogWnd& dialog, const wchar_t* name) {
  UpdateWindow(dialog.GetHWND());
  ui::Control* field = dialog.FindControlByName(name);
  ASSERT_NE(field, nullptr);
  ui::IRenderContext* surface = dialog.GetRenderContext();
  ASSERT_NE(surface, nullptr);
  const RECT pos = field->GetPos();
  int seeThrough = 0;
  int inked = 0;
  for (LONG y = pos.top; y < pos.bottom; ++y) {
    for (LONG x = pos.left; x < pos.right; ++x) {
      const DWORD pixel = pexo_test::Pixel(*surface, x, y);
      if ((pixel >> 24) != 0xFF) ++seeThrough;
      if ((pixel & 0xFF) < 0x80) ++inked;
    }
  }
  EXPECT_EQ(seeThrough, 0) << "pixels of the field are not opaque on screen";
  EXPECT_GT(inked, 10) << "no text in the field";
}


// A name dialog whose skin file is missing, so that its window cannot be made;
// it counts how often it is deleted.
class UnbuildableNameWnd : public CNameWnd {
 public:
  explicit UnbuildableNameWnd(int& deletions) : deletions_(deletions) {}
  ~UnbuildableNameWnd() override { ++deletions_; }
  std::wstring GetSkinFile() override { return L"no_such_dialog.xml"; }

 private:
  int& deletions_;
};

TEST_F(SmallDialogsTest, ADialogWhoseWindowCannotBeMadeIsDeletedOnceAndLetGoByItsOpener) {
  int deletions = 0;
  auto dialog = std::make_unique<UnbuildableNameWnd>(deletions);
  pexo_test::MessageBoxCloser closer;  // the framework says the skin did not load
  EXPECT_EQ(RunOwnedDialog(dialog, owner(), L"NameWnd"), CDialogWnd::kNotCreated);
  EXPECT_NE(closer.Text().find(L"no_such_dialog.xml"), std::wstring::npos);
  EXPECT_EQ(dialog, nullptr) << "the opener holds nothing it could read or delete again";
  EXPECT_EQ(deletions, 1);
  window_test::PumpMessages();
  EXPECT_EQ(deletions, 1);
}

TEST_F(SmallDialogsTest, ADialogClosedWithItsCaptionButtonIsHandedBackForItsOpenerToDelete) {
  int deletions = 0;
  // The real skin this time: the window is made.
  class CountedNameWnd : public CNameWnd {
   public:
    explicit CountedNameWnd(int& deletions) : deletions_(deletions) {}
    ~CountedNameWnd() override { ++deletions_; }

   private:
    int& deletions_;
  };
  auto dialog = std::make_unique<CountedNameWnd>(deletions);
  dialog_test::Script script{dialog.get(), nullptr, Steps{[](CDialogWnd& d) { Click(d, L"closebtn"); }}, 0};
  dialog_test::CurrentScript() = &script;
  const UINT_PTR timer = SetTimer(nullptr, 0, 60, &dialog_test::RunNextStep);
  const UINT result = RunOwnedDialog(dialog, owner(), L"NameWnd");
  KillTimer(nullptr, timer);
  dialog_test::CurrentScript() = nullptr;
  EXPECT_EQ(result, 0u) << "the caption button closes with 0";
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(deletions, 0) << "still there for its opener to read";
  dialog.reset();
  EXPECT_EQ(deletions, 1);
}

TEST_F(SmallDialogsTest, NameDialogReplacesTheSelectedProposalAndRefusesAnEmptyName) {
  CNameWnd dialog;
  dialog.SetHeading(L"分组-重命名");
  dialog.SetName(L"旧名字");
  HWND ownerWnd = owner();
  const UINT result = RunScripted(dialog, ownerWnd, Steps{
      [&](CDialogWnd& d) {
        EXPECT_FALSE(IsWindowEnabled(ownerWnd)) << "the dialog is modal over its opener";
        EXPECT_EQ(LabelText(d.FindControlByName(L"title")), L"分组-重命名");
        ExpectTextStartsInView(d, L"edit_name");
        Type(d, L"x");  // the proposal is selected: the first key replaces it
      },
      [](CDialogWnd& d) {
        EXPECT_EQ(EditText(d, L"edit_name"), L"x");
        Key(d, VK_BACK);  // empty now
      },
      [](CDialogWnd& d) { Click(d, L"btn_ok"); },
      [](CDialogWnd& d) { Type(d, L"\r"); },
      [&](CDialogWnd& d) {
        EXPECT_TRUE(IsWindow(d.GetHWND())) << "an empty name keeps the dialog open";
        EXPECT_EQ(EditText(d, L"edit_name"), L"") << "Enter on an empty name does not reach the edit";
        Click(d, L"edit_name");
      },
      [](CDialogWnd& d) { Type(d, L"  "); },  // blanks only are a name
      [](CDialogWnd& d) { Type(d, L"\r"); },
  });
  EXPECT_EQ(result, CDialogWnd::kResultOk);
  EXPECT_EQ(dialog.GetName(), L"  ");
  EXPECT_TRUE(IsWindowEnabled(ownerWnd));
}

TEST_F(SmallDialogsTest, NameDialogCancelsByButtonAndByEscape) {
  {
    CNameWnd dialog;
    dialog.SetName(L"标签");
    EXPECT_EQ(RunScripted(dialog, owner(), Steps{[](CDialogWnd& d) { Type(d, L"新"); },
                                                 [](CDialogWnd& d) { Click(d, L"btn_cancel"); }}),
              CDialogWnd::kResultCancel);
    EXPECT_EQ(dialog.GetName(), L"标签") << "cancel hands back nothing";
  }
  {
    CNameWnd dialog;
    EXPECT_EQ(RunScripted(dialog, owner(), Steps{[](CDialogWnd& d) { Key(d, VK_ESCAPE); }}),
              CDialogWnd::kResultCancel);
  }
}

TEST_F(SmallDialogsTest, UrlDialogNeedsNameAndAddressAndHandsBackAllThreeTexts) {
  CUrlWnd dialog;
  dialog.SetHeading(L"新增URL链接");
  dialog.SetName(L"");
  dialog.SetUrl(L"");
  const UINT result = RunScripted(dialog, owner(), Steps{
      [](CDialogWnd& d) {
        EXPECT_EQ(LabelText(d.FindControlByName(L"title")), L"新增URL链接");
        Click(d, L"edit_name");
      },
      [](CDialogWnd& d) { Type(d, L"搜索"); },
      [](CDialogWnd& d) { ExpectFieldShownOpaque(d, L"edit_name"); },
      [](CDialogWnd& d) { Click(d, L"btn_ok"); },  // no address yet
      [](CDialogWnd& d) {
        EXPECT_TRUE(IsWindow(d.GetHWND()));
        EXPECT_EQ(static_cast<CUrlWnd&>(d).GetName(), L"搜索") << "the members hold the edited texts";
        Click(d, L"edit_name");
        Key(d, VK_TAB);  // on to the address
      },
      [](CDialogWnd& d) { Type(d, L"not really an address"); },
      [](CDialogWnd& d) { Key(d, VK_TAB); },
      [](CDialogWnd& d) { Type(d, L"备注"); },
      [](CDialogWnd& d) { Click(d, L"btn_ok"); },
  });
  EXPECT_EQ(result, CDialogWnd::kResultOk);
  EXPECT_EQ(dialog.GetName(), L"搜索");
  EXPECT_EQ(dialog.GetUrl(), L"not really an address") << "any address text is accepted";
  EXPECT_EQ(dialog.GetRemark(), L"备注");
}

TEST_F(SmallDialogsTest, UrlDialogShowsTheProposalAndCancels) {
  CUrlWnd dialog;
  dialog.SetName(L"Example");
  dialog.SetUrl(L"https://example.com/");
  const UINT result = RunScripted(dialog, owner(), Steps{
      [](CDialogWnd& d) {
        EXPECT_EQ(EditText(d, L"edit_name"), L"Example");
        EXPECT_EQ(EditText(d, L"edit_url"), L"https://example.com/");
        EXPECT_EQ(EditText(d, L"edit_remark"), L"");
        Click(d, L"btn_cancel");
      },
  });
  EXPECT_EQ(result, CDialogWnd::kResultCancel);
}

TEST_F(SmallDialogsTest, SystemDialogShowsEveryRowInOrderAndReturnsTheClickedOne) {
  ASSERT_TRUE(GetIconCache().Open());
  GetIconCache().LoadAll();
  CSysWnd dialog;
  const auto& table = SystemLinkTable();
  ASSERT_TRUE(InitSysFuncTable());
  const UINT result = RunScripted(dialog, owner(), Steps{
      [&](CDialogWnd& d) {
        ui::ListBox* box = static_cast<CSysWnd&>(d).GetSysBox();
        ASSERT_NE(box, nullptr);
        ASSERT_EQ(box->GetCount(), static_cast<int>(table.size()));
        ASSERT_EQ(box->GetCount(), 35);
        for (int i = 0; i < box->GetCount(); ++i) {
          auto* tile = dynamic_cast<ui::ListContainerElement*>(box->GetItemAt(i));
          ASSERT_NE(tile, nullptr);
          EXPECT_EQ(tile->GetIndex(), i);
          EXPECT_EQ(LabelText(tile->FindChildByName(L"item_text")), table[i].NAME);
        }
        // "注册表" has no icon key: its program's icon is cached under its path.
        const int registry = 5;
        EXPECT_EQ(table[registry].NAME, L"注册表");
        EXPECT_TRUE(table[registry].ICON.empty());
        auto* tile = dynamic_cast<ui::ListContainerElement*>(box->GetItemAt(registry));
        EXPECT_EQ(tile->GetToolTipText().rfind(table[registry].PATH, 0), 0u);
        EXPECT_EQ(tile->GetToolTipWidth(), 400);
        dialog_test::ClickControl(d, box->GetItemAt(7));
      },
  });
  EXPECT_EQ(result, CDialogWnd::kResultOk);
  EXPECT_EQ(dialog.GetChosenRow(), 7);
  EXPECT_EQ(table[7].NAME, L"命令行");
}

}  // namespace
