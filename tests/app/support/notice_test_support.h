// Where a notice's text stands as drawn: the label laid out across its window and
// the text's ink in the label's middle, whatever the scale.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "tests/ui/core/window_test_support.h"
#include "ui/core/control.h"
#include "ui/core/window.h"

namespace notice_test {

// The columns and rows of the label's pixels that stand out from its background
// (sampled in its top left corner): the text as drawn. Empty (right < left) when
// nothing is drawn yet.
inline RECT InkBounds(ui::Window& window, ui::Control* label) {
  RECT ink = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
  ui::IRenderContext* context = window.GetRenderContext();
  if (!context || !label) return ink;
  const RECT at = label->GetPos();
  const DWORD background = window_test::PixelAt(context, at.left + 3, at.top + 2);
  for (int y = at.top; y < at.bottom; ++y) {
    for (int x = at.left; x < at.right; ++x) {
      const DWORD pixel = window_test::PixelAt(context, x, y);
      int distance = 0;
      for (int shift : {0, 8, 16}) {
        distance += std::abs(static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((background >> shift) & 0xFF));
      }
      if (distance <= 150) continue;
      ink.left = std::min<LONG>(ink.left, x);
      ink.right = std::max<LONG>(ink.right, x + 1);
      ink.top = std::min<LONG>(ink.top, y);
      ink.bottom = std::max<LONG>(ink.bottom, y + 1);
    }
  }
  return ink;
}

// The label spans its window's client area (inside the window's border) with its
// middle on the window's middle, and its text, once drawn, is centred in it both
// ways rather than standing at its left edge.
inline void ExpectCentredAcrossWindow(ui::Window& window, ui::Control* label) {
  ASSERT_NE(label, nullptr);
  HWND hwnd = window.GetHWND();
  RECT client = {};
  GetClientRect(hwnd, &client);
  window_test::PaintNow(hwnd);  // a notice just shown is laid out as it is painted
  const RECT at = label->GetPos();
  EXPECT_LE(std::abs((at.left + at.right) - client.right), 1) << "the notice's middle is off the window's middle";
  EXPECT_GE(at.right - at.left, client.right * 9 / 10) << "the notice is not laid out across the window";
  RECT ink = {};
  const bool drawn = window_test::PumpUntil(
      [&] {
        window_test::PaintNow(hwnd);
        ink = InkBounds(window, label);
        // Fully faded in: the text's ink no longer grows.
        return ink.right > ink.left && ink.right - ink.left > (at.bottom - at.top) / 2;
      },
      3000);
  ASSERT_TRUE(drawn) << "the notice's text is not drawn";
  EXPECT_LE(std::abs((ink.left + ink.right) - (at.left + at.right)), 6) << "the text is not centred across the notice";
  EXPECT_LE(std::abs((ink.top + ink.bottom) - (at.top + at.bottom)), 8) << "the text is not centred in the notice's height";
}

}  // namespace notice_test
