#include "ui/render/path_gdiplus.h"

#include <vector>

#include "ui/render/matrix_gdiplus.h"
#include "ui/render/pen_gdiplus.h"

namespace ui {

namespace {

std::vector<Gdiplus::GpPoint> ToGpPoints(const POINT* points, int count) {
  std::vector<Gdiplus::GpPoint> copy;
  if (!points || count <= 0) return copy;
  copy.reserve(count);
  for (int i = 0; i < count; ++i) copy.push_back(Gdiplus::GpPoint(points[i].x, points[i].y));
  return copy;
}

}  // namespace

Path_Gdiplus::Path_Gdiplus() {
  Gdiplus::GpPath* path = nullptr;
  Keep(gp::GdipCreatePath(Gdiplus::FillModeAlternate, &path));
  path_.reset(path);
}

IPath* Path_Gdiplus::Clone() {
  Gdiplus::GpPath* copy = nullptr;
  if (path_) Keep(gp::GdipClonePath(path_.get(), &copy));
  return new Path_Gdiplus(GpPathPtr(copy));
}

void Path_Gdiplus::Reset() { Keep(gp::GdipResetPath(path_.get())); }

void Path_Gdiplus::SetFillMode(int mode) {
  Keep(gp::GdipSetPathFillMode(path_.get(), static_cast<Gdiplus::FillMode>(mode)));
}

int Path_Gdiplus::GetFillMode() {
  Gdiplus::FillMode mode = Gdiplus::FillModeAlternate;
  GpStatus status = gp::GdipGetPathFillMode(path_.get(), &mode);
  Keep(status);
  return status == Gdiplus::Ok ? mode : 0;
}

void Path_Gdiplus::StartFigure() { Keep(gp::GdipStartPathFigure(path_.get())); }

void Path_Gdiplus::CloseFigure() { Keep(gp::GdipClosePathFigure(path_.get())); }

void Path_Gdiplus::AddLine(int x1, int y1, int x2, int y2) {
  Keep(gp::GdipAddPathLineI(path_.get(), x1, y1, x2, y2));
}

void Path_Gdiplus::AddLines(const POINT* points, int count) {
  auto copy = ToGpPoints(points, count);
  Keep(gp::GdipAddPathLine2I(path_.get(), copy.data(), static_cast<INT>(copy.size())));
}

void Path_Gdiplus::AddBezier(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Keep(gp::GdipAddPathBezierI(path_.get(), x1, y1, x2, y2, x3, y3, x4, y4));
}

void Path_Gdiplus::AddCurve(const POINT* points, int count) {
  auto copy = ToGpPoints(points, count);
  Keep(gp::GdipAddPathCurveI(path_.get(), copy.data(), static_cast<INT>(copy.size())));
}

void Path_Gdiplus::AddRect(const RECT& rect) {
  AddRectCoords(rect.left, rect.top, rect.right, rect.bottom);
}

void Path_Gdiplus::AddRectCoords(int left, int top, int right, int bottom) {
  Keep(gp::GdipAddPathRectangleI(path_.get(), left, top, right - left, bottom - top));
}

void Path_Gdiplus::AddEllipse(const RECT& rect) {
  AddEllipseCoords(rect.left, rect.top, rect.right, rect.bottom);
}

void Path_Gdiplus::AddEllipseCoords(int left, int top, int right, int bottom) {
  Keep(gp::GdipAddPathEllipseI(path_.get(), left, top, right - left, bottom - top));
}

void Path_Gdiplus::AddArc(int x, int y, int width, int height, float start_angle,
                          float sweep_angle) {
  Keep(gp::GdipAddPathArcI(path_.get(), x, y, width, height, start_angle, sweep_angle));
}

void Path_Gdiplus::AddPie(int x, int y, int width, int height, float start_angle,
                          float sweep_angle) {
  Keep(gp::GdipAddPathPieI(path_.get(), x, y, width, height, start_angle, sweep_angle));
}

void Path_Gdiplus::AddPolygon(const POINT* points, int count) {
  auto copy = ToGpPoints(points, count);
  Keep(gp::GdipAddPathPolygonI(path_.get(), copy.data(), static_cast<INT>(copy.size())));
}

RECT Path_Gdiplus::GetBounds(const IPen* pen) {
  Gdiplus::GpRect bounds(0, 0, 0, 0);
  Keep(gp::GdipGetPathWorldBoundsI(path_.get(), &bounds, nullptr, Pen_GdiPlus::GpPenOf(pen)));
  return RECT{bounds.X, bounds.Y, bounds.X + bounds.Width, bounds.Y + bounds.Height};
}

bool Path_Gdiplus::IsContainsPoint(int x, int y) {
  BOOL inside = FALSE;
  Keep(gp::GdipIsVisiblePathPointI(path_.get(), x, y, nullptr, &inside));
  return inside != FALSE;
}

bool Path_Gdiplus::IsStrokeContainsPoint(int x, int y, const IPen* pen) {
  BOOL inside = FALSE;
  Keep(gp::GdipIsOutlineVisiblePathPointI(path_.get(), x, y, Pen_GdiPlus::GpPenOf(pen), nullptr, &inside));
  return inside != FALSE;
}

void Path_Gdiplus::Transform(const IMatrix* matrix) {
  if (!matrix) return;
  Keep(gp::GdipTransformPath(path_.get(), static_cast<const Matrix_Gdiplus*>(matrix)->GetMatrix()));
}

}  // namespace ui
