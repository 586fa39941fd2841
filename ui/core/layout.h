// The base layout: places every child of a box freely within the box's padding.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ui {

class Box;
class Control;

class Layout {
 public:
  Layout() = default;
  virtual ~Layout() = default;
  Layout(const Layout&) = delete;
  Layout& operator=(const Layout&) = delete;

  // Takes "padding" and "childmargin"; false for any other name.
  virtual bool SetAttribute(const std::wstring& name, const std::wstring& value);
  // Sizes and places the children within the rectangle; returns the size they took.
  virtual SIZE ArrangeChildren(const std::vector<Control*>& children, RECT rect);
  // The size the box needs to hold its children, padding included.
  virtual SIZE MeasureByChildren(const std::vector<Control*>& children, SIZE available);
  virtual RECT GetPadding() const { return padding_; }
  // Stores the padding (DPI-scaled when asked) and re-arranges the owner box.
  virtual void SetPadding(RECT padding, bool dpi_scale);
  virtual int GetChildMargin() const { return child_margin_; }
  // Stores the DPI-scaled margin and re-arranges the owner box.
  virtual void SetChildMargin(int margin);

  Box* GetOwner() const { return owner_; }
  // Called by the box that takes this layout; the layout never owns its box.
  void SetOwner(Box* owner) { owner_ = owner; }

  // Places one child by its own alignment, margin and size limits inside the
  // rectangle; returns the size given to it (0 x 0 for an invisible child).
  static SIZE PlaceFloatChild(Control* child, RECT rect);

 protected:
  void ArrangeOwner();

  RECT padding_ = {0, 0, 0, 0};
  int child_margin_ = 0;
  Box* owner_ = nullptr;
};

// Clamps a width or height to a child's limits: raised to the minimum, lowered to
// the maximum. A negative maximum width means none; the maximum height always counts.
int ClampChildWidth(const Control* child, int width);
int ClampChildHeight(const Control* child, int height);

}  // namespace ui
