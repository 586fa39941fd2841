// A check box: a button with a selected flag and a second set of looks for the
// selected state (images, fore images, fill colours, text colours). Activating
// it toggles the flag and raises select (42) or unselect (43), never click.
#pragma once

#include <string>

#include "ui/controls/button.h"
#include "ui/core/state_color_set.h"

namespace ui {

template <typename InheritType = Control>
class CheckBoxTemplate : public ButtonTemplate<InheritType> {
 public:
  CheckBoxTemplate();

  std::wstring GetType() const override { return L"CheckBox"; }
  // The background image, else the first state image with a file, else the
  // first selected state image with a file.
  SkinImage* GetSizingImage() override;
  void Activate() override;
  bool HasHotState() override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintStatusColor(IRenderContext* context) override;
  void PaintStatusImage(IRenderContext* context) override;
  void PaintText(IRenderContext* context) override;

  bool IsSelected() const { return selected_; }
  // Stores the flag and, when it changed, repaints and (in a window, when asked)
  // raises select or unselect.
  virtual void Selected(bool selected, bool triggerEvent = false);

  bool IsNormalFirst() const { return normalFirst_; }
  void SetSelectedTextColor(const std::wstring& color) {
    selectedTextColor_ = color;
    this->Invalidate();
  }
  void SetSelectedStateTextColor(ControlState state, const std::wstring& color) {
    selectedTextColors_.SetColor(state, color);
    this->Invalidate();
  }
  void SetSelectedStateColor(ControlState state, const std::wstring& color) {
    selectedColors_.SetColor(state, color);
    this->Invalidate();
  }

 protected:
  void SetSelectedImage(int kind, ControlState state, const std::wstring& text);

  bool selected_ = false;
  bool normalFirst_ = false;
  std::wstring selectedTextColor_;
  StateColorSet selectedTextColors_;
  StateColorSet selectedColors_;
};

// Both forms are compiled once, in the source file.
extern template class CheckBoxTemplate<Control>;
extern template class CheckBoxTemplate<Box>;

}  // namespace ui
