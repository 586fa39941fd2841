// Tree views in a real window: pre-order placement of inserted nodes, depth
// indentation, expand and collapse by clicks; child boxes built from another
// skin file; and skin "Event" elements that change other controls.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/child_box.h"
#include "ui/controls/stock_controls.h"
#include "ui/controls/tree_view.h"
#include "ui/core/box.h"
#include "ui/core/layout.h"
#include "ui/core/skin_builder.h"

namespace {

using window_test::PumpMessages;
using window_test::TestWindow;

::testing::Environment* const gdiplus =
    ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

constexpr const wchar_t* kTreeSkin = LR"(<Window><VBox>
  <TreeView name="tree" indent="20" height="300">
    <TreeNode name="a" height="20">
      <TreeNode name="a1" height="20"><TreeNode name="a1x" height="20"/></TreeNode>
      <TreeNode name="a2" height="20"/>
    </TreeNode>
    <TreeNode name="b" height="20"/>
  </TreeView>
  <ChildBox name="child" xmlfile="test\child_content.xml" height="40"/>
  <ChildBox name="missing" xmlfile="test\no_such_file.xml" height="10"/>
  <ChildBox name="empty" height="10"/>
</VBox></Window>)";

class TreeViewTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(ui::UiGlobals::OpenSkinZip(201, L"SKIN", PEXO_SKIN_PASSWORD));
    ui::UiGlobals::Startup(L"skin\\", nullptr, false, L"gray", L"lang\\zh_CN");
    ui::RegisterStockControls();
  }
  static void TearDownTestSuite() { ui::UiGlobals::Shutdown(); }

  void Open(const wchar_t* skin) {
    hwnd = window.CreatePlain(240, 400);
    ui::SkinBuilder builder;
    ui::Control* root = builder.Create(skin, nullptr, &window);
    ASSERT_NE(root, nullptr);
    window.AttachRoot(root);
    window_test::PaintNow(hwnd);
  }
  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }

  template <typename T = ui::Control>
  T* Find(const wchar_t* name) {
    return dynamic_cast<T*>(window.FindControlByName(name));
  }
  ui::TreeNode* Node(const wchar_t* name) { return Find<ui::TreeNode>(name); }
  // Names of the tree's list items in list order.
  std::vector<std::wstring> ListOrder() {
    std::vector<std::wstring> names;
    auto* tree = Find<ui::TreeView>(L"tree");
    for (int i = 0; i < tree->GetCount(); ++i) names.push_back(tree->GetItemAt(static_cast<size_t>(i))->GetName());
    return names;
  }
  void Click(ui::Control* control) {
    const RECT rc = control->GetPos();
    const LPARAM point = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    PostMessageW(hwnd, WM_MOUSEMOVE, 0, point);
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(hwnd, WM_LBUTTONUP, 0, point);
    PumpMessages();
  }

  TestWindow window;
  HWND hwnd = nullptr;
};

using Names = std::vector<std::wstring>;

TEST_F(TreeViewTest, NodesFromSkinAreListedInPreOrderWithDepthAndIndent) {
  Open(kTreeSkin);
  auto* tree = Find<ui::TreeView>(L"tree");
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(ListOrder(), (Names{L"a", L"a1", L"a1x", L"a2", L"b"}));
  EXPECT_EQ(tree->GetRootNode()->GetChildNodeCount(), 2u);
  EXPECT_EQ(Node(L"a")->GetDepth(), 0);
  EXPECT_EQ(Node(L"a1x")->GetDepth(), 2);
  EXPECT_EQ(Node(L"a1x")->GetParentNode(), Node(L"a1"));
  EXPECT_EQ(Node(L"a1")->GetTreeView(), tree);
  // The top level keeps the root's padding; each deeper level adds the indent.
  EXPECT_EQ(Node(L"a")->GetLayout()->GetPadding().left, 0);
  EXPECT_EQ(Node(L"a1")->GetLayout()->GetPadding().left, 20);
  EXPECT_EQ(Node(L"a1x")->GetLayout()->GetPadding().left, 40);
  // Laid out one under the other.
  EXPECT_EQ(Node(L"a1")->GetPos().top, Node(L"a")->GetPos().bottom);
  // The list takes no children except through the nodes.
  ui::Control stray;
  EXPECT_TRUE(tree->Add(&stray));
  EXPECT_EQ(tree->GetItemIndex(&stray), -1);
}

TEST_F(TreeViewTest, InsertionPlacesNodesAfterTheSubtreesBeforeThem) {
  Open(kTreeSkin);
  ui::TreeNode* a = Node(L"a");
  auto* first = new ui::TreeNode;
  first->SetName(L"first");
  ASSERT_TRUE(a->AddChildNodeAt(first, 0));
  EXPECT_EQ(ListOrder(), (Names{L"a", L"first", L"a1", L"a1x", L"a2", L"b"}));
  auto* last = new ui::TreeNode;
  last->SetName(L"last");
  ASSERT_TRUE(a->AddChildNode(last));
  EXPECT_EQ(ListOrder(), (Names{L"a", L"first", L"a1", L"a1x", L"a2", L"last", L"b"}));
  // Inserted while the tree is in a window: the node is named in the window.
  EXPECT_EQ(Find(L"last"), last);

  // A subtree built apart enters the list whole.
  auto* branch = new ui::TreeNode;
  auto* leaf = new ui::TreeNode;
  branch->SetName(L"branch");
  leaf->SetName(L"leaf");
  ASSERT_TRUE(branch->AddChildNode(leaf));
  ASSERT_TRUE(Node(L"b")->AddChildNode(branch));
  EXPECT_EQ(ListOrder(), (Names{L"a", L"first", L"a1", L"a1x", L"a2", L"last", L"b", L"branch", L"leaf"}));
  EXPECT_EQ(leaf->GetDepth(), 2);

  // Refusals change nothing.
  ui::TreeNode outside;
  EXPECT_FALSE(a->AddChildNodeAt(&outside, 5));
  EXPECT_FALSE(Node(L"a2")->AddChildNode(a));   // an ancestor
  EXPECT_FALSE(Node(L"b")->AddChildNode(last));  // has a parent already
  EXPECT_FALSE(a->AddChildNode(nullptr));
  EXPECT_EQ(a->GetChildNodeCount(), 4u);
  EXPECT_EQ(outside.GetParentNode(), nullptr);
  EXPECT_EQ(ListOrder().size(), 9u);
}

TEST_F(TreeViewTest, ClicksCollapseAndExpandNodesWithTheirEvents) {
  Open(kTreeSkin);
  ui::TreeNode* a = Node(L"a");
  ui::TreeNode* a1 = Node(L"a1");
  std::vector<ui::EventType> order;
  auto record = [&order](ui::EventArgs* args) {
    order.push_back(args->Type);
    return true;
  };
  for (ui::EventType type : {ui::click, ui::expand, ui::unexpand}) a->AttachEvent(type, record);
  Find(L"tree")->AttachEvent(ui::select, record);

  Click(a);
  EXPECT_FALSE(a->IsExpand());
  // The toggle is the first of the click's listeners: unexpand is raised from
  // inside the click, before the listeners attached later; then the list selects.
  ASSERT_GE(order.size(), 3u);
  EXPECT_EQ(order[0], ui::unexpand);
  EXPECT_EQ(order[1], ui::click);
  EXPECT_EQ(order[2], ui::select);
  for (const wchar_t* hidden : {L"a1", L"a1x", L"a2"}) EXPECT_FALSE(Node(hidden)->IsVisible()) << hidden;
  EXPECT_TRUE(Node(L"b")->IsVisible());
  window_test::PaintNow(hwnd);
  // The collapsed children take no room: b follows a.
  EXPECT_EQ(Node(L"b")->GetPos().top, a->GetPos().bottom);

  // Collapse a1 while hidden, then expand a: a1 shows, its child stays hidden.
  a1->SetExpand(false);
  order.clear();
  Click(a);
  EXPECT_TRUE(a->IsExpand());
  ASSERT_GE(order.size(), 2u);
  EXPECT_EQ(order[0], ui::expand);
  EXPECT_TRUE(a1->IsVisible());
  EXPECT_FALSE(Node(L"a1x")->IsVisible());
  EXPECT_TRUE(Node(L"a2")->IsVisible());
}

TEST_F(TreeViewTest, ChildBoxesAreBuiltOnceFromTheirFiles) {
  Open(kTreeSkin);
  auto* child = Find<ui::ChildBox>(L"child");
  ASSERT_NE(child, nullptr);
  ASSERT_EQ(child->GetCount(), 1);
  EXPECT_EQ(child->GetItemAt(0)->GetName(), L"child_content");
  EXPECT_NE(Find(L"child_label"), nullptr);
  // Initialised again by the window, it does not build a second copy.
  window.InitControls(child, child->GetParent());
  EXPECT_EQ(child->GetCount(), 1);
  EXPECT_EQ(Find<ui::Box>(L"missing")->GetCount(), 0);
  EXPECT_EQ(Find<ui::Box>(L"empty")->GetCount(), 0);

  // A second box of the same file is built from the kept document.
  auto* again = new ui::ChildBox;
  again->SetAttribute(L"xmlfile", L"test\\child_content.xml");
  ASSERT_TRUE(Find<ui::Box>(L"empty")->Add(again));
  EXPECT_EQ(again->GetCount(), 1);
}

constexpr const wchar_t* kEventSkin = LR"(<Window><VBox>
  <Box name="panel" height="60">
    <Event type="buttondown mouseenter" receiver="target ./inner other" applyattribute="bkcolor=&quot;#FFFF0000&quot; tooltiptext=&quot;changed&quot;"/>
    <Event type="nosuchevent" receiver="target" applyattribute="name=&quot;renamed&quot;"/>
    <Control name="inner" width="40" height="40"/>
  </Box>
  <Control name="target" height="20"/>
  <Control name="other" height="20"/>
  <Box name="outer_inner" height="20"><Control name="inner" height="20"/></Box>
  <HBox name="options" height="30">
    <BubbledEvent type="select" receiver="target" applyattribute="width=&quot;77&quot;"/>
    <Option name="opt" width="40" group="g"/>
  </HBox>
  <Label name="catchall" height="20"><Event type="all" receiver="other" applyattribute="height=&quot;33&quot;"/></Label>
</VBox></Window>)";

TEST_F(TreeViewTest, SkinEventsApplyAttributesToTheirReceivers) {
  Open(kEventSkin);
  ui::Control* panel = Find(L"panel");
  ui::Control* target = Find(L"target");
  ASSERT_NE(panel, nullptr);
  ASSERT_NE(target, nullptr);
  auto* outer = Find<ui::Box>(L"outer_inner");
  ui::Control* panelInner = dynamic_cast<ui::Box*>(panel)->FindChildByName(L"inner");
  ui::Control* outerInner = outer->GetItemAt(0);

  panel->SendEvent(ui::buttondown);
  EXPECT_EQ(target->GetBkColor(), L"#FFFF0000");
  EXPECT_EQ(target->GetToolTipText(), L"changed");
  EXPECT_EQ(Find(L"other")->GetBkColor(), L"#FFFF0000");
  // "./inner" is the panel's own child, not the control of that name elsewhere.
  EXPECT_EQ(panelInner->GetBkColor(), L"#FFFF0000");
  EXPECT_EQ(outerInner->GetBkColor(), L"");
  // An unknown event name never runs its listener.
  EXPECT_EQ(target->GetName(), L"target");

  // A bubbled listener reacts to a selection inside its box.
  auto* option = Find(L"opt");
  option->SendEvent(ui::select);
  EXPECT_EQ(target->GetFixedWidth(), 77);

  // "all" runs on any event that reaches the control.
  Find(L"catchall")->SendEvent(ui::setfocus);
  EXPECT_EQ(Find(L"other")->GetFixedHeight(), 33);
}

}  // namespace
