// The render context over GDI, AlphaBlend and GDI+. Every GDI+ call makes and
// deletes its own graphics object, pen, brush or path; only the fonts made from
// the font table are kept.
#pragma once

#include <vector>

#include "ui/base/font_info.h"
#include "ui/render/gdi_bitmap.h"
#include "ui/render/gdi_clip.h"
#include "ui/render/gdiplus_handles.h"
#include "ui/render/render_context.h"

namespace ui {

class RenderContext_GdiPlus : public IRenderContext {
 public:
  RenderContext_GdiPlus();
  ~RenderContext_GdiPlus() override;
  RenderContext_GdiPlus(const RenderContext_GdiPlus&) = delete;
  RenderContext_GdiPlus& operator=(const RenderContext_GdiPlus&) = delete;

  HDC GetDC() override { return dc_; }
  bool Resize(int width, int height, bool flip = true) override;
  void Clear() override;
  IRenderContext* Clone() override;
  HBITMAP DetachBitmap() override;
  BYTE* GetBits() override { return bitmap_.GetBits(); }
  HBITMAP GetBitmap() override { return bitmap_.GetBitmap(); }
  int GetWidth() override { return bitmap_.GetWidth(); }
  int GetHeight() override { return bitmap_.GetHeight(); }
  void ClearAlpha(const RECT& rect, int alpha = 0) override;
  void RestoreAlpha(const RECT& rect, const RECT& corner_insets) override;
  void RestoreAlphaKeyed(const RECT& rect, const RECT& corner_insets, int key_alpha) override;
  bool IsRenderTransparent() const override { return transparent_; }
  bool SetRenderTransparent(bool transparent) override;
  int SaveDC() override;
  bool RestoreDC() override;
  POINT OffsetWindowOrg(POINT offset) override;
  POINT SetWindowOrg(POINT origin) override;
  POINT GetWindowOrg() const override;
  void SetClip(const RECT& rect) override;
  void SetRoundClip(const RECT& rect, int ellipse_width, int ellipse_height) override;
  void ClearClip() override;
  BOOL BitBlt(int x, int y, int width, int height, HDC source, int source_x = 0,
              int source_y = 0, DWORD rop = SRCCOPY) override;
  bool StretchBlt(int x, int y, int width, int height, HDC source, int source_x, int source_y,
                  int source_width, int source_height, DWORD rop = SRCCOPY) override;
  bool AlphaBlend(int x, int y, int width, int height, HDC source, int source_x, int source_y,
                  int source_width, int source_height, BYTE alpha = 255) override;
  void DrawImage(const RECT& paint_rect, HBITMAP bitmap, bool has_alpha, const RECT& dest,
                 const RECT& source, RECT& corners, bool dpi_scaled, BYTE fade = 255,
                 bool xtiled = false, bool ytiled = false, bool full_xtiled = true,
                 bool full_ytiled = true, int tiled_margin = 0) override;
  void DrawNamedColor(const RECT& rect, const std::wstring& color_name, BYTE fade = 255) override;
  void DrawColor(const RECT& rect, DWORD color, BYTE fade = 255) override;
  void DrawLineWithPen(const IPen* pen, int x1, int y1, int x2, int y2) override;
  void DrawLine(const RECT& rect, int width, DWORD color) override;
  void DrawBezier(const IPen* pen, int x1, int y1, int x2, int y2, int x3, int y3, int x4,
                  int y4) override;
  void DrawRect(const RECT& rect, int width, DWORD color) override;
  void DrawRoundRect(const RECT& rect, const SIZE& corner, int width, DWORD color) override;
  void DrawText(const RECT& rect, const std::wstring& text, DWORD color,
                const std::wstring& font_id, UINT format, BYTE fade = 255,
                bool line_limit = false, bool draw_as_path = false) override;
  void DrawEllipse(const RECT& rect, int width, DWORD color) override;
  void FillEllipse(const RECT& rect, DWORD color) override;
  RECT MeasureText(const std::wstring& text, const std::wstring& font_id, UINT format,
                   int width_limit = -1) override;
  void DrawPath(const IPath* path, const IPen* pen) override;
  void FillPath(const IPath* path, const IBrush* brush) override;
  void DrawBoxShadow(const RECT& rect, const SIZE& round_size, const POINT& offset,
                     int blur_radius, int blur_size, int spread_size, DWORD color,
                     bool exclude) override;

 private:
  // Sets the pixels of a rectangle (logical coordinates) inside the DC's clip to
  // an opaque colour by writing the bitmap directly: the same pixels GDI+ gives
  // an opaque solid fill without anti-aliasing, without the temporary buffer and
  // blend it costs under Wine. False, having drawn nothing, where it cannot (a
  // translucent colour, a bottom-up bitmap, a mapping other than plain pixels).
  bool FillOpaqueDirect(const RECT& rect, DWORD color);
  // A one-pixel frame through the points of `rect` (right and bottom included) in
  // an opaque colour, as four direct fills: GDI+'s pixels for a one-pixel pen
  // without anti-aliasing. False, having drawn nothing, where fills cannot be direct.
  bool FillFrameDirect(const RECT& rect, DWORD color);

  // A GDI+ font made from a logical font of the font table, with the height of one
  // line of it (-1 until measured).
  struct TextFont {
    LOGFONTW logfont = {};
    GpFontPtr font;
    Gdiplus::REAL line_height = -1;
  };
  // The kept font for the table's font `info`, made on first use; null without one.
  // Making a GDI+ font from a logical font costs more under Wine than measuring or
  // drawing a row's text, and every row's label asks for one.
  TextFont* FindTextFont(const FontInfo* info);

  HDC dc_ = nullptr;
  std::vector<TextFont> text_fonts_;
  int saved_state_ = 0;
  HGDIOBJ previous_object_ = nullptr;
  bool transparent_ = false;
  GdiClip clip_;
  GdiBitmap bitmap_;
};

// Copies one piece of an image: StretchBlt for an opaque image drawn resized at full
// fade into an opaque context, AlphaBlend in every other case.
void BlitImagePart(HDC dest_dc, bool transparent, const RECT& dest, HDC source_dc,
                   const RECT& source, bool has_alpha, BYTE fade);

}  // namespace ui
