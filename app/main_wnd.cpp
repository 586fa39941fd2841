#include "app/main_wnd.h"

#include <algorithm>

#include "data/settings.h"
#include "ui/controls/list_box.h"
#include "ui/controls/rich_edit.h"
#include "ui/controls/label.h"

CMainWnd::CMainWnd(HINSTANCE instance) : instance_(instance) {}

CMainWnd::~CMainWnd() {
  if (trayIconOwned_ && trayIcon_) DestroyIcon(trayIcon_);
}

// The note editor's class, for as long as the control factory does not make it:
// the plain rich edit.
ui::Control* CMainWnd::CreateControl(const std::wstring& className) {
  if (className == L"RichEditX") return new ui::RichEdit;
  return nullptr;
}

int CMainWnd::EffectiveAlpha(int storedAlpha) { return std::clamp(storedAlpha, 128, 255); }

POINT CMainWnd::ClampedPosition(int x, int y, int width, int height, int screenWidth, int screenHeight) {
  POINT pt = {std::max(x, 0), std::max(y, 0)};
  if (pt.x + width > screenWidth) pt.x = screenWidth - width;
  if (pt.y + height > screenHeight) pt.y = screenHeight - height;
  return pt;
}

void CMainWnd::RestartSaveTimer() {
  if (GetHWND()) SetTimer(GetHWND(), kTimerSave, kSaveDelayMs, nullptr);
}

LRESULT CMainWnd::OnTimer(UINT, WPARAM wParam, LPARAM, bool& handled) {
  handled = true;
  switch (wParam) {
    case kTimerSave: {
      KillTimer(GetHWND(), kTimerSave);
      Settings& settings = GetSettings();
      RECT rc = GetWindowRectWithoutShadow(false);
      if (!IsIconic(GetHWND()) && IsWindowVisible(GetHWND())) {
        settings.nPosX = rc.left;
        settings.nPosY = rc.top;
        settings.nWidth = rc.right - rc.left;
        settings.nHeight = rc.bottom - rc.top;
      }
      settings.nCurGroup = curGroup_;
      settings.nCurTag = curTag_;
      settings.Save();
      break;
    }
    case kTimerGroupHover:
      KillTimer(GetHWND(), kTimerGroupHover);
      SelectWithEvent(groupList_, pendingGroup_);
      break;
    case kTimerTagHover:
      KillTimer(GetHWND(), kTimerTagHover);
      SelectWithEvent(tagList_, pendingTag_);
      break;
    case kTimerNotice:
      KillTimer(GetHWND(), kTimerNotice);
      if (tips_) tips_->SetFadeVisible(false);
      break;
    default:
      handled = false;
      break;
  }
  return 0;
}

void CMainWnd::ShowMain() {
  ::ShowWindow(GetHWND(), SW_SHOW);
  SetForegroundWindow(GetHWND());
}

void CMainWnd::HideMain() { ::ShowWindow(GetHWND(), SW_HIDE); }

void CMainWnd::ToggleMain() {
  if (IsWindowVisible(GetHWND())) {
    HideMain();
  } else {
    ShowMain();
  }
}

void CMainWnd::ShowNotice(const std::wstring& text) {
  lastNotice_ = text;
  auto* label = dynamic_cast<ui::LabelTemplate<ui::Control>*>(tips_);
  if (!label) return;
  KillTimer(GetHWND(), kTimerNotice);
  label->SetText(text);
  label->SetFadeVisible(true);
  SetTimer(GetHWND(), kTimerNotice, kNoticeMs, nullptr);
}

std::wstring CMainWnd::NoteText() const {
  auto* editor = dynamic_cast<ui::RichEdit*>(todoEdit_);
  return editor ? editor->GetText() : std::wstring();
}

void CMainWnd::SetNoteText(const std::wstring& text) {
  if (auto* editor = dynamic_cast<ui::RichEdit*>(todoEdit_)) editor->SetText(text);
}
