#include "ui/controls/stock_controls.h"

#include <string>

#include "ui/controls/button.h"
#include "ui/controls/check_box.h"
#include "ui/controls/child_box.h"
#include "ui/controls/combo.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/controls/list_container_element.h"
#include "ui/controls/option.h"
#include "ui/controls/progress.h"
#include "ui/controls/rich_edit.h"
#include "ui/controls/slider.h"
#include "ui/controls/tree_view.h"
#include "ui/core/box.h"
#include "ui/core/h_layout.h"
#include "ui/core/layout.h"
#include "ui/core/stock_control_factory.h"
#include "ui/core/text_entry_traits.h"
#include "ui/core/tile_layout.h"
#include "ui/core/v_layout.h"

namespace ui {

namespace {

Control* CreateStockControl(const std::wstring& name) {
  if (name == L"Label") return new LabelTemplate<Control>;
  if (name == L"LabelBox") return new LabelTemplate<Box>;
  if (name == L"Button") return new ButtonTemplate<Control>;
  if (name == L"ButtonBox") return new ButtonTemplate<Box>;
  if (name == L"CheckBox") return new CheckBoxTemplate<Control>;
  if (name == L"CheckBoxBox") return new CheckBoxTemplate<Box>;
  if (name == L"Option") return new OptionTemplate<Control>;
  if (name == L"OptionBox") return new OptionTemplate<Box>;
  if (name == L"ListContainerElement") return new ListContainerElement;
  if (name == L"Progress") return new Progress;
  if (name == L"Slider") return new Slider;
  if (name == L"ListBox") return new ListBox(new Layout);
  if (name == L"VListBox") return new ListBox(new VLayout);
  if (name == L"HListBox") return new ListBox(new HLayout);
  if (name == L"TileListBox") return new ListBox(new TileLayout);
  if (name == L"Combo") return new Combo;
  if (name == L"RichEdit") return new RichEdit;
  if (name == L"TreeView") return new TreeView;
  if (name == L"TreeNode") return new TreeNode;
  if (name == L"ChildBox") return new ChildBox;
  return nullptr;
}

bool AttachTreeNode(Control* parent, Control* node) {
  auto* child = dynamic_cast<TreeNode*>(node);
  if (!child) return false;
  if (auto* view = dynamic_cast<TreeView*>(parent)) return view->GetRootNode()->AddChildNode(child);
  if (auto* parentNode = dynamic_cast<TreeNode*>(parent)) return parentNode->AddChildNode(child);
  return false;
}

bool IsButton(Control* control) {
  return dynamic_cast<ButtonTemplate<Control>*>(control) != nullptr ||
         dynamic_cast<ButtonTemplate<Box>*>(control) != nullptr;
}

bool IsRichEdit(Control* control) { return dynamic_cast<RichEdit*>(control) != nullptr; }

bool RichEditWantsTab(Control* control) {
  auto* edit = dynamic_cast<RichEdit*>(control);
  return edit && edit->IsWantTab();
}

void SetRichEditSelection(Control* control, long start, long end) {
  if (auto* edit = dynamic_cast<RichEdit*>(control)) edit->SetSel(start, end);
}

}  // namespace

void RegisterStockControls() {
  StockControlFactory factory;
  factory.create = CreateStockControl;
  factory.attachTreeNode = AttachTreeNode;
  factory.isButton = IsButton;
  SetStockControlFactory(factory);

  TextEntryTraits traits;
  traits.isTextEntry = IsRichEdit;
  traits.wantsTab = RichEditWantsTab;
  traits.setSelection = SetRichEditSelection;
  SetTextEntryTraits(traits);
}

}  // namespace ui
