#include "ui/core/control.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/base/image_info.h"
#include "ui/base/language_table.h"
#include "ui/base/ui_globals.h"
#include "ui/core/attribute_numbers.h"

namespace {

RECT Rect(int l, int t, int r, int b) { return RECT{l, t, r, b}; }

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

TEST(AttributeNumbersTest, ListsNeedEveryNumberAndExactlyOneSeparator) {
  RECT rc = Rect(9, 9, 9, 9);
  EXPECT_TRUE(ui::ParseRect(L"1,2,3,4", &rc));
  EXPECT_TRUE(SameRect(rc, Rect(1, 2, 3, 4)));
  EXPECT_TRUE(ui::ParseRect(L"-1, 2;3 4", &rc));
  EXPECT_TRUE(SameRect(rc, Rect(-1, 2, 3, 4)));

  rc = Rect(9, 9, 9, 9);
  EXPECT_FALSE(ui::ParseRect(L"1,2,3", &rc));
  EXPECT_FALSE(ui::ParseRect(L"1,2,3,", &rc));
  EXPECT_FALSE(ui::ParseRect(L"1,,2,3", &rc));
  EXPECT_FALSE(ui::ParseRect(L"a,b,c,d", &rc));
  EXPECT_FALSE(ui::ParseRect(L"", &rc));
  EXPECT_TRUE(SameRect(rc, Rect(9, 9, 9, 9)));

  SIZE size = {7, 7};
  EXPECT_FALSE(ui::ParseSize(L"5", &size));
  EXPECT_TRUE(ui::ParseSize(L"5,6", &size));
  EXPECT_EQ(size.cx, 5);
  EXPECT_EQ(size.cy, 6);

  EXPECT_EQ(ui::ParseInt(L"  42px"), 42);
  EXPECT_EQ(ui::ParseInt(L"abc"), 0);
  EXPECT_EQ(ui::ParseInt(L"99999999999999999999"), INT_MAX);
  EXPECT_EQ(ui::ParseInt(L"-99999999999999999999"), INT_MIN);
}

TEST(ControlAttributeTest, MalformedNumberListsAreIgnored) {
  ui::Control control;
  control.SetAttribute(L"margin", L"1,2,3,4");
  EXPECT_TRUE(SameRect(control.GetMargin(), Rect(1, 2, 3, 4)));
  for (const wchar_t* bad : {L"5,6,7", L"5,6,7,", L"", L"x,y,z,w", L"5"}) {
    control.SetAttribute(L"margin", bad);
    EXPECT_TRUE(SameRect(control.GetMargin(), Rect(1, 2, 3, 4))) << bad;
  }
  control.SetAttribute(L"renderoffset", L"3");
  EXPECT_EQ(control.GetRenderOffset().x, 0);
  control.SetAttribute(L"renderoffset", L"3,4");
  EXPECT_EQ(control.GetRenderOffset().x, 3);
  EXPECT_EQ(control.GetRenderOffset().y, 4);
  control.SetAttribute(L"borderround", L"2,");
  EXPECT_EQ(control.GetBorderRound().cx, 0);
  control.SetAttribute(L"bordersize", L"1,2,3");
  EXPECT_TRUE(SameRect(control.GetSideBorderSizes(), Rect(0, 0, 0, 0)));
}

TEST(ControlAttributeTest, BorderSizesOneValueVersusFour) {
  ui::Control control;
  control.SetAttribute(L"bordersize", L"1,2,3,4");
  EXPECT_TRUE(SameRect(control.GetSideBorderSizes(), Rect(1, 2, 3, 4)));
  control.SetAttribute(L"bordersize", L"2");
  EXPECT_EQ(control.GetBorderSize(), 2);
  EXPECT_TRUE(SameRect(control.GetSideBorderSizes(), Rect(0, 0, 0, 0)));
  control.SetAttribute(L"bordersize", L"5,6,7,8");
  EXPECT_EQ(control.GetBorderSize(), 2);
  EXPECT_TRUE(SameRect(control.GetSideBorderSizes(), Rect(5, 6, 7, 8)));
  control.SetAttribute(L"topbordersize", L"9");
  EXPECT_TRUE(SameRect(control.GetSideBorderSizes(), Rect(5, 9, 7, 8)));
}

TEST(ControlAttributeTest, SizesKeywordsAndAbsurdValues) {
  ui::Control control;
  control.SetAttribute(L"width", L"-3");
  EXPECT_EQ(control.GetFixedWidth(), -1);
  control.SetAttribute(L"width", L"auto");
  EXPECT_EQ(control.GetFixedWidth(), -2);
  control.SetReEstimateNeeded(false);
  control.SetAttribute(L"width", L"auto");
  EXPECT_FALSE(control.IsReEstimateNeeded());
  control.SetAttribute(L"height", L"stretch");
  EXPECT_EQ(control.GetFixedHeight(), -1);
  control.SetAttribute(L"height", L"99999999999999");
  EXPECT_EQ(control.GetFixedHeight(), INT_MAX);
  control.SetAttribute(L"maxwidth", L"auto");
  EXPECT_EQ(control.GetMaxWidth(), -2);
  control.SetAttribute(L"minheight", L"-40");
  EXPECT_EQ(control.GetMinHeight(), -1);
  control.SetAttribute(L"alpha", L"300");
  EXPECT_EQ(control.GetAlpha(), 300);
  control.SetAttribute(L"alpha", L"-12");
  EXPECT_EQ(control.GetAlpha(), -12);
}

TEST(ControlAttributeTest, FlagsKeywordsAndTexts) {
  ui::Control control;
  control.SetAttribute(L"nofocus", L"false");
  EXPECT_TRUE(control.IsNoFocus());
  control.SetAttribute(L"tooltiptext", L"first<n>second");
  EXPECT_EQ(control.GetToolTipText(), L"first\r\nsecond");
  control.SetAttribute(L"enabled", L"True");
  EXPECT_FALSE(control.IsEnabled());
  EXPECT_EQ(control.GetState(), ui::kControlStateDisabled);
  control.SetAttribute(L"enabled", L"true");
  EXPECT_EQ(control.GetState(), ui::kControlStateNormal);
  control.SetAttribute(L"state", L"hot");
  EXPECT_EQ(control.GetState(), ui::kControlStateHot);
  EXPECT_EQ(control.GetHotAlpha(), 255);
  control.SetAttribute(L"state", L"bogus");
  EXPECT_EQ(control.GetState(), ui::kControlStateHot);
  control.SetAttribute(L"state", L"normal");
  EXPECT_EQ(control.GetHotAlpha(), 0);
  control.SetAttribute(L"cursortype", L"hand");
  EXPECT_EQ(control.GetCursorType(), ui::kCursorHand);
  control.SetAttribute(L"cursortype", L"cross");
  EXPECT_EQ(control.GetCursorType(), ui::kCursorHand);
  control.SetAttribute(L"halign", L"right");
  EXPECT_EQ(control.GetHorizontalAlignment(), 2);
  control.SetAttribute(L"valign", L"middle");
  EXPECT_EQ(control.GetVerticalAlignment(), 0);
  control.SetAttribute(L"bkcolor", L"  \tblue");
  EXPECT_EQ(control.GetBkColor(), L"blue");
  control.SetAttribute(L"float", L"true");
  EXPECT_TRUE(control.IsFloat());
  control.SetAttribute(L"tabstop", L"false");
  EXPECT_FALSE(control.IsTabStop());
  control.SetAttribute(L"menu", L"true");
  EXPECT_TRUE(control.IsContextMenuUsed());
  control.SetAttribute(L"no-such-attribute", L"1");
}

TEST(ControlAttributeTest, HotColourOrImageSwitchesTheHotFadeOn) {
  ui::Control control;
  EXPECT_FALSE(control.HasHotState());
  EXPECT_EQ(control.GetAnimations().GetPlayer(ui::kAnimationHot), nullptr);
  control.SetAttribute(L"hotcolor", L"red");
  EXPECT_TRUE(control.HasHotState());
  EXPECT_NE(control.GetAnimations().GetPlayer(ui::kAnimationHot), nullptr);
  control.SetAttribute(L"fadehot", L"false");
  EXPECT_EQ(control.GetAnimations().GetPlayer(ui::kAnimationHot), nullptr);

  ui::Control imaged;
  imaged.SetAttribute(L"hotimage", L"hot.png");
  EXPECT_TRUE(imaged.HasHotState());
  EXPECT_NE(imaged.GetAnimations().GetPlayer(ui::kAnimationHot), nullptr);

  ui::Control bordered;
  bordered.SetAttribute(L"hotbordercolor", L"red");
  EXPECT_TRUE(bordered.HasHotState());
}

TEST(ControlAttributeTest, AttributeListsStopAtTheFirstMalformedPair) {
  ui::Control control;
  control.ApplyAttributeList(L"name=\"a\" tooltiptext=\"b\"");
  EXPECT_EQ(control.GetName(), L"a");
  EXPECT_EQ(control.GetToolTipText(), L"b");

  ui::Control twoSpaces;
  twoSpaces.ApplyAttributeList(L"name=\"a\"  tooltiptext=\"b\"");
  EXPECT_EQ(twoSpaces.GetName(), L"a");
  EXPECT_EQ(twoSpaces.GetToolTipText(), L"");

  for (const wchar_t* bad : {L"name='a'", L"name = \"a\"", L"name=\"a", L"=\"a\"", L"name", L"",
                             L"name=\"a\",dataid=\"b\""}) {
    ui::Control c;
    c.ApplyAttributeList(bad);
    EXPECT_EQ(c.GetDataId(), L"") << bad;
  }
  ui::Control partial;
  partial.ApplyAttributeList(L"dataid=\"x\" name=\"y");
  EXPECT_EQ(partial.GetDataId(), L"x");
  EXPECT_EQ(partial.GetName(), L"");
}

class CountedData : public ui::UserDataBase {
 public:
  explicit CountedData(int* deletions) : deletions_(deletions) {}
  ~CountedData() override { ++*deletions_; }

 private:
  int* deletions_;
};

TEST(ControlTest, UserDataIsOwnedAndSettingItTwiceDoesNotDeleteIt) {
  int deletions = 0;
  {
    ui::Control control;
    auto* data = new CountedData(&deletions);
    control.SetUserData(data);
    control.SetUserData(data);
    EXPECT_EQ(deletions, 0);
    EXPECT_EQ(control.GetUserData(), data);
    control.SetUserData(new CountedData(&deletions));
    EXPECT_EQ(deletions, 1);
  }
  EXPECT_EQ(deletions, 2);
}

TEST(ControlTest, VisibilityEnablingAndFocusWithoutAWindow) {
  ui::Control control;
  int visibleChanges = 0;
  control.AttachEvent(ui::visiblechange, [&](ui::EventArgs*) { ++visibleChanges; return true; });
  control.SetVisible(true);
  EXPECT_EQ(visibleChanges, 0);
  control.SetVisible(false);
  EXPECT_EQ(visibleChanges, 1);
  EXPECT_FALSE(control.IsVisible());
  EXPECT_FALSE(control.IsFocusable());
  control.SetVisible(true);
  control.SetInternVisible(false);
  EXPECT_FALSE(control.IsVisible());
  control.SetInternVisible(true);

  control.SetFocus();
  EXPECT_FALSE(control.IsFocused());
  control.SetEnabled(false);
  EXPECT_FALSE(control.IsFocusable());
  EXPECT_EQ(control.GetState(), ui::kControlStateDisabled);
}

TEST(ControlTest, FindControlHonoursVisibleEnabledAndHitTestFlags) {
  ui::Control control;
  control.SetPos(RECT{0, 0, 10, 10});
  ui::FindControlCallback any = [](ui::Control* c, void*) { return c; };
  POINT inside = {5, 5};
  POINT outside = {15, 5};
  EXPECT_EQ(control.FindControl(any, &inside, ui::kFindHitTest), &control);
  EXPECT_EQ(control.FindControl(any, &outside, ui::kFindHitTest), nullptr);
  EXPECT_EQ(control.FindControl(any, nullptr, ui::kFindHitTest), nullptr);
  control.SetMouseEnabled(false);
  EXPECT_EQ(control.FindControl(any, &inside, ui::kFindHitTest), nullptr);
  EXPECT_EQ(control.FindControl(any, nullptr, 0), &control);
  control.SetEnabled(false);
  EXPECT_EQ(control.FindControl(any, nullptr, ui::kFindEnabled), nullptr);
  control.SetVisible(false);
  EXPECT_EQ(control.FindControl(any, nullptr, ui::kFindVisible), nullptr);
  EXPECT_TRUE(control.ContainsPoint(inside));
}

TEST(ControlTest, EstimateSizeOfFixedAndAutoControls) {
  ui::Control control;
  control.SetFixedWidth(40);
  control.SetFixedHeight(20);
  SIZE size = control.EstimateSize(SIZE{100, 100});
  EXPECT_EQ(size.cx, 40);
  EXPECT_EQ(size.cy, 20);
  control.SetFixedWidth(ui::kSizeAuto);
  size = control.EstimateSize(SIZE{100, 100});
  EXPECT_EQ(size.cx, 0);
  EXPECT_EQ(size.cy, 20);
  EXPECT_FALSE(control.IsReEstimateNeeded());
}

TEST(ControlTest, AccessibilityProviderIsMadeOnce) {
  ui::Control control;
  ui::UIAControlProvider* provider = control.GetAccessibilityProvider();
  ASSERT_NE(provider, nullptr);
  EXPECT_EQ(control.GetAccessibilityProvider(), provider);
}

}  // namespace

namespace {

TEST(ControlTest, ToolTipFallsBackToTheLanguageTextOfItsId) {
  const char lines[] = "tip_ok=Press here\ntip_two=a\\nb\n";
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(lines) - 1);
  ASSERT_NE(block, nullptr);
  memcpy(GlobalLock(block), lines, sizeof(lines) - 1);
  GlobalUnlock(block);
  ui::LanguageTable::Instance().LoadFromMemory(block);
  GlobalFree(block);

  ui::Control control;
  control.SetAttribute(L"tooltiptextid", L"tip_ok");
  EXPECT_EQ(control.GetToolTipText(), L"Press here");
  control.SetUTF8ToolTipTextId("tip_two");
  EXPECT_EQ(control.GetToolTipText(), L"a\nb");
  control.SetUTF8ToolTipText("\xe4\xb8\xad");  // one Chinese character in UTF-8
  EXPECT_EQ(control.GetToolTipText(), L"\x4e2d");
  EXPECT_EQ(control.GetUTF8ToolTipText(), "\xe4\xb8\xad");
  control.SetUTF8ToolTipText("");
  EXPECT_EQ(control.GetToolTipText(), L"a\nb");
}

}  // namespace

namespace {

TEST(ControlAttributeTest, ClassesApplyTheirTextsAndMayNotRecurseForever) {
  ui::UiGlobals::AddClass(L"wide", L"width=\"40\" name=\"w\"");
  ui::UiGlobals::AddClass(L"tall", L"height=\"30\"");
  ui::UiGlobals::AddClass(L"loop", L"class=\"loop\" dataid=\"x\"");
  ui::UiGlobals::AddClass(L"ping", L"class=\"pong\"");
  ui::UiGlobals::AddClass(L"pong", L"class=\"ping\"");

  ui::Control control;
  control.SetAttribute(L"class", L"wide  missing tall");
  EXPECT_EQ(control.GetFixedWidth(), 40);
  EXPECT_EQ(control.GetFixedHeight(), 30);
  EXPECT_EQ(control.GetName(), L"w");

  ui::Control looping;
  looping.SetAttribute(L"class", L"loop ping");
  EXPECT_EQ(looping.GetDataId(), L"x");
}

TEST(ControlTest, ColourNamesResolveThroughTheGlobalTable) {
  ui::UiGlobals::AddColor(L"test_red", L"#FFFF0000");
  ui::Control control;
  EXPECT_EQ(control.GetColorValue(L"test_red"), 0xFFFF0000u);
  EXPECT_EQ(control.GetColorValue(L"no_such_colour"), 0u);
}

}  // namespace

namespace {

TEST(ControlTest, AutoSizedControlTakesTheDestSizeOfItsImage) {
  ui::Control control;
  control.SetAttribute(L"width", L"auto");
  control.SetAttribute(L"height", L"auto");
  control.SetAttribute(L"bkimage", L"file='bk.png' dest='2,3,32,23'");
  SIZE size = control.EstimateSize(SIZE{500, 500});
  EXPECT_EQ(size.cx, 30);
  EXPECT_EQ(size.cy, 20);
  EXPECT_EQ(control.GetFixedWidth(), 30);
  EXPECT_EQ(control.GetFixedHeight(), 20);

  // Without a dest the control stays auto-sized.
  ui::Control partial;
  partial.SetAttribute(L"width", L"auto");
  partial.SetAttribute(L"bkimage", L"file='bk.png'");
  partial.EstimateSize(SIZE{500, 500});
  EXPECT_EQ(partial.GetFixedWidth(), ui::kSizeAuto);
}

}  // namespace

namespace {

TEST(ControlTest, AutoSizedControlTakesTheSizeOfItsCachedImage) {
  auto image = std::make_shared<ui::ImageInfo>();
  image->width = 24;
  image->height = 18;
  image->path = L"?test:sizing";
  ui::UiGlobals::AddCachedImage(image);

  ui::Control control;
  control.SetAttribute(L"width", L"auto");
  control.SetAttribute(L"bkimage", L"?test:sizing");
  control.SetFixedHeight(40);
  SIZE size = control.EstimateSize(SIZE{500, 500});
  EXPECT_EQ(size.cx, 24);
  EXPECT_EQ(size.cy, 40);
  EXPECT_EQ(control.GetBkImage().image, image);

  control.ReleaseBkImage();
  EXPECT_EQ(control.GetBkImage().image, nullptr);
  control.ReloadBkImage();
  EXPECT_EQ(control.GetBkImage().image, image);
  control.ClearImageCache();
  EXPECT_EQ(control.GetBkImage().image, nullptr);
}

}  // namespace

namespace {

TEST(ControlTest, StateImagesSizeAControlWithoutABackgroundImage) {
  ui::Control control;
  control.SetAttribute(L"width", L"auto");
  control.SetAttribute(L"hotimage", L"file='h.png' dest='0,0,10,12'");
  EXPECT_TRUE(control.HasHotState());
  SIZE size = control.EstimateSize(SIZE{100, 100});
  EXPECT_EQ(size.cx, 10);
  EXPECT_EQ(size.cy, 12);
  EXPECT_EQ(control.GetStateColor(ui::kControlStateHot), L"");
  control.SetStateColor(ui::kControlStatePushed, L"blue");
  EXPECT_EQ(control.GetStateColor(ui::kControlStatePushed), L"blue");
}

}  // namespace
