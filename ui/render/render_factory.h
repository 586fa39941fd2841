// Makes the render objects. Every object returned is owned by the caller and
// deleted through its virtual destructor.
#pragma once

#include <windows.h>

namespace ui {

class IBitmap;
class IBrush;
class IMatrix;
class IPath;
class IPen;
class IRenderContext;

class IRenderFactory {
 public:
  // Virtual so that the owner may delete the factory through this interface.
  virtual ~IRenderFactory() = default;

  virtual IPen* CreatePen(DWORD color, int width) = 0;
  // A tiling texture brush over the bitmap; the HBITMAP stays the caller's.
  virtual IBrush* CreateBitmapBrush(HBITMAP bitmap) = 0;
  virtual IBrush* CreateBrush(DWORD color) = 0;
  virtual IMatrix* CreateMatrix() = 0;
  virtual IPath* CreatePath() = 0;
  virtual IBitmap* CreateBitmap() = 0;
  virtual IRenderContext* CreateRenderContext() = 0;
};

}  // namespace ui
