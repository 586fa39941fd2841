// The class names the skin builder makes controls for by itself.
#include <utility>

#include "ui/core/button_template.h"
#include "ui/core/check_box_template.h"
#include "ui/core/h_box.h"
#include "ui/core/h_card_box.h"
#include "ui/core/label_template.h"
#include "ui/core/list_container_element.h"
#include "ui/core/option_template.h"
#include "ui/core/progress.h"
#include "ui/core/scroll_bar.h"
#include "ui/core/skin_builder.h"
#include "ui/core/slider.h"
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
    {L"Label", Make<LabelTemplate<Control>>},
    {L"Button", Make<ButtonTemplate<Control>>},
    {L"Option", Make<OptionTemplate<Control>>},
    {L"Slider", Make<Slider>},
    {L"TabBox", Make<TabBox>},
    {L"Control", Make<Control>},
    {L"TileBox", Make<TileBox>},
    {L"Progress", Make<Progress>},
    {L"CheckBox", Make<CheckBoxTemplate<Control>>},
    {L"LabelBox", Make<LabelTemplate<Box>>},
    {L"HCardBox", Make<HCardBox>},
    {L"VCardBox", Make<VCardBox>},
    {L"ScrollBar", Make<ScrollBar>},
    {L"ButtonBox", Make<ButtonTemplate<Box>>},
    {L"OptionBox", Make<OptionTemplate<Box>>},
    {L"CheckBoxBox", Make<CheckBoxTemplate<Box>>},
    {L"ListContainerElement", Make<ListContainerElement>},
};

// Classes of the stock-control library, made through its factory.
constexpr const wchar_t* kStockClasses[] = {L"Combo",    L"ListBox",  L"RichEdit",    L"TreeView", L"TreeNode",
                                            L"HListBox", L"VListBox", L"TileListBox", L"ChildBox"};

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
