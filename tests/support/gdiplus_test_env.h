// Starts GDI+ once for a test executable that draws through the render back end:
// including this header is enough.
#pragma once

#include "tests/support/gdiplus_environment.h"

namespace pexo_test {

inline ::testing::Environment* const kGdiplusEnvironment =
    ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

}  // namespace pexo_test
