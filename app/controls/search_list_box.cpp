#include "app/controls/search_list_box.h"

#include <algorithm>
#include <memory>

#include "ui/core/layout.h"
#include "ui/core/scroll_bar.h"
#include "ui/core/v_layout.h"
#include "ui/core/window.h"

namespace ui {

namespace {

// Rows built beyond the view when it scrolls, so that a slow scroll does not lay
// the list out again for every new row.
constexpr int kRowsAhead = 32;

}  // namespace

SearchListBox::SearchListBox() : ListBox(new VLayout) {}

void SearchListBox::SetRowSource(int total, RowMaker make) {
  RemoveAll();
  total_ = std::max(total, 0);
  make_ = std::move(make);
  Arrange();
}

void SearchListBox::SetTotalRows(int total) {
  total_ = std::max(total, GetCount());
  Arrange();
}

void SearchListBox::RemoveAll() {
  total_ = 0;
  make_ = nullptr;
  ListBox::RemoveAll();
}

int SearchListBox::RowPitch() const {
  if (GetCount() == 0) return 0;
  const Control* first = GetItemAt(0);
  int height = first->GetFixedHeight();
  if (height < 0) height = first->GetPos().bottom - first->GetPos().top;
  return height + (GetLayout() ? GetLayout()->GetChildMargin() : 0);
}

int SearchListBox::LastRowInView(const RECT& rc, int y) {
  if (total_ > 0 && GetCount() == 0) BuildRowsThrough(0);
  const int pitch = RowPitch();
  if (pitch <= 0) return 0;
  const RECT padding = GetLayout() ? GetLayout()->GetPadding() : RECT{0, 0, 0, 0};
  const int visible = (rc.bottom - padding.bottom) - (rc.top + padding.top);
  if (visible <= 0) return 0;
  return (std::max(y, 0) + visible - 1) / pitch;
}

bool SearchListBox::BuildRowsThrough(int index) {
  index = std::min(index, total_ - 1);
  if (index < GetCount() || !make_) return false;
  // One arrangement for all the new rows; the caller lays them out.
  AddBatch batch(this);
  while (GetCount() <= index) {
    std::unique_ptr<Control> row(make_(GetCount()));
    if (!row || !Add(row.get())) {
      // A row that cannot be made would shift every index after it: stop here.
      total_ = GetCount();
      break;
    }
    row.release();  // the list owns it now
  }
  return true;
}

void SearchListBox::MakeRowsThrough(int index) {
  // Each new row, its icon and its labels invalidate themselves as they are laid
  // out: one invalidation of their union instead.
  Window::InvalidationBatch invalidations(GetWindow());
  if (!BuildRowsThrough(index)) return;
  const RECT rc = GetPos();
  if (layingOut_ || IsRectEmpty(&rc)) return;
  // Laid out at once (and the rows in view with them): this layout is the one
  // the list would otherwise wait for, since it clears the list's own request.
  layingOut_ = true;
  SetPos(rc);
  layingOut_ = false;
}

void SearchListBox::SetPos(RECT rc) {
  BuildRowsThrough(LastRowInView(rc, GetScrollPos().cy));
  ListBox::SetPos(rc);
}

SIZE SearchListBox::CalcRequiredSize(const RECT& rc) {
  if (total_ > 0 && GetCount() == 0) BuildRowsThrough(0);
  SIZE size = ListBox::CalcRequiredSize(rc);
  // The rows still to come take their room already: the scroll bar covers them all.
  const int pending = total_ - GetCount();
  if (pending > 0) size.cy += pending * RowPitch();
  return size;
}

void SearchListBox::SetScrollPos(SIZE pos) {
  const int y = std::clamp<int>(pos.cy, 0, std::max<int>(GetScrollRange().cy, 0));
  MakeRowsThrough(LastRowInView(GetPos(), y) + kRowsAhead);
  ListBox::SetScrollPos(pos);
}

bool SearchListBox::SelectItem(int index, bool takeFocus, bool trigger) {
  MakeRowsThrough(index);
  return ListBox::SelectItem(index, takeFocus, trigger);
}

bool SearchListBox::SelectMultiItem(int index, bool takeFocus, bool trigger) {
  MakeRowsThrough(index);
  return ListBox::SelectMultiItem(index, takeFocus, trigger);
}

bool SearchListBox::EnsureVisible(int index) {
  MakeRowsThrough(index);
  return ListBox::EnsureVisible(index);
}

void SearchListBox::HandleEvent(EventArgs& event) {
  // The list's own keys and a selecting wheel may reach rows not built yet.
  if (event.Type == keydown && event.chKey == VK_END) {
    MakeRowsThrough(total_ - 1);
  } else if ((event.Type == keydown && event.chKey == VK_DOWN) ||
             (event.Type == scrollwheel && IsScrollSelect() && static_cast<int>(event.wParam) <= 0)) {
    MakeRowsThrough(GetCurSel() + 1);
  }
  ListBox::HandleEvent(event);
}

}  // namespace ui
