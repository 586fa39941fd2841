// The drawing surface of the framework: an off-screen 32-bit bitmap selected into a
// memory device context. Coordinates are logical coordinates of that device context;
// colours are ARGB (alpha in the top byte); a fade runs from 0 (invisible) to 255.
#pragma once

#include <windows.h>

#include <string>

#include "ui/base/weak_callback.h"

namespace ui {

class IBrush;
class IPath;
class IPen;

class IRenderContext : public nbase::SupportWeakCallback {
 public:
  virtual HDC GetDC() = 0;
  // Makes a new bitmap of the size (at least 1 x 1); false, with the pixels kept,
  // when the size is unchanged or the bitmap cannot be made.
  virtual bool Resize(int width, int height, bool flip = true) = 0;
  virtual void Clear() = 0;
  // A new top-down context of the same size with a copy of the pixels.
  virtual IRenderContext* Clone() = 0;
  // Hands the bitmap to the caller; null when the context holds none.
  virtual HBITMAP DetachBitmap() = 0;
  virtual BYTE* GetBits() = 0;
  virtual HBITMAP GetBitmap() = 0;
  virtual int GetWidth() = 0;
  virtual int GetHeight() = 0;
  virtual void ClearAlpha(const RECT& rect, int alpha = 0) = 0;
  virtual void RestoreAlpha(const RECT& rect, const RECT& corner_insets) = 0;
  virtual void RestoreAlphaKeyed(const RECT& rect, const RECT& corner_insets, int key_alpha) = 0;
  virtual bool IsRenderTransparent() const = 0;
  // Returns the previous value. A transparent context blends every image piece.
  virtual bool SetRenderTransparent(bool transparent) = 0;
  // One saved level only.
  virtual int SaveDC() = 0;
  virtual bool RestoreDC() = 0;
  virtual POINT OffsetWindowOrg(POINT offset) = 0;
  virtual POINT SetWindowOrg(POINT origin) = 0;
  virtual POINT GetWindowOrg() const = 0;
  virtual void SetClip(const RECT& rect) = 0;
  virtual void SetRoundClip(const RECT& rect, int ellipse_width, int ellipse_height) = 0;
  virtual void ClearClip() = 0;
  virtual BOOL BitBlt(int x, int y, int width, int height, HDC source, int source_x = 0,
                      int source_y = 0, DWORD rop = SRCCOPY) = 0;
  virtual bool StretchBlt(int x, int y, int width, int height, HDC source, int source_x,
                          int source_y, int source_width, int source_height,
                          DWORD rop = SRCCOPY) = 0;
  virtual bool AlphaBlend(int x, int y, int width, int height, HDC source, int source_x,
                          int source_y, int source_width, int source_height,
                          BYTE alpha = 255) = 0;
  // Draws a bitmap as a nine-part grid: corners at their size, edges stretched, the
  // centre stretched or tiled. With dpi_scaled, `corners` is replaced by its scaled
  // value, since the bitmap is already at display scale.
  virtual void DrawImage(const RECT& paint_rect, HBITMAP bitmap, bool has_alpha,
                         const RECT& dest, const RECT& source, RECT& corners, bool dpi_scaled,
                         BYTE fade = 255, bool xtiled = false, bool ytiled = false,
                         bool full_xtiled = true, bool full_ytiled = true,
                         int tiled_margin = 0) = 0;
  // Fills with the colour of the framework colour table; nothing for an empty name.
  virtual void DrawNamedColor(const RECT& rect, const std::wstring& color_name,
                              BYTE fade = 255) = 0;
  virtual void DrawColor(const RECT& rect, DWORD color, BYTE fade = 255) = 0;
  virtual void DrawLineWithPen(const IPen* pen, int x1, int y1, int x2, int y2) = 0;
  // A line from the rectangle's top-left to its bottom-right corner.
  virtual void DrawLine(const RECT& rect, int width, DWORD color) = 0;
  virtual void DrawBezier(const IPen* pen, int x1, int y1, int x2, int y2, int x3, int y3,
                          int x4, int y4) = 0;
  virtual void DrawRect(const RECT& rect, int width, DWORD color) = 0;
  virtual void DrawRoundRect(const RECT& rect, const SIZE& corner, int width, DWORD color) = 0;
  // `format` holds DrawText flags (DT_CENTER, DT_VCENTER, DT_SINGLELINE, ...).
  virtual void DrawText(const RECT& rect, const std::wstring& text, DWORD color,
                        const std::wstring& font_id, UINT format, BYTE fade = 255,
                        bool line_limit = false, bool draw_as_path = false) = 0;
  virtual void DrawEllipse(const RECT& rect, int width, DWORD color) = 0;
  virtual void FillEllipse(const RECT& rect, DWORD color) = 0;
  // The bounds of the text; a width limit of -1 means none.
  virtual RECT MeasureText(const std::wstring& text, const std::wstring& font_id, UINT format,
                           int width_limit = -1) = 0;
  virtual void DrawPath(const IPath* path, const IPen* pen) = 0;
  virtual void FillPath(const IPath* path, const IBrush* brush) = 0;
  // A soft shadow of a round rectangle; with `exclude` the area inside the shadow's
  // inner outline is left untouched. The spread size has no effect here.
  virtual void DrawBoxShadow(const RECT& rect, const SIZE& round_size, const POINT& offset,
                             int blur_radius, int blur_size, int spread_size, DWORD color,
                             bool exclude) = 0;
};

}  // namespace ui
