// Cutting a text that does not fit its box, ending it with an ellipsis. GDI+
// trims with an ellipsis itself on Windows, but not every GDI+ does (Wine's
// breaks the line at a blank and drops the rest), so the render context fits
// the text before drawing it: the same look everywhere.
#pragma once

#include <functional>
#include <string>

namespace ui {

// The ellipsis put after a cut text.
inline constexpr wchar_t kEllipsis[] = L"\u2026";

// `text` itself when fits(text); otherwise the longest start of it that fits
// with the ellipsis after it, blanks before the ellipsis dropped and a surrogate
// pair never split. When not even the ellipsis alone fits, the ellipsis alone.
// `fits` is asked about O(log n) candidates, none much longer than twice the
// start that fits, so the cost follows the box, not the text; it must grow no
// looser as a candidate grows.
std::wstring FitWithEllipsis(const std::wstring& text, const std::function<bool(const std::wstring&)>& fits);

}  // namespace ui
