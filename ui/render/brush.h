// A fill brush: a solid colour or a texture.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/base/weak_callback.h"
#include "ui/render/bitmap.h"

namespace ui {

class IBrush : public nbase::SupportWeakCallback {
 public:
  explicit IBrush(DWORD color) : color_(color) {}

  virtual IBrush* Clone() = 0;
  virtual DWORD GetColor() { return color_; }
  // The bitmap the brush owns, if any (the GDI+ back end never sets one).
  virtual IBitmap* GetBitmap() { return bitmap_.get(); }

 protected:
  DWORD color_;
  std::unique_ptr<IBitmap> bitmap_;
};

}  // namespace ui
