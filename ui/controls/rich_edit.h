// The framework's text field: a windowless control whose editing, layout,
// selection and text drawing are done by the platform's rich-edit text services
// through its text host, while the control supplies focus, keyboard and mouse
// routing, the caret, the prompt text, its own scroll bars and auto sizing.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <cstdint>
#include <map>
#include <string>

#include "ui/base/skin_image.h"
#include "ui/base/weak_callback.h"
#include "ui/core/scrollable_box.h"

namespace ui {

class CTxtWinHost;

class RichEdit : public ScrollableBox {
 public:
  // Edit style bits beyond the ES_ values of the platform headers: the one bit
  // that reads as "disable no scroll" for the scroll bars and "number" for input.
  static constexpr DWORD kStyleNoScrollOrNumber = 0x2000;
  static constexpr int kDefaultMaxChar = 0x7FFF;

  RichEdit();
  ~RichEdit() override;

  // Control and box overrides.
  void DoInit() override;
  SIZE EstimateSize(SIZE available) override;
  void SetPos(RECT rc) override;
  std::wstring GetType() const override;
  void SetEnabled(bool enabled) override;
  bool IsTabStop() const override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void Paint(IRenderContext* context, const RECT& dirty) override;
  void PaintChildren(IRenderContext* context, const RECT& dirty) override;
  void ClearImageCache() override;
  void HandleEvent(EventArgs& event) override;
  void PaintStatusImage(IRenderContext* context) override;
  void SetScrollPos(SIZE pos) override;
  void PageUp() override;
  void PageDown() override;
  void HomeUp() override;
  void PageLeft() override;
  void PageRight() override;
  void HomeLeft() override;
  void EndRight() override;

  // Virtual operations added by the rich edit, in slot order.
  virtual void SetTextColor(const std::wstring& name);
  virtual std::string GetUTF8Text() const;
  virtual void SetUTF8Text(const std::string& text);
  // The text services' answer; S_FALSE (1) without text services.
  virtual HRESULT TxSendMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) const;
  virtual void OnTxNotify(DWORD code, void* data);
  virtual bool OnTextChange();
  // The text's natural size for the width in `size` (its height as given); the
  // answer goes into both. False without text services or a window.
  virtual bool GetNaturalSize(SIZE& natural, SIZE& size);

  // Text and selection (empty values without text services).
  long GetTextLength() const;
  std::wstring GetText() const;
  // Stored; handed to the text services once they exist.
  void SetText(const std::wstring& text);
  // Counts the texts set whole: a field that is given another record's text
  // (one editor for every note) has another count than before.
  unsigned GetTextsSet() const { return textsSet_; }
  long GetSel(long& start, long& end) const;
  // Character positions; (-1, 0) clears the selection, (0, -1) selects everything.
  int SetSel(long start, long end);
  int SetSelRange(CHARRANGE& range);
  void SetSelAll() { SetSel(0, -1); }
  void ReplaceSel(const std::wstring& text, bool canUndo);
  std::wstring GetSelText() const;
  std::wstring GetTextRange(long start, long end) const;
  int AppendText(const std::wstring& text, bool canUndo = false);
  DWORD GetEventMask() const;
  DWORD SetEventMask(DWORD mask);
  bool Undo();
  bool Redo();
  void Copy();
  void Cut();
  void Paste();
  void SetTextColorValue(DWORD argb);
  // Looks the current text colour's name up again: the text services keep the
  // value, so a colour table changed since (another theme) reaches the text only
  // through this.
  void RefreshTextColor();
  // Opens or closes the window's input method.
  void SetImmStatus(bool open);
  HWND GetWindowHandle() const;

  std::wstring GetPromptText() const;
  void SetPromptText(const std::wstring& text);
  void SetPromptTextId(const std::wstring& id);
  // Starts (or stops) the blinking caret.
  void ShowCaret(bool show);
  // The blink phase: whether the caret is drawn right now.
  bool IsCaretVisible() const { return caretVisible_; }
  // Whether the caret is switched on (blinking) at all.
  bool IsCaretShown() const { return caretShown_; }
  bool IsWantTab() const { return wantTab_; }
  void SetWantTab(bool want) { wantTab_ = want; }
  bool IsWantReturnMsg() const { return wantReturnMsg_; }
  bool IsReturnMsgWantCtrl() const { return returnMsgWantCtrl_; }
  bool IsRich() const { return rich_; }
  bool IsReadOnly() const { return readOnly_; }
  bool IsNumberOnly() const { return numberOnly_; }
  bool IsPassword() const { return (style_ & ES_PASSWORD) != 0; }
  bool IsMultiLine() const { return (style_ & ES_MULTILINE) != 0; }
  DWORD GetStyle() const { return style_; }
  int GetMaxChar() const { return maxChar_; }
  // The most characters the text may hold (below 1: the default).
  void SetMaxChar(int maxChar);
  // Sets a stored text whole: the limit grows to hold it when it is longer, so
  // that the text goes back out as it came in (typing is still held to the limit).
  void SetTextWhole(const std::wstring& text);
  // Whether the text changed since it was last marked unchanged (typing, pasting,
  // any replacement).
  bool IsModified() const;
  void SetModified(bool modified);
  // 0 top, 1 vertical centre, 2 bottom.
  int GetTextVerticalAlign() const { return textVAlign_; }
  const std::wstring& GetFontId() const { return fontId_; }
  const std::wstring& GetCurrentTextColor() const { return currentTextColor_; }
  CTxtWinHost* GetHost() const { return host_; }
  RECT GetCaretRect() const {
    return RECT{caretX_, caretY_, caretX_ + caretWidth_, caretY_ + caretHeight_};
  }
  bool IsVerticalBarForced() const { return verticalBarForced_; }

  // Requests of the text host.
  void SetCaretPos(int x, int y) {
    caretX_ = x;
    caretY_ = y;
  }
  void SetCaretSize(int width, int height) {
    caretWidth_ = width;
    caretHeight_ = height;
  }
  // A framework timer that sends WM_TIMER with the id to the text services every
  // period; setting an id again restarts it.
  void SetTimer(UINT id, UINT period);
  void KillTimer(UINT id);
  size_t GetTimerCount() const { return timers_.size(); }
  // Looks a colour name up in the window's table (non-zero entries), then the
  // global one; 0 when absent.
  DWORD LookUpTextColor(const std::wstring& name) const;
  // A colour attribute: a colour name, or "#" and hexadecimal ARGB digits.
  DWORD ResolveColor(const std::wstring& value) const;

 protected:
  // Turns edit style bits (ES_ values) on or off; derived fields use it for
  // attributes of their own. Takes effect when the text services are created.
  void SetStyleBits(DWORD bits, bool on) { style_ = on ? (style_ | bits) : (style_ & ~bits); }
  // Keyboard handling of event 8: return messages, the number-only paste filter.
  void OnKeyDown(EventArgs& event);
  void OnChar(EventArgs& event);
  void OnSetCursor(EventArgs& event);
  void OnSetFocus();
  void OnKillFocus();
  void OnImeStartComposition();
  // Sends a mouse message with the event's point moved by the ancestors' scroll.
  void ForwardMouseMessage(UINT message, const EventArgs& event);
  // The number-only Ctrl+V: inserts only the digits of the clipboard text; the
  // clipboard itself is left as it is.
  void PasteDigitsOnly();
  // The text area: the position less the padding and the bars that have a range;
  // `verticalShown` tells whether the vertical bar was taken off.
  RECT InnerRect(bool* verticalShown = nullptr) const;
  // The natural height of the text at a width, or -1 without text services.
  LONG NaturalHeight(LONG width);
  // The natural width of one line of text where the text services' own answer
  // is unusable (Wine answers with the width it was given).
  SIZE MeasureTextWithFont(const std::wstring& text) const;
  void InPlaceActivate();
  // Hands the host's character limit to the text services.
  void ApplyMaxLength();
  void OnCaretBlink();

 private:
  CTxtWinHost* host_ = nullptr;
  bool verticalBarForced_ = false;
  // The width of the line's last drawing (single-line fields), -1 before the first.
  LONG drawnLineWidth_ = -1;
  bool wantTab_ = true;
  bool wantReturnMsg_ = false;
  bool returnMsgWantCtrl_ = false;
  bool rich_ = false;
  bool readOnly_ = false;
  bool numberOnly_ = false;
  bool initialised_ = false;
  bool caretVisible_ = false;
  bool caretShown_ = false;
  bool imeComposing_ = false;
  int caretX_ = 0;
  int caretY_ = 0;
  int caretWidth_ = 0;
  int caretHeight_ = 0;
  std::wstring fontId_;
  int maxChar_ = kDefaultMaxChar;
  DWORD style_ = ES_MULTILINE;
  int textVAlign_ = 0;
  std::wstring currentTextColor_;
  std::wstring normalTextColor_;
  std::wstring disabledTextColor_;
  std::wstring promptColor_;
  std::wstring caretColor_;
  std::wstring text_;
  unsigned textsSet_ = 0;
  std::wstring promptText_;
  std::wstring promptTextId_;
  nbase::WeakCallbackFlag caretBlinkFlag_;
  std::map<uint32_t, nbase::WeakCallbackFlag> timers_;
  SkinImage focusedImage_;
};

}  // namespace ui
