// The launcher's modal dialogs share this base: the opener creates the dialog
// as a pop-up tool window it owns, runs it modally and deletes it afterwards,
// so the final message only forgets the control tree. Esc closes with 2.
#pragma once

#include <windows.h>

#include "ui/core/window_impl_base.h"

class CDialogWnd : public ui::WindowImplBase {
 public:
  static constexpr UINT kResultOk = 1;
  static constexpr UINT kResultCancel = 2;
  // RunModal's answer when the window could not be made.
  static constexpr UINT kNotCreated = 0xFFFFFFFFu;

  // Keeps the object alive: the opener deletes it.
  void OnFinalMessage(HWND hwnd) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Creates the dialog over `owner` (a pop-up tool window), centres it on the
  // owner and runs it modally. The result is the close code, or kNotCreated when
  // the window could not be made: then the object has deleted itself (see
  // WindowImplBase::Create) and callers must not touch or delete it.
  UINT RunModal(HWND owner, const wchar_t* title);
};
