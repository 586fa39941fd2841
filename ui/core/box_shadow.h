// The "boxshadow" attribute of a control: a drop shadow drawn around it.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

struct BoxShadow {
  std::wstring color;     // colour name; empty means no shadow
  POINT offset = {0, 0};  // only x widens the painted area
  int blurRadius = 2;
  int blurSize = 2;
  int spreadSize = 2;
  bool exclude = true;    // leave the area under the control itself untouched
};

// Applies a text of name='value' pairs ("color", "res", "offset", "blurradius",
// "blursize", "spreadsize", "exclude") over the record. Parsing stops at the
// first malformed pair or unknown name; pairs read before it stay applied.
void ParseBoxShadow(const std::wstring& text, BoxShadow& shadow);

}  // namespace ui
