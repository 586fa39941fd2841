#include "app/controls/search_list_box.h"

#include "ui/core/v_layout.h"

namespace ui {

SearchListBox::SearchListBox() : GrowingListBox(new VLayout) {}

}  // namespace ui
