// The image attribute text of the skin, parsed: a bare file name, or pairs such as
// file='bk.png' corner='4,4,4,4' fade='200'.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

struct ImageDrawAttributes {
  ImageDrawAttributes() { Reset(); }

  // Empties both texts and sets every field to its default.
  void Reset();
  // Applies the name='value' pairs of the text over the current values. Pairs are
  // separated by spaces; anything malformed ends the text, keeping what was read.
  void Parse(const std::wstring& text);

  std::wstring wholeText;  // the attribute text as it was set
  std::wstring file;       // image file name or cache key
  RECT dest;               // relative to the control; any -1 means the whole control
  RECT source;             // part of the image; any -1 means the whole image
  RECT corner;             // nine-grid insets
  BYTE fade;
  bool xtiled;
  bool fullxtiled;
  bool ytiled;
  bool fullytiled;
  int tiledMargin;
  int playCount;  // loops of a multi-frame image; -1 forever
};

// True when none of the four values is -1.
bool IsRectSet(const RECT& rect);

}  // namespace ui
