// Nine-grid image drawing of the render context.
#include <algorithm>

#include "ui/base/dpi_scaler.h"
#include "ui/render/gdiplus_handles.h"
#include "ui/render/render_context_gdiplus.h"

namespace ui {

void BlitImagePart(HDC dest_dc, bool transparent, const RECT& dest, HDC source_dc,
                   const RECT& source, bool has_alpha, BYTE fade) {
  const int dest_width = dest.right - dest.left;
  const int dest_height = dest.bottom - dest.top;
  const int source_width = source.right - source.left;
  const int source_height = source.bottom - source.top;
  if (!transparent && !has_alpha && fade == 255 &&
      (dest_width != source_width || dest_height != source_height)) {
    ::StretchBlt(dest_dc, dest.left, dest.top, dest_width, dest_height, source_dc, source.left,
                 source.top, source_width, source_height, SRCCOPY);
    return;
  }
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, fade, AC_SRC_ALPHA};
  ::AlphaBlend(dest_dc, dest.left, dest.top, dest_width, dest_height, source_dc, source.left,
               source.top, source_width, source_height, blend);
}

namespace {

bool Intersects(const RECT& a, const RECT& b) {
  RECT overlap;
  return IntersectRect(&overlap, &a, &b) != FALSE;
}

RECT Shrink(const RECT& rect, const RECT& insets) {
  return RECT{rect.left + insets.left, rect.top + insets.top, rect.right - insets.right,
              rect.bottom - insets.bottom};
}

struct ImageBlitter {
  HDC dest_dc;
  HDC source_dc;
  bool transparent;
  bool has_alpha;
  BYTE fade;

  void operator()(const RECT& dest, const RECT& source) const {
    BlitImagePart(dest_dc, transparent, dest, source_dc, source, has_alpha, fade);
  }
};

// The centre, stretched or tiled. Tiles are sized from the source centre; a source
// centre without width (xtiled) or height (ytiled), or a tile step that is not
// positive, leaves nothing to tile and the centre is not drawn.
void DrawCentre(const ImageBlitter& blit, const RECT& centre, const RECT& source_centre,
                bool xtiled, bool ytiled, bool full_ytiled, int margin) {
  const int tile_width = source_centre.right - source_centre.left;   // G
  const int tile_height = source_centre.bottom - source_centre.top;  // H
  const int centre_width = centre.right - centre.left;
  const int centre_height = centre.bottom - centre.top;

  if (!xtiled && !ytiled) {
    blit(centre, source_centre);
    return;
  }
  if (!xtiled) {
    const int step = tile_height + margin;
    if (tile_height <= 0 || step <= 0) return;
    const int rows = full_ytiled ? (centre_height + margin + tile_height - 1) / step
                                 : (centre_height + margin) / step;
    for (int i = 0; i < rows; ++i) {
      const int top = centre.top + i * step;
      const int bottom = std::min<int>(top + tile_height, centre.bottom);
      RECT dest{centre.left, top, centre.left + tile_width, bottom};
      RECT source{source_centre.left, source_centre.top, source_centre.right,
                  source_centre.top + (bottom - top)};
      blit(dest, source);
    }
    return;
  }
  if (tile_width <= 0) return;
  if (ytiled) {
    if (tile_height <= 0) return;
    const int columns = (tile_width + centre_width - 1) / tile_width;
    const int rows = (tile_height + centre_height - 1) / tile_height;
    for (int j = 0; j < rows; ++j) {
      for (int k = 0; k < columns; ++k) {
        const int left = centre.left + k * tile_width;
        const int top = centre.top + j * tile_height;
        const int right = std::min<int>(left + tile_width, centre.right);
        const int bottom = std::min<int>(top + tile_height, centre.bottom);
        RECT dest{left, top, right, bottom};
        RECT source{source_centre.left, source_centre.top, source_centre.left + (right - left),
                    source_centre.top + (bottom - top)};
        blit(dest, source);
      }
    }
    return;
  }
  const int columns = (tile_width + centre_width - 1) / tile_width;
  for (int k = 0; k < columns; ++k) {
    const int left = centre.left + k * tile_width;
    const int right = std::min<int>(left + tile_width, centre.right);
    RECT dest{left, centre.top, right, centre.top + tile_height};
    RECT source{source_centre.left, source_centre.top, source_centre.left + (right - left),
                source_centre.bottom};
    blit(dest, source);
  }
}

}  // namespace

void RenderContext_GdiPlus::DrawImage(const RECT& paint_rect, HBITMAP bitmap, bool has_alpha,
                                      const RECT& dest, const RECT& source, RECT& corners,
                                      bool dpi_scaled, BYTE fade, bool xtiled, bool ytiled,
                                      bool full_xtiled, bool full_ytiled, int tiled_margin) {
  (void)full_xtiled;  // horizontal tiles are always drawn whole or clipped to the centre
  if (!Intersects(dest, paint_rect) || !bitmap) return;

  UniqueMemoryDc image_dc(CreateCompatibleDC(dc_));
  if (!image_dc) return;
  HGDIOBJ old_bitmap = SelectObject(image_dc.get(), bitmap);
  const int old_mode = SetStretchBltMode(dc_, HALFTONE);

  RECT dest_insets = corners;
  DpiScaler::Instance().ScaleRect(dest_insets);
  if (dpi_scaled) corners = dest_insets;
  const RECT& source_insets = corners;

  const ImageBlitter blit{dc_, image_dc.get(), transparent_, has_alpha, fade};
  const RECT centre = Shrink(dest, dest_insets);
  const RECT source_centre = Shrink(source, source_insets);
  if (Intersects(centre, paint_rect))
    DrawCentre(blit, centre, source_centre, xtiled, ytiled, full_ytiled, tiled_margin);

  const RECT& d = dest;
  const RECT& di = dest_insets;
  const RECT& s = source;
  const RECT& si = source_insets;
  struct Piece {
    bool wanted;
    RECT dest;
    RECT source;
  };
  const Piece pieces[] = {
      // top-left, top, top-right
      {si.left > 0 && si.top > 0,
       {d.left, d.top, d.left + di.left, d.top + di.top},
       {s.left, s.top, s.left + si.left, s.top + si.top}},
      {si.top > 0,
       {d.left + di.left, d.top, d.right - di.right, d.top + di.top},
       {s.left + si.left, s.top, s.right - si.right, s.top + si.top}},
      {si.right > 0 && si.top > 0,
       {d.right - di.right, d.top, d.right, d.top + di.top},
       {s.right - si.right, s.top, s.right, s.top + si.top}},
      // left, right
      {si.left > 0,
       {d.left, d.top + di.top, d.left + di.left, d.bottom - di.bottom},
       {s.left, s.top + si.top, s.left + si.left, s.bottom - si.bottom}},
      {si.right > 0,
       {d.right - di.right, d.top + di.top, d.right, d.bottom - di.bottom},
       {s.right - si.right, s.top + si.top, s.right, s.bottom - si.bottom}},
      // bottom-left, bottom, bottom-right
      {si.left > 0 && si.bottom > 0,
       {d.left, d.bottom - di.bottom, d.left + di.left, d.bottom},
       {s.left, s.bottom - si.bottom, s.left + si.left, s.bottom}},
      {si.bottom > 0,
       {d.left + di.left, d.bottom - di.bottom, d.right - di.right, d.bottom},
       {s.left + si.left, s.bottom - si.bottom, s.right - si.right, s.bottom}},
      {si.right > 0 && si.bottom > 0,
       {d.right - di.right, d.bottom - di.bottom, d.right, d.bottom},
       {s.right - si.right, s.bottom - si.bottom, s.right, s.bottom}},
  };
  for (const Piece& piece : pieces) {
    if (piece.wanted && Intersects(piece.dest, paint_rect)) blit(piece.dest, piece.source);
  }

  SetStretchBltMode(dc_, old_mode);
  SelectObject(image_dc.get(), old_bitmap);
}

}  // namespace ui
