#include "app/main_window/main_wnd.h"

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

POINT CMainWnd::ClampedPosition(int x, int y, int width, int height, int screenWidth, int screenHeight) {
  POINT pt = {std::max(x, 0), std::max(y, 0)};
  if (pt.x + width > screenWidth) pt.x = std::max(screenWidth - width, 0);
  if (pt.y + height > screenHeight) pt.y = std::max(screenHeight - height, 0);
  return pt;
}

SIZE CMainWnd::UsableSize(int width, int height, int screenWidth, int screenHeight) {
  constexpr int kSmallest = 120;
  constexpr SIZE kDefault = {388, 640};
  SIZE size = {width < kSmallest ? kDefault.cx : width, height < kSmallest ? kDefault.cy : height};
  if (screenWidth > 0) size.cx = std::min<LONG>(size.cx, screenWidth);
  if (screenHeight > 0) size.cy = std::min<LONG>(size.cy, screenHeight);
  return size;
}

void CMainWnd::RestartSaveTimer() {
  if (GetHWND()) SetTimer(GetHWND(), kTimerSave, kSaveDelayMs, nullptr);
}

std::wstring CMainWnd::NoteText() {
  auto* editor = dynamic_cast<ui::RichEdit*>(todoEdit_);
  return editor ? editor->GetText() + noteFiller_.Rest() : std::wstring();
}

void CMainWnd::SetNoteText(const std::wstring& text, bool changed) {
  auto* editor = dynamic_cast<ui::RichEdit*>(todoEdit_);
  const bool pending = noteFiller_.Start(editor, text);
  // Each slice keeps the flag as it finds it, so the rest still going in stays changed too.
  if (changed && editor) editor->SetModified(true);
  if (!pending) return;
  // A timer comes after painting and input: the window shows and answers between slices.
  if (GetHWND() && SetTimer(GetHWND(), kTimerNoteFill, 0, nullptr)) return;
  FinishNoteFill();
}

void CMainWnd::FinishNoteFill() {
  while (noteFiller_.Step()) {
  }
  if (GetHWND()) KillTimer(GetHWND(), kTimerNoteFill);
}

void CMainWnd::AppendToNote(const std::wstring& text) {
  auto* editor = dynamic_cast<ui::RichEdit*>(todoEdit_);
  if (!editor) return;
  if (noteFiller_.Pending()) {
    noteFiller_.AppendLater(text);
    editor->SetModified(true);
    return;
  }
  editor->SetSel(-1, -1);
  editor->ReplaceSel(text, true);
}
