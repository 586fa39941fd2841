#include "data/png_codec.h"

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

}  // namespace

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
