#include "app/app_control_factory.h"

#include "ui/core/skin_builder.h"

namespace {

// The framework classes the launcher's skins may also ask the factory for.
constexpr const wchar_t* kFrameworkClasses[] = {
    L"Box",     L"HBox",    L"VBox",    L"Combo",    L"Label",    L"Button",   L"Option",    L"Slider",
    L"TabBox",  L"Control", L"ListBox", L"RichEdit", L"CheckBox", L"HListBox", L"VListBox", L"ScrollBar",
    L"ListContainerElement"};

// The launcher's own controls: "RichEditX", "VTagGroup", "HotKeyEdit",
// "HCardGroup", "MenuCardUI", "HCardListBox", "VCardListBox" and
// "SearchListBox". None of them is part of the program yet, so each of these
// names gives null for now, like any unknown name.

}  // namespace

ui::Control* CreateAppControl(const std::wstring& className) {
  for (const wchar_t* name : kFrameworkClasses) {
    if (className == name) return ui::SkinBuilder::CreateBuiltinControl(className);
  }
  return nullptr;
}
