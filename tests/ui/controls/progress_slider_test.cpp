// Progress bars and sliders in a real window: the filled part for every
// direction, repairs of bad ranges at paint time, the marquee band, and a
// slider driven by posted mouse messages and the wheel.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/support/test_support.h"
#include "tests/ui/base/image_test_files.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/dpi_scaler.h"
#include "ui/controls/progress.h"
#include "ui/controls/slider.h"
#include "ui/core/box.h"

namespace {

using window_test::EventLog;
using window_test::PumpMessages;
using window_test::TestWindow;

::testing::Environment* const gdiplus =
    ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

constexpr DWORD kRed = 0xFFFF0000;

class ProgressSliderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hwnd = window.CreatePlain(300, 200);
    root = new ui::Box(nullptr);
    progress = new ui::Progress;
    slider = new ui::Slider;
    // Laid out where Place() puts them: a paint that comes between the test's
    // steps (the display exposing the window under load) lays the tree out again,
    // and must not move the slider from under the pointer.
    progress->SetMargin(RECT{0, 100, 0, 0}, false);
    progress->SetFixedWidth(200, false, false);
    progress->SetFixedHeight(12, false);
    slider->SetMargin(RECT{20, 20, 0, 0}, false);
    slider->SetFixedWidth(200, false, false);
    slider->SetFixedHeight(20, false);
    root->Add(progress);
    root->Add(slider);
    window.AttachRoot(root);
    window_test::PaintNow(hwnd);
    Place();
    log.Attach(slider);
  }
  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }
  // The progress bar at (0, 100)-(200, 112), the slider at (20, 20)-(220, 40).
  void Place() {
    progress->SetPos(RECT{0, 100, 200, 112});
    slider->SetPos(RECT{20, 20, 220, 40});
  }
  void Paint() {
    window_test::PaintNow(hwnd);
    Place();
    window_test::PaintNow(hwnd);
  }
  DWORD Pixel(int x, int y) { return window_test::PixelAt(window.GetRenderContext(), x, y) | 0xFF000000u; }
  void Post(UINT message, WPARAM wParam, int x, int y) {
    if (message != WM_MOUSEWHEEL) {
      POINT p = {x, y};
      ClientToScreen(hwnd, &p);
      SetCursorPos(p.x, p.y);
    }
    PostMessageW(hwnd, message, wParam, MAKELPARAM(x, y));
    PumpMessages();
  }

  EventLog log;
  TestWindow window;
  HWND hwnd = nullptr;
  ui::Box* root = nullptr;
  ui::Progress* progress = nullptr;
  ui::Slider* slider = nullptr;
};

TEST_F(ProgressSliderTest, FilledPartFollowsDirectionAndReverse) {
  progress->SetValue(50);
  EXPECT_EQ(progress->GetProgressPos().left, 0);
  EXPECT_EQ(progress->GetProgressPos().right, 100);
  progress->SetAttribute(L"reverse", L"true");
  EXPECT_EQ(progress->GetProgressPos().left, 100);
  EXPECT_EQ(progress->GetProgressPos().right, 200);

  progress->SetPos(RECT{0, 0, 12, 100});
  progress->SetAttribute(L"hor", L"false");
  progress->SetAttribute(L"reverse", L"false");
  EXPECT_EQ(progress->GetProgressPos().top, 50);
  EXPECT_EQ(progress->GetProgressPos().bottom, 100);
  progress->SetAttribute(L"reverse", L"true");
  EXPECT_EQ(progress->GetProgressPos().top, 0);
  EXPECT_EQ(progress->GetProgressPos().bottom, 50);

  // A decimal text keeps its integer part.
  progress->SetAttribute(L"value", L"42.7");
  EXPECT_EQ(progress->GetValue(), 42);
}

TEST_F(ProgressSliderTest, BadRangesAreGuardedBeforeAndRepairedAtPaint) {
  // Before any paint, an empty range must not divide by zero.
  progress->SetMinValue(10);
  progress->SetMaxValue(10);
  progress->SetValue(10);
  const RECT fill = progress->GetProgressPos();
  EXPECT_EQ(fill.right, 0);
  slider->SetMinValue(5);
  slider->SetMaxValue(5);
  slider->SetValue(5);
  EXPECT_EQ(slider->GetThumbRect().left, 20);
  Paint();
  EXPECT_EQ(progress->GetMaxValue(), 11);

  progress->SetMinValue(0);
  progress->SetMaxValue(100);
  progress->SetValue(150);
  EXPECT_EQ(progress->GetValue(), 150);  // stored as given
  Paint();
  EXPECT_EQ(progress->GetValue(), 100);
}

TEST_F(ProgressSliderTest, ProgressColourFillsOnlyTheFilledPart) {
  window.AddColor(L"bar", kRed);
  progress->SetAttribute(L"progresscolor", L"bar");
  progress->SetAttribute(L"reverse", L"true");
  progress->SetValue(50);
  Paint();
  EXPECT_EQ(Pixel(150, 106), kRed);
  EXPECT_NE(Pixel(50, 106), kRed);
}

TEST_F(ProgressSliderTest, ProgressImageIsCutUnlessStretched) {
  // 300 pixels wide: red on the left 100, blue on the rest.
  pexo_test::TempDir dir;
  const std::wstring file = dir.File(L"bar.png");
  ASSERT_TRUE(pexo_test::WritePng(file, 300, 12, [](int x, int) { return x < 100 ? 0xFFFF0000u : 0xFF0000FFu; }));
  progress->SetAttribute(L"isstretchfore", L"false");
  progress->SetAttribute(L"progressimage", L"file='" + file + L"'");
  progress->SetValue(50);  // fills 0..100 of 200
  Paint();
  EXPECT_EQ(Pixel(10, 106), kRed);
  EXPECT_EQ(Pixel(90, 106), kRed);   // the image's own left 100 pixels, unscaled
  EXPECT_NE(Pixel(150, 106) & 0x00FFFFFF, 0x0000FFu);  // nothing past the fill

  progress->SetAttribute(L"isstretchfore", L"true");
  Paint();
  EXPECT_EQ(Pixel(10, 106), kRed);
  EXPECT_EQ(Pixel(90, 106), 0xFF0000FFu);  // the whole image squeezed into the fill
}

TEST_F(ProgressSliderTest, MarqueeBandRunsAndUsesTheWindowColours) {
  window.AddColor(L"bar", kRed);
  progress->SetAttribute(L"progresscolor", L"bar");
  progress->SetPos(RECT{0, 100, 100, 112});
  progress->SetAttribute(L"marquee", L"true");
  ASSERT_TRUE(progress->IsMarquee());
  EXPECT_EQ(progress->GetMarqueePosition(), 0);
  int steps = 0;
  while (progress->GetMarqueePosition() <= 100 && progress->GetMarqueePosition() >= 0 && steps < 100) {
    progress->PlayMarquee();
    ++steps;
  }
  // 26 steps of 4 pass 100: the band restarts partly left of the start edge.
  EXPECT_EQ(steps, 26);
  EXPECT_EQ(progress->GetMarqueePosition(), 104 - 100 - 10);
  for (int i = 0; i < 5; ++i) progress->PlayMarquee();  // position 14
  window_test::PaintNow(hwnd);
  progress->SetPos(RECT{0, 100, 100, 112});
  window_test::PaintNow(hwnd);
  const int position = progress->GetMarqueePosition();
  EXPECT_EQ(Pixel(position + 5, 106), kRed);
  EXPECT_NE(Pixel(position + 30, 106), kRed);
  progress->SetMarquee(false);
  EXPECT_EQ(progress->GetMarqueePosition(), 0);
}

TEST_F(ProgressSliderTest, SliderIsDraggedClickedAndWheeled) {
  // 200 pixels, 0..100, thumb 10: the thumb starts at the left end.
  const RECT thumb = slider->GetThumbRect();
  EXPECT_EQ(thumb.left, 20);
  EXPECT_EQ(thumb.right, 30);
  Post(WM_MOUSEMOVE, 0, 25, 30);
  Post(WM_LBUTTONDOWN, MK_LBUTTON, 25, 30);
  EXPECT_TRUE(slider->IsPressed());
  Post(WM_MOUSEMOVE, MK_LBUTTON, 20 + 105, 30);
  EXPECT_NEAR(slider->GetValue(), 100.0 * 100 / 190, 0.01);
  // Moving the real cursor adds mouse moves of its own: each one reports.
  EXPECT_GE(log.Count(ui::valuechange), 1);
  Post(WM_MOUSEMOVE, MK_LBUTTON, 250, 30);  // past the right end
  EXPECT_EQ(slider->GetValue(), 100);
  Post(WM_LBUTTONUP, 0, 250, 30);
  EXPECT_FALSE(slider->IsPressed());
  EXPECT_EQ(log.Last(ui::valuechange) != nullptr, true);

  // Pressing beside the thumb does not drag; the release sets the value there.
  Post(WM_LBUTTONDOWN, MK_LBUTTON, 22, 30);
  EXPECT_FALSE(slider->IsPressed());
  Post(WM_MOUSEMOVE, MK_LBUTTON, 120, 30);
  EXPECT_EQ(slider->GetValue(), 0 + 100);  // unchanged by the move
  Post(WM_LBUTTONUP, 0, 24, 30);
  EXPECT_EQ(slider->GetValue(), 0);

  // The wheel steps and clamps, and still reports at the ends.
  slider->SetValue(99.5);
  log.Clear();
  slider->SendEvent(ui::scrollwheel, 120);
  EXPECT_EQ(slider->GetValue(), 100);
  slider->SetValue(0);
  slider->SendEvent(ui::scrollwheel, static_cast<WPARAM>(-120));
  EXPECT_EQ(slider->GetValue(), 0);
  EXPECT_EQ(log.Count(ui::valuechange), 2);

  // A disabled slider ignores presses and releases.
  slider->SetEnabled(false);
  Post(WM_LBUTTONDOWN, MK_LBUTTON, 25, 30);
  Post(WM_LBUTTONUP, 0, 200, 30);
  EXPECT_EQ(slider->GetValue(), 0);
}

TEST_F(ProgressSliderTest, LosingTheFocusMidDragEndsTheDrag) {
  Post(WM_MOUSEMOVE, 0, 25, 30);
  Post(WM_LBUTTONDOWN, MK_LBUTTON, 25, 30);
  ASSERT_TRUE(slider->IsPressed());
  Post(WM_MOUSEMOVE, MK_LBUTTON, 20 + 105, 30);
  const double dragged = slider->GetValue();
  EXPECT_NEAR(dragged, 100.0 * 100 / 190, 0.01);
  // The button-up goes to another window: this one only hears of the focus loss.
  Post(WM_KILLFOCUS, 0, 0, 0);
  EXPECT_FALSE(slider->IsPressed());
  EXPECT_NEAR(slider->GetValue(), dragged, 0.01) << "the drag ends where it was";
  // Later moves over the slider, without a button, change nothing.
  log.Clear();
  Post(WM_MOUSEMOVE, 0, 200, 30);
  Post(WM_MOUSEMOVE, 0, 40, 30);
  EXPECT_NEAR(slider->GetValue(), dragged, 0.01);
  EXPECT_EQ(log.Count(ui::valuechange), 0);
  // A new press on the thumb drags again.
  const RECT thumb = slider->GetThumbRect();
  const int middle = (thumb.left + thumb.right) / 2;
  Post(WM_MOUSEMOVE, 0, middle, 30);
  Post(WM_LBUTTONDOWN, MK_LBUTTON, middle, 30);
  EXPECT_TRUE(slider->IsPressed());
  Post(WM_LBUTTONUP, 0, 20 + 5, 30);
  EXPECT_EQ(slider->GetValue(), 0);
}

TEST_F(ProgressSliderTest, BarPaddingIsReadLikeTextPadding) {
  // Missing numbers are 0, as in "textpadding".
  slider->SetAttribute(L"progressbarpadding", L"6,3");
  RECT padding = slider->GetProgressBarPadding();
  EXPECT_EQ(padding.left, 6);
  EXPECT_EQ(padding.top, 3);
  EXPECT_EQ(padding.right, 0);
  EXPECT_EQ(padding.bottom, 0);
  slider->SetAttribute(L"progressbarpadding", L"1,2,3,4");
  padding = slider->GetProgressBarPadding();
  EXPECT_EQ(padding.right, 3);
  EXPECT_EQ(padding.bottom, 4);
  slider->SetAttribute(L"progressbarpadding", L"");
  padding = slider->GetProgressBarPadding();
  EXPECT_EQ(padding.left + padding.top + padding.right + padding.bottom, 0);

  // The padded track: the background colour starts 6 pixels in, the thumb does not move.
  window.AddColor(L"track", kRed);
  slider->SetAttribute(L"bkcolor", L"track");
  slider->SetAttribute(L"progressbarpadding", L"6,3");
  Paint();
  EXPECT_NE(Pixel(20 + 2, 30), kRed);
  EXPECT_EQ(Pixel(20 + 10, 30), kRed);
  EXPECT_EQ(slider->GetThumbRect().left, 20);
}

TEST_F(ProgressSliderTest, SliderAttributesScaleAndFillReachesTheThumbCentre) {
  slider->SetAttribute(L"thumbsize", L"12,14");
  EXPECT_EQ(slider->GetThumbSize().cx, 12);
  EXPECT_EQ(slider->GetThumbSize().cy, 14);
  slider->SetAttribute(L"step", L"5");
  EXPECT_EQ(slider->GetChangeStep(), 5);
  slider->SetValue(50);
  // (200 - 12) * 0.5 + 6 + 0.5 -> 100
  EXPECT_EQ(slider->GetProgressPos().right, 100);
  const RECT thumb = slider->GetThumbRect();
  EXPECT_EQ(thumb.left, 20 + 94);
  EXPECT_EQ(thumb.top, (20 + 40 - 14) / 2);
}

}  // namespace

namespace {

TEST(SliderScaleTest, ThumbSizeAndBarPaddingAreScaledWhenAdapting) {
  DpiScaler& dpi = DpiScaler::Instance();
  dpi.SetAdapted(true);
  dpi.SetScale(150);
  ui::Slider slider;
  slider.SetAttribute(L"thumbsize", L"12,12");
  slider.SetAttribute(L"progressbarpadding", L"2,4,6,8");
  dpi.SetScale(100);
  dpi.SetAdapted(false);
  EXPECT_EQ(slider.GetThumbSize().cx, 18);
  EXPECT_EQ(slider.GetThumbSize().cy, 18);
  EXPECT_EQ(slider.GetProgressBarPadding().left, 3);
  EXPECT_EQ(slider.GetProgressBarPadding().bottom, 12);
}

}  // namespace
