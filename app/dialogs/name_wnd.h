// The one-line prompt for the name of a group or a tag. The opener sets the
// heading and the proposed name, runs the dialog and on 1 reads the name back.
#pragma once

#include <string>

#include "app/dialogs/dialog_wnd.h"

namespace ui {
class Control;
class RichEdit;
struct EventArgs;
}  // namespace ui

class CNameWnd : public CDialogWnd {
 public:
  CNameWnd();

  std::wstring GetWindowClassName() const override { return L"NameWnd"; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void InitWindow() override;
  std::wstring GetSkinFolder() override { return L"main"; }
  std::wstring GetSkinFile() override { return L"namewnd.xml"; }
  virtual bool OnClick(ui::EventArgs* event);

  void SetHeading(const std::wstring& heading) { heading_ = heading; }
  void SetName(const std::wstring& name) { name_ = name; }
  const std::wstring& GetName() const { return name_; }

 private:
  // Takes the edit's text; false (and the dialog stays open) when it is empty.
  bool AcceptName();

  std::wstring heading_;
  std::wstring name_;
  ui::RichEdit* nameEdit_ = nullptr;
  ui::Control* title_ = nullptr;
  ui::Control* okButton_ = nullptr;
  ui::Control* cancelButton_ = nullptr;
};
