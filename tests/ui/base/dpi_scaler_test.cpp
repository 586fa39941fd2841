#include "ui/base/dpi_scaler.h"

#include <gtest/gtest.h>

#include "ui/base/windows_version.h"

namespace {

DpiScaler Adapted(int scale) {
  DpiScaler scaler;
  scaler.SetAdapted(true);
  scaler.SetScale(scale);
  return scaler;
}

TEST(DpiScaler, StartsAtHundredWithoutAdaptation) {
  const DpiScaler& scaler = DpiScaler::Instance();
  EXPECT_EQ(scaler.Scale(), 100);
  EXPECT_EQ(scaler.Limit(), -1);
  EXPECT_FALSE(scaler.IsAdapted());
  EXPECT_EQ(&DpiScaler::Instance(), &scaler);
}

TEST(DpiScaler, NothingChangesWithoutAdaptationOrAtHundred) {
  DpiScaler off;
  off.SetScale(150);
  RECT rect = {1, 1, 4, 4};
  off.ScaleRect(rect);
  EXPECT_EQ(rect.left, 1);
  EXPECT_EQ(rect.right, 4);
  EXPECT_EQ(off.ScaleInt(33), 33);
  EXPECT_FLOAT_EQ(off.ScaleFactor(), 1.0f);

  DpiScaler hundred = Adapted(100);
  EXPECT_EQ(hundred.ScaleInt(33), 33);
  rect = {-3, 5, 7, 9};
  hundred.ScaleRect(rect);
  EXPECT_EQ(rect.left, -3);
  EXPECT_EQ(rect.bottom, 9);
}

TEST(DpiScaler, RoundsLikeMulDiv) {
  DpiScaler scaler = Adapted(150);
  EXPECT_EQ(scaler.ScaleInt(1), 2);    // 1.5 rounds up
  EXPECT_EQ(scaler.ScaleInt(3), 5);    // 4.5 rounds up
  EXPECT_EQ(scaler.ScaleInt(-1), -2);  // rounds away from zero; callers keep -1 and -2 unscaled
  EXPECT_EQ(scaler.ScaleInt(0), 0);
  EXPECT_EQ(scaler.ScaleInt(2000000000), -1);  // MulDiv reports overflow as -1
  EXPECT_FLOAT_EQ(scaler.ScaleFactor(), 1.5f);

  SIZE size = {10, 7};
  scaler.ScaleSize(size);
  EXPECT_EQ(size.cx, 15);
  EXPECT_EQ(size.cy, 11);
  POINT point = {-4, 1};
  scaler.ScaleSize(point);
  EXPECT_EQ(point.x, -6);
  EXPECT_EQ(point.y, 2);
}

TEST(DpiScaler, RectangleScalesWidthAndHeightAsSuch) {
  DpiScaler scaler = Adapted(150);
  RECT rect = {1, 1, 4, 4};
  scaler.ScaleRect(rect);
  EXPECT_EQ(rect.left, 2);
  EXPECT_EQ(rect.top, 2);
  EXPECT_EQ(rect.right, 7);   // 2 + MulDiv(3) = 2 + 5, not MulDiv(4) = 6
  EXPECT_EQ(rect.bottom, 7);

  DpiScaler large = Adapted(125);
  RECT insets = {2, 3, 4, 5};
  large.ScaleRect(insets);  // corner insets are treated as a rectangle too
  EXPECT_EQ(insets.left, 3);
  EXPECT_EQ(insets.top, 4);
  EXPECT_EQ(insets.right, 3 + 3);
  EXPECT_EQ(insets.bottom, 4 + 3);
}

TEST(DpiScaler, LimitCapsTheScale) {
  DpiScaler scaler;
  scaler.SetLimit(125);
  scaler.SetScale(150);
  EXPECT_EQ(scaler.Scale(), 125);
  scaler.SetScale(110);
  EXPECT_EQ(scaler.Scale(), 110);
  scaler.SetLimit(-1);
  scaler.SetScale(200);
  EXPECT_EQ(scaler.Scale(), 200);
}

class WindowsVersionTest : public testing::Test {
 protected:
  void TearDown() override { OverrideWindowsVersion(std::nullopt); }
};

TEST_F(WindowsVersionTest, InjectedVersionDecidesBothBranches) {
  OverrideWindowsVersion(WindowsVersion{5, 1, 3});  // an old system
  EXPECT_FALSE(IsWindowsVersionAtLeast(6, 0, 0));
  EXPECT_FALSE(IsWindowsVersionAtLeast(6, 2, 0));
  EXPECT_FALSE(IsWindowsVersionAtLeast(10, 0, 0));
  EXPECT_TRUE(IsWindowsVersionAtLeast(5, 1, 3));
  EXPECT_FALSE(IsWindowsVersionAtLeast(5, 1, 4));

  OverrideWindowsVersion(WindowsVersion{6, 1, 1});
  EXPECT_TRUE(IsWindowsVersionAtLeast(6, 0, 0));
  EXPECT_TRUE(IsWindowsVersionAtLeast(5, 2, 9));  // a higher minor outranks any service pack
  EXPECT_FALSE(IsWindowsVersionAtLeast(6, 2, 0));

  OverrideWindowsVersion(WindowsVersion{10, 0, 0});
  EXPECT_TRUE(IsWindowsVersionAtLeast(6, 0, 0));
  EXPECT_TRUE(IsWindowsVersionAtLeast(6, 2, 0));
  EXPECT_TRUE(IsWindowsVersionAtLeast(10, 0, 0));
  EXPECT_FALSE(IsWindowsVersionAtLeast(10, 1, 0));
}

TEST_F(WindowsVersionTest, PlatformAnswerMatchesTheReportedVersion) {
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
  auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  ASSERT_NE(rtlGetVersion, nullptr);
  OSVERSIONINFOEXW actual = {};
  actual.dwOSVersionInfoSize = sizeof(actual);
  ASSERT_EQ(rtlGetVersion(&actual), 0);

  EXPECT_TRUE(IsWindowsVersionAtLeast(0, 0, 0));
  EXPECT_TRUE(IsWindowsVersionAtLeast(actual.dwMajorVersion, actual.dwMinorVersion, actual.wServicePackMajor));
  EXPECT_FALSE(IsWindowsVersionAtLeast(actual.dwMajorVersion, actual.dwMinorVersion + 1, 0));
  EXPECT_FALSE(IsWindowsVersionAtLeast(actual.dwMajorVersion + 1, 0, 0));
}

}  // namespace
