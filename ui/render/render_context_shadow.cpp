// Box shadows of the render context: a round rectangle filled with a path gradient,
// softened by GDI+'s blur effect where the platform has it.
#include <cstdlib>

#include "ui/render/gdiplus_handles.h"
#include "ui/render/render_context_gdiplus.h"
#include "ui/render/round_rect_path.h"

namespace ui {

namespace {

// GDI+'s blur effect, {633C80A4-1843-482B-9EF2-BE2834C5FDD4}.
constexpr GUID kBlurEffectGuid = {0x633c80a4, 0x1843, 0x482b,
                                  {0x9e, 0xf2, 0xbe, 0x28, 0x34, 0xc5, 0xfd, 0xd4}};

struct BlurParameters {
  float radius;
  BOOL expand_edge;
};

// Blurs the area of the bitmap. Platforms without the effect (Wine) refuse to create
// it; the shadow then keeps the gradient's own soft edge.
void ApplyBlur(Gdiplus::GpBitmap* bitmap, float radius, RECT area) {
  Gdiplus::CGpEffect* effect = nullptr;
  if (gp::GdipCreateEffect(kBlurEffectGuid, &effect) != Gdiplus::Ok || !effect) return;
  BlurParameters parameters = {radius, FALSE};
  if (gp::GdipSetEffectParameters(effect, &parameters, sizeof(parameters)) == Gdiplus::Ok)
    gp::GdipBitmapApplyEffect(bitmap, effect, &area, FALSE, nullptr, nullptr);
  gp::GdipDeleteEffect(effect);
}

GpPathPtr NewRoundRectPath(const Gdiplus::RectF& rect, const SIZE& corner) {
  Gdiplus::GpPath* path = nullptr;
  if (gp::GdipCreatePath(Gdiplus::FillModeAlternate, &path) != Gdiplus::Ok) return nullptr;
  AddRoundRectToPath(path, rect, corner);
  return GpPathPtr(path);
}

}  // namespace

void RenderContext_GdiPlus::DrawBoxShadow(const RECT& rect, const SIZE& round_size,
                                          const POINT& offset, int blur_radius, int blur_size,
                                          int spread_size, DWORD color, bool exclude) {
  (void)spread_size;  // this back end has no spread
  RECT area = rect;
  OffsetRect(&area, offset.x, offset.y);
  InflateRect(&area, blur_size, blur_size);
  const float width = static_cast<float>(area.right - area.left);
  const float height = static_cast<float>(area.bottom - area.top);
  const float blur = static_cast<float>(std::abs(blur_size));

  GpPathPtr outer = NewRoundRectPath(Gdiplus::RectF(0, 0, width, height), round_size);
  GpPathPtr inner;
  if (exclude)
    inner = NewRoundRectPath(Gdiplus::RectF(blur, blur, width - 2 * blur, height - 2 * blur),
                             round_size);
  if (!outer || (exclude && !inner)) return;

  Gdiplus::GpPathGradient* raw_gradient = nullptr;
  gp::GdipCreatePathGradientFromPath(outer.get(), &raw_gradient);
  GpBrushPtr gradient(raw_gradient);
  if (!gradient) return;
  gp::GdipSetPathGradientWrapMode(raw_gradient, Gdiplus::WrapModeClamp);
  // The preset blend below decides the colours where GDI+ honours it. Wine ignores it
  // and fills with the centre and surround colours, which default to opaque white; the
  // preset's end stops set here keep the shadow its colour there, fading to the outline.
  gp::GdipSetPathGradientCenterColor(raw_gradient, color);
  Gdiplus::ARGB surround = 0x00FFFFFF;
  INT surround_count = 1;
  gp::GdipSetPathGradientSurroundColorsWithCount(raw_gradient, &surround, &surround_count);
  const Gdiplus::ARGB colors[] = {0x00FFFFFF, color, color};
  const Gdiplus::REAL positions[] = {0.0f, 0.7f, 1.0f};
  gp::GdipSetPathGradientPresetBlend(raw_gradient, colors, positions, 3);

  Gdiplus::GpBitmap* raw_bitmap = nullptr;
  gp::GdipCreateBitmapFromScan0(static_cast<INT>(width), static_cast<INT>(height), 0,
                                PixelFormat32bppARGB, nullptr, &raw_bitmap);
  GpBitmapPtr bitmap(raw_bitmap);
  if (!bitmap) return;
  {
    Gdiplus::GpGraphics* raw_graphics = nullptr;
    gp::GdipGetImageGraphicsContext(bitmap.get(), &raw_graphics);
    GpGraphicsPtr graphics(raw_graphics);
    if (!graphics) return;
    if (exclude) gp::GdipSetClipPath(graphics.get(), inner.get(), Gdiplus::CombineModeExclude);
    gp::GdipFillPath(graphics.get(), gradient.get(), outer.get());
  }

  const int b = blur_size;
  ApplyBlur(bitmap.get(), static_cast<float>(blur_radius),
            RECT{b, b, static_cast<LONG>(width - 2 * b), static_cast<LONG>(height - 2 * b)});

  GpGraphicsPtr target = MakeGraphics(dc_);
  if (!target) return;
  gp::GdipDrawImageRectRect(target.get(), bitmap.get(), static_cast<Gdiplus::REAL>(area.left),
                            static_cast<Gdiplus::REAL>(area.top), width, height, 0, 0, width,
                            height, Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
}

}  // namespace ui
