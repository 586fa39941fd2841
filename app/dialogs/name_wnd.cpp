#include "app/dialogs/name_wnd.h"

#include "app/desktop/window_alpha.h"
#include "ui/controls/rich_edit.h"
#include "ui/core/event_args.h"

CNameWnd::CNameWnd() {
  heading_.clear();
  name_.clear();
}

void CNameWnd::InitWindow() {
  SetWindowAlpha(LauncherWindowAlpha());
  title_ = FindControlByName(L"title");
  nameEdit_ = dynamic_cast<ui::RichEdit*>(FindControlByName(L"edit_name"));
  okButton_ = FindControlByName(L"btn_ok");
  cancelButton_ = FindControlByName(L"btn_cancel");
  const auto onClick = ToWeakCallback([this](ui::EventArgs* e) { return OnClick(e); });
  if (okButton_) okButton_->AttachClick(onClick);
  if (cancelButton_) cancelButton_->AttachClick(onClick);
  if (title_) title_->SetAttribute(L"text", heading_);
  if (nameEdit_) nameEdit_->SetTextWhole(name_);  // the field's limit would cut a longer stored name
}

bool CNameWnd::AcceptName() {
  if (nameEdit_) name_ = nameEdit_->GetText();
  return !name_.empty();
}

bool CNameWnd::OnClick(ui::EventArgs* event) {
  if (!event || !event->pSender) return true;
  if (event->pSender == okButton_) {
    if (AcceptName()) Close(kResultOk);
  } else if (event->pSender == cancelButton_) {
    Close(kResultCancel);
  }
  return true;
}

LRESULT CNameWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SHOWWINDOW && wParam && nameEdit_) {
    // Typing replaces the proposed name.
    nameEdit_->SetSelAll();
    nameEdit_->SetFocus();
  } else if (message == WM_CHAR && wParam == VK_RETURN) {
    if (!AcceptName()) return 1;  // an empty name: nothing happens
    Close(kResultOk);
  }
  return CDialogWnd::HandleMessage(message, wParam, lParam);
}
