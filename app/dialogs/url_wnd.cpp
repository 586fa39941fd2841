#include "app/dialogs/url_wnd.h"

#include "app/desktop/window_alpha.h"
#include "ui/controls/rich_edit.h"
#include "ui/core/event_args.h"

void CUrlWnd::InitWindow() {
  SetWindowAlpha(LauncherWindowAlpha());
  nameEdit_ = dynamic_cast<ui::RichEdit*>(FindControlByName(L"edit_name"));
  urlEdit_ = dynamic_cast<ui::RichEdit*>(FindControlByName(L"edit_url"));
  remarkEdit_ = dynamic_cast<ui::RichEdit*>(FindControlByName(L"edit_remark"));
  title_ = FindControlByName(L"title");
  okButton_ = FindControlByName(L"btn_ok");
  cancelButton_ = FindControlByName(L"btn_cancel");
  const auto onClick = ToWeakCallback([this](ui::EventArgs* e) { return OnClick(e); });
  if (okButton_) okButton_->AttachClick(onClick);
  if (cancelButton_) cancelButton_->AttachClick(onClick);
  if (title_) title_->SetAttribute(L"text", heading_);
  if (nameEdit_) nameEdit_->SetText(name_);
  // Addresses are typed in Latin letters.
  if (urlEdit_) {
    urlEdit_->SetImmStatus(false);
    urlEdit_->SetText(url_);
  }
  if (remarkEdit_) remarkEdit_->SetText(L"");
}

bool CUrlWnd::OnClick(ui::EventArgs* event) {
  if (!event || !event->pSender) return true;
  if (event->pSender == okButton_) {
    if (nameEdit_) name_ = nameEdit_->GetText();
    if (urlEdit_) url_ = urlEdit_->GetText();
    if (remarkEdit_) remark_ = remarkEdit_->GetText();
    if (!name_.empty() && !url_.empty()) Close(kResultOk);
  } else if (event->pSender == cancelButton_) {
    Close(kResultCancel);
  }
  return true;
}
