// Owning handles for GDI+ flat-API objects and GDI objects used by the render back end.
// Every drawing call makes its own GDI+ objects and lets these wrappers free them.
#pragma once

#include <windows.h>
// gdiplus.h needs PROPID and IStream, which WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>
#include <gdiplus.h>

#include <memory>

#include "ui/base/scoped_handles.h"

namespace ui {

namespace gp = Gdiplus::DllExports;
using GpStatus = Gdiplus::GpStatus;

struct GpGraphicsDeleter {
  void operator()(Gdiplus::GpGraphics* g) const { gp::GdipDeleteGraphics(g); }
};
struct GpPenDeleter {
  void operator()(Gdiplus::GpPen* p) const { gp::GdipDeletePen(p); }
};
struct GpBrushDeleter {
  void operator()(Gdiplus::GpBrush* b) const { gp::GdipDeleteBrush(b); }
};
struct GpPathDeleter {
  void operator()(Gdiplus::GpPath* p) const { gp::GdipDeletePath(p); }
};
struct GpMatrixDeleter {
  void operator()(Gdiplus::GpMatrix* m) const { gp::GdipDeleteMatrix(m); }
};
struct GpImageDeleter {
  void operator()(Gdiplus::GpImage* i) const { gp::GdipDisposeImage(i); }
};
struct GpFontDeleter {
  void operator()(Gdiplus::GpFont* f) const { gp::GdipDeleteFont(f); }
};
struct GpFontFamilyDeleter {
  void operator()(Gdiplus::GpFontFamily* f) const { gp::GdipDeleteFontFamily(f); }
};
struct GpStringFormatDeleter {
  void operator()(Gdiplus::GpStringFormat* f) const { gp::GdipDeleteStringFormat(f); }
};

using GpGraphicsPtr = std::unique_ptr<Gdiplus::GpGraphics, GpGraphicsDeleter>;
using GpPenPtr = std::unique_ptr<Gdiplus::GpPen, GpPenDeleter>;
using GpBrushPtr = std::unique_ptr<Gdiplus::GpBrush, GpBrushDeleter>;
using GpPathPtr = std::unique_ptr<Gdiplus::GpPath, GpPathDeleter>;
using GpMatrixPtr = std::unique_ptr<Gdiplus::GpMatrix, GpMatrixDeleter>;
using GpImagePtr = std::unique_ptr<Gdiplus::GpImage, GpImageDeleter>;
using GpFontPtr = std::unique_ptr<Gdiplus::GpFont, GpFontDeleter>;
using GpFontFamilyPtr = std::unique_ptr<Gdiplus::GpFontFamily, GpFontFamilyDeleter>;
using GpStringFormatPtr = std::unique_ptr<Gdiplus::GpStringFormat, GpStringFormatDeleter>;

// The bitmap is disposed of as an image; GpBitmap derives from GpImage.
struct GpBitmapDeleter {
  void operator()(Gdiplus::GpBitmap* b) const { gp::GdipDisposeImage(b); }
};
using GpBitmapPtr = std::unique_ptr<Gdiplus::GpBitmap, GpBitmapDeleter>;

// A GDI+ graphics object on a device context; empty when GDI+ refuses the DC.
inline GpGraphicsPtr MakeGraphics(HDC dc) {
  Gdiplus::GpGraphics* g = nullptr;
  if (gp::GdipCreateFromHDC(dc, &g) != Gdiplus::Ok) return nullptr;
  return GpGraphicsPtr(g);
}

// Keeps the status of the last failed GDI+ call on an object, as each wrapper does.
inline void KeepFailure(GpStatus& kept, GpStatus status) {
  if (status != Gdiplus::Ok) kept = status;
}

}  // namespace ui
