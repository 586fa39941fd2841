#include "ui/render/gdi_clip.h"

#include "ui/render/gdiplus_handles.h"

namespace ui {

namespace {

// The region is made in device coordinates, so logical ones are shifted by the
// window origin first.
RECT ToDeviceCoordinates(HDC dc, RECT rect) {
  POINT origin = {};
  GetWindowOrgEx(dc, &origin);
  OffsetRect(&rect, -origin.x, -origin.y);
  return rect;
}

void IntersectClip(HDC dc, HRGN region) {
  UniqueRegion owned(region);
  SaveDC(dc);
  if (region) ExtSelectClipRgn(dc, region, RGN_AND);
}

}  // namespace

void GdiClip::CreateClip(HDC dc, RECT rect) {
  if (!dc) return;
  RECT device = ToDeviceCoordinates(dc, rect);
  IntersectClip(dc, CreateRectRgnIndirect(&device));
}

void GdiClip::CreateRoundClip(HDC dc, RECT rect, int ellipse_width, int ellipse_height) {
  if (!dc) return;
  RECT device = ToDeviceCoordinates(dc, rect);
  IntersectClip(dc, CreateRoundRectRgn(device.left, device.top, device.right + 1,
                                       device.bottom + 1, ellipse_width, ellipse_height));
}

void GdiClip::ClearClip(HDC dc) {
  if (!dc) return;
  RestoreDC(dc, -1);
}

}  // namespace ui
