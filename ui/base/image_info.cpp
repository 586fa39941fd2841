#include "ui/base/image_info.h"

#include <windows.h>
// gdiplus.h needs PROPID and IStream, which WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace ui {

namespace gp = Gdiplus::DllExports;

namespace {

// {6AEDBD6D-3FB5-418A-83A6-7F45229DC872}
constexpr GUID kFrameDimensionTime = {0x6aedbd6d, 0x3fb5, 0x418a,
                                      {0x83, 0xa6, 0x7f, 0x45, 0x22, 0x9d, 0xc8, 0x72}};
constexpr PROPID kFrameDelayTag = 0x5100;
constexpr Gdiplus::PixelFormat kIndexedBit = 0x00010000;
constexpr Gdiplus::PixelFormat kAlphaBit = 0x00040000;
constexpr Gdiplus::PixelFormat kFormat32bppArgb = 0x0026200A;
constexpr UINT kPaletteHasAlpha = 0x0001;

UINT FrameCountAlongFirstDimension(Gdiplus::GpBitmap* bitmap) {
  UINT dimensions = 0;
  if (gp::GdipImageGetFrameDimensionsCount(bitmap, &dimensions) != Gdiplus::Ok || dimensions == 0)
    return 1;
  std::vector<GUID> ids(dimensions);
  if (gp::GdipImageGetFrameDimensionsList(bitmap, ids.data(), dimensions) != Gdiplus::Ok) return 1;
  UINT frames = 0;
  if (gp::GdipImageGetFrameCount(bitmap, &ids[0], &frames) != Gdiplus::Ok) return 1;
  return frames;
}

// The frame delay property, one value per frame; false when the image has none.
bool ReadFrameDelays(Gdiplus::GpBitmap* bitmap, std::vector<UINT>& delays) {
  UINT size = 0;
  if (gp::GdipGetPropertyItemSize(bitmap, kFrameDelayTag, &size) != Gdiplus::Ok ||
      size < sizeof(Gdiplus::PropertyItem))
    return false;
  std::vector<BYTE> buffer(size);
  auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
  if (gp::GdipGetPropertyItem(bitmap, kFrameDelayTag, size, item) != Gdiplus::Ok || !item->value)
    return false;
  // The value lies inside the same buffer; never read past it.
  const BYTE* value = static_cast<const BYTE*>(item->value);
  const BYTE* end = buffer.data() + buffer.size();
  if (value < buffer.data() || value > end) return false;
  size_t bytes = std::min<size_t>(item->length, static_cast<size_t>(end - value));
  delays.resize(bytes / sizeof(UINT));
  if (!delays.empty()) std::memcpy(delays.data(), value, delays.size() * sizeof(UINT));
  return true;
}

bool AnyAlphaBelowOpaque(HBITMAP frame) {
  BITMAP info = {};
  if (GetObjectW(frame, sizeof(info), &info) != sizeof(info) || !info.bmBits) return false;
  const BYTE* rows = static_cast<const BYTE*>(info.bmBits);
  for (LONG y = 0; y < info.bmHeight; ++y) {
    const BYTE* row = rows + static_cast<size_t>(y) * info.bmWidthBytes;
    for (LONG byte = 3; byte < info.bmWidthBytes; byte += 4) {
      if (row[byte] != 255) return true;
    }
  }
  return false;
}

}  // namespace

ImageInfo::~ImageInfo() {
  for (HBITMAP frame : frames_) {
    if (frame) DeleteObject(frame);
  }
}

std::unique_ptr<ImageInfo> ImageInfo::LoadFromBitmap(Gdiplus::GpBitmap* bitmap,
                                                     const std::wstring& path) {
  if (!bitmap) return nullptr;
  // A bitmap whose decoding failed answers every query with an error.
  UINT width = 0;
  UINT height = 0;
  if (gp::GdipGetImageWidth(bitmap, &width) != Gdiplus::Ok ||
      gp::GdipGetImageHeight(bitmap, &height) != Gdiplus::Ok)
    return nullptr;

  auto image = std::make_unique<ImageInfo>();
  UINT frames = FrameCountAlongFirstDimension(bitmap);
  if (frames > 1) {
    std::vector<UINT> delays;
    if (ReadFrameDelays(bitmap, delays))
      image->frameDelays_ = std::move(delays);
    else
      frames = 1;  // no delays to animate with: keep the current frame as a still image
  }

  for (UINT i = 0; i < frames; ++i) {
    if (frames > 1 && gp::GdipImageSelectActiveFrame(bitmap, &kFrameDimensionTime, i) != Gdiplus::Ok)
      return nullptr;
    HBITMAP frame = nullptr;
    if (gp::GdipCreateHBITMAPFromBitmap(bitmap, &frame, 0xFF000000) != Gdiplus::Ok || !frame)
      return nullptr;
    image->frames_.push_back(frame);
  }

  image->width = static_cast<int>(width);
  image->height = static_cast<int>(height);
  image->path = path;

  Gdiplus::PixelFormat format = 0;
  gp::GdipGetImagePixelFormat(bitmap, &format);
  image->alpha = (format & kAlphaBit) != 0;
  if (format & kIndexedBit) {
    INT palette_size = 0;
    if (gp::GdipGetImagePaletteSize(bitmap, &palette_size) == Gdiplus::Ok &&
        palette_size >= static_cast<INT>(sizeof(Gdiplus::ColorPalette))) {
      std::vector<BYTE> buffer(palette_size);
      auto* palette = reinterpret_cast<Gdiplus::ColorPalette*>(buffer.data());
      if (gp::GdipGetImagePalette(bitmap, palette, palette_size) == Gdiplus::Ok)
        image->alpha = (palette->Flags & kPaletteHasAlpha) != 0;
    }
  }
  if (format == kFormat32bppArgb) {
    image->alpha = false;
    for (HBITMAP frame : image->frames_) {
      if (AnyAlphaBelowOpaque(frame)) {
        image->alpha = true;
        break;
      }
    }
  }
  return image;
}

}  // namespace ui
