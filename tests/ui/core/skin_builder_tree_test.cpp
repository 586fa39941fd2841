// The control tree the skin builder makes: class names, callbacks, attributes,
// placing, included files, tree nodes and the skin's event bindings.
#include "ui/core/skin_builder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "tests/ui/core/stock_controls_registered.h"
#include "ui/base/string_util.h"
#include "ui/controls/label.h"
#include "ui/core/box.h"
#include "ui/core/stock_control_factory.h"
#include "ui/core/window.h"

namespace {

using ui::Box;
using ui::Control;
using ui::SkinBuilder;

// Writes every attribute and every child it takes into a shared log.
class RecordingBox : public Box {
 public:
  explicit RecordingBox(std::vector<std::wstring>* log) : log_(log) {}
  void SetAttribute(const std::wstring& name, const std::wstring& value) override {
    log_->push_back(L"attr:" + name + L"=" + value);
    Box::SetAttribute(name, value);
  }
  bool Add(Control* control) override {
    log_->push_back(L"add:" + control->GetName());
    return Box::Add(control);
  }

 private:
  std::vector<std::wstring>* log_;
};

// A box that refuses every child.
class ClosedBox : public Box {
 public:
  bool Add(Control*) override { return false; }
};

// Counts live instances so that lost or doubly deleted controls show.
class CountedControl : public Control {
 public:
  explicit CountedControl(int* live) : live_(live) { ++*live_; }
  ~CountedControl() override { --*live_; }

 private:
  int* live_;
};

// The builder gets its callback per build; the framework-wide one is given at
// start-up. Each test resets the latter.
class SkinBuilderTreeTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearFrameworkCallback(); }
  void TearDown() override {
    ClearFrameworkCallback();
    ui::RegisterStockControls();
    ui::UiGlobals::SetResourcePath(L"");
  }

  static void ClearFrameworkCallback() {
    // Start-up stores the callback; an empty root and theme change nothing else
    // the tests look at.
    ui::UiGlobals::Startup(L"", nullptr, false, L"", L"");
  }

  // A callback that knows "Recording", "Closed" and "Counted".
  ui::CreateControlCallback TestClasses() {
    return [this](const std::wstring& name) -> Control* {
      if (name == L"Recording") return new RecordingBox(&log_);
      if (name == L"Closed") return new ClosedBox();
      if (name == L"Counted") return new CountedControl(&live_);
      return nullptr;
    };
  }

  std::unique_ptr<Control> Build(const std::wstring& xml, ui::Window* window = nullptr) {
    SkinBuilder builder;
    return std::unique_ptr<Control>(builder.Create(xml, TestClasses(), window));
  }

  std::vector<std::wstring> log_;
  int live_ = 0;
};

Box* AsBox(Control* control) { return dynamic_cast<Box*>(control); }

TEST_F(SkinBuilderTreeTest, EveryCoreClassNameMakesItsControl) {
  struct Expected {
    const wchar_t* name;
    const wchar_t* type;
    bool box;
  };
  // The box forms of the text controls report the text control's type.
  const Expected classes[] = {
      {L"Box", L"Box", true},           {L"HBox", L"HBox", true},
      {L"VBox", L"VBox", true},         {L"Label", L"Label", false},
      {L"Button", L"Button", false},    {L"Option", L"Option", false},
      {L"Slider", L"Slider", false},    {L"TabBox", L"TabBox", true},
      {L"Control", L"Control", false},  {L"TileBox", L"TileBox", true},
      {L"Progress", L"Progress", false}, {L"CheckBox", L"CheckBox", false},
      {L"ScrollBar", L"ScrollBar", false}, {L"HCardBox", L"HCardBox", true},
      {L"VCardBox", L"VCardBox", true}, {L"LabelBox", L"Label", true},
      {L"ButtonBox", L"Button", true},  {L"OptionBox", L"Option", true},
      {L"CheckBoxBox", L"CheckBox", true}, {L"ListContainerElement", L"ListContainerElement", true},
  };
  for (const Expected& expected : classes) {
    std::unique_ptr<Control> control(SkinBuilder::CreateBuiltinControl(expected.name));
    ASSERT_NE(control, nullptr) << expected.name;
    EXPECT_EQ(control->GetType(), expected.type) << expected.name;
    EXPECT_EQ(AsBox(control.get()) != nullptr, expected.box) << expected.name;
  }
  // Names are exact.
  EXPECT_EQ(SkinBuilder::CreateBuiltinControl(L"box"), nullptr);
  EXPECT_EQ(SkinBuilder::CreateBuiltinControl(L"Window"), nullptr);
  EXPECT_EQ(SkinBuilder::CreateBuiltinControl(L""), nullptr);
}

TEST_F(SkinBuilderTreeTest, StockClassNamesGoThroughTheStockFactoryOnceInstalled) {
  const wchar_t* names[] = {L"Combo",    L"ListBox",  L"RichEdit",    L"TreeView", L"TreeNode",
                            L"HListBox", L"VListBox", L"TileListBox", L"ChildBox", L"Label",
                            L"Button",   L"CheckBox", L"Option",      L"Progress", L"Slider",
                            L"ListContainerElement"};
  ui::SetStockControlFactory({});
  for (const wchar_t* name : names) EXPECT_EQ(SkinBuilder::CreateBuiltinControl(name), nullptr) << name;

  std::vector<std::wstring> asked;
  ui::SetStockControlFactory({[&asked](const std::wstring& name) -> Control* {
                                asked.push_back(name);
                                return new Box();
                              },
                              nullptr});
  for (const wchar_t* name : names) {
    std::unique_ptr<Control> control(SkinBuilder::CreateBuiltinControl(name));
    EXPECT_NE(control, nullptr) << name;
  }
  EXPECT_EQ(asked.size(), std::size(names));
  // Other unknown names never reach it.
  EXPECT_EQ(SkinBuilder::CreateBuiltinControl(L"Unknown"), nullptr);
  EXPECT_EQ(asked.size(), std::size(names));
}

TEST_F(SkinBuilderTreeTest, UnknownNamesAskTheFrameworkCallbackThenTheBuildsOwn) {
  std::vector<std::wstring> frameworkAsked;
  ui::UiGlobals::Startup(L"", [&frameworkAsked](const std::wstring& name) -> Control* {
    frameworkAsked.push_back(name);
    if (name == L"Special") {
      auto* label = new ui::LabelTemplate<Control>();
      label->SetName(L"from_framework");
      return label;
    }
    return nullptr;
  }, false, L"", L"");

  auto root = Build(L"<Window><VBox><Special/><Counted name=\"own\"/><Mystery><Label name=\"lost\"/></Mystery>"
                    L"<Label name=\"known\"/></VBox></Window>");
  Box* box = AsBox(root.get());
  ASSERT_NE(box, nullptr);
  ASSERT_EQ(box->GetCount(), 3);
  EXPECT_EQ(box->GetItemAt(0)->GetName(), L"from_framework");
  EXPECT_EQ(box->GetItemAt(1)->GetName(), L"own");
  EXPECT_EQ(box->GetItemAt(2)->GetName(), L"known");
  // The built-in table answers first; the framework callback hears only the rest.
  EXPECT_EQ(frameworkAsked, (std::vector<std::wstring>{L"Special", L"Counted", L"Mystery"}));
  EXPECT_EQ(box->FindChildByName(L"lost"), nullptr);
}

TEST_F(SkinBuilderTreeTest, ChildrenArePlacedBeforeTheBoxsOwnAttributesInDocumentOrder) {
  auto root = Build(L"<Window><Recording name=\"outer\" class=\"none\" width=\"30\">"
                    L"<Label name=\"a\"/><Label name=\"b\"/></Recording></Window>");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(log_, (std::vector<std::wstring>{L"add:a", L"add:b", L"attr:name=outer", L"attr:class=none",
                                             L"attr:width=30"}));
  EXPECT_EQ(root->GetFixedWidth(), 30);
}

TEST_F(SkinBuilderTreeTest, TheFirstTopLevelControlIsTheResultAndRootTablesArePassedOver) {
  auto root = Build(L"<Window><Image/><Font/><Class name=\"x\"/><TextColor name=\"y\" value=\"#1\"/>"
                    L"<Counted name=\"first\"/><Counted name=\"second\"/></Window>");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->GetName(), L"first");
  // The second control made without a parent would belong to no one: it is gone.
  EXPECT_EQ(live_, 1);
  root.reset();
  EXPECT_EQ(live_, 0);

  EXPECT_EQ(Build(L"<Window><Image/><Class name=\"x\"/></Window>"), nullptr);
  EXPECT_EQ(Build(L"<Window/>"), nullptr);
}

TEST_F(SkinBuilderTreeTest, AFailedAddDestroysTheChildAndBuildingGoesOn) {
  auto root = Build(L"<Window><VBox><Closed name=\"closed\"><Counted/><Counted/></Closed>"
                    L"<Label name=\"after\"/></VBox></Window>");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(live_, 0);
  EXPECT_NE(AsBox(root.get())->FindChildByName(L"closed"), nullptr);
  EXPECT_NE(AsBox(root.get())->FindChildByName(L"after"), nullptr);
}

TEST_F(SkinBuilderTreeTest, ChildrenOfAControlThatIsNotABoxAreDestroyedAndTheLevelStops) {
  auto root = Build(L"<Window><VBox><Label name=\"label\"><Counted/><Counted/></Label>"
                    L"<Label name=\"sibling\"/></VBox></Window>");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(live_, 0);
  Box* box = AsBox(root.get());
  EXPECT_EQ(box->GetCount(), 2);  // the label itself and its sibling are fine
  EXPECT_NE(box->FindChildByName(L"sibling"), nullptr);
}

TEST_F(SkinBuilderTreeTest, AnExistingControlTakesTheFirstElementsAttributesAndChildren) {
  Box target;
  SkinBuilder builder;
  Control* result = builder.Create(L"<Template><Class name=\"c\"/><Box name=\"item\" width=\"40\" height=\"20\">"
                                   L"<Label name=\"icon\"/><Label name=\"text\"/></Box><Label name=\"ignored\"/>"
                                   L"</Template>",
                                   TestClasses(), nullptr, nullptr, &target);
  EXPECT_EQ(result, &target);
  EXPECT_EQ(target.GetName(), L"item");
  EXPECT_EQ(target.GetFixedWidth(), 40);
  EXPECT_EQ(target.GetFixedHeight(), 20);
  ASSERT_EQ(target.GetCount(), 2);
  EXPECT_EQ(target.GetItemAt(0)->GetName(), L"icon");
  EXPECT_EQ(target.FindChildByName(L"ignored"), nullptr);

  // Built again from the document it holds, with a new callback.
  Box again;
  EXPECT_EQ(builder.BuildFromDocument(TestClasses(), nullptr, nullptr, &again), &again);
  EXPECT_EQ(again.GetCount(), 2);
}

TEST_F(SkinBuilderTreeTest, ControlsGetTheWindowAndAreAddedToTheParentBox) {
  ui::Window window;
  Box parent;
  SkinBuilder builder;
  Control* first = builder.Create(L"<Window><Label name=\"one\"/><Label name=\"two\"/></Window>", TestClasses(),
                                  &window, &parent);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetName(), L"one");
  EXPECT_EQ(first->GetWindow(), &window);
  EXPECT_EQ(parent.GetCount(), 2);
}

TEST_F(SkinBuilderTreeTest, MalformedOrMissingSourcesBuildNothing) {
  pexo_test::TempDir dir;
  ui::UiGlobals::SetResourcePath(dir.path());
  SkinBuilder builder;
  EXPECT_EQ(builder.Create(L"<Window><VBox></Window>", TestClasses()), nullptr);
  EXPECT_EQ(builder.Create(L"<Window", TestClasses()), nullptr);
  EXPECT_EQ(builder.Create(L"missing.xml", TestClasses()), nullptr);
  EXPECT_EQ(builder.Create(L"", TestClasses()), nullptr);
  // The same text without its bracket is a file name.
  EXPECT_EQ(builder.Create(L"Window><VBox/></Window>", TestClasses()), nullptr);
  ASSERT_TRUE(pexo_test::WriteFileBytes(dir.File(L"broken.xml"), "<Window><VBox></Window>"));
  EXPECT_EQ(builder.Create(L"broken.xml", TestClasses()), nullptr);
  ASSERT_TRUE(pexo_test::WriteFileBytes(dir.File(L"empty.xml"), ""));
  EXPECT_EQ(builder.Create(L"empty.xml", TestClasses()), nullptr);
  EXPECT_EQ(live_, 0);
}

class SkinBuilderIncludeTest : public SkinBuilderTreeTest {
 protected:
  void SetUp() override {
    SkinBuilderTreeTest::SetUp();
    ui::UiGlobals::SetResourcePath(dir_.path());
  }
  void Write(const std::wstring& name, const std::string& xml) {
    ASSERT_TRUE(pexo_test::WriteFileBytes(dir_.File(name), xml));
  }
  pexo_test::TempDir dir_;
};

TEST_F(SkinBuilderIncludeTest, AnIncludeBuildsItsFileCountTimesIntoTheSameBox) {
  Write(L"buttons.xml", "<Window><Button name=\"b1\"/><Button name=\"b2\"/></Window>");
  auto root = Build(L"<Window><VBox><Label name=\"label\"/><Include source=\"buttons.xml\" count=\"2\"/></VBox>"
                    L"</Window>");
  Box* box = AsBox(root.get());
  ASSERT_NE(box, nullptr);
  ASSERT_EQ(box->GetCount(), 5);
  EXPECT_EQ(box->GetItemAt(0)->GetName(), L"label");
  EXPECT_EQ(box->GetItemAt(1)->GetName(), L"b1");
  EXPECT_EQ(box->GetItemAt(2)->GetName(), L"b2");
  EXPECT_EQ(box->GetItemAt(3)->GetName(), L"b1");
  EXPECT_EQ(box->GetItemAt(4)->GetType(), L"Button");
}

TEST_F(SkinBuilderIncludeTest, IncludeCountsSourcesAndSubfolders) {
  std::filesystem::create_directory(dir_.File(L"sub"));
  Write(L"sub\\one.xml", "<Window><Counted name=\"c\"/></Window>");
  auto root = Build(L"<Window><VBox><Include source=\"sub/one.xml\" count=\"0\"/>"
                    L"<Include source=\"sub\\one.xml\" count=\"-3\"/>"
                    L"<Include count=\"2\"/>"
                    L"<Include source=\"sub\\one.xml\"/>"
                    L"<Include source=\"sub/one.xml\" count=\"3\" other=\"x\"><Label/></Include>"
                    L"</VBox></Window>");
  Box* box = AsBox(root.get());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->GetCount(), 4);  // default count 1, then 3; the include's own children are ignored
  EXPECT_EQ(live_, 4);
}

TEST_F(SkinBuilderIncludeTest, MissingOrBrokenIncludesBuildNothingAndTheLevelGoesOn) {
  Write(L"broken.xml", "<Window><Label></Window>");
  auto root = Build(L"<Window><VBox><Include source=\"nowhere.xml\"/><Include source=\"broken.xml\"/>"
                    L"<Label name=\"after\"/></VBox></Window>");
  Box* box = AsBox(root.get());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->GetCount(), 1);
  EXPECT_EQ(box->GetItemAt(0)->GetName(), L"after");
}

TEST_F(SkinBuilderIncludeTest, SelfAndMutuallyIncludingFilesStopInsteadOfRecursing) {
  Write(L"self.xml", "<Window><VBox><Counted name=\"s\"/><Include source=\"self.xml\" count=\"5\"/></VBox></Window>");
  Write(L"a.xml", "<Window><Counted name=\"a\"/><Include source=\"B.XML\"/></Window>");
  Write(L"b.xml", "<Window><Counted name=\"b\"/><Include source=\"a.xml\" count=\"3\"/></Window>");

  SkinBuilder builder;
  std::unique_ptr<Control> self(builder.Create(L"self.xml", TestClasses()));
  ASSERT_NE(self, nullptr);
  EXPECT_EQ(AsBox(self.get())->GetCount(), 1);
  self.reset();
  EXPECT_EQ(live_, 0);

  auto root = Build(L"<Window><VBox><Include source=\"a.xml\"/></VBox></Window>");
  Box* box = AsBox(root.get());
  ASSERT_NE(box, nullptr);
  ASSERT_EQ(box->GetCount(), 2);  // a, then b; b's include of a is refused
  EXPECT_EQ(box->GetItemAt(0)->GetName(), L"a");
  EXPECT_EQ(box->GetItemAt(1)->GetName(), L"b");
}

TEST_F(SkinBuilderIncludeTest, IncludeChainsAreBoundedInDepth) {
  // level0.xml includes level1.xml, and so on far past the limit.
  constexpr int kLevels = SkinBuilder::kMaxIncludeDepth + 10;
  for (int i = 0; i < kLevels; ++i) {
    std::string xml = "<Window><Counted/><Include source=\"level" + std::to_string(i + 1) + ".xml\"/></Window>";
    Write(L"level" + std::to_wstring(i) + L".xml", xml);
  }
  auto root = Build(L"<Window><VBox><Include source=\"level0.xml\"/></VBox></Window>");
  Box* box = AsBox(root.get());
  ASSERT_NE(box, nullptr);
  EXPECT_GT(box->GetCount(), 1);
  EXPECT_LE(box->GetCount(), SkinBuilder::kMaxIncludeDepth);
}

TEST_F(SkinBuilderIncludeTest, AnIncludeWithoutABoxToHoldItLeavesNothingBehind) {
  Write(L"two.xml", "<Window><Counted/><Counted/></Window>");
  auto root = Build(L"<Window><Include source=\"two.xml\"/><VBox name=\"root\">"
                    L"<Label><Include source=\"two.xml\"/></Label></VBox></Window>");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->GetName(), L"root");
  EXPECT_EQ(live_, 0);
}

TEST_F(SkinBuilderIncludeTest, FillBoxFromXmlParsesEachFileOnce) {
  Write(L"item.xml", "<Window><Box name=\"item\"><Label name=\"item_icon\"/><Label name=\"item_text\"/></Box></Window>");
  Box first;
  ui::UiGlobals::FillBoxFromXml(&first, L"item.xml", TestClasses());
  EXPECT_EQ(first.GetName(), L"item");
  ASSERT_EQ(first.GetCount(), 2);
  EXPECT_NE(first.FindChildByName(L"item_text"), nullptr);

  // The file is gone: the cached document builds the same controls.
  ASSERT_TRUE(DeleteFileW(dir_.File(L"item.xml").c_str()));
  Box second;
  ui::UiGlobals::FillBoxFromXml(&second, L"item.xml", TestClasses());
  EXPECT_EQ(second.GetCount(), 2);
  EXPECT_NE(second.FindChildByName(L"item_icon"), nullptr);

  // A failed build is not cached.
  Box missing;
  ui::UiGlobals::FillBoxFromXml(&missing, L"later.xml", TestClasses());
  EXPECT_EQ(missing.GetCount(), 0);
  Write(L"later.xml", "<Window><Box><Label/></Box></Window>");
  ui::UiGlobals::FillBoxFromXml(&missing, L"later.xml", TestClasses());
  EXPECT_EQ(missing.GetCount(), 1);
  ui::UiGlobals::FillBoxFromXml(nullptr, L"later.xml", TestClasses());
}

// The shape of a built tree: type, name, fixed size and bound skin events of
// every control, depth first.
std::wstring DescribeTree(Control* control) {
  std::wstring text = control->GetType() + L":" + control->GetName() + L":" +
                      std::to_wstring(control->GetFixedWidth()) + L"x" + std::to_wstring(control->GetFixedHeight());
  for (const auto& [type, listeners] : control->GetXmlListeners()) {
    text += L" on" + std::to_wstring(static_cast<int>(type)) + L"*" + std::to_wstring(listeners.size());
  }
  if (auto* box = AsBox(control)) {
    text += L"[";
    for (Control* child : box->GetItems()) text += DescribeTree(child) + L";";
    text += L"]";
  }
  return text;
}

TEST_F(SkinBuilderIncludeTest, CardsBuiltFromACachedTemplateMatchTheFirstAndTemplatesDoNotMix) {
  ui::UiGlobals::AddClass(L"card_size", L"width=\"96\" height=\"104\"");
  Write(L"card_tile.xml",
        "<Window><Box class=\"card_size\" name=\"card\"><Event type=\"buttondown\" receiver=\"./item_text\" "
        "applyattribute=\"visible=&quot;false&quot;\"/><VBox><Control name=\"item_icon\" width=\"48\" "
        "height=\"48\"/><Label name=\"item_text\" height=\"36\"/></VBox></Box></Window>");
  Write(L"card_list.xml",
        "<Window><Box name=\"row\" width=\"148\" height=\"44\"><HBox><Control name=\"item_icon\" width=\"32\" "
        "height=\"32\"/><Label name=\"item_text\"/></HBox></Box></Window>");

  Box firstTile;
  ui::UiGlobals::FillBoxFromXml(&firstTile, L"card_tile.xml", TestClasses());
  const std::wstring tile = DescribeTree(&firstTile);
  EXPECT_EQ(firstTile.GetName(), L"card");
  EXPECT_EQ(firstTile.GetFixedWidth(), 96);  // from the class
  EXPECT_EQ(firstTile.GetFixedHeight(), 104);
  ASSERT_EQ(firstTile.GetXmlListeners().count(ui::buttondown), 1u);

  Box firstRow;
  ui::UiGlobals::FillBoxFromXml(&firstRow, L"card_list.xml", TestClasses());
  const std::wstring row = DescribeTree(&firstRow);
  EXPECT_NE(row, tile);
  EXPECT_TRUE(firstRow.GetXmlListeners().empty());

  // Both files gone: every later card comes from its own cached document, in
  // any order, and is the same tree as the first one built from the file.
  ASSERT_TRUE(DeleteFileW(dir_.File(L"card_tile.xml").c_str()));
  ASSERT_TRUE(DeleteFileW(dir_.File(L"card_list.xml").c_str()));
  for (int i = 0; i < 3; ++i) {
    Box tileAgain;
    ui::UiGlobals::FillBoxFromXml(&tileAgain, L"card_tile.xml", TestClasses());
    EXPECT_EQ(DescribeTree(&tileAgain), tile) << i;
    Box rowAgain;
    ui::UiGlobals::FillBoxFromXml(&rowAgain, L"card_list.xml", TestClasses());
    EXPECT_EQ(DescribeTree(&rowAgain), row) << i;
  }

  // Each card's skin event works on its own children, not on another card's.
  Box a, b;
  ui::UiGlobals::FillBoxFromXml(&a, L"card_tile.xml", TestClasses());
  ui::UiGlobals::FillBoxFromXml(&b, L"card_tile.xml", TestClasses());
  a.SendEvent(ui::buttondown);
  EXPECT_FALSE(a.FindChildByName(L"item_text")->IsVisible());
  EXPECT_TRUE(b.FindChildByName(L"item_text")->IsVisible());
}

TEST_F(SkinBuilderTreeTest, TreeNodesGoToTheStockTreeAndAreNeverAddedToABox) {
  // Stand-ins: "TreeView" is a box, "TreeNode" a control; attaching records it.
  std::vector<std::pair<Control*, Control*>> attached;
  std::vector<std::unique_ptr<Control>> tree;
  ui::SetStockControlFactory(
      {[&](const std::wstring& name) -> Control* {
         if (name == L"TreeView") return new Box();
         if (name == L"TreeNode") return new CountedControl(&live_);
         return nullptr;
       },
       [&](Control* parent, Control* node) {
         if (!dynamic_cast<Box*>(parent)) return false;
         attached.emplace_back(parent, node);
         tree.emplace_back(node);  // the tree owns its nodes
         return true;
       }});
  auto root = Build(L"<Window><VBox><TreeView name=\"tree\"><TreeNode name=\"n1\"/><TreeNode name=\"n2\"/>"
                    L"</TreeView><Label name=\"plain\"><TreeNode name=\"orphan\"/></Label></VBox></Window>");
  Box* box = AsBox(root.get());
  ASSERT_NE(box, nullptr);
  auto* treeView = AsBox(box->FindChildByName(L"tree"));
  ASSERT_NE(treeView, nullptr);
  EXPECT_EQ(treeView->GetCount(), 0);
  ASSERT_EQ(attached.size(), 2u);
  EXPECT_EQ(attached[0].first, treeView);
  EXPECT_EQ(attached[1].second->GetName(), L"n2");
  // The node under a label found no tree and was destroyed.
  EXPECT_EQ(live_, 2);
  tree.clear();
  EXPECT_EQ(live_, 0);
}

// Event bindings need a window for receivers named without ".\".
class SkinBuilderEventTest : public SkinBuilderTreeTest {
 protected:
  Box* BuildInWindow(const std::wstring& xml) {
    SkinBuilder builder;
    Control* root = builder.Create(xml, TestClasses(), &window_);
    window_.AttachRoot(root);
    return AsBox(root);
  }
  static size_t HandlerCount(ui::EventListenerMap& map, ui::EventType type) {
    auto found = map.find(type);
    return found == map.end() ? 0 : found->second.size();
  }
  ui::Window window_;
};

TEST_F(SkinBuilderEventTest, EachTypeAndReceiverPairGetsAHandlerInOrder) {
  Box* root = BuildInWindow(
      L"<Window><VBox name=\"root\"><Button name=\"btn\">"
      L"<Event type=\"buttondown  select\" receiver=\"a ./b\" applyattribute=\"text=&quot;hit&quot;\"/>"
      L"<Label name=\"b\"/></Button><Label name=\"a\"/></VBox></Window>");
  ASSERT_NE(root, nullptr);
  Control* button = root->FindChildByName(L"btn");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(HandlerCount(button->GetXmlListeners(), ui::buttondown), 2u);
  EXPECT_EQ(HandlerCount(button->GetXmlListeners(), ui::select), 2u);

  auto* a = dynamic_cast<ui::LabelTemplate<Control>*>(root->FindChildByName(L"a"));
  ASSERT_NE(a, nullptr);
  ui::EventArgs event;
  event.Type = ui::buttondown;
  event.pSender = button;
  for (auto& handler : button->GetXmlListeners()[ui::buttondown]) EXPECT_TRUE(handler(&event));
  EXPECT_EQ(a->GetText(), L"hit");
}

TEST_F(SkinBuilderEventTest, LocalReceiversAreLookedUpInsideTheParent) {
  Box* root = BuildInWindow(
      L"<Window><VBox name=\"root\"><VBox name=\"panel\">"
      L"<Event type=\"select\" receiver=\".\\inner ./panel\" applyattribute=\"width=&quot;77&quot;\"/>"
      L"<Label name=\"inner\"/></VBox><Label name=\"outer\"/>"
      L"<HBox name=\"other\"><Event type=\"select\" receiver=\"./outer\" applyattribute=\"width=&quot;5&quot;\"/>"
      L"</HBox></VBox></Window>");
  ASSERT_NE(root, nullptr);
  Control* panel = root->FindChildByName(L"panel");
  ui::EventArgs event;
  event.Type = ui::select;
  for (auto& handler : panel->GetXmlListeners()[ui::select]) handler(&event);
  EXPECT_EQ(root->FindChildByName(L"inner")->GetFixedWidth(), 77);
  EXPECT_EQ(panel->GetFixedWidth(), 77);  // the parent itself counts

  // "outer" is not inside "other": nothing happens.
  Control* other = root->FindChildByName(L"other");
  for (auto& handler : other->GetXmlListeners()[ui::select]) EXPECT_TRUE(handler(&event));
  EXPECT_NE(root->FindChildByName(L"outer")->GetFixedWidth(), 5);
}

TEST_F(SkinBuilderEventTest, BubbledEventsNeedABoxAndUnknownTypesGiveTheNoneType) {
  Box* root = BuildInWindow(
      L"<Window><VBox name=\"root\">"
      L"<BubbledEvent type=\"click valuechange\" receiver=\"x\"/>"
      L"<Label name=\"label\"><BubbledEvent type=\"click\" receiver=\"x\"/>"
      L"<Event type=\"nonsense\" receiver=\"x y\"/><Event type=\"buttondown\"/><Event receiver=\"x\"/></Label>"
      L"</VBox></Window>");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(HandlerCount(root->GetBubbledXmlListeners(), ui::none), 1u);  // "click" has no skin name
  EXPECT_EQ(HandlerCount(root->GetBubbledXmlListeners(), ui::valuechange), 1u);
  EXPECT_TRUE(root->GetXmlListeners().empty());

  Control* label = root->FindChildByName(L"label");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(HandlerCount(label->GetXmlListeners(), ui::none), 2u);
  EXPECT_EQ(label->GetXmlListeners().size(), 1u);
}

TEST_F(SkinBuilderEventTest, AnEventDirectlyUnderTheRootIsIgnored) {
  Box* root = BuildInWindow(L"<Window><Event type=\"buttondown\" receiver=\"x\"/><VBox name=\"root\"/></Window>");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->GetName(), L"root");
  EXPECT_TRUE(root->GetXmlListeners().empty());
}

TEST_F(SkinBuilderEventTest, HandlersOfADestroyedParentDoNothing) {
  Box* root = BuildInWindow(
      L"<Window><VBox name=\"root\"><VBox name=\"panel\">"
      L"<Event type=\"select\" receiver=\"target\" applyattribute=\"width=&quot;9&quot;\"/></VBox>"
      L"<Label name=\"target\"/></VBox></Window>");
  ASSERT_NE(root, nullptr);
  Control* panel = root->FindChildByName(L"panel");
  ui::EventCallbackList handlers = panel->GetXmlListeners()[ui::select];
  ASSERT_EQ(handlers.size(), 1u);
  root->SetDelayedDestroy(false);
  ASSERT_TRUE(root->Remove(panel));
  ui::EventArgs event;
  handlers[0](&event);
  EXPECT_NE(root->FindChildByName(L"target")->GetFixedWidth(), 9);
}

}  // namespace
