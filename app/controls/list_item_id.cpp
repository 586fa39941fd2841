#include "app/controls/list_item_id.h"

#include "ui/core/control.h"
#include "ui/core/list_interfaces.h"

void SetListItemId(ui::Control* item, int32_t id) {
  if (auto* listItem = dynamic_cast<ui::IListItem*>(item)) listItem->SetItemId(id);
}

int32_t GetListItemId(const ui::Control* item) {
  const auto* listItem = dynamic_cast<const ui::IListItem*>(item);
  return listItem ? listItem->GetItemId() : 0;
}
