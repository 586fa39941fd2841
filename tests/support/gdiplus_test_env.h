// Starts GDI+ once for a test executable that draws through the render back end.
#pragma once

#include <windows.h>
// gdiplus.h needs PROPID and IStream, which WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

namespace pexo_test {

class GdiplusEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token_, &input, nullptr);
  }
  void TearDown() override { Gdiplus::GdiplusShutdown(token_); }

 private:
  ULONG_PTR token_ = 0;
};

inline ::testing::Environment* const kGdiplusEnvironment =
    ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

}  // namespace pexo_test
