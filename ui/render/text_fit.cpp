#include "ui/render/text_fit.h"

namespace ui {

namespace {

// The first prefix looked at: a box rarely shows fewer characters than this.
constexpr size_t kFirstProbe = 32;

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// The first `length` characters, never ending between the halves of a pair,
// with trailing blanks dropped, and the ellipsis after them.
std::wstring CutAt(const std::wstring& text, size_t length) {
  if (length > 0 && IsHighSurrogate(text[length - 1])) --length;
  while (length > 0 && (text[length - 1] == L' ' || text[length - 1] == L'\t' || text[length - 1] == L'\u3000'))
    --length;
  return text.substr(0, length) + kEllipsis;
}

}  // namespace

std::wstring FitWithEllipsis(const std::wstring& text, const std::function<bool(const std::wstring&)>& fits) {
  if (text.empty()) return text;
  // A name of a hundred thousand characters in a box that shows thirty must not be
  // measured whole: starts twice as long each time are tried until one does not
  // fit. Then neither does the text, and nothing longer than that start can be
  // part of the answer, so the search below stays within what the box can show.
  size_t high = kFirstProbe;
  while (high < text.size()) {
    if (IsHighSurrogate(text[high - 1])) ++high;
    if (!fits(text.substr(0, high))) break;
    high *= 2;
  }
  if (high >= text.size()) {
    if (fits(text)) return text;
    high = text.size();
  }
  // The longest start that fits with the ellipsis: `low` fits (or is 0), `high` does not.
  size_t low = 0;
  while (high - low > 1) {
    const size_t middle = low + (high - low) / 2;
    if (fits(CutAt(text, middle))) {
      low = middle;
    } else {
      high = middle;
    }
  }
  return CutAt(text, low);
}

}  // namespace ui
