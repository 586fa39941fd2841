// SVG glue over nanosvg: parsing, and rasterising into 32-bit bitmaps with
// premultiplied alpha, the form AlphaBlend expects.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

struct NSVGimage;

namespace ui {

class ImageInfo;

// True when the text from the last dot on is ".svg", ignoring ASCII case.
bool IsSvgPath(const std::wstring& path);

// Parses a zero-terminated SVG text at 96 dots per inch, in place; null on failure.
NSVGimage* ParseSvgFromMemory(char* text);
// Parses an SVG file at 96 dots per inch; null on failure.
NSVGimage* ParseSvgFromFile(const std::wstring& path);
// Frees a parsed SVG image; null is allowed.
void DeleteSvgImage(NSVGimage* svg);

// Rasterises the SVG at the current display scale into a new still image with
// alpha and the dpiScaled flag set; null for a null or empty SVG or a failed bitmap.
// Always frees the parsed SVG.
std::unique_ptr<ImageInfo> SvgToImageInfo(NSVGimage* svg, const std::wstring& path);

// A size x size rasterisation of a square SVG; null for a non-square or empty SVG.
// Does not free the SVG.
HBITMAP RenderSvgToBitmap(NSVGimage* svg, int size);

}  // namespace ui
