#include "ui/controls/rich_edit.h"

#include <climits>

#include <imm.h>

#include <vector>

#include "ui/base/animation_timer_manager.h"
#include "ui/base/font_info.h"
#include "ui/base/language_table.h"
#include "ui/base/string_util.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/txt_win_host.h"
#include "ui/core/layout.h"
#include "ui/core/scroll_bar.h"
#include "ui/core/window.h"

namespace ui {

namespace {

constexpr UINT kCodePageUtf16 = 1200;

// Skips leading characters up to the space, as colour attributes allow.
std::wstring TrimLeadingControlChars(const std::wstring& value) {
  size_t start = 0;
  while (start < value.size() && value[start] <= L' ') ++start;
  return value.substr(start);
}

}  // namespace

RichEdit::RichEdit()
    : ScrollableBox(new Layout),
      currentTextColor_(UiGlobals::GetDefaultTextColorName()),
      normalTextColor_(UiGlobals::GetDefaultTextColorName()),
      disabledTextColor_(UiGlobals::GetDefaultTextColorName()) {}

RichEdit::~RichEdit() {
  // A field that goes away with the focus gets no kill-focus event: close the
  // input method it opened when it took the focus.
  if (IsFocused()) SetImmStatus(false);
  caretBlinkFlag_.Cancel();
  for (auto& [id, flag] : timers_) flag.Cancel();
  timers_.clear();
  if (host_) {
    // The text services may call back while they shut down; the control is half
    // gone by then, so the host stops forwarding first.
    CTxtWinHost* host = host_;
    host_ = nullptr;
    host->DetachControl();
    host->Release();
  }
}

std::wstring RichEdit::GetType() const { return L"RichEdit"; }

void RichEdit::DoInit() {
  if (initialised_) return;
  CREATESTRUCTW create = {};
  create.style = static_cast<LONG>(style_);
  create.lpszName = text_.c_str();
  auto* host = new CTxtWinHost;
  if (host->Init(this, &create)) {
    host_ = host;
  } else {
    host->DetachControl();
    host->Release();
  }
  if (host_) {
    host_->SetTransparent(true);
    LRESULT ignored = 0;
    ITextServices* services = host_->GetTextServices();
    services->TxSendMessage(EM_SETLANGOPTIONS, 0, 0, &ignored);
    services->TxSendMessage(EM_SETEVENTMASK, 0, ENM_CHANGE, &ignored);
    ApplyMaxLength();
    InPlaceActivate();
    if (ScrollBar* bar = GetVerticalScrollBar()) bar->SetScrollRange(0);
    if (ScrollBar* bar = GetHorizontalScrollBar()) bar->SetScrollRange(0);
  }
  initialised_ = true;
}

void RichEdit::InPlaceActivate() {
  if (!host_) return;
  host_->SetInPlaceActive(true);
  if (FAILED(host_->GetTextServices()->OnTxInPlaceActivate(nullptr))) host_->SetInPlaceActive(false);
}

void RichEdit::ApplyMaxLength() {
  if (!host_) return;
  host_->GetTextServices()->OnTxPropertyBitsChange(TXTBIT_MAXLENGTHCHANGE, TXTBIT_MAXLENGTHCHANGE);
  // Some text services never ask the host for its limit; the message sets the
  // same limit on every kind.
  TxSendMessage(EM_EXLIMITTEXT, 0, host_->GetMaxLength(), nullptr);
}

void RichEdit::SetEnabled(bool enabled) {
  if (enabled == IsEnabled()) return;
  Control::SetEnabled(enabled);
  SetTextColor(enabled ? normalTextColor_ : disabledTextColor_);
}

bool RichEdit::IsTabStop() const { return IsEnabled() && tabStop_; }

// ---------------------------------------------------------------------------
// Added virtual operations

DWORD RichEdit::LookUpTextColor(const std::wstring& name) const {
  if (Window* window = GetWindow()) {
    if (DWORD color = window->GetColor(name)) return color;
  }
  return UiGlobals::GetColor(name);
}

DWORD RichEdit::ResolveColor(const std::wstring& value) const {
  if (!value.empty() && value[0] == L'#') {
    DWORD color = 0;
    return UiGlobals::ParseColor(value, color) ? color : 0;
  }
  return GetColorValue(value);
}

void RichEdit::SetTextColor(const std::wstring& name) {
  if (name == currentTextColor_) return;
  currentTextColor_ = name;
  if (host_) host_->SetColor(LookUpTextColor(name));
}

std::string RichEdit::GetUTF8Text() const {
  std::string out;
  NarrowStringCounted(GetText(), out, kCodePageUtf8);
  return out;
}

void RichEdit::SetUTF8Text(const std::string& text) {
  std::wstring wide;
  WidenStringCounted(text, wide, kCodePageUtf8);
  SetText(wide);
}

HRESULT RichEdit::TxSendMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) const {
  LRESULT ignored = 0;
  if (!result) result = &ignored;
  if (!host_) return S_FALSE;
  return host_->GetTextServices()->TxSendMessage(message, wParam, lParam, result);
}

void RichEdit::OnTxNotify(DWORD code, void* data) {
  switch (code) {
    case EN_CHANGE:
      OnTextChange();
      return;
    case EN_MSGFILTER:
    case EN_SELCHANGE:
    case EN_DROPFILES:
    case EN_PROTECTED:
    case EN_STOPNOUNDO:
    case EN_SAVECLIPBOARD:
    case EN_OLEOPFAILED:
    case EN_OBJECTPOSITIONS:
    case EN_DRAGDROPDONE: {
      HWND hwnd = GetWindowHandle();
      if (!data || !hwnd) return;
      auto* header = static_cast<NMHDR*>(data);
      header->hwndFrom = hwnd;
      header->idFrom = static_cast<UINT_PTR>(GetWindowLongW(hwnd, GWL_ID));
      header->code = code;
      SendMessageW(hwnd, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(data));
      return;
    }
    default:
      return;
  }
}

bool RichEdit::OnTextChange() {
  Window* window = GetWindow();
  if (!window) return true;
  EventArgs args;
  args.Type = textchange;
  args.pSender = this;
  args.dwTimestamp = GetTickCount();
  args.ptMouse = window->GetLastMousePos();
  HandleEventTemplate(args);
  return true;
}

bool RichEdit::GetNaturalSize(SIZE& natural, SIZE& size) {
  if (!host_ || !GetWindow()) return false;
  LONG width = size.cx;
  LONG height = 0;
  if (!host_->MeasureNaturalSize(width, height)) return false;
  natural = SIZE{width, height};
  size = natural;
  return true;
}

// ---------------------------------------------------------------------------
// Message wrappers

long RichEdit::GetTextLength() const {
  GETTEXTLENGTHEX query = {GTL_DEFAULT, kCodePageUtf16};
  LRESULT length = 0;
  if (TxSendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query), 0, &length) != S_OK) {
    return 0;
  }
  return static_cast<long>(length);
}

std::wstring RichEdit::GetText() const {
  const long length = GetTextLength();
  if (length <= 0) return std::wstring();
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  GETTEXTEX query = {};
  query.cb = static_cast<DWORD>((length + 1) * sizeof(wchar_t));
  query.flags = GT_DEFAULT;
  query.codepage = kCodePageUtf16;
  TxSendMessage(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&query),
                reinterpret_cast<LPARAM>(buffer.data()), nullptr);
  return std::wstring(buffer.data());
}

void RichEdit::SetText(const std::wstring& text) {
  ++textsSet_;
  text_ = text;
  if (!initialised_) return;
  SetSel(0, -1);
  ReplaceSel(text, false);
}

long RichEdit::GetSel(long& start, long& end) const {
  CHARRANGE range = {0, 0};
  TxSendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range), nullptr);
  start = range.cpMin;
  end = range.cpMax;
  return end;
}

int RichEdit::SetSel(long start, long end) {
  CHARRANGE range = {start, end};
  return SetSelRange(range);
}

int RichEdit::SetSelRange(CHARRANGE& range) {
  LRESULT result = 0;
  TxSendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range), &result);
  return static_cast<int>(result);
}

void RichEdit::ReplaceSel(const std::wstring& text, bool canUndo) {
  TxSendMessage(EM_REPLACESEL, canUndo ? TRUE : FALSE, reinterpret_cast<LPARAM>(text.c_str()), nullptr);
}

void RichEdit::SetMaxChar(int maxChar) {
  maxChar_ = maxChar;
  if (!host_) return;
  host_->SetMaxLength(maxChar_ < 1 ? kDefaultMaxChar : maxChar_);
  ApplyMaxLength();
}

void RichEdit::SetTextWhole(const std::wstring& text) {
  const size_t limit = static_cast<size_t>(maxChar_ < 1 ? kDefaultMaxChar : maxChar_);
  if (text.size() > limit && text.size() <= static_cast<size_t>(INT_MAX)) SetMaxChar(static_cast<int>(text.size()));
  SetText(text);
}

bool RichEdit::IsModified() const {
  LRESULT modified = 0;
  TxSendMessage(EM_GETMODIFY, 0, 0, &modified);
  return modified != 0;
}

void RichEdit::SetModified(bool modified) { TxSendMessage(EM_SETMODIFY, modified ? TRUE : FALSE, 0, nullptr); }

std::wstring RichEdit::GetSelText() const {
  CHARRANGE range = {0, 0};
  if (TxSendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range), nullptr) != S_OK) {
    return std::wstring();
  }
  if (range.cpMax <= range.cpMin) return std::wstring();
  std::vector<wchar_t> buffer(static_cast<size_t>(range.cpMax - range.cpMin) + 1, L'\0');
  TxSendMessage(EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(buffer.data()), nullptr);
  return std::wstring(buffer.data());
}

std::wstring RichEdit::GetTextRange(long start, long end) const {
  if (end < 0) end = GetTextLength();
  if (end <= start || start < 0) return std::wstring();
  std::vector<wchar_t> buffer(static_cast<size_t>(end - start) + 1, L'\0');
  TEXTRANGEW range = {};
  range.chrg = CHARRANGE{start, end};
  range.lpstrText = buffer.data();
  TxSendMessage(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range), nullptr);
  return std::wstring(buffer.data());
}

int RichEdit::AppendText(const std::wstring& text, bool canUndo) {
  const int result = SetSel(-1, -1);
  ReplaceSel(text, canUndo);
  return result;
}

DWORD RichEdit::GetEventMask() const {
  LRESULT mask = 0;
  TxSendMessage(EM_GETEVENTMASK, 0, 0, &mask);
  return static_cast<DWORD>(mask);
}

DWORD RichEdit::SetEventMask(DWORD mask) {
  LRESULT previous = 0;
  TxSendMessage(EM_SETEVENTMASK, 0, mask, &previous);
  return static_cast<DWORD>(previous);
}

bool RichEdit::Undo() {
  LRESULT result = 0;
  if (!host_) return false;
  TxSendMessage(EM_UNDO, 0, 0, &result);
  return result == 1;
}

bool RichEdit::Redo() {
  LRESULT result = 0;
  if (!host_) return false;
  TxSendMessage(EM_REDO, 0, 0, &result);
  return result == 1;
}

void RichEdit::Copy() { TxSendMessage(WM_COPY, 0, 0, nullptr); }
void RichEdit::Cut() { TxSendMessage(WM_CUT, 0, 0, nullptr); }
void RichEdit::Paste() { TxSendMessage(WM_PASTE, 0, 0, nullptr); }

void RichEdit::SetTextColorValue(DWORD argb) {
  if (host_) host_->SetColor(argb);
}

void RichEdit::RefreshTextColor() {
  if (!host_) return;
  const DWORD argb = LookUpTextColor(currentTextColor_);
  host_->SetColor(argb);
  // Some text services take a new default format only for text typed later: the
  // text already there is given the colour as well.
  CHARFORMAT2W format = {};
  format.cbSize = sizeof(format);
  format.dwMask = CFM_COLOR;
  format.crTextColor = ArgbToColorRef(argb);
  TxSendMessage(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format), nullptr);
  Invalidate();
}

void RichEdit::SetImmStatus(bool open) {
  HWND hwnd = GetWindowHandle();
  if (!hwnd) return;
  HIMC context = ImmGetContext(hwnd);
  if (!context) return;
  if ((ImmGetOpenStatus(context) != FALSE) != open) ImmSetOpenStatus(context, open ? TRUE : FALSE);
  ImmReleaseContext(hwnd, context);
}

HWND RichEdit::GetWindowHandle() const {
  Window* window = GetWindow();
  return window ? window->GetHWND() : nullptr;
}

// ---------------------------------------------------------------------------
// Prompt, caret and timers

std::wstring RichEdit::GetPromptText() const {
  if (promptText_.empty() && !promptTextId_.empty()) {
    return LanguageTable::Instance().GetText(promptTextId_);
  }
  return promptText_;
}

void RichEdit::SetPromptText(const std::wstring& text) {
  if (promptText_ == text) return;
  promptText_ = text;
  Invalidate();
}

void RichEdit::SetPromptTextId(const std::wstring& id) {
  if (promptTextId_ == id) return;
  promptTextId_ = id;
  Invalidate();
}

void RichEdit::ShowCaret(bool show) {
  caretBlinkFlag_.Cancel();
  caretVisible_ = show;
  caretShown_ = show;
  if (show) {
    AnimationTimerManager::Instance().AddTask(caretBlinkFlag_.GetWeakFlag(),
                                              [this] { OnCaretBlink(); }, 500, -1);
  }
  Invalidate();
}

void RichEdit::OnCaretBlink() {
  caretVisible_ = !caretVisible_;
  Invalidate();
}

void RichEdit::SetTimer(UINT id, UINT period) {
  nbase::WeakCallbackFlag& flag = timers_[id];
  flag.Cancel();
  AnimationTimerManager::Instance().AddTask(
      flag.GetWeakFlag(), [this, id] { TxSendMessage(WM_TIMER, id, 0, nullptr); }, period, -1);
}

void RichEdit::KillTimer(UINT id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return;
  it->second.Cancel();
  timers_.erase(it);
}

// ---------------------------------------------------------------------------
// Attributes

void RichEdit::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const bool isTrue = value == L"true";
  const bool isFalse = value == L"false";
  auto setStyle = [this](DWORD bits, bool on) {
    if (on) {
      style_ |= bits;
    } else {
      style_ &= ~bits;
    }
  };
  if (name == L"vscrollbar") {
    if (isTrue) {
      style_ |= WS_VSCROLL | kStyleNoScrollOrNumber;
    } else {
      style_ &= ~static_cast<DWORD>(WS_VSCROLL);
      if (!(style_ & WS_HSCROLL)) style_ &= ~kStyleNoScrollOrNumber;
    }
    EnableScrollBar(isTrue, GetHorizontalScrollBar() != nullptr);
  } else if (name == L"autovscroll") {
    if (isTrue || isFalse) setStyle(ES_AUTOVSCROLL, isTrue);
  } else if (name == L"hscrollbar") {
    if (isTrue) {
      style_ |= WS_HSCROLL | kStyleNoScrollOrNumber;
    } else {
      style_ &= ~static_cast<DWORD>(WS_HSCROLL);
      if (!(style_ & WS_VSCROLL)) style_ &= ~kStyleNoScrollOrNumber;
    }
    EnableScrollBar(GetVerticalScrollBar() != nullptr, isTrue);
  } else if (name == L"autohscroll") {
    if (isTrue || isFalse) setStyle(ES_AUTOHSCROLL, isTrue);
  } else if (name == L"multiline") {
    if (isTrue || isFalse) setStyle(ES_MULTILINE, isTrue);
  } else if (name == L"readonly") {
    if (isTrue || isFalse) {
      setStyle(ES_READONLY, isTrue);
      readOnly_ = isTrue;
    }
  } else if (name == L"password") {
    if (isTrue || isFalse) setStyle(ES_PASSWORD, isTrue);
  } else if (name == L"number") {
    if (isTrue || isFalse) {
      setStyle(kStyleNoScrollOrNumber, isTrue);
      numberOnly_ = isTrue;
    }
  } else if (name == L"align") {
    if (value.find(L"left") != std::wstring::npos) style_ &= ~static_cast<DWORD>(ES_CENTER | ES_RIGHT);
    if (value.find(L"hcenter") != std::wstring::npos) {
      style_ |= ES_CENTER;
      style_ &= ~static_cast<DWORD>(ES_RIGHT);
    }
    if (value.find(L"right") != std::wstring::npos) {
      style_ |= ES_RIGHT;
      style_ &= ~static_cast<DWORD>(ES_CENTER);
    }
    if (value.find(L"top") != std::wstring::npos) textVAlign_ = 0;
    if (value.find(L"vcenter") != std::wstring::npos) textVAlign_ = 1;
    if (value.find(L"bottom") != std::wstring::npos) textVAlign_ = 2;
  } else if (name == L"normaltextcolor") {
    normalTextColor_ = TrimLeadingControlChars(value);
    if (IsEnabled()) SetTextColor(normalTextColor_);
  } else if (name == L"disabledtextcolor") {
    disabledTextColor_ = TrimLeadingControlChars(value);
    if (!IsEnabled()) SetTextColor(disabledTextColor_);
  } else if (name == L"caretcolor") {
    caretColor_ = TrimLeadingControlChars(value);
  } else if (name == L"promptmode") {
    // Accepted for older skins; the prompt always shows while the field is empty.
  } else if (name == L"promptcolor") {
    promptColor_ = TrimLeadingControlChars(value);
  } else if (name == L"prompttext") {
    SetPromptText(value);
  } else if (name == L"prompttextid") {
    SetPromptTextId(value);
  } else if (name == L"focusedimage") {
    focusedImage_.SetImageString(value);
    Invalidate();
  } else if (name == L"font") {
    fontId_ = value;
    if (host_) {
      const FontInfo* font = UiGlobals::GetFont(fontId_);
      host_->SetFont(font ? font->handle : nullptr);
    }
  } else if (name == L"text") {
    SetText(value);
  } else if (name == L"textid") {
    SetText(LanguageTable::Instance().GetText(value));
  } else if (name == L"wanttab") {
    wantTab_ = isTrue;
  } else if (name == L"wantreturnmsg") {
    wantReturnMsg_ = isTrue;
  } else if (name == L"returnmsgwantctrl") {
    returnMsgWantCtrl_ = isTrue;
  } else if (name == L"rich") {
    rich_ = isTrue;
    if (host_) host_->SetRichText(rich_);
  } else if (name == L"maxchar") {
    SetMaxChar(_wtoi(value.c_str()));
  } else {
    Box::SetAttribute(name, value);
  }
}

}  // namespace ui
