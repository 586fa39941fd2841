// A short notice in a small window of its own, for a window that is hidden when
// the notice comes: the search popup hides as its launch starts, so a target the
// system refuses is told here, where the popup stood. It shows over every window
// without taking the focus or the mouse (a click where it stands reaches the
// window below), goes after a few seconds, and carries its text as its window
// text, which screen readers read out.
#pragma once

#include <windows.h>

#include <string>

#include "ui/core/window_impl_base.h"

class CNoticeWnd : public ui::WindowImplBase {
 public:
  static constexpr UINT_PTR kTimerHide = 1;
  static constexpr UINT kShowMs = 3000;

  // ---- ui::WindowImplBase ----
  std::wstring GetWindowClassName() const override { return L"NoticeWnd"; }
  std::wstring GetSkinFolder() override { return L"main"; }
  std::wstring GetSkinFile() override { return L"notice.xml"; }
  void InitWindow() override;
  LRESULT OnTimer(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

  // Makes the window, hidden, owned by `owner` (which takes it along when it is
  // destroyed). Null when the skin could not be built; the object is then gone.
  static CNoticeWnd* Make(HWND owner);

  // Shows the text centred in `place` (screen pixels) for a few seconds; a notice
  // shown meanwhile takes its place and its time.
  void ShowOver(const std::wstring& text, const RECT& place);
  void Dismiss();
  std::wstring Text() const;

 private:
  ui::Control* label_ = nullptr;
};
