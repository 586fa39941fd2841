// The form for a new web-address link: name, address and remark. The opener
// sets the heading and the proposed name and address; on 1 it reads all three.
#pragma once

#include <string>

#include "app/dialogs/dialog_wnd.h"

namespace ui {
class Control;
class RichEdit;
struct EventArgs;
}  // namespace ui

class CUrlWnd : public CDialogWnd {
 public:
  std::wstring GetWindowClassName() const override { return L"UrlWnd"; }
  void InitWindow() override;
  std::wstring GetSkinFolder() override { return L"main"; }
  std::wstring GetSkinFile() override { return L"urlwnd.xml"; }
  virtual bool OnClick(ui::EventArgs* event);

  void SetHeading(const std::wstring& heading) { heading_ = heading; }
  void SetName(const std::wstring& name) { name_ = name; }
  void SetUrl(const std::wstring& url) { url_ = url; }
  const std::wstring& GetName() const { return name_; }
  const std::wstring& GetUrl() const { return url_; }
  const std::wstring& GetRemark() const { return remark_; }

 private:
  std::wstring heading_;
  std::wstring name_;
  std::wstring url_;
  std::wstring remark_;
  ui::RichEdit* nameEdit_ = nullptr;
  ui::RichEdit* urlEdit_ = nullptr;
  ui::RichEdit* remarkEdit_ = nullptr;
  ui::Control* title_ = nullptr;
  ui::Control* okButton_ = nullptr;
  ui::Control* cancelButton_ = nullptr;
};
