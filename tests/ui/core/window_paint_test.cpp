// Painting: the window lays out and paints its tree; controls paint their layers
// directly, through a cached layer or translucently; clips bound the drawing.
#include <gtest/gtest.h>

#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/ui_globals.h"
#include "ui/core/auto_clip.h"
#include "ui/core/box.h"
#include "ui/core/shadow_box.h"
#include "ui/render/render_context_gdiplus.h"

namespace {

using window_test::PixelAt;
using window_test::TestWindow;

::testing::Environment* const gdiplus =
    ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

constexpr DWORD kWhite = 0xFFFFFFFF;
constexpr DWORD kRed = 0xFFFF0000;
constexpr DWORD kBlue = 0xFF0000FF;
constexpr DWORD kGreen = 0xFF00FF00;

int Red(DWORD argb) { return (argb >> 16) & 0xFF; }
int Green(DWORD argb) { return (argb >> 8) & 0xFF; }
int Alpha(DWORD argb) { return argb >> 24; }
DWORD Rgb(DWORD argb) { return argb & 0xFFFFFF; }

// A 200 x 150 plain window whose root box is white.
class WindowPaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hwnd = window.CreatePlain(200, 150);
    window.AddColor(L"white", kWhite);
    window.AddColor(L"red", kRed);
    window.AddColor(L"blue", kBlue);
    window.AddColor(L"green", kGreen);
    window.AddColor(L"halfred", 0x80FF0000);
    root = new ui::Box(nullptr);
    root->SetBkColor(L"white");
    window.AttachRoot(root);
  }
  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }

  ui::Control* AddControl(RECT pos, const wchar_t* color) {
    auto* control = new ui::Control;
    if (color) control->SetBkColor(color);
    root->Add(control);
    placed.push_back({control, pos});
    return control;
  }

  // A red box at (10, 10, 100, 100) holding a blue control at (20, 20, 50, 50).
  ui::Box* AddRedBoxWithBlueChild() {
    auto* box = new ui::Box(nullptr);
    box->SetBkColor(L"red");
    root->Add(box);
    auto* child = new ui::Control;
    child->SetBkColor(L"blue");
    box->Add(child);
    placed.push_back({box, RECT{10, 10, 100, 100}});
    placed.push_back({child, RECT{20, 20, 50, 50}});
    return box;
  }

  // Lays the tree out (the plain layout places nothing), then paints.
  void Paint() {
    window_test::PaintNow(hwnd);
    for (auto& [control, pos] : placed) control->SetPos(pos);
    window_test::PaintNow(hwnd);
  }

  DWORD Pixel(int x, int y) { return PixelAt(window.GetRenderContext(), x, y); }

  TestWindow window;
  HWND hwnd = nullptr;
  ui::Box* root = nullptr;
  std::vector<std::pair<ui::Control*, RECT>> placed;
};

TEST_F(WindowPaintTest, FirstPaintLaysOutTheRootAndPaintsEveryControl) {
  AddControl(RECT{10, 10, 60, 40}, L"red");
  Paint();
  const RECT rootPos = root->GetPos(true);
  EXPECT_EQ(rootPos.right, 200);
  EXPECT_EQ(rootPos.bottom, 150);
  EXPECT_EQ(window.GetRenderContext()->GetWidth(), 200);
  EXPECT_EQ(Pixel(20, 20), kRed);
  EXPECT_EQ(Pixel(5, 5), kWhite);
  EXPECT_EQ(Pixel(60, 40), kWhite);  // right and bottom edges are outside
}

TEST_F(WindowPaintTest, LaterControlsPaintOverEarlierOnes) {
  AddControl(RECT{10, 10, 60, 40}, L"red");
  AddControl(RECT{30, 20, 90, 60}, L"blue");
  Paint();
  EXPECT_EQ(Pixel(15, 15), kRed);
  EXPECT_EQ(Pixel(40, 30), kBlue);
}

TEST_F(WindowPaintTest, ZeroAlphaPaintsNothingNotEvenChildren) {
  ui::Box* box = AddRedBoxWithBlueChild();
  box->SetAlpha(0);
  Paint();
  EXPECT_EQ(Pixel(30, 30), kWhite);
  EXPECT_EQ(Pixel(15, 15), kWhite);
}

TEST_F(WindowPaintTest, TranslucentControlBlendsWithWhatIsBelow) {
  ui::Control* control = AddControl(RECT{10, 10, 60, 40}, L"red");
  control->SetAlpha(128);
  Paint();
  const DWORD pixel = Pixel(20, 20);
  EXPECT_EQ(Red(pixel), 255);
  EXPECT_NEAR(Green(pixel), 127, 2);
  // The layer of a translucent control is dropped after the blend.
  EXPECT_EQ(control->GetLayerContext(), nullptr);
}

TEST_F(WindowPaintTest, AlphaAbove255BlendsWithItsLowByte) {
  ui::Control* control = AddControl(RECT{10, 10, 60, 40}, L"red");
  control->SetAlpha(300);  // 300 & 0xFF = 44
  Paint();
  EXPECT_NEAR(Green(Pixel(20, 20)), 255 - 44, 2);
}

TEST_F(WindowPaintTest, CachedControlKeepsItsLayerAndPaintsChildrenOverIt) {
  ui::Box* box = AddRedBoxWithBlueChild();
  box->SetCached(true);
  Paint();
  EXPECT_EQ(Pixel(15, 15), kRed);
  EXPECT_EQ(Pixel(30, 30), kBlue);
  ASSERT_NE(box->GetLayerContext(), nullptr);
  EXPECT_FALSE(box->IsLayerDirty());
  // A change of the cached control itself repaints its layer.
  box->SetBkColor(L"green");
  EXPECT_TRUE(box->IsLayerDirty());
  window_test::PaintNow(hwnd);
  EXPECT_EQ(Pixel(15, 15), kGreen);
  EXPECT_EQ(Pixel(30, 30), kBlue);
}

TEST_F(WindowPaintTest, TranslucentCachedControlRepaintsItsLayerEachTime) {
  ui::Control* control = AddControl(RECT{10, 10, 60, 40}, L"red");
  control->SetCached(true);
  control->SetAlpha(128);
  Paint();
  EXPECT_EQ(control->GetLayerContext(), nullptr);
  EXPECT_NEAR(Green(Pixel(20, 20)), 127, 2);
}

TEST_F(WindowPaintTest, RenderOffsetShiftsTheContent) {
  ui::Control* control = AddControl(RECT{10, 10, 60, 40}, L"red");
  control->SetRenderOffset({5, 0});  // drawn five pixels further left, inside its clip
  Paint();
  EXPECT_EQ(Pixel(12, 20), kRed);
  EXPECT_EQ(Pixel(57, 20), kWhite);
}

TEST_F(WindowPaintTest, BorderFallsBackToTheColourOfAStateThatHasOne) {
  ui::Control* control = AddControl(RECT{10, 10, 60, 40}, nullptr);
  control->SetAttribute(L"bordersize", L"2");
  control->SetBorderColor(L"blue", ui::kControlStateHot);
  control->SetBorderColor(L"green", ui::kControlStateNormal);
  control->SetAttribute(L"state", L"pushed");
  Paint();
  EXPECT_EQ(Pixel(11, 25), kBlue);  // pushed without its own colour: hot
  control->SetEnabled(false);       // disabled without its own colour: normal
  window_test::PaintNow(hwnd);
  EXPECT_EQ(Pixel(11, 25), kGreen);
}

TEST_F(WindowPaintTest, OnePixelSideBordersRunAlongTheInsideEdges) {
  ui::Control* control = AddControl(RECT{10, 10, 60, 40}, nullptr);
  control->SetAttribute(L"leftbordersize", L"1");
  control->SetAttribute(L"topbordersize", L"1");
  control->SetBorderColor(L"red", ui::kControlStateNormal);
  Paint();
  EXPECT_EQ(Pixel(10, 20), kRed);
  EXPECT_EQ(Pixel(30, 10), kRed);
  EXPECT_EQ(Pixel(11, 20), kWhite);
  EXPECT_EQ(Pixel(59, 10), kRed);  // up to the last pixel inside the control
  EXPECT_EQ(Pixel(10, 39), kRed);
  EXPECT_EQ(Pixel(59, 39), kWhite);  // no right or bottom side
}

TEST_F(WindowPaintTest, MissingImageIsTriedOnce) {
  ui::Control* control = AddControl(RECT{10, 10, 60, 40}, nullptr);
  control->SetBkImage(L"no_such_image.png");
  Paint();
  EXPECT_TRUE(control->GetBkImage().attributes.file.empty());
  EXPECT_EQ(control->GetBkImage().image, nullptr);
  // A new text is tried again.
  control->SetBkImage(L"still_missing.png");
  EXPECT_EQ(control->GetBkImage().attributes.file, L"still_missing.png");
}

TEST_F(WindowPaintTest, BackgroundImageIsDrawnOverTheControlOrItsDestination) {
  pexo_test::TempDir dir;
  const std::wstring file = dir.File(L"green.png");
  ASSERT_TRUE(window_test::WritePng(file, 4, 4, [](int, int) { return kGreen; }));
  ui::Control* whole = AddControl(RECT{10, 10, 60, 40}, nullptr);
  whole->SetBkImage(file);
  ui::Control* part = AddControl(RECT{100, 10, 150, 40}, nullptr);
  part->SetBkImage(L"file='" + file + L"' dest='10,10,20,20'");
  Paint();
  ASSERT_NE(whole->GetBkImage().image, nullptr);
  // An opaque image is copied with its colour; its alpha byte plays no part in a
  // window that is not layered.
  EXPECT_EQ(Rgb(Pixel(12, 12)), Rgb(kGreen));
  EXPECT_EQ(Rgb(Pixel(58, 38)), Rgb(kGreen));
  EXPECT_EQ(Rgb(Pixel(115, 25)), Rgb(kGreen));
  EXPECT_EQ(Pixel(105, 15), kWhite);  // outside the destination
}

// A two-frame GIF of one pixel: red, then blue, each shown 50 ms.
std::string TwoFrameGif() {
  const unsigned char bytes[] = {
      'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0xF0, 0, 0,
      0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF,  // palette: red, blue
      0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0,
      0x21, 0xF9, 4, 0, 5, 0, 0, 0,  // 5 hundredths
      0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0,
      0x21, 0xF9, 4, 0, 5, 0, 0, 0,
      0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x4C, 0x01, 0,
      0x3B};
  return std::string(reinterpret_cast<const char*>(bytes), sizeof(bytes));
}

TEST_F(WindowPaintTest, AnimatedBackgroundPlaysItsLoopsAndStopsOnTheLastFrame) {
  pexo_test::TempDir dir;
  const std::wstring file = dir.File(L"two.gif");
  ASSERT_TRUE(pexo_test::WriteFileBytes(file, TwoFrameGif()));
  ui::Control* control = AddControl(RECT{10, 10, 60, 40}, nullptr);
  int ended = 0;
  control->GetImageAnimationListeners()[static_cast<ui::EventType>(1)].push_back(
      [&](ui::EventArgs* args) {
        ++ended;
        EXPECT_EQ(args->pSender, control);
        return true;
      });
  control->SetBkImage(L"file='" + file + L"' playcount='2'");
  Paint();
  ui::SkinImage& image = control->GetBkImage();
  ASSERT_NE(image.image, nullptr);
  if (image.image->GetFrameCount() < 2) GTEST_SKIP() << "Wine 8 decodes this GIF as one frame";
  EXPECT_TRUE(image.playing);
  EXPECT_TRUE(window_test::PumpUntil([&] { return ended > 0; }));
  window_test::PumpFor(200);
  EXPECT_EQ(ended, 1);
  EXPECT_FALSE(image.playing);
  EXPECT_EQ(image.currentFrame, 1);
  EXPECT_EQ(image.loopsPlayed, 2);
  EXPECT_FALSE(control->IsBkAnimationAllowed());
  window_test::PaintNow(hwnd);
  EXPECT_EQ(Rgb(Pixel(20, 20)), Rgb(kBlue));
}

TEST_F(WindowPaintTest, AnimatedBackgroundWithPlayCountZeroStaysOnItsFirstFrame) {
  pexo_test::TempDir dir;
  const std::wstring file = dir.File(L"two.gif");
  ASSERT_TRUE(pexo_test::WriteFileBytes(file, TwoFrameGif()));
  ui::Control* control = AddControl(RECT{10, 10, 60, 40}, nullptr);
  control->SetBkImage(L"file='" + file + L"' playcount='0'");
  Paint();
  window_test::PumpFor(150);
  ui::SkinImage& image = control->GetBkImage();
  ASSERT_NE(image.image, nullptr);
  EXPECT_FALSE(image.playing);
  EXPECT_EQ(image.currentFrame, 0);
  EXPECT_EQ(Rgb(Pixel(20, 20)), Rgb(kRed));
}

TEST_F(WindowPaintTest, StateColourFollowsTheState) {
  ui::Control* control = AddControl(RECT{10, 10, 60, 40}, nullptr);
  control->SetAttribute(L"normalcolor", L"red");
  control->SetAttribute(L"hotcolor", L"blue");
  Paint();
  EXPECT_EQ(Pixel(20, 20), kRed);
  control->SetAttribute(L"state", L"hot");
  window_test::PaintNow(hwnd);
  EXPECT_EQ(Pixel(20, 20), kBlue);
  control->SetAttribute(L"state", L"pushed");  // no pushed colour: the hot one
  window_test::PaintNow(hwnd);
  EXPECT_EQ(Pixel(20, 20), kBlue);
}

TEST_F(WindowPaintTest, StateImagesFallBackToTheHotAndNormalImages) {
  pexo_test::TempDir dir;
  const std::wstring red = dir.File(L"red.png");
  const std::wstring green = dir.File(L"green.png");
  ASSERT_TRUE(window_test::WritePng(red, 2, 2, [](int, int) { return kRed; }));
  ASSERT_TRUE(window_test::WritePng(green, 2, 2, [](int, int) { return kGreen; }));
  ui::Control* control = AddControl(RECT{10, 10, 60, 40}, nullptr);
  control->SetAttribute(L"normalimage", red);
  control->SetAttribute(L"hotimage", green);
  Paint();
  EXPECT_EQ(Rgb(Pixel(20, 20)), Rgb(kRed));
  control->SetAttribute(L"state", L"pushed");
  window_test::PaintNow(hwnd);
  EXPECT_EQ(Rgb(Pixel(20, 20)), Rgb(kGreen));
  control->SetEnabled(false);  // no disabled image: the normal one
  window_test::PaintNow(hwnd);
  EXPECT_EQ(Rgb(Pixel(20, 20)), Rgb(kRed));
}

TEST_F(WindowPaintTest, LoadingImageIsCentredWhileLoading) {
  pexo_test::TempDir dir;
  const std::wstring file = dir.File(L"spinner.png");
  ASSERT_TRUE(window_test::WritePng(file, 10, 10, [](int, int) { return kGreen; }));
  ui::Control* control = AddControl(RECT{10, 10, 60, 40}, nullptr);
  control->SetLoadingImage(file);
  Paint();
  EXPECT_EQ(Pixel(35, 25), kWhite);  // not loading: nothing
  control->SetLoading(true);
  control->Invalidate();
  window_test::PaintNow(hwnd);
  EXPECT_EQ(Rgb(Pixel(35, 25)), Rgb(kGreen));  // centred: 30..40 x 20..30
  EXPECT_EQ(Pixel(15, 15), kWhite);
  EXPECT_EQ(Pixel(45, 25), kWhite);
}

// Paints its shadow layer as a plain colour over ten pixels around itself, so that
// the clip of the shadow can be seen whatever the back end draws for shadows.
class ShadowProbe : public ui::Control {
 public:
  void PaintShadow(ui::IRenderContext* context) override {
    RECT area = GetPos(true);
    InflateRect(&area, 10, 10);
    context->DrawColor(area, kBlue);
  }
};

TEST_F(WindowPaintTest, BoxShadowWidensTheClipByOffsetAndBlurSize) {
  auto* control = new ShadowProbe;
  control->SetBkColor(L"red");
  root->Add(control);
  placed.push_back({control, RECT{50, 50, 100, 100}});
  control->SetAttribute(L"boxshadow", L"color='shadow' offset='2,0' blursize='4'");
  Paint();
  EXPECT_EQ(Pixel(75, 75), kRed);
  EXPECT_EQ(Pixel(45, 75), kBlue);   // within |offset x| + blur size = 6
  EXPECT_EQ(Pixel(75, 44), kBlue);   // the same on every side
  EXPECT_EQ(Pixel(43, 75), kWhite);  // beyond it
  EXPECT_EQ(Pixel(106, 75), kWhite);
}

TEST_F(WindowPaintTest, WithoutABoxShadowPaintingStaysInsideTheControl) {
  auto* control = new ShadowProbe;
  root->Add(control);
  placed.push_back({control, RECT{50, 50, 100, 100}});
  Paint();
  EXPECT_EQ(Pixel(75, 75), kBlue);
  EXPECT_EQ(Pixel(49, 75), kWhite);
}

TEST(ControlPaintTest, TranslucentBackgroundCoversTheWholeControl) {
  ui::RenderContext_GdiPlus context;
  context.Resize(100, 100, true);
  context.Clear();
  TestWindow window;
  window.AddColor(L"halfred", 0x80FF0000);
  window.AddColor(L"red", 0xFFFF0000);
  ui::Control translucent;
  translucent.SetWindowAndParent(&window, nullptr, false);
  translucent.SetBkColor(L"halfred");
  translucent.SetPos(RECT{0, 0, 50, 50});
  translucent.Paint(&context, RECT{0, 0, 10, 10});
  EXPECT_EQ(Alpha(PixelAt(&context, 40, 40)), 0x80);
  ui::Control opaque;
  opaque.SetWindowAndParent(&window, nullptr, false);
  opaque.SetBkColor(L"red");
  opaque.SetPos(RECT{50, 50, 100, 100});
  opaque.Paint(&context, RECT{50, 50, 60, 60});
  EXPECT_EQ(PixelAt(&context, 55, 55), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(&context, 80, 80), 0u);  // only the dirty part of an opaque colour
  translucent.SetWindowAndParent(nullptr, nullptr, false);
  opaque.SetWindowAndParent(nullptr, nullptr, false);
}

TEST(AutoClipTest, ClipsWhileAliveAndNests) {
  ui::RenderContext_GdiPlus context;
  context.Resize(40, 40, true);
  context.Clear();
  {
    ui::AutoClip outer(&context, RECT{0, 0, 20, 40});
    {
      ui::AutoClip inner(&context, RECT{0, 0, 40, 10});
      context.DrawColor(RECT{0, 0, 40, 40}, 0xFFFF0000);
    }
    context.DrawColor(RECT{0, 20, 40, 40}, 0xFF0000FF);
  }
  EXPECT_EQ(PixelAt(&context, 5, 5), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(&context, 30, 5), 0u);   // outside the outer clip
  EXPECT_EQ(PixelAt(&context, 5, 15), 0u);   // outside the inner clip
  EXPECT_EQ(PixelAt(&context, 5, 30), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(&context, 30, 30), 0u);
  {
    ui::AutoClip none(&context, RECT{0, 0, 1, 1}, false);
    context.DrawColor(RECT{30, 30, 40, 40}, 0xFF00FF00);
  }
  EXPECT_EQ(PixelAt(&context, 35, 35), 0xFF00FF00u);
}

}  // namespace
