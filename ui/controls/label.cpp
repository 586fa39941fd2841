#include "ui/controls/label.h"

#include "ui/core/box.h"

namespace ui {

template class LabelTemplate<Control>;
template class LabelTemplate<Box>;

}  // namespace ui
