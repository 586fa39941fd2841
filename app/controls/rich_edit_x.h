// The launcher's text field: the framework's rich edit with an edit menu on the
// right button, "wantreturn" for line breaks on Enter, and "wantlink" for
// addresses and paths that turn into links opening in the shell.
#pragma once

#include <string>

#include "ui/controls/rich_edit.h"

namespace ui {

class RichEditX : public RichEdit {
 public:
  RichEditX();

  void HandleEventTemplate(EventArgs& event) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void OnTxNotify(DWORD code, void* data) override;

  bool IsWantLink() const { return wantLink_; }

  // The edit menu's commands by item name: "undo", "redo", "cut", "copy",
  // "paste"; any other name does nothing.
  void RunEditCommand(const std::wstring& name);

  // What a clicked link opens: a "file:" link's path (percent-decoded, UNC
  // forms kept), else the link text itself.
  static std::wstring LinkTarget(const std::wstring& linkText);

 protected:
  // Opens the target in the shell; the tests replace it.
  virtual void OpenLink(const std::wstring& target);

 private:
  // Shows the edit menu at the cursor; the chosen item's name, empty for none.
  std::wstring ShowEditMenu();
  void EnableLinkDetection();
  void OnLinkClicked(const CHARRANGE& range);

  bool wantLink_ = false;
};

}  // namespace ui
