#include "ui/base/svg_image.h"

#include <cmath>
#include <cstdio>
#include <string>

#define NANOSVG_IMPLEMENTATION
#include <nanosvg.h>
#define NANOSVGRAST_IMPLEMENTATION
#include <nanosvgrast.h>

#include "ui/base/dpi_scaler.h"
#include "ui/base/image_info.h"
#include "ui/base/string_util.h"
#include "ui/render/gdi_bitmap.h"

namespace ui {

namespace {

constexpr float kSvgDpi = 96.0f;
// Larger files are no icons; reading them whole is not worth the memory.
constexpr LONGLONG kMaxSvgBytes = 64LL * 1024 * 1024;

struct RasterizerDeleter {
  void operator()(NSVGrasterizer* r) const { nsvgDeleteRasterizer(r); }
};
struct SvgDeleter {
  void operator()(NSVGimage* svg) const { nsvgDelete(svg); }
};

// nanosvg writes red, green, blue, alpha with straight alpha; bitmaps here hold
// blue, green, red, alpha premultiplied.
void ToPremultipliedBgra(BYTE* pixels, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    BYTE* p = pixels + i * 4;
    const unsigned alpha = p[3];
    const BYTE red = p[0];
    p[0] = static_cast<BYTE>((p[2] * alpha + 127) / 255);
    p[1] = static_cast<BYTE>((p[1] * alpha + 127) / 255);
    p[2] = static_cast<BYTE>((red * alpha + 127) / 255);
  }
}

// A top-down width x height DIB holding the SVG rasterised at the scale.
HBITMAP Rasterise(NSVGimage* svg, int width, int height, float scale) {
  std::unique_ptr<NSVGrasterizer, RasterizerDeleter> rasterizer(nsvgCreateRasterizer());
  if (!rasterizer) return nullptr;
  HDC screen = GetDC(nullptr);
  BYTE* bits = nullptr;
  HBITMAP bitmap = CreateDib32(screen, width, height, true, &bits);
  ReleaseDC(nullptr, screen);
  if (!bitmap || !bits) return nullptr;
  nsvgRasterize(rasterizer.get(), svg, 0, 0, scale, bits, width, height, width * 4);
  ToPremultipliedBgra(bits, static_cast<size_t>(width) * static_cast<size_t>(height));
  return bitmap;
}

}  // namespace

bool IsSvgPath(const std::wstring& path) {
  if (path.size() <= 3) return false;
  const size_t dot = path.rfind(L'.');
  if (dot == std::wstring::npos) return false;
  return ToLowerAscii(std::wstring_view(path).substr(dot)) == L".svg";
}

NSVGimage* ParseSvgFromMemory(char* text) {
  if (!text) return nullptr;
  return nsvgParse(text, "px", kSvgDpi);
}

NSVGimage* ParseSvgFromFile(const std::wstring& path) {
  // Read through the wide file API: a path narrowed to the ANSI code page loses
  // every character outside it (a Chinese user name in the program's folder, say).
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  LARGE_INTEGER size = {};
  std::string text;
  bool read = GetFileSizeEx(file, &size) && size.QuadPart >= 0 && size.QuadPart < kMaxSvgBytes;
  if (read) {
    text.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    read = text.empty() ||
           (ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &got, nullptr) &&
            got == text.size());
  }
  CloseHandle(file);
  if (!read) return nullptr;
  return nsvgParse(text.data(), "px", kSvgDpi);
}

void DeleteSvgImage(NSVGimage* svg) {
  if (svg) nsvgDelete(svg);
}

std::unique_ptr<ImageInfo> SvgToImageInfo(NSVGimage* svg, const std::wstring& path) {
  std::unique_ptr<NSVGimage, SvgDeleter> owned(svg);
  if (!svg) return nullptr;
  const int width = static_cast<int>(svg->width);
  const int height = static_cast<int>(svg->height);
  if (width == 0 || height == 0) return nullptr;
  const DpiScaler& scaler = DpiScaler::Instance();
  const float factor = scaler.IsAdapted() ? static_cast<float>(scaler.Scale()) / 100.0f : 1.0f;
  const int scaled_width = static_cast<int>(width * factor);
  const int scaled_height = static_cast<int>(height * factor);
  HBITMAP bitmap = Rasterise(svg, scaled_width, scaled_height, factor);
  if (!bitmap) return nullptr;
  auto image = std::make_unique<ImageInfo>();
  image->PushFrame(bitmap);
  image->width = scaled_width;
  image->height = scaled_height;
  image->path = path;
  image->alpha = true;
  image->dpiScaled = true;
  return image;
}

HBITMAP RenderSvgToBitmap(NSVGimage* svg, int size) {
  if (!svg || size <= 0) return nullptr;
  const int width = static_cast<int>(svg->width);
  const int height = static_cast<int>(svg->height);
  if (width != height || width == 0) return nullptr;
  return Rasterise(svg, size, size, static_cast<float>(size) / static_cast<float>(width));
}

}  // namespace ui
