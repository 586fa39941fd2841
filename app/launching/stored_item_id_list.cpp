#include "app/launching/stored_item_id_list.h"

#include <string_view>

ui::AbsoluteItemIdList StoredItemIdList(const std::vector<uint8_t>& bytes) {
  return ui::AbsoluteItemIdList::FromBytes(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}
