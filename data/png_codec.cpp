#include "data/png_codec.h"

#include <zlib.h>

#include <cstdlib>
#include <cstring>

namespace {

namespace gp = Gdiplus::DllExports;

// GDI+'s PNG encoder, {557cf406-1a04-11d3-9a73-0000f81ef32e}.
constexpr CLSID kPngEncoder = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
constexpr size_t kEncodeStreamBytes = 65536;

// A stream over a movable block that it frees itself on release; null when memory
// is short.
IStream* NewMemoryStream(size_t initialBytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, initialBytes);
  if (!block) return nullptr;
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
    GlobalFree(block);
    return nullptr;
  }
  return stream;
}

bool Rewind(IStream* stream) {
  LARGE_INTEGER zero{};
  return SUCCEEDED(stream->Seek(zero, STREAM_SEEK_SET, nullptr));
}

// The process-wide stream every encoding goes through; released at exit.
class EncodeStream {
 public:
  EncodeStream() : stream_(NewMemoryStream(kEncodeStreamBytes)) {}
  ~EncodeStream() {
    if (stream_) stream_->Release();
  }
  IStream* get() const { return stream_; }

 private:
  IStream* stream_;
};

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint32_t kMaxPlainSide = 256;

uint32_t ReadBigEndian(const uint8_t* at) {
  return (uint32_t{at[0]} << 24) | (uint32_t{at[1]} << 16) | (uint32_t{at[2]} << 8) | uint32_t{at[3]};
}

// Chunks that do not change the pixels GDI+ gives.
bool IsHarmlessChunk(std::string_view type) {
  return type == "tEXt" || type == "zTXt" || type == "iTXt" || type == "tIME";
}

uint8_t Paeth(int left, int up, int upLeft) {
  const int estimate = left + up - upLeft;
  const int toLeft = std::abs(estimate - left);
  const int toUp = std::abs(estimate - up);
  const int toUpLeft = std::abs(estimate - upLeft);
  if (toLeft <= toUp && toLeft <= toUpLeft) return static_cast<uint8_t>(left);
  return static_cast<uint8_t>(toUp <= toUpLeft ? up : upLeft);
}

// Undoes the filters of `rows` scan lines of `stride` bytes, each led by its
// filter byte, in place. False for an unknown filter.
bool Unfilter(uint8_t* data, uint32_t rows, size_t stride, size_t pixelBytes) {
  const uint8_t* previous = nullptr;
  for (uint32_t y = 0; y < rows; ++y) {
    uint8_t* row = data + y * (stride + 1);
    const uint8_t filter = row[0];
    uint8_t* line = row + 1;
    for (size_t x = 0; x < stride; ++x) {
      const int left = x >= pixelBytes ? line[x - pixelBytes] : 0;
      const int up = previous ? previous[x] : 0;
      const int upLeft = previous && x >= pixelBytes ? previous[x - pixelBytes] : 0;
      switch (filter) {
        case 0: break;
        case 1: line[x] = static_cast<uint8_t>(line[x] + left); break;
        case 2: line[x] = static_cast<uint8_t>(line[x] + up); break;
        case 3: line[x] = static_cast<uint8_t>(line[x] + (left + up) / 2); break;
        case 4: line[x] = static_cast<uint8_t>(line[x] + Paeth(left, up, upLeft)); break;
        default: return false;
      }
    }
    previous = line;
  }
  return true;
}

}  // namespace

ui::GpBitmapPtr DecodePlainPng(std::string_view bytes) {
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  if (bytes.size() < sizeof(kPngSignature) || std::memcmp(data, kPngSignature, sizeof(kPngSignature)) != 0) {
    return nullptr;
  }
  uint32_t width = 0, height = 0, pixelBytes = 0;
  double dpiX = 0, dpiY = 0;
  std::string compressed;
  bool ended = false;
  size_t at = sizeof(kPngSignature);
  for (bool first = true; !ended; first = false) {
    if (bytes.size() - at < 12) return nullptr;
    const uint32_t length = ReadBigEndian(data + at);
    const std::string_view type(bytes.data() + at + 4, 4);
    if (length > bytes.size() - at - 12) return nullptr;
    const uint8_t* body = data + at + 8;
    // A chunk whose check sum does not match is left to GDI+.
    if (static_cast<uint32_t>(crc32(crc32(0L, Z_NULL, 0), data + at + 4, length + 4)) != ReadBigEndian(body + length)) {
      return nullptr;
    }
    if (first != (type == "IHDR")) return nullptr;
    if (type == "IHDR") {
      if (length != 13) return nullptr;
      width = ReadBigEndian(body);
      height = ReadBigEndian(body + 4);
      const uint8_t depth = body[8], colour = body[9];
      // 8-bit RGBA only: GDI+ gives other kinds other pixel formats.
      if (depth != 8 || colour != 6 || body[10] != 0 || body[11] != 0 || body[12] != 0) return nullptr;
      if (width == 0 || height == 0 || width > kMaxPlainSide || height > kMaxPlainSide) return nullptr;
      pixelBytes = 4;
    } else if (type == "pHYs") {
      // Pixels per metre; a file without its resolution is left to GDI+.
      if (length != 9 || body[8] != 1) return nullptr;
      dpiX = ReadBigEndian(body) * 0.0254;
      dpiY = ReadBigEndian(body + 4) * 0.0254;
    } else if (type == "IDAT") {
      compressed.append(reinterpret_cast<const char*>(body), length);
    } else if (type == "IEND") {
      ended = true;
    } else if (!IsHarmlessChunk(type)) {
      return nullptr;
    }
    at += size_t{length} + 12;
  }
  if (dpiX <= 0 || dpiY <= 0 || compressed.empty()) return nullptr;

  const size_t stride = size_t{width} * pixelBytes;
  std::vector<uint8_t> raw(size_t{height} * (stride + 1));
  uLongf rawLength = static_cast<uLongf>(raw.size());
  if (uncompress(raw.data(), &rawLength, reinterpret_cast<const Bytef*>(compressed.data()),
                 static_cast<uLong>(compressed.size())) != Z_OK ||
      rawLength != raw.size() || !Unfilter(raw.data(), height, stride, pixelBytes)) {
    return nullptr;
  }

  Gdiplus::GpBitmap* bitmap = nullptr;
  if (gp::GdipCreateBitmapFromScan0(static_cast<INT>(width), static_cast<INT>(height), 0, PixelFormat32bppARGB,
                                    nullptr, &bitmap) != Gdiplus::Ok) {
    return nullptr;
  }
  ui::GpBitmapPtr image(bitmap);
  const Gdiplus::GpRect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
  Gdiplus::BitmapData locked{};
  if (gp::GdipBitmapLockBits(bitmap, &all, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &locked) !=
      Gdiplus::Ok) {
    return nullptr;
  }
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* source = raw.data() + y * (stride + 1) + 1;
    auto* target = static_cast<uint8_t*>(locked.Scan0) + static_cast<ptrdiff_t>(y) * locked.Stride;
    for (uint32_t x = 0; x < width; ++x, source += pixelBytes, target += 4) {
      target[0] = source[2];
      target[1] = source[1];
      target[2] = source[0];
      target[3] = source[3];
    }
  }
  gp::GdipBitmapUnlockBits(bitmap, &locked);
  gp::GdipBitmapSetResolution(bitmap, static_cast<Gdiplus::REAL>(dpiX), static_cast<Gdiplus::REAL>(dpiY));
  return image;
}

bool EncodePng(Gdiplus::GpImage* image, std::vector<uint8_t>& out) {
  static EncodeStream shared;
  IStream* stream = shared.get();
  if (!image || !stream || !Rewind(stream)) return false;
  if (gp::GdipSaveImageToStream(image, stream, &kPngEncoder, nullptr) != Gdiplus::Ok) return false;
  LARGE_INTEGER zero{};
  ULARGE_INTEGER position{};
  if (FAILED(stream->Seek(zero, STREAM_SEEK_CUR, &position)) || position.QuadPart == 0) return false;
  HGLOBAL block = nullptr;
  if (FAILED(GetHGlobalFromStream(stream, &block))) return false;
  const void* bytes = GlobalLock(block);
  if (!bytes) return false;
  out.resize(static_cast<size_t>(position.QuadPart));
  std::memcpy(out.data(), bytes, out.size());
  GlobalUnlock(block);
  return true;
}

BlobDecoder::BlobDecoder(size_t initialBytes) : stream_(NewMemoryStream(initialBytes)) {}

BlobDecoder::~BlobDecoder() {
  if (stream_) stream_->Release();
}

ui::GpBitmapPtr BlobDecoder::Decode(std::string_view bytes) {
  if (auto plain = DecodePlainPng(bytes)) return plain;
  if (!stream_ || bytes.empty() || !Rewind(stream_)) return nullptr;
  ULONG written = 0;
  if (FAILED(stream_->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written)) ||
      written != bytes.size())
    return nullptr;
  // Cut what an earlier, longer blob left behind, so a truncated blob cannot be
  // completed from stale bytes.
  ULARGE_INTEGER size{};
  size.QuadPart = bytes.size();
  if (FAILED(stream_->SetSize(size)) || !Rewind(stream_)) return nullptr;
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (gp::GdipCreateBitmapFromStream(stream_, &bitmap) != Gdiplus::Ok) return nullptr;
  return ui::GpBitmapPtr(bitmap);
}
