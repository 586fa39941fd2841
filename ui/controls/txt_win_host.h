// The bridge between one rich edit control and the platform's windowless text
// services: creates them from "msftedit.dll" and answers their requests with the
// control's own scroll bars, caret, timers, focus and the window it lives in.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <richedit.h>
#include <textserv.h>

#include "ui/base/scoped_handles.h"

namespace ui {

class RichEdit;

// The library of the text services, loaded once more for the caller. The
// program holds it until after OleUninitialize: an object a field placed on the
// OLE clipboard is code of this library, and the last field may go first.
UniqueModule HoldTextServicesLibrary();

class CTxtWinHost : public ITextHost {
 public:
  // Host flag bits.
  static constexpr DWORD kWordWrap = 0x2;
  static constexpr DWORD kRichText = 0x8;
  static constexpr DWORD kInPlaceActive = 0x20;
  static constexpr DWORD kTransparent = 0x40;
  static constexpr LONG kDefaultMaxLength = 0x7FFF;

  CTxtWinHost();
  CTxtWinHost(const CTxtWinHost&) = delete;
  CTxtWinHost& operator=(const CTxtWinHost&) = delete;

  // Creates the text services for the control; the creation parameters give the
  // style and the initial text (null: no word wrap, no text). False when the
  // library, its export, the creation or the initial text fail.
  bool Init(RichEdit* control, const CREATESTRUCTW* create);

  ITextServices* GetTextServices() const { return services_; }
  // The text area in window client coordinates.
  void SetClientRect(const RECT& rc);
  RECT GetClientRect() const { return client_; }
  // The client rectangle moved for the control's vertical alignment.
  RECT GetAlignedClientRect();
  void SetFont(HFONT font);
  void SetColor(DWORD argb);
  void SetMaxLength(LONG length) { maxLength_ = length; }
  LONG GetMaxLength() const { return maxLength_; }
  void SetRichText(bool rich);
  bool IsWordWrap() const { return (flags_ & kWordWrap) != 0; }
  void SetWordWrap(bool wrap);
  void SetTransparent(bool transparent);
  void SetInPlaceActive(bool active);
  bool IsInPlaceActive() const { return (flags_ & kInPlaceActive) != 0; }
  DWORD GetStyle() const { return style_; }
  void SetStyle(DWORD style) { style_ = style; }
  const CHARFORMAT2W& GetCharFormat() const { return charFormat_; }
  const PARAFORMAT2& GetParaFormat() const { return paraFormat_; }
  // Asks the text services for the natural size of the text at the given width
  // (height as given); false without text services or a device context.
  bool MeasureNaturalSize(LONG& width, LONG& height);
  HDC GetWindowDC() const;
  // The control is going away: requests of the text services from now on find
  // no control and do nothing.
  void DetachControl() { control_ = nullptr; }

  // IUnknown.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // ITextHost, in the platform's order.
  HDC TxGetDC() override;
  INT TxReleaseDC(HDC hdc) override;
  WINBOOL TxShowScrollBar(INT bar, WINBOOL show) override;
  WINBOOL TxEnableScrollBar(INT bar, INT arrows) override;
  WINBOOL TxSetScrollRange(INT bar, LONG minPos, INT maxPos, WINBOOL redraw) override;
  WINBOOL TxSetScrollPos(INT bar, INT pos, WINBOOL redraw) override;
  void TxInvalidateRect(LPCRECT rect, WINBOOL mode) override;
  void TxViewChange(WINBOOL update) override;
  WINBOOL TxCreateCaret(HBITMAP bitmap, INT width, INT height) override;
  WINBOOL TxShowCaret(WINBOOL show) override;
  WINBOOL TxSetCaretPos(INT x, INT y) override;
  WINBOOL TxSetTimer(UINT id, UINT timeout) override;
  void TxKillTimer(UINT id) override;
  void TxScrollWindowEx(INT dx, INT dy, LPCRECT scroll, LPCRECT clip, HRGN update,
                        LPRECT updateRect, UINT flags) override;
  void TxSetCapture(WINBOOL capture) override;
  void TxSetFocus() override;
  void TxSetCursor(HCURSOR cursor, WINBOOL text) override;
  WINBOOL TxScreenToClient(LPPOINT point) override;
  WINBOOL TxClientToScreen(LPPOINT point) override;
  HRESULT TxActivate(LONG* oldState) override;
  HRESULT TxDeactivate(LONG newState) override;
  HRESULT TxGetClientRect(LPRECT rect) override;
  HRESULT TxGetViewInset(LPRECT rect) override;
  HRESULT TxGetCharFormat(const CHARFORMATW** format) override;
  HRESULT TxGetParaFormat(const PARAFORMAT** format) override;
  COLORREF TxGetSysColor(int index) override;
  HRESULT TxGetBackStyle(TXTBACKSTYLE* style) override;
  HRESULT TxGetMaxLength(DWORD* length) override;
  HRESULT TxGetScrollBars(DWORD* scrollBars) override;
  HRESULT TxGetPasswordChar(TCHAR* ch) override;
  HRESULT TxGetAcceleratorPos(LONG* pos) override;
  HRESULT TxGetExtent(LPSIZEL extent) override;
  HRESULT OnTxCharFormatChange(const CHARFORMATW* format) override;
  HRESULT OnTxParaFormatChange(const PARAFORMAT* format) override;
  HRESULT TxGetPropertyBits(DWORD mask, DWORD* bits) override;
  HRESULT TxNotify(DWORD code, void* data) override;
  HIMC TxImmGetContext() override;
  void TxImmReleaseContext(HIMC himc) override;
  HRESULT TxGetSelectionBarWidth(LONG* width) override;

  // The character shown for each character of a password field when the host
  // has none of its own: showing the text itself would defeat the field.
  static constexpr wchar_t kDefaultPasswordChar = L'*';

 protected:
  // Deactivates and releases the text services (from the last Release only).
  virtual ~CTxtWinHost();

 private:
  // Converts a font's description into the character format's size, effects,
  // charset, pitch and face.
  void ApplyLogFont(const LOGFONTW& font);
  int DeviceDpi(int axis) const;

  RichEdit* control_ = nullptr;
  ULONG refCount_ = 1;
  // This host's reference to the text services' library, dropped only after the
  // text services themselves are released.
  HMODULE library_ = nullptr;
  ITextServices* services_ = nullptr;
  DWORD style_ = ES_MULTILINE;
  DWORD flags_ = 0;
  LONG selectionBarWidth_ = 0;
  LONG maxLength_ = kDefaultMaxLength;
  RECT client_ = {0, 0, 0, 0};
  SIZEL extent_ = {0, 0};
  CHARFORMAT2W charFormat_ = {};
  PARAFORMAT2 paraFormat_ = {};
  LONG acceleratorPos_ = -1;
  wchar_t passwordChar_ = 0;
};

// ARGB 0xAARRGGBB as the COLORREF 0x00BBGGRR the text services take.
constexpr COLORREF ArgbToColorRef(DWORD argb) {
  return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

}  // namespace ui
