#include "app/controls/app_control_factory.h"

#include <gtest/gtest.h>

#include <memory>

#include "ui/controls/stock_controls.h"
#include "ui/core/box.h"
#include "ui/core/control.h"

namespace {

TEST(AppControlFactoryTest, MakesTheFrameworkClassesTheSkinsAskFor) {
  // The text controls and list items come from the stock-control library.
  ui::RegisterStockControls();
  const wchar_t* names[] = {L"Box",    L"HBox",    L"VBox",     L"Label",     L"Button",
                            L"Option", L"Slider",  L"TabBox",   L"Control",   L"CheckBox",
                            L"ScrollBar", L"ListContainerElement"};
  for (const wchar_t* name : names) {
    std::unique_ptr<ui::Control> control(CreateAppControl(name));
    ASSERT_NE(control, nullptr) << name;
    EXPECT_EQ(control->GetType(), name);
  }
}

TEST(AppControlFactoryTest, OtherNamesGiveNull) {
  // Framework classes outside the factory's list are the builder's alone.
  EXPECT_EQ(CreateAppControl(L"TileBox"), nullptr);
  EXPECT_EQ(CreateAppControl(L"Progress"), nullptr);
  EXPECT_EQ(CreateAppControl(L"box"), nullptr);
  EXPECT_EQ(CreateAppControl(L""), nullptr);
}

}  // namespace
