// The search window's result list. A broad search can match thousands of links:
// the list builds only the rows it shows, and the rest wait in the window's own
// result vector until they scroll into view or a selection reaches them.
#pragma once

#include "app/controls/growing_list_box.h"

namespace ui {

class SearchListBox : public GrowingListBox {
 public:
  SearchListBox();
};

}  // namespace ui
