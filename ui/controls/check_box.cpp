#include "ui/controls/check_box.h"

#include "ui/core/box.h"

namespace ui {

template class CheckBoxTemplate<Control>;
template class CheckBoxTemplate<Box>;

}  // namespace ui
