// One font of the framework's font table.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

struct FontInfo {
  FontInfo() = default;
  ~FontInfo() {
    if (handle) DeleteObject(handle);
  }
  FontInfo(const FontInfo&) = delete;
  FontInfo& operator=(const FontInfo&) = delete;

  HFONT handle = nullptr;  // owned
  std::wstring faceName;   // after substitution of "system"
  int size = 0;            // pixels, after DPI scaling
  int weight = 0;          // the weight the font was created with
  bool bold = false;
  bool underline = false;
  bool strikeout = false;
  bool italic = false;
};

}  // namespace ui
