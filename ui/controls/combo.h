// A combo box: a box that paints the text of its current item and, when
// pressed, shows its items in a drop-down popup holding its own inner list.
// Choosing an item closes the popup, makes the item current and raises select.
#pragma once

#include <memory>
#include <string>

#include "ui/core/box.h"
#include "ui/core/window.h"

namespace ui {

class CComboWnd;
class ListBox;

class Combo : public Box {
 public:
  Combo();
  // Deletes the inner list and its items; an open drop-down lets go of the
  // combo and deletes them when it has closed.
  ~Combo() override;

  std::wstring GetType() const override;
  void Activate() override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintText(IRenderContext* context) override;
  bool ButtonDown(EventArgs& event) override;
  bool ButtonUp(EventArgs& event) override;

  // The items live in the inner list.
  int GetCount() const override;
  Control* GetItemAt(size_t index) const override;
  int GetItemIndex(Control* control) const override;
  bool SetItemIndex(Control* control, size_t index) override;
  // The combo owns its items: Remove, RemoveAt and RemoveAll delete them.
  bool Add(Control* control) override;
  bool AddAt(Control* control, size_t index) override;
  bool Remove(Control* control) override;
  bool RemoveAt(size_t index) override;
  void RemoveAll() override;

  // The current item's text; empty without one.
  std::wstring GetText() const;
  int GetCurSel() const { return curSel_; }
  // Makes the item current; select (42) is raised only while the drop-down is
  // open and `trigger` is set. False for an index outside the list.
  bool SelectItem(int index, bool trigger = true);
  ListBox* GetListBox() const { return list_.get(); }
  CComboWnd* GetDropWindow() const { return dropWindow_; }
  bool IsDropOpen() const;
  // Closes an open drop-down.
  void CloseDrop();
  SIZE GetDropBoxSize() const { return dropSize_; }
  bool IsPopupTop() const { return popupTop_; }
  RECT GetComboTextPadding() const { return textPadding_; }

 private:
  friend class CComboWnd;
  // The selection step of the popup: moves the current index, raising select
  // (index, previous) while the drop-down is open.
  bool SelectInternal(int index);
  bool OnListSelect(EventArgs* event);
  void ReadCurrentFromList();

  CComboWnd* dropWindow_ = nullptr;
  std::unique_ptr<ListBox> list_;
  int curSel_ = -1;
  SIZE dropSize_ = {0, 150};
  std::wstring dropAttributes_;
  bool popupTop_ = false;
  RECT textPadding_ = {0, 0, 0, 0};
};

// The drop-down popup of a combo box.
class CComboWnd : public Window {
 public:
  CComboWnd() = default;
  // Out of line: the adopted list's type is complete only there.
  ~CComboWnd() override;
  std::wstring GetWindowClassName() const override { return L"ComboWnd"; }
  // Clears the combo's pointer, repaints it and deletes the object.
  void OnFinalMessage(HWND hwnd) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Places and shows the popup under (or above) the combo.
  bool Init(Combo* combo);
  // The combo is going away: close without calling back into it.
  void Detach();
  // Keeps a detached combo's inner list (and its items) alive until the popup
  // is gone: the combo may be deleted while they handle an event.
  void AdoptList(std::unique_ptr<ListBox> list);
  // Hides the popup and closes it once the current message is over.
  void CloseLater();
  bool IsClosingDrop() const { return closing_; }

 private:
  LRESULT RouteComboMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void TakeListBack();

  Combo* combo_ = nullptr;
  bool closing_ = false;
  std::unique_ptr<ListBox> orphanList_;
  int dispatchDepth_ = 0;
  bool deletePending_ = false;
};

}  // namespace ui
