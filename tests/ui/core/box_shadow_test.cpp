#include "ui/core/box_shadow.h"

#include <gtest/gtest.h>

namespace {

TEST(BoxShadowTest, DefaultsBeforeParsing) {
  ui::BoxShadow shadow;
  EXPECT_TRUE(shadow.color.empty());
  EXPECT_EQ(shadow.blurRadius, 2);
  EXPECT_EQ(shadow.blurSize, 2);
  EXPECT_EQ(shadow.spreadSize, 2);
  EXPECT_TRUE(shadow.exclude);
}

TEST(BoxShadowTest, ReadsSeveralPairsSeparatedBySpaces) {
  ui::BoxShadow shadow;
  ui::ParseBoxShadow(L"color='black' offset='2,3' blurradius='4'", shadow);
  EXPECT_EQ(shadow.color, L"black");
  EXPECT_EQ(shadow.offset.x, 2);
  EXPECT_EQ(shadow.offset.y, 3);
  EXPECT_EQ(shadow.blurRadius, 4);

  ui::BoxShadow spaced;
  ui::ParseBoxShadow(L"  res='grey'    blursize='7'   spreadsize='9' exclude='false'", spaced);
  EXPECT_EQ(spaced.color, L"grey");
  EXPECT_EQ(spaced.blurSize, 7);
  EXPECT_EQ(spaced.spreadSize, 9);
  EXPECT_FALSE(spaced.exclude);
}

TEST(BoxShadowTest, StopsAtTheFirstMalformedPair) {
  ui::BoxShadow comma;
  ui::ParseBoxShadow(L"color='red',blurradius='8'", comma);
  EXPECT_EQ(comma.color, L"red");
  EXPECT_EQ(comma.blurRadius, 2);

  ui::BoxShadow unquoted;
  ui::ParseBoxShadow(L"blursize=5 color='red'", unquoted);
  EXPECT_EQ(unquoted.blurSize, 2);
  EXPECT_TRUE(unquoted.color.empty());

  ui::BoxShadow unclosed;
  ui::ParseBoxShadow(L"blursize='5 color='red'", unclosed);
  EXPECT_EQ(unclosed.blurSize, 5);  // the value runs to the next quote: "5 color=" reads 5

  ui::BoxShadow unknown;
  ui::ParseBoxShadow(L"shade='1' color='red'", unknown);
  EXPECT_TRUE(unknown.color.empty());
}

TEST(BoxShadowTest, ExcludeIsTrueOnlyForExactText) {
  ui::BoxShadow shadow;
  ui::ParseBoxShadow(L"exclude='True'", shadow);
  EXPECT_FALSE(shadow.exclude);
  ui::ParseBoxShadow(L"exclude='true'", shadow);
  EXPECT_TRUE(shadow.exclude);
}

TEST(BoxShadowTest, EmptyValueChangesNothingAndParsingGoesOn) {
  ui::BoxShadow shadow;
  ui::ParseBoxShadow(L"color='' blurradius='6'", shadow);
  EXPECT_TRUE(shadow.color.empty());
  EXPECT_EQ(shadow.blurRadius, 6);
}

TEST(BoxShadowTest, OffsetWithOnlyXLeavesYZero) {
  ui::BoxShadow shadow;
  ui::ParseBoxShadow(L"offset='-5'", shadow);
  EXPECT_EQ(shadow.offset.x, -5);
  EXPECT_EQ(shadow.offset.y, 0);
}

}  // namespace
