// The item-ID list that an item-ID-list link keeps in its record, read within
// the stored bytes: a list cut short or damaged (an item size that runs past the
// end) gives none, so the shell is never handed bytes it would read beyond.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/base/scoped_handles.h"

ui::AbsoluteItemIdList StoredItemIdList(const std::vector<uint8_t>& bytes);
