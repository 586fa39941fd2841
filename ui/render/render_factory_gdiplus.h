// The GDI/GDI+ render factory; it holds no state.
#pragma once

#include "ui/render/render_factory.h"

namespace ui {

class RenderFactory_GdiPlus : public IRenderFactory {
 public:
  IPen* CreatePen(DWORD color, int width) override;
  IBrush* CreateBitmapBrush(HBITMAP bitmap) override;
  IBrush* CreateBrush(DWORD color) override;
  IMatrix* CreateMatrix() override;
  IPath* CreatePath() override;
  IBitmap* CreateBitmap() override;
  IRenderContext* CreateRenderContext() override;
};

}  // namespace ui
