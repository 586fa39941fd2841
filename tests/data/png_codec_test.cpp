// Stored icons are decoded without GDI+'s image decoders when they are PNG files
// of the kind the cache writes; the result must be what GDI+ decodes, and every
// other file must be left to GDI+.
#include "data/png_codec.h"

#include <windows.h>
#include <objidl.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/gdiplus_test_env.h"

namespace {

namespace gp = Gdiplus::DllExports;

// A bitmap with a different colour and opacity at every pixel, so that every
// filter of the encoder is used and a wrong byte order or row shows.
ui::GpBitmapPtr PatternBitmap(int width, int height) {
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (gp::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap) != Gdiplus::Ok) {
    return nullptr;
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t alpha = (x * 37 + y * 11) % 256;
      const uint32_t argb = (alpha << 24) | ((x * 7 % 256) << 16) | ((y * 13 % 256) << 8) | ((x * y) % 256);
      gp::GdipBitmapSetPixel(bitmap, x, y, argb);
    }
  }
  return ui::GpBitmapPtr(bitmap);
}

std::string Encode(Gdiplus::GpBitmap* bitmap) {
  std::vector<uint8_t> bytes;
  if (!bitmap || !EncodePng(bitmap, bytes)) return {};
  return std::string(bytes.begin(), bytes.end());
}

// GDI+'s own decoding of the bytes.
ui::GpBitmapPtr DecodeThroughGdiplus(const std::string& bytes) {
  IStream* stream = SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
  if (!stream) return nullptr;
  Gdiplus::GpBitmap* bitmap = nullptr;
  gp::GdipCreateBitmapFromStream(stream, &bitmap);
  stream->Release();
  return ui::GpBitmapPtr(bitmap);
}

void ExpectSameImage(Gdiplus::GpBitmap* mine, Gdiplus::GpBitmap* theirs) {
  UINT width = 0, height = 0, theirWidth = 0, theirHeight = 0;
  gp::GdipGetImageWidth(mine, &width);
  gp::GdipGetImageHeight(mine, &height);
  gp::GdipGetImageWidth(theirs, &theirWidth);
  gp::GdipGetImageHeight(theirs, &theirHeight);
  ASSERT_EQ(width, theirWidth);
  ASSERT_EQ(height, theirHeight);
  Gdiplus::PixelFormat format = 0, theirFormat = 0;
  gp::GdipGetImagePixelFormat(mine, &format);
  gp::GdipGetImagePixelFormat(theirs, &theirFormat);
  EXPECT_EQ(format, theirFormat);
  Gdiplus::REAL dpi = 0, theirDpi = 0;
  gp::GdipGetImageHorizontalResolution(mine, &dpi);
  gp::GdipGetImageHorizontalResolution(theirs, &theirDpi);
  EXPECT_NEAR(dpi, theirDpi, 0.01);
  int differences = 0;
  for (UINT y = 0; y < height; ++y) {
    for (UINT x = 0; x < width; ++x) {
      Gdiplus::ARGB a = 0, b = 0;
      gp::GdipBitmapGetPixel(mine, static_cast<INT>(x), static_cast<INT>(y), &a);
      gp::GdipBitmapGetPixel(theirs, static_cast<INT>(x), static_cast<INT>(y), &b);
      if (a != b && ++differences <= 3) ADD_FAILURE() << "pixel " << x << "," << y << std::hex << ": " << a << " vs " << b;
    }
  }
  EXPECT_EQ(differences, 0);
}

TEST(PlainPngTest, TheCachesOwnFilesDecodeToWhatGdiplusGivesAtEverySize) {
  for (int size : {1, 16, 32, 48, 253}) {
    SCOPED_TRACE(size);
    ui::GpBitmapPtr source = PatternBitmap(size, size + 3);
    const std::string png = Encode(source.get());
    ASSERT_FALSE(png.empty());
    ui::GpBitmapPtr mine = DecodePlainPng(png);
    ASSERT_NE(mine, nullptr) << "the cache's own kind of file went to GDI+";
    ui::GpBitmapPtr theirs = DecodeThroughGdiplus(png);
    ASSERT_NE(theirs, nullptr);
    ExpectSameImage(mine.get(), theirs.get());
  }
}

TEST(PlainPngTest, OtherOrDamagedFilesAreLeftToGdiplus) {
  ui::GpBitmapPtr source = PatternBitmap(24, 24);
  const std::string png = Encode(source.get());
  ASSERT_GT(png.size(), 60u);
  // Cut anywhere: never a picture made up from a part.
  for (size_t cut : {size_t{7}, size_t{20}, size_t{40}, png.size() / 2, png.size() - 1}) {
    EXPECT_EQ(DecodePlainPng(std::string_view(png).substr(0, cut)), nullptr) << "cut at " << cut;
  }
  // A changed byte inside the pixel data breaks its check sum.
  std::string damaged = png;
  const size_t data = damaged.find("IDAT");
  ASSERT_NE(data, std::string::npos);
  damaged[data + 10] = static_cast<char>(damaged[data + 10] ^ 0x55);
  EXPECT_EQ(DecodePlainPng(damaged), nullptr);
  // Too large for an icon, and not a PNG file at all.
  ui::GpBitmapPtr large = PatternBitmap(300, 2);
  EXPECT_EQ(DecodePlainPng(Encode(large.get())), nullptr);
  EXPECT_EQ(DecodePlainPng("GIF89a not a png at all"), nullptr);
  EXPECT_EQ(DecodePlainPng(""), nullptr);

  // What is left to GDI+ still decodes through the cache's decoder.
  BlobDecoder decoder(4096);
  ui::GpBitmapPtr decoded = decoder.Decode(Encode(large.get()));
  ASSERT_NE(decoded, nullptr);
  UINT width = 0;
  gp::GdipGetImageWidth(decoded.get(), &width);
  EXPECT_EQ(width, 300u);
}

}  // namespace
