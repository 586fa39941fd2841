#include "app/list_item_id.h"

#include <cwchar>
#include <string>

#include "ui/core/control.h"

void SetListItemId(ui::Control* item, int32_t id) {
  if (item) item->SetDataId(std::to_wstring(id));
}

int32_t GetListItemId(const ui::Control* item) {
  if (!item) return 0;
  const std::wstring text = item->GetDataId();
  return static_cast<int32_t>(std::wcstol(text.c_str(), nullptr, 10));
}
