#include "app/link_color.h"

#include <cwctype>

#include "ui/base/ui_globals.h"

bool IsArgbColorText(const std::wstring& text) {
  if (text.size() != 9 || text[0] != L'#') return false;
  for (size_t i = 1; i < text.size(); ++i) {
    if (!std::iswxdigit(text[i])) return false;
  }
  return true;
}

bool IsAcceptedLinkColor(const std::wstring& text) {
  if (text.empty() || IsArgbColorText(text)) return true;
  // The table answers 0 for names it does not hold.
  return ui::UiGlobals::GetColor(text) != 0;
}
