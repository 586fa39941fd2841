#include "ui/controls/button.h"

#include "ui/core/box.h"

namespace ui {

template class ButtonTemplate<Control>;
template class ButtonTemplate<Box>;

}  // namespace ui
