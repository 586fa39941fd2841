// Opaque fills written straight into the render context's bitmap.
#include <algorithm>
#include <vector>

#include "ui/base/scoped_handles.h"
#include "ui/render/render_context_gdiplus.h"

namespace ui {

namespace {

// The DC maps logical to device coordinates by the window origin alone.
bool PlainPixelMapping(HDC dc) {
  if (GetMapMode(dc) != MM_TEXT || GetGraphicsMode(dc) != GM_COMPATIBLE) return false;
  POINT viewport = {};
  GetViewportOrgEx(dc, &viewport);
  return viewport.x == 0 && viewport.y == 0;
}

}  // namespace

bool RenderContext_GdiPlus::FillOpaqueDirect(const RECT& rect, DWORD color) {
  if ((color >> 24) != 0xFF) return false;
  BYTE* bits = bitmap_.GetBits();
  if (!bits || !bitmap_.IsTopDown() || !PlainPixelMapping(dc_)) return false;
  const int width = bitmap_.GetWidth();
  const int height = bitmap_.GetHeight();

  const POINT origin = GetWindowOrg();
  RECT device = rect;
  OffsetRect(&device, -origin.x, -origin.y);
  const RECT whole = {0, 0, width, height};
  if (!IntersectRect(&device, &device, &whole)) return true;

  UniqueRegion area(CreateRectRgnIndirect(&device));
  UniqueRegion clip(CreateRectRgn(0, 0, 0, 0));
  if (!area || !clip) return false;
  const int clipped = GetClipRgn(dc_, clip.get());
  if (clipped < 0) return false;
  if (clipped == 1 && CombineRgn(area.get(), area.get(), clip.get(), RGN_AND) == ERROR) return false;

  const DWORD size = GetRegionData(area.get(), 0, nullptr);
  if (size == 0) return false;
  std::vector<BYTE> buffer(size);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  if (GetRegionData(area.get(), size, data) != size) return false;

  // GDI may still hold drawing for this bitmap; it must land before the writes.
  GdiFlush();
  auto* pixels = reinterpret_cast<DWORD*>(bits);
  const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
  for (DWORD i = 0; i < data->rdh.nCount; ++i) {
    RECT part = {};
    if (!IntersectRect(&part, &rects[i], &whole)) continue;
    for (LONG y = part.top; y < part.bottom; ++y) {
      DWORD* row = pixels + static_cast<size_t>(y) * width;
      std::fill(row + part.left, row + part.right, color);
    }
  }
  return true;
}

bool RenderContext_GdiPlus::FillFrameDirect(const RECT& rect, DWORD color) {
  if (rect.right < rect.left || rect.bottom < rect.top) return false;
  const RECT sides[] = {
      {rect.left, rect.top, rect.right + 1, rect.top + 1},
      {rect.left, rect.bottom, rect.right + 1, rect.bottom + 1},
      {rect.left, rect.top, rect.left + 1, rect.bottom + 1},
      {rect.right, rect.top, rect.right + 1, rect.bottom + 1},
  };
  // The first side tells whether direct fills are possible here; the rest follow.
  if (!FillOpaqueDirect(sides[0], color)) return false;
  for (int i = 1; i < 4; ++i) FillOpaqueDirect(sides[i], color);
  return true;
}

}  // namespace ui
