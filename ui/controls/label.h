// A label: a control (or box) that shows one text in a font and text colours.
#pragma once

#include <windows.h>

#include <string>

#include "ui/core/attribute_numbers.h"
#include "ui/core/box.h"
#include "ui/core/control.h"
#include "ui/core/framework_access.h"

namespace ui {

// Text style of a plain label: single line, left, vertically centred, end ellipsis.
inline constexpr UINT kLabelTextStyle = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;

template <typename InheritType = Control>
class LabelTemplate : public InheritType {
 public:
  LabelTemplate() = default;

  std::wstring GetType() const override { return L"Label"; }
  bool IsTabStop() const override { return false; }

  // The text, or the language text of the text id when no text is set.
  virtual std::wstring GetText() const {
    if (text_.empty() && !textId_.empty()) return framework_access::GetLanguageText(textId_);
    return text_;
  }
  virtual void SetText(const std::wstring& text) {
    if (text == text_) return;
    text_ = text;
    this->Arrange();
    this->Invalidate();
  }
  virtual void SetTextId(const std::wstring& id) {
    if (id == textId_) return;
    textId_ = id;
    this->Arrange();
    this->Invalidate();
  }
  std::wstring GetTextId() const { return textId_; }

  UINT GetTextStyle() const { return textStyle_; }
  void SetTextStyle(UINT style) {
    textStyle_ = style;
    this->Invalidate();
  }
  const std::wstring& GetFont() const { return font_; }
  void SetFont(const std::wstring& font) {
    font_ = font;
    this->Arrange();
    this->Invalidate();
  }
  const std::wstring& GetTextColor() const { return textColor_; }
  const std::wstring& GetDisabledTextColor() const { return disabledTextColor_; }
  RECT GetTextPadding() const { return textPadding_; }

  void SetAttribute(const std::wstring& name, const std::wstring& value) override {
    if (name == L"text") {
      SetText(value);
    } else if (name == L"textid") {
      SetTextId(value);
    } else if (name == L"font") {
      SetFont(value);
    } else if (name == L"normaltextcolor") {
      textColor_ = value;
      this->Invalidate();
    } else if (name == L"disabledtextcolor") {
      disabledTextColor_ = value;
      this->Invalidate();
    } else if (name == L"textpadding") {
      RECT rc;
      if (ParseRect(value, &rc)) {
        textPadding_ = rc;
        this->Arrange();
      }
    } else if (name == L"singleline") {
      if (value == L"true") {
        textStyle_ |= DT_SINGLELINE;
      } else {
        textStyle_ &= ~static_cast<UINT>(DT_SINGLELINE);
      }
      this->Invalidate();
    } else {
      InheritType::SetAttribute(name, value);
    }
  }

 protected:
  std::wstring text_;
  std::wstring textId_;
  std::wstring font_;
  std::wstring textColor_;
  std::wstring disabledTextColor_;
  RECT textPadding_ = {0, 0, 0, 0};
  UINT textStyle_ = kLabelTextStyle;
};

// Both forms are compiled once, in the source file.
extern template class LabelTemplate<Control>;
extern template class LabelTemplate<Box>;

}  // namespace ui
