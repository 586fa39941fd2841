// The launcher's element names in skin XML: each builds its own control through
// the factory, matched exactly, with the layout and item size it needs.
#include <gtest/gtest.h>

#include <memory>

#include "app/controls/app_control_factory.h"
#include "app/controls/card_list_boxes.h"
#include "app/controls/hot_key_edit.h"
#include "app/controls/rich_edit_x.h"
#include "app/controls/search_list_box.h"
#include "data/settings.h"
#include "ui/core/box.h"
#include "ui/core/h_card_layout.h"
#include "ui/core/skin_builder.h"
#include "ui/core/v_card_layout.h"
#include "ui/core/v_layout.h"

namespace {

std::unique_ptr<ui::Box> BuildSkin(const std::wstring& xml) {
  ui::SkinBuilder builder;
  return std::unique_ptr<ui::Box>(dynamic_cast<ui::Box*>(builder.Create(xml, CreateAppControl)));
}

template <typename T>
T* Child(ui::Box& root, const wchar_t* name) {
  return dynamic_cast<T*>(root.FindChildByName(name));
}

TEST(LauncherElementNames, EachNameBuildsItsControlWithItsLayout) {
  GetSettings().nGroupWidth = 64;
  auto root = BuildSkin(
      L"<Window><VBox>"
      L"<HCardListBox name=\"cards\"/><VCardListBox name=\"vcards\"/><HCardGroup name=\"groups\"/>"
      L"<VTagGroup name=\"tags\"/><SearchListBox name=\"results\"/>"
      L"<RichEditX name=\"note\" wantlink=\"true\"/><HotKeyEdit name=\"chord\"/>"
      L"</VBox></Window>");
  ASSERT_NE(root, nullptr);
  auto* cards = Child<ui::HCardListBox>(*root, L"cards");
  auto* vcards = Child<ui::VCardListBox>(*root, L"vcards");
  auto* groups = Child<ui::HCardGroup>(*root, L"groups");
  auto* tags = Child<ui::VTagGroup>(*root, L"tags");
  auto* results = Child<ui::SearchListBox>(*root, L"results");
  ASSERT_TRUE(cards && vcards && groups && tags && results);
  auto* note = Child<ui::RichEditX>(*root, L"note");
  auto* chord = Child<ui::HotKeyEdit>(*root, L"chord");
  ASSERT_TRUE(note && chord);
  EXPECT_TRUE(note->IsWantLink());
  EXPECT_EQ(chord->GetCode(), 0u);
  EXPECT_NE(dynamic_cast<ui::HCardLayout*>(cards->GetLayout()), nullptr);
  EXPECT_NE(dynamic_cast<ui::VCardLayout*>(vcards->GetLayout()), nullptr);
  EXPECT_NE(dynamic_cast<ui::VLayout*>(tags->GetLayout()), nullptr);
  EXPECT_NE(dynamic_cast<ui::VLayout*>(results->GetLayout()), nullptr);
  // The group strip starts with items of "nGroupWidth" x 30 (DPI adaptation off).
  const SIZE size = groups->GetCardLayout()->GetItemSize();
  EXPECT_EQ(size.cx, 64);
  EXPECT_EQ(size.cy, 30);
  // They keep the list box's type name.
  EXPECT_EQ(groups->GetType(), L"ListBox");
  EXPECT_EQ(cards->GetType(), L"ListBox");
  GetSettings().nGroupWidth = 72;
}

TEST(LauncherElementNames, NamesMatchExactly) {
  for (const wchar_t* name : {L"hcardgroup", L"HCardGroup ", L"HCARDLISTBOX", L"searchListBox", L"VTagGroups"}) {
    EXPECT_EQ(CreateAppControl(name), nullptr) << name;
  }
}

}  // namespace
