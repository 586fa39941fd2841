// The text-entry control as the window sees it: a scrolling box that may keep
// Tab for itself and whose selection the window sets when Tab moves the focus.
#pragma once

#include <string>

#include "ui/core/scrollable_box.h"

namespace ui {

class RichEdit : public ScrollableBox {
 public:
  RichEdit();

  std::wstring GetType() const override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

  bool IsWantTab() const { return wantTab_; }
  void SetWantTab(bool want) { wantTab_ = want; }
  // Character positions; (-1, 0) clears the selection, (0, -1) selects everything.
  void SetSel(long start, long end) {
    selStart_ = start;
    selEnd_ = end;
  }
  long GetSelStart() const { return selStart_; }
  long GetSelEnd() const { return selEnd_; }

 private:
  bool wantTab_ = false;
  long selStart_ = 0;
  long selEnd_ = 0;
};

}  // namespace ui
