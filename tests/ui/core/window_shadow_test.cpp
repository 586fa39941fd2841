// The window's own shadow: the root wrapped in a shadow box, its padding in the
// window geometry, and its maximized form.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/core/layout_access.h"
#include "ui/core/shadow_box.h"
#include "ui/render/render_context_gdiplus.h"

namespace {

using window_test::TestWindow;

::testing::Environment* const gdiplus =
    ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

TEST(WindowShadowTest, UnattachedShadowLeavesTheRootAndGeometryAlone) {
  ui::WindowShadow shadow;
  shadow.SetAttached(false);
  ui::Control root;
  EXPECT_EQ(shadow.WrapRoot(&root), &root);
  EXPECT_EQ(shadow.GetShadowBox(), nullptr);

  TestWindow window;
  window.SetShadowAttached(false);
  HWND hwnd = window.Create(nullptr, L"s", WS_POPUP, 0, true, RECT{0, 0, 10, 10});
  window.Resize(200, 100, false, false);
  RECT rect = {};
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ(rect.right - rect.left, 200);
  const RECT inner = window.GetWindowRectWithoutShadow(false);
  EXPECT_EQ(inner.right - inner.left, 200);
  DestroyWindow(hwnd);
}

TEST(WindowShadowTest, WrapGrowsAFixedRootByThePadding) {
  ui::WindowShadow shadow;
  const RECT padding = shadow.GetPadding();
  EXPECT_EQ(padding.left, 14);
  EXPECT_EQ(padding.bottom, 14);
  auto* root = new ui::Control;
  root->SetFixedWidth(400, true, false);
  root->SetFixedHeight(-2, false);
  ui::Control* wrapped = shadow.WrapRoot(root);
  ASSERT_NE(wrapped, root);
  std::unique_ptr<ui::Control> owner(wrapped);
  ui::ShadowBox* box = shadow.GetShadowBox();
  ASSERT_EQ(wrapped, box);
  EXPECT_EQ(box->GetFixedWidth(), 428);
  EXPECT_EQ(box->GetFixedHeight(), -2);  // auto stays auto
  EXPECT_EQ(box->GetItemAt(0), root);
  EXPECT_EQ(root->GetBorderRound().cx, 3);  // the default picture rounds the content
  EXPECT_EQ(box->GetBkImage().attributes.wholeText, shadow.GetShadowImage());
}

TEST(WindowShadowTest, StretchAndZeroSizesAreCopied) {
  ui::WindowShadow shadow;
  auto* root = new ui::Control;  // -1 x -1
  std::unique_ptr<ui::Control> owner(shadow.WrapRoot(root));
  EXPECT_EQ(shadow.GetShadowBox()->GetFixedWidth(), -1);
  EXPECT_EQ(shadow.GetShadowBox()->GetFixedHeight(), -1);
}

TEST(WindowShadowTest, MaximizingDropsThePaddingAndRestoringBringsTheConfiguredOne) {
  ui::WindowShadow shadow;
  shadow.SetShadowCorner(RECT{5, 6, 7, 8}, false);
  auto* root = new ui::Control;
  std::unique_ptr<ui::Control> owner(shadow.WrapRoot(root));
  shadow.MaximizedOrRestored(true);
  EXPECT_EQ(shadow.GetPadding().left, 0);
  EXPECT_EQ(shadow.GetPadding().bottom, 0);
  EXPECT_EQ(root->GetBorderRound().cx, 0);
  shadow.MaximizedOrRestored(false);
  EXPECT_EQ(shadow.GetPadding().left, 5);
  EXPECT_EQ(shadow.GetPadding().bottom, 8);
  EXPECT_EQ(root->GetBorderRound().cx, 3);
}

TEST(WindowShadowTest, CustomImageKeepsTheContentCorners) {
  ui::WindowShadow shadow;
  shadow.SetShadowImage(L"file='my_shadow.png' corner='10,10,10,10'");
  EXPECT_FALSE(shadow.HasDefaultImage());
  auto* root = new ui::Control;
  std::unique_ptr<ui::Control> owner(shadow.WrapRoot(root));
  EXPECT_EQ(root->GetBorderRound().cx, 0);
  shadow.MaximizedOrRestored(true);
  shadow.MaximizedOrRestored(false);
  EXPECT_EQ(root->GetBorderRound().cx, 0);
}

TEST(WindowShadowTest, MaximizingTheWindowSwitchesTheShadow) {
  TestWindow window;
  HWND hwnd = window.Create(nullptr, L"m", WS_POPUP, 0, true, RECT{0, 0, 200, 100});
  auto* root = new ui::Control;
  window.AttachRoot(window.GetShadow().WrapRoot(root));
  SendMessageW(hwnd, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(200, 100));
  EXPECT_EQ(window.GetShadowPadding().left, 0);
  SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(200, 100));
  EXPECT_EQ(window.GetShadowPadding().left, 14);
  DestroyWindow(hwnd);
}

TEST(WindowShadowTest, ShadowBoxDrawsOnlyWhenTheDirtyAreaReachesTheShadow) {
  TestWindow window;
  window.AddColor(L"red", 0xFFFF0000);
  ui::ShadowBox box;
  box.SetWindowAndParent(&window, nullptr, false);
  box.SetBkColor(L"red");
  box.SetPos(RECT{0, 0, 100, 100});
  ui::layout_access::SetPadding(box.GetLayout(), RECT{10, 10, 10, 10}, false);
  const RECT padding = ui::layout_access::GetPadding(box.GetLayout());
  ui::RenderContext_GdiPlus context;
  context.Resize(100, 100, true);
  context.Clear();
  if (padding.left == 10) {
    box.Paint(&context, RECT{20, 20, 40, 40});  // inside the content: no shadow
    EXPECT_EQ(window_test::PixelAt(&context, 30, 30), 0u);
  }
  box.Paint(&context, RECT{0, 0, 40, 40});
  EXPECT_EQ(window_test::PixelAt(&context, 5, 5), 0xFFFF0000u);
  box.SetWindowAndParent(nullptr, nullptr, false);
}

TEST(WindowShadowTest, LayeredWindowPaintsItsShadowAroundOpaqueContent) {
  pexo_test::TempDir dir;
  const std::wstring file = dir.File(L"shadow.png");
  // A soft frame: translucent black edges that fade toward a transparent middle.
  ASSERT_TRUE(window_test::WritePng(file, 60, 60, [](int x, int y) -> DWORD {
    const int edge = std::min(std::min(x, y), std::min(59 - x, 59 - y));
    const DWORD alpha = edge < 14 ? 0x60 - edge * 4 : 0;
    return alpha << 24;
  }));
  TestWindow window;
  window.GetShadow().SetShadowImage(L"file='" + file + L"' corner='20,20,20,20'");
  HWND hwnd = window.Create(nullptr, L"layered", WS_POPUP, 0, true, RECT{0, 0, 10, 10});
  ASSERT_NE(hwnd, nullptr);
  window.Resize(200, 100, false, false);
  window.AddColor(L"white", 0xFFFFFFFF);
  auto* content = new ui::Control;
  content->SetBkColor(L"white");
  window.AttachRoot(window.GetShadow().WrapRoot(content));
  ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  window_test::PaintNow(hwnd);
  ui::IRenderContext* surface = window.GetRenderContext();
  ASSERT_EQ(surface->GetWidth(), 228);
  ASSERT_EQ(surface->GetHeight(), 128);
  EXPECT_EQ(content->GetPos(true).left, 14);
  EXPECT_EQ(content->GetPos(true).right, 214);
  const DWORD inside = window_test::PixelAt(surface, 100, 64);
  EXPECT_EQ(inside, 0xFFFFFFFFu);
  const DWORD shadow = window_test::PixelAt(surface, 2, 64);
  EXPECT_GT(shadow >> 24, 0u);     // the shadow is drawn...
  EXPECT_LT(shadow >> 24, 0xFFu);  // ...translucent
  EXPECT_EQ(window_test::PixelAt(surface, 0, 0) >> 24, 0x60u);
  DestroyWindow(hwnd);
}

}  // namespace
