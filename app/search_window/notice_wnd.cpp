#include "app/search_window/notice_wnd.h"

#include "ui/controls/label.h"

namespace {

using TextLabel = ui::LabelTemplate<ui::Control>;

}  // namespace

CNoticeWnd* CNoticeWnd::Make(HWND owner) {
  auto* notice = new CNoticeWnd;
  // Never activated, and transparent to the mouse: the user goes on typing and
  // clicking where the user was.
  const DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT;
  if (!notice->Create(owner, L"", WS_POPUP, exStyle, true)) return nullptr;  // it has deleted itself
  return notice;
}

void CNoticeWnd::InitWindow() { label_ = FindControlByName(L"notice_text"); }

void CNoticeWnd::ShowOver(const std::wstring& text, const RECT& place) {
  HWND hwnd = GetHWND();
  if (!hwnd) return;
  if (auto* label = dynamic_cast<TextLabel*>(label_)) label->SetText(text);
  SetWindowTextW(hwnd, text.c_str());
  KillTimer(hwnd, kTimerHide);
  SetWindowPosition(place, false, SWP_NOACTIVATE, HWND_TOPMOST);
  ShowWindow(true, false);
  SetTimer(hwnd, kTimerHide, kShowMs, nullptr);
}

void CNoticeWnd::Dismiss() {
  HWND hwnd = GetHWND();
  if (!hwnd) return;
  KillTimer(hwnd, kTimerHide);
  if (IsWindowVisible(hwnd)) ShowWindow(false, false);
}

std::wstring CNoticeWnd::Text() const {
  auto* label = dynamic_cast<TextLabel*>(label_);
  return label ? label->GetText() : std::wstring();
}

LRESULT CNoticeWnd::OnTimer(UINT, WPARAM wParam, LPARAM, bool& handled) {
  handled = true;
  if (wParam == kTimerHide) Dismiss();
  return 0;
}
