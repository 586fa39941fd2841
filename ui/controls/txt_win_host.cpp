#include "ui/controls/txt_win_host.h"

#include <cstring>

#include "ui/base/font_info.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/rich_edit.h"
#include "ui/controls/text_services_ids.h"
#include "ui/core/scroll_bar.h"
#include "ui/core/window.h"

namespace ui {

namespace {

constexpr DWORD kCharFormatMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_SIZE |
                                  CFM_COLOR | CFM_FACE | CFM_OFFSET | CFM_CHARSET;
constexpr DWORD kParaFormatMask = PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET | PFM_ALIGNMENT |
                                  PFM_TABSTOPS | PFM_NUMBERING | PFM_RTLPARA | PFM_OFFSETINDENT;
constexpr DWORD kScrollBarBits =
    WS_VSCROLL | WS_HSCROLL | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_DISABLENOSCROLL;
constexpr LONG kTwipsPerInch = 1440;
constexpr int kHimetricPerInch = 2540;
constexpr wchar_t kTextServicesLibrary[] = L"msftedit.dll";

HWND HwndOf(const RichEdit* control) {
  Window* window = control ? control->GetWindow() : nullptr;
  return window ? window->GetHWND() : nullptr;
}

}  // namespace

UniqueModule HoldTextServicesLibrary() { return UniqueModule(LoadLibraryW(kTextServicesLibrary)); }

CTxtWinHost::CTxtWinHost() = default;

CTxtWinHost::~CTxtWinHost() {
  if (services_) {
    services_->OnTxInPlaceDeactivate();
    ITextServices* services = services_;
    services_ = nullptr;
    services->Release();
  }
  if (library_) FreeLibrary(library_);
}

bool CTxtWinHost::Init(RichEdit* control, const CREATESTRUCTW* create) {
  control_ = control;
  refCount_ = 1;

  charFormat_ = {};
  charFormat_.cbSize = sizeof(CHARFORMAT2W);
  charFormat_.dwMask = kCharFormatMask;
  if (const FontInfo* font = UiGlobals::GetFont(control->GetFontId()); font && font->handle) {
    LOGFONTW log = {};
    if (GetObjectW(font->handle, sizeof(log), &log)) ApplyLogFont(log);
  }
  charFormat_.yOffset = 0;
  charFormat_.crTextColor = ArgbToColorRef(control->LookUpTextColor(control->GetCurrentTextColor()));

  paraFormat_ = {};
  paraFormat_.cbSize = sizeof(PARAFORMAT2);
  paraFormat_.dwMask = kParaFormatMask;
  paraFormat_.wAlignment = PFA_LEFT;
  paraFormat_.cTabCount = 1;
  paraFormat_.rgxTabs[0] = 720;

  style_ = ES_MULTILINE;
  if (control->IsRich()) flags_ |= kRichText;
  // A limit below 1 would let the field take no text at all: it means the default.
  maxLength_ = control->GetMaxChar() < 1 ? kDefaultMaxLength : control->GetMaxChar();

  if (create) {
    style_ = static_cast<DWORD>(create->style);
    if (!(style_ & (WS_HSCROLL | ES_AUTOHSCROLL))) flags_ |= kWordWrap;
    if (style_ & ES_CENTER) {
      paraFormat_.wAlignment = PFA_CENTER;
    } else if (style_ & ES_RIGHT) {
      paraFormat_.wAlignment = PFA_RIGHT;
    }
  }
  flags_ |= kInPlaceActive;
  // The control paints the field's background itself. Some text services read
  // the back style only when they are created, and would otherwise fill the text
  // area with the window colour over the control's background and prompt.
  flags_ |= kTransparent;

  // Each host holds its own reference on the library, so the code of the text
  // services stays loaded until the last of them is released.
  library_ = LoadLibraryW(kTextServicesLibrary);
  if (!library_) return false;
  auto create_services =
      reinterpret_cast<PCreateTextServices>(GetProcAddress(library_, "CreateTextServices"));
  if (!create_services) return false;
  IUnknown* unknown = nullptr;
  if (FAILED(create_services(nullptr, this, &unknown)) || !unknown) return false;
  void* services = nullptr;
  const HRESULT query = unknown->QueryInterface(kIidTextServices, &services);
  unknown->Release();
  if (FAILED(query) || !services) return false;
  services_ = static_cast<ITextServices*>(services);

  if (!create) return true;
  return SUCCEEDED(services_->TxSetText(create->lpszName ? create->lpszName : L""));
}

int CTxtWinHost::DeviceDpi(int axis) const {
  HDC dc = GetWindowDC();
  const int dpi = dc ? GetDeviceCaps(dc, axis) : 0;
  return dpi ? dpi : 96;
}

HDC CTxtWinHost::GetWindowDC() const {
  Window* window = control_ ? control_->GetWindow() : nullptr;
  return window ? window->GetPaintDC() : nullptr;
}

void CTxtWinHost::ApplyLogFont(const LOGFONTW& font) {
  charFormat_.yHeight = font.lfHeight * -kTwipsPerInch / DeviceDpi(LOGPIXELSY);
  charFormat_.dwEffects &= ~static_cast<DWORD>(CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT);
  if (font.lfWeight >= FW_BOLD) charFormat_.dwEffects |= CFE_BOLD;
  if (font.lfItalic) charFormat_.dwEffects |= CFE_ITALIC;
  if (font.lfUnderline) charFormat_.dwEffects |= CFE_UNDERLINE;
  if (font.lfStrikeOut) charFormat_.dwEffects |= CFE_STRIKEOUT;
  charFormat_.bCharSet = font.lfCharSet;
  charFormat_.bPitchAndFamily = font.lfPitchAndFamily;
  wcsncpy(charFormat_.szFaceName, font.lfFaceName, LF_FACESIZE - 1);
  charFormat_.szFaceName[LF_FACESIZE - 1] = L'\0';
}

void CTxtWinHost::SetClientRect(const RECT& rc) {
  client_ = rc;
  extent_.cx = MulDiv(rc.right - rc.left, kHimetricPerInch, DeviceDpi(LOGPIXELSX));
  extent_.cy = MulDiv(rc.bottom - rc.top, kHimetricPerInch, DeviceDpi(LOGPIXELSY));
  if (services_) services_->OnTxPropertyBitsChange(TXTBIT_VIEWINSETCHANGE, TXTBIT_VIEWINSETCHANGE);
}

void CTxtWinHost::SetFont(HFONT font) {
  if (!font) return;
  LOGFONTW log = {};
  if (!GetObjectW(font, sizeof(log), &log)) return;
  ApplyLogFont(log);
  if (services_) services_->OnTxPropertyBitsChange(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

void CTxtWinHost::SetColor(DWORD argb) {
  charFormat_.crTextColor = ArgbToColorRef(argb);
  if (services_) services_->OnTxPropertyBitsChange(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

void CTxtWinHost::SetRichText(bool rich) {
  if (rich) {
    flags_ |= kRichText;
  } else {
    flags_ &= ~kRichText;
  }
  if (services_) services_->OnTxPropertyBitsChange(TXTBIT_RICHTEXT, rich ? TXTBIT_RICHTEXT : 0);
}

void CTxtWinHost::SetWordWrap(bool wrap) {
  if (wrap) {
    flags_ |= kWordWrap;
  } else {
    flags_ &= ~kWordWrap;
  }
  if (services_) services_->OnTxPropertyBitsChange(TXTBIT_WORDWRAP, wrap ? TXTBIT_WORDWRAP : 0);
}

void CTxtWinHost::SetTransparent(bool transparent) {
  if (transparent) {
    flags_ |= kTransparent;
  } else {
    flags_ &= ~kTransparent;
  }
  if (services_) services_->OnTxPropertyBitsChange(TXTBIT_BACKSTYLECHANGE, 0);
}

void CTxtWinHost::SetInPlaceActive(bool active) {
  if (active) {
    flags_ |= kInPlaceActive;
  // The control paints the field's background itself. Some text services read
  // the back style only when they are created, and would otherwise fill the text
  // area with the window colour over the control's background and prompt.
  flags_ |= kTransparent;
  } else {
    flags_ &= ~kInPlaceActive;
  }
}

bool CTxtWinHost::MeasureNaturalSize(LONG& width, LONG& height) {
  HDC dc = GetWindowDC();
  if (!services_ || !dc) return false;
  const SIZEL extent = {-1, -1};
  return SUCCEEDED(services_->TxGetNaturalSize(DVASPECT_CONTENT, dc, nullptr, nullptr,
                                               TXTNS_FITTOCONTENT, &extent, &width, &height));
}

RECT CTxtWinHost::GetAlignedClientRect() {
  RECT rc = client_;
  const int align = control_ ? control_->GetTextVerticalAlign() : 0;
  if (align == 0) return rc;
  LONG width = rc.right - rc.left;
  LONG height = 0;
  if (!MeasureNaturalSize(width, height)) return rc;
  const LONG clientHeight = rc.bottom - rc.top;
  const LONG shift = align == 1 ? (clientHeight - height) / 2 : clientHeight - height;
  OffsetRect(&rc, 0, shift);
  return rc;
}

HRESULT CTxtWinHost::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, kIidTextHost)) {
    AddRef();
    *object = static_cast<ITextHost*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG CTxtWinHost::AddRef() { return ++refCount_; }

ULONG CTxtWinHost::Release() {
  const ULONG count = --refCount_;
  if (count == 0) delete this;
  return count;
}

HDC CTxtWinHost::TxGetDC() { return GetWindowDC(); }

INT CTxtWinHost::TxReleaseDC(HDC) { return 1; }

WINBOOL CTxtWinHost::TxShowScrollBar(INT, WINBOOL) { return TRUE; }

WINBOOL CTxtWinHost::TxEnableScrollBar(INT bar, INT arrows) {
  if (!control_) return TRUE;
  if (arrows == ESB_DISABLE_BOTH) {
    ScrollBar* vertical = control_->GetVerticalScrollBar();
    ScrollBar* horizontal = control_->GetHorizontalScrollBar();
    if ((bar == SB_VERT || bar == SB_BOTH) && vertical) vertical->SetScrollRange(0);
    if ((bar == SB_HORZ || bar == SB_BOTH) && horizontal) horizontal->SetScrollRange(0);
  }
  control_->SetPos(control_->GetPos());
  return TRUE;
}

WINBOOL CTxtWinHost::TxSetScrollRange(INT bar, LONG minPos, INT maxPos, WINBOOL) {
  if (!control_) return TRUE;
  if (bar == SB_VERT) {
    ScrollBar* vertical = control_->GetVerticalScrollBar();
    if (!vertical) return TRUE;
    const LONG range = maxPos - minPos - (client_.bottom - client_.top);
    if (range > 0) {
      const bool wasZero = vertical->GetScrollRange() == 0;
      vertical->SetScrollRange(range);
      if (wasZero) control_->SetPos(control_->GetPos());
    } else {
      vertical->SetScrollRange(0);
    }
  } else if (bar == SB_HORZ) {
    ScrollBar* horizontal = control_->GetHorizontalScrollBar();
    if (!horizontal) return TRUE;
    const LONG range = maxPos - minPos - (client_.right - client_.left);
    if (range < 1) {
      horizontal->SetScrollRange(0);
    } else {
      const bool wasZero = horizontal->GetScrollRange() == 0;
      horizontal->SetScrollRange(range);
      if (wasZero) control_->SetPos(control_->GetPos());
    }
  }
  return TRUE;
}

WINBOOL CTxtWinHost::TxSetScrollPos(INT bar, INT pos, WINBOOL) {
  if (!control_) return TRUE;
  ScrollBar* target = bar == SB_VERT   ? control_->GetVerticalScrollBar()
                      : bar == SB_HORZ ? control_->GetHorizontalScrollBar()
                                       : nullptr;
  if (target) target->SetScrollPos(pos);
  return TRUE;
}

void CTxtWinHost::TxInvalidateRect(LPCRECT rect, WINBOOL) {
  Window* window = control_ ? control_->GetWindow() : nullptr;
  if (!window || !window->GetHWND()) return;
  RECT rc = rect ? *rect : client_;
  const POINT offset = control_->GetScrollOffsetInParents();
  OffsetRect(&rc, -offset.x, -offset.y);
  // The window's own invalidation also posts WM_PAINT to a layered window.
  window->InvalidateClientRect(rc);
}

void CTxtWinHost::TxViewChange(WINBOOL) {}

WINBOOL CTxtWinHost::TxCreateCaret(HBITMAP, INT width, INT height) {
  if (control_) control_->SetCaretSize(width, height);
  return TRUE;
}

WINBOOL CTxtWinHost::TxShowCaret(WINBOOL show) {
  // The control draws the caret itself; a hide request (a selection began, the
  // text services lost the focus) must still stop it blinking over the text.
  if (control_ && !show) control_->ShowCaret(false);
  return TRUE;
}

WINBOOL CTxtWinHost::TxSetCaretPos(INT x, INT y) {
  if (!control_) return TRUE;
  control_->SetCaretPos(x, y);
  // A field without the focus shows no caret, whatever the text services think.
  control_->ShowCaret(control_->IsFocused() && control_->GetSelText().empty());
  return TRUE;
}

WINBOOL CTxtWinHost::TxSetTimer(UINT id, UINT timeout) {
  if (control_) control_->SetTimer(id, timeout);
  return TRUE;
}

void CTxtWinHost::TxKillTimer(UINT id) {
  if (control_) control_->KillTimer(id);
}

void CTxtWinHost::TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT) {}

void CTxtWinHost::TxSetCapture(WINBOOL capture) {
  Window* window = control_ ? control_->GetWindow() : nullptr;
  HWND hwnd = window ? window->GetHWND() : nullptr;
  if (!hwnd) return;
  if (capture) {
    SetCapture(hwnd);
  } else if (GetCapture() == hwnd) {
    // Only our own capture: another window of this thread (a drop-down) may
    // hold it.
    ReleaseCapture();
  }
  // The window's flag follows, so it tells the truth about the capture.
  window->SetMouseCaptured(GetCapture() == hwnd);
}

void CTxtWinHost::TxSetFocus() {
  if (control_) control_->SetFocus();
}

void CTxtWinHost::TxSetCursor(HCURSOR cursor, WINBOOL) { ::SetCursor(cursor); }

WINBOOL CTxtWinHost::TxScreenToClient(LPPOINT point) { return ScreenToClient(HwndOf(control_), point); }

WINBOOL CTxtWinHost::TxClientToScreen(LPPOINT point) { return ClientToScreen(HwndOf(control_), point); }

HRESULT CTxtWinHost::TxActivate(LONG*) { return S_OK; }

HRESULT CTxtWinHost::TxDeactivate(LONG) { return S_OK; }

HRESULT CTxtWinHost::TxGetClientRect(LPRECT rect) {
  *rect = GetAlignedClientRect();
  return S_OK;
}

HRESULT CTxtWinHost::TxGetViewInset(LPRECT rect) {
  *rect = RECT{0, 0, 0, 0};
  return S_OK;
}

HRESULT CTxtWinHost::TxGetCharFormat(const CHARFORMATW** format) {
  *format = reinterpret_cast<const CHARFORMATW*>(&charFormat_);
  return S_OK;
}

HRESULT CTxtWinHost::TxGetParaFormat(const PARAFORMAT** format) {
  *format = reinterpret_cast<const PARAFORMAT*>(&paraFormat_);
  return S_OK;
}

COLORREF CTxtWinHost::TxGetSysColor(int index) { return GetSysColor(index); }

HRESULT CTxtWinHost::TxGetBackStyle(TXTBACKSTYLE* style) {
  *style = (flags_ & kTransparent) ? TXTBACK_TRANSPARENT : TXTBACK_OPAQUE;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetMaxLength(DWORD* length) {
  *length = static_cast<DWORD>(maxLength_);
  return S_OK;
}

HRESULT CTxtWinHost::TxGetScrollBars(DWORD* scrollBars) {
  *scrollBars = style_ & kScrollBarBits;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetPasswordChar(TCHAR* ch) {
  *ch = (passwordChar_ == 0 && (style_ & ES_PASSWORD)) ? kDefaultPasswordChar : passwordChar_;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetAcceleratorPos(LONG* pos) {
  *pos = acceleratorPos_;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetExtent(LPSIZEL extent) {
  *extent = extent_;
  return S_OK;
}

HRESULT CTxtWinHost::OnTxCharFormatChange(const CHARFORMATW*) { return S_OK; }

HRESULT CTxtWinHost::OnTxParaFormatChange(const PARAFORMAT*) { return S_OK; }

HRESULT CTxtWinHost::TxGetPropertyBits(DWORD mask, DWORD* bits) {
  DWORD value = 0;
  if (flags_ & kRichText) value |= TXTBIT_RICHTEXT;
  if (style_ & ES_MULTILINE) value |= TXTBIT_MULTILINE;
  if (style_ & ES_READONLY) value |= TXTBIT_READONLY;
  if (style_ & ES_PASSWORD) value |= TXTBIT_USEPASSWORD;
  if (!(style_ & ES_NOHIDESEL)) value |= TXTBIT_HIDESELECTION;
  if (flags_ & kWordWrap) value |= TXTBIT_WORDWRAP;
  *bits = mask & value;
  return S_OK;
}

HRESULT CTxtWinHost::TxNotify(DWORD code, void* data) {
  if (code == EN_REQUESTRESIZE && data) {
    const RECT aligned = GetAlignedClientRect();
    const RECT& request = static_cast<REQRESIZE*>(data)->rc;
    SetClientRect(RECT{aligned.left, aligned.top, aligned.left + request.right,
                       aligned.top + request.bottom});
  }
  if (control_) control_->OnTxNotify(code, data);
  return S_OK;
}

HIMC CTxtWinHost::TxImmGetContext() { return nullptr; }

void CTxtWinHost::TxImmReleaseContext(HIMC) {}

HRESULT CTxtWinHost::TxGetSelectionBarWidth(LONG* width) {
  *width = selectionBarWidth_;
  return S_OK;
}

}  // namespace ui
