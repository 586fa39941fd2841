// Reading back what a render context drew.
#pragma once

#include <windows.h>

#include "ui/render/render_context.h"

namespace pexo_test {

// The premultiplied ARGB pixel at (x, y) of a context's top-down bitmap.
inline DWORD Pixel(ui::IRenderContext& context, int x, int y) {
  return reinterpret_cast<const DWORD*>(context.GetBits())[y * context.GetWidth() + x];
}

}  // namespace pexo_test
