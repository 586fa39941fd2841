// The line ends of a text as a rich edit holds it.
#pragma once

#include <string>

namespace pexo_test {

// A rich edit ends every paragraph with a lone CR, whatever line ends were typed,
// pasted or set (CR LF, LF); a copy from it gives them back as CR LF.
inline std::wstring EditorForm(const std::wstring& text) {
  std::wstring form;
  form.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    form += text[i] == L'\n' ? L'\r' : text[i];
  }
  return form;
}

}  // namespace pexo_test
