// The control tree under a skin document's root: controls made by class name,
// their attributes, their places in the parent boxes, included files, tree
// nodes and the skin's event bindings.
#include <cwchar>
#include <string>
#include <vector>

#include "ui/base/string_util.h"
#include "ui/core/box.h"
#include "ui/core/skin_builder.h"
#include "ui/core/stock_control_factory.h"
#include "ui/core/window.h"

namespace ui {

namespace {

bool IsPassedOver(const std::wstring& name) {
  return name == L"Image" || name == L"Font" || name == L"Class" || name == L"TextColor";
}

void ApplyAttributes(MarkupNode node, Control* control) {
  int count = node.GetAttributeCount();
  for (int i = 0; i < count; ++i) control->SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
}

}  // namespace

Control* SkinBuilder::MakeControl(const std::wstring& className) {
  if (Control* control = CreateBuiltinControl(className)) return control;
  if (const CreateControlCallback& appFactory = UiGlobals::GetCreateControlCallback()) {
    if (Control* control = appFactory(className)) return control;
  }
  return createControl_ ? createControl_(className) : nullptr;
}

Control* SkinBuilder::ParseChildren(MarkupNode element, Control* parent, Window* window) {
  Control* first = nullptr;
  for (MarkupNode node = element.GetChild(); node.IsValid(); node = node.GetSibling()) {
    const std::wstring name = node.GetName();
    if (IsPassedOver(name)) continue;
    if (name == L"Include") {
      BuildInclude(node, parent, window);
      continue;
    }
    if (name == L"Event" || name == L"BubbledEvent") {
      AttachEventNode(name == L"BubbledEvent", node, parent);
      continue;
    }
    Control* control = MakeControl(name);
    if (!control) continue;

    const bool treeNode = name == L"TreeNode";
    bool attachedToTree = false;
    if (treeNode && parent) {
      const StockControlFactory& stock = GetStockControlFactory();
      attachedToTree = stock.attachTreeNode && stock.attachTreeNode(parent, control);
    }
    control->SetWindow(window);
    if (node.GetChild().IsValid()) ParseChildren(node, control, window);
    ApplyAttributes(node, control);

    if (!parent) {
      // The caller owns the first control made without a parent; further ones
      // would belong to no one.
      if (first) {
        delete control;
        continue;
      }
    } else if (treeNode) {
      // A node that found no tree belongs to no one.
      if (!attachedToTree) {
        delete control;
        continue;
      }
    } else {
      auto* box = dynamic_cast<Box*>(parent);
      if (!box) {
        delete control;
        return nullptr;
      }
      if (!box->Add(control)) {
        delete control;
        continue;
      }
    }
    if (!first) first = control;
  }
  return first;
}

void SkinBuilder::AttachEventNode(bool bubbled, MarkupNode element, Control* parent) {
  // An event element directly under the root has no control to belong to.
  if (!parent) return;
  std::wstring types, receivers, attributes;
  int count = element.GetAttributeCount();
  for (int i = 0; i < count; ++i) {
    std::wstring name = element.GetAttributeName(i);
    if (name == L"type") {
      types = element.GetAttributeValue(i);
    } else if (name == L"receiver") {
      receivers = element.GetAttributeValue(i);
    } else if (name == L"applyattribute") {
      attributes = element.GetAttributeValue(i);
    }
  }
  auto* box = dynamic_cast<Box*>(parent);
  if (bubbled && !box) return;
  const std::vector<std::wstring> receiverNames = SplitString(receivers, L" ");
  for (const std::wstring& typeName : SplitString(types, L" ")) {
    const EventType type = EventTypeFromName(typeName);
    for (const std::wstring& receiver : receiverNames) {
      // Bound weakly: once the control is gone the listener does nothing.
      EventCallback handler = parent->ToWeakCallback([parent, receiver, attributes](EventArgs* event) {
        return parent->OnEventApplyAttribute(receiver, attributes, event);
      });
      if (bubbled) {
        box->AttachXmlBubbledEvent(type, handler);
      } else {
        parent->AttachXmlEvent(type, handler);
      }
    }
  }
}

}  // namespace ui
