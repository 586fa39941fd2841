// Keyboard, mouse, focus, cursor and input-method handling of the rich edit:
// events of the window become messages to the text services.
#include "ui/controls/rich_edit.h"

#include <imm.h>

#include <algorithm>
#include <string>

#include "ui/controls/txt_win_host.h"
#include "ui/core/on_screen_keyboard_manager.h"
#include "ui/core/window.h"

namespace ui {

namespace {

bool KeyDown(int key) { return GetKeyState(key) < 0; }
bool AsyncKeyDown(int key) { return GetAsyncKeyState(key) < 0; }

bool IsDigit(wchar_t ch) { return ch >= L'0' && ch <= L'9'; }

// A character that types something: not a control character (Backspace,
// Return, Ctrl+letter, Esc) and not Delete.
bool IsPrintable(wchar_t ch) { return ch >= 0x20 && ch != 0x7F; }

// The clipboard's text: Unicode text when offered, else the ANSI text converted.
// Empty when the clipboard cannot be opened or holds no text.
std::wstring GetClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      const size_t units = GlobalSize(data) / sizeof(wchar_t);
      text.assign(chars, units);
      GlobalUnlock(data);
    }
  } else if (HANDLE ansi = GetClipboardData(CF_TEXT)) {
    if (auto* bytes = static_cast<const char*>(GlobalLock(ansi))) {
      const int count = static_cast<int>(GlobalSize(ansi));
      const int units = MultiByteToWideChar(CP_ACP, 0, bytes, count, nullptr, 0);
      if (units > 0) {
        text.resize(static_cast<size_t>(units));
        MultiByteToWideChar(CP_ACP, 0, bytes, count, text.data(), units);
      }
      GlobalUnlock(ansi);
    }
  }
  CloseClipboard();
  // The block may be larger than the text: stop at the terminator.
  const size_t end = text.find(L'\0');
  if (end != std::wstring::npos) text.resize(end);
  return text;
}

}  // namespace

void RichEdit::HandleEvent(EventArgs& event) {
  const bool mouseEvent = event.Type >= mousemove && event.Type <= scrollwheel;
  // A field disabled while it holds the focus must still see the focus go:
  // its caret, input method and text services would otherwise stay active.
  const bool passedOn = event.Type != internalkillfocus && !IsEnabled() && !readOnly_;
  if ((!IsMouseEnabled() && mouseEvent) || passedOn) {
    if (Box* parent = GetParent()) {
      parent->HandleEventTemplate(event);
    } else {
      Control::HandleEvent(event);
    }
    return;
  }
  switch (event.Type) {
    case setcursor:
      OnSetCursor(event);
      return;
    case char_:
      OnChar(event);
      return;
    case keydown:
      OnKeyDown(event);
      return;
    case mousemove:
      ForwardMouseMessage(WM_MOUSEMOVE, event);
      return;
    case scrollwheel:
      if (AsyncKeyDown(VK_CONTROL)) return;
      ScrollableBox::HandleEvent(event);
      return;
    case buttondown:
    case pointerdown:
      if (event.Type == pointerdown) OnScreenKeyboardManager::GetInstance().ShowKeyboard(true);
      ForwardMouseMessage(WM_LBUTTONDOWN, event);
      return;
    case buttonup:
    case pointerup:
      ForwardMouseMessage(WM_LBUTTONUP, event);
      return;
    case internaldblclick:
      if (readOnly_) {
        SetSel(0, -1);
      } else {
        ForwardMouseMessage(WM_LBUTTONDBLCLK, event);
      }
      return;
    case rbuttondown:
      ForwardMouseMessage(WM_RBUTTONDOWN, event);
      return;
    case rbuttonup:
      ForwardMouseMessage(WM_RBUTTONUP, event);
      return;
    case imestart:
      OnImeStartComposition();
      return;
    case imeend:
      imeComposing_ = false;
      return;
    case internalsetfocus:
      OnSetFocus();
      return;
    case internalkillfocus:
      OnKillFocus();
      return;
    default:
      ScrollableBox::HandleEvent(event);
      return;
  }
}

void RichEdit::ForwardMouseMessage(UINT message, const EventArgs& event) {
  const POINT offset = GetScrollOffsetInParents();
  const int x = static_cast<short>(LOWORD(event.lParam)) + offset.x;
  const int y = static_cast<short>(HIWORD(event.lParam)) + offset.y;
  TxSendMessage(message, event.wParam, MAKELPARAM(x, y), nullptr);
}

void RichEdit::OnChar(EventArgs& event) {
  if (KeyDown(VK_TAB) && !wantTab_) {
    if (Window* window = GetWindow()) window->SendControlEvent(this, tab, 0, 0);
    return;
  }
  const auto ch = static_cast<wchar_t>(event.wParam);
  // Number-only fields drop typed letters but keep the keys that edit:
  // Backspace, Ctrl+A/C/V/X/Z and the like arrive here as control characters.
  if (numberOnly_ && IsPrintable(ch) && !IsDigit(ch)) return;
  TxSendMessage(WM_CHAR, event.wParam, event.lParam, nullptr);
}

void RichEdit::OnKeyDown(EventArgs& event) {
  const WPARAM key = event.wParam;
  if (key == VK_RETURN && !AsyncKeyDown(VK_SHIFT) && wantReturnMsg_) {
    if (AsyncKeyDown(VK_CONTROL) == returnMsgWantCtrl_) {
      if (Window* window = GetWindow()) window->SendControlEvent(this, return_, 0, 0);
      return;
    }
  }
  const bool pasteKey = (key == 'V' && KeyDown(VK_CONTROL)) ||
                        (key == VK_INSERT && KeyDown(VK_SHIFT) && !KeyDown(VK_CONTROL));
  if (numberOnly_ && pasteKey) {
    PasteDigitsOnly();
    return;
  }
  TxSendMessage(WM_KEYDOWN, key, event.lParam, nullptr);
}

void RichEdit::PasteDigitsOnly() {
  if (readOnly_) return;
  std::wstring digits;
  for (wchar_t ch : GetClipboardText()) {
    if (IsDigit(ch)) digits.push_back(ch);
  }
  if (!digits.empty()) ReplaceSel(digits, true);
}

void RichEdit::OnSetCursor(EventArgs& event) {
  if (host_ && !readOnly_) {
    const POINT offset = GetScrollOffsetInParents();
    const POINT point = {event.ptMouse.x + offset.x, event.ptMouse.y + offset.y};
    const RECT client = host_->GetClientRect();
    if (PtInRect(&client, point)) {
      HDC dc = host_->GetWindowDC();
      host_->GetTextServices()->OnTxSetCursor(DVASPECT_CONTENT, -1, nullptr, nullptr, dc, nullptr,
                                              host_->IsInPlaceActive() ? nullptr : &client,
                                              point.x, point.y);
      return;
    }
  }
  ::SetCursor(LoadCursorW(nullptr, readOnly_ ? IDC_ARROW : IDC_IBEAM));
}

void RichEdit::OnImeStartComposition() {
  HWND hwnd = GetWindowHandle();
  if (!hwnd) return;
  HIMC context = ImmGetContext(hwnd);
  if (!context) return;
  const POINT offset = GetScrollOffsetInParents();
  COMPOSITIONFORM form = {};
  form.dwStyle = CFS_POINT;
  form.ptCurrentPos.x = std::max(1, caretX_ - static_cast<int>(offset.x));
  form.ptCurrentPos.y = std::max(1, caretY_ - static_cast<int>(offset.y));
  ImmSetCompositionWindow(context, &form);
  ImmReleaseContext(hwnd, context);
  imeComposing_ = true;
}

void RichEdit::OnSetFocus() {
  if (host_) {
    InPlaceActivate();
    LRESULT ignored = 0;
    host_->GetTextServices()->TxSendMessage(WM_SETFOCUS, 0, 0, &ignored);
    ShowCaret(true);
  }
  focusedLook_ = true;
  SetState(kControlStatePushed);
  Invalidate();
  SetImmStatus(true);
}

void RichEdit::OnKillFocus() {
  if (host_) {
    InPlaceActivate();
    LRESULT ignored = 0;
    host_->GetTextServices()->TxSendMessage(WM_KILLFOCUS, 0, 0, &ignored);
    ShowCaret(false);
  }
  focusedLook_ = false;
  // A field disabled while focused keeps its disabled look.
  SetState(IsEnabled() ? kControlStateNormal : kControlStateDisabled);
  if (IsEnabled()) SetSel(-1, 0);
  Invalidate();
  OnScreenKeyboardManager::GetInstance().ShowKeyboard(false);
  SetImmStatus(false);
}

}  // namespace ui
