// GDI+ implementation of IBrush: either a solid brush or a texture brush.
#pragma once

#include "ui/render/brush.h"
#include "ui/render/gdiplus_handles.h"

namespace ui {

class Brush_Gdiplus : public IBrush {
 public:
  // A solid brush of the colour.
  explicit Brush_Gdiplus(DWORD color);
  // A tiling texture brush over a copy of the bitmap; the HBITMAP stays the caller's.
  explicit Brush_Gdiplus(HBITMAP bitmap);
  ~Brush_Gdiplus() override = default;

  IBrush* Clone() override;

  Gdiplus::GpSolidFill* GetSolidBrush() const { return solid_.get(); }
  Gdiplus::GpTexture* GetTextureBrush() const { return texture_.get(); }

 private:
  struct SolidDeleter {
    void operator()(Gdiplus::GpSolidFill* b) const { gp::GdipDeleteBrush(b); }
  };
  struct TextureDeleter {
    void operator()(Gdiplus::GpTexture* b) const { gp::GdipDeleteBrush(b); }
  };

  Brush_Gdiplus(DWORD color, Gdiplus::GpSolidFill* solid, Gdiplus::GpTexture* texture);

  // Declared in this order so that the texture brush goes first, then the solid one;
  // the owned bitmap of the base goes last.
  std::unique_ptr<Gdiplus::GpSolidFill, SolidDeleter> solid_;
  std::unique_ptr<Gdiplus::GpTexture, TextureDeleter> texture_;
};

}  // namespace ui
