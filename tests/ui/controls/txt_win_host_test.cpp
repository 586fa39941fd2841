// The text host between a field and the text services, and the field's style
// attributes, checked on fields living in a real window: what the host reports
// to the text services, how scroll ranges and resize requests reach the field's
// bars and text area, vertical alignment, fonts, and disabled fields.
#include "ui/controls/txt_win_host.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <imm.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/ui/core/window_test_support.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/rich_edit.h"
#include "ui/controls/stock_controls.h"
#include "ui/controls/text_services_ids.h"
#include "ui/core/box.h"
#include "ui/core/scroll_bar.h"
#include "ui/core/scrollable_box.h"
#include "ui/core/v_layout.h"

namespace {

using window_test::PaintNow;
using window_test::PumpMessages;

::testing::Environment* const gdiplus =
    ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

class TxtWinHostTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ui::RegisterStockControls();
    ui::UiGlobals::AddFont(L"plain", L"Tahoma", 16, false, false, false, false, true, 0);
    ui::UiGlobals::AddFont(L"bold", L"Tahoma", 20, true, false, false, false, false, 0);
  }
  void SetUp() override {
    hwnd = window.CreatePlain(400, 300);
    root = new ui::Box;
    window.AttachRoot(root);
    PaintNow(hwnd);
  }
  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    PumpMessages();
  }

  // A field with the attributes given before it joins the window, placed at
  // (10, 10) with the given size.
  ui::RichEdit* AddField(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> attributes,
                         int width = 200, int height = 40) {
    auto* field = new ui::RichEdit;
    field->SetAttribute(L"font", L"plain");
    for (const auto& [name, value] : attributes) field->SetAttribute(name, value);
    field->SetFloat(true);
    field->SetFixedWidth(width, true, false);
    field->SetFixedHeight(height, false);
    root->Add(field);
    field->SetPos(RECT{10, 10, 10 + width, 10 + height});
    return field;
  }

  window_test::TestWindow window;
  HWND hwnd = nullptr;
  ui::Box* root = nullptr;
};

TEST_F(TxtWinHostTest, ReportsStylePropertiesAndInterfaces) {
  ui::RichEdit* field = AddField({{L"multiline", L"false"}, {L"readonly", L"true"}, {L"rich", L"true"}});
  ui::CTxtWinHost* host = field->GetHost();
  ASSERT_NE(host, nullptr);
  DWORD bits = 0;
  host->TxGetPropertyBits(0xFFFFFFFF, &bits);
  EXPECT_EQ(bits, static_cast<DWORD>(TXTBIT_RICHTEXT | TXTBIT_READONLY | TXTBIT_HIDESELECTION | TXTBIT_WORDWRAP));
  host->TxGetPropertyBits(TXTBIT_READONLY, &bits);
  EXPECT_EQ(bits, static_cast<DWORD>(TXTBIT_READONLY));

  void* object = nullptr;
  EXPECT_EQ(host->QueryInterface(ui::kIidTextHost, &object), S_OK);
  EXPECT_EQ(object, static_cast<ITextHost*>(host));
  host->Release();
  EXPECT_EQ(host->QueryInterface(IID_IUnknown, &object), S_OK);
  host->Release();
  EXPECT_EQ(host->QueryInterface(ui::kIidTextServices, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);

  DWORD length = 0;
  host->TxGetMaxLength(&length);
  EXPECT_EQ(length, 0x7FFFu);
  LONG pos = 0;
  host->TxGetAcceleratorPos(&pos);
  EXPECT_EQ(pos, -1);
  TXTBACKSTYLE back = TXTBACK_OPAQUE;
  host->TxGetBackStyle(&back);
  EXPECT_EQ(back, TXTBACK_TRANSPARENT);
}

TEST_F(TxtWinHostTest, StyleAttributesSetTheirBits) {
  ui::RichEdit* field = AddField({{L"vscrollbar", L"true"}, {L"hscrollbar", L"true"}, {L"align", L"right,vcenter"}});
  EXPECT_TRUE(field->GetStyle() & WS_VSCROLL);
  EXPECT_TRUE(field->GetStyle() & WS_HSCROLL);
  EXPECT_TRUE(field->GetStyle() & ES_RIGHT);
  EXPECT_FALSE(field->GetStyle() & ES_CENTER);
  EXPECT_EQ(field->GetTextVerticalAlign(), 1);
  EXPECT_EQ(field->GetHost()->GetParaFormat().wAlignment, PFA_RIGHT);
  EXPECT_FALSE(field->GetHost()->IsWordWrap()) << "a horizontal bar turns word wrap off";
  DWORD bars = 0;
  field->GetHost()->TxGetScrollBars(&bars);
  EXPECT_EQ(bars, static_cast<DWORD>(WS_VSCROLL | WS_HSCROLL | ES_DISABLENOSCROLL));
  // Dropping the vertical bar keeps the shared bit while the horizontal one stays.
  field->SetAttribute(L"vscrollbar", L"false");
  EXPECT_FALSE(field->GetStyle() & WS_VSCROLL);
  EXPECT_TRUE(field->GetStyle() & ui::RichEdit::kStyleNoScrollOrNumber);
  EXPECT_EQ(field->GetVerticalScrollBar(), nullptr);
  field->SetAttribute(L"hscrollbar", L"false");
  EXPECT_FALSE(field->GetStyle() & ui::RichEdit::kStyleNoScrollOrNumber);
  // A value naming none of the alignment words changes nothing.
  field->SetAttribute(L"align", L"middle");
  EXPECT_TRUE(field->GetStyle() & ES_RIGHT);
  EXPECT_EQ(field->GetTextVerticalAlign(), 1);
  field->SetAttribute(L"align", L"hcenter,bottom");
  EXPECT_TRUE(field->GetStyle() & ES_CENTER);
  EXPECT_FALSE(field->GetStyle() & ES_RIGHT);
  EXPECT_EQ(field->GetTextVerticalAlign(), 2);
  // Unknown and non-exact boolean values leave the flags alone.
  field->SetAttribute(L"password", L"TRUE");
  EXPECT_FALSE(field->IsPassword());
  EXPECT_TRUE(field->IsMultiLine());
}

TEST_F(TxtWinHostTest, MaxCharLimitsTypingAndZeroMeansTheDefault) {
  ui::RichEdit* limited = AddField({{L"maxchar", L"5"}});
  limited->SetFocus();
  for (wchar_t ch : std::wstring(L"abcdefgh")) PostMessageW(hwnd, WM_CHAR, ch, 1);
  PumpMessages();
  EXPECT_EQ(limited->GetText(), L"abcde");
  limited->SetAttribute(L"maxchar", L"0");
  EXPECT_EQ(limited->GetHost()->GetMaxLength(), 0x7FFF);
  PostMessageW(hwnd, WM_CHAR, L'f', 1);
  PumpMessages();
  EXPECT_EQ(limited->GetText(), L"abcdef");
  // Given before the field is created, 0 does not leave a field that takes nothing.
  ui::RichEdit* zero = AddField({{L"maxchar", L"0"}});
  EXPECT_EQ(zero->GetHost()->GetMaxLength(), 0x7FFF);
  zero->SetFocus();
  PostMessageW(hwnd, WM_CHAR, L'z', 1);
  PumpMessages();
  EXPECT_EQ(zero->GetText(), L"z");
}

TEST_F(TxtWinHostTest, ScrollRangesFollowTheTextAndReLayTheField) {
  ui::RichEdit* field = AddField({{L"vscrollbar", L"true"}}, 200, 60);
  ui::CTxtWinHost* host = field->GetHost();
  ui::ScrollBar* bar = field->GetVerticalScrollBar();
  ASSERT_NE(bar, nullptr);
  const RECT client = host->GetClientRect();
  const int height = client.bottom - client.top;
  // A range no larger than the text area hides the bar and keeps the layout.
  host->TxSetScrollRange(SB_VERT, 0, height, TRUE);
  EXPECT_EQ(bar->GetScrollRange(), 0);
  EXPECT_EQ(host->GetClientRect().right, client.right);
  // A range turning positive gives the bar its overflow and narrows the text.
  host->TxSetScrollRange(SB_VERT, 0, height + 90, TRUE);
  EXPECT_EQ(bar->GetScrollRange(), 90);
  EXPECT_EQ(host->GetClientRect().right, client.right - bar->GetFixedWidth());
  host->TxSetScrollPos(SB_VERT, 30, TRUE);
  EXPECT_EQ(bar->GetScrollPos(), 30);
  // Requests about a bar the field does not have do nothing.
  EXPECT_TRUE(host->TxSetScrollRange(SB_HORZ, 0, 5000, TRUE));
  EXPECT_TRUE(host->TxSetScrollPos(SB_HORZ, 10, TRUE));
  EXPECT_EQ(field->GetHorizontalScrollBar(), nullptr);
  // Disabling both arrows empties the range and lays the field out again.
  host->TxEnableScrollBar(SB_BOTH, ESB_DISABLE_BOTH);
  EXPECT_EQ(bar->GetScrollRange(), 0);
  EXPECT_EQ(host->GetClientRect().right, client.right);
}

TEST_F(TxtWinHostTest, ResizeRequestsReplaceTheTextArea) {
  ui::RichEdit* field = AddField({});
  ui::CTxtWinHost* host = field->GetHost();
  int notices = 0;
  field->AttachEvent(ui::textchange, [&](ui::EventArgs*) {
    ++notices;
    return true;
  });
  REQRESIZE request = {};
  request.rc = RECT{0, 0, 120, 30};
  host->TxNotify(EN_REQUESTRESIZE, &request);
  const RECT client = host->GetClientRect();
  EXPECT_EQ(client.left, 10);
  EXPECT_EQ(client.top, 10);
  EXPECT_EQ(client.right, 130);
  EXPECT_EQ(client.bottom, 40);
  SIZEL extent = {};
  host->TxGetExtent(&extent);
  EXPECT_EQ(extent.cx, MulDiv(120, 2540, GetDeviceCaps(window.GetPaintDC(), LOGPIXELSX)));
  host->TxNotify(EN_CHANGE, nullptr);
  EXPECT_EQ(notices, 1);
}

TEST_F(TxtWinHostTest, BottomAlignedTextSitsOnTheBottomEdge) {
  ui::RichEdit* top = AddField({{L"multiline", L"false"}, {L"text", L"Ag"}}, 200, 80);
  const RECT topRect = top->GetHost()->GetAlignedClientRect();
  EXPECT_EQ(topRect.top, 10);
  top->SetAttribute(L"align", L"bottom");
  LONG width = 200;
  LONG height = 0;
  ASSERT_TRUE(top->GetHost()->MeasureNaturalSize(width, height));
  ASSERT_GT(height, 0);
  const RECT bottom = top->GetHost()->GetAlignedClientRect();
  EXPECT_EQ(bottom.top, 10 + 80 - height);
  RECT reported = {};
  top->GetHost()->TxGetClientRect(&reported);
  EXPECT_EQ(reported.top, bottom.top) << "the text services get the aligned rectangle too";
  top->SetAttribute(L"align", L"vcenter");
  EXPECT_EQ(top->GetHost()->GetAlignedClientRect().top, 10 + (80 - height) / 2);
}

TEST_F(TxtWinHostTest, FontsSetAndClearBoldAndSize) {
  ui::RichEdit* field = AddField({});
  ui::CTxtWinHost* host = field->GetHost();
  const LONG plainHeight = host->GetCharFormat().yHeight;
  EXPECT_GT(plainHeight, 0);
  EXPECT_FALSE(host->GetCharFormat().dwEffects & CFE_BOLD);
  field->SetAttribute(L"font", L"bold");
  EXPECT_TRUE(host->GetCharFormat().dwEffects & CFE_BOLD);
  EXPECT_GT(host->GetCharFormat().yHeight, plainHeight);
  field->SetAttribute(L"font", L"plain");
  EXPECT_FALSE(host->GetCharFormat().dwEffects & CFE_BOLD);
  EXPECT_EQ(host->GetCharFormat().yHeight, plainHeight);
  EXPECT_EQ(std::wstring(host->GetCharFormat().szFaceName), L"Tahoma");
}

TEST_F(TxtWinHostTest, DisabledFieldsPassEventsOnUnlessReadOnly) {
  ui::RichEdit* field = AddField({{L"text", L"text"}});
  int rootChars = 0;
  root->AttachBubbledEvent(ui::char_, [&](ui::EventArgs*) {
    ++rootChars;
    return true;
  });
  field->SetEnabled(false);
  EXPECT_EQ(field->GetState(), ui::kControlStateDisabled);
  EXPECT_FALSE(field->IsTabStop());
  window.SendControlEvent(field, ui::char_, L'x', 1);
  EXPECT_EQ(rootChars, 1);
  EXPECT_EQ(field->GetText(), L"text");
  // A disabled read-only field still handles its events itself.
  field->SetAttribute(L"readonly", L"true");
  window.SendControlEvent(field, ui::char_, L'x', 1);
  EXPECT_EQ(rootChars, 1);
  field->SetEnabled(true);
  EXPECT_EQ(field->GetState(), ui::kControlStateNormal);
  EXPECT_TRUE(field->IsTabStop());
}

TEST_F(TxtWinHostTest, CompositionWindowStartsAtTheCaret) {
  ui::RichEdit* field = AddField({{L"text", L"拼音"}});
  field->SetFocus();
  field->SetSel(-1, -1);
  PumpMessages();
  window.SendControlEvent(field, ui::imestart);
  HIMC context = ImmGetContext(hwnd);
  if (!context) GTEST_SKIP() << "no input context for the window";
  COMPOSITIONFORM form = {};
  const BOOL got = ImmGetCompositionWindow(context, &form);
  ImmReleaseContext(hwnd, context);
  if (!got) GTEST_SKIP() << "the input method keeps no composition window here";
  const RECT caret = field->GetCaretRect();
  EXPECT_EQ(form.dwStyle, static_cast<DWORD>(CFS_POINT));
  EXPECT_EQ(form.ptCurrentPos.x, std::max(1L, caret.left));
  EXPECT_EQ(form.ptCurrentPos.y, std::max(1L, caret.top));
  window.SendControlEvent(field, ui::imeend);
}

TEST_F(TxtWinHostTest, FieldWithoutAWindowStoresItsTextUntilItJoinsOne) {
  ui::RichEdit loose;
  loose.SetText(L"later");
  EXPECT_EQ(loose.GetText(), L"");
  EXPECT_FALSE(loose.Undo());
  LRESULT result = 0;
  EXPECT_EQ(loose.TxSendMessage(WM_CHAR, L'a', 0, &result), S_FALSE);
  SIZE natural = {}, size = {100, 0};
  EXPECT_FALSE(loose.GetNaturalSize(natural, size));
  auto* field = new ui::RichEdit;
  field->SetText(L"stored");
  root->Add(field);
  EXPECT_EQ(field->GetText(), L"stored");
}

// Records the notifications the window receives from its fields.
class NotifyFilter : public ui::IUIMessageFilter {
 public:
  LRESULT MessageHandler(UINT message, WPARAM, LPARAM lParam, bool&) override {
    if (message == WM_NOTIFY && lParam) codes.push_back(reinterpret_cast<NMHDR*>(lParam)->code);
    return 0;
  }
  std::vector<UINT> codes;
};

TEST_F(TxtWinHostTest, WrappersEditTheTextAndNotificationsReachTheWindow) {
  ui::RichEdit* field = AddField({{L"text", L"start"}});
  // The result is the selection the text went after: the end of the old text.
  EXPECT_EQ(field->AppendText(L" 追加"), 5);
  EXPECT_EQ(field->GetText(), L"start 追加");
  field->SetUTF8Text("\xE4\xB8\xAD UTF-8");
  EXPECT_EQ(field->GetText(), L"中 UTF-8");
  EXPECT_EQ(field->GetTextRange(2, -1), L"UTF-8");
  field->SetSel(2, 5);
  long start = 0, end = 0;
  EXPECT_EQ(field->GetSel(start, end), 5);
  EXPECT_EQ(start, 2);
  field->ReplaceSel(L"utf", true);
  EXPECT_EQ(field->GetText(), L"中 utf-8");
  EXPECT_TRUE(field->Undo());
  EXPECT_EQ(field->GetText(), L"中 UTF-8");

  EXPECT_EQ(field->GetEventMask(), static_cast<DWORD>(ENM_CHANGE));
  EXPECT_EQ(field->SetEventMask(ENM_CHANGE | ENM_SELCHANGE), static_cast<DWORD>(ENM_CHANGE));
  NotifyFilter filter;
  window.AddMessageFilter(&filter);
  field->SetSel(0, 1);
  window.RemoveMessageFilter(&filter);
  EXPECT_NE(std::find(filter.codes.begin(), filter.codes.end(), static_cast<UINT>(EN_SELCHANGE)),
            filter.codes.end());

  // The text colour goes into the character format as a COLORREF.
  window.AddColor(L"red_text", 0xFFFF0000);
  field->SetAttribute(L"normaltextcolor", L"red_text");
  EXPECT_EQ(field->GetCurrentTextColor(), L"red_text");
  EXPECT_EQ(field->GetHost()->GetCharFormat().crTextColor, RGB(0xFF, 0, 0));
  field->SetTextColorValue(0xFF0000FF);
  EXPECT_EQ(field->GetHost()->GetCharFormat().crTextColor, RGB(0, 0, 0xFF));
}

TEST_F(TxtWinHostTest, TextTallerThanTheFieldIsClippedToIt) {
  window.AddColor(L"page", 0xFFFFFFFF);
  root->SetAttribute(L"bkcolor", L"page");
  std::wstring lines;
  for (int i = 0; i < 12; ++i) lines += L"第" + std::to_wstring(i) + L"行 overflowing text\r";
  ui::RichEdit* field = AddField({{L"text", lines.c_str()}}, 200, 40);
  field->SetSel(0, 0);  // the view at the top: the lines below the field overflow it
  PaintNow(hwnd);
  ui::IRenderContext* surface = window.GetRenderContext();
  int inside = 0;
  int below = 0;
  for (int y = 10; y < 200; ++y) {
    for (int x = 10; x < 210; ++x) {
      if ((window_test::PixelAt(surface, x, y) & 0xFFFFFFu) == 0xFFFFFFu) continue;
      (y < 50 ? inside : below)++;
    }
  }
  EXPECT_GT(inside, 50) << "the first lines are drawn";
  EXPECT_EQ(below, 0) << "nothing is drawn past the field's bottom";
}

TEST_F(TxtWinHostTest, ClicksReachTheRightCharacterInsideAScrolledBox) {
  auto* list = new ui::ScrollableBox(new ui::VLayout);
  list->SetAttribute(L"vscrollbar", L"true");
  list->SetFloat(true);
  root->Add(list);
  auto* spacer = new ui::Control;
  spacer->SetFixedHeight(300, false);
  list->Add(spacer);
  auto* field = new ui::RichEdit;
  field->SetAttribute(L"font", L"plain");
  field->SetAttribute(L"multiline", L"false");
  field->SetFixedHeight(30, false);
  field->SetText(L"0123456789");
  list->Add(field);
  auto* tail = new ui::Control;
  tail->SetFixedHeight(300, false);
  list->Add(tail);
  list->SetPos(RECT{0, 0, 300, 200});
  PaintNow(hwnd);
  list->SetScrollPosY(250);
  PaintNow(hwnd);
  ASSERT_EQ(list->GetScrollPos().cy, 250);
  const RECT pos = field->GetPos();  // unscrolled: the field shows 250 pixels higher
  ASSERT_EQ(pos.top, 300);
  const int y = pos.top - 250 + 15;
  // A click inside the text puts the caret between its characters; without the
  // scroll added back the click would miss the text and land at an end.
  const int x = pos.left + 40;
  PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  PumpMessages();
  EXPECT_EQ(window.GetFocusControl(), field);
  long start = -1, end = -1;
  field->GetSel(start, end);
  EXPECT_GT(start, 0);
  EXPECT_LT(start, 10);
  EXPECT_EQ(start, end);
  // The caret is reported in unscrolled coordinates, next to the click.
  const RECT caret = field->GetCaretRect();
  EXPECT_GE(caret.top, pos.top);
  EXPECT_LT(caret.top, pos.bottom);
  EXPECT_LE(std::abs(caret.left - x), 12);
}

// The text services' caret and capture requests are weighed against the field:
// no caret in a field without the focus, none while the text services hide it,
// and the window's capture flag follows the capture they take and give back.
TEST_F(TxtWinHostTest, CaretAndCaptureRequestsFollowTheField) {
  ui::RichEdit* field = AddField({{L"text", L"caret"}});
  ui::CTxtWinHost* host = field->GetHost();
  ASSERT_NE(host, nullptr);
  ASSERT_FALSE(field->IsFocused());
  host->TxSetCaretPos(20, 12);
  EXPECT_FALSE(field->IsCaretShown()) << "a field without the focus shows no caret";
  EXPECT_EQ(field->GetCaretRect().left, 20);

  field->SetFocus();
  PumpMessages();
  ASSERT_TRUE(field->IsFocused());
  host->TxSetCaretPos(24, 12);
  EXPECT_TRUE(field->IsCaretShown());
  host->TxShowCaret(FALSE);
  EXPECT_FALSE(field->IsCaretShown()) << "hidden while the text services ask";
  host->TxSetCaretPos(30, 12);
  EXPECT_TRUE(field->IsCaretShown());

  host->TxSetCapture(TRUE);
  EXPECT_EQ(GetCapture(), hwnd);
  EXPECT_TRUE(window.IsMouseCaptured());
  host->TxSetCapture(FALSE);
  EXPECT_NE(GetCapture(), hwnd);
  EXPECT_FALSE(window.IsMouseCaptured());
  // Releasing leaves another window's capture alone.
  window_test::TestWindow other(L"PexoCaptureHolder");
  HWND otherHwnd = other.CreatePlain(50, 50, 300, 0);
  SetCapture(otherHwnd);
  host->TxSetCapture(FALSE);
  EXPECT_EQ(GetCapture(), otherHwnd);
  EXPECT_FALSE(window.IsMouseCaptured());
  ReleaseCapture();
  DestroyWindow(otherHwnd);
}

// A field whose height follows its text shows every wrapped line: the text is
// measured at the width its text area really has, the field's width less its
// padding, and a stretching field at the width its column gives it.
TEST_F(TxtWinHostTest, AutoHeightFieldsShowEveryWrappedLine) {
  auto* column = new ui::Box(new ui::VLayout);
  column->SetFloat(true);
  column->SetFixedWidth(260, true, false);
  column->SetFixedHeight(300, false);
  root->Add(column);
  const std::wstring text =
      L"A field that grows with its text wraps this sentence over several lines, 每一行都要看得见.";
  ui::RichEdit* fields[2] = {};
  for (ui::RichEdit*& field : fields) {
    field = new ui::RichEdit;
    field->SetAttribute(L"font", L"plain");
    field->SetAttribute(L"padding", L"24,4,24,4");
    field->SetText(text);
    field->SetFixedHeight(ui::kSizeAuto, false);
    column->Add(field);
  }
  fields[0]->SetFixedWidth(220, true, false);  // fixed width; fields[1] stretches
  column->SetPos(RECT{0, 0, 260, 300});
  PaintNow(hwnd);
  PaintNow(hwnd);

  const int widths[2] = {220, 260};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    ui::RichEdit* field = fields[i];
    const RECT pos = field->GetPos();
    EXPECT_EQ(pos.right - pos.left, widths[i]);
    const RECT client = field->GetHost()->GetClientRect();
    EXPECT_EQ(client.right - client.left, widths[i] - 48);
    SIZE natural = {};
    SIZE request = {client.right - client.left, 0};
    ASSERT_TRUE(field->GetNaturalSize(natural, request));
    SIZE oneLine = {};
    SIZE wide = {2000, 0};
    ASSERT_TRUE(field->GetNaturalSize(oneLine, wide));
    EXPECT_GE(natural.cy, 2 * oneLine.cy) << "the text wraps";
    EXPECT_GE(client.bottom - client.top, natural.cy) << "no wrapped line is cut off";
    EXPECT_EQ(pos.bottom - pos.top, natural.cy + 8);
  }
}

}  // namespace
