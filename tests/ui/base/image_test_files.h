// Image files made on the fly for the image tests: PNGs through GDI+, and GIF and
// ICO files assembled byte by byte.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <functional>
#include <string>
#include <vector>

namespace pexo_test {

// {557CF406-1A04-11D3-9A73-0000F81EF32E}
inline constexpr CLSID kPngEncoder = {0x557cf406, 0x1a04, 0x11d3,
                                      {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};

// A 32 bpp ARGB GDI+ bitmap whose pixels come from colour(x, y); the caller disposes of it.
inline Gdiplus::GpBitmap* MakeArgbBitmap(int width, int height,
                                         const std::function<DWORD(int, int)>& color) {
  Gdiplus::GpBitmap* bitmap = nullptr;
  Gdiplus::DllExports::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr,
                                                 &bitmap);
  if (!bitmap) return nullptr;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) Gdiplus::DllExports::GdipBitmapSetPixel(bitmap, x, y, color(x, y));
  return bitmap;
}

// Writes a width x height PNG filled by colour(x, y); false on failure.
inline bool WritePng(const std::wstring& path, int width, int height,
                     const std::function<DWORD(int, int)>& color) {
  Gdiplus::GpBitmap* bitmap = MakeArgbBitmap(width, height, color);
  if (!bitmap) return false;
  bool saved = Gdiplus::DllExports::GdipSaveImageToFile(bitmap, path.c_str(), &kPngEncoder,
                                                        nullptr) == Gdiplus::Ok;
  Gdiplus::DllExports::GdipDisposeImage(bitmap);
  return saved;
}

// A 1 x 1 animated GIF with one frame per delay (hundredths of a second).
inline std::string AnimatedGifBytes(const std::vector<int>& delays) {
  std::string gif = "GIF89a";
  gif += std::string("\x01\x00\x01\x00\x80\x00\x00", 7);      // 1 x 1, 2-colour table
  gif += std::string("\x00\x00\x00\xff\xff\xff", 6);          // black, white
  gif += std::string("\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00", 19);  // loop forever
  for (int delay : delays) {
    gif += std::string("\x21\xf9\x04\x00", 4);
    gif += static_cast<char>(delay & 0xff);
    gif += static_cast<char>((delay >> 8) & 0xff);
    gif += std::string("\x00\x00", 2);
    gif += std::string("\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00", 10);
    gif += std::string("\x02\x02\x44\x01\x00", 5);  // one pixel of colour 0
  }
  gif += ';';
  return gif;
}

// An icon file with one 32 bpp image of each size, filled with opaque colours.
inline std::string MultiSizeIcoBytes(const std::vector<int>& sizes) {
  auto put16 = [](std::string& s, int v) {
    s += static_cast<char>(v & 0xff);
    s += static_cast<char>((v >> 8) & 0xff);
  };
  auto put32 = [&](std::string& s, int v) {
    put16(s, v & 0xffff);
    put16(s, (v >> 16) & 0xffff);
  };
  std::vector<std::string> images;
  for (int size : sizes) {
    std::string image;
    put32(image, 40);
    put32(image, size);
    put32(image, size * 2);
    put16(image, 1);
    put16(image, 32);
    put32(image, 0);
    put32(image, 0);
    put32(image, 0);
    put32(image, 0);
    put32(image, 0);
    put32(image, 0);
    for (int i = 0; i < size * size; ++i) image += std::string("\x20\x40\xc0\xff", 4);
    const int mask_row = ((size + 31) / 32) * 4;
    image += std::string(static_cast<size_t>(mask_row) * size, '\0');
    images.push_back(image);
  }
  std::string ico;
  put16(ico, 0);
  put16(ico, 1);
  put16(ico, static_cast<int>(sizes.size()));
  int offset = 6 + 16 * static_cast<int>(sizes.size());
  for (size_t i = 0; i < sizes.size(); ++i) {
    ico += static_cast<char>(sizes[i] >= 256 ? 0 : sizes[i]);
    ico += static_cast<char>(sizes[i] >= 256 ? 0 : sizes[i]);
    ico += '\0';
    ico += '\0';
    put16(ico, 1);
    put16(ico, 32);
    put32(ico, static_cast<int>(images[i].size()));
    put32(ico, offset);
    offset += static_cast<int>(images[i].size());
  }
  for (const auto& image : images) ico += image;
  return ico;
}

}  // namespace pexo_test
