// GDI implementation of IClip over SaveDC/RestoreDC and region intersection.
#pragma once

#include "ui/render/clip.h"

namespace ui {

class GdiClip : public IClip {
 public:
  void CreateClip(HDC dc, RECT rect) override;
  void CreateRoundClip(HDC dc, RECT rect, int ellipse_width, int ellipse_height) override;
  void ClearClip(HDC dc) override;
};

}  // namespace ui
