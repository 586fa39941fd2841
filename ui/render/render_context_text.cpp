// Text and named colours of the render context. Fonts come from the framework's
// font table; their logical fonts are read in the wide form so that Chinese face
// names reach GDI+ intact.
#include <algorithm>
#include <cstring>

#include "ui/base/ui_globals.h"
#include "ui/render/gdiplus_handles.h"
#include "ui/render/render_context_gdiplus.h"
#include "ui/render/text_fit.h"

namespace ui {

namespace {

// GDI+ reports its installed fonts on every call; without any, text goes through GDI.
bool GdiplusHasFonts() {
  Gdiplus::GpFontCollection* installed = nullptr;
  if (gp::GdipNewInstalledFontCollection(&installed) != Gdiplus::Ok || !installed) return false;
  INT count = 0;
  gp::GdipGetFontCollectionFamilyCount(installed, &count);
  return count > 0;
}

// The device context's current font, for a font id the table does not hold.
GpFontPtr MakeFontFromDC(HDC dc) {
  Gdiplus::GpFont* font = nullptr;
  gp::GdipCreateFontFromDC(dc, &font);
  return GpFontPtr(font);
}

bool HasLogicalFont(const FontInfo* info) {
  LOGFONTW logfont = {};
  return info && info->handle && GetObjectW(info->handle, sizeof(logfont), &logfont) == sizeof(logfont);
}

// A GDI+ font to use for one call: the kept one, or one made for the call alone.
struct CallFont {
  Gdiplus::GpFont* get() const { return kept ? kept : made.get(); }
  Gdiplus::GpFont* kept = nullptr;
  GpFontPtr made;
};

GpStringFormatPtr CloneTypographicFormat() {
  Gdiplus::GpStringFormat* generic = nullptr;
  Gdiplus::GpStringFormat* format = nullptr;
  if (gp::GdipStringFormatGetGenericTypographic(&generic) != Gdiplus::Ok) return nullptr;
  gp::GdipCloneStringFormat(generic, &format);
  return GpStringFormatPtr(format);
}

// Selects the table's font into the DC for the lifetime of the object.
class SelectedFont {
 public:
  SelectedFont(HDC dc, const FontInfo* info) : dc_(dc) {
    if (info && info->handle) old_ = SelectObject(dc, info->handle);
  }
  ~SelectedFont() {
    if (old_) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

// The text cut with an ellipsis to what the layout box shows: one line within its
// width, or as many whole lines as its height holds (at least one). Measured with
// the drawing's own format: a box without a height trims nothing.
std::wstring FitToLayout(Gdiplus::GpGraphics* graphics, Gdiplus::GpFont* font, Gdiplus::GpStringFormat* format,
                         const std::wstring& text, const Gdiplus::RectF& layout, bool singleLine) {
  if (layout.Width <= 0) return text;
  auto measure = [&](const std::wstring& what, Gdiplus::REAL width) {
    Gdiplus::RectF box(0, 0, width, 0);
    Gdiplus::RectF bounds(0, 0, 0, 0);
    gp::GdipMeasureString(graphics, what.c_str(), static_cast<INT>(what.size()), font, &box, format, &bounds,
                          nullptr, nullptr);
    return bounds;
  };
  if (singleLine) {
    return FitWithEllipsis(text, [&](const std::wstring& candidate) { return measure(candidate, 0).Width <= layout.Width; });
  }
  // Whole lines only: the room is asked for once a text is taller than the box.
  Gdiplus::REAL room = -1;
  return FitWithEllipsis(text, [&](const std::wstring& candidate) {
    const Gdiplus::REAL height = measure(candidate, layout.Width).Height;
    if (height <= layout.Height + 0.5f) return true;
    if (room < 0) {
      const Gdiplus::REAL lineHeight = measure(L"测试", 0).Height;
      const int lines = lineHeight > 0 ? std::max(1, static_cast<int>((layout.Height + 0.5f) / lineHeight)) : 1;
      room = lineHeight > 0 ? lines * lineHeight + 0.5f : height;
    }
    return height <= room;
  });
}

}  // namespace

RenderContext_GdiPlus::TextFont* RenderContext_GdiPlus::FindTextFont(const FontInfo* info) {
  LOGFONTW logfont = {};
  if (!info || !info->handle || GetObjectW(info->handle, sizeof(logfont), &logfont) != sizeof(logfont))
    return nullptr;
  // Keyed by the logical font itself: a handle of the table may be freed and reused.
  for (TextFont& known : text_fonts_) {
    if (memcmp(&known.logfont, &logfont, sizeof(logfont)) == 0) return &known;
  }
  Gdiplus::GpFont* font = nullptr;
  if (gp::GdipCreateFontFromLogfontW(dc_, &logfont, &font) != Gdiplus::Ok || !font) return nullptr;
  TextFont made;
  made.logfont = logfont;
  made.font.reset(font);
  text_fonts_.push_back(std::move(made));
  return &text_fonts_.back();
}

void RenderContext_GdiPlus::DrawNamedColor(const RECT& rect, const std::wstring& color_name,
                                           BYTE fade) {
  if (color_name.empty()) return;
  DrawColor(rect, UiGlobals::GetColor(color_name), fade);
}

void RenderContext_GdiPlus::DrawText(const RECT& rect, const std::wstring& text, DWORD color,
                                     const std::wstring& font_id, UINT format, BYTE fade,
                                     bool line_limit, bool draw_as_path) {
  if (text.empty()) return;
  const FontInfo* info = UiGlobals::GetFont(font_id);

  if (!GdiplusHasFonts()) {
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF));
    SelectedFont selected(dc_, info);
    RECT area = rect;
    ::DrawTextW(dc_, text.c_str(), -1, &area, format);
    return;
  }

  GpGraphicsPtr graphics = MakeGraphics(dc_);
  // A table font that GDI+ cannot make draws nothing rather than in another font.
  CallFont font;
  if (!HasLogicalFont(info)) {
    font.made = MakeFontFromDC(dc_);
  } else if (TextFont* kept = FindTextFont(info)) {
    font.kept = kept->font.get();
  }
  GpStringFormatPtr string_format = CloneTypographicFormat();
  if (!graphics || !font.get() || !string_format) return;

  Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(rect.left), static_cast<Gdiplus::REAL>(rect.top),
                        static_cast<Gdiplus::REAL>(rect.right - rect.left),
                        static_cast<Gdiplus::REAL>(rect.bottom - rect.top));

  DWORD alpha = static_cast<DWORD>(((color >> 24) / 255.0) * fade) & 0xFF;
  if (alpha == 255) alpha = 254;
  Gdiplus::GpSolidFill* raw_brush = nullptr;
  gp::GdipCreateSolidFill((alpha << 24) | (color & 0x00FFFFFF), &raw_brush);
  GpBrushPtr brush(raw_brush);
  if (!brush) return;

  Gdiplus::GpStringFormat* sf = string_format.get();
  if (format & DT_END_ELLIPSIS) gp::GdipSetStringFormatTrimming(sf, Gdiplus::StringTrimmingEllipsisCharacter);
  INT flags = 0;
  if (format & DT_NOCLIP) flags |= Gdiplus::StringFormatFlagsNoClip;
  if (format & DT_SINGLELINE) flags |= Gdiplus::StringFormatFlagsNoWrap;
  if (line_limit) flags |= Gdiplus::StringFormatFlagsLineLimit;
  gp::GdipSetStringFormatFlags(sf, flags);

  if (format & DT_CENTER)
    gp::GdipSetStringFormatAlign(sf, Gdiplus::StringAlignmentCenter);
  else if (format & DT_RIGHT)
    gp::GdipSetStringFormatAlign(sf, Gdiplus::StringAlignmentFar);
  else
    gp::GdipSetStringFormatAlign(sf, Gdiplus::StringAlignmentNear);

  if (format & DT_VCENTER) {
    gp::GdipSetStringFormatLineAlign(sf, Gdiplus::StringAlignmentCenter);
    // 新宋体 sits one pixel high when centred; move it down where there is room.
    if (info && info->faceName == L"新宋体" && layout.Height >= info->size + 2)
      layout.Y += 1.0f;
  } else if (format & DT_BOTTOM) {
    gp::GdipSetStringFormatLineAlign(sf, Gdiplus::StringAlignmentFar);
  } else {
    gp::GdipSetStringFormatLineAlign(sf, Gdiplus::StringAlignmentNear);
  }

  Gdiplus::GpGraphics* g = graphics.get();
  gp::GdipSetSmoothingMode(g, Gdiplus::SmoothingModeHighQuality);
  gp::GdipSetInterpolationMode(g, Gdiplus::InterpolationModeHighQualityBicubic);
  gp::GdipSetTextRenderingHint(g, Gdiplus::TextRenderingHintSystemDefault);

  // A text that does not fit is cut here rather than left to the trimming above,
  // which not every GDI+ carries out.
  const std::wstring shown =
      (format & DT_END_ELLIPSIS) ? FitToLayout(g, font.get(), sf, text, layout, (format & DT_SINGLELINE) != 0) : text;
  const INT length = static_cast<INT>(shown.size());
  if (draw_as_path) {
    gp::GdipSetSmoothingMode(g, Gdiplus::SmoothingModeAntiAlias);
    Gdiplus::GpFontFamily* raw_family = nullptr;
    gp::GdipGetFamily(font.get(), &raw_family);
    GpFontFamilyPtr family(raw_family);
    INT style = 0;
    Gdiplus::REAL size = 0;
    gp::GdipGetFontStyle(font.get(), &style);
    gp::GdipGetFontSize(font.get(), &size);
    Gdiplus::GpPath* raw_path = nullptr;
    gp::GdipCreatePath(Gdiplus::FillModeAlternate, &raw_path);
    GpPathPtr path(raw_path);
    if (!family || !path) return;
    gp::GdipAddPathString(path.get(), shown.c_str(), length, family.get(), style, size, &layout, sf);
    gp::GdipFillPath(g, brush.get(), path.get());
  } else {
    gp::GdipDrawString(g, shown.c_str(), length, font.get(), &layout, sf, brush.get());
  }
}

RECT RenderContext_GdiPlus::MeasureText(const std::wstring& text, const std::wstring& font_id,
                                        UINT format, int width_limit) {
  const FontInfo* info = UiGlobals::GetFont(font_id);
  if (!GdiplusHasFonts()) {
    SetBkMode(dc_, TRANSPARENT);
    SelectedFont selected(dc_, info);
    SIZE extent = {};
    GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(wcslen(text.c_str())), &extent);
    return RECT{0, 0, extent.cx + 1, extent.cy + 1};
  }

  GpGraphicsPtr graphics = MakeGraphics(dc_);
  TextFont* kept = HasLogicalFont(info) ? FindTextFont(info) : nullptr;
  CallFont font;
  if (kept) {
    font.kept = kept->font.get();
  } else if (!HasLogicalFont(info)) {
    font.made = MakeFontFromDC(dc_);
  }
  GpStringFormatPtr string_format = CloneTypographicFormat();
  if (!graphics || !font.get() || !string_format) return RECT{};
  gp::GdipSetStringFormatFlags(string_format.get(),
                               (format & DT_SINGLELINE) ? Gdiplus::StringFormatFlagsNoWrap : 0);

  auto measure = [&](const std::wstring& what, const Gdiplus::RectF& layout) {
    Gdiplus::RectF bounds(0, 0, 0, 0);
    gp::GdipMeasureString(graphics.get(), what.c_str(), static_cast<INT>(what.size()), font.get(),
                          &layout, string_format.get(), &bounds, nullptr, nullptr);
    return bounds;
  };

  Gdiplus::RectF layout(0, 0, 0, 0);
  if (width_limit != -1) {
    Gdiplus::REAL height = 0;
    if (format & DT_SINGLELINE) {
      // The same for every text of the font: measured once for a kept one.
      if (kept && kept->line_height >= 0) {
        height = kept->line_height;
      } else {
        height = measure(L"测试", Gdiplus::RectF(0, 0, 0, 0)).Height;
        if (kept) kept->line_height = height;
      }
    }
    layout = Gdiplus::RectF(0, 0, static_cast<Gdiplus::REAL>(width_limit), height);
  }
  Gdiplus::RectF bounds = measure(text, layout);
  return RECT{static_cast<LONG>(bounds.X), static_cast<LONG>(bounds.Y),
              static_cast<LONG>(bounds.X + bounds.Width + 1),
              static_cast<LONG>(bounds.Y + bounds.Height + 1)};
}

}  // namespace ui
