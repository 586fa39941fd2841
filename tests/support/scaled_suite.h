// A test suite run at 150 %, set before its framework starts, as a display at
// 144 dpi would have it; back at 100 % once the suite ends.
#pragma once

#include "ui/base/dpi_scaler.h"

namespace pexo_test {

template <class Suite>
class AtOneAndAHalf : public Suite {
 protected:
  static void SetUpTestSuite() {
    DpiScaler::Instance().SetAdapted(true);
    DpiScaler::Instance().SetScale(150);
    Suite::SetUpTestSuite();
  }
  static void TearDownTestSuite() {
    Suite::TearDownTestSuite();
    DpiScaler::Instance().SetScale(100);
    DpiScaler::Instance().SetAdapted(false);
  }
};

}  // namespace pexo_test
