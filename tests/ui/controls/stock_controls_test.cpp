// The stock controls as the builder and the window meet them: class names,
// list selection, tree nodes and the text-entry checks.
#include "ui/controls/stock_controls.h"

#include <gtest/gtest.h>

#include <memory>

#include "ui/controls/list_box.h"
#include "ui/controls/list_container_element.h"
#include "ui/controls/rich_edit.h"
#include "ui/controls/tree_view.h"
#include "ui/core/stock_control_factory.h"
#include "ui/core/text_entry_traits.h"

namespace {

TEST(StockControlsTest, RegisteredFactoryMakesTheStockClasses) {
  ui::RegisterStockControls();
  const ui::StockControlFactory& factory = ui::GetStockControlFactory();
  ASSERT_TRUE(factory.create);
  for (const wchar_t* name : {L"ListBox", L"VListBox", L"HListBox", L"TileListBox", L"Combo",
                              L"RichEdit", L"TreeView", L"TreeNode"}) {
    std::unique_ptr<ui::Control> control(factory.create(name));
    EXPECT_NE(control, nullptr) << name;
  }
  EXPECT_EQ(factory.create(L"Nothing"), nullptr);

  std::unique_ptr<ui::Control> view(factory.create(L"TreeView"));
  auto* node = new ui::TreeNode;
  ASSERT_TRUE(factory.attachTreeNode(view.get(), node));
  EXPECT_EQ(static_cast<ui::TreeView*>(view.get())->GetRootNode()->GetChildNode(0), node);
  ui::Control label;
  ui::TreeNode stray;
  EXPECT_FALSE(factory.attachTreeNode(&label, &stray));
  EXPECT_FALSE(factory.attachTreeNode(view.get(), &label));
}

TEST(StockControlsTest, TextEntryChecksKnowTheRichEdit) {
  ui::RegisterStockControls();
  ui::RichEdit edit;
  ui::Control plain;
  EXPECT_TRUE(ui::IsTextEntry(&edit));
  EXPECT_FALSE(ui::IsTextEntry(&plain));
  // A fresh field keeps Tab for itself.
  EXPECT_TRUE(ui::TextEntryWantsTab(&edit));
  edit.SetAttribute(L"wanttab", L"false");
  EXPECT_FALSE(ui::TextEntryWantsTab(&edit));
}

}  // namespace
