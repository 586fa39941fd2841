#include "app/controls/app_control_factory.h"

#include "app/controls/card_list_boxes.h"
#include "app/controls/hot_key_edit.h"
#include "app/controls/menu_card_ui.h"
#include "app/controls/rich_edit_x.h"
#include "app/controls/search_list_box.h"
#include "data/settings.h"
#include "ui/core/skin_builder.h"

namespace {

// The framework classes the launcher's skins may also ask the factory for.
constexpr const wchar_t* kFrameworkClasses[] = {
    L"Box",     L"HBox",    L"VBox",    L"Combo",    L"Label",    L"Button",   L"Option",    L"Slider",
    L"TabBox",  L"Control", L"ListBox", L"RichEdit", L"CheckBox", L"HListBox", L"VListBox", L"ScrollBar",
    L"ListContainerElement"};

// The launcher's own element names, matched exactly.
ui::Control* CreateLauncherControl(const std::wstring& className) {
  if (className == L"RichEditX") return new ui::RichEditX;
  if (className == L"VTagGroup") return new ui::VTagGroup;
  if (className == L"HotKeyEdit") return new ui::HotKeyEdit;
  if (className == L"HCardGroup") return new ui::HCardGroup(GetSettings().nGroupWidth);
  if (className == L"MenuCardUI") return new ui::CMenuCardUI;
  if (className == L"HCardListBox") return new ui::HCardListBox;
  if (className == L"VCardListBox") return new ui::VCardListBox;
  if (className == L"SearchListBox") return new ui::SearchListBox;
  return nullptr;
}

}  // namespace

ui::Control* CreateAppControl(const std::wstring& className) {
  if (ui::Control* control = CreateLauncherControl(className)) return control;
  for (const wchar_t* name : kFrameworkClasses) {
    if (className == name) return ui::SkinBuilder::CreateBuiltinControl(className);
  }
  return nullptr;
}
