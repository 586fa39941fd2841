// The number a launcher list item stands for (a group's, tag's or link's ID),
// kept on the item itself so that every handler looks its record up again.
#pragma once

#include <cstdint>

namespace ui {
class Control;
}

void SetListItemId(ui::Control* item, int32_t id);
// 0 for null or an item without a number.
int32_t GetListItemId(const ui::Control* item);
