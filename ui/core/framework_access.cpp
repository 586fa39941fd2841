#include "ui/core/framework_access.h"

// Until the global tables and the language table are filled by start-up, a
// control sees them empty.

namespace ui::framework_access {

DWORD GetGlobalColor(const std::wstring&) { return 0; }
std::wstring GetGlobalClassAttributes(const std::wstring&) { return {}; }
std::wstring GetLanguageText(const std::wstring&) { return {}; }

}  // namespace ui::framework_access
