// A combo box: a box showing the current item's text, whose items drop down in a
// list of their own.
#pragma once

#include <string>

#include "ui/core/box.h"

namespace ui {

class Combo : public Box {
 public:
  Combo();

  std::wstring GetType() const override;
  // Index of the current item, -1 for none.
  int GetCurSel() const { return curSel_; }
  void SetCurSel(int index) { curSel_ = index < -1 ? -1 : index; }
  const std::wstring& GetText() const { return text_; }
  void SetText(const std::wstring& text) {
    text_ = text;
    Invalidate();
  }

 private:
  int curSel_ = -1;
  std::wstring text_;
};

}  // namespace ui
