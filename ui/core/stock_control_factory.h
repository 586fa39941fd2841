// The skin builder's way to the stock controls that live above the core (the
// text controls, list boxes and items, progress bar, slider, combo box, rich
// edit, tree view and tree node, child box): their
// library installs these functions when the framework starts; until then the
// builder knows those class names but makes nothing for them.
#pragma once

#include <functional>
#include <string>

namespace ui {

class Control;

struct StockControlFactory {
  // A new control for one of the stock class names ("Label", "Button", "ListBox",
  // "Combo", "RichEdit", "TreeView", ...: the builder's list); null for any
  // other name.
  std::function<Control*(const std::wstring& className)> create;
  // Appends a tree node to a tree view's root node or to a tree node; false,
  // with nothing attached, when the parent is neither.
  std::function<bool(Control* parent, Control* node)> attachTreeNode;
  // True for a button of any kind (button, check box, option, list item), which
  // keeps clicks inside a window caption for itself.
  std::function<bool(Control* control)> isButton;
};

void SetStockControlFactory(StockControlFactory factory);
const StockControlFactory& GetStockControlFactory();

}  // namespace ui
