// One decoded image: its frame bitmaps, their delays and how it was loaded.
// Shared by shared pointer between the controls that draw it and the image cache.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace Gdiplus {
class GpBitmap;
}

namespace ui {

class ImageInfo {
 public:
  ImageInfo() = default;
  // Deletes every frame bitmap.
  ~ImageInfo();
  ImageInfo(const ImageInfo&) = delete;
  ImageInfo& operator=(const ImageInfo&) = delete;

  // Builds an image from a decoded GDI+ bitmap, one HBITMAP per frame; null when the
  // bitmap failed to decode or a frame cannot be converted. A multi-frame image
  // without frame delays (a multi-size icon, say) loads as a still image of its
  // current frame. The caller keeps and deletes the GDI+ bitmap.
  static std::unique_ptr<ImageInfo> LoadFromBitmap(Gdiplus::GpBitmap* bitmap,
                                                   const std::wstring& path);

  // Appends a frame; the image takes ownership of the bitmap.
  void PushFrame(HBITMAP frame) { frames_.push_back(frame); }
  size_t GetFrameCount() const { return frames_.size(); }
  // The frame bitmap, still owned by the image; null for an index out of range.
  HBITMAP GetFrame(size_t index) const { return index < frames_.size() ? frames_[index] : nullptr; }

  // Frame delays in hundredths of a second, one per frame; empty for still images.
  const std::vector<UINT>& GetFrameDelays() const { return frameDelays_; }
  void SetFrameDelays(std::vector<UINT> delays) { frameDelays_ = std::move(delays); }

  int width = 0;
  int height = 0;
  // The key the image was loaded under (normalised path, DPI variant or cache key).
  std::wstring path;
  // The pixels carry transparency.
  bool alpha = false;
  // Registered in the image cache; its releaser then removes the cache entry.
  bool cached = false;
  // Rasterised at display scale (SVG): the renderer scales the nine-grid corners on
  // the source side as well.
  bool dpiScaled = false;

 private:
  std::vector<UINT> frameDelays_;
  std::vector<HBITMAP> frames_;
};

}  // namespace ui
