#include "ui/controls/rich_edit.h"

#include "ui/core/v_layout.h"

namespace ui {

RichEdit::RichEdit() : ScrollableBox(new VLayout) {}

std::wstring RichEdit::GetType() const { return L"RichEdit"; }

void RichEdit::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"wanttab") {
    SetWantTab(value == L"true");
  } else {
    ScrollableBox::SetAttribute(name, value);
  }
}

}  // namespace ui
