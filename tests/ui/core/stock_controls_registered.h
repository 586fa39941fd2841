// For core tests whose skins name labels, buttons or options: the builder makes
// those through the stock-control library, so the library is registered before
// the first test of the program runs.
#pragma once

#include <gtest/gtest.h>

#include "ui/controls/stock_controls.h"

class StockControlsRegistered : public ::testing::Environment {
 public:
  void SetUp() override { ui::RegisterStockControls(); }
};

inline ::testing::Environment* const kStockControlsRegistered =
    ::testing::AddGlobalTestEnvironment(new StockControlsRegistered);
