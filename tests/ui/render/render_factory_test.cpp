#include "ui/render/render_factory_gdiplus.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/support/gdiplus_test_env.h"
#include "ui/render/bitmap.h"
#include "ui/render/brush_gdiplus.h"
#include "ui/render/matrix.h"
#include "ui/render/path.h"
#include "ui/render/pen.h"

namespace {

ui::RenderFactory_GdiPlus factory;

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(RenderFactoryTest, PenKeepsItsSettingsAndClonesIndependently) {
  std::unique_ptr<ui::IPen> pen(factory.CreatePen(0xFF102030, 3));
  EXPECT_EQ(pen->GetColor(), 0xFF102030u);
  EXPECT_EQ(pen->GetWidth(), 3);
  pen->SetWidth(5);
  pen->SetColor(0x80FFFFFF);
  pen->SetStartCap(Gdiplus::LineCapRound);
  pen->SetEndCap(Gdiplus::LineCapSquare);
  pen->SetDashCap(Gdiplus::DashCapRound);
  pen->SetLineJoin(Gdiplus::LineJoinBevel);
  pen->SetDashStyle(Gdiplus::DashStyleDot);
  EXPECT_EQ(pen->GetWidth(), 5);
  EXPECT_EQ(pen->GetColor(), 0x80FFFFFFu);
  EXPECT_EQ(pen->GetStartCap(), Gdiplus::LineCapRound);
  EXPECT_EQ(pen->GetEndCap(), Gdiplus::LineCapSquare);
  EXPECT_EQ(pen->GetDashCap(), Gdiplus::DashCapRound);
  EXPECT_EQ(pen->GetLineJoin(), Gdiplus::LineJoinBevel);
  EXPECT_EQ(pen->GetDashStyle(), Gdiplus::DashStyleDot);

  std::unique_ptr<ui::IPen> copy(pen->Clone());
  pen->SetWidth(9);
  pen->SetColor(0xFF000000);
  EXPECT_EQ(copy->GetWidth(), 5);
  EXPECT_EQ(copy->GetColor(), 0x80FFFFFFu);
  EXPECT_EQ(copy->GetStartCap(), Gdiplus::LineCapRound);
}

TEST(RenderFactoryTest, BrushesAreSolidOrTexturedAndOwnNoBitmap) {
  std::unique_ptr<ui::IBrush> solid(factory.CreateBrush(0xFF00FF00));
  EXPECT_EQ(solid->GetColor(), 0xFF00FF00u);
  EXPECT_EQ(solid->GetBitmap(), nullptr);
  auto* solid_impl = static_cast<ui::Brush_Gdiplus*>(solid.get());
  EXPECT_NE(solid_impl->GetSolidBrush(), nullptr);
  EXPECT_EQ(solid_impl->GetTextureBrush(), nullptr);

  HDC screen = GetDC(nullptr);
  HBITMAP source = CreateCompatibleBitmap(screen, 4, 4);
  ReleaseDC(nullptr, screen);
  std::unique_ptr<ui::IBrush> texture(factory.CreateBitmapBrush(source));
  EXPECT_EQ(texture->GetColor(), 0u);
  auto* texture_impl = static_cast<ui::Brush_Gdiplus*>(texture.get());
  EXPECT_EQ(texture_impl->GetSolidBrush(), nullptr);
  EXPECT_NE(texture_impl->GetTextureBrush(), nullptr);
  // The HBITMAP stays the caller's and is still valid.
  EXPECT_TRUE(DeleteObject(source));

  std::unique_ptr<ui::IBrush> copy(texture->Clone());
  texture.reset();
  EXPECT_NE(static_cast<ui::Brush_Gdiplus*>(copy.get())->GetTextureBrush(), nullptr);
  EXPECT_EQ(copy->GetBitmap(), nullptr);
}

TEST(RenderFactoryTest, PathFiguresBoundsAndHitTests) {
  std::unique_ptr<ui::IPath> path(factory.CreatePath());
  EXPECT_EQ(path->GetFillMode(), Gdiplus::FillModeAlternate);
  path->SetFillMode(Gdiplus::FillModeWinding);
  EXPECT_EQ(path->GetFillMode(), Gdiplus::FillModeWinding);

  path->AddRect(RECT{10, 20, 30, 60});
  EXPECT_TRUE(SameRect(path->GetBounds(nullptr), RECT{10, 20, 30, 60}));
  EXPECT_TRUE(path->IsContainsPoint(15, 30));
  EXPECT_FALSE(path->IsContainsPoint(5, 30));

  std::unique_ptr<ui::IPen> pen(factory.CreatePen(0xFF000000, 4));
  EXPECT_TRUE(path->IsStrokeContainsPoint(10, 40, pen.get()));
  EXPECT_FALSE(path->IsStrokeContainsPoint(20, 40, pen.get()));
  RECT widened = path->GetBounds(pen.get());
  EXPECT_LT(widened.left, 10);
  EXPECT_GT(widened.bottom, 60);

  std::unique_ptr<ui::IPath> copy(path->Clone());
  path->Reset();
  EXPECT_FALSE(path->IsContainsPoint(15, 30));
  EXPECT_TRUE(copy->IsContainsPoint(15, 30));
}

TEST(RenderFactoryTest, PathPointListsAndCurves) {
  std::unique_ptr<ui::IPath> path(factory.CreatePath());
  POINT triangle[] = {{0, 0}, {40, 0}, {0, 40}};
  path->AddPolygon(triangle, 3);
  EXPECT_TRUE(path->IsContainsPoint(5, 5));
  EXPECT_FALSE(path->IsContainsPoint(35, 35));
  EXPECT_TRUE(SameRect(path->GetBounds(nullptr), RECT{0, 0, 40, 40}));

  path->Reset();
  path->StartFigure();
  POINT zigzag[] = {{0, 0}, {10, 10}, {20, 0}};
  path->AddLines(zigzag, 3);
  path->AddLine(20, 0, 20, 30);
  path->CloseFigure();
  EXPECT_TRUE(SameRect(path->GetBounds(nullptr), RECT{0, 0, 20, 30}));

  path->Reset();
  path->AddEllipseCoords(0, 0, 20, 20);
  EXPECT_TRUE(path->IsContainsPoint(10, 10));
  EXPECT_FALSE(path->IsContainsPoint(1, 1));
  path->Reset();
  path->AddPie(0, 0, 20, 20, 0, 90);  // the lower right quarter
  EXPECT_TRUE(path->IsContainsPoint(14, 14));
  EXPECT_FALSE(path->IsContainsPoint(5, 5));
  path->Reset();
  path->AddArc(0, 0, 20, 20, 180, 180);
  path->AddBezier(20, 10, 20, 20, 0, 20, 0, 10);
  POINT curve[] = {{0, 10}, {10, 12}, {20, 10}};
  path->AddCurve(curve, 3);
  RECT bounds = path->GetBounds(nullptr);
  EXPECT_EQ(bounds.left, 0);
  EXPECT_EQ(bounds.top, 0);
}

TEST(RenderFactoryTest, MatrixTransformsPathsInPrependOrder) {
  std::unique_ptr<ui::IPath> path(factory.CreatePath());
  path->AddRectCoords(0, 0, 10, 10);
  path->Transform(nullptr);
  EXPECT_TRUE(SameRect(path->GetBounds(nullptr), RECT{0, 0, 10, 10}));

  std::unique_ptr<ui::IMatrix> matrix(factory.CreateMatrix());
  matrix->Translate(100, 0);
  matrix->Scale(2, 3);  // prepended: scale first, then move
  path->Transform(matrix.get());
  EXPECT_TRUE(SameRect(path->GetBounds(nullptr), RECT{100, 0, 120, 30}));

  // A quarter turn about (10, 10) takes the square (10..20, 10..12) to (8..10, 10..20).
  std::unique_ptr<ui::IPath> bar(factory.CreatePath());
  bar->AddRectCoords(10, 10, 20, 12);
  std::unique_ptr<ui::IMatrix> turn(factory.CreateMatrix());
  turn->RotateAt(90.0f, POINT{10, 10});
  bar->Transform(turn.get());
  EXPECT_TRUE(SameRect(bar->GetBounds(nullptr), RECT{8, 10, 10, 20}));

  std::unique_ptr<ui::IMatrix> spin(factory.CreateMatrix());
  spin->Rotate(180.0f);
  std::unique_ptr<ui::IPath> dot(factory.CreatePath());
  dot->AddRectCoords(1, 1, 3, 3);
  dot->Transform(spin.get());
  EXPECT_TRUE(SameRect(dot->GetBounds(nullptr), RECT{-3, -3, -1, -1}));
}

TEST(RenderFactoryTest, BitmapStartsEmpty) {
  std::unique_ptr<ui::IBitmap> bitmap(factory.CreateBitmap());
  EXPECT_EQ(bitmap->GetBitmap(), nullptr);
  EXPECT_EQ(bitmap->GetWidth(), 0);
  HDC screen = GetDC(nullptr);
  EXPECT_TRUE(bitmap->Init(screen, 2, 2, true));
  ReleaseDC(nullptr, screen);
}

}  // namespace
