// Labels, buttons, check boxes and options in a real window: text measurement
// and painting, activation by mouse and keyboard, and the events of selection
// and option groups.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/controls/control_window.h"
#include "ui/base/language_table.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/button.h"
#include "ui/controls/check_box.h"
#include "ui/controls/label.h"
#include "ui/controls/option.h"

namespace {

using controls_test::ControlWindowTest;
using window_test::PixelAt;

using Label = ui::LabelTemplate<ui::Control>;
using Button = ui::ButtonTemplate<ui::Control>;
using CheckBox = ui::CheckBoxTemplate<ui::Control>;
using Option = ui::OptionTemplate<ui::Control>;

// The click and selection events of a log, in order.
std::vector<ui::EventType> Selection(const window_test::EventLog& log) {
  std::vector<ui::EventType> out;
  for (ui::EventType type : log.types) {
    if (type == ui::click || type == ui::select || type == ui::unselect) out.push_back(type);
  }
  return out;
}

// Whether any pixel of the rectangle is darker than light grey (text drawn).
bool HasInk(ui::IRenderContext* surface, RECT rc) {
  for (int y = rc.top; y < rc.bottom; ++y) {
    for (int x = rc.left; x < rc.right; ++x) {
      if ((PixelAt(surface, x, y) & 0xFF) < 0x80) return true;
    }
  }
  return false;
}

TEST(LabelAttributesTest, StyleWordsPaddingAndDefaults) {
  Label label;
  EXPECT_EQ(label.GetTextStyle(), 0x8120u);
  EXPECT_EQ(label.GetFixedWidth(), ui::kSizeAuto);
  EXPECT_EQ(label.GetFixedHeight(), ui::kSizeAuto);
  // "vcenter" holds "center", so both directions end centred.
  label.SetAttribute(L"align", L"left,vcenter");
  EXPECT_EQ(label.GetTextStyle() & 0xF, 0x5u);
  label.SetAttribute(L"align", L"right,bottom");
  EXPECT_EQ(label.GetTextStyle() & 0xF, 0xAu);
  label.SetAttribute(L"endellipsis", L"false");
  EXPECT_EQ(label.GetTextStyle() & 0x8000, 0u);

  ui::LabelTemplate<ui::Box> labelBox;
  EXPECT_EQ(labelBox.GetType(), L"Label");
  EXPECT_EQ(labelBox.GetFixedWidth(), ui::kSizeStretch);
  EXPECT_EQ(Button().GetTextStyle(), 0x8125u);
  EXPECT_EQ(CheckBox().GetTextStyle(), 0x8125u);
  EXPECT_EQ(Option().GetTextStyle(), 0x8125u);
}

TEST_F(ControlWindowTest, LabelsSizeToTheirTextAndShowLanguageText) {
  const std::string lines = "greeting=你好，世界\n";
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, lines.size());
  memcpy(GlobalLock(block), lines.data(), lines.size());
  GlobalUnlock(block);
  ASSERT_TRUE(ui::LanguageTable::Instance().LoadFromMemory(block));
  GlobalFree(block);

  auto* label = new Label;
  root->Add(label);
  label->SetAttribute(L"textid", L"greeting");
  label->SetAttribute(L"textpadding", L"4,2,4,2");
  EXPECT_EQ(label->GetText(), L"你好，世界");
  bool again = false;
  const SIZE size = label->EstimateText(SIZE{400, 300}, again);
  EXPECT_GT(size.cx, 8 + 40);  // five wide characters and the padding
  EXPECT_GT(size.cy, 4 + 8);
  // A text of its own hides the id's text; the same text again changes nothing.
  label->SetText(L"x");
  EXPECT_EQ(label->GetText(), L"x");
  label->SetText(L"");
  EXPECT_EQ(label->GetText(), L"你好，世界");

  // An empty label estimates nothing.
  auto* empty = new Label;
  root->Add(empty);
  EXPECT_EQ(empty->EstimateText(SIZE{400, 300}, again).cx, 0);

  // Chinese text is drawn (with the CJK font Wine substitutes).
  label->SetFloat(true);
  label->SetPos(RECT{10, 10, 200, 40});
  label->SetStateTextColor(ui::kControlStateNormal, L"black");
  window_test::PaintNow(hwnd);
  EXPECT_TRUE(HasInk(window.GetRenderContext(), RECT{10, 10, 200, 40}));
}

// The single-line switch governs the style's 0x20 bit: what is measured and
// drawn, and what the style reads afterwards, whatever the style said before.
TEST_F(ControlWindowTest, SingleLineSwitchIsWrittenIntoTheTextStyle) {
  auto* label = Place(new Label, RECT{10, 10, 70, 120});
  label->SetAttribute(L"text", L"several words that wrap in sixty pixels");
  label->SetStateTextColor(ui::kControlStateNormal, L"black");
  auto* check = Place(new CheckBox, RECT{100, 10, 160, 120});
  check->SetAttribute(L"text", L"several words that wrap in sixty pixels");
  check->Selected(true, false);
  for (auto* text : {static_cast<ui::LabelTemplate<ui::Control>*>(label),
                     static_cast<ui::LabelTemplate<ui::Control>*>(check)}) {
    text->SetAttribute(L"singleline", L"false");
    text->SetAttribute(L"align", L"left,top");
  }
  window_test::PaintNow(hwnd);
  EXPECT_EQ(label->GetTextStyle() & 0x20, 0u);
  EXPECT_EQ(check->GetTextStyle() & 0x20, 0u) << "the selected check box's own painting too";
  EXPECT_EQ(label->GetTextStyle() & 0x8100, 0x8100u) << "the other bits stay";
  // Drawn over several lines: ink below the first line.
  EXPECT_TRUE(HasInk(window.GetRenderContext(), RECT{10, 40, 70, 120}));

  // A style set in code with the bit is measured without it while the switch is off.
  label->SetTextStyle(label->GetTextStyle() | 0x20);
  bool again = false;
  label->SetFixedWidth(60, false, false);
  const SIZE wrapped = label->EstimateText(SIZE{60, 300}, again);
  EXPECT_EQ(label->GetTextStyle() & 0x20, 0u);
  label->SetAttribute(L"singleline", L"true");
  const SIZE single = label->EstimateText(SIZE{60, 300}, again);
  EXPECT_EQ(label->GetTextStyle() & 0x20, 0x20u);
  EXPECT_GT(wrapped.cy, single.cy);
}

TEST_F(ControlWindowTest, AutoTooltipShowsOnlyWhileTheTextIsCut) {
  auto* label = Place(new Label, RECT{0, 0, 30, 20});
  label->SetAttribute(L"tooltiptext", L"the whole text");
  label->SetAttribute(L"text", L"a rather long text for thirty pixels");
  label->SetAttribute(L"autotooltip", L"true");
  EXPECT_EQ(label->GetToolTipText(), L"the whole text");
  label->SetPos(RECT{0, 0, 390, 40});
  EXPECT_EQ(label->GetToolTipText(), L"");
}

TEST_F(ControlWindowTest, ButtonsClickByMouseAndKeyboardUnlessDisabled) {
  auto* button = Place(new Button, RECT{10, 10, 90, 40});
  log[0].Attach(button);
  ClickCentre(button);
  EXPECT_EQ(log[0].Count(ui::click), 1);

  window.SetFocusControl(button);
  Key(VK_RETURN);
  Key(VK_SPACE);
  Key('A');
  EXPECT_EQ(log[0].Count(ui::click), 3);

  button->SetEnabled(false);
  log[0].Clear();
  ClickCentre(button);
  button->Activate();
  EXPECT_FALSE(log[0].Has(ui::click));
  EXPECT_FALSE(button->IsTabStop());

  // A right click without the context menu switched on stops at the button.
  button->SetEnabled(true);
  log[1].Attach(root);
  ui::EventArgs request;
  request.Type = ui::internalmenu;
  request.pSender = button;
  button->HandleEventTemplate(request);
  EXPECT_FALSE(log[0].Has(ui::menu));
  EXPECT_FALSE(log[1].Has(ui::menu));
  button->SetContextMenuUsed(true);
  button->HandleEventTemplate(request);
  EXPECT_TRUE(log[0].Has(ui::menu));
}

TEST_F(ControlWindowTest, CheckBoxesToggleWithSelectAndUnselectButNoClick) {
  auto* check = Place(new CheckBox, RECT{10, 10, 90, 40});
  log[0].Attach(check);
  ClickCentre(check);
  EXPECT_TRUE(check->IsSelected());
  ClickCentre(check);
  EXPECT_FALSE(check->IsSelected());
  EXPECT_EQ(Selection(log[0]), (std::vector<ui::EventType>{ui::select, ui::unselect}));
  log[0].Clear();
  // "switchselect" toggles silently; selecting the selected state sends nothing.
  check->SetAttribute(L"switchselect", L"");
  check->SetAttribute(L"switchselect", L"");
  check->Selected(false, true);
  EXPECT_TRUE(Selection(log[0]).empty());
}

TEST_F(ControlWindowTest, ASelectedCheckBoxWithOnlyAHotTextColourStillDrawsItsText) {
  auto* check = Place(new CheckBox, RECT{10, 10, 190, 40});
  check->SetAttribute(L"text", L"Selected");
  check->SetAttribute(L"normaltextcolor", L"black");
  check->SetAttribute(L"selectedhottextcolor", L"blue");
  check->SetAttribute(L"fadehot", L"true");
  check->Selected(true, false);
  window_test::PaintNow(hwnd);
  EXPECT_TRUE(HasInk(window.GetRenderContext(), RECT{10, 10, 190, 40}));
}

class OptionGroupTest : public ControlWindowTest {
 protected:
  Option* AddOption(const wchar_t* group, int row) {
    auto* option = Place(new Option, RECT{10, 10 + row * 40, 120, 40 + row * 40});
    option->SetAttribute(L"group", group);
    return option;
  }
};

TEST_F(OptionGroupTest, SelectingOneOptionUnselectsTheOthersOfItsGroupInThisWindowOnly) {
  Option* first = AddOption(L"size", 0);
  Option* second = AddOption(L"size", 1);
  Option* other = AddOption(L"colour", 2);
  // A second window with the same group name is a group of its own.
  window_test::TestWindow elsewhere(L"PexoOtherOptions");
  HWND otherHwnd = elsewhere.CreatePlain(100, 100, 200, 0);
  auto* otherRoot = new ui::Box(nullptr);
  elsewhere.AttachRoot(otherRoot);
  auto* remote = new Option;
  otherRoot->Add(remote);
  remote->SetAttribute(L"group", L"size");
  remote->Selected(true, false);

  ClickCentre(first);
  ClickCentre(other);
  log[0].Attach(first);
  log[1].Attach(second);
  ClickCentre(second);
  EXPECT_FALSE(first->IsSelected());
  EXPECT_TRUE(second->IsSelected());
  EXPECT_TRUE(other->IsSelected());
  EXPECT_TRUE(remote->IsSelected());
  EXPECT_EQ(Selection(log[0]), (std::vector<ui::EventType>{ui::unselect}));
  EXPECT_EQ(Selection(log[1]), (std::vector<ui::EventType>{ui::click, ui::select}));
  // Clicking the selected option again repeats click and select.
  log[1].Clear();
  ClickCentre(second);
  EXPECT_EQ(log[1].Count(ui::click), 1);
  EXPECT_EQ(log[1].Count(ui::select), 1);
  EXPECT_TRUE(second->IsSelected());
  DestroyWindow(otherHwnd);
}

TEST_F(OptionGroupTest, AListenerMayRemoveOptionsWhileTheGroupIsWalked) {
  Option* first = AddOption(L"g", 0);
  Option* second = AddOption(L"g", 1);
  Option* third = AddOption(L"g", 2);
  first->Selected(true, false);
  // Unselecting the first removes (deletes) the second before the walk reaches it.
  first->AttachEvent(ui::unselect, [this, second](ui::EventArgs*) {
    root->Remove(second);
    return true;
  });
  ClickCentre(third);
  EXPECT_TRUE(third->IsSelected());
  EXPECT_FALSE(first->IsSelected());
  EXPECT_EQ(root->GetCount(), 2);
  const std::vector<ui::Control*>* members = window.GetOptionGroup(L"g");
  ASSERT_NE(members, nullptr);
  EXPECT_EQ(members->size(), 2u);
}

TEST_F(OptionGroupTest, ChangingGroupDeselectsTheNewGroupAndDeletionLeavesIt) {
  Option* a = AddOption(L"one", 0);
  Option* b = AddOption(L"two", 1);
  a->Selected(true, false);
  b->Selected(true, false);
  b->SetGroup(L"one");
  EXPECT_FALSE(a->IsSelected());
  EXPECT_TRUE(b->IsSelected());
  root->Remove(b);
  window_test::PumpMessages();  // deletion may be deferred to the message loop
  ASSERT_NE(window.GetOptionGroup(L"one"), nullptr);
  EXPECT_EQ(window.GetOptionGroup(L"one")->size(), 1u);
  EXPECT_EQ(window.GetOptionGroup(L"two"), nullptr);
}

// An option carried to another window belongs to that window's group only;
// deleted there, no group of either window still lists it.
TEST_F(OptionGroupTest, AnOptionTakenToAnotherWindowLeavesTheGroupItLeft) {
  Option* stay = AddOption(L"g", 0);
  Option* moved = AddOption(L"g", 1);
  window_test::TestWindow elsewhere(L"PexoOtherOptions");
  HWND otherHwnd = elsewhere.CreatePlain(100, 100, 200, 0);
  auto* otherRoot = new ui::Box(nullptr);
  elsewhere.AttachRoot(otherRoot);
  auto* remote = new Option;
  otherRoot->Add(remote);
  remote->SetAttribute(L"group", L"g");

  root->SetAutoDestroyChild(false);
  ASSERT_TRUE(root->Remove(moved));
  root->SetAutoDestroyChild(true);
  ASSERT_TRUE(otherRoot->Add(moved));
  ASSERT_NE(window.GetOptionGroup(L"g"), nullptr);
  EXPECT_EQ(window.GetOptionGroup(L"g")->size(), 1u);
  ASSERT_NE(elsewhere.GetOptionGroup(L"g"), nullptr);
  EXPECT_EQ(elsewhere.GetOptionGroup(L"g")->size(), 2u);
  // Selecting in the new window reaches its new companion only.
  stay->Selected(true, false);
  remote->Selected(true, false);
  moved->Selected(true, true);
  EXPECT_FALSE(remote->IsSelected());
  EXPECT_TRUE(stay->IsSelected());

  otherRoot->SetDelayedDestroy(false);
  ASSERT_TRUE(otherRoot->Remove(moved));
  EXPECT_EQ(elsewhere.GetOptionGroup(L"g")->size(), 1u);
  EXPECT_EQ(window.GetOptionGroup(L"g")->size(), 1u);
  ClickCentre(stay);
  EXPECT_TRUE(stay->IsSelected());
  DestroyWindow(otherHwnd);
}

}  // namespace
