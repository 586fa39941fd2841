#include "ui/controls/option.h"

#include "ui/core/box.h"

namespace ui {

template class OptionTemplate<Control>;
template class OptionTemplate<Box>;

}  // namespace ui
