#include "ui/core/framework_access.h"

#include "ui/base/language_table.h"

// Until the global colour and class tables join the tree, a control sees them
// empty.

namespace ui::framework_access {

DWORD GetGlobalColor(const std::wstring&) { return 0; }
std::wstring GetGlobalClassAttributes(const std::wstring&) { return {}; }
std::wstring GetLanguageText(const std::wstring& id) { return LanguageTable::Instance().GetText(id); }

}  // namespace ui::framework_access
