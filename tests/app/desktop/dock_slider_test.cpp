#include "app/desktop/dock_slider.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

#include "app/desktop/dock_geometry.h"

// RECT is a global type, so its comparison and printing live in the global namespace.
inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::ostream& operator<<(std::ostream& out, const RECT& r) {
  return out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace {

constexpr SIZE kScreen = {1280, 1024};

TEST(DockGeometryTest, DocksToTheEdgesItTouchesWithCornersOnlyWhenAllowed) {
  struct Case {
    RECT window;
    bool dockCorner;
    int edges;
  } cases[] = {
      {{0, 0, 300, 600}, false, kDockTop},  // top-left corner: top only
      {{0, 0, 300, 600}, true, kDockTop | kDockLeft},
      {{1000, 424, 1280, 1024}, true, kDockBottom | kDockRight},
      {{1000, 424, 1280, 1024}, false, kDockBottom},
      {{-5, 100, 295, 700}, false, kDockLeft},
      {{1000, 100, 1300, 700}, false, kDockRight},
      {{100, 100, 400, 700}, true, 0},
      {{100, -20, 400, 1100}, false, kDockTop},  // taller than the screen: top wins
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ComputeDockEdges(c.window, kScreen, true, c.dockCorner), c.edges) << c.window;
    EXPECT_EQ(ComputeDockEdges(c.window, kScreen, false, c.dockCorner), 0) << c.window;
  }
}

// Runs steps until the end; the number of steps is returned through `steps`.
RECT SlideToEnd(RECT window, int edges, bool out, int* steps) {
  for (*steps = 1; *steps <= 2000; ++*steps) {
    const SlideStep step = out ? SlideOutStep(window, edges, kScreen)
                               : SlideInStep(window, edges, kScreen);
    EXPECT_EQ(step.rect.right - step.rect.left, window.right - window.left);
    EXPECT_EQ(step.rect.bottom - step.rect.top, window.bottom - window.top);
    window = step.rect;
    if (step.endReached) break;
  }
  return window;
}

TEST(DockGeometryTest, SlidesOutToAOnePixelStripAndBackFlushWithTheEdge) {
  struct Case {
    RECT shown;
    int edges;
    RECT slidOut;
  } cases[] = {
      {{300, 0, 500, 100}, kDockTop, {300, -99, 500, 1}},
      {{300, 924, 500, 1024}, kDockBottom, {300, 1023, 500, 1123}},
      {{0, 200, 388, 840}, kDockLeft, {-387, 200, 1, 840}},
      {{892, 200, 1280, 840}, kDockRight, {1279, 200, 1667, 840}},
      {{0, 0, 388, 640}, kDockTop | kDockLeft, {-387, -639, 1, 1}},
      {{300, 0, 310, 10}, kDockTop, {300, -9, 310, 1}},  // smaller than 16 pixels
      {{0, 300, 7, 500}, kDockLeft, {-6, 300, 1, 500}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.shown);
    int steps = 0;
    const RECT out = SlideToEnd(c.shown, c.edges, true, &steps);
    EXPECT_EQ(out, c.slidOut);
    EXPECT_EQ(SlidOutRect(c.shown, c.edges, kScreen), c.slidOut);
    const int size = (c.edges & kDockHorizontal) ? c.shown.right - c.shown.left
                                                 : c.shown.bottom - c.shown.top;
    EXPECT_LE(steps, size >= 16 ? 17 : size);
    const RECT back = SlideToEnd(out, c.edges, false, &steps);
    EXPECT_EQ(back, c.shown);
  }
}

TEST(DockGeometryTest, SlidingInKeepsAVerticallyDockedWindowOnScreenSideways) {
  const SlideStep step = SlideInStep({-50, -40, 250, 60}, kDockTop, kScreen);
  EXPECT_EQ(step.rect, (RECT{0, -34, 300, 66}));
  const SlideStep right = SlideInStep({1200, 1000, 1400, 1100}, kDockBottom, kScreen);
  EXPECT_EQ(right.rect, (RECT{1080, 994, 1280, 1094}));
}

TEST(DockGeometryTest, SavedPositionBringsTheWindowBackOnScreen) {
  EXPECT_EQ(SavedPosition({-387, 200, 1, 840}, kScreen).x, 0);  // slid out left
  EXPECT_EQ(SavedPosition({-387, 200, 1, 840}, kScreen).y, 200);
  const POINT offRight = SavedPosition({1100, 900, 1400, 1200}, kScreen);
  EXPECT_EQ(offRight.x, 980);
  EXPECT_EQ(offRight.y, 724);
  const POINT top = SavedPosition({300, -99, 500, 1}, kScreen);
  EXPECT_EQ(top.x, 300);
  EXPECT_EQ(top.y, 0);
}

// A plain top-level window on the test's thread that records what it is posted.
class SlideWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &SlideWindowTest::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PexoSlideTestWindow";
    RegisterClassW(&wc);
    screen_ = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 300, 0, 200, 100,
                            nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(hwnd_, nullptr);
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    posted().clear();
    slider_.SetWindow(hwnd_);
    slider_.SetEdges(ComputeDockEdges(Rect(), screen_, true, false));
    slider_.SetHideRequest(false);
    ASSERT_EQ(slider_.Edges(), kDockTop);
  }
  void TearDown() override {
    slider_.Stop();
    DestroyWindow(hwnd_);
  }

  static std::vector<std::pair<UINT, WPARAM>>& posted() {
    static std::vector<std::pair<UINT, WPARAM>> messages;
    return messages;
  }
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == DockSlider::kSlideNoticeMessage || message == 1126 || message == 1127) {
      posted().push_back({message, wParam});
      return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  RECT Rect() const {
    RECT r = {};
    GetWindowRect(hwnd_, &r);
    return r;
  }
  // Serves the window's messages until the condition holds or 5 seconds passed.
  bool PumpUntil(const std::function<bool()>& done) {
    const DWORD start = GetTickCount();
    while (!done()) {
      if (GetTickCount() - start > 5000) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    return true;
  }
  void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - start >= milliseconds; });
  }
  bool Posted(UINT message, WPARAM wParam = 0) const {
    for (const auto& m : posted()) {
      if (m.first == message && m.second == wParam) return true;
    }
    return false;
  }

  HWND hwnd_ = nullptr;
  SIZE screen_ = {};
  DockSlider slider_;
};

TEST_F(SlideWindowTest, TopDockedWindowSlidesOutWhenTheMouseLeavesAndBackWhenTheEdgeIsTouched) {
  ASSERT_TRUE(slider_.Start());
  const RECT shown = Rect();
  ASSERT_EQ(shown, (RECT{300, 0, 500, 100}));

  // The cursor leaves by fewer than 10 pixels: the window stays.
  EXPECT_TRUE(slider_.Poll({505, 50}, shown, 0, 1000));
  EXPECT_FALSE(slider_.HideRequested());
  PumpFor(100);
  EXPECT_EQ(Rect(), shown);

  // Far away: it slides out until one pixel is left.
  EXPECT_TRUE(slider_.Poll({900, 600}, shown, 0, 1100));
  EXPECT_TRUE(slider_.HideRequested());
  ASSERT_TRUE(PumpUntil([&] { return Rect().bottom == 1; })) << Rect();
  PumpFor(50);
  EXPECT_EQ(Rect(), (RECT{300, -99, 500, 1}));
  EXPECT_TRUE(Posted(DockSlider::kSlideNoticeMessage, DockSlider::kSliding));
  EXPECT_TRUE(Posted(DockSlider::kSlideNoticeMessage, DockSlider::kSlidOut));
  EXPECT_TRUE(slider_.EndReached());

  // Touching the strip brings it back flush with the edge, with the card and date refresh.
  posted().clear();
  slider_.OnHitTest(0, 2000);
  EXPECT_FALSE(slider_.HideRequested());
  ASSERT_TRUE(PumpUntil([&] { return Rect().top == 0; })) << Rect();
  PumpFor(50);
  EXPECT_EQ(Rect(), shown);
  EXPECT_TRUE(Posted(1127));
  EXPECT_TRUE(Posted(1126));
  EXPECT_TRUE(Posted(DockSlider::kSlideNoticeMessage, DockSlider::kSlidIn));
}

TEST_F(SlideWindowTest, NothingSlidesOutWhileBlockedGuardedOrDragged) {
  ASSERT_TRUE(slider_.Start());
  const RECT shown = Rect();
  {
    // A menu, message box or dialog open: no hide request, and a pending one waits.
    DockSlider::Block menu(slider_);
    slider_.Poll({900, 600}, shown, 0, 1000);
    EXPECT_FALSE(slider_.HideRequested());
    slider_.SetHideRequest(true);
    PumpFor(100);
    EXPECT_EQ(Rect(), shown);
  }
  slider_.SetHideRequest(false);
  slider_.SetStartGuard(true);
  slider_.Poll({900, 600}, shown, 0, 1000);
  EXPECT_FALSE(slider_.HideRequested());
  slider_.SetHideRequest(true);
  PumpFor(100);
  EXPECT_EQ(Rect(), shown);

  slider_.SetStartGuard(false);
  slider_.SetMovingOrSizing(true);
  PumpFor(100);
  EXPECT_EQ(Rect(), shown);

  slider_.SetMovingOrSizing(false);
  ASSERT_TRUE(PumpUntil([&] { return Rect().bottom == 1; })) << Rect();
}

TEST_F(SlideWindowTest, AForcedHideIsNotUndoneByTouchingUntilTheSlideEnds) {
  slider_.SetForcedHide(true);
  slider_.SetHideRequest(true);
  slider_.OnHitTest(0, 1000);
  slider_.Poll({350, 50}, Rect(), 0, 1000);
  EXPECT_TRUE(slider_.HideRequested());
  while (slider_.SlideOutStep() && !slider_.EndReached()) {
  }
  EXPECT_EQ(Rect(), (RECT{300, -99, 500, 1}));
  EXPECT_FALSE(slider_.ForcedHide());
  slider_.OnHitTest(0, 2000);
  EXPECT_FALSE(slider_.HideRequested());
}

TEST_F(SlideWindowTest, WithADockDelayTheStripMustBeRestedOn) {
  slider_.SetHideRequest(true);
  const RECT strip = {300, -99, 500, 1};
  slider_.OnHitTest(500, 10000);  // first touch starts the delay
  EXPECT_TRUE(slider_.HideRequested());
  slider_.Poll({350, 0}, strip, 500, 10499);
  EXPECT_TRUE(slider_.HideRequested());
  slider_.Poll({350, 0}, strip, 500, 10500);
  EXPECT_FALSE(slider_.HideRequested());

  // Leaving the strip resets the delay.
  slider_.SetHideRequest(true);
  slider_.Poll({350, 0}, strip, 500, 20000);
  slider_.Poll({350, 300}, strip, 500, 20100);
  slider_.Poll({350, 0}, strip, 500, 20600);
  EXPECT_TRUE(slider_.HideRequested());
}

TEST_F(SlideWindowTest, HiddenOrUndockedWindowsDoNotSlide) {
  ShowWindow(hwnd_, SW_HIDE);
  slider_.SetHideRequest(true);
  EXPECT_FALSE(slider_.SlideOutStep());
  EXPECT_FALSE(slider_.SlideInStep());
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  slider_.SetEdges(0);
  EXPECT_FALSE(slider_.SlideOutStep());
  slider_.SetEdges(kDockTop);
  slider_.SetOptions(false, false);
  EXPECT_FALSE(slider_.SlideOutStep());
  EXPECT_EQ(Rect(), (RECT{300, 0, 500, 100}));
}

TEST_F(SlideWindowTest, StoppingMidSlideEndsTheStepsAtOnce) {
  ASSERT_TRUE(slider_.Start());
  slider_.SetHideRequest(true);
  ASSERT_TRUE(PumpUntil([&] { return Rect().bottom < 100; }));
  slider_.Stop();
  EXPECT_FALSE(slider_.IsRunning());
  const RECT stopped = Rect();
  PumpFor(100);
  EXPECT_EQ(Rect(), stopped);
  // A second stop and a restart are harmless.
  slider_.Stop();
  ASSERT_TRUE(slider_.Start());
  ASSERT_TRUE(PumpUntil([&] { return Rect().bottom == 1; })) << Rect();
}

}  // namespace
