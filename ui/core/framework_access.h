// The framework-wide tables a control reads: global colours and classes, the
// language table and the image cache, gathered in one place.
#pragma once

#include <windows.h>

#include <string>

namespace ui::framework_access {

// A colour of the global table; 0 when unknown.
DWORD GetGlobalColor(const std::wstring& name);
// Attribute text of a global class; empty when unknown.
std::wstring GetGlobalClassAttributes(const std::wstring& className);
// The language text of an identifier; empty when unknown.
std::wstring GetLanguageText(const std::wstring& id);
// Face name of the framework's default font; empty while none is marked default.
std::wstring GetDefaultFontFaceName();

}  // namespace ui::framework_access
