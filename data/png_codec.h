// PNG encoding of icon images for the icon database, and decoding of stored
// blobs, each through memory streams that are reused from call to call.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "ui/render/gdiplus_handles.h"

// Saves the image as one complete PNG file into `out` (replaced). False when GDI+
// cannot encode it. User-interface thread only: the stream is shared.
bool EncodePng(Gdiplus::GpImage* image, std::vector<uint8_t>& out);

// Decodes a PNG file of the kind the icon cache writes (8-bit RGBA, not interlaced,
// with its resolution, no gamma or colour chunks, at most 256 pixels a side) into
// a 32bpp ARGB bitmap of that resolution, pixel for pixel what GDI+ decodes, but
// without GDI+'s image decoders: their first use loads the system's codec library,
// tens of milliseconds and over a megabyte of memory at start. Null for any other
// or damaged file, which the caller leaves to GDI+.
ui::GpBitmapPtr DecodePlainPng(std::string_view bytes);

// Decodes image files from bytes through one reusable memory stream. A bitmap
// made here reads from the stream, so it must be used or copied before the same
// decoder decodes again.
class BlobDecoder {
 public:
  // The stream starts with room for `initialBytes` and grows when a blob needs more.
  explicit BlobDecoder(size_t initialBytes);
  ~BlobDecoder();
  BlobDecoder(const BlobDecoder&) = delete;
  BlobDecoder& operator=(const BlobDecoder&) = delete;

  // Null for empty or undecodable bytes.
  ui::GpBitmapPtr Decode(std::string_view bytes);

 private:
  IStream* stream_ = nullptr;
};
