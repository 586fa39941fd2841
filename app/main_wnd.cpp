#include "app/main_wnd.h"

#include <algorithm>

#include "data/settings.h"
#include "ui/controls/list_box.h"
#include "ui/controls/rich_edit.h"
#include "ui/core/h_card_layout.h"
#include "ui/core/label_template.h"
#include "ui/core/v_layout.h"

CMainWnd::CMainWnd(HINSTANCE instance) : instance_(instance) {}

CMainWnd::~CMainWnd() {
  if (trayIconOwned_ && trayIcon_) DestroyIcon(trayIcon_);
}

// The launcher's own list and text classes, for as long as the control factory
// does not make them itself: list boxes with the layouts those classes use.
ui::Control* CMainWnd::CreateControl(const std::wstring& className) {
  if (className == L"HCardListBox" || className == L"HCardGroup") return new ui::ListBox(new ui::HCardLayout);
  if (className == L"VTagGroup" || className == L"VCardListBox") return new ui::ListBox(new ui::VLayout);
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
  // The rich edit keeps no text of its own yet; the window holds the note's text.
  return noteText_;
}

void CMainWnd::SetNoteText(const std::wstring& text) { noteText_ = text; }
