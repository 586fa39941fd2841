#include "ui/render/brush_gdiplus.h"

namespace ui {

Brush_Gdiplus::Brush_Gdiplus(DWORD color) : IBrush(color) {
  Gdiplus::GpSolidFill* solid = nullptr;
  gp::GdipCreateSolidFill(color, &solid);
  solid_.reset(solid);
}

Brush_Gdiplus::Brush_Gdiplus(HBITMAP bitmap) : IBrush(0) {
  Gdiplus::GpBitmap* image = nullptr;
  if (gp::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) != Gdiplus::Ok) return;
  GpBitmapPtr owned(image);  // disposed of once the texture holds its own copy
  Gdiplus::GpTexture* texture = nullptr;
  gp::GdipCreateTexture(image, Gdiplus::WrapModeTile, &texture);
  texture_.reset(texture);
}

Brush_Gdiplus::Brush_Gdiplus(DWORD color, Gdiplus::GpSolidFill* solid, Gdiplus::GpTexture* texture)
    : IBrush(color), solid_(solid), texture_(texture) {}

IBrush* Brush_Gdiplus::Clone() {
  Gdiplus::GpBrush* solid = nullptr;
  Gdiplus::GpBrush* texture = nullptr;
  if (solid_) gp::GdipCloneBrush(solid_.get(), &solid);
  if (texture_) gp::GdipCloneBrush(texture_.get(), &texture);
  return new Brush_Gdiplus(color_, static_cast<Gdiplus::GpSolidFill*>(solid),
                           static_cast<Gdiplus::GpTexture*>(texture));
}

}  // namespace ui
