#include "app/controls/growing_list_box.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "ui/controls/list_container_element.h"
#include "ui/core/card_placement.h"
#include "ui/core/layout.h"
#include "ui/core/window.h"

namespace ui {

namespace {

// Lines built beyond the view when it scrolls, so that a slow scroll does not lay
// the list out again for every new line.
constexpr int kLinesAhead = 32;

RECT Inset(const RECT& rc, const RECT& padding) {
  return {rc.left + padding.left, rc.top + padding.top, rc.right - padding.right, rc.bottom - padding.bottom};
}

}  // namespace

GrowingListBox::GrowingListBox(Layout* layout) : ListBox(layout) {}

void GrowingListBox::ScrollToTop() {
  // The box's own scrolling: the override would build rows ahead of the top.
  if (GetScrollPos().cy != 0) ListBox::SetScrollPos({GetScrollPos().cx, 0});
}

void GrowingListBox::SetItemSource(int total, ItemMaker make) {
  RemoveAll();
  toCome_ = std::max(total, 0);
  make_ = std::move(make);
  // A list in place builds what it shows at once, as a list holding them all
  // would have them: a caller may look at them before the next layout.
  const RECT rc = GetPos();
  if (!IsRectEmpty(&rc)) BuildItemsThrough(LastItemInView(rc, GetScrollPos().cy));
  Arrange();
}

void GrowingListBox::ReplaceItemSource(int total, ItemMaker make, const ItemRefill& refill) {
  total = std::max(total, 0);
  const RECT rc = GetPos();
  // What the view shows from the top, where a new source is first seen.
  int kept = 0;
  if (GetCount() > 0 && total > 0 && !IsRectEmpty(&rc)) kept = std::min({GetCount(), total, LastItemInView(rc, 0) + 1});
  AddBatch batch(this, placing_ ? AddBatch::AtEnd::kDrop : AddBatch::AtEnd::kArrange);
  // Cleared before anything goes, so that no removal selects another item.
  curSel_ = -1;
  RemoveItemsFrom(kept);
  make_ = std::move(make);
  made_ = kept;
  toCome_ = total - kept;
  for (int i = 0; i < kept; ++i) {
    Control* item = GetItemAt(static_cast<size_t>(i));
    if (auto* element = dynamic_cast<ListContainerElement*>(item)) element->SetItemSelected(false, true);
    if (refill && refill(item, i)) continue;
    std::unique_ptr<Control> made(make_ ? make_(i) : nullptr);
    RemoveAt(static_cast<size_t>(i));
    if (!made || !AddAt(made.get(), static_cast<size_t>(i))) {
      // An item that cannot be made would shift every index after it: stop here.
      while (GetCount() > i) RemoveAt(static_cast<size_t>(GetCount() - 1));
      made_ = i;
      toCome_ = 0;
      break;
    }
    made.release();  // the list owns it now
  }
  ScrollToTop();
  if (!IsRectEmpty(&rc)) BuildItemsThrough(LastItemInView(rc, 0));
  // The scroll range follows the new total at the next layout. Arrange() would
  // also repaint the whole list; what that layout moves or changes repaints itself.
  SetArrangeNeeded(true);
  if (Window* window = GetWindow()) window->SetArrange(true);
}

void GrowingListBox::RemoveItemsFrom(int first) {
  if (first < 0 || first >= GetCount()) return;
  // The tail in one cut: one by one from the end, each removal looked for its
  // item from the start of the list, and thousands of rows built by End cost
  // the next keystroke that many searches.
  std::vector<Control*> gone(items_.begin() + first, items_.end());
  items_.resize(static_cast<size_t>(first));
  for (Control* control : gone) {
    if (auto* item = dynamic_cast<ListContainerElement*>(control)) {
      item->SetOwner(nullptr);
      item->SetIndex(-1);
    }
  }
  if (curSel_ >= first) curSel_ = -1;
  Arrange();
  for (Control* control : gone) DisposeChild(control);
}

void GrowingListBox::SetTotalItems(int total) {
  toCome_ = std::max(total - GetCount(), 0);
  Arrange();
}

void GrowingListBox::RemoveAll() {
  toCome_ = 0;
  made_ = 0;
  make_ = nullptr;
  ListBox::RemoveAll();
}

int GrowingListBox::ItemsPerLine(int /*width*/) const { return 1; }

int GrowingListBox::LinePitch() const {
  if (GetCount() == 0) return 0;
  const Control* first = GetItemAt(0);
  int height = first->GetFixedHeight();
  if (height < 0) height = first->GetPos().bottom - first->GetPos().top;
  return height + (GetLayout() ? GetLayout()->GetChildMargin() : 0);
}

int GrowingListBox::LastItemInView(const RECT& rc, int y) {
  // The first item may set the lines' height (a card sets its list's item size).
  if (toCome_ > 0 && GetCount() == 0) BuildItemsThrough(0);
  const int pitch = LinePitch();
  if (pitch <= 0) return 0;
  const RECT inner = ItemArea(GetLayout() ? Inset(rc, GetLayout()->GetPadding()) : rc);
  const int visible = inner.bottom - inner.top;
  if (visible <= 0) return 0;
  const int lines = (std::max(y, 0) + visible - 1) / pitch + 1;
  return lines * ItemsPerLine(inner.right - inner.left) - 1;
}

bool GrowingListBox::BuildItemsThrough(int index) {
  if (index < GetCount() || toCome_ <= 0 || !make_) return false;
  // One arrangement for all the new items, or none while the list is placed.
  AddBatch batch(this, placing_ ? AddBatch::AtEnd::kDrop : AddBatch::AtEnd::kArrange);
  while (GetCount() <= index && toCome_ > 0) {
    std::unique_ptr<Control> item(make_(made_));
    ++made_;
    --toCome_;
    if (!item || !Add(item.get())) {
      // An item that cannot be made would shift every index after it: stop here.
      toCome_ = 0;
      break;
    }
    item.release();  // the list owns it now
  }
  return true;
}

void GrowingListBox::MakeItemsThrough(int index) {
  // Each new item and its inside invalidate themselves as they are laid out: one
  // invalidation of their union instead.
  Window::InvalidationBatch invalidations(GetWindow());
  if (!BuildItemsThrough(index)) return;
  const RECT rc = GetPos();
  if (layingOut_ || IsRectEmpty(&rc)) return;
  // Laid out at once (and the items in view with them): this layout is the one
  // the list would otherwise wait for, since it clears the list's own request.
  layingOut_ = true;
  SetPos(rc);
  layingOut_ = false;
}

void GrowingListBox::SetPos(RECT rc) {
  const bool outer = !placing_;
  placing_ = true;
  Window* window = GetWindow();
  const bool layoutWanted = window && window->IsArrangeNeeded();
  // The new items ask the window for a layout as they join it: this placing is
  // that layout, and a second one would cost the whole window another pass.
  const int before = GetCount();
  BuildItemsThrough(LastItemInView(rc, GetScrollPos().cy));
  if (window && GetCount() != before) window->SetArrange(layoutWanted);
  ListBox::SetPos(rc);
  if (outer) placing_ = false;
}

SIZE GrowingListBox::CalcRequiredSize(const RECT& rc) {
  if (toCome_ > 0 && GetCount() == 0) BuildItemsThrough(0);
  SIZE size = ListBox::CalcRequiredSize(rc);
  // The items still to come take their room already: the scroll bar covers them all.
  if (toCome_ > 0) {
    const RECT area = ItemArea(rc);
    const int perLine = std::max(ItemsPerLine(area.right - area.left), 1);
    const int built = GetCount();
    size.cy += (LinesFor(built + toCome_, perLine) - LinesFor(built, perLine)) * LinePitch();
  }
  return size;
}

void GrowingListBox::SetScrollPos(SIZE pos) {
  const int y = std::clamp<int>(pos.cy, 0, std::max<int>(GetScrollRange().cy, 0));
  const RECT area = ItemArea(GetPos());
  MakeItemsThrough(LastItemInView(GetPos(), y) + kLinesAhead * std::max(ItemsPerLine(area.right - area.left), 1));
  ListBox::SetScrollPos(pos);
}

bool GrowingListBox::SelectItem(int index, bool takeFocus, bool trigger) {
  MakeItemsThrough(index);
  return ListBox::SelectItem(index, takeFocus, trigger);
}

bool GrowingListBox::SelectMultiItem(int index, bool takeFocus, bool trigger) {
  MakeItemsThrough(index);
  return ListBox::SelectMultiItem(index, takeFocus, trigger);
}

bool GrowingListBox::EnsureVisible(int index) {
  MakeItemsThrough(index);
  return ListBox::EnsureVisible(index);
}

void GrowingListBox::HandleEvent(EventArgs& event) {
  // The list's own keys and a selecting wheel may reach items not built yet.
  if (event.Type == keydown && event.chKey == VK_END) {
    MakeItemsThrough(GetTotalItems() - 1);
  } else if ((event.Type == keydown && event.chKey == VK_DOWN) ||
             (event.Type == scrollwheel && IsScrollSelect() && static_cast<int>(event.wParam) <= 0)) {
    MakeItemsThrough(GetCurSel() + 1);
  }
  ListBox::HandleEvent(event);
}

}  // namespace ui
