#include "ui/render/round_rect_path.h"

namespace ui {

void AddRoundRectToPath(Gdiplus::GpPath* path, const Gdiplus::RectF& rect, const SIZE& corner) {
  const Gdiplus::REAL cx = static_cast<Gdiplus::REAL>(corner.cx);
  const Gdiplus::REAL cy = static_cast<Gdiplus::REAL>(corner.cy);
  const Gdiplus::REAL left = rect.X;
  const Gdiplus::REAL top = rect.Y;
  const Gdiplus::REAL right = rect.X + rect.Width;
  const Gdiplus::REAL bottom = rect.Y + rect.Height;
  gp::GdipAddPathArc(path, left, top, cx, cy, 180, 90);
  gp::GdipAddPathLine(path, left + cx, top, right - cx, top);
  gp::GdipAddPathArc(path, right - cx, top, cx, cy, 270, 90);
  gp::GdipAddPathLine(path, right, top + cy, right, bottom - cy);
  gp::GdipAddPathArc(path, right - cx, bottom - cy, cx, cy, 0, 90);
  gp::GdipAddPathLine(path, right - cx, bottom, left + cx, bottom);
  gp::GdipAddPathArc(path, left, bottom - cy, cx, cy, 90, 90);
  gp::GdipAddPathLine(path, left, bottom - cy, left, top + cy);
  gp::GdipClosePathFigure(path);
}

}  // namespace ui
