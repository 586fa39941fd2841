#include "ui/core/layout_access.h"

#include "ui/core/layout.h"

// A box without a layout places nothing, measures nothing and keeps no padding.

namespace ui::layout_access {

Layout* NewPlainLayout() { return new Layout; }

void SetOwner(Layout* layout, Box* owner) {
  if (layout) layout->SetOwner(owner);
}

void Delete(Layout* layout) { delete layout; }

SIZE ArrangeChildren(Layout* layout, const std::vector<Control*>& children, RECT rc) {
  return layout ? layout->ArrangeChildren(children, rc) : SIZE{0, 0};
}

SIZE MeasureByChildren(Layout* layout, const std::vector<Control*>& children, SIZE available) {
  return layout ? layout->MeasureByChildren(children, available) : SIZE{0, 0};
}

bool SetAttribute(Layout* layout, const std::wstring& name, const std::wstring& value) {
  return layout && layout->SetAttribute(name, value);
}

RECT GetPadding(const Layout* layout) { return layout ? layout->GetPadding() : RECT{0, 0, 0, 0}; }

void SetPadding(Layout* layout, const RECT& padding, bool dpiScale) {
  if (layout) layout->SetPadding(padding, dpiScale);
}

}  // namespace ui::layout_access
