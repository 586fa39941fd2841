#include "app/controls/card_list_boxes.h"

#include <algorithm>
#include <memory>

#include "data/settings.h"
#include "ui/base/dpi_scaler.h"
#include "ui/core/h_card_layout.h"
#include "ui/core/v_card_layout.h"
#include "ui/core/v_layout.h"
#include "ui/core/window.h"

namespace ui {

namespace {

constexpr int kGroupHeight = 30;
constexpr int kRowPitch = kGroupHeight + 1;  // rows and columns are one pixel apart
constexpr int kMinSharedTagHeight = 30;

int Scaled(int value) { return DpiScaler::Instance().ScaleInt(value); }

}  // namespace

HCardListBox::HCardListBox() : GrowingListBox(new HCardLayout) {}

HCardLayout* HCardListBox::GetCardLayout() const { return static_cast<HCardLayout*>(GetLayout()); }

int HCardListBox::ItemsPerLine(int width) const { return GetCardLayout()->CardsInRow(width); }

int HCardListBox::LinePitch() const {
  const HCardLayout* layout = GetCardLayout();
  return layout->GetItemSize().cy > 0 ? layout->RowPitch() : 0;
}

bool HCardListBox::SelectItemByClick(int index) {
  if (index < 0) return false;
  const int old = curSel_;
  curSel_ = index;
  if (Window* window = GetWindow()) window->SendControlEvent(this, select, static_cast<WPARAM>(index), old);
  return true;
}

VCardListBox::VCardListBox() : ListBox(new VCardLayout) {}

HCardGroup::HCardGroup(int groupWidth) : ListBox(new HCardLayout) {
  GetCardLayout()->SetItemSize({groupWidth, kGroupHeight}, true);
}

HCardLayout* HCardGroup::GetCardLayout() const { return static_cast<HCardLayout*>(GetLayout()); }

void HCardGroup::HandleEvent(EventArgs& event) {
  if (event.Type == resize) FitToWidth();
  ListBox::HandleEvent(event);
}

void HCardGroup::SetPos(RECT rc) {
  // The box lays itself out again when its bar gets a range: that inner pass is
  // part of this one.
  if (placing_) {
    ListBox::SetPos(rc);
    return;
  }
  const RECT before = GetPos();
  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  placing_ = true;
  ListBox::SetPos(rc);
  if (alive.expired()) return;
  placing_ = false;
  // The share of the window the strip may take follows the window's height,
  // which can change while the strip's own size does not.
  FitParentHeight();
  const RECT after = GetPos();
  const bool resized = after.right - after.left != before.right - before.left ||
                       after.bottom - after.top != before.bottom - before.top;
  // A new width moves the current group to another row, a new height may cut it.
  if (resized || revealPending_) {
    revealPending_ = false;
    EnsureVisible(GetCurSel());
  }
}

bool HCardGroup::SelectItem(int index, bool takeFocus, bool trigger) {
  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  const bool selected = ListBox::SelectItem(index, takeFocus, trigger);
  if (selected && !alive.expired()) RevealCurrent();
  return selected;
}

void HCardGroup::RevealCurrent() {
  // Items added or moved since the last layout have no places yet (the strip is
  // built and its current group chosen before the window is first laid out).
  const RECT pos = GetPos();
  if (IsArrangeNeeded() || IsRectEmpty(&pos)) {
    revealPending_ = true;
    return;
  }
  EnsureVisible(GetCurSel());
}

int HCardGroup::LimitParentHeight(int rowsHeight) const {
  const Window* window = GetWindow();
  const Control* root = window ? window->GetRoot() : nullptr;
  const Box* parent = GetParent();
  if (!root || !parent || !GetVerticalScrollBar()) return rowsHeight;
  // Half of the room from the strip down to the window's lower edge: the tags and
  // cards below it get the other half, two rows of cards in a window of usual size.
  const int share = (root->GetPos().bottom - parent->GetPos().top) / 2;
  if (share <= 0 || rowsHeight <= share) return rowsHeight;
  // Whole rows as the layout places them, so that no group shows cut at the
  // strip's lower edge before it is scrolled.
  const HCardLayout* layout = GetCardLayout();
  const RECT padding = layout->GetPadding();
  const int paddingHeight = static_cast<int>(padding.top + padding.bottom);
  const int margin = layout->GetChildMargin();
  const int pitch = std::max(layout->RowPitch(), 1);
  const int rows = std::max(1, (share - paddingHeight + margin) / pitch);
  return std::min(rowsHeight, paddingHeight + rows * pitch - margin);
}

void HCardGroup::FitToWidth() {
  const Settings& settings = GetSettings();
  const int count = GetCount();
  const int width = GetWidth();
  HCardLayout* layout = GetCardLayout();

  if (settings.bAutoGroupWidth && count >= 1 && count * settings.nGroupWidth < width) {
    const int itemWidth = (width - count) / count;
    if (itemWidth >= settings.nGroupWidth) {
      layout->SetItemSize({itemWidth, kGroupHeight}, true);
      for (int i = 0; i < count; ++i) {
        Control* item = GetItemAt(static_cast<size_t>(i));
        if (!item || !item->IsVisible()) continue;
        item->SetFixedWidth(itemWidth, true, true);
        item->SetFixedHeight(kGroupHeight, true);
      }
    }
  }
  FitParentHeight();
}

void HCardGroup::FitParentHeight() {
  // The parent gets the height of the rows in use. An empty strip still takes one
  // row: a height of 31 x 0 - 1 would be -1, the framework's "stretch", and the
  // strip would swallow the window.
  Box* parent = GetParent();
  if (!parent) return;
  const int count = GetCount();
  const int columns = std::max(1, GetWidth() / (static_cast<int>(GetCardLayout()->GetItemSize().cx) + 1));
  const int rows = std::max(1, count / columns + (count % columns != 0 ? 1 : 0));
  const int height = LimitParentHeight(Scaled(kRowPitch * rows - 1));
  if (parent->GetFixedHeight() != height) parent->SetFixedHeight(height, false);
}

VTagGroup::VTagGroup() : ListBox(new VLayout) {}

void VTagGroup::HandleEvent(EventArgs& event) {
  if (event.Type == resize) FitToHeight();
  ListBox::HandleEvent(event);
}

void VTagGroup::FitToHeight() {
  const int count = GetCount();
  const int height = GetHeight();
  if (!GetSettings().bAutoTagHeight || count < 1 || count * kMinSharedTagHeight >= height) return;
  const int itemHeight = (height - count) / count;
  if (itemHeight < kMinSharedTagHeight) return;
  for (int i = 0; i < count; ++i) {
    Control* item = GetItemAt(static_cast<size_t>(i));
    if (item && item->IsVisible()) item->SetFixedHeight(itemHeight, true);
  }
}

}  // namespace ui
