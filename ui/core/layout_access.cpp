#include "ui/core/layout_access.h"

// Until the layout classes join the tree a box has no layout of its own: it
// places nothing, measures nothing and keeps no padding.

namespace ui::layout_access {

Layout* NewPlainLayout() { return nullptr; }
void SetOwner(Layout*, Box*) {}
void Delete(Layout*) {}
SIZE ArrangeChildren(Layout*, const std::vector<Control*>&, RECT) { return SIZE{0, 0}; }
SIZE MeasureByChildren(Layout*, const std::vector<Control*>&, SIZE) { return SIZE{0, 0}; }
bool SetAttribute(Layout*, const std::wstring&, const std::wstring&) { return false; }
RECT GetPadding(const Layout*) { return RECT{0, 0, 0, 0}; }

}  // namespace ui::layout_access
