// The launcher's text field in a real window: its attributes, link detection in
// the text services, a click on a link, and what a link opens.
#include "app/controls/rich_edit_x.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/controls/app_control_factory.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/stock_controls.h"
#include "ui/core/v_box.h"
#include "ui/core/skin_builder.h"

namespace {

using window_test::PaintNow;
using window_test::PumpMessages;
using window_test::PumpUntil;

::testing::Environment* const gdiplus =
    ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

TEST(RichEditXLinks, FileAddressesBecomePathsAndOtherLinksStayAsTheyAre) {
  EXPECT_EQ(ui::RichEditX::LinkTarget(L"file:///C:/notes/list.txt"), L"C:\\notes\\list.txt");
  EXPECT_EQ(ui::RichEditX::LinkTarget(L"FILE:///C:/notes/list.txt"), L"C:\\notes\\list.txt");
  // Percent escapes are decoded and a host name gives a UNC path.
  EXPECT_EQ(ui::RichEditX::LinkTarget(L"file:///C:/My%20Notes/a%23b.txt"), L"C:\\My Notes\\a#b.txt");
  EXPECT_EQ(ui::RichEditX::LinkTarget(L"file://server/share/x.txt"), L"\\\\server\\share\\x.txt");
  EXPECT_EQ(ui::RichEditX::LinkTarget(L"ftp://example.org/pub"), L"ftp://example.org/pub");
  EXPECT_EQ(ui::RichEditX::LinkTarget(L"E:\\films"), L"E:\\films");
  EXPECT_EQ(ui::RichEditX::LinkTarget(L"https://example.org/?q=file:"), L"https://example.org/?q=file:");
}

// A field that records the links it would open instead of opening them.
class RecordingEdit : public ui::RichEditX {
 public:
  std::vector<std::wstring> opened;
  // The last link notice of the text services, and how many came.
  ENLINK lastLink = {};
  int linkNotices = 0;

  void OnTxNotify(DWORD code, void* data) override {
    if (code == EN_LINK && data) {
      lastLink = *static_cast<ENLINK*>(data);
      ++linkNotices;
    }
    ui::RichEditX::OnTxNotify(code, data);
  }

 protected:
  void OpenLink(const std::wstring& target) override { opened.push_back(target); }
};

class RichEditXTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ui::RegisterStockControls();
    ui::UiGlobals::AddFont(L"edit", L"Microsoft YaHei", 16, false, false, false, false, true, 0);
  }
  void SetUp() override { hwnd = window.CreatePlain(420, 200); }
  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    PumpMessages();
  }

  window_test::TestWindow window{L"PexoRichEditXTest"};
  HWND hwnd = nullptr;
};

TEST_F(RichEditXTest, AttributesTakeOnlyTheExactLowerCaseWords) {
  ui::SkinBuilder builder;
  ui::Control* root = builder.Create(
      L"<Window><VBox><RichEditX name=\"a\" wantreturn=\"true\" wantlink=\"true\"/>"
      L"<RichEditX name=\"b\" wantreturn=\"TRUE\" wantlink=\"yes\"/></VBox></Window>",
      CreateAppControl, &window);
  ASSERT_NE(root, nullptr);
  window.AttachRoot(root);
  auto* a = dynamic_cast<ui::RichEditX*>(window.FindControlByName(L"a"));
  auto* b = dynamic_cast<ui::RichEditX*>(window.FindControlByName(L"b"));
  ASSERT_TRUE(a && b);
  EXPECT_TRUE(a->GetStyle() & ES_WANTRETURN);
  EXPECT_TRUE(a->IsWantLink());
  EXPECT_FALSE(b->GetStyle() & ES_WANTRETURN);
  EXPECT_FALSE(b->IsWantLink());
  a->SetAttribute(L"wantreturn", L"false");
  a->SetAttribute(L"wantlink", L"false");
  EXPECT_FALSE(a->GetStyle() & ES_WANTRETURN);
  EXPECT_FALSE(a->IsWantLink());
  a->SetAttribute(L"wantlink", L"True");
  EXPECT_FALSE(a->IsWantLink());
}

TEST_F(RichEditXTest, AnAddressBecomesALinkAndAClickOpensItAndLeavesTheCaretAfterIt) {
  auto* box = new ui::VBox;
  auto* edit = new RecordingEdit;
  edit->SetAttribute(L"font", L"edit");
  edit->SetAttribute(L"wantlink", L"true");
  box->Add(edit);
  window.AttachRoot(box);
  PaintNow(hwnd);
  ASSERT_NE(edit->GetHost(), nullptr) << "the text services could not be created";
  EXPECT_TRUE(edit->GetEventMask() & ENM_LINK);

  const std::wstring text = L"see https://example.org/pexo now";
  edit->SetFocus();
  for (wchar_t ch : text) PostMessageW(hwnd, WM_CHAR, ch, 1);
  PumpMessages();
  ASSERT_EQ(edit->GetText(), text);
  PaintNow(hwnd);

  // Where the link's middle character is drawn, in the window's client area.
  const long middle = 10;
  POINTL where = {};
  edit->TxSendMessage(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&where), middle, nullptr);
  CHARFORMAT2W format = {};
  format.cbSize = sizeof(format);
  edit->SetSel(middle, middle + 1);
  edit->TxSendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format), nullptr);
  if (!(format.dwEffects & CFE_LINK)) {
    GTEST_SKIP() << "these text services did not mark the address as a link";
  }
  edit->SetSel(0, 0);
  const LPARAM point = MAKELPARAM(where.x + 2, where.y + 4);
  // The text services read the cursor itself while they handle the release.
  POINT screen = {where.x + 2, where.y + 4};
  ClientToScreen(hwnd, &screen);
  SetCursorPos(screen.x, screen.y);
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, point);
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, point);
  SendMessageW(hwnd, WM_LBUTTONUP, 0, point);
  PumpMessages();
  // Moving over the link and pressing on it only notify; nothing opens before
  // the release.
  ASSERT_GT(edit->linkNotices, 0) << "no link notice for the mouse over the link";
  EXPECT_EQ(edit->lastLink.chrg.cpMin, 4);
  EXPECT_EQ(edit->lastLink.chrg.cpMax, 28);
  if (edit->opened.empty() && pexo_test::RunningUnderWine()) {
    // Wine's text services send no link notice for the button release; hand the
    // field the notice Windows sends for it.
    EXPECT_NE(edit->lastLink.msg, static_cast<UINT>(WM_LBUTTONUP));
    ENLINK release = edit->lastLink;
    release.msg = WM_LBUTTONUP;
    edit->OnTxNotify(EN_LINK, &release);
  }
  ASSERT_EQ(edit->opened.size(), 1u);
  EXPECT_EQ(edit->opened[0], L"https://example.org/pexo");
  long start = 0;
  long end = 0;
  edit->GetSel(start, end);
  EXPECT_EQ(start, 28);  // right after the link
  EXPECT_EQ(end, 28);
}

}  // namespace
