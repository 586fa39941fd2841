#include "ui/render/pen_gdiplus.h"

namespace ui {

Pen_GdiPlus::Pen_GdiPlus(DWORD color, int width) : IPen(color) {
  Gdiplus::GpPen* pen = nullptr;
  Keep(gp::GdipCreatePen1(color, static_cast<Gdiplus::REAL>(width), Gdiplus::UnitWorld, &pen));
  pen_.reset(pen);
}

IPen* Pen_GdiPlus::Clone() {
  Gdiplus::GpPen* copy = nullptr;
  if (pen_) Keep(gp::GdipClonePen(pen_.get(), &copy));
  return new Pen_GdiPlus(color_, GpPenPtr(copy));
}

void Pen_GdiPlus::SetWidth(int width) {
  Keep(gp::GdipSetPenWidth(pen_.get(), static_cast<Gdiplus::REAL>(width)));
}

int Pen_GdiPlus::GetWidth() {
  Gdiplus::REAL width = 0;
  Keep(gp::GdipGetPenWidth(pen_.get(), &width));
  return static_cast<int>(width);
}

void Pen_GdiPlus::SetColor(DWORD color) {
  color_ = color;
  Keep(gp::GdipSetPenColor(pen_.get(), color));
}

void Pen_GdiPlus::SetStartCap(int cap) {
  Keep(gp::GdipSetPenStartCap(pen_.get(), static_cast<Gdiplus::LineCap>(cap)));
}

void Pen_GdiPlus::SetEndCap(int cap) {
  Keep(gp::GdipSetPenEndCap(pen_.get(), static_cast<Gdiplus::LineCap>(cap)));
}

void Pen_GdiPlus::SetDashCap(int cap) {
  Keep(gp::GdipSetPenDashCap197819(pen_.get(), static_cast<Gdiplus::DashCap>(cap)));
}

int Pen_GdiPlus::GetStartCap() {
  Gdiplus::LineCap cap = Gdiplus::LineCapFlat;
  Keep(gp::GdipGetPenStartCap(pen_.get(), &cap));
  return cap;
}

int Pen_GdiPlus::GetEndCap() {
  Gdiplus::LineCap cap = Gdiplus::LineCapFlat;
  Keep(gp::GdipGetPenEndCap(pen_.get(), &cap));
  return cap;
}

int Pen_GdiPlus::GetDashCap() {
  Gdiplus::DashCap cap = Gdiplus::DashCapFlat;
  Keep(gp::GdipGetPenDashCap197819(pen_.get(), &cap));
  return cap;
}

void Pen_GdiPlus::SetLineJoin(int join) {
  Keep(gp::GdipSetPenLineJoin(pen_.get(), static_cast<Gdiplus::LineJoin>(join)));
}

int Pen_GdiPlus::GetLineJoin() {
  Gdiplus::LineJoin join = Gdiplus::LineJoinMiter;
  Keep(gp::GdipGetPenLineJoin(pen_.get(), &join));
  return join;
}

void Pen_GdiPlus::SetDashStyle(int style) {
  Keep(gp::GdipSetPenDashStyle(pen_.get(), static_cast<Gdiplus::DashStyle>(style)));
}

int Pen_GdiPlus::GetDashStyle() {
  Gdiplus::DashStyle style = Gdiplus::DashStyleSolid;
  Keep(gp::GdipGetPenDashStyle(pen_.get(), &style));
  return style;
}

}  // namespace ui
