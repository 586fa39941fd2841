// Makes the stock controls of this library known to the framework core: the
// skin builder's stock class names and the window's text-entry checks.
#pragma once

namespace ui {

// Call once at framework start-up, before any skin is built.
void RegisterStockControls();

}  // namespace ui
