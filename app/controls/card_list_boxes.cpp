#include "app/controls/card_list_boxes.h"

#include <algorithm>

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

  // The parent gets the height of the rows in use. An empty strip still takes one
  // row: a height of 31 x 0 - 1 would be -1, the framework's "stretch", and the
  // strip would swallow the window.
  Box* parent = GetParent();
  if (!parent) return;
  const int columns = std::max(1, width / (static_cast<int>(layout->GetItemSize().cx) + 1));
  const int rows = std::max(1, count / columns + (count % columns != 0 ? 1 : 0));
  const int height = kRowPitch * rows - 1;
  if (parent->GetFixedHeight() != Scaled(height)) parent->SetFixedHeight(height, true);
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
