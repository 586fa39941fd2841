// The launcher's modal dialogs share this base: the opener creates the dialog
// as a pop-up tool window it owns, runs it modally and deletes it afterwards,
// so the final message only forgets the control tree. Esc closes with 2.
#pragma once

#include <windows.h>

#include <memory>

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

// The one way an opener runs a dialog it owns: the caller keeps the dialog in
// `dialog` and reads its members after the run; the unique pointer deletes it
// whatever the result (OK, cancel, the caption's close button). When the window
// could not be made the dialog has deleted itself already: `dialog` lets go of it
// and the result is kNotCreated, so nothing uses or deletes it a second time.
template <typename Dialog>
UINT RunOwnedDialog(std::unique_ptr<Dialog>& dialog, HWND owner, const wchar_t* title) {
  if (!dialog) return CDialogWnd::kNotCreated;
  const UINT result = dialog->RunModal(owner, title);
  if (result == CDialogWnd::kNotCreated) static_cast<void>(dialog.release());
  return result;
}
