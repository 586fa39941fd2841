// The class names the skin builder makes controls for by itself.
#include <utility>

#include "ui/core/h_box.h"
#include "ui/core/h_card_box.h"
#include "ui/core/scroll_bar.h"
#include "ui/core/skin_builder.h"
#include "ui/core/stock_control_factory.h"
#include "ui/core/tab_box.h"
#include "ui/core/tile_box.h"
#include "ui/core/v_box.h"
#include "ui/core/v_card_box.h"

namespace ui {

namespace {

StockControlFactory& StockFactory() {
  static StockControlFactory factory;
  return factory;
}

template <typename ControlClass>
Control* Make() {
  return new ControlClass();
}

struct BuiltinClass {
  const wchar_t* name;
  Control* (*make)();
};

// Classes of the core, made here directly.
constexpr BuiltinClass kCoreClasses[] = {
    {L"Box", Make<Box>},
    {L"HBox", Make<HBox>},
    {L"VBox", Make<VBox>},
    {L"TabBox", Make<TabBox>},
    {L"Control", Make<Control>},
    {L"TileBox", Make<TileBox>},
    {L"HCardBox", Make<HCardBox>},
    {L"VCardBox", Make<VCardBox>},
    {L"ScrollBar", Make<ScrollBar>},
};

// Classes of the stock-control library, made through its factory.
constexpr const wchar_t* kStockClasses[] = {
    L"Label",    L"LabelBox",    L"Button",   L"ButtonBox", L"CheckBox", L"CheckBoxBox", L"Option",
    L"OptionBox", L"ListContainerElement", L"Progress", L"Slider", L"Combo", L"ListBox", L"RichEdit",
    L"TreeView", L"TreeNode",    L"HListBox", L"VListBox",  L"TileListBox", L"ChildBox"};

}  // namespace

void SetStockControlFactory(StockControlFactory factory) { StockFactory() = std::move(factory); }

const StockControlFactory& GetStockControlFactory() { return StockFactory(); }

Control* SkinBuilder::CreateBuiltinControl(const std::wstring& className) {
  for (const BuiltinClass& builtin : kCoreClasses) {
    if (className == builtin.name) return builtin.make();
  }
  for (const wchar_t* stock : kStockClasses) {
    if (className != stock) continue;
    const StockControlFactory& factory = StockFactory();
    return factory.create ? factory.create(className) : nullptr;
  }
  return nullptr;
}

}  // namespace ui
