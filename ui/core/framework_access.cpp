#include "ui/core/framework_access.h"

#include "ui/base/font_info.h"
#include "ui/base/language_table.h"
#include "ui/base/ui_globals.h"

namespace ui::framework_access {

DWORD GetGlobalColor(const std::wstring& name) { return UiGlobals::GetColor(name); }

std::wstring GetGlobalClassAttributes(const std::wstring& className) {
  return UiGlobals::GetClassAttributes(className);
}

std::wstring GetLanguageText(const std::wstring& id) { return LanguageTable::Instance().GetText(id); }

std::wstring GetDefaultFontFaceName() {
  const FontInfo* font = UiGlobals::GetFont(L"");
  return font ? font->faceName : std::wstring();
}

}  // namespace ui::framework_access
