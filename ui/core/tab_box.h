// A box that shows one of its children at a time, the selected one, and can
// slide the new page in and the old one out horizontally ("fadeswitch").
// Unselected pages stay in the tree: they take no mouse input, are fully
// transparent and, unless pages slide, invisible.
#pragma once

#include <string>

#include "ui/core/box.h"

namespace ui {

class TabBox : public Box {
 public:
  // Acceleration of the page slide.
  static constexpr double kSlideAccelerateFactor = 0.015;

  TabBox();

  // Overrides.
  void DoInit() override;
  std::wstring GetType() const override;
  // "selectedid" (selected at once after initialisation, remembered before)
  // and "fadeswitch"; every other name goes to the box.
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  // A visible child added while nothing is selected becomes the selection;
  // any other child is put in the unselected state.
  bool Add(Control* control) override;
  bool AddAt(Control* control, size_t index) override;
  // Removing the selected page selects the first remaining one (without a
  // "select" event).
  bool Remove(Control* control) override;
  void RemoveAll() override;

  // Shows the child at the index and hides the others; in a window the focus
  // moves on and the box gets "select" with the new and the old index. False for
  // an index out of range, true with nothing done for the current selection.
  virtual bool SelectItem(int index);
  // Puts the child at the index in the unselected state (mouse off, transparent).
  virtual void HideItem(int index);

  int GetCurSel() const { return selected_; }
  bool IsFadeSwitch() const { return fadeSwitch_; }

 private:
  // The end of a page's slide out: hides that page unless it is no longer a page
  // of this box or has been selected again meanwhile.
  void HideSlidOutPage(Control* page);
  // Mouse input on, opaque: the state of the selected page.
  void PutInSelectedState(Control* child);
  // Mouse input off and transparent; invisible unless pages slide.
  void PutInUnselectedState(Control* child);
  // Starts the page's slide from `from` to `to`; the completion runs afterwards.
  void Slide(Control* child, int from, int to, std::function<void()> completion);

  int selected_ = -1;
  int initialSelection_ = -1;
  bool initialised_ = false;
  bool fadeSwitch_ = false;
};

}  // namespace ui
