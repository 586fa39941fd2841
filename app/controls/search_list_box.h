// The search window's result list. A broad search can match thousands of links:
// the list builds only the rows it shows, and the rest wait in the window's own
// result vector until they scroll into view or a selection reaches them. The list
// is laid out and scrolled as if every row were there, so positions, indexes,
// selection and its events are those of a list that holds them all.
#pragma once

#include <functional>

#include "ui/controls/list_box.h"

namespace ui {

class SearchListBox : public ListBox {
 public:
  // Builds row `index`; never null, so that a row's index is its result's.
  using RowMaker = std::function<Control*(int index)>;

  SearchListBox();

  // Empties the list and gives it `total` rows to come, built by `make` in order.
  void SetRowSource(int total, RowMaker make);
  // More rows to come after those already announced (results that came later).
  void SetTotalRows(int total);
  int GetTotalRows() const { return total_; }
  // Builds the rows not yet built up to `index` (clamped to the last row) and lays
  // them out, so their places are known at once.
  void MakeRowsThrough(int index);

  // Overrides: rows are built before anything needs them.
  void SetPos(RECT rc) override;
  void SetScrollPos(SIZE pos) override;
  SIZE CalcRequiredSize(const RECT& rc) override;
  bool SelectItem(int index, bool takeFocus = false, bool trigger = true) override;
  bool SelectMultiItem(int index, bool takeFocus = false, bool trigger = true) override;
  bool EnsureVisible(int index) override;
  void HandleEvent(EventArgs& event) override;
  void RemoveAll() override;

 private:
  // The height of one row with the margin after it; 0 before the first row exists.
  int RowPitch() const;
  // The last row that the view shows at vertical scroll position `y` within `rc`
  // (the first row is built to learn the rows' height).
  int LastRowInView(const RECT& rc, int y);
  // Builds rows through `index` without laying them out; true when any was built.
  bool BuildRowsThrough(int index);

  int total_ = 0;
  RowMaker make_;
  bool layingOut_ = false;
};

}  // namespace ui
