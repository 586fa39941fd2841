// The layout operations a box uses, gathered in one place so that the box
// depends on the layout classes only through this file.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ui {

class Box;
class Control;
class Layout;

namespace layout_access {

// A new base layout (every child placed freely), owned by the caller.
Layout* NewPlainLayout();
void SetOwner(Layout* layout, Box* owner);
void Delete(Layout* layout);
// Places the children inside the rectangle (the box's position less padding).
SIZE ArrangeChildren(Layout* layout, const std::vector<Control*>& children, RECT rc);
// The size the children need, padding included.
SIZE MeasureByChildren(Layout* layout, const std::vector<Control*>& children, SIZE available);
// True when the name is a layout attribute.
bool SetAttribute(Layout* layout, const std::wstring& name, const std::wstring& value);
RECT GetPadding(const Layout* layout);
// Sets the padding (DPI-scaled when asked) and re-arranges the owner box.
void SetPadding(Layout* layout, const RECT& padding, bool dpiScale);

}  // namespace layout_access
}  // namespace ui
