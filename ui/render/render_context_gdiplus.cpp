#include "ui/render/render_context_gdiplus.h"

#include "ui/render/brush_gdiplus.h"
#include "ui/render/gdiplus_handles.h"
#include "ui/render/path_gdiplus.h"
#include "ui/render/pen_gdiplus.h"

namespace ui {

namespace {

GpPenPtr MakePen(DWORD color, int width) {
  Gdiplus::GpPen* pen = nullptr;
  gp::GdipCreatePen1(color, static_cast<Gdiplus::REAL>(width), Gdiplus::UnitWorld, &pen);
  return GpPenPtr(pen);
}

GpBrushPtr MakeSolidBrush(DWORD color) {
  Gdiplus::GpSolidFill* brush = nullptr;
  gp::GdipCreateSolidFill(color, &brush);
  return GpBrushPtr(brush);
}

// Every drawing here blends over what is there (GDI+'s default source-over); a
// colour with no alpha at all leaves each pixel as it was, so it is not drawn.
// Skins use such colours for the normal state of cards and items, and under Wine
// each GDI+ call costs a buffer and a blend of its whole area.
bool Invisible(DWORD color) { return (color >> 24) == 0; }

// A graphics object on the DC, anti-aliased when asked.
GpGraphicsPtr NewGraphics(HDC dc, bool antialias) {
  GpGraphicsPtr graphics = MakeGraphics(dc);
  if (graphics && antialias) gp::GdipSetSmoothingMode(graphics.get(), Gdiplus::SmoothingModeAntiAlias);
  return graphics;
}

}  // namespace

RenderContext_GdiPlus::RenderContext_GdiPlus() {
  HDC screen = ::GetDC(nullptr);
  dc_ = CreateCompatibleDC(screen);
  ::ReleaseDC(nullptr, screen);
}

RenderContext_GdiPlus::~RenderContext_GdiPlus() {
  if (previous_object_) SelectObject(dc_, previous_object_);
  if (dc_) DeleteDC(dc_);
}

bool RenderContext_GdiPlus::Resize(int width, int height, bool flip) {
  if (width < 1) width = 1;
  if (height < 1) height = 1;
  if (width == bitmap_.GetWidth() && height == bitmap_.GetHeight()) return false;
  if (previous_object_) SelectObject(dc_, previous_object_);
  bool made = bitmap_.Init(dc_, width, height, flip);
  previous_object_ = SelectObject(dc_, bitmap_.GetBitmap());
  return made;
}

void RenderContext_GdiPlus::Clear() { bitmap_.Clear(); }

IRenderContext* RenderContext_GdiPlus::Clone() {
  auto* copy = new RenderContext_GdiPlus();
  copy->Resize(GetWidth(), GetHeight(), true);
  copy->BitBlt(0, 0, GetWidth(), GetHeight(), dc_, 0, 0, SRCCOPY);
  return copy;
}

HBITMAP RenderContext_GdiPlus::DetachBitmap() {
  if (!previous_object_) return nullptr;
  SelectObject(dc_, previous_object_);
  previous_object_ = nullptr;
  return bitmap_.DetachBitmap();
}

void RenderContext_GdiPlus::ClearAlpha(const RECT& rect, int alpha) {
  bitmap_.ClearAlpha(rect, alpha);
}

void RenderContext_GdiPlus::RestoreAlpha(const RECT& rect, const RECT& corner_insets) {
  bitmap_.RestoreAlpha(rect, corner_insets);
}

void RenderContext_GdiPlus::RestoreAlphaKeyed(const RECT& rect, const RECT& corner_insets,
                                              int key_alpha) {
  bitmap_.RestoreAlphaKeyed(rect, corner_insets, key_alpha);
}

bool RenderContext_GdiPlus::SetRenderTransparent(bool transparent) {
  bool old = transparent_;
  transparent_ = transparent;
  return old;
}

int RenderContext_GdiPlus::SaveDC() {
  saved_state_ = ::SaveDC(dc_);
  return saved_state_;
}

bool RenderContext_GdiPlus::RestoreDC() { return ::RestoreDC(dc_, saved_state_) != FALSE; }

POINT RenderContext_GdiPlus::OffsetWindowOrg(POINT offset) {
  POINT old = GetWindowOrg();
  SetWindowOrgEx(dc_, old.x + offset.x, old.y + offset.y, nullptr);
  return old;
}

POINT RenderContext_GdiPlus::SetWindowOrg(POINT origin) {
  POINT old = {};
  SetWindowOrgEx(dc_, origin.x, origin.y, &old);
  return old;
}

POINT RenderContext_GdiPlus::GetWindowOrg() const {
  POINT origin = {};
  GetWindowOrgEx(dc_, &origin);
  return origin;
}

void RenderContext_GdiPlus::SetClip(const RECT& rect) { clip_.CreateClip(dc_, rect); }

void RenderContext_GdiPlus::SetRoundClip(const RECT& rect, int ellipse_width, int ellipse_height) {
  clip_.CreateRoundClip(dc_, rect, ellipse_width, ellipse_height);
}

void RenderContext_GdiPlus::ClearClip() { clip_.ClearClip(dc_); }

BOOL RenderContext_GdiPlus::BitBlt(int x, int y, int width, int height, HDC source, int source_x,
                                   int source_y, DWORD rop) {
  return ::BitBlt(dc_, x, y, width, height, source, source_x, source_y, rop);
}

bool RenderContext_GdiPlus::StretchBlt(int x, int y, int width, int height, HDC source,
                                       int source_x, int source_y, int source_width,
                                       int source_height, DWORD rop) {
  int old_mode = SetStretchBltMode(dc_, HALFTONE);
  BOOL done = ::StretchBlt(dc_, x, y, width, height, source, source_x, source_y, source_width,
                           source_height, rop);
  SetStretchBltMode(dc_, old_mode);
  return done == 1;
}

bool RenderContext_GdiPlus::AlphaBlend(int x, int y, int width, int height, HDC source,
                                       int source_x, int source_y, int source_width,
                                       int source_height, BYTE alpha) {
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
  return ::AlphaBlend(dc_, x, y, width, height, source, source_x, source_y, source_width,
                      source_height, blend) == 1;
}

void RenderContext_GdiPlus::DrawColor(const RECT& rect, DWORD color, BYTE fade) {
  if (fade != 255) {
    DWORD alpha = static_cast<DWORD>((color >> 24) * (fade / 255.0));
    color = (alpha << 24) | (color & 0x00FFFFFF);
  }
  if (Invisible(color)) return;
  if (FillOpaqueDirect(rect, color)) return;
  GpGraphicsPtr graphics = NewGraphics(dc_, false);
  GpBrushPtr brush = MakeSolidBrush(color);
  if (!graphics || !brush) return;
  gp::GdipFillRectangle(graphics.get(), brush.get(), static_cast<Gdiplus::REAL>(rect.left),
                        static_cast<Gdiplus::REAL>(rect.top),
                        static_cast<Gdiplus::REAL>(rect.right - rect.left),
                        static_cast<Gdiplus::REAL>(rect.bottom - rect.top));
}

void RenderContext_GdiPlus::DrawLineWithPen(const IPen* pen, int x1, int y1, int x2, int y2) {
  GpGraphicsPtr graphics = NewGraphics(dc_, true);
  if (!graphics || !Pen_GdiPlus::GpPenOf(pen)) return;
  gp::GdipDrawLineI(graphics.get(), Pen_GdiPlus::GpPenOf(pen), x1, y1, x2, y2);
}

void RenderContext_GdiPlus::DrawLine(const RECT& rect, int width, DWORD color) {
  if (Invisible(color)) return;
  GpGraphicsPtr graphics = NewGraphics(dc_, false);
  GpPenPtr pen = MakePen(color, width);
  if (!graphics || !pen) return;
  gp::GdipDrawLineI(graphics.get(), pen.get(), rect.left, rect.top, rect.right, rect.bottom);
}

void RenderContext_GdiPlus::DrawBezier(const IPen* pen, int x1, int y1, int x2, int y2, int x3,
                                       int y3, int x4, int y4) {
  GpGraphicsPtr graphics = NewGraphics(dc_, true);
  if (!graphics || !Pen_GdiPlus::GpPenOf(pen)) return;
  gp::GdipDrawBezierI(graphics.get(), Pen_GdiPlus::GpPenOf(pen), x1, y1, x2, y2, x3, y3, x4, y4);
}

void RenderContext_GdiPlus::DrawRect(const RECT& rect, int width, DWORD color) {
  if (Invisible(color)) return;
  if (width == 1 && FillFrameDirect(rect, color)) return;
  GpGraphicsPtr graphics = NewGraphics(dc_, false);
  GpPenPtr pen = MakePen(color, width);
  if (!graphics || !pen) return;
  gp::GdipDrawRectangleI(graphics.get(), pen.get(), rect.left, rect.top, rect.right - rect.left,
                         rect.bottom - rect.top);
}

void RenderContext_GdiPlus::DrawRoundRect(const RECT& rect, const SIZE& corner, int width,
                                          DWORD color) {
  if (Invisible(color)) return;
  GpGraphicsPtr graphics = NewGraphics(dc_, true);
  GpPenPtr pen = MakePen(color, width);
  Gdiplus::GpPath* raw_path = nullptr;
  gp::GdipCreatePath(Gdiplus::FillModeAlternate, &raw_path);
  GpPathPtr path(raw_path);
  if (!graphics || !pen || !path) return;
  const LONG cx = corner.cx;
  const LONG cy = corner.cy;
  Gdiplus::GpPath* p = path.get();
  gp::GdipAddPathArcI(p, rect.left, rect.top, cx, cy, 180, 90);
  gp::GdipAddPathLineI(p, rect.left + cx, rect.top, rect.right - cx, rect.top);
  gp::GdipAddPathArcI(p, rect.right - cx, rect.top, cx, cy, 270, 90);
  gp::GdipAddPathLineI(p, rect.right, rect.top + cy, rect.right, rect.bottom - cy);
  gp::GdipAddPathArcI(p, rect.right - cx, rect.bottom - cy, cx, cy, 0, 90);
  gp::GdipAddPathLineI(p, rect.right - cx, rect.bottom, rect.left + cx, rect.bottom);
  gp::GdipAddPathArcI(p, rect.left, rect.bottom - cy, cx, cy, 90, 90);
  gp::GdipAddPathLineI(p, rect.left, rect.bottom - cy, rect.left, rect.top + cy);
  gp::GdipClosePathFigure(p);
  gp::GdipDrawPath(graphics.get(), pen.get(), p);
}

void RenderContext_GdiPlus::DrawEllipse(const RECT& rect, int width, DWORD color) {
  if (Invisible(color)) return;
  GpGraphicsPtr graphics = NewGraphics(dc_, true);
  GpPenPtr pen = MakePen(color, width);
  if (!graphics || !pen) return;
  gp::GdipDrawEllipseI(graphics.get(), pen.get(), rect.left, rect.top, rect.right - rect.left,
                       rect.bottom - rect.top);
}

void RenderContext_GdiPlus::FillEllipse(const RECT& rect, DWORD color) {
  if (Invisible(color)) return;
  GpGraphicsPtr graphics = NewGraphics(dc_, true);
  GpBrushPtr brush = MakeSolidBrush(color);
  if (!graphics || !brush) return;
  gp::GdipFillEllipseI(graphics.get(), brush.get(), rect.left, rect.top, rect.right - rect.left,
                       rect.bottom - rect.top);
}

void RenderContext_GdiPlus::DrawPath(const IPath* path, const IPen* pen) {
  GpGraphicsPtr graphics = NewGraphics(dc_, true);
  if (!graphics || !Pen_GdiPlus::GpPenOf(pen) || !Path_Gdiplus::GpPathOf(path)) return;
  gp::GdipDrawPath(graphics.get(), Pen_GdiPlus::GpPenOf(pen), Path_Gdiplus::GpPathOf(path));
}

void RenderContext_GdiPlus::FillPath(const IPath* path, const IBrush* brush) {
  GpGraphicsPtr graphics = NewGraphics(dc_, true);
  if (!graphics || !brush || !Path_Gdiplus::GpPathOf(path)) return;
  auto* impl = static_cast<const Brush_Gdiplus*>(brush);
  Gdiplus::GpBrush* fill = impl->GetSolidBrush();
  if (!fill) fill = impl->GetTextureBrush();
  if (!fill) return;
  gp::GdipFillPath(graphics.get(), fill, Path_Gdiplus::GpPathOf(path));
}

}  // namespace ui
